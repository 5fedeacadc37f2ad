// Random patterns and subjects: the heap-stack matcher must give the recursive matcher's match and groups.
#include "RegReference.h"
#include "regex/RegExp.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#ifndef TESSOLIN_REGEX_DIFF_PATTERNS
#define TESSOLIN_REGEX_DIFF_PATTERNS 6000
#endif

namespace {

std::string RandomPattern(std::mt19937& rng) {
    static const char* const pieces[] = {"a", "b", "c",    "ab",   ".", "(", ")",   "|",     "*",
                                         "+", "?", "[ab]", "[^a]", "^", "$", "\\.", "(a|b)", "[a-c]"};
    std::string p;
    size_t n = 1 + rng() % 9;
    for (size_t k = 0; k < n; ++k) p += pieces[rng() % (sizeof pieces / sizeof *pieces)];
    return p;
}

std::string RandomSubject(std::mt19937& rng) {
    std::string s;
    size_t n = rng() % 18;
    for (size_t k = 0; k < n; ++k) s += "aabc."[rng() % 5];
    return s;
}

TEST(RegDifferential, MatchesAndGroupsEqualTheRecursiveMatcher) {
    std::mt19937 rng(7);
    int compiled = 0, compared = 0;
    for (int round = 0; compiled < TESSOLIN_REGEX_DIFF_PATTERNS && round < 50 * TESSOLIN_REGEX_DIFF_PATTERNS;
         ++round) {
        std::string pattern = RandomPattern(rng);
        CRegExp re;
        if (re.RegComp(pattern.c_str()) == nullptr) continue;
        ++compiled;
        for (int s = 0; s < 6; ++s) {
            std::string subject = RandomSubject(rng);
            CRegReference::Result want = CRegReference(re.Program(), 200000).Find(subject.c_str());
            if (!want.decided) continue;
            ++compared;
            int got = re.RegFind(subject.c_str());
            ASSERT_EQ(got, want.offset) << "/" << pattern << "/ on \"" << subject << "\"";
            if (got < 0) continue;
            for (int g = 0; g < CRegExp::kGroups; ++g) {
                ASSERT_EQ(re.GroupStart(g), want.startp[g])
                    << "/" << pattern << "/ on " << subject << " group " << g;
                ASSERT_EQ(re.GroupEnd(g), want.endp[g])
                    << "/" << pattern << "/ on " << subject << " group " << g;
            }
        }
    }
    EXPECT_GT(compiled, TESSOLIN_REGEX_DIFF_PATTERNS / 2);
    EXPECT_GT(compared, compiled);
}

} // namespace
