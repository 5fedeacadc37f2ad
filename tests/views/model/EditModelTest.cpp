// The edit model driven by random keys, typing, clicks, drags and double clicks over a real text
// buffer with its undo history, checked step by step against a plain string model of the rules, and
// each round undone to its start and redone to its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <random>
#include <string>

#include "BufferText.h"
#include "views/model/KeyRules.h"
#include "views/model/MouseRules.h"

namespace {

// The rules written out plainly over a string whose last byte is the terminator.
struct Reference {
    std::string t;
    int caret = 0, start = 0, end = 0, anchor = 0, column = 0;
    bool overwrite = false;
    int lastClick = -1, lastDrag = -1;
    int origin = 0; // where Find Next starts: the caret after most steps, moved by edits

    int Length() const { return (int)t.size(); }
    static bool High(char c) { return (c & 0x80) != 0; }
    int LineStart(int pos) const {
        while (pos > 0 && t[pos - 1] != '\n') --pos;
        return pos;
    }
    int LineEnd(int pos) const { // the line feed or the terminator
        while (pos < Length() - 1 && t[pos] != '\n') ++pos;
        return pos;
    }
    int LineNumber(int pos) const { return (int)std::count(t.begin(), t.begin() + pos, '\n'); }
    int LineCount() const { return LineNumber(Length() - 1) + 1; }
    int NthLineStart(int line) const {
        int pos = 0;
        for (int l = 0; l < line; ++l) pos = LineEnd(pos) + 1;
        return pos;
    }
    void Remember() { column = caret - LineStart(caret); }
    void Collapse(int at) { caret = start = end = at; }
    void FromAnchor() {
        start = std::min(anchor, caret);
        end = std::max(anchor, caret);
    }
    int Target(int line) const {
        int s = NthLineStart(line), e = LineEnd(s);
        if (column >= e - s) return e;
        int count = 0;
        while (count < column) count += High(t[s + count]) ? 2 : 1;
        return s + count;
    }
    static int Follow(int offset, int pos, int removed, int inserted) {
        if (offset <= pos) return offset;
        return offset < pos + removed ? pos : offset + inserted - removed;
    }
    void Edit(int pos, int count, const std::string& text) {
        count = std::min(count, Length() - 1 - pos);
        t.replace((size_t)pos, (size_t)count, text);
        for (int* o : {&caret, &start, &end, &anchor, &origin})
            *o = std::clamp(Follow(*o, pos, count, (int)text.size()), 0, Length() - 1);
        int run = 0;
        while (anchor - run > 0 && High(t[anchor - run - 1])) ++run;
        if (run % 2 == 1 && anchor < Length() - 1) ++anchor;
        lastClick = lastDrag = -1;
    }

