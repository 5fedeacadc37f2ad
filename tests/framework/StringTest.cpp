// CString: slicing bounds, searching at character boundaries, formatting and direct buffers.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/base/String.h"

namespace {

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
    EXPECT_EQ(p.Find('A'), 3);
    EXPECT_EQ(p.Find("A", 3), 3);
    EXPECT_EQ(p.Find("A", 4), -1);
    EXPECT_EQ(p.Find('a', -5), 2);
    EXPECT_EQ(p.Find("zz"), -1);
    EXPECT_EQ(p.ReverseFind('A'), 3);
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
    EXPECT_EQ(t, "pad");
    CString joined = CString("x") + "y" + 'z';
    joined += CString("w");
    EXPECT_EQ(joined, "xyzw");
    EXPECT_EQ(joined.GetLength(), 4);
    EXPECT_TRUE(s.Format(" line = %3d , column = %3d\n", 3, 1));
    EXPECT_EQ(s, " line =   3 , column =   1\n");
    big.Format("%0500d", 7);
    EXPECT_EQ(big.GetLength(), 500);
    std::strcpy(buf.GetBuffer(16), "written");
    buf.ReleaseBuffer();
    EXPECT_EQ(buf.GetLength(), 7);
    buf.GetBuffer(0)[0] = 'W';
    buf.ReleaseBuffer(3);
    EXPECT_EQ(buf, "Wri");
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_STREQ((const char*)CString(), "");
}

} // namespace
