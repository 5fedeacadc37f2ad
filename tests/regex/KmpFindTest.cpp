// Case-blind substring search: the forward and backward scans against a naive
// scan, and the long texts the scans take in windows.
#include "regex/KmpFind.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

unsigned char Fold(char c) {
    unsigned char b = (unsigned char)c;
    return (b >= 'A' && b <= 'Z') ? (unsigned char)(b + 32) : b;
}

// The first (forward) or last at or before start (reverse) folded match, scanned naively.
int Naive(const std::string& text, const std::string& pattern, bool reverse, int start = -1) {
    if (pattern.size() > text.size() || (reverse && pattern.empty())) return -1;
    int last = (int)(text.size() - pattern.size());
    if (start < 0 || start > last) start = last;
    for (int k = 0; k <= last; ++k) {
        int p = reverse ? start - k : k;
        if (p < 0) break;
        size_t i = 0;
        while (i < pattern.size() && Fold(text[(size_t)p + i]) == Fold(pattern[i])) ++i;
        if (i == pattern.size()) return p;
    }
    return -1;
}

// A missing text or pattern finds nothing.
TEST(KmpFind, MissingArgumentsFindNothing) {
    EXPECT_EQ(std::vector<int>({KmpFindNoCase(nullptr, "a"), KmpFindNoCase("a", nullptr),
                                KmpFindReverse(nullptr, "a", 0), KmpFindReverse("a", nullptr, 0)}),
              std::vector<int>(4, -1));
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
        ASSERT_EQ(KmpFindNoCase(text.c_str(), pattern.c_str()), Naive(text, pattern, false))
            << text << "/" << pattern;
        ASSERT_EQ(KmpFindReverse(text.c_str(), pattern.c_str(), start), Naive(text, pattern, true, start))
            << text << " / " << pattern << " from " << start;
    }
}

// Quadratic for a scan that restarts at every offset: a megabyte of a's against a's ending in b.
TEST(KmpFind, LongNearMissesStayLinear) {
    std::string text(1 << 20, 'a'), pattern = std::string(1 << 18, 'A') + "b";
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
            int expected = Naive(text, "ababa", false);
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
