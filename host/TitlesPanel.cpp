// The 标题 panel: a caption over a list box, refilled at idle time when the active document changes.
#include "host/TitlesPanel.h"

#include <string>

#include "documents/EditDocument.h"
#include "documents/HostMessages.h"
#include "framework/win/View.h"

namespace {
enum : UINT { kListId = 1 };
constexpr int kCaptionHeight = 22;
} // namespace

void SendFindTitle(CView* view, const std::string& title, unsigned chapter) {
    if (view == nullptr) return;
    std::string text = title + "| " + std::to_string(chapter);
    view->SendMessage(HostMessage(kMsgFindTitle), chapter, (LPARAM)text.c_str());
}

BEGIN_MESSAGE_MAP(CTitlesPanel, CWnd)
ON_WM_SIZE()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

BOOL CTitlesPanel::Create(CFrameWnd* frame) {
    m_frame = frame;
    LPCSTR windowClass =
        AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    if (windowClass == nullptr ||
        !CreateEx(0, windowClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, 100,
                  frame->m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_DOCKBAR_LEFT))
        return FALSE;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_caption = ::CreateWindowExA(0, "STATIC", "\xB1\xEA\xCC\xE2", WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE, 0,
                                  0, kWidth, kCaptionHeight, m_hWnd, nullptr, instance, nullptr); // 标题
    m_list =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 0,
                          kCaptionHeight, kWidth, 100, m_hWnd, (HMENU)(UINT_PTR)kListId, instance, nullptr);
    if (m_caption == nullptr || m_list == nullptr) return FALSE;
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    ::SendMessageA(m_caption, WM_SETFONT, (WPARAM)font, FALSE);
    ::SendMessageA(m_list, WM_SETFONT, (WPARAM)font, FALSE);
    return TRUE;
}

void CTitlesPanel::OnSize(UINT, int cx, int cy) {
    if (m_caption != nullptr) ::MoveWindow(m_caption, 4, 0, cx - 4, kCaptionHeight, TRUE);
    if (m_list != nullptr) ::MoveWindow(m_list, 0, kCaptionHeight, cx, cy - kCaptionHeight, TRUE);
}

LRESULT CTitlesPanel::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_frame != nullptr) Follow(m_frame->GetActiveDocument());
    return 0;
}

void CTitlesPanel::Follow(CDocument* doc) {
    auto* editDoc = doc != nullptr && doc->IsKindOf(RUNTIME_CLASS(CEditDocument))
                        ? static_cast<CEditDocument*>(doc)
                        : nullptr;
    long length = editDoc != nullptr ? editDoc->GetLength() : -1;
    long lineCount = editDoc != nullptr ? editDoc->GetLineCount() : -1;
    if (doc == m_document && length == m_length && lineCount == m_lineCount) return;
    // A rescan reads every line start: in a very large document it waits for the next switch to it,
    // so that typing there does not pay for it at every idle time.
    if (doc == m_document && lineCount > kLiveScanLines) return;
    m_document = doc;
    m_length = length;
    m_lineCount = lineCount;
    m_headings.clear();
    if (editDoc != nullptr) m_headings = FindChapterHeadings(*editDoc, kMaxHeadings);
    FillList();
}

void CTitlesPanel::FillList() {
    ::SendMessageA(m_list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
    for (const ChapterHeading& heading : m_headings)
        ::SendMessageA(m_list, LB_ADDSTRING, 0, (LPARAM)heading.text.c_str());
    ::SendMessageA(m_list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(m_list, nullptr, TRUE);
}

BOOL CTitlesPanel::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) != kListId) return CWnd::OnCommand(wParam, lParam);
    if (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK)
        Choose((int)::SendMessageA(m_list, LB_GETCURSEL, 0, 0));
    return TRUE;
}

void CTitlesPanel::Choose(int index) {
    CView* view = m_frame != nullptr ? m_frame->GetActiveView() : nullptr;
    if (view == nullptr || index < 0 || index >= (int)m_headings.size()) return;
    SendFindTitle(view, m_headings[(size_t)index].text, m_headings[(size_t)index].number);
    view->SetFocus(); // back to typing after the pick
}
