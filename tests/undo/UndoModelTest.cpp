// Random edits recorded as the views record them, replayed by the manager against a model document.
#include "ModelDocument.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

// Below kTargetLength bytes the edits lean towards growth, above twice as many towards deletion.
const int kSteps = 10000, kDocumentDepth = 25;
const size_t kTargetLength = 300;

// One change: the texts around it and where each replay leaves the caret. calls is the number of
// ScrollToCurrent calls a replay makes (0 for a list with no items: caret left alone, result -1).
struct Change {
    std::string before, after;
    int undoCaret = -1, redoCaret = -1, redoResult = -1, calls = 1;
};

// Makes random edits as the views do: the record handed to the manager, the text changed directly.
class Editor {
public:
    Editor(ModelDocument& doc, unsigned seed) : m_doc(doc), m_rng(seed) {}

    std::string RandomText(int minLength, int maxLength) {
        static const char alphabet[] = "abcde \n\t\xB4\xF2\x80\xFF";
        std::string out((size_t)Uniform(minLength, maxLength), 'a');
        for (char& c : out) c = alphabet[Uniform(0, sizeof(alphabet) - 2)];
        return out;
    }

    Change Edit() {
        Change c;
        c.before = m_doc.text;
        int choice = Uniform(0, 9);
        if (m_doc.text.size() > 2 * kTargetLength && choice < 5) choice = 2;
        if (m_doc.text.size() < kTargetLength && choice == 2) choice = 1;
        if (choice < 5) {
            Single(c, choice);
        } else {
            auto* list = new CListUndoInfo(choice == 7   ? UNDO_INSERT
                                           : choice == 8 ? UNDO_DELETE
                                                         : UNDO_REPLACE);
            c.calls = 0;
            if (choice < 7)
                ReplaceAll(c, *list);
            else
                for (int i = Uniform(1, 4); i > 0; --i) ListItem(c, *list, choice);
            c.redoResult = c.redoCaret;
            m_doc.SetUndoInfo(list);
        }
        c.after = m_doc.text;
        return c;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    int Size() const { return (int)m_doc.text.size(); }
    int FitLength(int pos, int minLength, int maxLength) {
        return Uniform(minLength, std::min(maxLength, Size() - pos));
    }
    std::string Take(int pos, int length) { return m_doc.text.substr((size_t)pos, (size_t)length); }
    void Replace(int pos, int length, const std::string& with) {
        m_doc.text.replace((size_t)pos, (size_t)length, with);
    }
    // Replacements of any kind but 1 and -1 replay alike; the views use 0.
    int ReplacementKind() { return Uniform(0, 3) < 2 ? UNDO_REPLACE : Uniform(0, 1) ? 2 : -7; }

    // One record: a typed character (sometimes with bits above its byte), a paste, a deletion, a
    // replacement by a text or by a character (a NUL character puts nothing in).
    void Single(Change& c, int kind) {
        if (kind == 2 && Size() == 0) kind = 1;
        int pos = kind == 2 ? Uniform(0, Size() - 1) : Uniform(0, Size());
        int length = kind < 2 ? 0 : FitLength(pos, kind == 2 ? 1 : 0, kind == 2 ? 10 : kind == 3 ? 8 : 6);
        std::string removed = Take(pos, length), inserted;
        char ch = RandomText(1, 1)[0];
        CUndoInfo* info = new CUndoInfo;
        if (kind == 0) {
            info->Add(pos, (unsigned char)ch | (Uniform(0, 3) == 0 ? 0x3100u : 0u));
            inserted = ch;
        } else if (kind == 1) {
            info->Add(UNDO_INSERT, pos, (inserted = RandomText(1, 12)).c_str());
        } else if (kind == 2) {
            info->Add(UNDO_DELETE, pos, removed.c_str());
        } else if (kind == 3) {
            info->Add(ReplacementKind(), pos, removed.c_str(), (inserted = RandomText(0, 8)).c_str());
        } else {
            if (Uniform(0, 9) == 0) ch = 0;
            info->Add(ReplacementKind(), pos, removed.c_str(), ch);
            if (ch) inserted = ch;
        }
        m_doc.SetUndoInfo(info);
        Replace(pos, length, inserted);
        c.undoCaret = kind < 2 ? pos : pos + length;
        c.redoCaret = pos;
        c.redoResult = kind < 3 ? pos : pos + (int)inserted.size();
    }

    // The view's replace-all: every hit from the origin on, the origin moving past each replacement.
    // Sometimes the text searched for is absent and an empty record is handed over. Above the target
    // length no replacement is longer than its hit, or the text would grow without bound.
    void ReplaceAll(Change& c, CListUndoInfo& list) {
        std::string found = RandomText(1, 2);
        if (Size() > 0 && Uniform(0, 3) != 0) {
            int pos = Uniform(0, Size() - 1);
            found = Take(pos, FitLength(pos, 1, 3));
        }
        std::string with = RandomText(0, m_doc.text.size() > kTargetLength ? (int)found.size() : 5);
        for (size_t hit = 0; (hit = m_doc.text.find(found, hit)) != std::string::npos; hit += with.size()) {
            int pos = (int)hit;
            list.Add(pos, found.c_str(), with.c_str());
            Replace(pos, (int)found.size(), with);
            if (c.calls++ == 0) c.undoCaret = pos + (int)found.size();
            c.redoCaret = pos + (int)with.size();
        }
    }

    // An item of a list of insertions (7), of deletions (8), or of typed characters and typed-over
    // ranges (9; a typed character has no removed part: its undo restores nothing, at position 0).
    void ListItem(Change& c, CListUndoInfo& list, int kind) {
        if (kind == 8 && Size() == 0) return;
        int pos = kind == 8 ? Uniform(0, Size() - 1) : Uniform(0, Size());
        int length = kind == 8 ? FitLength(pos, 1, 8) : 0, undoCaret = pos;
        std::string inserted = kind == 7 ? RandomText(1, 6) : kind == 9 ? RandomText(1, 1) : "";
        if (kind == 7) {
            list.Add(pos, inserted.c_str());
            undoCaret = pos + (int)inserted.size();
        } else if (kind == 8) {
            list.Add(pos, Take(pos, length).c_str());
            undoCaret = pos + length;
        } else if (Uniform(0, 1) == 0) {
            list.Add(pos, (unsigned int)(unsigned char)inserted[0]);
            undoCaret = 0;
        } else {
            length = FitLength(pos, 0, 5);
            list.Add(pos, Take(pos, length).c_str(), inserted[0]);
            undoCaret = pos + length;
        }
        Replace(pos, length, inserted);
        if (c.calls++ == 0) c.undoCaret = undoCaret;
        c.redoCaret = pos + (kind == 9 ? 1 : 0);
    }

    ModelDocument& m_doc;
    std::mt19937 m_rng;
};

// Replays the change (undo or redo) and checks the text, the result and the caret against it.
void ExpectReplay(ModelDocument& doc, const Change& c, bool undo, int step) {
    SCOPED_TRACE((undo ? "undo of step " : "redo of step ") + std::to_string(step));
    doc.caret = -2;
    doc.scrolls = 0;
    int result = undo ? doc.Undo() : doc.Redo();
    ASSERT_EQ(doc.text, undo ? c.before : c.after);
    EXPECT_EQ(doc.scrolls, c.calls);
    EXPECT_EQ(result, !c.calls ? -1 : undo ? c.undoCaret : c.redoResult);
    EXPECT_EQ(doc.caret, !c.calls ? -2 : undo ? c.undoCaret : c.redoCaret);
}

TEST(UndoModel, EveryStepUndoesToTheEarlierTextAndRedoesToTheLaterOne) {
    ModelDocument doc(kSteps + 1);
    Editor editor(doc, 20261206u);
    doc.text = editor.RandomText(100, 100);
    std::vector<Change> changes;
    for (int i = 0; i < kSteps; ++i) {
        changes.push_back(editor.Edit());
        ASSERT_LT(doc.text.size(), 16 * kTargetLength)
            << "the edits no longer keep the text short, step " << i;
    }
    for (int i = kSteps - 1; i >= 0; --i) ASSERT_NO_FATAL_FAILURE(ExpectReplay(doc, changes[i], true, i));
    EXPECT_EQ(doc.Undo(), -1);
    for (int i = 0; i < kSteps; ++i) ASSERT_NO_FATAL_FAILURE(ExpectReplay(doc, changes[i], false, i));
    EXPECT_EQ(doc.Redo(), -1);
}

// Edits, undos and redos in random order under the documents' depth, against a model of both
// histories: the oldest change falls off after 26, a new change empties the redo side.
TEST(UndoModel, RandomWalkThroughTheDocumentsHistory) {
    ModelDocument doc(kDocumentDepth);
    Editor editor(doc, 7u);
    std::mt19937 rng(99u);
    doc.text = editor.RandomText(50, 50);
    std::deque<Change> undoable;
    std::deque<Change> redoable;
    int replays[2] = {0, 0};
    for (int step = 0; step < kSteps; ++step) {
        int action = std::uniform_int_distribution<int>(0, 9)(rng);
        bool undo = action < 7;
        std::deque<Change>& from = undo ? undoable : redoable;
        std::deque<Change>& to = undo ? redoable : undoable;
        if (action < 4) {
            undoable.push_back(editor.Edit());
            ASSERT_LT(doc.text.size(), 16 * kTargetLength) << "the edits no longer keep the text short";
            if (undoable.size() > kDocumentDepth + 1) undoable.pop_front();
            redoable.clear();
        } else if (from.empty()) {
            std::string text = doc.text;
            ASSERT_EQ(undo ? doc.Undo() : doc.Redo(), -1);
            ASSERT_EQ(doc.text, text);
        } else {
            ASSERT_NO_FATAL_FAILURE(ExpectReplay(doc, from.back(), undo, step));
            to.push_back(from.back());
            from.pop_back();
            ++replays[undo];
        }
        ASSERT_EQ(doc.CanUndo(), undoable.empty() ? 0 : 1) << step;
        ASSERT_EQ(doc.CanRedo(), redoable.empty() ? 0 : 1) << step;
    }
    // The walk must have reached deep into both histories to mean anything.
    EXPECT_GT(replays[1], kSteps / 10);
    EXPECT_GT(replays[0], kSteps / 20);
}

} // namespace
