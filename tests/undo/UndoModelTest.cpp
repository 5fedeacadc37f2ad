// Random edits recorded as the views record them, replayed by the manager against a model document.
#include "ModelDocument.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

const int kSteps = 10000;
const int kDocumentDepth = 25;
// Below this many bytes the edits lean towards growth, above twice as many towards deletion.
const size_t kTargetLength = 300;
// Far above anything the edits reach: a text beyond it means the length control above has failed.
const size_t kLengthBound = 16 * kTargetLength;

// One change as the test knows it: the texts around it and where each replay must leave the caret.
// calls is the number of ScrollToCurrent calls a replay makes (0 for a list record with no items,
// which leaves the caret alone and reports -1).
struct Change {
    std::string before;
    std::string after;
    int undoCaret = -1;
    int redoCaret = -1;
    int redoResult = -1;
    int calls = 1;
};

// Makes random edits of the document's text the way the views do: the record is built and handed to
// the manager, and the text is changed directly, as the views change the buffer.
class Editor {
public:
    Editor(ModelDocument& doc, unsigned seed) : m_doc(doc), m_rng(seed) {}

    std::string RandomText(int minLength, int maxLength) {
        static const char alphabet[] = "abcde \n\t\xB4\xF2\x80\xFF";
        std::string out(static_cast<size_t>(Uniform(minLength, maxLength)), 'a');
        for (char& c : out) c = alphabet[Uniform(0, sizeof(alphabet) - 2)];
        return out;
    }

