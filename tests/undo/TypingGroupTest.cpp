// Deep history: typed characters grouped into steps, the byte bound, and random typing replayed.
#include "ModelDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Types into a model document as the editor does: the text changed, then the record handed over.
class Typist {
public:
    explicit Typist(ModelDocument& doc) : m_doc(doc) {}

    // Inserts text (one character: a byte or a pair) at pos, or overwrites count bytes there.
    void Type(int pos, const std::string& text, int count = 0) {
        auto* record = new CUndoInfo;
        std::string removed = m_doc.text.substr((size_t)pos, (size_t)count);
        if (count > 0)
            record->Add(UNDO_REPLACE, pos, removed.c_str(), text.c_str());
        else if (text.size() == 1)
            record->Add(pos, (unsigned char)text[0]);
        else
            record->Add(UNDO_INSERT, pos, text.c_str());
        m_doc.text.replace((size_t)pos, (size_t)count, text);
        m_doc.SetTypedUndoInfo(record, now);
    }
    // Types each byte of text at the end of the text, 100 ms apart.
    void TypeAtEnd(const std::string& text) {
        for (char c : text) {
            Type((int)m_doc.text.size(), std::string(1, c));
            now += 100;
        }
    }
    void Delete(int pos, int count) {
        auto* record = new CUndoInfo;
        record->Add(UNDO_DELETE, pos, m_doc.text.substr((size_t)pos, (size_t)count).c_str());
        m_doc.text.erase((size_t)pos, (size_t)count);
        m_doc.SetUndoInfo(record);
    }
    // The texts that successive undo steps give, until there is nothing left to undo.
    std::vector<std::string> UndoAll() {
        std::vector<std::string> texts;
        while (m_doc.Undo() != -1) texts.push_back(m_doc.text);
        return texts;
    }

    unsigned long now = 0;

private:
    ModelDocument& m_doc;
};

class TypingGroups : public ::testing::Test {
protected:
    TypingGroups() { doc.SetDeepHistory(TRUE); }
    ModelDocument doc;
    Typist typist{doc};
};

TEST_F(TypingGroups, ASpaceOrALineFeedEndsAWordWhichOneUndoTakesBack) {
    typist.TypeAtEnd("one two\nthree");
    EXPECT_EQ(typist.UndoAll(), (std::vector<std::string>{"one two\n", "one ", ""}));
}

TEST_F(TypingGroups, APauseOfASecondEndsAGroupButNotInsideATwoByteCharacter) {
    typist.TypeAtEnd("ab");
    typist.now += 1000;
    typist.TypeAtEnd("c\xB4");
    typist.now += 5000; // the trail byte still joins its lead
    typist.TypeAtEnd("\xF2");
    typist.now += 800;
    typist.TypeAtEnd("d");
    EXPECT_EQ(typist.UndoAll(), (std::vector<std::string>{"ab", ""}));
}

TEST_F(TypingGroups, ACaretMoveAnotherEditAndUndoEachEndTheGroup) {
    typist.TypeAtEnd("ab");
    doc.EndTypingGroup();
    typist.TypeAtEnd("cd");
    typist.Delete(0, 1);
    typist.TypeAtEnd("ef");
    ASSERT_NE(doc.Undo(), -1);
    ASSERT_NE(doc.Redo(), -1);
    typist.TypeAtEnd("gh");
    // Typing back where the group ended, after the caret left, is a new group all the same.
    EXPECT_EQ(typist.UndoAll(), (std::vector<std::string>{"bcdef", "bcd", "abcd", "ab", ""}));
}

TEST_F(TypingGroups, OverwritingOneAndTwoByteCharactersUndoesAsOneStepAndRedoesExactly) {
    doc.text = "\xB4\xF2xyz";
    typist.Type(0, "a", 2);
    typist.Type(1, "b", 1);
    typist.Type(2, "\xC4\xE3", 1); // a pair over one byte
    typist.Type(4, "c", 1);
    EXPECT_EQ(doc.text, "ab\xC4\xE3"
                        "c");
    EXPECT_EQ(typist.UndoAll(), (std::vector<std::string>{"\xB4\xF2xyz"}));
    ASSERT_NE(doc.Redo(), -1);
    EXPECT_EQ(doc.text, "ab\xC4\xE3"
                        "c");
}

