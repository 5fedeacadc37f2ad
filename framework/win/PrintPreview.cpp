// The print preview window: taking the frame's pane, its buttons, zoom and scrolling, and the pages
// recorded as metafiles against the printer and played at the preview's scale.
#include "framework/win/PrintPreview.h"

#include <algorithm>

#include "framework/win/Frame.h"
#include "framework/win/HostLookup.h"
#include "framework/win/View.h"

namespace {
const int kBarHeight = 32; // the row of buttons along the top
const int kButtonWidth = 84;
const int kGap = 4;
const int kMargin = 12; // grey around and between the pages
const int kShadow = 3;
const int kWheelStep = 48;
const size_t kRecordedPages = 4;
const COLORREF kGround = 0x808080;

struct PreviewButton {
    UINT id;
    const char* text;
};
const PreviewButton kButtons[] = {
    {AFX_ID_PREVIEW_PRINT, "\xB4\xF2\xD3\xA1(&P)..."},     // 打印(&P)...
    {AFX_ID_PREVIEW_NEXT, "\xCF\xC2\xD2\xBB\xD2\xB3(&N)"}, // 下一页(&N)
    {AFX_ID_PREVIEW_PREV, "\xC9\xCF\xD2\xBB\xD2\xB3(&V)"}, // 上一页(&V)
    {AFX_ID_PREVIEW_NUMPAGE, "\xC1\xBD\xD2\xB3(&T)"},      // 两页(&T)
    {AFX_ID_PREVIEW_ZOOMIN, "\xB7\xC5\xB4\xF3(&I)"},       // 放大(&I)
    {AFX_ID_PREVIEW_ZOOMOUT, "\xCB\xF5\xD0\xA1(&O)"},      // 缩小(&O)
    {AFX_ID_PREVIEW_CLOSE, "\xB9\xD8\xB1\xD5(&C)"},        // 关闭(&C)
};
const char kOnePage[] = "\xD2\xBB\xD2\xB3(&O)";  // 一页(&O)
const char kTwoPages[] = "\xC1\xBD\xD2\xB3(&T)"; // 两页(&T)

CFrameWnd* TopLevelFrame(CWnd* wnd) {
    if (wnd == nullptr || wnd->m_hWnd == nullptr) return nullptr;
    return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(::GetAncestor(wnd->m_hWnd, GA_ROOT)));
}

void ShowFrameMessage(CFrameWnd* frame, LPCSTR text) {
    if (frame != nullptr && frame->m_hWnd != nullptr) frame->SetMessageText(text);
}

// The bars' codes map to steps of the page area; a thumb drag goes to its position.
int ScrollDelta(HWND hwnd, int bar, UINT code, int page) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(hwnd, bar, &info);
    switch (code) {
    case SB_LINEUP:
        return -kWheelStep;
    case SB_LINEDOWN:
        return kWheelStep;
    case SB_PAGEUP:
        return -page;
    case SB_PAGEDOWN:
        return page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos - info.nPos;
    default:
        return 0;
    }
}
} // namespace

