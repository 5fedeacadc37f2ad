// Deep history: typed characters grouped into steps, the byte bound, and random typing replayed.
#include "ModelDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Types into a model document as the editor does: the text changed, then the record handed over.
struct Typist {
    ModelDocument doc;
    unsigned long now = 0;

    Typist() { doc.SetDeepHistory(TRUE); }
    // Inserts text (a byte or a pair) at pos, or overwrites count bytes there.
    void Type(int pos, const std::string& text, int count = 0) {
        auto* record = new CUndoInfo;
        if (count > 0)
            record->Add(UNDO_REPLACE, pos, doc.text.substr(pos, count).c_str(), text.c_str());
        else
            record->Add(UNDO_INSERT, pos, text.c_str());
        doc.text.replace((size_t)pos, (size_t)count, text);
        doc.SetTypedUndoInfo(record, now);
    }
    void TypeAtEnd(const std::string& text) { // 100 ms a byte
        for (char c : text) Type((int)doc.text.size(), std::string(1, c)), now += 100;
    }
    void Delete(int pos, int count) {
        auto* record = new CUndoInfo;
        record->Add(UNDO_DELETE, pos, doc.text.substr(pos, count).c_str());
        doc.text.erase((size_t)pos, (size_t)count);
        doc.SetUndoInfo(record);
    }
    std::vector<std::string> UndoAll() { // the text after each step
        std::vector<std::string> texts;
        while (doc.Undo() != -1) texts.push_back(doc.text);
        return texts;
    }
};

using Texts = std::vector<std::string>;

TEST(TypingGroups, ASpaceOrLineFeedAPauseACaretMoveAnotherEditOrUndoEndsAStep) {
    Typist t;
    t.TypeAtEnd("a b\nc");
    t.now += 1000;
    t.TypeAtEnd("d\xB4");
    t.now += 5000; // a trail byte joins its lead whatever the pause
    t.TypeAtEnd("\xF2");
    t.doc.EndTypingGroup();
    t.TypeAtEnd("e");
    t.Delete(0, 1);
    t.TypeAtEnd("f");
    ASSERT_NE(t.doc.Undo(), -1);
    ASSERT_NE(t.doc.Redo(), -1);
    t.TypeAtEnd("g");
    EXPECT_EQ(t.UndoAll(), (Texts{" b\ncd\xB4\xF2"
                                  "ef",
                                  " b\ncd\xB4\xF2"
                                  "e",
                                  "a b\ncd\xB4\xF2"
                                  "e",
                                  "a b\ncd\xB4\xF2", "a b\nc", "a b\n", "a ", ""}));
}

TEST(TypingGroups, OverwritingOneAndTwoByteCharactersIsOneStepRedoneExactly) {
    Typist t;
    t.doc.text = "\xB4\xF2xyz";
    t.Type(0, "a", 2);
    t.Type(1, "b", 1);
    t.Type(2, "\xC4\xE3", 1);
    t.Type(4, "c", 1);
    EXPECT_EQ(t.UndoAll(), (Texts{"\xB4\xF2xyz"}));
    ASSERT_NE(t.doc.Redo(), -1);
    EXPECT_EQ(t.doc.text, "ab\xC4\xE3"
                          "c");
}

// Off, every character is a step and 26 are kept, also right after a deep history is switched off.
TEST(TypingGroups, OffTheDepthHolds) {
    Typist t;
    t.TypeAtEnd("w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w ");
    t.doc.SetDeepHistory(FALSE);
    t.TypeAtEnd("abcdefghijklmnopqrstuvwxyz0123");
    Texts texts = t.UndoAll();
    ASSERT_EQ(texts.size(), 26u);
    EXPECT_EQ(texts.back().substr(60), "abcd");
}

TEST(TypingGroups, TheByteBoundDropsTheOldestStepsOnlyAndKeepsARecordLargerThanItself) {
    Typist t;
    t.doc.SetDeepHistory(TRUE, 8192);
    Texts states{t.doc.text};
    for (int i = 0; i < 2000; ++i) t.TypeAtEnd(std::to_string(i) + " "), states.push_back(t.doc.text);
    Texts texts = t.UndoAll();
    ASSERT_GT(texts.size(), 20u);
    ASSERT_LT(texts.size(), 200u);
    for (size_t k = 0; k < texts.size(); ++k) ASSERT_EQ(texts[k], states[states.size() - 2 - k]);
    while (t.doc.Redo() != -1) {
    }
    EXPECT_EQ(t.doc.text, states.back());
    t.Delete(0, (int)t.doc.text.size());
    EXPECT_EQ(t.UndoAll().size(), 1u);
}

// Random typing (inserting, overwriting, pairs, pauses, caret moves) among deletions: every undo step
// lands on an earlier text, and undoing and redoing all give the first and the last text.
TEST(TypingGroups, RandomTypingUndoesAndRedoesThroughEarlierTexts) {
    static const char* const kTyped[] = {"a", "b", " ", "\n", "\xB4\xF2", "\t"};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        Typist t;
        std::mt19937 rng(seed);
        auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        Texts states{t.doc.text = "start text\n"};
        for (int step = 0, caret = 0; step < 400; ++step) {
            int size = (int)t.doc.text.size(), choice = uniform(0, 19);
            t.now += choice == 0 ? 1500 : 50;
            if (choice == 1 || caret > size) t.doc.EndTypingGroup(), caret = uniform(0, size);
            std::string typed = kTyped[uniform(0, 5)];
            if (choice == 2 && size > 0)
                t.Delete(caret = uniform(0, size - 1), 1);
            else
                t.Type(caret, typed, choice < 6 ? std::min(uniform(1, 2), size - caret) : 0),
                    caret += (int)typed.size();
            states.push_back(t.doc.text);
        }
        size_t at = states.size() - 1;
        while (t.doc.Undo() != -1) {
            size_t before = at;
            while (at > 0 && states[--at] != t.doc.text) {
            }
            ASSERT_TRUE(before != at && states[at] == t.doc.text) << "seed " << seed;
        }
        ASSERT_EQ(t.doc.text, states.front()) << "seed " << seed;
        while (t.doc.Redo() != -1) {
        }
        ASSERT_EQ(t.doc.text, states.back()) << "seed " << seed;
    }
}

} // namespace
