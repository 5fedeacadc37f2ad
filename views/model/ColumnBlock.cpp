// Column blocks: the bytes a rectangle of cells covers on each line, and its copy, deletion, typing
// and paste as one recorded change each.
#include "views/model/ColumnBlock.h"

#include <algorithm>
#include <climits>

#include "framework/base/ByteClass.h"
#include "text/CharBoundaries.h"

namespace {
// No block reaches further right than this.
const int kWidestCell = INT_MAX / 4;

// Changes listed in the text's order at places in the text as it is are moved to where the changes
// before each leave it, as a run of changes is made.
void InRunOrder(std::vector<CTextChange>& changes) {
    int growth = 0;
    for (CTextChange& change : changes) {
        change.pos += growth;
        growth += (int)change.text.size() - change.count;
    }
}
} // namespace

int CColumnSpans::CharLength(int pos, int end) const {
    const CEditText& text = *m_model.m_text;
    if (!byteclass::IsHalfOfPair((unsigned char)text.ByteAt(pos)) || pos + 1 >= end) return 1;
    if (m_model.GbkCharacters()) return gbk::CharLength(text.Text(), pos);
    // Bytes with bit 7 set pair up from the line's start.
    return byteclass::IsHalfOfPair((unsigned char)text.ByteAt(pos + 1)) ? 2 : 1;
}

CLineSpan CColumnSpans::SpanAt(int line, int firstCell, int endCell) const {
    const CEditText& text = *m_model.m_text;
    int pos = text.LineStart(line), end = pos + m_model.LineLength(line) - 1, cells = 0;
    int tab = m_model.Columns().TabSize();
    auto next = [&](int at, int length) {
        unsigned char b = (unsigned char)text.ByteAt(at);
        if (b == '\t') return (cells / tab + 1) * tab;
        return length == 2 ? cells + 2 : cells + (byteclass::TakesOneCell(b) ? 1 : 0);
    };
    // The left edge: the first character that reaches past it, or starts on it.
    while (pos < end && cells < firstCell) {
        int length = CharLength(pos, end), after = next(pos, length);
        if (after > firstCell) break;
        cells = after;
        pos += length;
    }
    CLineSpan span;
    span.reaches = pos < end || cells >= firstCell;
    if (!span.reaches) return span;
    span.first = pos;
    while (endCell > firstCell && pos < end && cells < endCell) {
        int length = CharLength(pos, end);
        cells = next(pos, length);
        pos += length;
    }
    span.last = pos;
    return span;
}

CLineSpan CColumnSpans::Span(int line) const {
    const CColumnBlock& block = m_model.m_sel.block;
    if (!block.active || line < block.FirstLine() || line > block.LastLine()) return CLineSpan{};
    return SpanAt(line, block.FirstCell(), block.EndCell());
}

int CColumnSpans::OffsetOfCell(int line, int cell) const {
    CLineSpan span = SpanAt(line, cell, cell);
    return span.reaches ? span.first : m_model.m_text->LineStart(line) + m_model.LineLength(line) - 1;
}

int CColumnSpans::LineCells(int line) const {
    int end = m_model.m_text->LineStart(line) + m_model.LineLength(line) - 1;
    return m_model.CellsBefore(end, line);
}

std::string CColumnSpans::Text() const {
    const CColumnBlock& block = m_model.m_sel.block;
    std::string text;
    if (!block.active) return text;
    for (int line = block.FirstLine(); line <= block.LastLine(); ++line) {
        CLineSpan span = Span(line);
        for (int pos = span.first; pos < span.last; ++pos) text += m_model.m_text->ByteAt(pos);
        text += '\n';
    }
    return text;
}

void CColumnEdits::Set(int firstLine, int lastLine, int firstCell, int endCell) {
    int lastOfText = std::max(m_model.m_text->LineCount() - 1, 0);
    CColumnBlock& block = m_sel.block;
    block.active = true;
    block.pendingLead = 0;
    m_model.m_nLastClick = CEditModel::kNoOffset;
    block.anchorLine = std::clamp(std::min(firstLine, lastLine), 0, lastOfText);
    block.line = std::clamp(std::max(firstLine, lastLine), 0, lastOfText);
    block.anchorCell = std::clamp(std::min(firstCell, endCell), 0, kWidestCell);
    block.cell = std::clamp(std::max(firstCell, endCell), 0, kWidestCell);
    PlaceCaret();
}

void CColumnEdits::MoveCorner(int lines, int cells) {
    CColumnBlock& block = m_sel.block;
    if (!block.active) {
        int line = m_model.CaretLine(), cell = m_model.CellsBefore(m_sel.caret, line);
        Set(line, line, cell, cell);
    }
    int lastOfText = std::max(m_model.m_text->LineCount() - 1, 0);
    block.line = std::clamp(block.line + lines, 0, lastOfText);
    block.cell = std::clamp(block.cell + cells, 0, kWidestCell);
    PlaceCaret();
}

