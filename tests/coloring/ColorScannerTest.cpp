// Colouring scanner: what the random comparison with the reference scan cannot reach: the GBK
// pairing option, stretches outside the text, the word, comment and token queries and the listing.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "ScanFixture.h"

namespace {

const COLORREF P = 0x000111, K = 0x0000FF, C = 0x00FF00, Q = 0x00FFFF;

// With GBK characters on, a byte with bit 7 set pairs only as the code page pairs: a lead byte
// before a space stands alone (the space ends its title token), and 0x80 leads nothing, so the quote
// mark after it opens a quote.
TEST(Scanner, GbkCharactersPairOnlyALeadByteWithATrailByte) {
    ScanFixture f("\xB0 END \x80'q'\n");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddKeyword("END", K);
    f.rules.AddQuote("'", "'", Q);
    auto colors = [&](std::initializer_list<int> positions) {
        std::vector<COLORREF> out;
        for (int pos : positions) {
            int previous = f.runs.StartPos();
            for (auto run : f.Runs()) {
                if (previous <= pos && pos < run.first) out.push_back(run.second);
                previous = run.first;
            }
        }
        return out;
    };
    f.Scan(0, f.Length() - 1);
    // The space after 0xB0 is its second byte: END is part of the token; 0x80 takes the quote mark.
    EXPECT_EQ(colors({2, 7}), (std::vector<COLORREF>{P, P}));
    CColorScanner gbkScanner = f.Scanner();
    gbkScanner.UseGbkCharacters(true);
    gbkScanner.ParseTextColor(0, f.Length() - 1);
    EXPECT_EQ(colors({2, 6, 7, 8}), (std::vector<COLORREF>{K, P, Q, Q}));
}

TEST(Scanner, WordCommentTokenAndMarkerQueries) {
    ScanFixture f("12 34 ab"), c(";x\n\n\nz"), t("  +abc;d");
    CString word, begin, end;
    EXPECT_EQ(f.Scanner().GetKeywords(word, 0, 8, 0), 2); // digits are not word characters
    EXPECT_EQ(word, "12");
    EXPECT_EQ(f.Scanner().GetKeywords(word, 0, 8, 1), 0);
    EXPECT_TRUE(word.IsEmpty());
    c.rules.AddComment(";", "\n", C);
    int length = -1;
    EXPECT_EQ(c.Scanner().GetComment(0, begin, end, length, 0, 3), 4); // takes one empty line after it
    EXPECT_EQ(length, 3);
    EXPECT_EQ(begin, ";");
    EXPECT_EQ(c.Scanner().GetComment(0, begin, end, length, 1, 3), 1);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(c.Scanner().GetComment(4, begin, end, length, 0, 3), 0);
    t.rules.AddComment(";", "\n", C);
    t.rules.AddQuote("+", "+", Q);
    EXPECT_EQ(t.Scanner().GetToken(word, 0, 8, 1), 3);
    EXPECT_EQ(word, "abc");
    EXPECT_EQ(t.Scanner().IsComment(6) * 10 + t.Scanner().IsComment(5), 10);
    EXPECT_EQ(t.Scanner().IsQuote(2), 1);
    // The token may run onto the terminating zero, which the copied word leaves out.
    EXPECT_EQ(t.Scanner().GetTitle(word, 2, 8, 0), 9);
    EXPECT_EQ(word, "+abc;d");
}

TEST(Scanner, OutOfRangeStretchesAreHarmless) {
    ScanFixture f("ab cd");
    f.Scan(-5, 1000);
    EXPECT_EQ(f.runs.StartPos(), 0);
    ASSERT_GT(f.runs.GetColorNumber(), 0);
    EXPECT_EQ(f.Runs().back().first, f.Length());
    f.Scan(4, 2);
    EXPECT_EQ(f.runs.GetColorNumber(), 0);
    CColorArray runs;
    CColorRuleSet rules;
    CMarkerIndex markers;
    EXPECT_EQ(CColorScanner(nullptr, 7, runs, rules, markers).ParseTextColor(0, 7), 1);
    EXPECT_EQ(runs.GetColorNumber(), 0);
}

TEST(Scanner, ListingFormat) {
    ScanFixture f("END x");
    f.rules.SetDefaults(7, 0, 0);
    f.rules.AddKeyword("END", 255);
    const char* path = "coloring_listing_test.out";
    f.Scanner().ParseTextColor(0, 5, path);
    std::stringstream all;
    all << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(all.str(), "index=1  Pos=    3  Color= 255  string = END\r\n"
                         "index=2  Pos=    4  Color= 7  string =  \r\n"
                         "index=3  Pos=    5  Color= 7  string = x\r\n");
    std::remove(path);
}

} // namespace
