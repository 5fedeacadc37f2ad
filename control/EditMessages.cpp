// The system edit control's messages, answered by the editor's document and view. Positions are byte
// offsets into the text with LF line ends; the whole text is read and written with CR LF, as the edit
// control does.
#include <algorithm>
#include <climits>
#include <string>

#include "control/EditControl.h"
#include "framework/win/Frame.h"
#include "undo/UndoInfo.h"

namespace {
// The text's length without the terminating byte.
int TextEnd(const CEditDocument& doc) {
    return std::max(0, doc.Length() - 1);
}

std::string WithCrLf(const CString& text) {
    std::string out;
    out.reserve((size_t)text.GetLength());
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '\n') out += '\r';
        out += text[i];
    }
    return out;
}

std::string WithoutCr(const char* text) {
    std::string out;
    for (; *text != '\0'; ++text)
        if (!(text[0] == '\r' && text[1] == '\n')) out += *text;
    return out;
}

// The host's own changes (WM_SETTEXT, EM_REPLACESEL) pass the read-only mode the host set, as the
// system's edit control lets them; a text that lost characters when it was read still refuses them.
class CHostChange {
public:
    explicit CHostChange(CEditDocument& doc) : m_doc(doc), m_held(doc.IsReadOnlySet()) {
        doc.SetReadOnly(FALSE);
    }
    ~CHostChange() { m_doc.SetReadOnly(m_held); }

private:
    CEditDocument& m_doc;
    BOOL m_held;
};

// The edit control's packed answer: each half 0xFFFF past its range.
LRESULT PackedSelection(int start, int end) {
    return (LRESULT)MAKELONG((WORD)std::min(start, 0xFFFF), (WORD)std::min(end, 0xFFFF));
}
} // namespace

bool CEditControl::EditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (m_doc == nullptr) return false;
    const CTextSelection& sel = m_view->Model().Selection();
    switch (message) {
    case WM_SETTEXT:
        result = lParam != 0 && SetText((const char*)lParam) ? TRUE : FALSE;
        return true;
    case WM_GETTEXT:
        result = GetText(wParam, (char*)lParam);
        return true;
    case WM_GETTEXTLENGTH:
        result = TextLength();
        return true;
    case EM_GETSEL:
        if (wParam != 0) *(DWORD*)wParam = (DWORD)sel.start;
        if (lParam != 0) *(DWORD*)lParam = (DWORD)sel.end;
        result = PackedSelection(sel.start, sel.end);
        return true;
    case EM_SETSEL: {
        int end = TextEnd(*m_doc);
        int a = (int)(INT_PTR)wParam, b = (int)(INT_PTR)lParam;
        if (a < 0) a = b = sel.caret; // -1 takes the selection away and keeps the caret
        if (b < 0 || b > end) b = end;
        m_view->SetSelection(std::min(a, end), b);
        result = 0;
        return true;
    }
    case EM_REPLACESEL:
        result = lParam == 0 ? 0 : ReplaceSelection((const char*)lParam); // the host may, as with WM_SETTEXT
        return true;
    case EM_GETMODIFY:
        result = m_doc->IsModified() ? TRUE : FALSE;
        return true;
    case EM_SETMODIFY:
        m_doc->SetModifiedFlag(wParam != 0);
        result = 0;
        return true;
    case EM_CANUNDO:
        result = m_doc->CanUndo();
        return true;
    case EM_UNDO:
    case WM_UNDO:
        result = EditCommand(ID_EDIT_UNDO, true);
        return true;
    case EM_LINEFROMCHAR:
    case EM_LINEINDEX:
    case EM_GETLINECOUNT:
    case EM_LINELENGTH:
        result = LineMessage(message, wParam);
        return true;
    case EM_SCROLLCARET:
        m_view->ScrollToCaret();
        result = TRUE;
        return true;
    case EM_SETREADONLY:
        m_doc->SetReadOnly(wParam != 0);
        result = TRUE;
        return true;
    case WM_CUT:
        result = EditCommand(ID_EDIT_CUT, true);
        return true;
    case WM_COPY:
        result = EditCommand(ID_EDIT_COPY, false);
        return true;
    case WM_PASTE:
        result = EditCommand(ID_EDIT_PASTE, true);
        return true;
    case WM_CLEAR:
        result = ReadOnly() || sel.IsEmpty() ? 0 : ReplaceSelection("");
        return true;
    case WM_SETFONT:
    case WM_GETFONT:
        result = 0; // the view's font is fixed
        return true;
    default:
        return false;
    }
}

