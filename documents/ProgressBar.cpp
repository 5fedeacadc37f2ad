// The status-bar progress bar: finds the main frame's status bar itself and follows its size.
#include "documents/ProgressBar.h"

#include "documents/HostReports.h"
#include "framework/win/Frame.h"
#include "framework/win/HostLookup.h"
#include "framework/win/WinApp.h"

IMPLEMENT_DYNCREATE(CProgressBar, CProgressCtrl)

BEGIN_MESSAGE_MAP(CProgressBar, CProgressCtrl)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
// Visible, continuous (not segmented) child of the status bar.
constexpr DWORD kBarStyle = WS_CHILD | WS_VISIBLE | PBS_SMOOTH;
constexpr UINT kBarId = 1;
} // namespace

CProgressBar::CProgressBar(const char* message, int size, int maximum) {
    Create(message, size, maximum);
}

CProgressBar::~CProgressBar() {
    Clear();
    if (m_hWnd != nullptr) DestroyWindow();
}

BOOL CProgressBar::Create(const char* message, int size, int maximum) {
    m_nCreated = 0;
    CStatusBar* bar = GetStatusBar();
    if (bar == nullptr) return FALSE;
    if (m_hWnd != nullptr) DestroyWindow(); // a second Create starts a fresh bar
    m_nCreated = CProgressCtrl::Create(kBarStyle, CRect(0, 0, 0, 0), bar, kBarId);
    if (!m_nCreated) return FALSE;
    SetRange(0, maximum, 1);
    SetStep(1);
    m_strMessage = CString(message);
    m_nSize = size;
    Resize();
    return TRUE;
}

void CProgressBar::Clear() {
    if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
    CString idle = LoadResourceString(AFX_IDS_IDLEMESSAGE);
    // A host without the framework's status bar learns too that the loading text is over.
    if (CHostReports* reports = GetHostReports()) reports->StatusText(idle);
    CStatusBar* bar = GetStatusBar();
    if (bar != nullptr) bar->SetPaneText(0, idle);
}

void CProgressBar::SetRange(int lower, int upper, int step) {
    if (!m_nCreated) return;
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM((WORD)lower, (WORD)upper));
    SendMessage(PBM_SETSTEP, (WPARAM)step, 0);
}

int CProgressBar::SetPos(int pos) {
    if (CHostReports* reports = GetHostReports()) reports->Progress(pos);
    Show();
    return m_nCreated ? (int)SendMessage(PBM_SETPOS, (WPARAM)pos, 0) : 0;
}

int CProgressBar::SetStep(int step) {
    Show();
    return m_nCreated ? (int)SendMessage(PBM_SETSTEP, (WPARAM)step, 0) : 0;
}

void CProgressBar::Show() {
    if (m_hWnd != nullptr && !(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOWNA);
}

// The bar starts two spaces after the message text (counted from the status bar's left edge)
// and takes m_nSize percent of what the first pane leaves after that; a tenth of the pane's
// height stays free above and below it.
void CProgressBar::Resize() {
    CStatusBar* bar = GetStatusBar();
    if (bar == nullptr) return;
    if (m_hWnd != nullptr && (GetStyle() & WS_VISIBLE)) {
        bar->SetPaneText(0, m_strMessage);
        bar->UpdateWindow();
    }
    CClientDC dc(bar);
    CFont* font = bar->GetFont();
    CFont* oldFont = font != nullptr ? dc.SelectObject(font) : nullptr;
    int textWidth = dc.GetTextExtent(m_strMessage).cx;
    int spaceWidth = dc.GetTextExtent(" ", 1).cx;
    if (oldFont != nullptr) dc.SelectObject(oldFont);
    CRect pane;
    bar->GetItemRect(0, &pane);
    int left = textWidth + 2 * spaceWidth;
    int right = left + (pane.right - left) * m_nSize / 100;
    if (right < left) right = left;
    int margin = (pane.bottom - pane.top) / 10;
    int top = pane.top + margin, bottom = pane.bottom - margin;
    if (m_hWnd != nullptr) MoveWindow(left, top, right - left, bottom - top, TRUE);
}

CStatusBar* CProgressBar::GetStatusBar() {
    CWinThread* thread = AfxGetThread();
    if (thread == nullptr) return nullptr;
    CWnd* main = thread->GetMainWnd();
    if (main == nullptr || !main->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return nullptr;
    CWnd* bar = static_cast<CFrameWnd*>(main)->GetMessageBar();
    return bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(CStatusBar)) ? static_cast<CStatusBar*>(bar)
                                                                      : nullptr;
}

BOOL CProgressBar::OnEraseBkgnd(CDC* pDC) {
    Resize();
    return CProgressCtrl::OnEraseBkgnd(pDC);
}
