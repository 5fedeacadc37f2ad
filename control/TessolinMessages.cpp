// The editor's own messages: files, titles, options, going to a line, finding, printing and the
// colouring rules of the coloured kinds.
#include <cstring>
#include <string>

#include "control/EditControl.h"
#include "documents/ColorEditDoc.h"
#include "framework/win/Frame.h"
#include "include/tessolin/tessolin.h"

namespace {
const UINT kGbk = 936;

// A wide path in code page 936; empty for a null or unconvertible one.
std::string Narrow(const wchar_t* text) {
    if (text == nullptr) return std::string();
    int size = ::WideCharToMultiByte(kGbk, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out((size_t)size, '\0');
    ::WideCharToMultiByte(kGbk, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize((size_t)size - 1);
    return out;
}

static_assert(TEE_GBK == kEncodingGbk && TEE_UTF8 == kEncodingUtf8 && TEE_UTF8BOM == kEncodingUtf8Bom &&
                  TEE_UTF16LE == kEncodingUtf16Le && TEE_UTF16BE == kEncodingUtf16Be,
              "the public encoding numbers are the documents' own");
static_assert(TEO_DETECTENCODING == kOptionDetectEncoding && TEO_FOLLOWFILE == kOptionFollowFile &&
                  TEO_DEEPUNDO == kOptionDeepUndo,
              "the public option bits are the documents' own");

bool IsOption(WPARAM bit) {
    return bit == kOptionGbkCharacters || bit == kOptionWholeTextColors || bit == kOptionLongLines ||
           bit == kOptionFollowFile || bit == kOptionDetectEncoding || bit == kOptionDeepUndo;
}
} // namespace

bool CEditControl::TessolinMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (m_doc == nullptr || message < TEM_FIRST || message > TEM_SETENCODING) return false;
    std::string wide;
    switch (message) {
    case TEM_OPENFILE:
        result = OpenFile((const char*)lParam);
        break;
    case TEM_OPENFILEW:
        wide = Narrow((const wchar_t*)lParam);
        result = OpenFile(wide.empty() ? nullptr : wide.c_str());
        break;
    case TEM_SAVEFILE:
        result = SaveFile((const char*)lParam);
        break;
    case TEM_SAVEFILEW:
        wide = Narrow((const wchar_t*)lParam);
        result = lParam != 0 && wide.empty() ? 0 : SaveFile(lParam == 0 ? nullptr : wide.c_str());
        break;
    case TEM_RELOAD:
        result = m_doc->GetPathName().IsEmpty() ? 0 : m_doc->ReloadFile();
        break;
    case TEM_FINDTITLE:
        result = FindTitle((UINT)wParam, (const char*)lParam);
        break;
    case TEM_SETOPTION:
    case TEM_GETOPTION:
        result = Option(wParam, message == TEM_SETOPTION ? (lParam != 0 ? 1 : 0) : -1);
        break;
    case TEM_GOTOLINE:
        result = GoToLine(wParam);
        break;
    case TEM_FINDDIALOG:
        if (wParam <= 1) Command(wParam == 0 ? ID_EDIT_FIND : ID_EDIT_REPLACE);
        result = wParam <= 1 && m_view->FindReplace().Dialog() != nullptr ? 1 : 0;
        break;
    case TEM_FINDNEXT:
        result = FindNext();
        break;
    case TEM_PRINT:
        result = wParam > 1 ? 0 : Print(wParam == 1);
        break;
    case TEM_ADDKEYWORD:
    case TEM_ADDTITLE:
    case TEM_ADDCOMMENT:
        result = AddRule(message, (COLORREF)wParam, (const char*)lParam);
        break;
    case TEM_GETPATH:
        result = GetPath(wParam, (char*)lParam);
        break;
    case TEM_REDO:
        result = EditCommand(ID_EDIT_REDO, true);
        break;
    case TEM_CANREDO:
        result = m_doc->CanRedo();
        break;
    case TEM_GETENCODING:
        result = m_doc->GetEncoding();
        break;
    default: // TEM_SETENCODING
        result = wParam <= TEE_UTF16BE && m_doc->SetEncoding((TextEncoding)wParam) ? 1 : 0;
        break;
    }
    return true;
}

// The documents' own reading: its status text, its progress, its message box on failure, and the
// offer of a newer recovery file's text.
LRESULT CEditControl::OpenFile(const char* path) {
    if (path == nullptr || path[0] == '\0') return 0;
    if (!m_doc->OpenFile(path)) return 0;
    m_doc->SetPathName(path, FALSE);
    m_doc->ClearHistory();
    m_doc->SetModifiedFlag(FALSE);
    m_doc->OfferRecovery(path);
    m_view->SendMessage(WM_INITIALUPDATE);
    m_view->SetSelection(0, 0);
    return 1;
}

LRESULT CEditControl::SaveFile(const char* path) {
    CString target = path != nullptr ? CString(path) : m_doc->GetPathName();
    if (target.IsEmpty()) return 0;
    if (!m_doc->OnSaveDocument(target)) return 0;
    m_doc->SetPathName(target, FALSE);
    return 1;
}

// As the host's "Find Title": the caret's line (zero-based) when the title or its chapter was found.
LRESULT CEditControl::FindTitle(UINT number, const char* text) {
    if (text == nullptr) return -1;
    CMarginArrow& arrow = m_view->TitleArrow();
    int before = arrow.TitleLine();
    arrow.SetTitleLine(-1);
    m_view->OnTitleFind(number, text);
    if (arrow.TitleLine() >= 0) return arrow.TitleLine();
    arrow.SetTitleLine(before);
    return -1;
}

LRESULT CEditControl::GoToLine(WPARAM line) {
    int lines = m_doc->LineCount();
    int target = line >= (WPARAM)lines ? lines - 1 : (int)line;
    if (target < 0) target = 0;
    int pos = m_doc->LineStart(target);
    m_view->SetSelection(pos, pos);
    m_view->ScrollToCaret();
    return target;
}

LRESULT CEditControl::FindNext() {
    if (m_view->FindReplace().LastFind().IsEmpty()) return -1;
    const CTextSelection before = m_view->Model().Selection();
    Command(ID_EDIT_FINDNEXT);
    const CTextSelection& after = m_view->Model().Selection();
    bool moved = after.start != before.start || after.end != before.end;
    return moved && !after.IsEmpty() ? after.start : -1;
}

LRESULT CEditControl::AddRule(UINT message, COLORREF color, const char* text) {
    auto* doc = dynamic_cast<CColorEditDoc*>(m_doc);
    if (doc == nullptr || text == nullptr || text[0] == '\0') return 0;
    CColorString& rules = doc->GetTextString();
    if (message == TEM_ADDKEYWORD)
        rules.AddKeyword(text, color);
    else if (message == TEM_ADDTITLE)
        rules.AddTitle(text, color);
    else
        rules.AddComment(text, text + std::strlen(text) + 1, color);
    m_view->UpdateColors();
    m_view->Invalidate(FALSE);
    return 1;
}

LRESULT CEditControl::GetPath(WPARAM size, char* buffer) const {
    const CString& path = m_doc->GetPathName();
    if (buffer != nullptr && size > 0) {
        size_t count = std::min((size_t)path.GetLength(), (size_t)size - 1);
        std::memcpy(buffer, (const char*)path, count);
        buffer[count] = '\0';
    }
    return path.GetLength();
}

// Through the view's print commands; whether a run began (not cancelled, a printer there).
LRESULT CEditControl::Print(bool direct) {
    m_printStarted = false;
    Command(direct ? ID_FILE_PRINT_DIRECT : ID_FILE_PRINT);
    return m_printStarted ? 1 : 0;
}

// The previous state for a set (on 0 or 1), the state for a get (on -1); -1 for an unknown option.
LRESULT CEditControl::Option(WPARAM bit, int on) {
    if (!IsOption(bit)) return -1;
    LRESULT was = m_doc->HasOption((EditOption)bit) ? 1 : 0;
    if (on >= 0) m_doc->SetOption((EditOption)bit, on);
    return was;
}
