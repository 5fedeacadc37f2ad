// CEditScrollView: the shared state and behaviour of both editor views: scaled scroll bars, the fixed
// font and the text geometry, painting, scrolling and the caret.
#pragma once

#include "documents/EditDocument.h"
#include "documents/EditViewLink.h"
#include "framework/win/Dc.h"
#include "framework/win/Gdi.h"
#include "framework/win/View.h"
#include "text/LineColumns.h"
#include "views/FindReplace.h"
#include "views/GridText.h"
#include "views/PrintPages.h"
#include "views/ScaledScrollBars.h"
#include "views/TextSelection.h"

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

// The plain and the coloured view are twins: everything they share lives here, and they differ only
// in the few virtual operations at the end (how a visible stretch of a line is drawn, whether the
// view colours its window before painting, and two details of measuring).
//
// Invariants: the scroll position is the pair (m_nFirstLine, m_nFirstColumn), never negative once a
// scroll or a size change has clamped it; m_ptCaret is the client pixel position of m_sel.caret as last
// computed; m_sel keeps its own invariant against the text's length; after SetScaledScrollSizes neither
// dimension of the bars' total size exceeds 32767; m_bCaretShown implies m_bFocus.
class CEditScrollView : public CView, public CEditViewLink {
    DECLARE_DYNAMIC(CEditScrollView)
    // Reads and moves the selection, the search origin and the word at the caret.
    friend class CFindReplace;

public:
    CEditScrollView();
    ~CEditScrollView() override;

    CEditDocument* GetEditDocument() const { return static_cast<CEditDocument*>(m_pDocument); }

    // Scroll bars scaled to the 16-bit range.
    void SetScaledScrollSizes(int mapMode, SIZE total) { m_bars.SetScaledSizes(mapMode, total, m_unit); }
    void UpdateScrollBars() { m_bars.Update(m_unit); }
    // A bar's position, its redraw posted to follow the text's paint.
    void SetBarPosition(int bar, int pos) { m_bars.SetPosition(bar, pos); }
    BOOL GetClientSizeWithBars(CSize& client, CSize& bars) { return m_bars.ClientSizeWithBars(client, bars); }
    void GetScrollBarThickness(CSize& scrollBars) { m_bars.Thickness(scrollBars); }
    void CalcWindowRect(LPRECT rect, UINT adjustType = 0) override {
        m_bars.CalcWindowRect(rect, adjustType);
    }
    CSize GetTotalSize() const { return m_bars.TotalSize(); }

    // Font and geometry.
    int InitFont();
    CPoint GetExtent(const CString& text, int left, int line) const;
    CPoint GetChineseExtent(const CString& text, int left, int line);
    CPoint GetCaretPos(int left);
    CPoint TextPositionToScreenCoord(int offset);
    int SelectionPoint(CPoint point);
    int GetTextRange(int line, int left, int right, int x0, CRange& range);
    int OffsetToScreenLine(int offset);
    void RecalSize(int);
    CSize GetScrollSize();
    // The text's width (the widest line, in cells) and height (in lines), as the scroll sizes count them.
    CSize TextSize();
    void CalcScrollSize();

    // Painting.
    void OnDraw(CDC* pDC) override;
    void DrawRectText(CDC* pDC, const CRect& rect);
    void DrawArrow(CDC* pDC, const CRect& rect);
    void RedrawRect(CRect& rect);
    void InvalidateLine(int line);
    void InvalidateLine(int first, int last);
    // The repaint after this view's own edit: the unchanged lines below it move by pixel scroll
    // when that shows what a full repaint would, and only the edited lines are drawn again.
    void RepaintEdit();
    void UpdateColors() override {}
    void SetRenderFlag(int) override {}

    // Printing.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    int GetPrintLinesPerPage() const { return m_print.LinesPerPage(); }
    int GetPrintFirstLine() const { return m_print.FirstLine(); }
    int GetPrintLastLine() const { return m_print.LastLine(); }

    // Scrolling and the caret.
    void OnInitialUpdate() override;
    void ShowCaret();
    void HideCaret();
    int Caret() const { return m_sel.caret; }
    int CurrentPosition() const { return m_sel.caret; }
    int ScrollToCaret();
    int ScrollToSelection();
    void ScrollToPosition(int row);
    CPoint ScrollToCurrent(int setBars);
    void SetSelection(int a, int b) override;
    void SetCurrentPosition(int pos) override;
    void AutoScrollToCaret();
    void OnTextChanged(int pos, int removed, int inserted) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // offset, or the end of the character it falls inside.
    int OutsidePair(int offset) const;
    // The start of the character holding offset, by the GBK option's rule (walked from the line's
    // start with the code page's lead and trail bytes); offset itself when the option is off.
    int CharStartAt(int offset) const;
    bool GbkCharacters() const { return GetEditDocument()->HasOption(kOptionGbkCharacters); }
    void OnBatchEnd() override;

