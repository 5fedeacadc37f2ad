// Mouse selection through real WM_LBUTTONDOWN/MOVE/UP, WM_LBUTTONDBLCLK, WM_TIMER, WM_SETCURSOR and
// WM_MOUSEWHEEL messages at client points computed from the real font metrics.
#include <vector>

#include "ViewFixture.h"

namespace {
class ViewMouse : public ViewFixture {
protected:
    static LPARAM At(CPoint p) { return MAKELPARAM((WORD)(short)p.x, (WORD)(short)p.y); }
    static void Press(CWnd* view, CPoint p) { view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(p)); }
    static void Move(CWnd* view, CPoint p) { view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(p)); }
    static void Release(CWnd* view, CPoint p) { view->SendMessage(WM_LBUTTONUP, 0, At(p)); }
    static void Click(CWnd* view, CPoint p) {
        Press(view, p);
        Release(view, p);
    }
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
    static std::string Lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\n";
        return text;
    }
    // Pumps messages (timers included) for about ms milliseconds.
    static void PumpFor(DWORD ms) {
        DWORD end = ::GetTickCount() + ms;
        while ((int)(end - ::GetTickCount()) > 0) {
            Pump();
            ::Sleep(10);
        }
    }
    // The pixels down the middle of the vertical scroll bar, as the screen shows them.
    static std::vector<COLORREF> VerticalBar(CWnd* view) {
        CRect window, client;
        view->GetWindowRect(&window);
        view->GetClientRect(&client);
        HDC dc = ::GetWindowDC(view->m_hWnd);
        std::vector<COLORREF> pixels;
        int x = client.Width() + ::GetSystemMetrics(SM_CXVSCROLL) / 2;
        for (int y = 0; y < client.Height(); y += 2) pixels.push_back(::GetPixel(dc, x, y));
        ::ReleaseDC(view->m_hWnd, dc);
        return pixels;
    }
    static int ClientHeight(CWnd* view) {
        CRect client;
        view->GetClientRect(&client);
        return client.Height();
    }
};
} // namespace

TEST_F(ViewMouse, ClicksPlaceTheCaretOnCellsLineEndsGbkPairsAndTheMargin) {
    CBlackEditView* view = OpenPlain("hello world\nab\xB5\xDA"
                                     "cd\n");
    ASSERT_NE(view, nullptr);
    int cw = view->Metrics().unit.cx, lh = view->Metrics().unit.cy;
    Click(view, PointOf(view, 4));
    EXPECT_EQ(view->Caret(), 4);
    EXPECT_EQ(view->Model().Selection().start, 4);
    EXPECT_EQ(view->Model().Selection().end, 4);
    EXPECT_EQ(view->SystemCaret().Point(), view->TextPositionToScreenCoord(4));
    Click(view, CPoint(PointOf(view, 4).x + cw - 2, PointOf(view, 4).y));
    EXPECT_EQ(view->Caret(), 5) << "the right half of a cell is the next position";
    Click(view, CPoint(view->Metrics().leftMargin + 40 * cw, lh / 2));
    EXPECT_EQ(view->Caret(), 11) << "past the line's end: its line feed";
    Click(view, CPoint(2, lh + lh / 2));
    EXPECT_EQ(view->Caret(), 12) << "in the margin: the line start";
    Click(view, PointOf(view, 15));
    EXPECT_EQ(view->Caret(), 14) << "never between the two bytes of a pair";
    Click(view, CPoint(view->Metrics().leftMargin + 2, 10 * lh));
    EXPECT_EQ(view->Caret(), view->GetDocument()->GetLength() - 1) << "below the last line: the text's end";
    EXPECT_EQ(::GetCapture(), nullptr) << "the release gave the capture back";
}

TEST_F(ViewMouse, DraggingSelectsFromTheAnchorAndTurnsBackAcrossIt) {
    CColorEditView* view = OpenColored("0123456789\nabcdefghij\n");
    ASSERT_NE(view, nullptr);
    Press(view, PointOf(view, 3));
    EXPECT_EQ(::GetCapture(), view->m_hWnd);
    Move(view, PointOf(view, 7));
    EXPECT_EQ(view->Model().Selection().start, 3);
    EXPECT_EQ(view->Model().Selection().end, 7);
    EXPECT_EQ(view->Caret(), 7);
    Move(view, PointOf(view, 14));
    EXPECT_EQ(view->Model().Selection().end, 14) << "into the next line";
    Move(view, PointOf(view, 1));
    EXPECT_EQ(view->Model().Selection().start, 1);
    EXPECT_EQ(view->Model().Selection().end, 3) << "back across the anchor";
    EXPECT_EQ(view->Caret(), 1);
    Move(view, PointOf(view, 3));
    EXPECT_EQ(view->Model().Selection().start, view->Model().Selection().end) << "on the anchor: empty";
    Move(view, PointOf(view, 5));
    Release(view, PointOf(view, 5));
    EXPECT_EQ(::GetCapture(), nullptr);
    Move(view, PointOf(view, 9));
    EXPECT_EQ(view->Model().Selection().end, 5) << "moves after the release select nothing";
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(ViewMouse, HoldingThePointerBelowTheWindowKeepsScrollingUntilItComesBack) {
    CColorEditView* view = OpenColored(Lines(500));
    ASSERT_NE(view, nullptr);
    int height = ClientHeight(view);
    Press(view, PointOf(view, 0));
    Move(view, CPoint(40, height + 10));
    EXPECT_TRUE(view->Mouse().IsAutoScrolling());
    int selectedBefore = view->Model().Selection().end;
    PumpFor(700);
    int first = view->Model().First().line;
    EXPECT_GE(first, 2) << "a step every 175 ms";
    EXPECT_GT(view->Model().Selection().end, selectedBefore);
    EXPECT_EQ(view->Model().Selection().start, 0);
    Move(view, CPoint(40, height / 2));
    EXPECT_FALSE(view->Mouse().IsAutoScrolling()) << "back inside, the timer stops at once";
    int after = view->Model().First().line;
    PumpFor(400);
    EXPECT_EQ(view->Model().First().line, after);
    Release(view, CPoint(40, height / 2));
}

TEST_F(ViewMouse, ADragAboveTheWindowScrollsUpAsOneBelowScrollsDown) {
    CBlackEditView* view = OpenPlain(Lines(500));
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100), 0);
    int middle = ClientHeight(view) / 2;
    Press(view, CPoint(40, middle));
    int anchorLine = (int)view->GetDocument()->OffsetToLine(view->Caret());
    Move(view, CPoint(40, -3)); // less than a line above the window
    ASSERT_TRUE(view->Mouse().IsAutoScrolling());
    view->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(view->Model().First().line, 99);
    EXPECT_EQ(view->GetDocument()->OffsetToLine(view->Model().Selection().start), 99);
    EXPECT_EQ(view->GetDocument()->OffsetToLine(view->Model().Selection().end), anchorLine);
    view->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(view->Model().First().line, 98);
    view->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(view->Model().First().line, 98) << "other timers are not the auto-scroll";
    Release(view, CPoint(40, -3));
    EXPECT_FALSE(view->Mouse().IsAutoScrolling());
}

