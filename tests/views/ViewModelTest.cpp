// Random keys, characters and clicks in real views against a model of the text and the caret built
// from the editing rules: after every step the text, the caret after an edit, the selection's bounds
// and the modified flag must agree, and each round's edits must undo and redo to the exact bytes.
#include <random>

#include "ViewFixture.h"

namespace {
bool High(char c) {
    return ((unsigned char)c & 0x80) != 0;
}
bool WordStop(char c) {
    return c == ' ' || c == '\n';
}

// What the view looked like before a step: its text (without the terminator) and positions.
struct ModelState {
    std::string text;
    int caret, start, end;
    bool overwrite;
    int Length() const { return (int)text.size() + 1; } // the terminator counts
    char At(int pos) const { return pos >= 0 && pos < (int)text.size() ? text[(size_t)pos] : 0; }
};

// The expected result of an edit: the new text and caret. changed = false when the step edits nothing.
struct ModelEdit {
    bool changed = false;
    std::string text;
    int caret = 0;
};

ModelEdit Splice(const ModelState& m, int pos, int count, const std::string& inserted, int caret) {
    count = std::min(count, (int)m.text.size() - pos);
    ModelEdit e;
    e.changed = true;
    e.text = m.text.substr(0, (size_t)pos) + inserted + m.text.substr((size_t)(pos + count));
    e.caret = caret;
    return e;
}

ModelEdit TypeByte(const ModelState& m, char b) {
    if (m.overwrite && m.caret < m.Length() - 1 && m.At(m.caret) != '\n')
        return Splice(m, m.start, High(m.At(m.caret)) ? 2 : 1, std::string(1, b), m.start + 1);
    if (!m.overwrite && m.start < m.end)
        return Splice(m, m.start, m.end - m.start, std::string(1, b), m.start + 1);
    return Splice(m, m.caret, 0, std::string(1, b), m.caret + 1);
}

ModelEdit ImePair(const ModelState& m, const std::string& pair) {
    if (m.start < m.end) return Splice(m, m.start, m.end - m.start, pair, m.start + 2);
    return Splice(m, m.caret, 0, pair, m.caret + 2);
}

ModelEdit Backspace(const ModelState& m, bool control) {
    if (m.start < m.end) return Splice(m, m.start, m.end - m.start, "", m.start);
    if (m.caret <= 0) return {};
    char before = m.At(m.caret - 1);
    int from = m.caret - (High(before) && m.caret >= 2 && !(control && !WordStop(before)) ? 2 : 1);
    if (control && !WordStop(before))
        while (from > 0 && !WordStop(m.At(from - 1))) --from;
    return Splice(m, from, m.caret - from, "", from);
}

ModelEdit Delete(const ModelState& m, bool control) {
    if (m.start < m.end) return Splice(m, m.start, m.end - m.start, "", m.start);
    if (m.caret + 1 >= m.Length()) return {};
    char at = m.At(m.caret);
    int to = m.caret + 1;
    if (control && !WordStop(at))
        while (to < m.Length() - 1 && !WordStop(m.At(to))) ++to;
    else if (High(at) && m.caret + 2 < m.Length())
        to = m.caret + 2;
    return Splice(m, m.caret, to - m.caret, "", m.caret);
}

ModelEdit LineByte(const ModelState& m, char b) {
    if (m.overwrite) return {};
    return Splice(m, m.caret, 0, std::string(1, b), m.caret + 1);
}

class ViewModel : public ViewFixture {
protected:
    static ModelState StateOf(CEditScrollView* view) {
        return {Text(view), view->Caret(), view->GetSelectionStart(), view->GetSelectionEnd(),
                view->IsOverwrite() != FALSE};
    }
    // One random step; the model's expectation when it is an edit.
    static ModelEdit Step(CEditScrollView* view, std::mt19937& random, std::string& name) {
        ModelState m = StateOf(view);
        auto pick = [&random](int n) { return (int)(random() % (unsigned)n); };
        static const char kTyped[] = "ab \t.x\xB5\xDA";
        switch (pick(16)) {
        case 0:
        case 1: {
            char b = kTyped[pick(8)];
            if (b == '\t') b = 'q';
            name = std::string("type ") + std::to_string((unsigned char)b);
            view->SendMessage(WM_CHAR, (unsigned char)b, 1);
            return TypeByte(m, b);
        }
        case 2:
            name = "input-method pair";
            view->SendMessage(WM_IME_CHAR, 0xD2BB, 1);
            return ImePair(m, "\xD2\xBB");
        case 3:
        case 4: {
            bool control = pick(4) == 0;
            name = control ? "Ctrl+Backspace" : "Backspace";
            Key(view, VK_BACK, control);
            return Backspace(m, control);
        }
        case 5: {
            bool control = pick(4) == 0;
            name = control ? "Ctrl+Delete" : "Delete";
            Key(view, VK_DELETE, control);
            return Delete(m, control);
        }
        case 6:
            name = "Enter";
            Key(view, VK_RETURN);
            return LineByte(m, '\n');
        case 7:
            name = "Tab";
            Key(view, VK_TAB);
            return LineByte(m, '\t');
        case 8:
            name = "Insert";
            if (pick(3) == 0) Key(view, VK_INSERT);
            return {};
        case 9: {
            name = "Shift+arrow";
            Key(view, VK_SHIFT, false, true);
            static const UINT kMoves[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_END, VK_HOME};
            for (int i = pick(4); i >= 0; --i) Key(view, kMoves[pick(6)], false, true);
            return {};
        }
        case 10: {
            CRect client;
            view->GetClientRect(&client);
            CPoint from(pick(client.Width()), pick(client.Height())),
                to(pick(client.Width()), pick(client.Height()));
            name = "drag";
            view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
            view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
            view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
            return {};
        }
        case 11:
            name = "double click";
            view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pick(300), pick(100)));
            return {};
        default: {
            static const UINT kMoves[] = {VK_LEFT, VK_RIGHT, VK_UP,   VK_DOWN,
                                          VK_HOME, VK_END,   VK_NEXT, VK_PRIOR};
            UINT key = kMoves[pick(8)];
            bool control = (key == VK_HOME || key == VK_END) && pick(3) == 0;
            name = "move " + std::to_string(key) + (control ? " with Ctrl" : "");
            Key(view, key, control);
            return {};
        }
        }
    }
};
} // namespace

