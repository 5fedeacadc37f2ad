// CRegExp: compilation, searches, replacement, copies, hostile inputs, random patterns against the reference.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "RegReference.h"
#include "regex/RegExp.h"

namespace {

// Space-separated lists. [a-\xB0] is a range down (signed, 0xB0 < 'a'); [a-a] would start after its
// last byte; ten groups are one too many.
TEST(RegCompile, MalformedPatternsAnswerNullAndLimitsThatStillCompile) {
    std::istringstream malformed(
        "a** a*+ a+? a?* (a ((a) a) a)b ()* (|a)+ (a?)* (^)* *a + ? (*a) a|*b (|+) [b-a] "
        "[abc [ [^ [] a\\ \\ ^* $+ [a-\xB0] [a-a] (a)(b)(c)(d)(e)(f)(g)(h)(i)(j) "
        "((((((((((a))))))))))");
    for (std::string pattern; malformed >> pattern;) {
        CRegExp re;
        EXPECT_EQ(re.RegComp(pattern.c_str()), nullptr) << pattern;
        EXPECT_EQ(re.RegFind("a"), -1) << pattern;
    }
    CRegExp re;
    EXPECT_EQ(re.RegComp(nullptr), nullptr);
    std::istringstream fine("(a)(b)(c)(d)(e)(f)(g)(h)(i) ^? a| | () (a|) [\x81-\xFE] \\* a\\\\ [\x7E-\x7F]");
    for (std::string pattern; fine >> pattern;) EXPECT_EQ(re.RegComp(pattern.c_str()), &re) << pattern;
    EXPECT_EQ(re.RegComp(""), &re);
}

TEST(RegCompile, FailedCompilationKeepsTheEarlierProgramAndLongProgramsAreRefused) {
    CRegExp re;
    ASSERT_NE(re.RegComp("abc"), nullptr);
    EXPECT_EQ(re.RegComp("a**"), nullptr);
    EXPECT_EQ(re.RegFind("xxabc"), 2);
    EXPECT_EQ(re.GetFindLen(), 3);
    EXPECT_EQ(re.RegComp(std::string(40000, 'a').c_str()), nullptr); // 16-bit offsets cannot span it
    std::string alternatives;
    for (int i = 0; i < 4000; ++i) alternatives += "ab|";
    EXPECT_EQ(re.RegComp((alternatives + "c").c_str()), nullptr);
    std::string fits(20000, 'a');
    ASSERT_EQ(re.RegComp(fits.c_str()), &re);
    EXPECT_EQ(re.RegFind(("x" + fits).c_str()), 1);
}

// Compiles pattern (it must compile) and searches subject; the offset or -1.
int Find(CRegExp& re, const char* pattern, const std::string& subject) {
    EXPECT_EQ(re.RegComp(pattern), &re) << pattern;
    return re.RegFind(subject.c_str());
}

std::string Replace(CRegExp& re, const char* templ) {
    std::unique_ptr<char[]> out(re.GetReplaceString(templ));
    return out ? std::string(out.get()) : std::string("<null>");
}

std::string Group(const CRegExp& re, int n) {
    return re.GroupStart(n) && re.GroupEnd(n) ? std::string(re.GroupStart(n), re.GroupEnd(n)) : "<unset>";
}

// Each pattern on its subject: the offset of the match and its length, and group 1 and 2. Patterns
// of letters a to c, anchors and the basic operators are compared with the recursive matcher on
// random subjects; these add other bytes, bracket edges, escapes, GBK pairs and long subjects.
TEST(RegFind, LeftmostGreedyMatchesGroupsSetsAndPairs) {
    std::string as(40, 'a'), longAs(20000, 'a'), abs;
    for (int i = 0; i < (1 << 19); ++i) abs += "ab";
    const struct {
        const char* pattern;
        std::string subject;
        int offset, length;
        const char *group1 = nullptr, *group2 = nullptr;
    } cases[] = {
        {"", "xyz", 0, 0},
        {"[-a]+", "xb-a-q", 2, 3},
        {"[]a]+", "x]a]", 1, 3},
        {"[a-]+", "x-a-", 1, 3},
        {"[^a-d]+", "abxd", 2, 1},
        {"[^0-9]*", "12ab3", 0, 0}, // the empty match at 0 comes first
        {"\\(+", "a((", 1, 2},
        // A pattern's leading literal is looked for at character starts only: here 0xCE is a trail byte.
        {"\xCE\xC4", "x\xB0\xCE\xC4", -1, 0},
        {"\xCE\xC4", "\xCE\xC4\xB0\xCE\xC4\xCE\xC4", 0, 2},
        {"\xCE\xC4z", "\xCE\xC4\xB0\xCE\xC4\xE3\xCE\xC4z", 6, 3},
        {"\x95|x", "x\x95|x", 1, 3}, // '|' as a trail byte is no alternation
        {"[\xD6\xD0]+", "a\xD6\xD0\xD6\xD0z", 1, 4},
        // A repeated negated set steps over whole pairs, even when their lead byte is in the set.
        {"[^\xD6\xD0]*z", "\xD6\xCEz", 0, 3},
        {"(a|b)+c", "xxbac", 2, 3, "a"},             // a group holds its last repetition
        {"(a|ab)(c|bcd)", "abcd", 0, 4, "a", "bcd"}, // leftmost-first, not longest
        {"((a)|b)+", "ab", 0, 2, "b", "a"},          // group 2 keeps its value from the earlier pass
        // A complex atom repeated once per byte of a megabyte: no native stack frame per repetition.
        {"(a|b)*c", abs + "c", 0, (int)abs.size() + 1, "b"},
        {"(ab)+$", abs, 0, (int)abs.size()},
        // Exponential for plain backtracking: every split of the a's is tried before moving on.
        {"(a|aa)*c", as, -1, 0},
        {"(a|aa)*c", as + "bc", 41, 1}, // the must string is there
        {"(.+)+[b]", as, -1, 0},
        {"(a+)+b", as + "c" + as + "b", 41, 41},
        {"(a*b|a)*[c]", longAs, -1, 0},
        {"a*a*a*a*$", longAs, 0, 20000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        CRegExp re;
        EXPECT_EQ(Find(re, c.pattern, c.subject), c.offset);
        EXPECT_EQ(re.GetFindLen(), c.length);
        if (c.group1) {
            EXPECT_EQ(Group(re, 1), c.group1);
        }
        if (c.group2) {
            EXPECT_EQ(Group(re, 2), c.group2);
        }
    }
}

TEST(RegFind, ReplacementTemplateAndAFailureFreesTheFoundText) {
    CRegExp re;
    EXPECT_EQ(re.RegFind("abc"), -1); // never compiled
    ASSERT_EQ(Find(re, "(a|b)+c", "xxbac"), 2);
    EXPECT_EQ(Replace(re, "\\1\\\\&"), "a\\bac");
    EXPECT_EQ(Replace(re, "[\\0]"), "[bac]");
    EXPECT_EQ(Replace(re, "\\&\\x\\"), "&\\x\\");
    EXPECT_EQ(Replace(re, "\\2\\9-"), "-"); // unset groups add nothing
    EXPECT_EQ(Replace(re, ""), "");
    EXPECT_EQ(re.GetReplaceString(nullptr), nullptr);
    ASSERT_EQ(Find(re, "(x*)y", "ay"), 1);
    EXPECT_EQ(Replace(re, "<\\1>"), "<>"); // an empty group adds nothing
    EXPECT_EQ(re.RegFind("abc"), -1);      // refused at once: the required "y" is absent
    EXPECT_EQ(re.GetFindLen(), 0) << "a failed search keeps nothing of the last match";
    EXPECT_EQ(Find(re, "b", "abc"), 1);
    EXPECT_EQ(re.RegFind("xyz"), -1);
    EXPECT_EQ(Replace(re, "&"), "<null>");
    EXPECT_EQ(re.GetFindLen(), 0);
    EXPECT_EQ(re.RegFind(nullptr), -1);
}

TEST(RegFind, CopiesOwnTheirBuffers) {
    CRegExp re;
    ASSERT_EQ(Find(re, "b(c)", "abcd"), 1);
    CRegExp copy(re);
    EXPECT_NE(copy.Program(), re.Program());
    EXPECT_EQ(Replace(copy, "&\\1"), "bcc");
    EXPECT_EQ(re.RegFind("zzz"), -1); // frees re's found text, not the copy's
    EXPECT_EQ(Replace(copy, "&"), "bc");
    CRegExp assigned;
    ASSERT_NE(assigned.RegComp("q+"), nullptr);
    assigned = copy;
    CRegExp& alias = assigned;
    assigned = alias;
    EXPECT_EQ(Replace(assigned, "\\1"), "c");
    ASSERT_NE(re.RegComp("zz*"), nullptr); // the copies keep their own programs
    EXPECT_EQ(assigned.RegFind("abc"), 1);
    EXPECT_EQ(copy.RegFind("xxbc"), 2);
    CRegExp fresh;
    CRegExp empty(fresh);
    EXPECT_EQ(empty.RegFind("a"), -1);
}

} // namespace

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
