// Rule tables: bucket hash (including GBK bytes and negative sums), lookup order, case and defaults.
#include "coloring/ColorRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

COLORREF KeywordColor(const CColorRuleSet& rules, const char* word) {
    CKeywordInfo* found = rules.KeywordLookup(word, (int)std::strlen(word));
    return found ? found->Color() : 0xFFFFFFFF;
}

TEST(RuleDefaults, ConstructorsAndTheSetCarryTheDefaultColours) {
    EXPECT_EQ(CKeywordInfo().Color(), RGB(0, 0, 200));
    EXPECT_EQ(CTitleInfo().Color(), RGB(200, 0, 200));
    CCommentInfo comment;
    EXPECT_EQ(comment.Color(), RGB(0, 200, 0));
    EXPECT_EQ(comment.Begin() + comment.End(), "//\n");
    EXPECT_EQ(CQuoteInfo().Color(), RGB(0, 200, 200));
    CColorRuleSet rules;
    EXPECT_EQ(rules.GetTextColor(), 0u);
    rules.SetDefaults(0x11, 0x22, 0x33);
    EXPECT_EQ(rules.GetTextColor() + rules.GetSecondColor() * 0x100 + rules.GetThirdColor() * 0x10000,
              0x332211u);
    // The bucket is the signed byte sum modulo 113: 0xB5 0xDA sums to -113.
    const std::pair<const char*, int> buckets[] = {{"", 0}, {"A", 65}, {"\xB5\xDA", 0}, {"\xFF", 112}};
    for (const auto& c : buckets)
        EXPECT_EQ(CColorRuleSet::Bucket(c.first, (int)std::strlen(c.first)), c.second) << c.first;
}

TEST(RuleLookup, CaseBucketsTablesAndTheFirstRegistration) {
    CColorRuleSet rules;
    const char chapter[] = "\xB5\xDA\xD2\xBB\xD5\xC2";
    EXPECT_EQ(rules.AddKeyword(chapter, 0x123), 1);
    EXPECT_EQ(rules.AddTitle(chapter, 0x456), 1);
    rules.AddKeyword("END", 0x1);
    rules.AddKeyword("END", 0x2);
    rules.AddKeyword("A", 0x10);
    rules.AddKeyword("Aq", 0x20); // "Aq" lands in the bucket of "A"
    rules.AddTitle("Chapter", 0x5);
    EXPECT_EQ(KeywordColor(rules, chapter), 0x123u);
    ASSERT_NE(rules.TitleLookup(chapter, 6), nullptr);
    EXPECT_EQ(rules.TitleLookup(chapter, 6)->Color(), 0x456u);
    EXPECT_EQ(rules.TitleLookup(chapter, 4), nullptr);
    EXPECT_EQ(KeywordColor(rules, "END"), 0x1u);
    for (const char* absent : {"end", "EN", "ENDS", "Chapter"})
        EXPECT_EQ(KeywordColor(rules, absent), 0xFFFFFFFF);
    EXPECT_EQ(KeywordColor(rules, "A"), 0x10u);
    EXPECT_EQ(KeywordColor(rules, "Aq"), 0x20u);
    EXPECT_NE(rules.TitleLookup("Chapter", 7), nullptr);
    EXPECT_EQ(rules.AddKeyword(nullptr, 1), 1);
    EXPECT_NE(rules.KeywordLookup("", 0), nullptr);
    // Comments and quotes keep their registration order.
    rules.AddComment(";", "\n", 0x1);
    rules.AddComment("\"", "\"", 0x2);
    rules.AddQuote("'", "'", 0x3);
    ASSERT_EQ(rules.GetCommentCount(), 2);
    EXPECT_EQ(rules.GetComment(0)->Begin(), ";");
    EXPECT_EQ(rules.GetComment(1)->Color(), 0x2u);
    EXPECT_EQ(rules.GetComment(2), rules.GetComment(-1));
    EXPECT_EQ(rules.GetComment(2), nullptr);
    ASSERT_EQ(rules.GetQuoteCount(), 1);
    EXPECT_EQ(rules.GetQuote(0)->End(), "'");
}

} // namespace
