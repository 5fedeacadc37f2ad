// The editing commands of both views: copy, cut, paste, undo, redo, select all, their menu and
// toolbar states, and the switch that suspends undo recording for a host's series of edits.
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "framework/win/GlobalMemory.h"
#include "framework/win/MemFile.h"
#include "framework/win/OleClipboard.h"
#include "views/EditScrollView.h"

namespace {
// Global blocks handed to the clipboard: movable, shareable, zero-filled.
const UINT kClipboardFlags = GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT;
const UINT kClipboardStep = 4096;

bool AppendWithoutCarriageReturns(const char* from, size_t count, char*& out);

// On a system whose code page is not 936 the system's own conversion between CF_TEXT and
// CF_UNICODETEXT would misread GBK: there the text also goes out, and comes in, as UTF-16 converted
// through code page 936.
const UINT kGbk = 936;
bool SystemIsGbk() {
    return ::GetACP() == kGbk;
}

// The GBK text of the block as a CF_UNICODETEXT block; null when memory is short.
HGLOBAL WideBlockOf(HGLOBAL block) {
    CGlobalLock text(block);
    if (text.Bytes() == nullptr) return nullptr;
    const char* bytes = (const char*)text.Bytes();
    int n = ::MultiByteToWideChar(kGbk, 0, bytes, -1, nullptr, 0);
    HGLOBAL wide = n > 0 ? AfxGlobalAlloc(kClipboardFlags, (SIZE_T)n * sizeof(wchar_t)) : nullptr;
    if (wide == nullptr) return nullptr;
    CGlobalLock out(wide);
    if (out.Bytes() == nullptr || ::MultiByteToWideChar(kGbk, 0, bytes, -1, (wchar_t*)out.Bytes(), n) == 0) {
        AfxGlobalFree(wide);
        return nullptr;
    }
    return wide;
}

// The clipboard's CF_UNICODETEXT in code page 936 without carriage returns; empty when it has none.
CString ReadWideClipboardText(COleDataObject& data) {
    HGLOBAL block = data.IsDataAvailable(CF_UNICODETEXT) ? data.GetGlobalData(CF_UNICODETEXT) : nullptr;
    if (block == nullptr) return CString();
    CString text;
    {
        CGlobalLock locked(block);
        const auto* wide = (const wchar_t*)locked.Bytes();
        int units = wide != nullptr ? (int)wcsnlen(wide, locked.Size() / sizeof(wchar_t)) : 0;
        int n = units > 0 ? ::WideCharToMultiByte(kGbk, 0, wide, units, nullptr, 0, nullptr, nullptr) : 0;
        char* start = n > 0 ? text.GetBufferSetLength(n) : nullptr;
        if (start != nullptr) {
            char* out = start;
            std::string bytes((size_t)n, '\0');
            ::WideCharToMultiByte(kGbk, 0, wide, units, &bytes[0], n, nullptr, nullptr);
            AppendWithoutCarriageReturns(bytes.data(), bytes.size(), out);
            text.ReleaseBuffer((int)(out - start));
        }
    }
    AfxGlobalFree(block);
    return text;
}

// Hands block to the clipboard as CF_TEXT; FALSE (and the block freed) when the clipboard refused it.
BOOL PutTextBlock(HGLOBAL block) {
    auto* source = new (std::nothrow) COleDataSource;
    if (source == nullptr) {
        AfxGlobalFree(block);
        return FALSE;
    }
    if (!SystemIsGbk())
        if (HGLOBAL wide = WideBlockOf(block)) source->CacheGlobalData(CF_UNICODETEXT, wide);
    source->CacheGlobalData(CF_TEXT, block);
    return source->SetClipboard();
}

// Copies the text [start, end) into block; FALSE (and the block freed) when it cannot be locked.
BOOL CopyRange(const CEditDocument& doc, int start, int end, HGLOBAL block) {
    CGlobalLock locked(block);
    if (locked.Bytes() == nullptr) {
        AfxGlobalFree(block);
        return FALSE;
    }
    doc.Range(start, end, (char*)locked.Bytes());
    return TRUE;
}

// Appends the bytes [from, from + count) to out without their carriage returns; FALSE at a zero byte
// (the text ends there). Runs between carriage returns are copied whole.
bool AppendWithoutCarriageReturns(const char* from, size_t count, char*& out) {
    const char* end = from + count;
    const char* zero = (const char*)std::memchr(from, 0, count);
    if (zero != nullptr) end = zero;
    while (from < end) {
        const char* cr = (const char*)std::memchr(from, '\r', (size_t)(end - from));
        const char* stop = cr != nullptr ? cr : end;
        std::memcpy(out, from, (size_t)(stop - from));
        out += stop - from;
        from = stop + (cr != nullptr ? 1 : 0);
    }
    return zero == nullptr;
}

// The CF_TEXT the clipboard holds, up to its first zero byte and without carriage returns; empty
// when it holds none or cannot be opened (another program has it open). The block is read through
// a memory file in steps, each step cleaned straight into the string.
CString ReadClipboardText() {
    COleDataObject data;
    if (!data.AttachClipboard()) return CString();
    if (!SystemIsGbk() && data.IsDataAvailable(CF_UNICODETEXT)) return ReadWideClipboardText(data);
    if (!data.IsDataAvailable(CF_TEXT)) return CString();
    HGLOBAL block = data.GetGlobalData(CF_TEXT);
    if (block == nullptr) return CString();
    CString text;
    {
        CGlobalLock locked(block);
        SIZE_T size = locked.Size();
        if (locked.Bytes() != nullptr && size > 0 && size < (SIZE_T)INT_MAX) {
            CMemFile file(locked.Bytes(), (UINT)size);
            char* start = text.GetBufferSetLength((int)size);
            if (start != nullptr) {
                char* out = start;
                char step[65536];
                UINT got = 0;
                while ((got = file.Read(step, sizeof step)) > 0 &&
                       AppendWithoutCarriageReturns(step, got, out)) {
                }
                text.ReleaseBuffer((int)(out - start));
            }
        }
    }
    AfxGlobalFree(block);
    return text;
}

// The replay runs as one batch, so a list record of many changes re-lays out and paints once: the
// batch's end rebuilds the line figures and the scroll sizes of every view, then places the caret.
void ReplayHistory(CEditScrollView& view, bool redo) {
    CEditDocument* doc = view.GetEditDocument();
    if (doc->IsReadOnly()) return;
    doc->BeginBatch();
    int caret = redo ? doc->Redo() : doc->Undo();
    doc->EndBatch();
    if (caret != -1) view.ScrollToCaret();
}
} // namespace