BEGIN_MESSAGE_MAP(CPreviewView, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEWHEEL()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CPreviewView::CPreviewView(CView* view, CFrameWnd* frame) : m_pPrintView(view), m_pFrame(frame) {}

CPreviewView::~CPreviewView() {
    ForgetPages();
}

BOOL CPreviewView::Show(CView* view) {
    CFrameWnd* frame = TopLevelFrame(view);
    if (frame == nullptr || FindFor(frame) != nullptr) return FALSE;
    auto* preview = new CPreviewView(view, frame);
    preview->m_info.m_bPreview = TRUE;
    if (!view->OnPreparePrinting(&preview->m_info)) {
        delete preview;
        return FALSE;
    }
    preview->m_printer.Attach(preview->m_info.m_pPD->TakePrinterDC());
    preview->m_printer.m_bPrinting = TRUE;
    view->OnBeginPrinting(&preview->m_printer, &preview->m_info);
    if (!preview->m_info.m_bContinuePrinting || preview->m_info.GetMaxPage() < 1) {
        view->OnEndPrinting(&preview->m_printer, &preview->m_info);
        delete preview;
        return FALSE;
    }
    return preview->Open(); // a window that fails to open deletes its object
}

BOOL CPreviewView::Open() {
    UINT pages = m_info.GetMaxPage();
    m_nCurrentPage = std::min(std::max(m_info.GetMinPage(), 1u), pages);
    m_nPagesShown = (m_info.m_nNumPreviewPages >= 2 && pages >= 2) ? 2 : 1;
    m_pageScreenSize = MeasurePage();
    LPCSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    if (!Create(windowClass, "Print Preview", WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), m_pFrame, 0))
        return FALSE;
    // Only once the window exists does it take the frame over, so a failed creation leaves the frame as it
    // was.
    for (HWND child = ::GetWindow(m_pFrame->m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child == m_hWnd || ::GetDlgCtrlID(child) == AFX_IDW_STATUS_BAR || !::IsWindowVisible(child))
            continue;
        m_hidden.push_back(child);
    }
    m_hSavedPane = ::GetDlgItem(m_pFrame->m_hWnd, AFX_IDW_PANE_FIRST);
    if (m_hSavedPane != nullptr) ::SetWindowLongPtrA(m_hSavedPane, GWLP_ID, AFX_IDW_PANE_SAVE);
    for (HWND child : m_hidden) ::ShowWindow(child, SW_HIDE);
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, AFX_IDW_PANE_FIRST);
    ShowWindow(SW_SHOW);
    CreateButtons();
    CreateScrollBars();
    m_pFrame->RecalcLayout();
    UpdateButtons();
    ShowPageText();
    SetFocus();
    return TRUE;
}

CPreviewView* CPreviewView::FindFor(CWnd* wnd) {
    CFrameWnd* frame = TopLevelFrame(wnd);
    if (frame == nullptr) return nullptr;
    return dynamic_cast<CPreviewView*>(
        CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
}

void CPreviewView::CloseFor(CView* view) {
    CPreviewView* preview = FindFor(view);
    if (preview == nullptr || preview->m_pPrintView != view) return;
    preview->m_bViewGoing = true;
    preview->Close();
}

void CPreviewView::Close() {
    if (m_hWnd == nullptr) return;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, 0);
    if (m_hSavedPane != nullptr && ::IsWindow(m_hSavedPane))
        ::SetWindowLongPtrA(m_hSavedPane, GWLP_ID, AFX_IDW_PANE_FIRST);
    for (HWND child : m_hidden)
        if (::IsWindow(child)) ::ShowWindow(child, SW_SHOW);
    m_hidden.clear();
    CFrameWnd* frame = m_pFrame;
    CView* view = m_pPrintView;
    bool viewGoing = m_bViewGoing;
    DestroyWindow(); // this object is gone after it
    frame->RecalcLayout();
    ShowFrameMessage(frame, LoadResourceString(AFX_IDS_IDLEMESSAGE));
    if (!viewGoing && view->m_hWnd != nullptr) view->SetFocus();
}

void CPreviewView::OnDestroy() {
    m_pPrintView->OnEndPrinting(&m_printer, &m_info);
    CWnd::OnDestroy();
}

void CPreviewView::CreateButtons() {
    HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    for (const PreviewButton& entry : kButtons) {
        HWND button = ::CreateWindowExA(0, "BUTTON", entry.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                                        kButtonWidth, kBarHeight - 2 * kGap, m_hWnd,
                                        (HMENU)(UINT_PTR)entry.id, ::GetModuleHandleA(nullptr), nullptr);
        if (button != nullptr) ::SendMessageA(button, WM_SETFONT, (WPARAM)font, FALSE);
        m_buttons.push_back(button);
    }
    LayoutButtons();
}

