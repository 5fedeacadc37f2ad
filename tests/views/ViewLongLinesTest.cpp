// The long-line option in real views: every measurement equals the walk from the line's start, through
// edits, and a file of one long line scrolls sideways to its end.
#include "ViewFixture.h"

#include <random>
#include <vector>

namespace {
class ViewLongLines : public ViewFixture {};

// A long line of every kind of byte the cell walk tells apart, GBK pairs kept whole.
std::string LongLine(std::mt19937& rng, int bytes) {
    static const char* const pieces[] = {"ab", " ", "\t", "\xB5\xDA", "\x01", "\f", "\v", "xyz", "\t\t"};
    std::string line;
    while ((int)line.size() < bytes) line += pieces[rng() % 9];
    return line;
}

// What the view measures around offset after showing it: its point, hit tests across the window
// and the visible ranges of the long line at a few left edges.
std::vector<int> Measure(CEditScrollView* view, int line, int offset) {
    // From the line's start, so that the scroll to show offset starts from the same place every time.
    view->SetCurrentPosition((int)view->GetEditDocument()->GetLineOffset(line));
    view->SetCurrentPosition(offset);
    CPoint p = view->TextPositionToScreenCoord(offset);
    std::vector<int> m{p.x, p.y, view->SystemCaret().Point().x, view->Model().First().column};
    for (int x = 0; x < 640; x += 37)
        m.push_back(view->SelectionPoint(CPoint(x, p.y + view->Metrics().unit.cy / 2)));
    int x0 = view->Metrics().leftMargin - view->Model().First().column * view->Metrics().unit.cx;
    for (int left = 0; left < 640; left += 101) {
        CRange range;
        m.push_back(view->GetTextRange(line, left, left + 200, x0, range));
        m.insert(m.end(), {range.first, range.last});
    }
    return m;
}
} // namespace

TEST_F(ViewLongLines, MeasurementsEqualTheWalkFromTheLineStartThroughEdits) {
    std::mt19937 rng(2024);
    std::string text = "short\n" + LongLine(rng, 50000) + "\nend\n";
    ForBothViews(text, [&](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        for (int round = 0; round < 6; ++round) {
            int start = (int)doc->GetLineOffset(1), size = doc->GetLineSize(1);
            std::vector<int> offsets;
            for (int k = 0; k < 8; ++k) offsets.push_back(start + (int)(rng() % (unsigned)size));
            doc->SetOption(kOptionLongLines, TRUE);
            for (int offset : offsets) Measure(view, 1, offset); // the checkpoints are laid on the way
            // An edit in the long line with the checkpoints in place: typing, then deleting a few bytes.
            view->SetCurrentPosition(offsets[0]);
            Type(view, round % 2 ? "\t" : "ab");
            doc->Edit(UNDO_DELETE, offsets[1], 3, "");
            offsets.push_back(start + size / 2);
            std::vector<std::vector<int>> fast;
            for (int offset : offsets) fast.push_back(Measure(view, 1, view->Model().OutsidePair(offset)));
            doc->SetOption(kOptionLongLines, FALSE);
            for (size_t k = 0; k < offsets.size(); ++k)
                ASSERT_EQ(Measure(view, 1, view->Model().OutsidePair(offsets[k])), fast[k])
                    << "round " << round << " probe " << k;
        }
    });
}

TEST_F(ViewLongLines, AFileOfOneLongLineScrollsSidewaysToItsEnd) {
    std::string text(40000, 'x');
    ForBothViews(text, [&](CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        int end = (int)doc->GetLength() - 1;
        view->SetCurrentPosition(end);
        Pump();
        EXPECT_EQ(view->Model().First().column, 0) << "without the option the last line has no width";
        doc->SetOption(kOptionLongLines, TRUE);
        view->SetCurrentPosition(end);
        Pump();
        ::UpdateWindow(view->m_hWnd);
        int column = view->Model().First().column;
        EXPECT_GT(column, 39000);
        view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
        EXPECT_EQ(view->Model().First().column, column - 1);
        view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
        EXPECT_EQ(view->Model().First().column, column);
        EXPECT_EQ(view->SystemCaret().Point(), view->TextPositionToScreenCoord(end));
    });
}
