// CEditScrollView: the shared state and behaviour of both editor views: scaled scroll bars, the fixed
// font and the text geometry, painting, scrolling and the caret.
#pragma once

#include "documents/EditDocument.h"
#include "documents/EditViewLink.h"
#include "framework/win/Dc.h"
#include "framework/win/Gdi.h"
#include "framework/win/View.h"
#include "text/LineColumns.h"
#include "views/GridText.h"
#include "views/FindReplace.h"
#include "views/PrintPages.h"
#include "views/ScaledScrollBars.h"
#include "views/SelectedRuns.h"
#include "views/EditedLines.h"
#include "views/ColumnInput.h"
#include "views/KeyInput.h"
#include "views/MarginArrow.h"
#include "views/MouseTracking.h"
#include "views/ViewCaret.h"
#include "views/ViewMetrics.h"
#include "views/ViewScroller.h"
#include "views/model/EditModel.h"
#include "views/model/KeyRules.h"
#include "views/model/MouseRules.h"

#include <climits>

class CColorTable;
class CFindReplaceDialog;
class CScrollBar;

// The host's select-all command, an application command id (not the framework's ID_EDIT_SELECT_ALL).
enum : UINT { ID_EDIT_SELECTALL = 0x80E3 };
// The host's find-next command, an application command id too.
enum : UINT { ID_EDIT_FINDNEXT = 0x8090 };

// The bytes [first, last) of one line that fall inside a horizontal pixel span.
struct CRange {
    int first = 0;
    int last = 0;
};

// Two differences between the twins that are facts rather than operations.
struct CTwinTraits {
    // The right-hand measuring scan gives a control byte a cell (the plain view) or none.
    bool controlBytesTakeACell = true;
    // The plain view paints nothing for an empty clip box; the coloured view paints regardless.
    bool paintsEmptyClipBox = false;
};

// The plain and the coloured view are twins: everything they share lives here, and they differ only
// in their traits and the few virtual operations at the end (how a visible stretch of a line is drawn,
// whether the view colours its window before painting, what follows a paste).
//
// Invariants: the model's first visible line and column are never negative once a scroll or a size
// change has clamped them; the caret's point is the client pixel position of the model's caret as last
// computed; after SetScaledScrollSizes neither dimension of the bars' total size exceeds 32767.
class CEditScrollView : public CView, public CEditViewLink {
    DECLARE_DYNAMIC(CEditScrollView)
public:
    // The view's helpers reach its state: the find helper the selection, the search origin and the
    // word at the caret; the scroller, the keyboard and the mouse the scroll position, the metrics,
    // the caret and the bars.
    friend class CFindReplace;
    friend class CViewScroller;
    friend class CKeyInput;
    friend class CMouseTracking;
    friend class CColumnInput;

    explicit CEditScrollView(CTwinTraits traits = {});
    ~CEditScrollView() override;

    CEditDocument* GetEditDocument() const { return static_cast<CEditDocument*>(m_pDocument); }

    // Scroll bars scaled to the 16-bit range.
    void SetScaledScrollSizes(int mapMode, SIZE total) {
        m_bars.SetScaledSizes(mapMode, total, m_metrics.unit);
    }
    void UpdateScrollBars() { m_bars.Update(m_metrics.unit); }
    // A bar's position, its redraw posted to follow the text's paint.
    BOOL GetClientSizeWithBars(CSize& client, CSize& bars) { return m_bars.ClientSizeWithBars(client, bars); }
    void GetScrollBarThickness(CSize& scrollBars) { m_bars.Thickness(scrollBars); }
    void CalcWindowRect(LPRECT rect, UINT adjustType = 0) override {
        m_bars.CalcWindowRect(rect, adjustType);
    }

    // Font and geometry.
    int InitFont();
    CPoint GetExtent(const CString& text, int left, int line) const;
    CPoint GetChineseExtent(const CString& text, int left, int line);
    CPoint GetCaretPos(int left);
    CPoint TextPositionToScreenCoord(int offset);
    int SelectionPoint(CPoint point);
    int GetTextRange(int line, int left, int right, int x0, CRange& range);
    int OffsetToScreenLine(int offset);
    void RecalSize();
    CSize GetScrollSize();
    void CalcScrollSize();

    // Painting.
    void OnDraw(CDC* pDC) override;
    void DrawRectText(CDC* pDC, const CRect& rect);
    void DrawArrow(CDC* pDC, const CRect& rect);
    void RedrawRect(CRect& rect);
    void InvalidateLine(int line);
    void InvalidateLine(int first, int last);
    void UpdateColors() override {}
    void SetRenderFlag(int) override {}

    // Printing.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    const CPrintPages& PrintPages() const { return m_print; }

    // Scrolling and the caret.
    void OnInitialUpdate() override;
    void ShowCaret() { m_caret.Show(); }
    void HideCaret() { m_caret.Hide(); }
    // The caret's point recomputed from the model's caret, and the system caret placed there.
    void PlaceCaret();
    int Caret() const { return m_model.Selection().caret; }
    int CurrentPosition() const { return m_model.Selection().caret; }
    int ScrollToCaret();
    int ScrollToSelection();
    void ScrollToPosition(int row);
    CPoint ScrollToCurrent(int setBars);
    void SetSelection(int a, int b) override;
    void SetCurrentPosition(int pos) override;
    void AutoScrollToCaret();
    void OnTextChanged(int pos, int removed, int inserted) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDocumentChanged() override { m_model.Attach(GetEditDocument()); }
    void OnBatchEnd() override;
    CPlace Place() const override;
    void SetPlace(const CPlace& place) override;