void CPreviewView::LayoutButtons() {
    int x = kGap;
    for (HWND button : m_buttons) {
        if (button != nullptr) ::MoveWindow(button, x, kGap, kButtonWidth, kBarHeight - 2 * kGap, FALSE);
        x += kButtonWidth + kGap;
    }
}

void CPreviewView::UpdateButtons() {
    UINT pages = GetPageCount();
    auto enable = [this](UINT id, bool on) {
        ::EnableWindow(::GetDlgItem(m_hWnd, (int)id), on ? TRUE : FALSE);
    };
    enable(AFX_ID_PREVIEW_NEXT, m_nCurrentPage + (UINT)m_nPagesShown - 1 < pages);
    enable(AFX_ID_PREVIEW_PREV, m_nCurrentPage > 1);
    enable(AFX_ID_PREVIEW_NUMPAGE, pages >= 2);
    enable(AFX_ID_PREVIEW_ZOOMIN, m_zoom != kActualSize);
    enable(AFX_ID_PREVIEW_ZOOMOUT, m_zoom != kWholePage);
    ::SetWindowTextA(::GetDlgItem(m_hWnd, AFX_ID_PREVIEW_NUMPAGE), m_nPagesShown == 2 ? kOnePage : kTwoPages);
}

CString CPreviewView::PageText() const {
    CString formats = m_info.m_strPageDesc;
    int split = formats.Find('\n');
    CString one = split >= 0 ? formats.Left(split) : formats;
    CString two = split >= 0 ? formats.Mid(split + 1) : formats;
    CString text;
    UINT last = std::min(m_nCurrentPage + (UINT)m_nPagesShown - 1, GetPageCount());
    if (last > m_nCurrentPage)
        text.Format(two, m_nCurrentPage, last);
    else
        text.Format(one, m_nCurrentPage);
    return text;
}

void CPreviewView::ShowPageText() {
    ShowFrameMessage(m_pFrame, PageText());
}

void CPreviewView::GoToPage(UINT page) {
    UINT pages = GetPageCount();
    UINT lastStart = m_nPagesShown == 2 && pages >= 2 ? pages - 1 : pages;
    page = std::max(1u, std::min(page, lastStart));
    if (page == m_nCurrentPage) return;
    m_nCurrentPage = page;
    BackToTheTop();
    UpdateButtons();
    ShowPageText();
}

void CPreviewView::SetPagesShown(int pages) {
    int shown = pages >= 2 && GetPageCount() >= 2 ? 2 : 1;
    if (shown == m_nPagesShown) return;
    m_nPagesShown = shown;
    if (shown == 2 && m_nCurrentPage == GetPageCount()) m_nCurrentPage = GetPageCount() - 1;
    BackToTheTop();
    UpdateButtons();
    ShowPageText();
}

void CPreviewView::SetZoom(Zoom zoom) {
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    BackToTheTop();
    UpdateButtons();
}

// The pages' layout changed: scrolled back to the top left, the bars and the picture anew.
void CPreviewView::BackToTheTop() {
    m_scroll = CPoint(0, 0);
    UpdateScrollBars();
    Invalidate(FALSE);
}

BOOL CPreviewView::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case AFX_ID_PREVIEW_CLOSE:
        Close();
        return TRUE;
    case AFX_ID_PREVIEW_NEXT:
        GoToPage(m_nCurrentPage + 1);
        break;
    case AFX_ID_PREVIEW_PREV:
        GoToPage(m_nCurrentPage > 1 ? m_nCurrentPage - 1 : 1);
        break;
    case AFX_ID_PREVIEW_NUMPAGE:
        SetPagesShown(m_nPagesShown == 2 ? 1 : 2);
        break;
    case AFX_ID_PREVIEW_ZOOMIN:
        SetZoom(m_zoom == kWholePage ? kPageWidth : kActualSize);
        break;
    case AFX_ID_PREVIEW_ZOOMOUT:
        SetZoom(m_zoom == kActualSize ? kPageWidth : kWholePage);
        break;
    case AFX_ID_PREVIEW_PRINT: {
        // The print command goes to the view once the preview is gone, as if chosen from its menu.
        HWND view = m_pPrintView->m_hWnd;
        Close();
        ::PostMessageA(view, WM_COMMAND, ID_FILE_PRINT, 0);
        return TRUE;
    }
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
    if (m_hWnd != nullptr && ::GetFocus() != m_hWnd) SetFocus(); // keys stay with the preview
    return TRUE;
}

