// Rule tables: bucket hash (including GBK bytes and negative sums), lookup order, case and defaults.
#include "coloring/ColorRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

COLORREF KeywordColor(const CColorRuleSet& rules, const char* word) {
    CKeywordInfo* found = rules.KeywordLookup(word, (int)std::strlen(word));
    return found ? found->Color() : 0xFFFFFFFF;
}

TEST(RuleDefaults, ConstructorsCarryTheDefaultColoursAndBucketsAreNeverNegative) {
    CCommentInfo comment;
    EXPECT_EQ(std::vector<COLORREF>({CKeywordInfo().Color(), CTitleInfo().Color(), comment.Color(),
                                     CQuoteInfo().Color(), CColorRuleSet().GetTextColor()}),
              std::vector<COLORREF>({RGB(0, 0, 200), RGB(200, 0, 200), RGB(0, 200, 0), RGB(0, 200, 200), 0}));
    EXPECT_EQ(comment.Begin() + comment.End(), "//\n");
    // The bucket is the signed byte sum modulo 113: 0xB5 0xDA sums to -113, 0xFF to -1.
    const std::pair<const char*, int> buckets[] = {{"", 0}, {"A", 65}, {"\xB5\xDA", 0}, {"\xFF", 112}};
    for (const auto& c : buckets)
        EXPECT_EQ(CColorRuleSet::Bucket(c.first, (int)std::strlen(c.first)), c.second) << c.first;
}

TEST(RuleLookup, CaseBucketsTablesAndTheFirstRegistration) {
    CColorRuleSet rules;
    const char chapter[] = "\xB5\xDA\xD2\xBB\xD5\xC2";
    EXPECT_EQ(rules.AddKeyword(chapter, 0x123) + rules.AddTitle(chapter, 0x456), 2);
    rules.AddKeyword("END", 0x1);
    rules.AddKeyword("END", 0x2);
    rules.AddKeyword("A", 0x10);
    rules.AddKeyword("Aq", 0x20); // "Aq" lands in the bucket of "A"
    rules.AddTitle("Chapter", 0x5);
    rules.SetDefaults(0x11, 0x22, 0x33);
    EXPECT_EQ(std::vector<COLORREF>({KeywordColor(rules, chapter), rules.TitleLookup(chapter, 6)->Color(),
                                     KeywordColor(rules, "END"), KeywordColor(rules, "A"),
                                     KeywordColor(rules, "Aq"), rules.GetTextColor(), rules.GetSecondColor(),
                                     rules.GetThirdColor()}),
              std::vector<COLORREF>({0x123, 0x456, 0x1, 0x10, 0x20, 0x11, 0x22, 0x33}));
    EXPECT_EQ(rules.TitleLookup(chapter, 4), nullptr);
    for (const char* absent : {"end", "EN", "ENDS", "Chapter"})
        EXPECT_EQ(KeywordColor(rules, absent), 0xFFFFFFFF);
    EXPECT_NE(rules.TitleLookup("Chapter", 7), nullptr);
    EXPECT_EQ(rules.AddKeyword(nullptr, 1), 1);
    EXPECT_NE(rules.KeywordLookup("", 0), nullptr);
    // Comments and quotes keep their registration order.
    rules.AddComment(";", "\n", 0x1);
    rules.AddComment("\"", "\"", 0x2);
    rules.AddQuote("'", "'", 0x3);
    ASSERT_EQ(rules.GetCommentCount() * 10 + rules.GetQuoteCount(), 21);
    EXPECT_EQ(rules.GetComment(0)->Begin() + rules.GetQuote(0)->End(), ";'");
    EXPECT_EQ(rules.GetComment(1)->Color(), 0x2u);
    EXPECT_EQ(rules.GetComment(2), nullptr);
    EXPECT_EQ(rules.GetComment(-1), nullptr);
}

} // namespace
