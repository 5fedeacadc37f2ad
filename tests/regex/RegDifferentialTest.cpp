// Random patterns and subjects: the heap-stack matcher must give the recursive matcher's match and groups.
#include "RegReference.h"
#include "regex/RegExp.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#ifndef TESSOLIN_REGEX_DIFF_PATTERNS
#define TESSOLIN_REGEX_DIFF_PATTERNS 6000
#endif

TEST(RegDifferential, MatchesAndGroupsEqualTheRecursiveMatcher) {
    static const char* const pieces[] = {"a", "b", "c",    "ab",   ".", "(", ")",   "|",     "*",
                                         "+", "?", "[ab]", "[^a]", "^", "$", "\\.", "(a|b)", "[a-c]"};
    std::mt19937 rng(7);
    int compiled = 0, compared = 0;
    for (int round = 0; compiled < TESSOLIN_REGEX_DIFF_PATTERNS && round < 50 * TESSOLIN_REGEX_DIFF_PATTERNS;
         ++round) {
        std::string pattern;
        for (size_t n = 1 + rng() % 9; n > 0; --n)
            pattern += pieces[rng() % (sizeof pieces / sizeof *pieces)];
        CRegExp re;
        if (re.RegComp(pattern.c_str()) == nullptr) continue;
        ++compiled;
        for (int s = 0; s < 6; ++s) {
            std::string subject;
            for (size_t n = rng() % 18; n > 0; --n) subject += "aabc."[rng() % 5];
            CRegReference::Result want = CRegReference(re.Program(), 200000).Find(subject.c_str());
            if (!want.decided) continue;
            ++compared;
            SCOPED_TRACE("/" + pattern + "/ on \"" + subject + "\"");
            ASSERT_EQ(re.RegFind(subject.c_str()), want.offset);
            for (int g = 0; want.offset >= 0 && g < CRegExp::kGroups; ++g) {
                ASSERT_EQ(re.GroupStart(g), want.startp[g]) << "group " << g;
                ASSERT_EQ(re.GroupEnd(g), want.endp[g]) << "group " << g;
            }
        }
    }
    EXPECT_GT(compiled, TESSOLIN_REGEX_DIFF_PATTERNS / 2);
    EXPECT_GT(compared, compiled);
}