    // Mouse selection.
    void AutoScroll();

    // The column block: lines inclusive, cells from the line's start, endCell past the block; all -1
    // when none is selected. A negative argument ends the block.
    void GetColumnSelection(int* firstLine, int* lastLine, int* firstCell, int* endCell) {
        CColumnInput(*this).Get(firstLine, lastLine, firstCell, endCell);
    }
    void SetColumnSelection(int firstLine, int lastLine, int firstCell, int endCell) {
        CColumnInput(*this).Set(firstLine, lastLine, firstCell, endCell);
    }

    // Keyboard editing.
    int ReplaceSelection(const char* text);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Searching. The substring searches use no view state: text + start is searched, the result
    // counts from text; case-blind unless matchCase. The reverse search looks back from start.
    int SearchString(int start, const char* text, const char* find, int matchCase);
    int SearchString(const char* text, const char* find, int matchCase);
    int SearchStringReverse(int start, const char* text, const char* find, int matchCase);
    // Whether the len bytes at pos stand between spaces, line feeds or tabs (or a text end).
    int IsStringWholeWord(int pos, int len);
    int GetSearchPosition() const;
    // Puts the caret on the first case-blind occurrence of title, shows it on the fifth row and marks
    // its line with the margin arrow; 1 when found, else 0 and nothing changes.
    int FindTitle(const char* title);
    // "Find Title": text is the title, a separator byte, a space and more; the fallback is
    // "Chapter <wParam>". Always 0.
    LRESULT OnTitleFind(UINT wParam, const char* text);
    const CFindReplace& FindReplace() const { return m_find; }

    // Undo recording suspended and resumed for a host's series of edits; the calls nest.
    void DisableCheckPoint();
    void EnableCheckPoint();

    // Read by tests and the host.
    const CEditModel& Model() const { return m_model; }
    const CViewMetrics& Metrics() const { return m_metrics; }
    const CViewCaret& SystemCaret() const { return m_caret; }
    const CMouseTracking& Mouse() const { return m_mouse; }
    // The title line the margin arrow marks; a host may set it.
    CMarginArrow& TitleArrow() { return m_arrow; }

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnEraseBkgnd(CDC*) { return FALSE; }
    void OnSize(UINT nType, int cx, int cy);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnUpdateInsertStatus(CCmdUI* pCmdUI);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    void OnCaptureChanged(CWnd* pWnd);
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();
    void OnEditRedo();
    void OnEditSelectAll();
    void OnUpdateEditCopy(CCmdUI* pCmdUI);
    void OnUpdateEditCut(CCmdUI* pCmdUI) { OnUpdateEditCopy(pCmdUI); }
    void OnUpdateEditPaste(CCmdUI* pCmdUI);
    void OnUpdateEditUndo(CCmdUI* pCmdUI);
    void OnUpdateEditRedo(CCmdUI* pCmdUI);
    LRESULT OnTitleFindMessage(WPARAM wParam, LPARAM lParam);
    void OnEditFind();
    void OnEditReplace();
    void OnEditFindnext();
    void OnUpdateEditFind(CCmdUI* pCmdUI);
    LRESULT OnFindReplace(WPARAM wParam, LPARAM lParam);
    void InitFindReplace(int bFindOnly, const char* findWhat);
    LRESULT OnRedrawBars(WPARAM, LPARAM);

    // Where the twins differ.
    // Draws bytes [first, last) of line at (x, y); the plain view in black, the coloured one by runs.
    virtual int DrawTextRun(CDC* pDC, int x, int y, int first, int last, int tabOrigin, int line) = 0;
    // Called before the lines are drawn: the coloured view colours its visible window here.
    virtual void BeforeDrawLines() {}
    // The end of a paste: the plain view re-lays out and scrolls to the caret, the coloured view
    // only asks for its colours.
    virtual void AfterPaste();
    // Whether the lines from line on, which the last edit moved by shift lines, keep the colours they
    // were painted in: always for the plain view; the coloured view renders its window again to tell.
    virtual bool LinesBelowKeepColors(int, int) { return true; }
    // The view font as InitFont creates it: 18 pixels of 宋体 in GB2312. Every metric follows from the
    // font actually selected, so a derived view may describe another.
    virtual LOGFONTA ViewFont() const;

    // Shared drawing steps.
    // The grid, selection (line's part of a column block) and line height a stretch of line is drawn
    // with, tab stops on tabOrigin's grid.
    CRunStyle RunStyle(int tabOrigin, int line) const;
    // The window's own scroll, which also moves the system caret: where it stands is known no more.
    void ScrollWindow(int dx, int dy, LPCRECT scrollRect = nullptr, LPCRECT clipRect = nullptr);

    // Mouse steps.

    const CTwinTraits m_twin;
    CViewMetrics m_metrics;
    CScaledScrollBars m_bars{*this};
    CViewScroller m_scroller{*this};
    CKeyInput m_keys{*this};
    CEditModel m_model; // the caret, the selection, the scroll position and the editing rules
    CViewCaret m_caret{*this};
    CFindReplace m_find{*this};
    BOOL m_bInitialised = FALSE;
    CFont m_font;
    CMarginArrow m_arrow;
    CPrintPages m_print;

    CMouseTracking m_mouse{*this};

    CEditedLines m_edits; // the edits not yet repainted for
};
