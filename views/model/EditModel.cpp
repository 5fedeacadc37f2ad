// The editor's mouse rules, the selections a host sets, how the state follows edits of the text, and
// the character and word boundaries the rules stand on.
#include "views/model/EditModel.h"

#include <algorithm>
#include <cctype>

#include "text/CharBoundaries.h"

namespace {
// A double click selects a run of these bytes. Bytes with bit 7 set belong to two-byte characters,
// which are always part of a word whatever a wide-character class would make of the byte alone.
bool IsWordByte(char c) {
    unsigned char b = (unsigned char)c;
    return b >= 0x80 || (b != 0 && !std::isspace(b));
}
} // namespace

bool CEditModel::WordBounds(int pos, int& start, int& end) const {
    int length = m_text->Length();
    if (pos < 0 || pos >= length || !IsWordByte(m_text->ByteAt(pos))) return false;
    start = end = pos;
    while (start > 0 && IsWordByte(m_text->ByteAt(start - 1))) --start;
    // The terminator is no word byte, so the word never takes in the text's last byte.
    while (end < length - 1 && IsWordByte(m_text->ByteAt(end))) ++end;
    return true;
}

void CEditModel::SetSelection(int a, int b) {
    EndTyping();
    m_sel.block.End();
    m_sel.Select(a, b);
    m_sel.Clamp(m_text->Length());
}

bool CEditModel::SetCaret(int pos) {
    if (pos < 0 || pos >= m_text->Length()) return false;
    EndTyping();
    m_sel.caret = pos;
    return true;
}

// The caret stays where it was.
void CEditModel::SelectAll() {
    EndTyping();
    m_sel.block.End();
    m_sel.start = 0;
    m_sel.end = std::max(m_text->Length() - 1, 0);
}

// Every edit of the text, made through this model, another view's or by the undo manager.
void CEditModel::TextChanged(int pos, int removed, int inserted) {
    int length = m_text->Length();
    m_sel.Follow(pos, removed, inserted, length);
    m_sel.block.End(); // the block's own edits set it again
    m_sel.anchor = OutsidePair(m_sel.anchor);
    m_nSearchOrigin = std::clamp(CTextSelection::FollowEdit(m_nSearchOrigin, pos, removed, inserted), 0,
                                 std::max(length - 1, 0));
    // The offsets a press compares against describe the text as it was.
    m_nLastClick = m_nLastDrag = kNoOffset;
    m_columns.Edited(pos, removed, inserted);
}

// The caret stays where it was if the new text reaches there, else it goes to the text's end; the
// selection is dropped, as its bytes are gone.
void CEditModel::TextReplaced() {
    EndTyping();
    int length = m_text->Length();
    m_sel.Clamp(length);
    m_sel.block.End();
    m_sel.CollapseAt(OutsidePair(m_sel.caret));
    m_sel.anchor = m_sel.caret;
    m_nSearchOrigin = std::clamp(m_nSearchOrigin, 0, std::max(length - 1, 0));
    m_nLastClick = m_nLastDrag = kNoOffset;
    m_columns.Clear();
}

int CEditModel::LineLength(int line) const {
    int count = m_text->LineCount();
    if (line < 0 || line >= count) return 0;
    int next = line + 1 < count ? m_text->LineStart(line + 1) : m_text->Length();
    return next - m_text->LineStart(line);
}

// An offset that an edit left between the two bytes of a character moves behind the character: a run
// of bytes with bit 7 set pairs up from its start. Runs longer than a few pages are taken as they are.
int CEditModel::CharStartAt(int offset) const {
    if (!GbkCharacters() || offset <= 0 || offset >= m_text->Length()) return offset;
    int line = LineOf(offset);
    int start = m_text->LineStart(line);
    // With the long-line option the walk starts at the last character boundary its checkpoints know.
    if (m_text->LongLines())
        start = m_columns.Before(m_text->Text(), start, start + LineLength(line) - 1, offset).GbkBoundary();
    return gbk::CharStart(m_text->Text(), start, offset);
}

int FirstLineShowing(const CFirstVisible& first, int line, const CViewGrid& grid) {
    int lh = grid.lineHeight, y = (line - first.line) * lh, lastRow = (grid.height / lh - 1) * lh;
    bool below = y + lh >= grid.height;
    if (!below && y >= 0) return first.line;
    // The pixels the text moves: up to make the row the last whole one, down to make it the first.
    int shift = below ? lastRow - y : -y;
    return first.line - shift / lh;
}

int FirstColumnShowing(const CFirstVisible& first, int cells, const CViewGrid& grid) {
    int cw = grid.cellWidth, margin = grid.marginColumns * cw, lastColumn = (grid.width / cw - 1) * cw;
    int x = margin + (cells - first.column) * cw, dx = 0;
    if (x >= margin && x + cw >= grid.width)
        dx = -(grid.overshoot * cw - lastColumn + x);
    else if (x < margin)
        dx = margin - x;
    return first.column - dx / cw;
}

void CEditModel::RememberColumn() {
    m_nRememberedColumn = m_sel.caret - m_text->LineStart(CaretLine());
}

void CEditModel::MarkSelection(int start, int end) {
    EndTyping();
    m_sel.block.End();
    m_sel.start = std::min(start, end);
    m_sel.end = std::max(start, end);
    if (m_sel.IsEmpty()) m_sel.Collapse();
    m_sel.Clamp(m_text->Length());
}

int CEditModel::CellsBefore(int offset, int line) const {
    int start = m_text->LineStart(line), end = start + LineLength(line) - 1;
    offset = std::max(start, std::min(offset, end));
    // With the long-line option the walk resumes at the line's last checkpoint before offset.
    CColumnState state =
        m_text->LongLines() ? m_columns.Before(m_text->Text(), start, end, offset) : CColumnState{start};
    while (state.offset < offset)
        state.Step((unsigned char)m_text->ByteAt(state.offset), m_columns.TabSize());
    return state.cells;
}

int CEditModel::OutsidePair(int offset) const {
    int length = m_text->Length();
    if (GbkCharacters()) {
        int start = CharStartAt(offset);
        return start == offset ? offset : std::min(start + 2, length - 1);
    }
    const int kLongestRun = 8192;
    int run = 0;
    while (run < kLongestRun && offset - run > 0 && (m_text->ByteAt(offset - run - 1) & 0x80) != 0) ++run;
    return run % 2 == 1 && run < kLongestRun && offset < length - 1 ? offset + 1 : offset;
}
