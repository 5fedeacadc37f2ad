// Case-blind substring search: the failure table, the forward and backward scans against a naive
// scan, and the long texts the scans take in windows.
#include "regex/KmpFind.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<int> Table(const char* pattern) {
    std::vector<int> t(std::char_traits<char>::length(pattern), -1);
    KmpNext((int)t.size(), pattern, t.data());
    return t;
}

unsigned char Fold(char c) {
    unsigned char b = (unsigned char)c;
    return (b >= 'A' && b <= 'Z') ? (unsigned char)(b + 32) : b;
}

bool FoldedEqualAt(const std::string& text, size_t at, const std::string& pattern) {
    for (size_t k = 0; k < pattern.size(); ++k)
        if (Fold(text[at + k]) != Fold(pattern[k])) return false;
    return true;
}

int NaiveForward(const std::string& text, const std::string& pattern) {
    if (pattern.size() > text.size()) return -1;
    for (size_t p = 0; p + pattern.size() <= text.size(); ++p)
        if (FoldedEqualAt(text, p, pattern)) return (int)p;
    return -1;
}

int NaiveReverse(const std::string& text, const std::string& pattern, int start) {
    if (pattern.empty() || pattern.size() > text.size()) return -1;
    int last = (int)(text.size() - pattern.size());
    if (start < 0 || start > last) start = last;
    for (int p = start; p >= 0; --p)
        if (FoldedEqualAt(text, (size_t)p, pattern)) return p;
    return -1;
}

TEST(KmpNext, BordersUnderFolding) {
    EXPECT_EQ(Table("abcab"), (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_EQ(Table("aBAb"), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(Table("aaaa"), (std::vector<int>{0, 0, 1, 2}));
    EXPECT_EQ(Table("abacabab"), (std::vector<int>{0, 0, 0, 1, 0, 1, 2, 3}));
    EXPECT_EQ(Table("x"), (std::vector<int>{0}));
    EXPECT_EQ(Table("[{[{"), (std::vector<int>{0, 0, 0, 1})); // '[' and '{' are different bytes
}

TEST(KmpFind, NullArgumentsFindNothing) {
    EXPECT_EQ(KmpFindNoCase(nullptr, "a"), -1);
    EXPECT_EQ(KmpFindNoCase("a", nullptr), -1);
    EXPECT_EQ(KmpFindReverse(nullptr, "a", 0), -1);
    EXPECT_EQ(KmpFindReverse("a", nullptr, 0), -1);
}

// Random texts over an alphabet rich in borders and folding traps, against a naive scan: bytes 32
// apart outside A..Z ('[' '{', '@' '`', '^' '~', '_' DEL), Latin-1 letters, lead bytes and the ends of
// the capitals, from every start including those before and after the text.
TEST(KmpFind, AgreesWithNaiveSearch) {
    const char alphabet[] = {'a', 'A', 'b', 'B', '[', '{',    '\xB0', '\xC1', '\xE1',
                             '@', '`', '^', '~', '_', '\x7F', '\x90', 'Z',    'z'};
    std::mt19937 rng(936);
    auto pick = [&](size_t n) {
        std::string s;
        for (size_t k = 0; k < n; ++k) s += alphabet[rng() % (rng() % 2 ? 3 : sizeof alphabet)];
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string text = pick(rng() % 24), pattern = pick(rng() % 8);
        int start = (int)(rng() % 30) - 3;
        ASSERT_EQ(KmpFindNoCase(text.c_str(), pattern.c_str()), NaiveForward(text, pattern))
            << text << " / " << pattern;
        ASSERT_EQ(KmpFindReverse(text.c_str(), pattern.c_str(), start), NaiveReverse(text, pattern, start))
            << text << " / " << pattern << " from " << start;
    }
}

// Quadratic for a scan that restarts the comparison at every offset: a megabyte of a's against a
// long run of a's ending in b.
TEST(KmpFind, LongNearMissesStayLinear) {
    std::string text(1 << 20, 'a');
    std::string pattern(1 << 18, 'A');
    pattern += 'b';
    EXPECT_EQ(KmpFindNoCase(text.c_str(), pattern.c_str()), -1);
    EXPECT_EQ(KmpFindReverse(text.c_str(), pattern.c_str(), -1), -1);
    text[500000] = 'B';
    EXPECT_EQ(KmpFindNoCase(text.c_str(), pattern.c_str()), 500000 - (1 << 18));
    EXPECT_EQ(KmpFindReverse(text.c_str(), pattern.c_str(), -1), 500000 - (1 << 18));
}

// The text is read in growing windows: hits across each window edge are found, and a zero byte ends
// the text even with a hit behind it.
TEST(KmpFind, HitsAcrossTheScanWindowsAndAZeroEndsTheText) {
    std::mt19937 rng(20261207);
    for (size_t edge : {4096u, 12288u, 28672u, 61440u, 126976u}) {
        for (size_t back = 1; back < 6; ++back) {
            std::string text(edge + 4096, 'x');
            for (size_t k = 0; k < text.size(); k += 97) text[k] = "aAbB"[rng() % 4]; // near misses
            text.replace(edge - back, 5, "aBaBa");
            int expected = NaiveForward(text, "ababa");
            ASSERT_EQ(KmpFindNoCase(text.c_str(), "ABABA"), expected) << edge << " - " << back;
            ASSERT_LE(expected, (int)(edge - back));
        }
    }
    std::string text(100000, 'q');
    text.replace(90000, 3, "hit");
    text[50000] = 0;
    EXPECT_EQ(KmpFindNoCase(text.c_str(), "HIT"), -1);
    text[50000] = 'q';
    EXPECT_EQ(KmpFindNoCase(text.c_str(), "HIT"), 90000);
}

} // namespace
