// CString: slicing bounds, searching at character boundaries, formatting and direct buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/base/String.h"

namespace {

TEST(String, SlicesClampTheirBounds) {
    CString s("abcdef");
    EXPECT_EQ(s.Mid(2), "cdef");
    EXPECT_EQ(s.Mid(-3, 2), "ab");
    EXPECT_EQ(s.Mid(4, 10), "ef");
    EXPECT_EQ(s.Mid(6), "");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Left(10), "abcdef");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Right(99), "abcdef");
    EXPECT_EQ(CString("abc\0def", 7), "abc"); // copies stop at a zero byte
}

TEST(String, FindAndCaseRespectPairs) {
    CString s("\xB0" "Aa" "A");
    EXPECT_EQ(s.Find('A'), 3);
    EXPECT_EQ(s.Find("A", 3), 3);
    EXPECT_EQ(s.Find("A", 4), -1);
    EXPECT_EQ(s.Find('a', -5), 2);
    EXPECT_EQ(s.Find("zz"), -1);
    EXPECT_EQ(s.ReverseFind('A'), 3);
    CString lower(s);
    lower.MakeLower();
    EXPECT_EQ(lower, "\xB0" "Aaa");
    lower.MakeUpper();
    EXPECT_EQ(lower, "\xB0" "AAA");
    EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
    EXPECT_TRUE(CString("a") < CString("b"));
}

TEST(String, ReplaceTrimAndConcatenate) {
    CString s("a,b,,c");
    EXPECT_EQ(s.Replace(",", ";;"), 3);
    EXPECT_EQ(s, "a;;b;;;;c");
    EXPECT_EQ(s.Replace("", "x"), 0);
    CString t("  \t pad \n");
    t.TrimLeft();
    t.TrimRight();
    EXPECT_EQ(t, "pad");
    CString joined = CString("x") + "y" + 'z';
    joined += CString("w");
    EXPECT_EQ(joined, "xyzw");
    EXPECT_EQ(joined.GetLength(), 4);
}

TEST(String, FormatAndDirectBuffer) {
    CString s;
    EXPECT_TRUE(s.Format(" line = %3d , column = %3d\n", 3, 1));
    EXPECT_EQ(s, " line =   3 , column =   1\n");
    CString big;
    big.Format("%0500d", 7);
    EXPECT_EQ(big.GetLength(), 500);

    CString buf;
    char* p = buf.GetBuffer(16);
    std::strcpy(p, "written");
    buf.ReleaseBuffer();
    EXPECT_EQ(buf, "written");
    EXPECT_EQ(buf.GetLength(), 7);
    buf.GetBuffer(0)[0] = 'W';
    buf.ReleaseBuffer(3);
    EXPECT_EQ(buf, "Wri");
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ((const char*)CString(), "");
}

} // namespace