void CColumnEdits::PressAt(int line, int cell, bool extend) {
    if (!extend || !m_sel.block.active) {
        int from = extend ? m_model.CaretLine() : line;
        int fromCell = extend ? m_model.CellsBefore(m_sel.caret, from) : cell;
        Set(from, from, fromCell, fromCell);
    }
    DragTo(line, cell);
}

bool CColumnEdits::DragTo(int line, int cell) {
    CColumnBlock& block = m_sel.block;
    int lastOfText = std::max(m_model.m_text->LineCount() - 1, 0);
    line = std::clamp(line, 0, lastOfText);
    cell = std::clamp(cell, 0, kWidestCell);
    if (!block.active || (line == block.line && cell == block.cell)) return false;
    block.line = line;
    block.cell = cell;
    PlaceCaret();
    return true;
}

// A click after the block acts wherever it lands, also where the click before it did.
void CColumnEdits::End() {
    m_sel.block.End();
    m_model.m_nLastClick = CEditModel::kNoOffset;
}

void CColumnEdits::PlaceCaret() {
    const CColumnBlock& block = m_sel.block;
    m_model.EndTyping();
    m_sel.CollapseAt(CColumnSpans(m_model).OffsetOfCell(block.line, block.cell));
    m_model.m_nSearchOrigin = m_sel.caret;
}

bool CColumnEdits::Delete() {
    CColumnBlock block = m_sel.block;
    if (!block.active) return false;
    std::vector<CTextChange> changes;
    CColumnSpans spans(m_model);
    for (int line = block.FirstLine(); line <= block.LastLine(); ++line) {
        CLineSpan span = spans.Span(line);
        if (span.last > span.first) changes.push_back(CTextChange{span.first, span.last - span.first, ""});
    }
    InRunOrder(changes);
    if (changes.empty() || !m_model.m_text->ChangeEach(changes)) return false;
    block.anchorCell = block.cell = block.FirstCell();
    m_sel.block = block;
    PlaceCaret();
    return true;
}

bool CColumnEdits::TypeText(const std::string& text) {
    CColumnBlock block = m_sel.block;
    std::vector<CTextChange> changes;
    CColumnSpans spans(m_model);
    for (int line = block.FirstLine(); line <= block.LastLine(); ++line) {
        CLineSpan span = spans.Span(line);
        if (span.reaches) changes.push_back(CTextChange{span.first, span.last - span.first, text});
    }
    InRunOrder(changes);
    if (changes.empty() || !m_model.m_text->ChangeEach(changes)) return false;
    block.anchorCell = block.cell = block.FirstCell() + (int)text.size();
    block.pendingLead = 0;
    m_sel.block = block;
    PlaceCaret();
    return true;
}

bool CColumnEdits::Type(char c) {
    CColumnBlock& block = m_sel.block;
    if (!block.active) return false;
    if (block.pendingLead != 0) return TypePair(block.pendingLead, c);
    if (byteclass::IsHalfOfPair((unsigned char)c)) {
        block.pendingLead = c;
        return true;
    }
    return TypeText(std::string(1, c));
}

bool CColumnEdits::TypePair(char lead, char trail) {
    if (!m_sel.block.active) return false;
    m_sel.block.pendingLead = 0;
    return TypeText(std::string{lead, trail});
}

bool CColumnEdits::Paste(const std::vector<std::string>& lines) {
    CColumnSpans spans(m_model);
    int first = m_model.CaretLine(), cell = m_model.CellsBefore(m_sel.caret, first);
    if (m_sel.block.active) {
        first = m_sel.block.FirstLine();
        cell = m_sel.block.FirstCell();
    }
    int count = m_model.m_text->LineCount(), caret = -1;
    std::vector<CTextChange> changes;
    std::string beyond; // the lines the text grows by at its end
    for (size_t i = 0; i < lines.size(); ++i) {
        int line = first + (int)i;
        if (line >= count) {
            beyond += "\n" + (lines[i].empty() ? std::string() : std::string((size_t)cell, ' ') + lines[i]);
            continue;
        }
        CLineSpan span = spans.SpanAt(line, cell, cell);
        int end = m_model.m_text->LineStart(line) + m_model.LineLength(line) - 1;
        std::string padding = span.reaches ? "" : std::string((size_t)(cell - spans.LineCells(line)), ' ');
        int pos = span.reaches ? span.first : end;
        if (caret < 0) caret = pos + (lines[i].empty() ? 0 : (int)padding.size());
        if (!lines[i].empty()) changes.push_back(CTextChange{pos, 0, padding + lines[i]});
    }
    if (!beyond.empty()) changes.push_back(CTextChange{m_model.m_text->Length() - 1, 0, beyond});
    InRunOrder(changes);
    if (changes.empty() || !m_model.m_text->ChangeEach(changes)) return false;
    m_sel.CollapseAt(std::clamp(caret, 0, std::max(m_model.m_text->Length() - 1, 0)));
    m_model.m_nSearchOrigin = m_sel.caret;
    return true;
}

std::vector<std::string> SplitBlockLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}