    // Mouse selection.
    void AutoScroll();

    // Keyboard editing.
    int ReplaceSelection(const char* text);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL IsOverwrite() const { return m_nOverwrite != 0; }

    // Searching. The substring searches use no view state: text + start is searched, the result
    // counts from text; case-blind unless matchCase. The reverse search looks back from start.
    int SearchString(int start, const char* text, const char* find, int matchCase);
    int SearchString(const char* text, const char* find, int matchCase);
    int SearchStringReverse(int start, const char* text, const char* find, int matchCase);
    // Whether the len bytes at pos stand between spaces, line feeds or tabs (or a text end).
    int IsStringWholeWord(int pos, int len);
    // The whole-word delimiters; punctuation is none.
    static bool IsWordDelimiter(char c) { return c == ' ' || c == '\n' || c == '\t'; }
    // The whole-word rule, given whether the word starts the text, whether it ends before the
    // text's last byte, and its two neighbours.
    static bool WholeWordRule(bool atStart, bool endsBeforeLast, char before, char after);
    int GetSearchPosition() const;
    // Puts the caret on the first case-blind occurrence of title, shows it on the fifth row and marks
    // its line with the margin arrow; 1 when found, else 0 and nothing changes.
    int FindTitle(const char* title);
    // "Find Title": text is the title, a separator byte, a space and more; the fallback is
    // "Chapter <wParam>". Always 0.
    LRESULT OnTitleFind(UINT wParam, const char* text);
    CString GetFindText() const { return m_find.LastFind(); }
    CString GetReplaceText() const { return m_find.LastReplacement(); }
    // The dialog the last Find or Replace opened, while it is open; null after it closed.
    CFindReplaceDialog* GetFindDialog() const;
    int GetTitleLine() const { return m_nTitleLine; }

    // Undo recording suspended and resumed for a host's series of edits; the calls nest.
    void DisableCheckPoint();
    void EnableCheckPoint();

    // Read by tests and the host.
    int GetFirstLine() const { return m_nFirstLine; }
    int GetFirstColumn() const { return m_nFirstColumn; }
    int GetCharWidth() const { return m_unit.cx; }
    int GetLineHeight() const { return m_unit.cy; }
    int GetLeftMargin() const { return m_nLeftMargin; }
    CPoint GetCaretPoint() const { return m_ptCaret; }
    int GetSelectionStart() const { return m_sel.start; }
    int GetSelectionEnd() const { return m_sel.end; }
    int GetAnchor() const { return m_sel.anchor; }
    BOOL IsCaretShown() const { return m_bCaretShown; }
    BOOL IsAutoScrolling() const { return m_bAutoScroll; }
    void SetTitleLine(int line) { m_nTitleLine = line; }

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
    // The right-hand measuring scan: whether a control byte takes a cell (the plain view) or not.
    virtual bool ControlBytesTakeACell() const { return true; }
    // The plain view paints nothing for an empty clip box; the coloured view paints regardless.
    virtual bool PaintsEmptyClipBox() const { return false; }
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
    int DrawSelectedRuns(CDC* pDC, int x, int y, int first, int last, int tabOrigin, const CColorTable* runs);
    int DrawEndOfLineCell(CDC* pDC, int x, int y, int first);
    // The cell grid text is drawn on, tab stops on tabOrigin's grid.
    CGridText::Grid PaintGrid(int tabOrigin) const;
    void LoadArrow();
    void PlaceCaret();
    // The system caret to the caret point while the view has the focus. Each move is a round trip to
    // the window system, so a move to where it already stands is skipped.
    void MoveSystemCaret();
    void ShowCaretByPosition();
    // A caret of the line's height at the caret point, shown unless it stands in the margin.
    void NewCaret();
    int NextTabStop(int x, int origin) const { return ::NextTabStop(x, origin, m_nTabWidth); }
    // Where the cell of byte b drawn at x ends: a tab goes to the next stop counted from tabOrigin, any
    // other byte takes one cell when takesCell and none otherwise. Every walk over a line's cells
    // (measuring, hit testing, the visible range) steps with it.
    int CellEnd(unsigned char b, int x, int tabOrigin, bool takesCell) const {
        return b == '\t' ? NextTabStop(x, tabOrigin) : takesCell ? x + (int)m_unit.cx : x;
    }
    int TextOrigin() const { return m_nLeftMargin - m_nFirstColumn * m_unit.cx; }
    int LineLength(int line) const;
    CRect TextArea() const { return CRect(m_nLeftMargin, 0, m_nClientWidth, m_nClientHeight); }
    void ScrollTextArea(int dx, int dy);
    // The window's own scroll, which also moves the system caret: where it stands is known no more.
    void ScrollWindow(int dx, int dy, LPCRECT scrollRect = nullptr, LPCRECT clipRect = nullptr);
    // Bring the row at y or the column at x into view; the pixels the text moved (the caret moves with it).
    int ScrollRowsToShow(int y, bool textAreaOnly);
    int ScrollColumnsToShow(int x, bool textAreaOnly);
    void RepaintForJump(bool textAreaOnly);
    // The point after the bytes of line before offset (GetExtent of them, with left added).
    CPoint PointOf(int offset, int line, int left);

