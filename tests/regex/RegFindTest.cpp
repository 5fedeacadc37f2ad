// CRegExp searching: leftmost matches, groups, the replacement template, copies, and hostile inputs.
#include "regex/RegExp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Compiles pattern (it must compile) and searches subject; the offset or -1.
int Find(CRegExp& re, const char* pattern, const char* subject) {
    EXPECT_EQ(re.RegComp(pattern), &re) << pattern;
    return re.RegFind(subject);
}

std::string Replace(CRegExp& re, const char* templ) {
    std::unique_ptr<char[]> out(re.GetReplaceString(templ));
    return out ? std::string(out.get()) : std::string("<null>");
}

std::string Group(const CRegExp& re, int n) {
    if (!re.GroupStart(n) || !re.GroupEnd(n)) return "<unset>";
    return std::string(re.GroupStart(n), re.GroupEnd(n));
}

// Each pattern on its subject: the offset of the match and its length (-1: not checked). Patterns
// of letters a to c, anchors and the basic operators are compared with the recursive matcher on
// random subjects; these add other bytes, bracket edges, escapes and GBK pairs.
TEST(RegFind, LeftmostGreedyMatchesAnchorsSetsAndPairs) {
    const struct {
        const char *pattern, *subject;
        int offset, length;
    } cases[] = {
        {"a.*b", "aXbYbZ", 0, 5},
        {"^$", "", 0, 0},
        {"", "xyz", 0, 0},
        {"[-a]+", "xb-a-q", 2, 3},
        {"[]a]+", "x]a]", 1, 3},
        {"[^0-9]*", "12ab3", 0, 0}, // the empty match at 0 comes first
        {"[^0-9]+", "12ab3", 2, 2},
        {"a\\.b", "axb a.b", 4, 3},
        {"\\(+", "a((", 1, 2},
        // \xD6\xD0\xCE\xC4 is the two-character word for "Chinese".
        {"\xCE\xC4", "ab\xD6\xD0\xCE\xC4", 4, 2},
        // A pattern's leading literal is looked for at character starts only: here 0xCE is a trail byte.
        {"\xCE\xC4", "x\xB0\xCE\xC4", -1, -1},
        {"\xCE\xC4", "\xCE\xC4\xB0\xCE\xC4\xCE\xC4", 0, 2},
        {"\xCE\xC4z", "\xCE\xC4\xB0\xCE\xC4\xE3\xCE\xC4z", 6, 3},
        {"\x95|x", "x\x95|x", 1, 3}, // '|' as a trail byte is no alternation
        {"[\xD6\xD0]+", "a\xD6\xD0\xD6\xD0z", 1, 4},
        // A repeated negated set steps over whole pairs, even when their lead byte is in the set.
        {"[^\xD6\xD0]*z", "\xD6\xCEz", 0, 3},
    };
    for (const auto& c : cases) {
        CRegExp re;
        EXPECT_EQ(Find(re, c.pattern, c.subject), c.offset) << c.pattern << " on " << c.subject;
        if (c.length >= 0) {
            EXPECT_EQ(re.GetFindLen(), c.length) << c.pattern << " on " << c.subject;
        }
    }
}

TEST(RegFind, GroupHoldsTheLastRepetition) {
    CRegExp re;
    EXPECT_EQ(Find(re, "(a|b)+c", "xxbac"), 2);
    EXPECT_EQ(re.GetFindLen(), 3);
    EXPECT_EQ(Group(re, 1), "a");
    EXPECT_EQ(Find(re, "(a|ab)(c|bcd)", "abcd"), 0); // leftmost-first, not longest
    EXPECT_EQ(Group(re, 1), "a");
    EXPECT_EQ(Group(re, 2), "bcd");
    EXPECT_EQ(Find(re, "(x)?y", "y"), 0);
    EXPECT_EQ(Group(re, 1), "<unset>");
    EXPECT_EQ(Find(re, "((a)|b)+", "ab"), 0); // group 2 keeps its value from the earlier pass
    EXPECT_EQ(Group(re, 1), "b");
    EXPECT_EQ(Group(re, 2), "a");
}

TEST(RegFind, FailureFreesTheFoundText) {
    CRegExp re;
    EXPECT_EQ(re.RegFind("abc"), -1); // never compiled
    EXPECT_EQ(Find(re, "b", "abc"), 1);
    EXPECT_EQ(Replace(re, "&"), "b");
    EXPECT_EQ(re.RegFind("xyz"), -1);
    EXPECT_EQ(Replace(re, "&"), "<null>");
    EXPECT_EQ(re.GetFindLen(), 0);
    EXPECT_EQ(re.RegFind(nullptr), -1);
}