TEST_F(TypingGroups, OffEveryTypedCharacterIsAStepAndTheDepthHolds) {
    doc.SetDeepHistory(FALSE);
    typist.TypeAtEnd("abcdefghijklmnopqrstuvwxyz0123");
    std::vector<std::string> texts = typist.UndoAll();
    ASSERT_EQ(texts.size(), 26u);
    EXPECT_EQ(texts.back(), "abcd");
}

TEST_F(TypingGroups, SwitchedOffTheDeepHistoryIsTrimmedToTheDepthAtTheNextRecord) {
    for (int i = 0; i < 40; ++i) typist.TypeAtEnd("w ");
    doc.SetDeepHistory(FALSE);
    typist.TypeAtEnd("x");
    EXPECT_EQ(typist.UndoAll().size(), 26u);
}

// The oldest records go once the records' bytes pass the bound; the ones kept still replay exactly.
TEST_F(TypingGroups, TheByteBoundDropsTheOldestStepsOnly) {
    doc.SetDeepHistory(TRUE, 8192);
    std::vector<std::string> states{doc.text};
    for (int i = 0; i < 2000; ++i) {
        typist.TypeAtEnd(std::to_string(i) + " ");
        states.push_back(doc.text);
    }
    std::vector<std::string> texts = typist.UndoAll();
    ASSERT_GT(texts.size(), 20u);
    ASSERT_LT(texts.size(), 200u);
    for (size_t k = 0; k < texts.size(); ++k) ASSERT_EQ(texts[k], states[states.size() - 2 - k]);
    while (doc.Redo() != -1) {
    }
    EXPECT_EQ(doc.text, states.back());
    // A record larger than the bound is kept alone.
    typist.TypeAtEnd("a");
    typist.Delete(0, (int)doc.text.size());
    EXPECT_EQ(typist.UndoAll().size(), 1u);
}

// Random typing (inserting, overwriting, pairs, pauses, caret moves) among other edits: every undo
// step lands on a text the document had before an edit, undoing all gives the first text and
// redoing all the last, byte for byte.
TEST_F(TypingGroups, RandomTypingUndoesAndRedoesThroughEarlierTexts) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        ModelDocument model;
        model.SetDeepHistory(TRUE);
        Typist keys(model);
        std::mt19937 rng(seed);
        auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        static const char* const kTyped[] = {"a", "b", " ", "\n", "\xB4\xF2", "\t"};
        model.text = "start text\n";
        std::vector<std::string> states{model.text};
        int caret = 0;
        for (int step = 0; step < 400; ++step) {
            int size = (int)model.text.size(), choice = uniform(0, 19);
            keys.now += choice == 0 ? 1500 : 50;
            if (choice == 1 || caret > size) {
                caret = uniform(0, size);
                model.EndTypingGroup();
            }
            std::string typed = kTyped[uniform(0, 5)];
            if (choice == 2 && size > 0) {
                keys.Delete(caret = uniform(0, size - 1), 1);
            } else if (choice < 6 && caret < size) {
                keys.Type(caret, typed, std::min(uniform(1, 2), size - caret));
                caret += (int)typed.size();
            } else {
                keys.Type(caret, typed);
                caret += (int)typed.size();
            }
            states.push_back(model.text);
        }
        size_t at = states.size() - 1;
        while (model.Undo() != -1) {
            size_t before = at;
            while (at > 0 && states[--at] != model.text) {
            }
            ASSERT_NE(before, at) << "seed " << seed;
            ASSERT_EQ(states[at], model.text) << "seed " << seed;
        }
        ASSERT_EQ(model.text, states.front()) << "seed " << seed;
        while (model.Redo() != -1) {
        }
        ASSERT_EQ(model.text, states.back()) << "seed " << seed;
    }
}

} // namespace
