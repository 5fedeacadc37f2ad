// Growable arrays: the growth rule, zeroed new elements, insertion and removal.
#include <gtest/gtest.h>

#include <vector>

#include "framework/base/Array.h"

namespace {

// The new allocation is max(needed, allocated + step): step size / 8 bounded to 4 ... 1024, or given.
TEST(Array, GrowsBySizeOverEightBoundedToFourAndThousandTwentyFour) {
    const struct {
        int size, step, allocated;
    } cases[] = {{0, 0, 4}, {4, 0, 8}, {800, 0, 900}, {100000, 0, 101024}, {0, 50, 50}};
    for (const auto& c : cases) {
        CIntArray a;
        a.SetSize(c.size, c.step);
        if (c.size > 4) {
            EXPECT_EQ(a.GetAllocatedSize(), c.size); // needed size beats allocated + step
        }
        a.Add(1);
        EXPECT_EQ(a.GetAllocatedSize(), c.allocated) << c.size;
    }
}

TEST(Array, AnElementCountWhoseBytesPassTheSizeTypeIsRefused) {
    struct Wide {
        long long a, b;
    };
    if (sizeof(size_t) > 4) GTEST_SKIP() << "an int count of 16-byte elements fits a 64-bit size";
    // 0x10000001 elements are 0x100000010 bytes: 16 once cut to 32 bits.
    CArray<Wide, const Wide&> a;
    a.Add(Wide{1, 2});
    EXPECT_FALSE(a.SetSize((int)((size_t)-1 / sizeof(Wide)) + 2));
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0].b, 2);
}

TEST(Array, NewElementsAreZeroAndInsertAndRemoveShiftTheTail) {
    CDWordArray d;
    d.SetSize(6);
    for (int i = 0; i < 6; ++i) d[i] = 0xAB;
    d.SetSize(2);
    d.SetAtGrow(6, 5); // shrunk and grown again: the new elements read zero
    for (int i = 2; i < 6; ++i) EXPECT_EQ(d[i], 0u) << i;
    EXPECT_EQ(d[1] + d[6], 0xABu + 5);
    CIntArray a;
    for (int i = 0; i < 5; ++i) a.Add(i * 10);
    a.InsertAt(1, 7, 2);
    a.RemoveAt(5, 100); // clamps to the end
    EXPECT_EQ(std::vector<int>(a.GetData(), a.GetData() + a.GetSize()), (std::vector<int>{0, 7, 7, 10, 20}));
    a.RemoveAt(0);
    a.InsertAt(9, 3); // past the end: the gap is zero
    a.RemoveAt(-1);
    a.RemoveAt(10);
    CIntArray copy;
    copy.Copy(a);
    EXPECT_EQ(std::vector<int>(copy.GetData(), copy.GetData() + copy.GetSize()),
              (std::vector<int>{7, 7, 10, 20, 0, 0, 0, 0, 0, 3}));
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

} // namespace
