// Code page 936 string functions: matches only on character boundaries, pairs never split.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/base/Mbcs936.h"

namespace {

const unsigned char* U(const char* s) {
    return reinterpret_cast<const unsigned char*>(s);
}

// "\260A" (B0 41) is one pair whose trail byte is the letter A; "\xD6\xD0" is the character for "middle".
TEST(Mbcs936, SearchesSkipTrailBytes) {
    const char* text = "\260AxA";
    EXPECT_EQ(std::vector<const char*>(
                  {cp936::mbschr(text, 'A'), cp936::mbsstr(text, "A"), // A at 1 is a trail
                   cp936::mbschr(text, 0xB041), cp936::mbschr(text, 0), cp936::mbschr(text, 'q'),
                   cp936::mbsstr(text, ""), cp936::mbsstr(text, "xAy")}),
              std::vector<const char*>({text + 3, text + 3, text, text + 4, nullptr, text, nullptr}));
    // A run of lead-range bytes decides by parity: D0 D6 sits across two characters.
    const char* run = "\xD6\xD0\xD6\xD0";
    EXPECT_EQ(cp936::mbsstr(run, "\xD0\xD6"), nullptr);
    EXPECT_EQ(cp936::mbsstr(run, "\xD6\xD0\xD6"), run);
    std::string longRun;
    for (int i = 0; i < 1000; ++i) longRun += "\xD6\xD0";
    longRun += "\xD0\xD6"; // candidates every byte; only the last two form a character of their own
    EXPECT_EQ(cp936::mbsstr(longRun.c_str(), "\xD0\xD6"), longRun.c_str() + 2000);
    const char* dangling = "ab\xB0"; // a lead byte before the terminator is one character
    EXPECT_EQ(cp936::mbschr(dangling, 0xB0), dangling + 2);
    EXPECT_EQ(cp936::mbschr(dangling, 0), dangling + 3);
    EXPECT_EQ(cp936::mbscspn(U(dangling), U("\xB0")), 2u);
}

TEST(Mbcs936, CaseComparisonsSpansAndCopies) {
    char text[] = "Ab\260ACd";
    cp936::mbslwr(text);
    EXPECT_STREQ(text, "ab\260Acd");
    cp936::mbsupr(text);
    EXPECT_STREQ(text, "AB\260ACD");
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    EXPECT_EQ(
        std::vector<int>({sign(cp936::mbsnbcmp("abc", "abd", 2)), sign(cp936::mbsnbcmp("abc", "abd", 3)),
                          sign(cp936::mbsnbcmp("abd", "abc", 9)), sign(cp936::mbsnbcmp("ab", "abc", 3)),
                          sign(cp936::mbsnbicmp("HeLLo", "hello", 5))}),
        std::vector<int>({0, -1, 1, -1, 0}));
    EXPECT_NE(cp936::mbsnbicmp("\260A", "\260a", 2),
              0);                                    // trail bytes keep their case
    EXPECT_LT(cp936::mbscmp("\xFF", "\xB0\xA1"), 0); // 0xFF is a one-byte character, below any pair
    EXPECT_EQ(cp936::mbscmp("\xB0\xA1x", "\xB0\xA1x"), 0);
    EXPECT_EQ(cp936::mbsspn(U("  \t x"), U(" \t")), 4u);
    EXPECT_EQ(cp936::mbscspn(U("\xB0;x;"), U(";")), 3u); // B0 3B is a pair, not a semicolon
    EXPECT_EQ(cp936::mbsspn(U("\xD6\xD0\xD6\xD0z"), U("\xD6\xD0")), 4u);
    unsigned char dest[6];
    std::memset(dest, 'Z', sizeof dest);
    cp936::mbsnbcpy(dest, U("a\xD6\xD0"), 2); // the pair does not fit
    EXPECT_EQ(std::memcmp(dest, "a\0Z", 3), 0);
    cp936::mbsnbcpy(dest, U("ab"), 5); // padded like strncpy
    EXPECT_EQ(std::memcmp(dest, "ab\0\0\0Z", 6), 0);
}

} // namespace