void CEditScrollView::OnEditCopy() {
    if (m_model.Selection().block.active) {
        CColumnInput(*this).Copy();
        return;
    }
    if (m_model.Selection().IsEmpty()) return; // the shared file would have no block to hand over
    CString text = GetEditDocument()->Range(m_model.Selection().start, m_model.Selection().end);
    CSharedFile file(kClipboardFlags, kClipboardStep);
    if (!file.Write((LPCSTR)text, (UINT)text.GetLength())) return;
    // The zero-filled block ends the string, unless the text filled it to a whole step.
    if (text.GetLength() % kClipboardStep == 0 && !file.Write("", 1)) return;
    HGLOBAL block = file.Detach();
    if (block != nullptr) PutTextBlock(block);
}

// The selection is removed only once the clipboard holds it, so nothing cut can be lost.
void CEditScrollView::OnEditCut() {
    if (GetEditDocument()->IsReadOnly()) return;
    if (m_model.Selection().block.active) {
        CColumnInput(*this).Cut();
        return;
    }
    if (m_model.Selection().IsEmpty()) return;
    CEditDocument* doc = GetEditDocument();
    HGLOBAL block =
        AfxGlobalAlloc(kClipboardFlags, (SIZE_T)(m_model.Selection().end - m_model.Selection().start) + 1);
    if (block == nullptr || !CopyRange(*doc, m_model.Selection().start, m_model.Selection().end, block) ||
        !PutTextBlock(block))
        return;
    ReplaceSelection("");
}

void CEditScrollView::OnEditPaste() {
    CString text = ReadClipboardText();
    if (text.IsEmpty()) return;
    CColumnInput column(*this);
    if (CColumnInput::ClipboardHoldsBlock()) {
        column.Paste(text);
        return;
    }
    column.End();
    // A selection's replacement repaints and places the caret as typing over it does.
    if (m_model.Selection().IsEmpty())
        CKeyRules(m_model).Paste(text);
    else
        ReplaceSelection(text);
    AfterPaste();
    m_scroller.RepaintEdit();
}

void CEditScrollView::AfterPaste() {
    CalcScrollSize();
    ScrollToCaret();
}

void CEditScrollView::OnEditUndo() {
    ReplayHistory(*this, false);
}

void CEditScrollView::OnEditRedo() {
    ReplayHistory(*this, true);
}

void CEditScrollView::OnEditSelectAll() {
    m_model.SelectAll();
    Invalidate(FALSE);
}

void CEditScrollView::OnUpdateEditCopy(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_model.Selection().start < m_model.Selection().end || m_model.Selection().block.active);
}

void CEditScrollView::OnUpdateEditPaste(CCmdUI* pCmdUI) {
    // Asked at every idle time: the format list is read without opening the clipboard.
    pCmdUI->Enable(AfxIsClipboardFormatAvailable(CF_TEXT));
}

void CEditScrollView::OnUpdateEditUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditDocument()->CanUndo() && !GetEditDocument()->IsReadOnly());
}

void CEditScrollView::OnUpdateEditRedo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetEditDocument()->CanRedo() && !GetEditDocument()->IsReadOnly());
}

void CEditScrollView::DisableCheckPoint() {
    GetEditDocument()->DisableCheckPoint();
}

void CEditScrollView::EnableCheckPoint() {
    GetEditDocument()->EnableCheckPoint();
}