LRESULT CEditControl::GetText(WPARAM size, char* buffer) const {
    if (buffer == nullptr || size == 0) return 0;
    std::string text = WithCrLf(m_doc->Range(0, TextEnd(*m_doc)));
    size_t count = std::min(text.size(), (size_t)size - 1);
    text.copy(buffer, count);
    buffer[count] = '\0';
    return (LRESULT)count;
}

LRESULT CEditControl::TextLength() const {
    int end = TextEnd(*m_doc);
    return end + std::max(0, m_doc->LineOfOffset(end)); // a CR before each line feed
}

// The whole text replaced, as a file read replaces it: no history, not modified, the caret at the start.
bool CEditControl::SetText(const char* text) {
    std::string bytes = WithoutCr(text);
    CHostChange change(*m_doc);
    m_doc->DisableCheckPoint();
    BOOL done = m_doc->Edit(UNDO_REPLACE, 0, TextEnd(*m_doc), bytes.c_str()) || bytes.empty();
    m_doc->EnableCheckPoint();
    m_doc->ClearHistory();
    m_doc->SetModifiedFlag(FALSE);
    m_view->SetSelection(0, 0);
    m_view->ScrollToCaret();
    return done != FALSE;
}

// One undo record: the selection replaced, or the text inserted at the caret; the caret after it.
LRESULT CEditControl::ReplaceSelection(const char* text) {
    const CTextSelection sel = m_view->Model().Selection();
    std::string bytes = WithoutCr(text);
    int removed = sel.end - sel.start;
    if (removed == 0 && bytes.empty()) return 0;
    CHostChange change(*m_doc);
    int kind = removed == 0 ? UNDO_INSERT : bytes.empty() ? UNDO_DELETE : UNDO_REPLACE;
    if (!m_doc->Edit(kind, sel.start, removed, bytes.c_str())) return 0;
    m_view->SetSelection(sel.start + (int)bytes.size(), sel.start + (int)bytes.size());
    m_view->ScrollToCaret();
    return 1;
}

LRESULT CEditControl::LineMessage(UINT message, WPARAM wParam) const {
    int lines = m_doc->LineCount(), end = TextEnd(*m_doc);
    int index = (int)(INT_PTR)wParam;
    switch (message) {
    case EM_GETLINECOUNT:
        return std::max(1, lines);
    case EM_LINEFROMCHAR:
        if (index < 0) index = m_view->Model().Selection().caret;
        return index > end ? -1 : m_doc->LineOfOffset(index);
    case EM_LINEINDEX:
        if (index < 0) index = m_view->Model().CaretLine();
        return index >= std::max(1, lines) ? -1 : m_doc->LineStart(index);
    default: // EM_LINELENGTH: the length of the line holding the offset, without its line feed
        if (index < 0 || index > end) return index < 0 ? 0 : -1;
        return m_view->Model().LineLength(m_doc->LineOfOffset(index)) - 1;
    }
}

// A view command that answers whether it did anything: for the changing ones, whether the text changed.
LRESULT CEditControl::EditCommand(UINT id, bool changes) {
    if (changes && ReadOnly()) return 0;
    if (!changes) {
        bool any = !m_view->Model().Selection().IsEmpty();
        if (any) Command(id);
        return any ? 1 : 0;
    }
    long before = m_doc->GetLength();
    int undoable = m_doc->CanUndo(), caret = m_view->Model().Selection().caret;
    Command(id);
    return m_doc->GetLength() != before || m_doc->CanUndo() != undoable ||
                   m_view->Model().Selection().caret != caret
               ? 1
               : 0;
}