// Esc and the page keys do what the buttons do; Home and End go to the ends, the arrows scroll.
void CPreviewView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_ESCAPE || nChar == VK_NEXT || nChar == VK_PRIOR) {
        UINT id = nChar == VK_ESCAPE ? AFX_ID_PREVIEW_CLOSE
                  : nChar == VK_NEXT ? AFX_ID_PREVIEW_NEXT
                                     : AFX_ID_PREVIEW_PREV;
        OnCommand(id, 0);
    } else if (nChar == VK_HOME || nChar == VK_END) {
        GoToPage(nChar == VK_HOME ? 1 : GetPageCount());
    } else if (nChar == VK_DOWN || nChar == VK_UP) {
        ScrollBy(0, nChar == VK_DOWN ? kWheelStep : -kWheelStep);
    }
}

void CPreviewView::OnLButtonDown(UINT nFlags, CPoint point) {
    SetFocus();
    for (int i = 0; i < m_nPagesShown; ++i)
        if (PageRect(i).PtInRect(point)) {
            SetZoom(m_zoom == kActualSize ? kWholePage : m_zoom == kWholePage ? kPageWidth : kActualSize);
            return;
        }
}

BOOL CPreviewView::OnMouseWheel(UINT nFlags, short zDelta, CPoint point) {
    if (m_zoom == kWholePage) {
        if (zDelta < 0)
            GoToPage(m_nCurrentPage + 1);
        else if (zDelta > 0)
            GoToPage(m_nCurrentPage > 1 ? m_nCurrentPage - 1 : 1);
    } else {
        ScrollBy(0, zDelta < 0 ? kWheelStep : -kWheelStep);
    }
    return TRUE;
}

CSize CPreviewView::MeasurePage() const {
    HDC screen = ::GetDC(nullptr);
    int sx = ::GetDeviceCaps(screen, LOGPIXELSX), sy = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    int px = std::max(1, m_printer.GetDeviceCaps(LOGPIXELSX)),
        py = std::max(1, m_printer.GetDeviceCaps(LOGPIXELSY));
    return CSize(std::max(1, ::MulDiv(m_printer.GetDeviceCaps(HORZRES), sx, px)),
                 std::max(1, ::MulDiv(m_printer.GetDeviceCaps(VERTRES), sy, py)));
}

CRect CPreviewView::PageArea() const {
    CRect client;
    GetClientRect(&client);
    client.top = std::min(client.bottom, (LONG)kBarHeight);
    if (Scrolls()) {
        client.right = std::max(client.left, client.right - ::GetSystemMetrics(SM_CXVSCROLL));
        client.bottom = std::max(client.top, client.bottom - ::GetSystemMetrics(SM_CYHSCROLL));
    }
    return client;
}

void CPreviewView::CreateScrollBars() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hVertBar = ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_hWnd, nullptr,
                                   instance, nullptr);
    m_hHorzBar = ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | SBS_HORZ, 0, 0, 0, 0, m_hWnd, nullptr,
                                   instance, nullptr);
    LayoutScrollBars();
}

void CPreviewView::LayoutScrollBars() {
    if (m_hVertBar == nullptr || m_hHorzBar == nullptr) return;
    CRect area = PageArea();
    int show = Scrolls() ? SW_SHOWNA : SW_HIDE;
    ::MoveWindow(m_hVertBar, area.right, area.top, ::GetSystemMetrics(SM_CXVSCROLL), area.Height(), TRUE);
    ::MoveWindow(m_hHorzBar, area.left, area.bottom, area.Width(), ::GetSystemMetrics(SM_CYHSCROLL), TRUE);
    ::ShowWindow(m_hVertBar, show);
    ::ShowWindow(m_hHorzBar, show);
}

