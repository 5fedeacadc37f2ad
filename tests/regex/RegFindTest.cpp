// CRegExp searching: leftmost matches, groups, the replacement template, copies, and hostile inputs.
#include "regex/RegExp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

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
