// What the views paint stands on the cell grid: partial repaints and scrolls give the pixels of a full
// repaint, a tab is drawn as the blanks its cells are, a selection blackens exactly its cells, and a
// font whose own advances are not the cell draws its glyphs at the cells all the same.
#include <random>
#include <vector>

#include "ViewFixture.h"

namespace {
const COLORREF kBlack = 0x000000;

LOGFONTA ProportionalFont() {
    LOGFONTA font = {};
    font.lfHeight = 18;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpyA(font.lfFaceName, "Arial");
    return font;
}

// A plain view in a proportional face: its glyphs' advances differ from the cell measured from "A".
class CProportionalView : public CBlackEditView {
    DECLARE_DYNCREATE(CProportionalView)

protected:
    LOGFONTA ViewFont() const override { return ProportionalFont(); }
};
IMPLEMENT_DYNCREATE(CProportionalView, CBlackEditView)

// How many of count random rectangles, repainted alone, differ anywhere from the full repaint.
int PartialRepaintsDiffering(CEditScrollView* view, std::mt19937& random, int count) {
    CRect client;
    view->GetClientRect(&client);
    int width = client.Width();
    std::vector<DWORD> full = RenderClient(view, nullptr);
    int differing = 0;
    for (int i = 0; i < count; ++i) {
        int x1 = (int)(random() % (unsigned)client.Width()), x2 = (int)(random() % (unsigned)client.Width());
        int y1 = (int)(random() % (unsigned)client.Height()),
            y2 = (int)(random() % (unsigned)client.Height());
        CRect r(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1);
        std::vector<DWORD> part = RenderClient(view, &r);
        bool same = true;
        for (int y = r.top; y < r.bottom && same; ++y)
            for (int x = r.left; x < r.right && same; ++x)
                same = part[(size_t)y * width + x] == full[(size_t)y * width + x];
        differing += same ? 0 : 1;
    }
    return differing;
}

// Lines of a data file: keywords (coloured runs), tabs on and off the stops, GBK characters (节点, 荷载).
std::string DataLines(size_t bytes) {
    static const char* const rows[] = {
        "  NPOIN\t128\t3.75\t1.250e+03\n",
        "abcd\tx\tlive load\n",
        "\xBD\xDA\xB5\xE3\t12\t\xBA\xC9\xD4\xD8 0.000\t-1.5\n",
        "  IPOIN 12 /* Load cases */ \"quoted\ttext\"\n",
        "\t\tnested\t\xBD\xDA\xB5\xE3\tend\n",
        "1   000 0.000\tW\n",
    };
    std::string text;
    for (size_t i = 0; text.size() < bytes; ++i) text += rows[i % 6];
    return text;
}

// The text with each tab turned into the spaces that reach its stop (stops every four cells).
std::string TabsAsSpaces(const std::string& text) {
    std::string out;
    int column = 0;
    for (char c : text) {
        if (c == '\t') {
            int stop = (column / 4 + 1) * 4;
            out.append((size_t)(stop - column), ' ');
            column = stop;
        } else {
            out += c;
            column = c == '\n' ? 0 : column + 1;
        }
    }
    return out;
}

// The text area's pixels, from the left margin on.
std::vector<DWORD> TextArea(CEditScrollView* view) {
    std::vector<DWORD> all = RenderClient(view, nullptr);
    CRect client;
    view->GetClientRect(&client);
    std::vector<DWORD> area;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = view->Metrics().leftMargin; x < client.Width(); ++x)
            area.push_back(all[(size_t)y * client.Width() + x]);
    return area;
}
} // namespace

class ViewGridPaint : public ViewFixture {
protected:
    // Scrolls through real scroll-bar messages, lets the window paint, and checks the screen and random
    // partial repaints against a full repaint.
    void ScrollAndCompare(CEditScrollView* view, std::mt19937& random, UINT message, UINT code) {
        view->SendMessage(message, code, 0);
        view->UpdateWindow();
        EXPECT_EQ(ScreenDiffersFromRepaint(view), 0) << "the screen after a scroll";
        EXPECT_EQ(PartialRepaintsDiffering(view, random, 12), 0) << "partial repaints after a scroll";
    }

    void CheckRepaintsAgree(CEditScrollView* view, std::mt19937& random) {
        EXPECT_EQ(PartialRepaintsDiffering(view, random, 40), 0);
        const std::pair<UINT, UINT> scrolls[] = {{WM_HSCROLL, SB_LINERIGHT},
                                                 {WM_VSCROLL, SB_LINEDOWN},
                                                 {WM_HSCROLL, SB_LINERIGHT},
                                                 {WM_HSCROLL, SB_LINELEFT},
                                                 {WM_VSCROLL, SB_LINEUP}};
        for (auto [message, code] : scrolls) ScrollAndCompare(view, random, message, code);
    }