    void Side(bool right, bool shift) {
        if (right ? caret >= Length() - 1 : caret <= 0) return;
        int step = right ? (High(t[caret]) ? 2 : 1) : (High(t[caret - 1]) ? -2 : -1);
        int target = std::clamp(caret + step, 0, Length() - 1);
        if (shift) {
            caret = target;
            FromAnchor();
        } else {
            Collapse(start != end ? (right ? end : start) : target);
        }
        Remember();
    }
    void Vertical(bool down, bool shift, int rows) {
        int line = LineNumber(caret), last = LineCount() - 1;
        if (down ? line >= last : line <= 0) return;
        int target = Target(down ? std::min(line + rows, last) : std::max(line - rows, 0));
        if (shift) {
            caret = target;
            FromAnchor();
        } else {
            Collapse(start != end && rows == 1 ? (down ? end : start) : target);
        }
    }
    void Ends(bool toEnd, bool control, bool shift) {
        if (control) {
            caret = toEnd ? Length() - 1 : 0;
            if (toEnd) column = Length() - 1 - LineStart(Length() - 1);
        } else {
            caret = toEnd ? LineEnd(caret) : LineStart(caret);
            Remember();
        }
        if (shift)
            FromAnchor();
        else
            Collapse(caret);
    }
    // With grow (Shift+Tab) the selection's end takes in the byte.
    void InsertByte(char c, bool grow = false) {
        bool wasEmpty = start == end;
        int at = caret, oldEnd = end;
        Edit(at, 0, std::string(1, c));
        caret = at + 1;
        if (grow)
            end = std::max(oldEnd + 1, start);
        else if (wasEmpty)
            Collapse(caret);
        Remember();
    }
    void Pair(const std::string& pair) {
        int at = start != end ? start : caret;
        Edit(at, end - start, pair);
        Collapse(at + 2);
    }
    // Both delete keys remove a selection and collapse at its start; false when there was none.
    bool DeleteSelection() {
        if (start == end) return false;
        int s = start;
        Edit(s, end - s, "");
        Collapse(s);
        return true;
    }
    // Both delete keys answer whether they end as other keys do, putting the search origin at the
    // caret: not a one-byte deletion inside a line, nor Backspace over a selection.
    bool Back(bool control) {
        if (DeleteSelection()) return false;
        if (caret <= 0) return true;
        char before = t[caret - 1];
        bool word = control && before != ' ' && before != '\n', pair = !word && High(before) && caret >= 2;
        int s = caret - (pair ? 2 : 1);
        while (word && s > 0 && t[s - 1] != ' ' && t[s - 1] != '\n') --s;
        Edit(s, caret - s, "");
        Collapse(s);
        bool longer = word || pair || before == '\n';
        if (longer) Remember();
        return longer;
    }
    bool Forward(bool control) {
        if (DeleteSelection()) return true;
        if (caret + 1 >= Length()) return true;
        char at = t[caret];
        bool word = control && at != ' ' && at != '\n', pair = !word && High(at) && caret + 2 < Length();
        int e = caret + (pair ? 2 : 1);
        while (word && e < Length() - 1 && t[e] != ' ' && t[e] != '\n') ++e;
        int c = caret;
        Edit(c, e - c, "");
        Collapse(c);
        return word || pair || at == '\n';
    }
    void Type(char c) {
        bool overwrites = overwrite && caret < Length() - 1 && t[caret] != '\n';
        if (overwrites || (!overwrite && start != end)) {
            int s = start, count = overwrites ? (High(t[caret]) ? 2 : 1) : end - start;
            Edit(s, count, std::string(1, c));
            Collapse(s + 1);
        } else {
            int at = caret;
            Edit(at, 0, std::string(1, c));
            Collapse(at + 1);
        }
        origin = caret;
    }
    void Enter() {
        int line = LineNumber(caret);
        if (!overwrite) return InsertByte('\n');
        if (line >= LineCount() - 1) return;
        Collapse(NthLineStart(line + 1));
        Remember();
    }
    void Paste(const std::string& text) {
        if (start != end) {
            int s = start;
            Edit(s, end - s, text);
            Collapse(s);
        } else {
            Edit(caret, 0, text);
        }
    }
    void Press(int pos) {
        anchor = lastDrag = pos;
        if (pos == lastClick) return;
        Collapse(pos);
        Remember();
        lastClick = origin = pos;
    }
    void Drag(int pos) {
        if (pos == lastDrag) return;
        caret = lastDrag = origin = pos;
        FromAnchor();
    }
    void DoubleClick(int pos) {
        auto word = [&](int p) { return High(t[p]) || (t[p] != 0 && !std::isspace((unsigned char)t[p])); };
        origin = caret;
        if (!word(pos)) return;
        int s = pos, e = pos;
        while (s > 0 && word(s - 1)) --s;
        while (e < Length() - 1 && word(e)) ++e;
        start = s;
        end = caret = origin = e;
    }
};

const int kTargetLength = 300;

class EditModelRun {
public:
    explicit EditModelRun(unsigned seed) : m_rng(seed) {}

