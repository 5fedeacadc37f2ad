// Colouring scanner: the recognisers and their order, on small texts with known runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "ScanFixture.h"

namespace {

typedef std::vector<std::pair<int, COLORREF>> Runs;
const COLORREF P = 0x000111, K = 0x0000FF, C = 0x00FF00, T = 0xFF0000, Q = 0x00FFFF;

TEST(Scanner, KeywordBlankCommentWordAndLineFeed) {
    ScanFixture f("END ;x\ny\n");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddKeyword("END", K);
    f.rules.AddComment(";", "\n", C);
    ASSERT_EQ(f.Length(), 10);
    EXPECT_EQ(f.Scanner().ParseTextColor(0, 9), 1);
    EXPECT_EQ(f.Runs(), (Runs{{3, K}, {4, P}, {7, C}, {8, P}, {9, P}}));
    EXPECT_EQ(f.runs.StartPos(), 0);
}

TEST(Scanner, DigitsAreNotWordCharactersAndUnknownTextCrossesBlanks) {
    ScanFixture f("12 34 ab");
    f.rules.SetDefaults(P, 0, 0);
    f.Scan(0, 8);
    ASSERT_GE(f.runs.GetColorNumber(), 2);
    EXPECT_EQ(f.Runs()[0], std::make_pair(6, P));
    EXPECT_EQ(f.Runs()[1], std::make_pair(8, P));
    CString word;
    EXPECT_EQ(f.Scanner().GetKeywords(word, 0, 8, 0), 2);
    EXPECT_EQ(word, "12");
    EXPECT_EQ(f.Scanner().GetKeywords(word, 0, 8, 1), 0);
    EXPECT_TRUE(word.IsEmpty());
}

TEST(Scanner, TitlesOnlyAfterLeadByteOrStar) {
    const char title[] = "\xB5\xDA\xD2\xBB\xD5\xC2"; // a GBK chapter heading
    ScanFixture f(std::string(title) + " one\n*T two\n+T x\n");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddTitle(title, T);
    f.rules.AddTitle("*T", T);
    f.rules.AddTitle("+T", T);
    f.Scan(0, f.Length() - 1);
    Runs runs = f.Runs();
    // The heading takes its whole line up to the line feed.
    ASSERT_GE(runs.size(), 6u);
    EXPECT_EQ(runs[0], std::make_pair(10, T));
    EXPECT_EQ(runs[1], std::make_pair(11, P));
    EXPECT_EQ(runs[2], std::make_pair(17, T));
    EXPECT_EQ(runs[3], std::make_pair(18, P));
    // '+' starts neither a title nor a word: plain unknown text.
    EXPECT_EQ(runs[4].second, P);
    for (size_t k = 4; k < runs.size(); ++k) EXPECT_NE(runs[k].second, T);
}

// With GBK characters on, a byte with bit 7 set pairs only as the code page pairs: a lead byte
// before a space stands alone (the space ends its title token), and 0x80 leads nothing, so the quote
// mark after it opens a quote.
TEST(Scanner, GbkCharactersPairOnlyALeadByteWithATrailByte) {
    ScanFixture f("\xB0 END \x80'q'\n");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddKeyword("END", K);
    f.rules.AddQuote("'", "'", Q);
    auto colorAt = [&](int pos) {
        int previous = f.runs.StartPos();
        for (auto run : f.Runs()) {
            if (previous <= pos && pos < run.first) return run.second;
            previous = run.first;
        }
        return (COLORREF)0;
    };
    f.Scan(0, f.Length() - 1);
    EXPECT_EQ(colorAt(2), P) << "the space after 0xB0 is its second byte: END is part of the token";
    EXPECT_EQ(colorAt(7), P) << "0x80 takes the quote mark after it";
    CColorScanner gbkScanner = f.Scanner();
    gbkScanner.UseGbkCharacters(true);
    gbkScanner.ParseTextColor(0, f.Length() - 1);
    EXPECT_EQ(colorAt(2), K);
    EXPECT_EQ(colorAt(6), P) << "0x80 is a byte of its own";
    EXPECT_EQ(colorAt(7), Q) << "and the quote after it opens";
    EXPECT_EQ(colorAt(8), Q);
}

TEST(Scanner, AsciiTitleMatchedAsAWord) {
    ScanFixture f("Chapter 3 intro\nnext");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddTitle("Chapter", T);
    f.Scan(0, 10);
    EXPECT_EQ(f.Runs()[0], std::make_pair(15, T));
}

TEST(Scanner, UnclosedDoubleQuoteComment) {
    ScanFixture later("a \"b\nc\nd\"e");
    later.rules.SetDefaults(P, 0, 0);
    later.rules.AddComment("\"", "\"", C);
    later.Scan(0, 5);
    EXPECT_EQ(later.Runs(), (Runs{{1, P}, {2, P}, {9, C}}));
    // No closing quote anywhere later: the comment stops at the end of its line (and its line feed).
    ScanFixture none("a \"b\nc");
    none.rules.SetDefaults(P, 0, 0);
    none.rules.AddComment("\"", "\"", C);
    none.Scan(0, 4);
    EXPECT_EQ(none.Runs(), (Runs{{1, P}, {2, P}, {5, C}}));
}

TEST(Scanner, CommentTakesOneFollowingEmptyLine) {
    ScanFixture f(";x\n\n\nz");
    f.rules.AddComment(";", "\n", C);
    f.Scan(0, 3);
    EXPECT_EQ(f.Runs(), (Runs{{4, C}}));
    CString begin, end;
    int length = -1;
    EXPECT_EQ(f.Scanner().GetComment(0, begin, end, length, 0, 3), 4);
    EXPECT_EQ(length, 3);
    EXPECT_EQ(begin, ";");
    EXPECT_EQ(f.Scanner().GetComment(0, begin, end, length, 1, 3), 1);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(f.Scanner().GetComment(4, begin, end, length, 0, 3), 0);
}

TEST(Scanner, CommentWithoutEndOrLineFeedRunsToTheTerminator) {
    ScanFixture f("x ;abc");
    f.rules.AddComment(";", "#", C);
    f.Scan(0, 3);
    EXPECT_EQ(f.Runs().back(), std::make_pair(f.Length(), C));
}

TEST(Scanner, UnmatchedQuoteBecomesOneCharacterPlainRun) {
    ScanFixture f("<<ab");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddQuote("<<", ">>", Q);
    f.Scan(0, 4);
    // The begin marker stops unknown text, the quote cannot match, so its first '<' is forced out.
    EXPECT_EQ(f.Runs(), (Runs{{1, P}, {2, P}, {4, P}}));
    ScanFixture g("<<ab>>\n c");
    g.rules.AddQuote("<<", ">>", Q);
    g.Scan(0, 8);
    EXPECT_EQ(g.Runs()[0], std::make_pair(7, Q));
}

TEST(Scanner, WordThenUnknownGetSeparateRuns) {
    ScanFixture f("abc+-x");
    f.rules.SetDefaults(P, 0, 0);
    f.Scan(0, 6);
    EXPECT_EQ(f.Runs(), (Runs{{3, P}, {5, P}, {6, P}}));
}

TEST(Scanner, ScanInsideACommentSeesOrdinaryText) {
    ScanFixture f("\"END\nEND\" END");
    f.rules.AddKeyword("END", K);
    f.rules.AddComment("\"", "\"", C);
    f.Scan(5, 12);
    EXPECT_EQ(f.runs.StartPos(), 5);
    EXPECT_EQ(f.Runs()[0], std::make_pair(8, K));
    EXPECT_EQ(f.Runs()[1].second, C);
}

TEST(Scanner, OnePastTheLastByteColoursTheTerminator) {
    ScanFixture f("ab");
    f.rules.SetDefaults(P, 0, 0);
    f.Scan(0, f.Length());
    EXPECT_EQ(f.Runs(), (Runs{{2, P}, {3, P}}));
}

TEST(Scanner, LeadBytePairsStayTogether) {
    ScanFixture f("\xB0\xA1\xB0\xA1 x");
    f.rules.SetDefaults(P, 0, 0);
    f.Scan(0, 6);
    for (auto& run : f.Runs()) EXPECT_TRUE(run.first != 1 && run.first != 3) << run.first;
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
    CColorScanner empty(nullptr, 7, runs, rules, markers);
    EXPECT_EQ(empty.ParseTextColor(0, 7), 1);
    EXPECT_EQ(runs.GetColorNumber(), 0);
}

TEST(Scanner, TokenAndMarkerQueries) {
    ScanFixture f("  +abc;d");
    f.rules.AddComment(";", "\n", C);
    f.rules.AddQuote("+", "+", Q);
    CString word;
    EXPECT_EQ(f.Scanner().GetToken(word, 0, 8, 1), 3);
    EXPECT_EQ(word, "abc");
    EXPECT_EQ(f.Scanner().IsComment(6), 1);
    EXPECT_EQ(f.Scanner().IsComment(5), 0);
    EXPECT_EQ(f.Scanner().IsQuote(2), 1);
    // The token may run onto the terminating zero, which the copied word leaves out.
    EXPECT_EQ(f.Scanner().GetTitle(word, 2, 8, 0), 9);
    EXPECT_EQ(word, "+abc;d");
}

TEST(Scanner, ListingFormat) {
    ScanFixture f("END x");
    f.rules.SetDefaults(7, 0, 0);
    f.rules.AddKeyword("END", 255);
    const char* path = "coloring_listing_test.out";
    f.Scanner().ParseTextColor(0, 5, path);
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_EQ(all.str(), "index=1  Pos=    3  Color= 255  string = END\r\n"
                         "index=2  Pos=    4  Color= 7  string =  \r\n"
                         "index=3  Pos=    5  Color= 7  string = x\r\n");
    in.close();
    std::remove(path);
}

} // namespace