TEST_F(ViewMouse, AnAutoScrollStepReachingTheTextStartScrollsItIntoView) {
    CBlackEditView* view = OpenPlain(Lines(100));
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 0);
    Press(view, CPoint(40, 40));
    Move(view, CPoint(-30, -30));
    view->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(view->Caret(), 0);
    EXPECT_EQ(view->Model().First().line, 0) << "offset 0 is scrolled to like any other";
    Release(view, CPoint(-30, -30));
    view->SetCurrentPosition(view->GetDocument()->GetLength());
    EXPECT_EQ(view->Caret(), 0) << "an offset past the text is ignored";
}

TEST_F(ViewMouse, DoubleClicksSelectRunsWithFullStopsAndNothingOnWhiteSpace) {
    CBlackEditView* view = OpenPlain("alpha be.ta  \xB5\xDA\xD2\xBB gamma\n");
    ASSERT_NE(view, nullptr);
    Click(view, PointOf(view, 7));
    view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(PointOf(view, 7)));
    EXPECT_EQ(view->Model().Selection().start, 6);
    EXPECT_EQ(view->Model().Selection().end, 11) << "the full stop is part of the run";
    EXPECT_EQ(view->Caret(), 11);
    Click(view, PointOf(view, 14));
    view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(PointOf(view, 14)));
    EXPECT_EQ(view->Model().Selection().start, 13);
    EXPECT_EQ(view->Model().Selection().end, 17) << "two-byte characters are word bytes";
    Click(view, PointOf(view, 12));
    view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(PointOf(view, 12)));
    EXPECT_EQ(view->Model().Selection().start, view->Model().Selection().end)
        << "white space selects nothing";
    EXPECT_EQ(view->Caret(), 12) << "the caret stays where the press put it";
    int end = (int)view->GetDocument()->GetLength() - 1;
    view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(CPoint(view->Metrics().leftMargin + 2, 200)));
    EXPECT_LE(view->Model().Selection().end, end) << "the terminator is never selected";
}

TEST_F(ViewMouse, TheCursorIsTheIBeamOverTheTextOnly) {
    CBlackEditView* view = OpenPlain("abc\n");
    ASSERT_NE(view, nullptr);
    LRESULT taken = view->SendMessage(WM_SETCURSOR, (WPARAM)view->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(taken, TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM));
    ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    view->SendMessage(WM_SETCURSOR, (WPARAM)view->GetParent()->m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(::GetCursor(), ::LoadCursorA(nullptr, (LPCSTR)IDC_IBEAM)) << "another window's request";
}

TEST_F(ViewMouse, TheWheelScrollsBySettingKeepsPartialDeltasAndStopsAtTheEnds) {
    CColorEditView* view = OpenColored(Lines(300));
    ASSERT_NE(view, nullptr);
    int perNotch = WheelLines(), lh = view->Metrics().unit.cy;
    ASSERT_GT(perNotch, 0);
    CPoint caret = view->SystemCaret().Point();
    Wheel(view, view, -WHEEL_DELTA);
    EXPECT_EQ(view->Model().First().line, perNotch);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), perNotch) << "the bar follows";
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
    EXPECT_EQ(view->Model().First().line, view->GetScrollSize().cy) << "nor past the end";
    EXPECT_LT(view->Model().First().line, 300);
    Pump();
    EXPECT_NE(VerticalBar(view), atTop) << "the bar's thumb is redrawn where it now stands";
    EXPECT_FALSE(view->GetDocument()->IsModified());
}

TEST_F(ViewMouse, TheWheelScrollsTheViewUnderThePointerNotTheFocusedOne) {
    CBlackEditView* below = OpenPlain(Lines(200));
    ASSERT_NE(below, nullptr);
    CBlackEditView* above = OpenPlain(Lines(200));
    ASSERT_NE(above, nullptr);
    ASSERT_NE(below->GetDocument(), above->GetDocument());
    below->SetFocus();
    Wheel(below, above, -WHEEL_DELTA);
    EXPECT_EQ(above->Model().First().line, WheelLines()) << "the view under the pointer scrolls";
    EXPECT_EQ(below->Model().First().line, 0);
}
