// The column block of an editor view: keys, mouse, typing, the clipboard, and their repaints.
#include "views/ColumnInput.h"

#include <algorithm>
#include <initializer_list>
#include <new>
#include <string>

#include "framework/win/Desktop.h"
#include "framework/win/GlobalMemory.h"
#include "framework/win/OleClipboard.h"
#include "views/EditScrollView.h"
#include "views/model/ColumnBlock.h"

namespace {
const UINT kClipboardFlags = GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT;
// The code page of the text, for the clipboard's wide-character copy.
const UINT kTextCodePage = 936;

// The private format other editors mark a column block with; its data is one zero byte.
UINT BlockFormat() {
    static const UINT format = ::RegisterClipboardFormatA("MSDEVColumnSelect");
    return format;
}

// A zero-filled block holding size bytes of bytes, or null.
HGLOBAL BlockOf(const void* bytes, size_t size) {
    HGLOBAL block = AfxGlobalAlloc(kClipboardFlags, size);
    if (block == nullptr) return nullptr;
    CGlobalLock locked(block);
    if (locked.Bytes() == nullptr) {
        AfxGlobalFree(block);
        return nullptr;
    }
    std::copy_n((const BYTE*)bytes, size, locked.Bytes());
    return block;
}

// text (zero included) in UTF-16 from the code page, or null.
HGLOBAL WideBlockOf(const std::string& text) {
    int count = ::MultiByteToWideChar(kTextCodePage, 0, text.c_str(), (int)text.size() + 1, nullptr, 0);
    if (count <= 0) return nullptr;
    std::wstring wide((size_t)count, L'\0');
    ::MultiByteToWideChar(kTextCodePage, 0, text.c_str(), (int)text.size() + 1, &wide[0], count);
    return BlockOf(wide.c_str(), (size_t)count * sizeof(wchar_t));
}

// Frees the blocks given; false, so a caller can return it.
bool FreeAll(std::initializer_list<HGLOBAL> blocks) {
    for (HGLOBAL block : blocks)
        if (block != nullptr) AfxGlobalFree(block);
    return false;
}
} // namespace

bool CColumnInput::IsActive() const {
    return m_view.m_model.Selection().block.active;
}

void CColumnInput::CellAt(CPoint point, int& line, int& cell) const {
    const CViewMetrics& metrics = m_view.m_metrics;
    int lh = metrics.unit.cy, cw = metrics.unit.cx;
    int row = point.y >= 0 ? point.y / lh : -((-point.y + lh - 1) / lh);
    line = std::clamp(row + m_view.m_model.First().line, 0,
                      std::max(m_view.GetEditDocument()->LineCount() - 1, 0));
    int x = point.x - metrics.TextOrigin(m_view.m_model.First().column) + cw / 2;
    cell = x > 0 ? x / cw : 0;
}

void CColumnInput::SelectedLines(int& first, int& last) const {
    const CEditModel& model = m_view.m_model;
    const CTextSelection& sel = model.Selection();
    first = last = -1;
    if (sel.block.active) {
        first = sel.block.FirstLine();
        last = sel.block.LastLine();
    } else if (!sel.IsEmpty()) {
        first = model.LineOf(sel.start);
        last = model.LineOf(sel.end);
    }
}

void CColumnInput::Moved(int oldFirst, int oldLast) {
    const CColumnBlock& block = m_view.m_model.Selection().block;
    int first = block.FirstLine(), last = block.LastLine();
    if (oldFirst >= 0) {
        first = std::min(first, oldFirst);
        last = std::max(last, oldLast);
    }
    m_view.InvalidateLine(first, last);
    if (m_view.ScrollToCaret()) m_view.UpdateColors();
    m_view.UpdateWindow();
}

void CColumnInput::Edited() {
    if (m_view.ScrollToCaret()) m_view.UpdateColors();
    m_view.m_scroller.RepaintEdit();
    m_view.Invalidate(FALSE);
    m_view.UpdateWindow();
}

bool CColumnInput::SysKey(UINT key) {
    if (!IsKeyDown(VK_SHIFT) || !m_view.m_model.HasText()) return false;
    int lines = key == VK_UP ? -1 : key == VK_DOWN ? 1 : 0;
    int cells = key == VK_LEFT ? -1 : key == VK_RIGHT ? 1 : 0;
    if (lines == 0 && cells == 0) return false;
    int oldFirst = -1, oldLast = -1;
    SelectedLines(oldFirst, oldLast);
    CColumnEdits(m_view.m_model).MoveCorner(lines, cells);
    Moved(oldFirst, oldLast);
    return true;
}