    // One round: a fresh history over the text the last round left.
    void Round(int steps) {
        std::string before = m_ref.t.substr(0, m_ref.t.size() - 1);
        m_text = std::make_unique<BufferText>(before);
        m_text->Attach(m_model);
        m_model.Attach(m_text.get());
        m_model.TextReplaced();
        m_model.SetSelection(m_ref.caret, m_ref.caret);
        m_ref.Collapse(m_model.Caret());
        m_ref.anchor = m_model.Selection().anchor;
        m_ref.lastClick = m_ref.lastDrag = -1;
        m_ref.origin = m_model.SearchOrigin();
        // A window from less than a line high to a few dozen lines, its size a whole number of cells or not.
        m_grid.height = Uniform(m_grid.lineHeight - 3, 30 * m_grid.lineHeight);
        m_grid.width = Uniform((m_grid.marginColumns + m_grid.overshoot + 2) * m_grid.cellWidth, 640);
        for (int i = 0; i < steps && !::testing::Test::HasFatalFailure(); ++i) {
            Step();
            ExpectSame(i);
            ExpectCaretShown(i);
        }
        std::string after = m_text->Bytes();
        while (m_text->CanUndo()) m_text->Undo();
        ASSERT_EQ(m_text->Bytes(), before) << "undo to the round's start";
        while (m_text->CanRedo()) m_text->Redo();
        ASSERT_EQ(m_text->Bytes(), after) << "redo to the round's end";
        m_model.SetSelection(m_ref.caret, m_ref.caret);
    }

private:
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Coin() { return Uniform(0, 1) == 1; }

    void Step() {
        static const char kBytes[] = "ab \n\t\xB4\xF2\x80";
        const int rows = 3;
        bool control = Uniform(0, 3) == 0, shift = Coin();
        int pos = Uniform(0, m_ref.Length() - 1);
        if (shift) {
            Key(EditKey::kShift, false, false, rows);
            if (m_ref.start == m_ref.end) m_ref.anchor = m_ref.caret;
            m_ref.origin = m_ref.caret;
        }
        bool keyEnds = true; // a key that ends as keys do puts the search origin at the caret
        int action = Uniform(0, 14);
        // Below a few hundred bytes the text leans towards growth, as deletions outnumber insertions.
        if (m_ref.Length() < kTargetLength && Uniform(0, 2) == 0) action = 14;
        switch (action) {
        case 0:
        case 1: {
            bool right = Coin();
            Key(right ? EditKey::kRight : EditKey::kLeft, false, shift, rows);
            m_ref.Side(right, shift);
            break;
        }
        case 2: {
            bool down = Coin();
            Key(down ? EditKey::kDown : EditKey::kUp, false, shift, rows);
            m_ref.Vertical(down, shift, 1);
            break;
        }
        case 3: {
            bool down = Coin();
            Key(down ? EditKey::kPageDown : EditKey::kPageUp, false, shift, rows);
            m_ref.Vertical(down, shift, rows);
            break;
        }
        case 4: {
            bool toEnd = Coin();
            Key(toEnd ? EditKey::kEnd : EditKey::kHome, control, shift, rows);
            m_ref.Ends(toEnd, control, shift);
            break;
        }
        case 5:
        case 6: {
            char c = kBytes[Uniform(0, (int)sizeof kBytes - 2)];
            if (c == '\n' || c == '\t') {
                Key(c == '\n' ? EditKey::kReturn : EditKey::kTab, false, shift, rows);
                if (c == '\n')
                    m_ref.Enter();
                else if (!m_ref.overwrite)
                    m_ref.InsertByte('\t', shift);
                else
                    TabStop();
            } else if (control) {
                keyEnds = false;
                CKeyRules(m_model).TypePair('\xD2', '\xBB');
                m_ref.Pair("\xD2\xBB");
            } else {
                keyEnds = false;
                CKeyRules(m_model).Type((unsigned char)c);
                m_ref.Type(c);
            }
            break;
        }
        case 7:
            Key(EditKey::kBack, control, false, rows);
            keyEnds = m_ref.Back(control);
            break;
        case 8:
            Key(EditKey::kDelete, control, false, rows);
            keyEnds = m_ref.Forward(control);
            break;
        case 9:
            keyEnds = Uniform(0, 5) == 0;
            if (keyEnds) {
                Key(EditKey::kInsert, false, false, rows);
                m_ref.overwrite = !m_ref.overwrite;
            }
            break;
        default:
            keyEnds = false;
            break;
        }
        if (keyEnds) m_ref.origin = m_ref.caret;
        switch (action) {
        case 10:
        case 11:
            CMouseRules(m_model).Press(pos);
            m_ref.Press(pos);
            break;
        case 12: {
            int first = 0, last = 0;
            CMouseRules(m_model).DragTo(pos, first, last);
            m_ref.Drag(pos);
            break;
        }
        case 13:
            CMouseRules(m_model).DoubleClick(pos);
            m_ref.DoubleClick(pos);
            break;
        case 14: {
            std::string piece;
            for (int n = Uniform(1, 24); n > 0; --n) piece += kBytes[Uniform(0, (int)sizeof kBytes - 2)];
            CKeyRules(m_model).Paste(piece.c_str());
            m_ref.Paste(piece);
            break;
        }
        }
    }