    CMultiDocTemplate* ProportionalTemplate() {
        static CMultiDocTemplate* proportional = nullptr;
        if (proportional == nullptr) {
            proportional = new CMultiDocTemplate(1, RUNTIME_CLASS(CBlackEditDoc), RUNTIME_CLASS(CMDIChildWnd),
                                                 RUNTIME_CLASS(CProportionalView));
            theApp.AddDocTemplate(proportional);
        }
        return proportional;
    }
};

// At the start of a short text and in the middle of 1 MB and 100 MB of it.
TEST_F(ViewGridPaint, PartialRepaintsAndScrollsDrawWhatAFullRepaintDraws) {
    std::mt19937 random(36);
    for (size_t bytes : {(size_t)1200, (size_t)1 << 20, (size_t)100 << 20}) {
        SCOPED_TRACE(bytes);
        std::string text = DataLines(bytes);
        int middle = bytes < 5000 ? 0 : (int)text.find('\n', text.size() / 2) + 1;
        ForBothViews(text, [&](CEditScrollView* view) {
            // From inside a keyword on a line through two tabs and a GBK character further down.
            view->SetSelection(middle + 4, middle + (int)text.find("live"));
            view->ScrollToCaret();
            view->UpdateColors();
            view->Invalidate(FALSE);
            view->UpdateWindow();
            if (middle > 0) {
                ASSERT_GT(view->Model().First().line, 1000);
            }
            CheckRepaintsAgree(view, random);
        });
    }
}

TEST_F(ViewGridPaint, ATabIsDrawnAsTheBlanksOfItsCells) {
    std::string text = "abcd\tx\n  NPOIN\t128\t3.75\t1.250e+03\n\t\tx\na\tb\tc\n\xBD\xDA\t\xB5\xE3\n";
    std::vector<DWORD> pictures[2];
    for (int i = 0; i < 2; ++i) {
        CBlackEditView* view = OpenPlain(i == 0 ? text : TabsAsSpaces(text));
        ASSERT_NE(view, nullptr);
        pictures[i] = TextArea(view);
        theApp.CloseAllDocuments(FALSE);
    }
    EXPECT_TRUE(pictures[0] == pictures[1]) << "pixels where the tabs' lines differ from the spaces' lines";
}

TEST_F(ViewGridPaint, ASelectionBlackensExactlyItsCells) {
    ForBothViews("ab\t\tcd\n", [&](CEditScrollView* view) {
        view->SetSelection(2, 4); // the two tabs: cells 2 to 8
        std::vector<DWORD> pixels = RenderClient(view, nullptr);
        CRect client;
        view->GetClientRect(&client);
        int cw = view->Metrics().unit.cx, lh = view->Metrics().unit.cy, m = view->Metrics().leftMargin;
        auto allBlack = [&](int left, int right) {
            for (int y = 0; y < lh; ++y)
                for (int x = left; x < right; ++x)
                    if (pixels[(size_t)y * client.Width() + x] != kBlack) return false;
            return true;
        };
        EXPECT_TRUE(allBlack(m + 2 * cw, m + 8 * cw)) << "every pixel of the tabs' cells";
        EXPECT_FALSE(allBlack(m + 2 * cw - 1, m + 2 * cw)) << "not the column before them";
        EXPECT_FALSE(allBlack(m + 8 * cw, m + 8 * cw + 1)) << "nor the column after them";
    });
}

TEST_F(ViewGridPaint, AFontsOwnAdvancesDoNotMoveTheGlyphsOffTheirCells) {
    auto open = [&](const std::string& text) {
        return static_cast<CEditScrollView*>(Open(ProportionalTemplate(), text, 640, 400));
    };
    CEditScrollView* narrow = open("iiiiiW\n");
    ASSERT_NE(narrow, nullptr);
    int cw = narrow->Metrics().unit.cx, lh = narrow->Metrics().unit.cy, m = narrow->Metrics().leftMargin;
    {
        LOGFONTA description = ProportionalFont();
        HFONT font = ::CreateFontIndirectA(&description);
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, font);
        SIZE five = {};
        ::GetTextExtentPoint32A(dc, "iiiii", 5, &five);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        ::DeleteObject(font);
        ASSERT_NE(five.cx, 5 * cw) << "the face's advances must differ from the cell, or this proves nothing";
    }
    std::vector<DWORD> afterNarrow = RenderClient(narrow, nullptr);
    std::mt19937 random(5);
    EXPECT_EQ(PartialRepaintsDiffering(narrow, random, 30), 0);
    theApp.CloseAllDocuments(FALSE);
    CEditScrollView* blank = open("     W\n");
    ASSERT_NE(blank, nullptr);
    std::vector<DWORD> afterBlanks = RenderClient(blank, nullptr);
    CRect client;
    blank->GetClientRect(&client);
    int differing = 0;
    for (int y = 0; y < lh; ++y)
        for (int x = m + 5 * cw; x < m + 7 * cw; ++x)
            differing +=
                afterNarrow[(size_t)y * client.Width() + x] != afterBlanks[(size_t)y * client.Width() + x];
    EXPECT_EQ(differing, 0) << "W stands on the sixth cell after five narrow glyphs as after five blanks";
}