bool CColumnInput::Key(UINT key) {
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return true;
    const CColumnBlock& block = m_view.m_model.Selection().block;
    if ((key == VK_DELETE || key == VK_BACK) && block.FirstCell() < block.EndCell()) {
        if (CColumnEdits(m_view.m_model).Delete()) Edited();
        return true;
    }
    End();
    return false;
}

bool CColumnInput::Type(char lead, char trail) {
    if (!IsActive()) return false;
    CColumnEdits edits(m_view.m_model);
    bool edited = trail != 0 ? edits.TypePair(lead, trail) : edits.Type(lead);
    if (edited && m_view.m_model.Selection().block.pendingLead == 0) Edited();
    return true;
}

void CColumnInput::Press(CPoint point, bool extend) {
    int oldFirst = -1, oldLast = -1, line = 0, cell = 0;
    SelectedLines(oldFirst, oldLast);
    CellAt(point, line, cell);
    CColumnEdits(m_view.m_model).PressAt(line, cell, extend);
    Moved(oldFirst, oldLast);
}

void CColumnInput::DragTo(CPoint point) {
    const CColumnBlock& block = m_view.m_model.Selection().block;
    int oldFirst = block.FirstLine(), oldLast = block.LastLine(), line = 0, cell = 0;
    CellAt(point, line, cell);
    if (CColumnEdits(m_view.m_model).DragTo(line, cell)) Moved(oldFirst, oldLast);
}

void CColumnInput::End() {
    const CColumnBlock& block = m_view.m_model.Selection().block;
    if (!block.active) return;
    int first = block.FirstLine(), last = block.LastLine();
    CColumnEdits(m_view.m_model).End();
    m_view.InvalidateLine(first, last);
}

bool CColumnInput::PutOnClipboard() {
    std::string text;
    for (char c : CColumnSpans(m_view.m_model).Text())
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const char mark = 0;
    HGLOBAL bytes = BlockOf(text.c_str(), text.size() + 1), wide = WideBlockOf(text),
            marked = BlockOf(&mark, 1);
    if (bytes == nullptr || wide == nullptr || marked == nullptr) return FreeAll({bytes, wide, marked});
    auto* source = new (std::nothrow) COleDataSource;
    if (source == nullptr) return FreeAll({bytes, wide, marked});
    source->CacheGlobalData(CF_TEXT, bytes);
    source->CacheGlobalData(CF_UNICODETEXT, wide);
    source->CacheGlobalData((CLIPFORMAT)BlockFormat(), marked);
    return source->SetClipboard() != FALSE;
}

void CColumnInput::Copy() {
    PutOnClipboard();
}

// The block is removed only once the clipboard holds it.
void CColumnInput::Cut() {
    if (PutOnClipboard() && CColumnEdits(m_view.m_model).Delete()) Edited();
}

void CColumnInput::Paste(const CString& text) {
    std::string bytes((const char*)text, (size_t)text.GetLength());
    if (CColumnEdits(m_view.m_model).Paste(SplitBlockLines(bytes))) Edited();
}

bool CColumnInput::ClipboardHoldsBlock() {
    return AfxIsClipboardFormatAvailable(BlockFormat()) != FALSE;
}

void CColumnInput::Get(int* firstLine, int* lastLine, int* firstCell, int* endCell) const {
    const CColumnBlock& block = m_view.m_model.Selection().block;
    int values[4] = {-1, -1, -1, -1};
    if (block.active) {
        values[0] = block.FirstLine();
        values[1] = block.LastLine();
        values[2] = block.FirstCell();
        values[3] = block.EndCell();
    }
    int* outs[4] = {firstLine, lastLine, firstCell, endCell};
    for (int i = 0; i < 4; ++i)
        if (outs[i] != nullptr) *outs[i] = values[i];
}

// A negative line or cell ends the block.
void CColumnInput::Set(int firstLine, int lastLine, int firstCell, int endCell) {
    if (!m_view.m_model.HasText()) return;
    if (firstLine < 0 || lastLine < 0 || firstCell < 0 || endCell < 0) {
        End();
        m_view.UpdateWindow();
        return;
    }
    int oldFirst = -1, oldLast = -1;
    SelectedLines(oldFirst, oldLast);
    CColumnEdits(m_view.m_model).Set(firstLine, lastLine, firstCell, endCell);
    Moved(oldFirst, oldLast);
}
