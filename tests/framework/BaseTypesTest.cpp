// Base types: run-time classes, CString, growable arrays and CObList.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <vector>

#include "framework/base/Array.h"
#include "framework/base/MemoryBlock.h"
#include "framework/base/ObList.h"
#include "framework/base/Object.h"
#include "framework/base/String.h"

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
    DECLARE_DYNCREATE(CSquare)
};
IMPLEMENT_DYNCREATE(CSquare, CShape)

TEST(RuntimeClass, KindOfFollowsTheBaseChainAndCreationGoesByName) {
    CObject* made = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(made, nullptr);
    for (CRuntimeClass* base : {RUNTIME_CLASS(CCircle), RUNTIME_CLASS(CShape), RUNTIME_CLASS(CObject)})
        EXPECT_TRUE(made->IsKindOf(base)) << base->m_lpszClassName;
    EXPECT_FALSE(made->IsKindOf(RUNTIME_CLASS(CSquare)));
    EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, "CCircle");
    EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, (int)sizeof(CCircle));
    EXPECT_EQ(static_cast<CCircle*>(made)->radius, 7);
    delete made;
    EXPECT_EQ(CRuntimeClass::CreateObject("CShape"), nullptr); // dynamic only, not creatable
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CSquare"), RUNTIME_CLASS(CSquare));
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
}

// Slices clamp their bounds, and a copy stops at a zero byte.
TEST(String, SlicesClampAndSearchesRespectPairs) {
    CString s("abcdef"), p("\260AaA"); // p: a pair whose trail byte is A, then "aA"
    const struct {
        CString got;
        const char* want;
    } slices[] = {{s.Mid(2), "cdef"}, {s.Mid(-3, 2), "ab"},    {s.Mid(4, 10), "ef"},
                  {s.Mid(6), ""},     {s.Left(-1), ""},        {s.Left(10), "abcdef"},
                  {s.Right(2), "ef"}, {s.Right(99), "abcdef"}, {CString("abc\0def", 7), "abc"}};
    for (const auto& c : slices) EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(std::vector<int>({p.Find('A'), p.Find("A", 3), p.Find("A", 4), p.Find('a', -5), p.Find("zz"),
                                p.ReverseFind('A')}),
              std::vector<int>({3, 3, -1, 2, -1, 3}));
    p.MakeLower();
    EXPECT_EQ(p, "\260Aaa");
    p.MakeUpper();
    EXPECT_EQ(p, "\260AAA");
    EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
    EXPECT_TRUE(CString("a") < CString("b"));
}

TEST(String, ReplaceTrimConcatenateFormatAndDirectBuffer) {
    CString s("a,b,,c"), t("  \t pad \n"), big, buf;
    EXPECT_EQ(s.Replace(",", ";;"), 3);
    EXPECT_EQ(s, "a;;b;;;;c");
    EXPECT_EQ(s.Replace("", "x"), 0);
    t.TrimLeft();
    t.TrimRight();
    CString joined = CString("x") + "y" + 'z';
    joined += t;
    EXPECT_EQ(joined, "xyzpad");
    EXPECT_TRUE(s.Format(" line = %3d , column = %3d\n", 3, 1));
    EXPECT_EQ(s, " line =   3 , column =   1\n");
    big.Format("%0500d", 7);
    EXPECT_EQ(big.GetLength(), 500);
    std::strcpy(buf.GetBuffer(16), "written");
    buf.ReleaseBuffer();
    buf.GetBuffer(0)[0] = 'W';
    buf.ReleaseBuffer(3);
    EXPECT_EQ(buf, "Wri");
    EXPECT_STREQ((const char*)CString(), "");
}

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
    EXPECT_EQ(std::vector<DWORD>(d.GetData(), d.GetData() + 7),
              (std::vector<DWORD>{0xAB, 0xAB, 0, 0, 0, 0, 5}));
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
    EXPECT_EQ(a.GetSize(), 0);
}

struct CItem : CObject {
    explicit CItem(int v) : value(v) {}
    int value;
};

int ValueOf(CObject* item) {
    return static_cast<CItem*>(item)->value;
}

// The values from the head, or from the tail backwards.
std::vector<int> Values(const CObList& list, bool backwards = false) {
    std::vector<int> out;
    for (POSITION pos = backwards ? list.GetTailPosition() : list.GetHeadPosition(); pos != nullptr;)
        out.push_back(ValueOf(backwards ? list.GetPrev(pos) : list.GetNext(pos)));
    return out;
}

TEST(ObList, HeadAndTailInsertionKeepOrderAcrossManyBlocks) {
    std::deque<CItem> items;
    for (int i = 0; i < 25; ++i) items.emplace_back(i);
    CObList list(3);
    for (int i = 10; i < 25; ++i) list.AddTail(&items[i]);
    for (int i = 9; i >= 0; --i) list.AddHead(&items[i]);
    std::vector<int> expected;
    for (int i = 0; i < 25; ++i) expected.push_back(i);
    EXPECT_EQ(Values(list), expected);
    EXPECT_EQ(ValueOf(list.RemoveHead()) * 100 + ValueOf(list.RemoveTail()), 24);
    EXPECT_EQ(Values(list, true), std::vector<int>(expected.rbegin() + 1, expected.rend() - 1));
    while (!list.IsEmpty()) list.RemoveHead();
    list.AddTail(&items[5]); // nodes come back after the blocks were released
    EXPECT_EQ(Values(list), std::vector<int>{5});
}

TEST(ObList, InsertRemoveAtFindAndIndex) {
    CItem a(1), b(2), c(3), d(4);
    CObList list, other;
    POSITION pa = list.AddTail(&a);
    POSITION pc = list.AddTail(&c);
    list.InsertAfter(pa, &b);
    list.InsertBefore(pa, &d);
    EXPECT_EQ(Values(list), (std::vector<int>{4, 1, 2, 3}));
    EXPECT_EQ(list.Find(&c), pc);
    EXPECT_EQ(list.FindIndex(2), list.Find(&b));
    for (POSITION none : {list.Find(&a, pc), list.FindIndex(4), list.FindIndex(-1)}) // a lies before pc
        EXPECT_EQ(none, nullptr);
    list.RemoveAt(list.Find(&d)); // head
    list.RemoveAt(pc);            // tail
    list.SetAt(list.GetHeadPosition(), &c);
    EXPECT_EQ(Values(list), (std::vector<int>{3, 2}));
    other.AddTail(&a);
    other.AddTail(&d);
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 4, 3, 2, 1, 4}));
    list.RemoveAll();
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

// A reserved node makes the next insertion safe when memory then runs out; without one it fails
// and leaves the list as it was.
TEST(ObList, AReservedNodeServesTheNextInsertionWhenMemoryRunsOut) {
    CObList list(2);
    CItem a(1), b(2), c(3);
    ASSERT_TRUE(list.ReserveNode());
    memblock::FailAllocationAfter(1);
    EXPECT_NE(list.AddHead(&a), nullptr);
    EXPECT_NE(list.AddHead(&b), nullptr);
    EXPECT_EQ(list.AddTail(&c), nullptr) << "the block is used up and the next one cannot be had";
    memblock::FailAllocationAfter(0);
    EXPECT_TRUE(list.ReserveNode());
    EXPECT_NE(list.AddTail(&c), nullptr);
    EXPECT_EQ(Values(list), (std::vector<int>{2, 1, 3}));
}

} // namespace
