// Mouse selection through real WM_LBUTTONDOWN/MOVE/UP, WM_LBUTTONDBLCLK, WM_TIMER, WM_SETCURSOR and
// WM_MOUSEWHEEL messages at client points computed from the real font metrics. The click, drag and
// double-click rules are the edit model's; here each message reaches its rule.
#include <vector>

#include "ViewFixture.h"

namespace {
class ViewMouse : public ViewFixture {
protected:
    static LPARAM At(CPoint p) { return MAKELPARAM((WORD)(short)p.x, (WORD)(short)p.y); }
    static void Press(CWnd* view, CPoint p) { view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(p)); }
    static void Move(CWnd* view, CPoint p) { view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(p)); }
    static void Release(CWnd* view, CPoint p) { view->SendMessage(WM_LBUTTONUP, 0, At(p)); }
    // A wheel turn with the pointer over the middle of target (in screen coordinates, as sent).
    static void Wheel(CWnd* receiver, CWnd* target, int delta) {
        CRect r;
        target->GetWindowRect(&r);
        receiver->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)delta),
                              At(CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2)));
    }
    static int WheelLines() {
        UINT lines = 3;
        ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        return (int)lines;
    }
    // Pumps messages (timers included) for about ms milliseconds.
    static void PumpFor(DWORD ms) {
        for (DWORD end = ::GetTickCount() + ms; (int)(end - ::GetTickCount()) > 0; ::Sleep(10)) Pump();
    }
    // The pixels down the middle of the vertical scroll bar, as the screen shows them.
    static std::vector<COLORREF> VerticalBar(CWnd* view) {
        HDC dc = ::GetWindowDC(view->m_hWnd);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 400; y += 2)
            pixels.push_back(::GetPixel(dc, 640 + ::GetSystemMetrics(SM_CXVSCROLL) / 2, y));
        ::ReleaseDC(view->m_hWnd, dc);
        return pixels;
    }
};
} // namespace

TEST_F(ViewMouse, PressesDragsAndDoubleClicksReachTheirRulesAndTheCaptureFollowsTheButton) {
    CColorEditView* view = OpenColored("0123456789\nab cd be.ta\n");
    Press(view, PointOf(view, 4));
    EXPECT_EQ(::GetCapture(), view->m_hWnd);
    Release(view, PointOf(view, 4));
    EXPECT_EQ(Sel(view), Span(4, 4));
    EXPECT_EQ(view->SystemCaret().Point(), view->TextPositionToScreenCoord(4));
    EXPECT_EQ(::GetCapture(), nullptr) << "the release gave the capture back";
    Press(view, PointOf(view, 3));
    Move(view, PointOf(view, 16));
    EXPECT_EQ(Sel(view), Span(3, 16)) << "into the next line";
    EXPECT_EQ(view->SystemCaret().Point(), view->TextPositionToScreenCoord(16));
    Release(view, PointOf(view, 16));
    Move(view, PointOf(view, 9));
    EXPECT_EQ(Sel(view), Span(3, 16)) << "moves after the release select nothing";
    view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(PointOf(view, 20)));
    EXPECT_EQ(Sel(view), Span(17, 22)) << "the word with its full stop";
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(ViewMouse, HoldingThePointerOutsideTheWindowKeepsScrollingUntilItComesBack) {
    CColorEditView* view = OpenColored(Lines(500));
    Press(view, PointOf(view, 0));
    Move(view, CPoint(40, 410));
    EXPECT_TRUE(view->Mouse().IsAutoScrolling());
    PumpFor(700);
    EXPECT_GE(view->GetScrollPos(SB_VERT), 2) << "a step every 175 ms";
    EXPECT_EQ(view->Model().Selection().start, 0);
    EXPECT_GT(view->Model().Selection().end, 0);
    Move(view, CPoint(40, 200));
    EXPECT_FALSE(view->Mouse().IsAutoScrolling()) << "back inside, the timer stops at once";
    int after = view->GetScrollPos(SB_VERT);
    PumpFor(400);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), after);
    Release(view, CPoint(40, 200));

    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 2), 0);
    Press(view, CPoint(40, 200));
    int anchorLine = (int)view->GetDocument()->OffsetToLine(view->Caret());
    Move(view, CPoint(40, -3)); // less than a line above the window
    view->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 1);
    EXPECT_EQ(view->GetDocument()->OffsetToLine(view->Model().Selection().start), 1);
    EXPECT_EQ(view->GetDocument()->OffsetToLine(view->Model().Selection().end), anchorLine);
    view->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 1) << "other timers are not the auto-scroll";
    Move(view, CPoint(-30, -30));
    view->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(view->Caret(), 0);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 0) << "offset 0 is scrolled to like any other";
    Release(view, CPoint(-30, -30));
    EXPECT_FALSE(view->Mouse().IsAutoScrolling());
    view->SendMessage(WM_MOUSEMOVE, 0, At(CPoint(40, 410)));
    view->SendMessage(WM_TIMER, 2, 0); // a tick queued before the release
    EXPECT_EQ(view->Caret(), 0) << "a tick after the release moves nothing";
    view->SetCurrentPosition(view->GetDocument()->GetLength());
    EXPECT_EQ(view->Caret(), 0) << "an offset past the text is ignored";
}

TEST_F(ViewMouse, TheCursorIsTheIBeamOverTheTextOnly) {
    CBlackEditView* view = OpenPlain("abc\n");
    EXPECT_EQ(view->SendMessage(WM_SETCURSOR, (WPARAM)view->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM));
    ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    view->SendMessage(WM_SETCURSOR, (WPARAM)view->GetParent()->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), ::LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM)) << "another window's request";
}

TEST_F(ViewMouse, TheWheelScrollsBySettingKeepsPartialDeltasAndStopsAtTheEnds) {
    CColorEditView* view = OpenColored(Lines(300));
    int perNotch = WheelLines(), lh = view->Metrics().unit.cy;
    ASSERT_GT(perNotch, 0);
    CPoint caret = view->SystemCaret().Point();
    Wheel(view, view, -WHEEL_DELTA);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), perNotch);
    EXPECT_EQ(view->SystemCaret().Point().y, caret.y - perNotch * lh) << "the caret stays on its character";
    Wheel(view, view, WHEEL_DELTA);
    EXPECT_EQ(view->Model().First().line, 0);
    // A touchpad's small deltas add up; none is lost or counted twice.
    int step = WHEEL_DELTA / (2 * perNotch); // half a line
    for (int i = 0; i < 2 * perNotch; ++i) Wheel(view, view, -step);
    EXPECT_EQ(view->Model().First().line, perNotch);
    Wheel(view, view, -step);
    EXPECT_EQ(view->Model().First().line, perNotch) << "half a line does not scroll yet";
    Wheel(view, view, 50 * WHEEL_DELTA);
    EXPECT_EQ(view->Model().First().line, 0) << "nothing scrolls past the start";
    Pump();
    std::vector<COLORREF> atTop = VerticalBar(view);
    for (int i = 0; i < 30; ++i) Wheel(view, view, -10 * WHEEL_DELTA);
    EXPECT_EQ(view->Model().First().line, 302 - 400 / lh) << "nor past the end";
    Pump();
    EXPECT_NE(VerticalBar(view), atTop) << "the bar's thumb is redrawn where it now stands";

    CBlackEditView* above = OpenPlain(Lines(200)); // the wheel scrolls the view under the pointer
    view->SetFocus();
    Wheel(view, above, -WHEEL_DELTA);
    EXPECT_EQ(above->Model().First().line, perNotch);
    EXPECT_EQ(view->Model().First().line, 302 - 400 / lh);
}