    Change Edit() {
        Change change;
        change.before = m_doc.text;
        bool shrink = m_doc.text.size() > 2 * kTargetLength;
        bool grow = m_doc.text.size() < kTargetLength;
        int choice = Uniform(0, 9);
        if (shrink && choice < 5) choice = 2;
        if (grow && choice == 2) choice = 1;
        switch (choice) {
        case 0:
            TypeCharacter(change);
            break;
        case 1:
            Paste(change);
            break;
        case 2:
            DeleteRange(change);
            break;
        case 3:
            ReplaceWithText(change);
            break;
        case 4:
            ReplaceWithCharacter(change);
            break;
        case 5:
        case 6:
            ReplaceAll(change);
            break;
        case 7:
            ListOfInsertions(change);
            break;
        case 8:
            ListOfDeletions(change);
            break;
        default:
            ListOfTypedReplacements(change);
            break;
        }
        change.after = m_doc.text;
        return change;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    int Size() const { return static_cast<int>(m_doc.text.size()); }
    int RandomPos() { return Uniform(0, Size()); }
    char RandomByte() { return RandomText(1, 1)[0]; }
    // A length of at most maxLength that fits in the text after pos.
    int FitLength(int pos, int minLength, int maxLength) {
        return Uniform(minLength, std::min(maxLength, Size() - pos));
    }
    std::string Take(int pos, int length) {
        return m_doc.text.substr(static_cast<size_t>(pos), static_cast<size_t>(length));
    }
    void Replace(int pos, int length, const std::string& with) {
        m_doc.text.replace(static_cast<size_t>(pos), static_cast<size_t>(length), with);
    }

    // Typing: one character, sometimes passed with bits above its byte.
    void TypeCharacter(Change& change) {
        int pos = RandomPos();
        char ch = RandomByte();
        unsigned int code = static_cast<unsigned char>(ch) | (Uniform(0, 3) == 0 ? 0x3100u : 0u);
        CUndoInfo* info = new CUndoInfo;
        info->Add(pos, code);
        m_doc.SetUndoInfo(info);
        Replace(pos, 0, std::string(1, ch));
        change.undoCaret = change.redoCaret = change.redoResult = pos;
    }

    void Paste(Change& change) {
        int pos = RandomPos();
        std::string text = RandomText(1, 12);
        CUndoInfo* info = new CUndoInfo;
        info->Add(UNDO_INSERT, pos, text.c_str());
        m_doc.SetUndoInfo(info);
        Replace(pos, 0, text);
        change.undoCaret = change.redoCaret = change.redoResult = pos;
    }

    void DeleteRange(Change& change) {
        if (Size() == 0) return Paste(change);
        int pos = Uniform(0, Size() - 1);
        int length = FitLength(pos, 1, 10);
        CUndoInfo* info = new CUndoInfo;
        info->Add(UNDO_DELETE, pos, Take(pos, length).c_str());
        m_doc.SetUndoInfo(info);
        Replace(pos, length, "");
        change.undoCaret = pos + length;
        change.redoCaret = change.redoResult = pos;
    }

    // Replacements of any kind but 1 and -1 replay alike; the views use 0.
    int ReplacementKind() {
        static const int kinds[] = {UNDO_REPLACE, UNDO_REPLACE, 2, -7};
        return kinds[Uniform(0, 3)];
    }

    void ReplaceWithText(Change& change) {
        int pos = RandomPos();
        int length = FitLength(pos, 0, 8);
        std::string inserted = RandomText(0, 8);
        CUndoInfo* info = new CUndoInfo;
        info->Add(ReplacementKind(), pos, Take(pos, length).c_str(), inserted.c_str());
        m_doc.SetUndoInfo(info);
        Replace(pos, length, inserted);
        change.undoCaret = pos + length;
        change.redoCaret = pos;
        change.redoResult = pos + static_cast<int>(inserted.size());
    }

    // Typing over a selection; a NUL character puts nothing in.
    void ReplaceWithCharacter(Change& change) {
        int pos = RandomPos();
        int length = FitLength(pos, 0, 6);
        char ch = Uniform(0, 9) == 0 ? '\0' : RandomByte();
        CUndoInfo* info = new CUndoInfo;
        info->Add(ReplacementKind(), pos, Take(pos, length).c_str(), ch);
        m_doc.SetUndoInfo(info);
        Replace(pos, length, ch ? std::string(1, ch) : std::string());
        change.undoCaret = pos + length;
        change.redoCaret = pos;
        change.redoResult = pos + (ch ? 1 : 0);
    }

    // The view's replace-all: every hit from the origin on, the origin moving past each replacement.
    // Sometimes the text searched for is absent and an empty record is handed over.
    void ReplaceAll(Change& change) {
        std::string found = RandomText(1, 2);
        if (Size() > 0 && Uniform(0, 3) != 0) {
            int pos = Uniform(0, Size() - 1);
            found = Take(pos, FitLength(pos, 1, 3));
        }
        // Above the target length no replacement is longer than its hit: a replace-all multiplies
        // the text's length, and unchecked it grows the text without bound.
        int longest = m_doc.text.size() > kTargetLength ? static_cast<int>(found.size()) : 5;
        std::string replacement = RandomText(0, longest);
        CListUndoInfo* list = new CListUndoInfo(UNDO_REPLACE);
        size_t origin = 0;
        size_t hit;
        change.calls = 0;
        while ((hit = m_doc.text.find(found, origin)) != std::string::npos) {
            int pos = static_cast<int>(hit);
            list->Add(pos, found.c_str(), replacement.c_str());
            Replace(pos, static_cast<int>(found.size()), replacement);
            if (change.calls++ == 0) change.undoCaret = pos + static_cast<int>(found.size());
            change.redoCaret = pos + static_cast<int>(replacement.size());
            origin = hit + replacement.size();
        }
        change.redoResult = change.redoCaret;
        m_doc.SetUndoInfo(list);
    }

    void ListOfInsertions(Change& change) {
        CListUndoInfo* list = new CListUndoInfo(UNDO_INSERT);
        change.calls = Uniform(1, 4);
        for (int i = 0; i < change.calls; ++i) {
            int pos = RandomPos();
            std::string text = RandomText(1, 6);
            list->Add(pos, text.c_str());
            Replace(pos, 0, text);
            if (i == 0) change.undoCaret = pos + static_cast<int>(text.size());
            change.redoCaret = pos;
        }
        change.redoResult = change.redoCaret;
        m_doc.SetUndoInfo(list);
    }

    void ListOfDeletions(Change& change) {
        if (Size() == 0) return ListOfInsertions(change);
        CListUndoInfo* list = new CListUndoInfo(UNDO_DELETE);
        change.calls = 0;
        for (int i = Uniform(1, 4); i > 0 && Size() > 0; --i) {
            int pos = Uniform(0, Size() - 1);
            int length = FitLength(pos, 1, 8);
            list->Add(pos, Take(pos, length).c_str());
            Replace(pos, length, "");
            if (change.calls++ == 0) change.undoCaret = pos + length;
            change.redoCaret = pos;
        }
        change.redoResult = change.redoCaret;
        m_doc.SetUndoInfo(list);
    }

    // A list of kind 0 mixing typed characters (items without a removed part) and typed-over ranges.
    void ListOfTypedReplacements(Change& change) {
        CListUndoInfo* list = new CListUndoInfo(UNDO_REPLACE);
        change.calls = Uniform(1, 4);
        for (int i = 0; i < change.calls; ++i) {
            int pos = RandomPos();
            char ch = RandomByte();
            int length = 0;
            // A typed character has no removed part: its undo restores nothing, at position 0.
            int undoCaret = 0;
            if (Uniform(0, 1) == 0) {
                list->Add(pos, static_cast<unsigned int>(static_cast<unsigned char>(ch)));
            } else {
                length = FitLength(pos, 0, 5);
                list->Add(pos, Take(pos, length).c_str(), ch);
                undoCaret = pos + length;
            }
            Replace(pos, length, std::string(1, ch));
            if (i == 0) change.undoCaret = undoCaret;
            change.redoCaret = pos + 1;
        }
        change.redoResult = change.redoCaret;
        m_doc.SetUndoInfo(list);
    }

    ModelDocument& m_doc;
    std::mt19937 m_rng;
};

// Undoes the newest change and checks the text and the caret against it.
void ExpectUndo(ModelDocument& doc, const Change& change, int step) {
    SCOPED_TRACE("undo of step " + std::to_string(step));
    int oldCaret = doc.caret = -2;
    doc.scrolls = 0;
    int result = doc.Undo();
    ASSERT_EQ(doc.text, change.before);
    EXPECT_EQ(doc.scrolls, change.calls);
    EXPECT_EQ(result, change.calls ? change.undoCaret : -1);
    EXPECT_EQ(doc.caret, change.calls ? change.undoCaret : oldCaret);
}

void ExpectRedo(ModelDocument& doc, const Change& change, int step) {
    SCOPED_TRACE("redo of step " + std::to_string(step));
    int oldCaret = doc.caret = -2;
    doc.scrolls = 0;
    int result = doc.Redo();
    ASSERT_EQ(doc.text, change.after);
    EXPECT_EQ(doc.scrolls, change.calls);
    EXPECT_EQ(result, change.calls ? change.redoResult : -1);
    EXPECT_EQ(doc.caret, change.calls ? change.redoCaret : oldCaret);
}

TEST(UndoModel, EveryStepUndoesToTheEarlierTextAndRedoesToTheLaterOne) {
    ModelDocument doc(kSteps + 1);
    doc.logging = false;
    Editor editor(doc, 20261206u);
    doc.text = editor.RandomText(100, 100);
    std::vector<Change> changes;
    changes.reserve(kSteps);
    for (int i = 0; i < kSteps; ++i) {
        changes.push_back(editor.Edit());
        ASSERT_LT(doc.text.size(), kLengthBound) << "the edits no longer keep the text short, step " << i;
    }
    for (int i = kSteps - 1; i >= 0; --i) {
        ASSERT_NO_FATAL_FAILURE(ExpectUndo(doc, changes[i], i));
    }
    EXPECT_EQ(doc.Undo(), -1);
    for (int i = 0; i < kSteps; ++i) {
        ASSERT_NO_FATAL_FAILURE(ExpectRedo(doc, changes[i], i));
    }
    EXPECT_EQ(doc.Redo(), -1);
}

// Edits, undos and redos in random order under the documents' depth, against a model of both
// histories: the oldest change falls off after 26, a new change empties the redo side.
TEST(UndoModel, RandomWalkThroughTheDocumentsHistory) {
    ModelDocument doc(kDocumentDepth, 65536);
    doc.logging = false;
    Editor editor(doc, 7u);
    std::mt19937 rng(99u);
    doc.text = editor.RandomText(50, 50);
    std::deque<Change> undoable;
    std::vector<Change> redoable;
    int undos = 0;
    int redos = 0;
    for (int step = 0; step < kSteps; ++step) {
        int action = std::uniform_int_distribution<int>(0, 9)(rng);
        if (action < 4) {
            undoable.push_back(editor.Edit());
            ASSERT_LT(doc.text.size(), kLengthBound)
                << "the edits no longer keep the text short, step " << step;
            if (undoable.size() > kDocumentDepth + 1) undoable.pop_front();
            redoable.clear();
        } else if (action < 7) {
            if (undoable.empty()) {
                std::string text = doc.text;
                ASSERT_EQ(doc.Undo(), -1);
                ASSERT_EQ(doc.text, text);
            } else {
                ASSERT_NO_FATAL_FAILURE(ExpectUndo(doc, undoable.back(), step));
                redoable.push_back(undoable.back());
                undoable.pop_back();
                ++undos;
            }
        } else {
            if (redoable.empty()) {
                std::string text = doc.text;
                ASSERT_EQ(doc.Redo(), -1);
                ASSERT_EQ(doc.text, text);
            } else {
                ASSERT_NO_FATAL_FAILURE(ExpectRedo(doc, redoable.back(), step));
                undoable.push_back(redoable.back());
                redoable.pop_back();
                ++redos;
            }
        }
        ASSERT_EQ(doc.CanUndo(), undoable.empty() ? 0 : 1) << step;
        ASSERT_EQ(doc.CanRedo(), redoable.empty() ? 0 : 1) << step;
    }
    // The walk must have reached deep into both histories to mean anything.
    EXPECT_GT(undos, kSteps / 10);
    EXPECT_GT(redos, kSteps / 20);
}

} // namespace
