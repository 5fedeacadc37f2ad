// CRegExp compilation: the node program's shape, bracket members, and every malformed pattern refused.
#include "regex/RegExp.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The single node inside a one-alternative pattern (after BRANCH at 0, the node at 3) and its operand.
TEST(RegCompile, BracketMembersAndLiteralRuns) {
    const struct {
        const char* pattern;
        char op;
        const char* operand;
    } cases[] = {
        {"[]a]", CRegExp::ANYOF, "]a"},
        {"[a-]", CRegExp::ANYOF, "a-"},
        {"[^a-d]", CRegExp::ANYBUT, "abcd"},
        {"[a-b]", CRegExp::ANYOF, "ab"},        // a range adds the bytes after its first one
        {"abc+", CRegExp::EXACTLY, "ab"},       // a literal run gives its last byte to an operator
        {"\x95|x", CRegExp::EXACTLY, "\x95|x"}, // a pair whose trail byte is '|' stays in the literal
    };
    for (const auto& c : cases) {
        CRegExp re;
        ASSERT_NE(re.RegComp(c.pattern), nullptr) << c.pattern;
        EXPECT_EQ(re.Program()[3], c.op) << c.pattern;
        EXPECT_EQ(std::string(re.Program() + 6), c.operand) << c.pattern;
    }
}

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

} // namespace