int CPreviewView::ScalePerMille() const {
    CSize page = PageScreenSize();
    CRect area = PageArea();
    int n = m_nPagesShown;
    int widthScale = ::MulDiv(std::max(1, area.Width() - (n + 1) * kMargin), 1000, n * page.cx);
    if (m_zoom == kActualSize) return 1000;
    if (m_zoom == kPageWidth) return std::max(1, widthScale);
    int heightScale = ::MulDiv(std::max(1, area.Height() - 2 * kMargin), 1000, page.cy);
    return std::max(1, std::min(widthScale, heightScale));
}

CRect CPreviewView::PageRect(int index) const {
    CSize page = PageScreenSize();
    int scale = ScalePerMille();
    int w = std::max(1, ::MulDiv(page.cx, scale, 1000)), h = std::max(1, ::MulDiv(page.cy, scale, 1000));
    CRect area = PageArea();
    int total = m_nPagesShown * w + (m_nPagesShown - 1) * kMargin;
    int left =
        total + 2 * kMargin < area.Width() ? area.left + (area.Width() - total) / 2 : area.left + kMargin;
    int x = left + index * (w + kMargin) - m_scroll.x;
    int y = area.top + kMargin - m_scroll.y;
    return CRect(x, y, x + w, y + h);
}

CSize CPreviewView::ContentSize() const {
    CRect first = PageRect(0), last = PageRect(m_nPagesShown - 1);
    return CSize(last.right - first.left + 2 * kMargin, first.Height() + 2 * kMargin);
}

void CPreviewView::UpdateScrollBars() {
    if (m_hWnd == nullptr) return;
    CRect area = PageArea();
    CSize content = ContentSize();
    SCROLLINFO horizontal = {sizeof horizontal,
                             SIF_ALL | SIF_DISABLENOSCROLL,
                             0,
                             content.cx - 1,
                             (UINT)std::max(0, area.Width()),
                             m_scroll.x,
                             0};
    SCROLLINFO vertical = {sizeof vertical,
                           SIF_ALL | SIF_DISABLENOSCROLL,
                           0,
                           content.cy - 1,
                           (UINT)std::max(0, area.Height()),
                           m_scroll.y,
                           0};
    LayoutScrollBars();
    if (Scrolls() && m_hHorzBar != nullptr && m_hVertBar != nullptr) {
        ::SetScrollInfo(m_hHorzBar, SB_CTL, &horizontal, TRUE);
        ::SetScrollInfo(m_hVertBar, SB_CTL, &vertical, TRUE);
    }
}

void CPreviewView::ScrollBy(int dx, int dy) {
    if (m_zoom == kWholePage) return;
    CRect area = PageArea();
    CSize content = ContentSize();
    int maxX = std::max(0, (int)(content.cx - area.Width())),
        maxY = std::max(0, (int)(content.cy - area.Height()));
    CPoint to(std::max(0, std::min(maxX, (int)m_scroll.x + dx)),
              std::max(0, std::min(maxY, (int)m_scroll.y + dy)));
    if (to == m_scroll) return;
    m_scroll = to;
    if (m_hHorzBar != nullptr) ::SetScrollPos(m_hHorzBar, SB_CTL, m_scroll.x, TRUE);
    if (m_hVertBar != nullptr) ::SetScrollPos(m_hVertBar, SB_CTL, m_scroll.y, TRUE);
    InvalidateRect(&area, FALSE);
}

void CPreviewView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    ScrollBy(ScrollDelta(m_hHorzBar, SB_CTL, nSBCode, PageArea().Width()), 0);
}