    // Keyboard steps.
    BOOL HandleKey(UINT key, bool control, bool shift);
    void SideKey(bool right, bool shift);
    void VerticalKey(bool down, bool shift);
    void LineEndKey(bool end, bool control, bool shift);
    void PageKey(bool down, bool shift);
    void TabKey(bool shift);
    void EnterKey();
    BOOL Backspace(bool control);
    BOOL DeleteKey(bool control);
    void InsertLineByte(char c, bool growSelection);
    void DeleteSelection(bool scrollToCaret);
    void EndShortDeletion();
    void OnImeChar(WPARAM wParam);
    int CaretLine() const;
    int LineOf(int offset) const;
    void RememberColumn();
    int VerticalTarget(int line) const;
    void AfterMove(int firstLine, int lastLine, bool wholeWindow);
    void AfterEdit();
    // The last edit's lines, kept for RepaintEdit.
    void NoteEdit(int pos, int inserted);
    bool ScrollBelowEdit();
    void ReplayHistory(bool redo);
    // The word around pos by the double-click rule; false when the byte at pos is white space.
    bool WordBounds(int pos, int& start, int& end) const;

    // Mouse steps.
    bool IsInsideClient(CPoint point) const;
    void DragTo(CPoint point);
    void StopAutoScroll();
    // Scrolls the text so that line becomes the first visible line (clamped to the scroll limit).
    void ScrollToFirstLine(int line);

    // Scroll view base.
    CSize m_unit{1, 1}; // character width, line height
    CScaledScrollBars m_bars{*this};

    // Shared view state.
    int m_nLeftMargin = 10;
    int m_nMarginColumns = 2;
    int m_nHScrollStep = 5;
    int m_nTabWidth = 4;
    int m_nFirstColumn = 0;
    int m_nFirstLine = 0;
    int m_nClientWidth = 0;
    int m_nClientHeight = 0;
    CRect m_rectMargin;
    CSize m_extent{0, 0};
    CSize m_scrollLimit{0, 0};
    CTextSelection m_sel;
    CPoint m_ptCaret{10, 0};
    int m_nRememberedColumn = 0;
    int m_nSearchOrigin = 0;
    int m_nOverwrite = 0;
    int m_nTitleLine = 0;
    CFindReplace m_find{*this};
    BOOL m_bFocus = FALSE;
    BOOL m_bCaretShown = FALSE;
    // Where the system caret was last put; valid while m_bSystemCaretKnown.
    CPoint m_ptSystemCaret;
    bool m_bSystemCaretKnown = false;
    BOOL m_bInitialised = FALSE;
    CFont m_font;
    CBitmap m_arrow;
    CBitmap m_arrowMask;
    CPrintPages m_print;

    // Mouse state.
    static const int kNoOffset = -1;
    BOOL m_bButtonDown = FALSE;
    int m_nLastClick = kNoOffset; // unset, so the first press always acts
    int m_nLastDrag = kNoOffset;
    CPoint m_ptLastMouse{0, 0};
    BOOL m_bAutoScroll = FALSE;
    int m_nWheelRemainder = 0; // wheel units times lines per notch not yet scrolled

    // Edits since the view last repainted for one. first ... last are the lines that hold the last
    // edit's text (numbered after it); the lines after last moved down by shift (up when negative);
    // firstLine and firstColumn are the scroll position it found. Only a single edit, made outside a
    // batch with the line count known before it, tells where the unchanged lines went.
    struct CEditedLines {
        int edits = 0;
        int first = 0;
        int last = 0;
        int shift = 0;
        int firstLine = 0;
        int firstColumn = 0;
        bool known = false;
    };
    CEditedLines m_edited;
    int m_nKnownLines = -1;     // the line count the view last laid out for; -1 inside a batch
    unsigned m_nEditSerial = 0; // counts every change of the text this view heard of
    // The long-line option's column checkpoints, moved with every edit; a cache, filled by const queries.
    mutable CLineColumns m_columns{4};
};
