// Regular-expression hits line by line against the standard library's ECMAScript engine over random
// texts and patterns of the syntax both share (seeded), then the cases only this code page has.
#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "BufferText.h"
#include "views/model/LineRegex.h"

namespace {
struct Hit {
    int start, end;
    std::string group1; // as the reference captured it
    bool operator==(const Hit& o) const { return start == o.start && end == o.end; }
};

// Every hit of the pattern in the text, each line searched from its start and then on from each
// hit's end (one byte on after an empty hit); '^' holds only at a line's start.
std::vector<Hit> ReferenceHits(const std::string& text, const std::regex& re) {
    std::vector<Hit> hits;
    for (size_t lineStart = 0; lineStart <= text.size();) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        for (size_t column = 0; column <= line.size();) {
            std::smatch m;
            auto flags =
                column > 0 ? std::regex_constants::match_prev_avail : std::regex_constants::match_default;
            if (!std::regex_search(line.begin() + (long)column, line.end(), m, re, flags)) break;
            int start = (int)(column + (size_t)m.position(0)), end = start + (int)m.length(0);
            hits.push_back({(int)lineStart + start, (int)lineStart + end, m.str(1)});
            column = (size_t)(end > start ? end : start + 1);
        }
        lineStart = lineEnd + 1;
    }
    return hits;
}

std::string RandomPattern(std::mt19937& rng) {
    static const char* const atoms[] = {"a", "b", " ", ".", "[ab]", "[^a]", "ab", "(a|b)", "(b|ab|)"};
    static const char* const repeats[] = {"", "", "*", "+", "?"};
    std::string pattern = rng() % 5 == 0 ? "^" : "";
    for (int k = (int)(rng() % 3) + 1; k > 0; --k)
        pattern += std::string(atoms[rng() % 9]) + repeats[rng() % 5];
    pattern += "(" + std::string(atoms[rng() % 3]) + repeats[rng() % 5] + ")";
    if (rng() % 5 == 0) pattern += "$";
    if (rng() % 6 == 0) pattern = "b|" + pattern;
    return pattern;
}

std::vector<Hit> AllHits(CLineRegex& regex, const BufferText& text) {
    std::vector<Hit> hits;
    CRegexHit hit;
    for (int from = 0; regex.FindFrom(text, from, {}, hit);
         from = hit.end > hit.start ? hit.end : hit.start + 1)
        hits.push_back({hit.start, hit.end, ""});
    return hits;
}
} // namespace

TEST(LineRegex, HitsBackwardHitsAndReplaceAllAgreeWithTheStandardEngine) {
    std::mt19937 rng(4242);
    int compared = 0;
    for (int round = 0; round < 1500; ++round) {
        std::string text;
        for (int k = (int)(rng() % 40); k > 0; --k) text += "abAB \n"[rng() % 6];
        const std::string pattern = RandomPattern(rng);
        const bool matchCase = rng() % 2 != 0;
        std::regex reference;
        try {
            reference = std::regex(pattern, matchCase ? std::regex::ECMAScript : std::regex::icase);
        } catch (const std::regex_error&) {
            continue;
        }
        CLineRegex regex;
        if (!regex.Compile(pattern.c_str(), matchCase)) continue;
        ++compared;
        BufferText buffer(text);
        const std::vector<Hit> expected = ReferenceHits(text, reference);
        ASSERT_EQ(AllHits(regex, buffer), expected) << "[" << pattern << "] in [" << text << "]";

        const int before = (int)(rng() % (text.size() + 1));
        CRegexHit last;
        const Hit* wanted = nullptr;
        for (const Hit& h : expected)
            if (h.start < before) wanted = &h;
        ASSERT_EQ(regex.FindBefore(buffer, before, {}, last), wanted != nullptr)
            << pattern << " before " << before;
        if (wanted != nullptr) {
            ASSERT_EQ((Hit{last.start, last.end, ""}), *wanted) << pattern << " before " << before;
        }

        std::string replaced = text;
        for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
            std::string whole = text.substr((size_t)it->start, (size_t)(it->end - it->start));
            replaced.replace((size_t)it->start, (size_t)(it->end - it->start),
                             "<" + whole + "|" + it->group1 + ">");
        }
        std::string applied = text;
        for (const CTextChange& change : regex.ReplaceAll(buffer, {}, "<&|\\1>"))
            applied.replace((size_t)change.pos, (size_t)change.count, change.text);
        ASSERT_EQ(applied, replaced) << "[" << pattern << "] in [" << text << "]";
    }
    EXPECT_GT(compared, 1000);
}

TEST(LineRegex, MalformedPatternsAreRefusedAndGbkPairsStayWhole) {
    CLineRegex regex;
    for (const char* bad : {"", "(", "a)", "a**", "[b-a", "\\", "*a"})
        EXPECT_FALSE(regex.Compile(bad, true)) << bad;
    // A pair whose trail byte is '^' is a character, not a line start, and is found inside a line.
    BufferText pairs("x\xB5^ \xB5"
                     "A\n");
    CRegexHit hit;
    ASSERT_TRUE(regex.Compile("\xB5^", true));
    ASSERT_TRUE(regex.FindFrom(pairs, 0, {}, hit));
    EXPECT_EQ(hit.start, 1);
    // Case-blind, a trail byte that is a capital letter stays as it is in the line and the pattern.
    ASSERT_TRUE(regex.Compile("a", false));
    EXPECT_FALSE(regex.FindFrom(pairs, 0, {}, hit));
    ASSERT_TRUE(regex.Compile("\xB5"
                              "A",
                              false));
    ASSERT_TRUE(regex.FindFrom(pairs, 2, {}, hit));
    EXPECT_EQ(hit.start, 4);
    // A refused hit moves the search on a whole character.
    ASSERT_TRUE(regex.Compile(".", true));
    ASSERT_TRUE(regex.FindFrom(
        pairs, 1, [](int start, int) { return start != 1; }, hit));
    EXPECT_EQ(hit.start, 3);
    // Groups and the escapes of the template, read from the text in its own case.
    BufferText fields("NPOIN = 42\nnpoin = 7\n");
    ASSERT_TRUE(regex.Compile("^npoin = ([0-9]+)$", false));
    std::string out;
    for (const CTextChange& change : regex.ReplaceAll(fields, {}, "\\1 \\& \\\\ &")) out += change.text + ";";
    EXPECT_EQ(out, "42 & \\ NPOIN = 42;7 & \\ npoin = 7;");
}