TEST(RegFind, ReplacementTemplate) {
    CRegExp re;
    ASSERT_EQ(Find(re, "(a|b)+c", "xxbac"), 2);
    EXPECT_EQ(Replace(re, "\\1\\\\&"), "a\\bac");
    EXPECT_EQ(Replace(re, "[\\0]"), "[bac]");
    EXPECT_EQ(Replace(re, "\\&\\x\\"), "&\\x\\");
    EXPECT_EQ(Replace(re, "\\2\\9-"), "-"); // unset groups add nothing
    EXPECT_EQ(Replace(re, ""), "");
    EXPECT_EQ(re.GetReplaceString(nullptr), nullptr);
    ASSERT_EQ(Find(re, "(x*)y", "ay"), 1);
    EXPECT_EQ(Replace(re, "<\\1>"), "<>"); // an empty group adds nothing
}

TEST(RegFind, CopiesOwnTheirBuffers) {
    CRegExp re;
    ASSERT_EQ(Find(re, "b(c)", "abcd"), 1);
    CRegExp copy(re);
    EXPECT_NE(copy.Program(), re.Program());
    EXPECT_EQ(Replace(copy, "&\\1"), "bcc");
    EXPECT_EQ(re.RegFind("zzz"), -1); // frees re's found text, not the copy's
    EXPECT_EQ(Replace(copy, "&"), "bc");
    EXPECT_EQ(copy.RegFind("xxbc"), 2);

    CRegExp assigned;
    ASSERT_NE(assigned.RegComp("q+"), nullptr);
    assigned = copy;
    EXPECT_EQ(assigned.RegFind("abc"), 1);
    CRegExp& alias = assigned;
    assigned = alias;
    EXPECT_EQ(Replace(assigned, "\\1"), "c");
    ASSERT_NE(re.RegComp("zz*"), nullptr); // the copies keep their own programs
    EXPECT_EQ(assigned.RegFind("abc"), 1);

    CRegExp fresh;
    CRegExp empty(fresh);
    EXPECT_EQ(empty.RegFind("a"), -1);
}

// A complex atom repeated once per subject byte: a recursive matcher would need a native stack
// frame per repetition.
TEST(RegFindHostile, MegabyteSubjectUnderARepeatedGroup) {
    std::string subject;
    for (int i = 0; i < (1 << 19); ++i) subject += "ab";
    std::string ended = subject + "c";
    CRegExp re;
    EXPECT_EQ(Find(re, "(a|b)*c", ended.c_str()), 0);
    EXPECT_EQ(re.GetFindLen(), (int)ended.size());
    EXPECT_EQ(Group(re, 1), "b");
    EXPECT_EQ(Find(re, "(a|b)*[cd]", subject.c_str()), -1);
    EXPECT_EQ(Find(re, "(ab)+$", subject.c_str()), 0);
    EXPECT_EQ(re.GetFindLen(), (int)subject.size());
    EXPECT_EQ(Find(re, "x|(b|a)+", subject.c_str()), 0);
    EXPECT_EQ(re.GetFindLen(), (int)subject.size());
}

// Exponential for plain backtracking: every split of the a's is tried before the search moves on.
TEST(RegFindHostile, ExponentialPatternsAnswerAtOnce) {
    std::string as(40, 'a');
    CRegExp re;
    EXPECT_EQ(Find(re, "(a|aa)*c", as.c_str()), -1);
    EXPECT_EQ(Find(re, "(a|aa)*c", (as + "bc").c_str()), 41); // the must string is there
    EXPECT_EQ(re.GetFindLen(), 1);
    EXPECT_EQ(Find(re, "(a|aa)*[c]", as.c_str()), -1);
    EXPECT_EQ(Find(re, "((a|a)(a|a))*[b]", as.c_str()), -1);
    EXPECT_EQ(Find(re, "(.+)+[b]", as.c_str()), -1);
    EXPECT_EQ(Find(re, "(a+)+b", (as + "c" + as + "b").c_str()), 41);
    std::string long_as(20000, 'a');
    EXPECT_EQ(Find(re, "(a*b|a)*[c]", long_as.c_str()), -1);
    EXPECT_EQ(Find(re, ".*.*.*[c]", long_as.c_str()), -1);
    EXPECT_EQ(Find(re, "a*a*a*a*$", long_as.c_str()), 0);
    EXPECT_EQ(re.GetFindLen(), (int)long_as.size());
}

} // namespace