    void Key(EditKey key, bool control, bool shift, int rows) {
        CKeyRules(m_model).Key(key, control, shift, rows);
    }

    // Overwriting, Tab goes to the next stop, behind a pair it would split.
    void TabStop() {
        int s = m_ref.LineStart(m_ref.caret), width = 0;
        for (int p = s; p < m_ref.caret; ++p) width += m_ref.t[p] == '\t' ? 4 : 1;
        int target = s + (width / 4 + 1) * 4, high = 0;
        for (int p = s; p < target && p < m_ref.Length(); ++p) high += Reference::High(m_ref.t[p]) ? 1 : 0;
        if (high % 2 == 1) ++target;
        m_ref.Collapse(std::min(target, m_ref.Length() - 1));
        m_ref.Remember();
    }

    void ExpectSame(int step) {
        const CTextSelection& sel = m_model.Selection();
        std::string text = m_text->Bytes();
        ASSERT_EQ(text, m_ref.t.substr(0, m_ref.t.size() - 1)) << "step " << step;
        ASSERT_EQ(sel.caret, m_ref.caret) << "step " << step << " text \"" << text << "\"";
        ASSERT_EQ(sel.start, m_ref.start) << "step " << step;
        ASSERT_EQ(sel.end, m_ref.end) << "step " << step;
        ASSERT_EQ(m_model.RememberedColumn(), m_ref.column) << "step " << step;
        ASSERT_EQ(m_model.IsOverwrite(), m_ref.overwrite);
        ASSERT_EQ(m_model.SearchOrigin(), m_ref.origin) << "step " << step;
    }

    // The view brings the caret into view after a step: its line becomes a whole row of the window and
    // its cell falls inside the text area; a caret already shown scrolls nothing.
    void ExpectCaretShown(int step) {
        int line = m_model.CaretLine(), start = m_ref.LineStart(m_ref.caret), cells = 0;
        for (int p = start; p < m_ref.caret; ++p)
            cells = m_ref.t[p] == '\t' ? (cells / 4 + 1) * 4 : cells + 1;
        ASSERT_EQ(m_model.CellsBefore(m_model.Caret(), line), cells) << "step " << step;
        CFirstVisible& first = m_model.First();
        const CViewGrid& g = m_grid;
        auto rowShown = [&] {
            int y = (line - first.line) * g.lineHeight;
            return y >= 0 && y + g.lineHeight <= g.height;
        };
        auto cellShown = [&] {
            int x = (g.marginColumns + cells - first.column) * g.cellWidth;
            return x >= g.marginColumns * g.cellWidth && x + g.cellWidth < g.width;
        };
        CFirstVisible before = first;
        bool wasShown[] = {rowShown(), cellShown()};
        first.line = FirstLineShowing(first, line, g);
        first.column = FirstColumnShowing(first, cells, g);
        ASSERT_TRUE(rowShown() || g.height < g.lineHeight) << "step " << step << " line " << line;
        ASSERT_TRUE(cellShown()) << "step " << step << " cells " << cells;
        ASSERT_TRUE(!wasShown[0] || first.line == before.line) << "step " << step;
        ASSERT_TRUE(!wasShown[1] || first.column == before.column) << "step " << step;
    }

    std::mt19937 m_rng;
    CViewGrid m_grid{8, 16, 0, 0, 2, 5};
    CEditModel m_model;
    std::unique_ptr<BufferText> m_text;
    Reference m_ref{std::string("ab\n\xB4\xF2 c\td\n\nlast line") + std::string(1, '\0')};
};

TEST(EditModel, RandomInputMatchesTheRulesAndUndoesToEachRoundsStart) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        EditModelRun run(20261210 + seed);
        for (int round = 0; round < 60 && !HasFatalFailure(); ++round) run.Round(200);
    }
}

} // namespace