void CPreviewView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    ScrollBy(0, ScrollDelta(m_hVertBar, SB_CTL, nSBCode, PageArea().Height()));
}

void CPreviewView::OnSize(UINT nType, int cx, int cy) {
    LayoutButtons();
    BackToTheTop();
}

void CPreviewView::OnPaint() {
    CPaintDC paint(m_hWnd);
    CRect client;
    GetClientRect(&client);
    CDC memory;
    HBITMAP bitmap =
        ::CreateCompatibleBitmap(paint.m_hDC, std::max(1, client.Width()), std::max(1, client.Height()));
    if (!memory.CreateCompatibleDC(&paint) || bitmap == nullptr) {
        if (bitmap != nullptr) ::DeleteObject(bitmap);
        ::FillRect(paint.m_hDC, &client, (HBRUSH)::GetStockObject(GRAY_BRUSH));
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(memory.m_hDC, bitmap);
    memory.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    CRect area = PageArea();
    memory.FillSolidRect(&area, kGround);
    for (int i = 0; i < m_nPagesShown; ++i) {
        UINT page = m_nCurrentPage + (UINT)i;
        if (page > GetPageCount()) break;
        CRect rect = PageRect(i);
        CRect shadow = rect;
        shadow.OffsetRect(kShadow, kShadow);
        memory.FillSolidRect(&shadow, 0x000000);
        memory.FillSolidRect(&rect, 0xFFFFFF);
        int saved = memory.SaveDC();
        ::IntersectClipRect(memory.m_hDC, rect.left, rect.top, rect.right, rect.bottom);
        DrawPage(&memory, page, rect);
        memory.RestoreDC(saved);
    }
    paint.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    ::SelectObject(memory.m_hDC, oldBitmap);
    ::DeleteObject(bitmap);
}

BOOL CPreviewView::DrawPage(CDC* dc, UINT page, const CRect& rect) {
    HENHMETAFILE picture = nullptr;
    for (const RecordedPage& recorded : m_pages)
        if (recorded.page == page) picture = recorded.picture;
    if (picture == nullptr) {
        picture = RecordPage(page);
        if (picture == nullptr) return FALSE;
        if (m_pages.size() == kRecordedPages) {
            ::DeleteEnhMetaFile(m_pages.front().picture);
            m_pages.erase(m_pages.begin());
        }
        m_pages.push_back({page, picture});
    }
    return ::PlayEnhMetaFile(dc->m_hDC, picture, &rect);
}

HENHMETAFILE CPreviewView::RecordPage(UINT page) {
    int logX = std::max(1, m_printer.GetDeviceCaps(LOGPIXELSX)),
        logY = std::max(1, m_printer.GetDeviceCaps(LOGPIXELSY));
    // The frame, in hundredths of a millimetre, is the printable area: the picture plays onto the page.
    RECT frame = {0, 0, ::MulDiv(m_printer.GetDeviceCaps(HORZRES), 2540, logX),
                  ::MulDiv(m_printer.GetDeviceCaps(VERTRES), 2540, logY)};
    HDC recording = ::CreateEnhMetaFileA(m_printer.m_hDC, nullptr, &frame, nullptr);
    if (recording == nullptr) return nullptr;
    CDC dc;
    dc.Attach(recording);
    dc.m_hAttribDC = m_printer.m_hDC;
    dc.m_bPrinting = TRUE;
    int saved = ::SaveDC(m_printer.m_hDC);
    if (m_pPrintView->PreparePage(&dc, &m_info, page)) m_pPrintView->OnPrint(&dc, &m_info);
    ::RestoreDC(m_printer.m_hDC, saved);
    dc.Detach();
    m_info.m_bContinuePrinting = TRUE; // a preview keeps every page the count gave
    return ::CloseEnhMetaFile(recording);
}

void CPreviewView::ForgetPages() {
    for (const RecordedPage& recorded : m_pages) ::DeleteEnhMetaFile(recorded.picture);
    m_pages.clear();
}
