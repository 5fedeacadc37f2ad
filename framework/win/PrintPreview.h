// CPreviewView: the print preview, the pages of a view drawn as the printer would print them,
// scaled on a grey ground, with its own row of buttons, in place of the top-level frame's pane.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/win/Dc.h"
#include "framework/win/PrintDialog.h"
#include "framework/win/Wnd.h"

class CFrameWnd;
class CView;

// The preview's buttons; their commands may also be sent to the preview window.
enum : UINT {
    AFX_ID_PREVIEW_CLOSE = 0xE300,
    AFX_ID_PREVIEW_NUMPAGE = 0xE301, // one page / two pages
    AFX_ID_PREVIEW_NEXT = 0xE302,
    AFX_ID_PREVIEW_PREV = 0xE303,
    AFX_ID_PREVIEW_PRINT = 0xE304,
    AFX_ID_PREVIEW_ZOOMIN = 0xE305,
    AFX_ID_PREVIEW_ZOOMOUT = 0xE306,
    AFX_IDW_PANE_SAVE = 0xEA21, // the frame's own pane while the preview takes its place
};

// A page is recorded once as a metafile against the printer (the view draws it exactly as it prints
// it, through the same hooks) and played into its place at the preview's scale.
//
// Invariants while the window exists: 1 <= m_nCurrentPage <= page count; m_nPagesShown is 1, or 2
// when the document has more than one page; the frame's children that were visible when the preview
// opened (other than its status bar) are hidden and listed in m_hidden; the frame's own pane carries
// the id AFX_IDW_PANE_SAVE and the preview AFX_IDW_PANE_FIRST, so the frame lays the preview out.
class CPreviewView : public CWnd {
public:
    enum Zoom { kWholePage, kPageWidth, kActualSize };

    // Opens the preview of view in its top-level frame; FALSE when there is no printer, the view
    // refused to print, or a preview is already open there.
    static BOOL Show(CView* view);
    // The preview open in the top-level frame of wnd, or null.
    static CPreviewView* FindFor(CWnd* wnd);
    // Closes the preview that shows view, if any (the view is going away).
    static void CloseFor(CView* view);

    UINT GetCurrentPage() const { return m_nCurrentPage; }
    UINT GetPageCount() const { return m_info.GetMaxPage(); }
    int GetPagesShown() const { return m_nPagesShown; }
    Zoom GetZoom() const { return m_zoom; }
    CView* GetPrintView() const { return m_pPrintView; }
    CPrintInfo& GetPrintInfo() { return m_info; }
    // The status text of the pages shown ("第 3 页", "第 3-4 页").
    CString PageText() const;

    void GoToPage(UINT page);
    void SetPagesShown(int pages);
    void SetZoom(Zoom zoom);
    void Close();
    // Where the shown page index (0 or 1) lies in the client area.
    CRect PageRect(int index) const;
    // Plays page into rect of dc as it is printed; FALSE when it could not be recorded.
    BOOL DrawPage(CDC* dc, UINT page, const CRect& rect);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    CPreviewView(CView* view, CFrameWnd* frame);
    ~CPreviewView() override;
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT nType, int cx, int cy);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnDestroy();

private:
    struct RecordedPage {
        UINT page;
        HENHMETAFILE picture;
    };

    BOOL Open();
    void CreateButtons();
    void LayoutButtons();
    void UpdateButtons();
    void ShowPageText();
    // The page's size in screen pixels at the actual size: measured once, when the preview opens.
    CSize PageScreenSize() const { return m_pageScreenSize; }
    CSize MeasurePage() const;
    // The pages with the grey around them, at the current zoom.
    CSize ContentSize() const;
    void BackToTheTop();
    // The scale of the current zoom, screen pixels per page pixel at actual size, times 1000.
    int ScalePerMille() const;
    CRect PageArea() const;
    // The scroll bars are controls of their own below the button row (a window's own bars would run
    // up beside the buttons), shown at the zooms that scroll.
    bool Scrolls() const { return m_zoom != kWholePage; }
    void CreateScrollBars();
    void LayoutScrollBars();
    void UpdateScrollBars();
    void ScrollBy(int dx, int dy);
    HENHMETAFILE RecordPage(UINT page);
    void ForgetPages();

    CView* m_pPrintView;
    CFrameWnd* m_pFrame;
    CPrintInfo m_info;
    CDC m_printer; // the printer's context: page metrics, and the reference of each recording
    UINT m_nCurrentPage = 1;
    int m_nPagesShown = 1;
    Zoom m_zoom = kWholePage;
    CPoint m_scroll{0, 0}; // the page area's scroll offset at the larger zooms
    CSize m_pageScreenSize{1, 1};
    std::vector<HWND> m_hidden;
    HWND m_hSavedPane = nullptr;
    bool m_bViewGoing = false; // closing because the view is being destroyed: no focus back to it
    std::vector<HWND> m_buttons;
    HWND m_hVertBar = nullptr;
    HWND m_hHorzBar = nullptr;
    std::vector<RecordedPage> m_pages; // the few pages recorded last
};
