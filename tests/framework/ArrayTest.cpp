// Growable arrays: the growth rule, zeroed new elements, insertion and removal.
#include <gtest/gtest.h>

#include "framework/base/Array.h"

namespace {

TEST(Array, GrowsBySizeOverEightBoundedToFourAndThousandTwentyFour) {
    CIntArray a;
    a.Add(1);
    EXPECT_EQ(a.GetAllocatedSize(), 4); // step floor of 4
    for (int i = 1; i < 4; ++i) a.Add(i);
    a.Add(9);
    EXPECT_EQ(a.GetAllocatedSize(), 8);

    CIntArray big;
    big.SetSize(800);
    EXPECT_EQ(big.GetAllocatedSize(), 800); // needed size beats allocated + step
    big.Add(1);
    EXPECT_EQ(big.GetAllocatedSize(), 900); // 800 + 800 / 8

    CIntArray huge;
    huge.SetSize(100000);
    huge.Add(1);
    EXPECT_EQ(huge.GetAllocatedSize(), 101024); // step capped at 1024

    CIntArray stepped;
    stepped.SetSize(0, 50);
    stepped.Add(1);
    EXPECT_EQ(stepped.GetAllocatedSize(), 50);
}

TEST(Array, AnElementCountWhoseBytesPassTheSizeTypeIsRefused) {
    struct Wide {
        long long a, b;
    };
    if (sizeof(size_t) > 4) GTEST_SKIP() << "an int count of 16-byte elements fits a 64-bit size";
    // 0x10000001 elements are 0x100000010 bytes: 16 once cut to 32 bits.
    const int count = (int)((size_t)-1 / sizeof(Wide)) + 2;
    CArray<Wide, const Wide&> a;
    a.Add(Wide{1, 2});
    EXPECT_FALSE(a.SetSize(count));
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0].b, 2);
}

TEST(Array, NewElementsAreZeroEvenAfterShrinkAndRegrow) {
    CDWordArray a;
    a.SetSize(6);
    for (int i = 0; i < 6; ++i) a[i] = 0xAB;
    a.SetSize(2);
    a.SetSize(6);
    EXPECT_EQ(a[1], 0xABu);
    for (int i = 2; i < 6; ++i) EXPECT_EQ(a[i], 0u) << i;
    a.SetAtGrow(10, 5);
    EXPECT_EQ(a.GetSize(), 11);
    EXPECT_EQ(a[9], 0u);
    EXPECT_EQ(a[10], 5u);
}

TEST(Array, InsertAndRemoveShiftTheTail) {
    CIntArray a;
    for (int i = 0; i < 5; ++i) a.Add(i * 10);
    a.InsertAt(1, 7, 2);
    ASSERT_EQ(a.GetSize(), 7);
    int expected[] = {0, 7, 7, 10, 20, 30, 40};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(a[i], expected[i]);
    a.RemoveAt(5, 100); // clamps to the end
    EXPECT_EQ(a.GetSize(), 5);
    a.RemoveAt(0);
    EXPECT_EQ(a[0], 7);
    a.InsertAt(9, 3); // past the end: the gap is zero
    EXPECT_EQ(a.GetSize(), 10);
    EXPECT_EQ(a[5], 0);
    EXPECT_EQ(a[9], 3);
    a.RemoveAt(-1);
    a.RemoveAt(10);
    EXPECT_EQ(a.GetSize(), 10);

    CIntArray copy;
    copy.Copy(a);
    EXPECT_EQ(copy.GetSize(), 10);
    EXPECT_EQ(copy[9], 3);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

} // namespace
