// Drawing into a memory device context and reading the pixels back: fills and the window origin.
#include <gtest/gtest.h>

#include "framework/win/Dc.h"

namespace {
// A 64 x 32 white bitmap selected into a memory context compatible with the screen.
class MemoryCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        CClientDC screen((HWND) nullptr);
        ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 64, 32));
        oldBitmap = dc.SelectObject(&bitmap);
        ASSERT_NE(oldBitmap, nullptr);
        dc.FillSolidRect(0, 0, 64, 32, RGB(255, 255, 255));
    }
    void TearDown() override { dc.SelectObject(oldBitmap); }

    int InkPixels(const CRect& area) const {
        int ink = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) ink += dc.GetPixel(x, y) != RGB(255, 255, 255);
        return ink;
    }

    CDC dc;
    CBitmap bitmap;
    CBitmap* oldBitmap = nullptr;
};
} // namespace

TEST_F(MemoryCanvas, FillSolidRectPaintsExactlyItsRectangleAndTheWindowOriginShiftsDrawing) {
    CPoint old = dc.SetWindowOrg(10, 5);
    EXPECT_EQ(old, CPoint(0, 0));
    dc.FillSolidRect(CRect(10, 5, 16, 9), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(dc.GetBkColor(), RGB(0x12, 0x34, 0x56)) << "the colour stays as the background";
    EXPECT_EQ(InkPixels(CRect(10, 5, 74, 37)), 24) << "GetPixel takes logical coordinates too";
    EXPECT_EQ(InkPixels(CRect(10, 5, 16, 9)), 24);
    CPoint p(10, 5);
    CSize size(7, 3);
    dc.LPtoDP(&p);
    dc.LPtoDP(&size); // a size ignores the origin
    EXPECT_EQ(p, CPoint(0, 0));
    EXPECT_EQ(size, CSize(7, 3));
    EXPECT_EQ(dc.SetWindowOrg(0, 0), CPoint(10, 5));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0x12, 0x34, 0x56)); // the device's top-left pixel was painted
}
