// CRegExp compilation: the node program's shape, bracket members, and every malformed pattern refused.
#include "regex/RegExp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<unsigned char> ProgramBytes(const CRegExp& re) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(re.Program());
    return std::vector<unsigned char>(p, p + re.ProgramSize());
}

// The operand of the single node inside a one-alternative pattern (after BRANCH at 0, node at 3).
std::string SoleOperand(const CRegExp& re) {
    return std::string(re.Program() + 6);
}

TEST(RegCompile, StarOfOneByteIsAStarNodeAfterTheLiteral) {
    CRegExp re;
    ASSERT_EQ(re.RegComp("ab*"), &re);
    // BRANCH -> END; EXACTLY "a" -> STAR; STAR(EXACTLY "b") -> END; END.
    std::vector<unsigned char> expected = {6, 16, 0, 8, 5, 0, 'a', 0, 10, 8, 0, 8, 0, 0, 'b', 0, 0, 0, 0};
    EXPECT_EQ(ProgramBytes(re), expected);
}

TEST(RegCompile, ComplexStarIsABranchLoopWithABackwardLink) {
    CRegExp re;
    ASSERT_NE(re.RegComp("(a)*"), nullptr);
    const char* p = re.Program();
    ASSERT_EQ(p[3], CRegExp::BRANCH); // the loop's first alternative
    EXPECT_EQ(p[6], CRegExp::OPEN + 1);
    bool sawBack = false;
    for (long at = 0; at + 3 <= re.ProgramSize();) { // nodes in layout order
        char op = p[at];
        if (op == CRegExp::BACK) {
            int16_t offset = (int16_t)((unsigned char)p[at + 1] | ((unsigned char)p[at + 2] << 8));
            EXPECT_EQ(p + at - offset, p + 3); // leads back to the loop's BRANCH
            sawBack = true;
        }
        at += 3;
        if (op == CRegExp::EXACTLY || op == CRegExp::ANYOF || op == CRegExp::ANYBUT)
            at += (long)std::string(p + at).size() + 1;
    }
    EXPECT_TRUE(sawBack);
}

TEST(RegCompile, BracketMembersAtTheEdges) {
    CRegExp re;
    ASSERT_NE(re.RegComp("[-a]"), nullptr);
    EXPECT_EQ(re.Program()[3], CRegExp::ANYOF);
    EXPECT_EQ(SoleOperand(re), "-a");
    ASSERT_NE(re.RegComp("[]a]"), nullptr);
    EXPECT_EQ(SoleOperand(re), "]a");
    ASSERT_NE(re.RegComp("[a-]"), nullptr);
    EXPECT_EQ(SoleOperand(re), "a-");
    ASSERT_NE(re.RegComp("[^a-d]"), nullptr);
    EXPECT_EQ(re.Program()[3], CRegExp::ANYBUT);
    EXPECT_EQ(SoleOperand(re), "abcd");
    ASSERT_NE(re.RegComp("[a-b]"), nullptr); // a range adds the bytes after its first one
    EXPECT_EQ(SoleOperand(re), "ab");
}

TEST(RegCompile, LiteralRunGivesItsLastByteToAnOperator) {
    CRegExp re;
    ASSERT_NE(re.RegComp("abc+"), nullptr);
    EXPECT_EQ(re.Program()[3], CRegExp::EXACTLY);
    EXPECT_EQ(SoleOperand(re), "ab");
    // A double-byte character whose trail byte is '|' stays inside the literal.
    ASSERT_NE(re.RegComp("\x95|x"), nullptr);
    EXPECT_EQ(SoleOperand(re), "\x95|x");
}

TEST(RegCompile, MalformedPatternsAnswerNull) {
    const char* malformed[] = {"a**",
                               "a*+",
                               "a+?",
                               "a?*",
                               "(a",
                               "((a)",
                               "a)",
                               "a)b",
                               "()*",
                               "(|a)+",
                               "(a?)*",
                               "(^)*",
                               "*a",
                               "+",
                               "?",
                               "(*a)",
                               "a|*b",
                               "(|+)",
                               "[b-a]",
                               "[abc",
                               "[",
                               "[^",
                               "[]",
                               "a\\",
                               "\\",
                               "^*",
                               "$+",
                               "[a-\xB0]", // signed: 0xB0 < 'a'
                               "[a-a]",    // the range would start after its last byte
                               "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)",
                               "((((((((((a))))))))))"};
    for (const char* pattern : malformed) {
        CRegExp re;
        EXPECT_EQ(re.RegComp(pattern), nullptr) << pattern;
        EXPECT_EQ(re.RegFind("a"), -1) << pattern;
    }
    CRegExp re;
    EXPECT_EQ(re.RegComp(nullptr), nullptr);
}

TEST(RegCompile, LimitsThatStillCompile) {
    const char* fine[] = {"(a)(b)(c)(d)(e)(f)(g)(h)(i)",
                          "^?",
                          "a|",
                          "|",
                          "",
                          "()",
                          "(a|)",
                          "[\x81-\xFE]",
                          "\\*",
                          "a\\\\",
                          "[\x7E-\x7F]"};
    for (const char* pattern : fine) {
        CRegExp re;
        EXPECT_EQ(re.RegComp(pattern), &re) << pattern;
    }
}

TEST(RegCompile, FailedCompilationKeepsTheEarlierProgram) {
    CRegExp re;
    ASSERT_NE(re.RegComp("abc"), nullptr);
    EXPECT_EQ(re.RegComp("a**"), nullptr);
    EXPECT_EQ(re.RegFind("xxabc"), 2);
    EXPECT_EQ(re.GetFindLen(), 3);
}

TEST(RegCompile, ProgramTooLongForItsOffsetsIsRefused) {
    CRegExp re;
    std::string huge(40000, 'a');
    EXPECT_EQ(re.RegComp(huge.c_str()), nullptr); // one literal: 16-bit offsets cannot span it
    std::string alternatives;
    for (int i = 0; i < 4000; ++i) alternatives += "ab|";
    alternatives += "c";
    EXPECT_EQ(re.RegComp(alternatives.c_str()), nullptr);
    std::string fits(20000, 'a');
    ASSERT_EQ(re.RegComp(fits.c_str()), &re);
    EXPECT_EQ(re.RegFind(("x" + fits).c_str()), 1);
}

} // namespace
