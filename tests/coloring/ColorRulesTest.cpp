// Rule tables: bucket hash (including GBK bytes and negative sums), lookup order, case and defaults.
#include "coloring/ColorRules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

CKeywordInfo* FindKeyword(const CColorRuleSet& rules, const char* word) {
    return rules.KeywordLookup(word, (int)std::strlen(word));
}

TEST(RuleDefaults, ConstructorsCarryTheDefaultColours) {
    EXPECT_EQ(CKeywordInfo().Color(), RGB(0, 0, 200));
    EXPECT_EQ(CTitleInfo().Color(), RGB(200, 0, 200));
    CCommentInfo comment;
    EXPECT_EQ(comment.Color(), RGB(0, 200, 0));
    EXPECT_EQ(comment.Begin(), "//");
    EXPECT_EQ(comment.End(), "\n");
    EXPECT_EQ(CQuoteInfo().Color(), RGB(0, 200, 200));
}

TEST(RuleBuckets, SignedByteSumModulo113) {
    EXPECT_EQ(CColorRuleSet::Bucket("", 0), 0);
    EXPECT_EQ(CColorRuleSet::Bucket("A", 1), 65);
    EXPECT_EQ(CColorRuleSet::Bucket("zz", 2), (122 * 2) % 113);
    // 0xB5 0xDA counts as -75 + -38 = -113: a negative sum lands on bucket 0, not a negative index.
    const char gbk[] = "\xB5\xDA";
    EXPECT_EQ(CColorRuleSet::Bucket(gbk, 2), 0);
    const char one[] = "\xFF";
    EXPECT_EQ(CColorRuleSet::Bucket(one, 1), 112);
}

TEST(RuleLookup, GbkKeywordsAreFoundAgain) {
    CColorRuleSet rules;
    const char chapter[] = "\xB5\xDA\xD2\xBB\xD5\xC2";
    EXPECT_EQ(rules.AddKeyword(chapter, 0x123), 1);
    EXPECT_EQ(rules.AddTitle(chapter, 0x456), 1);
    ASSERT_NE(FindKeyword(rules, chapter), nullptr);
    EXPECT_EQ(FindKeyword(rules, chapter)->Color(), 0x123u);
    ASSERT_NE(rules.TitleLookup(chapter, 6), nullptr);
    EXPECT_EQ(rules.TitleLookup(chapter, 6)->Color(), 0x456u);
    EXPECT_EQ(rules.TitleLookup(chapter, 4), nullptr);
}

TEST(RuleLookup, CaseSensitiveFirstRegistrationWins) {
    CColorRuleSet rules;
    rules.AddKeyword("END", 0x1);
    rules.AddKeyword("END", 0x2);
    EXPECT_EQ(FindKeyword(rules, "end"), nullptr);
    ASSERT_NE(FindKeyword(rules, "END"), nullptr);
    EXPECT_EQ(FindKeyword(rules, "END")->Color(), 0x1u);
    EXPECT_EQ(FindKeyword(rules, "EN"), nullptr);
    EXPECT_EQ(FindKeyword(rules, "ENDS"), nullptr);
}

TEST(RuleLookup, WordsSharingABucketAreBothFound) {
    // "A" sums to 65; "A" followed by 'q' (113) lands in the same bucket.
    CColorRuleSet rules;
    rules.AddKeyword("A", 0x10);
    rules.AddKeyword("Aq", 0x20);
    ASSERT_EQ(CColorRuleSet::Bucket("A", 1), CColorRuleSet::Bucket("Aq", 2));
    ASSERT_NE(FindKeyword(rules, "A"), nullptr);
    ASSERT_NE(FindKeyword(rules, "Aq"), nullptr);
    EXPECT_EQ(FindKeyword(rules, "A")->Color(), 0x10u);
    EXPECT_EQ(FindKeyword(rules, "Aq")->Color(), 0x20u);
}

TEST(RuleLookup, KeywordsAndTitlesAreSeparateTables) {
    CColorRuleSet rules;
    rules.AddTitle("Chapter", 0x5);
    EXPECT_EQ(FindKeyword(rules, "Chapter"), nullptr);
    EXPECT_NE(rules.TitleLookup("Chapter", 7), nullptr);
    EXPECT_EQ(rules.AddKeyword(nullptr, 1), 1);
    EXPECT_NE(FindKeyword(rules, ""), nullptr);
}

TEST(RuleLists, CommentsAndQuotesKeepRegistrationOrder) {
    CColorRuleSet rules;
    rules.AddComment(";", "\n", 0x1);
    rules.AddComment("\"", "\"", 0x2);
    rules.AddQuote("'", "'", 0x3);
    ASSERT_EQ(rules.GetCommentCount(), 2);
    EXPECT_EQ(rules.GetComment(0)->Begin(), ";");
    EXPECT_EQ(rules.GetComment(1)->Color(), 0x2u);
    EXPECT_EQ(rules.GetComment(2), nullptr);
    EXPECT_EQ(rules.GetComment(-1), nullptr);
    ASSERT_EQ(rules.GetQuoteCount(), 1);
    EXPECT_EQ(rules.GetQuote(0)->End(), "'");
}

TEST(RuleDefaults, SetDefaultsStoresAllThree) {
    CColorRuleSet rules;
    EXPECT_EQ(rules.GetTextColor(), 0u);
    rules.SetDefaults(0x11, 0x22, 0x33);
    EXPECT_EQ(rules.GetTextColor(), 0x11u);
    EXPECT_EQ(rules.GetSecondColor(), 0x22u);
    EXPECT_EQ(rules.GetThirdColor(), 0x33u);
}

} // namespace