TEST_F(ViewModel, RandomStepsAgreeWithTheEditingRulesAndUndoToTheExactBytes) {
    for (int family = 0; family < 2; ++family) {
        const std::string initial = "first line\n\xB5\xDA\xD2\xBB pairs\n\tindented  words.here\n\nlast";
        CEditScrollView* view = family == 0 ? (CEditScrollView*)OpenPlain(initial, 320, 120)
                                            : (CEditScrollView*)OpenColored(initial, 320, 120);
        ASSERT_NE(view, nullptr);
        CEditDocument* doc = view->GetEditDocument();
        std::mt19937 random(1234u + (unsigned)family);
        for (int round = 0; round < 12; ++round) {
            doc->SetModifiedFlag(FALSE);
            std::string atStart = Text(view);
            int records = 0;
            bool changed = false;
            for (int step = 0; step < 40 && records < 20; ++step) {
                std::string name;
                ModelEdit expected = Step(view, random, name);
                SCOPED_TRACE(testing::Message() << "family " << family << " round " << round << " step "
                                                << step << ": " << name);
                if (expected.changed) {
                    ++records;
                    changed = true;
                    ASSERT_EQ(Text(view), expected.text);
                    EXPECT_EQ(view->Caret(), expected.caret);
                }
                int length = (int)doc->GetLength();
                ASSERT_EQ(length, (int)Text(view).size() + 1);
                ASSERT_EQ(doc->GetAt(length - 1), 0) << "the terminator stays the last byte";
                EXPECT_LE(0, view->GetSelectionStart());
                EXPECT_LE(view->GetSelectionStart(), view->GetSelectionEnd());
                EXPECT_LE(view->GetSelectionEnd(), length - 1);
                EXPECT_LE(0, view->Caret());
                EXPECT_LE(view->Caret(), length - 1);
                EXPECT_EQ(doc->IsModified() != FALSE, changed)
                    << "modified exactly when something was edited";
            }
            std::string atEnd = Text(view);
            for (int i = 0; i < records; ++i) ASSERT_GE(doc->Undo(), 0);
            ASSERT_EQ(Text(view), atStart) << "round " << round << ": every edit was recorded";
            for (int i = 0; i < records; ++i) ASSERT_GE(doc->Redo(), 0);
            ASSERT_EQ(Text(view), atEnd);
            EXPECT_EQ(doc->GetLineCount(), (long)std::count(atEnd.begin(), atEnd.end(), '\n') + 1);
        }
        theApp.CloseAllDocuments(FALSE);
    }
}
