// Code page 936 string functions: matches only on character boundaries, pairs never split.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/base/Mbcs936.h"

namespace {

// "\xB0\x41" is one pair whose trail byte is the letter A; "\xD6\xD0" is the character for "middle".
TEST(Mbcs936, SearchesSkipTrailBytes) {
    const char* text = "\xB0" "A" "xA";
    EXPECT_EQ(cp936::mbschr(text, 'A'), text + 3); // the A at 1 is a trail byte
    EXPECT_EQ(cp936::mbsstr(text, "A"), text + 3);
    EXPECT_EQ(cp936::mbschr(text, 0xB041), text);
    EXPECT_EQ(cp936::mbschr(text, 0), text + 4);
    EXPECT_EQ(cp936::mbschr(text, 'q'), nullptr);
    EXPECT_EQ(cp936::mbsstr(text, ""), text);
    EXPECT_EQ(cp936::mbsstr(text, "xAy"), nullptr);

    // A run of lead-range bytes decides by parity: in "\xD6\xD0\xD6\xD0" the pair D0 D6 sits across
    // two characters and must not match.
    const char* run = "\xD6\xD0\xD6\xD0";
    EXPECT_EQ(cp936::mbsstr(run, "\xD0\xD6"), nullptr);
    EXPECT_EQ(cp936::mbsstr(run, "\xD6\xD0\xD6"), run);
    std::string longRun;
    for (int i = 0; i < 1000; ++i) longRun += "\xD6\xD0";
    longRun += "\xD0\xD6";
    // Candidates every byte; only the last two bytes form a character of their own.
    EXPECT_EQ(cp936::mbsstr(longRun.c_str(), "\xD0\xD6"), longRun.c_str() + 2000);
}

TEST(Mbcs936, LeadByteBeforeTerminatorIsOneCharacter) {
    const char* text = "ab\xB0";
    EXPECT_EQ(cp936::mbschr(text, 0xB0), text + 2);
    EXPECT_EQ(cp936::mbschr(text, 0), text + 3);
    unsigned char set[] = {0xB0, 0};
    EXPECT_EQ(cp936::mbscspn(reinterpret_cast<const unsigned char*>(text), set), 2u);
}

TEST(Mbcs936, CaseConversionLeavesPairsAlone) {
    char text[] = "Ab\xB0" "A" "Cd";
    cp936::mbslwr(text);
    EXPECT_STREQ(text, "ab\xB0" "A" "cd");
    cp936::mbsupr(text);
    EXPECT_STREQ(text, "AB\xB0" "A" "CD");
}

TEST(Mbcs936, ComparisonsByCharacterValue) {
    EXPECT_EQ(cp936::mbsnbcmp("abc", "abd", 2), 0);
    EXPECT_LT(cp936::mbsnbcmp("abc", "abd", 3), 0);
    EXPECT_GT(cp936::mbsnbcmp("abd", "abc", 9), 0);
    EXPECT_EQ(cp936::mbsnbicmp("HeLLo", "hello", 5), 0);
    EXPECT_NE(cp936::mbsnbicmp("\xB0" "A", "\xB0" "a", 2), 0); // trail bytes keep their case
    EXPECT_LT(cp936::mbsnbcmp("ab", "abc", 3), 0);
    // 0xFF is a one-byte character, smaller than any pair.
    EXPECT_LT(cp936::mbscmp("\xFF", "\xB0\xA1"), 0);
    EXPECT_EQ(cp936::mbscmp("\xB0\xA1x", "\xB0\xA1x"), 0);
}

TEST(Mbcs936, SpanAndBoundedCopy) {
    auto u = [](const char* s) { return reinterpret_cast<const unsigned char*>(s); };
    EXPECT_EQ(cp936::mbsspn(u("  \t x"), u(" \t")), 4u);
    EXPECT_EQ(cp936::mbscspn(u("abc;d"), u(";,")), 3u);
    EXPECT_EQ(cp936::mbscspn(u("\xB0;x;"), u(";")), 3u); // B0 3B is a pair, not a semicolon
    EXPECT_EQ(cp936::mbsspn(u("\xD6\xD0\xD6\xD0z"), u("\xD6\xD0")), 4u);

    unsigned char dest[6];
    std::memset(dest, 'Z', sizeof dest);
    cp936::mbsnbcpy(dest, u("a\xD6\xD0"), 2); // the pair does not fit
    EXPECT_EQ(dest[0], 'a');
    EXPECT_EQ(dest[1], 0);
    EXPECT_EQ(dest[2], 'Z');
    cp936::mbsnbcpy(dest, u("ab"), 5); // padded like strncpy
    EXPECT_EQ(std::memcmp(dest, "ab\0\0\0Z", 6), 0);
}

} // namespace
