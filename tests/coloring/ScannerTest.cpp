// Colouring scanner: random texts against a reference scan, and what that cannot reach.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "coloring/ColorScanner.h"
#include "framework/base/Mbcs936.h"

// A text with its terminating zero, a rule set and a run list, scanned on request.
struct ScanFixture {
    std::string text; // includes the terminating zero
    CColorRuleSet rules;
    CColorArray runs;
    CMarkerIndex markers;

    explicit ScanFixture(const std::string& body) : text(body) { text += '\0'; }
    int Length() const { return (int)text.size(); }
    CColorScanner Scanner() { return CColorScanner(text.data(), Length(), runs, rules, markers); }
    void Scan(int start, int end) { Scanner().ParseTextColor(start, end); }
    // The runs as (end, colour) pairs.
    std::vector<std::pair<int, COLORREF>> Runs() {
        std::vector<std::pair<int, COLORREF>> out;
        for (int k = 0; k < runs.GetColorNumber(); ++k) out.emplace_back(runs.GetColorPos(k), runs.GetAt(k));
        return out;
    }
};

namespace {

typedef std::vector<std::pair<int, COLORREF>> Runs;

struct Rule {
    std::string begin, end, word;
    COLORREF color;
};

// The scanning rules stated directly over a std::string, with linear rule lists and the runtime's
// substring search; deliberately naive so that it is easy to check by eye.
struct ReferenceScan {
    const std::string& t;
    std::vector<Rule> keywords, titles, comments, quotes;
    COLORREF plain = 0;
    Runs runs;

    int L() const { return (int)t.size(); }
    unsigned char B(int p) const { return (p >= 0 && p < L()) ? (unsigned char)t[(size_t)p] : 0; }
    static bool Word(unsigned char c) { return isalpha(c) || c == '#' || c == '_' || c == '.'; }
    static bool Blank(unsigned char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }
    static bool Lead(unsigned char c) { return c >= 0x80; }
    bool At(int p, const std::string& m) const {
        return p + (int)m.size() <= L() && t.compare((size_t)p, m.size(), m) == 0;
    }
    int Search(int a, const char* m) const {
        const char* hit = cp936::mbsstr(t.c_str() + a, m);
        return hit ? (int)(hit - t.c_str()) : -1;
    }
    const Rule* Lookup(const std::vector<Rule>& list, const std::string& w) const {
        for (const Rule& r : list)
            if (r.word == w) return &r;
        return nullptr;
    }
    int LineRest(int p) const {
        if (B(p) == '\n') return p;
        while (!(B(p) == '\n' || p + 1 >= L())) ++p;
        return p;
    }
    bool Delim(int& pos, int end, const Rule& r, bool quote) {
        if (r.begin.empty() || r.end.empty() || pos >= end || !At(pos, r.begin)) return false;
        int a = pos + (int)r.begin.size(), e;
        int q = Search(a, r.end.c_str());
        if (q >= 0)
            e = q + (int)r.end.size();
        else if (quote)
            return false;
        else if ((q = Search(a, "\n")) >= 0)
            e = q;
        else
            e = (int)std::strlen(t.c_str() + a) + a + 1;
        if (e + 1 < L() && B(e) == '\n') ++e;
        runs.push_back({e, r.color});
        pos = e;
        return true;
    }
    bool Step(int& pos, int end) {
        if (Blank(B(pos))) {
            while (Blank(B(pos)) && pos < end) ++pos;
            runs.push_back({pos, plain});
            return true;
        }
        for (const Rule& r : comments)
            if (Delim(pos, end, r, false)) return true;
        for (const Rule& r : quotes)
            if (Delim(pos, end, r, true)) return true;
        if (Word(B(pos)) && pos < end) {
            int p = pos;
            while (p <= end && ++p < L() && Word(B(p))) {
            }
            std::string w = t.substr((size_t)pos, (size_t)(p - pos));
            pos = p;
            if (const Rule* k = Lookup(keywords, w)) return runs.push_back({pos, k->color}), true;
            if (const Rule* k = Lookup(titles, w))
                return pos = LineRest(pos), runs.push_back({pos, k->color}), true;
            runs.push_back({pos, plain});
        }
        if ((Lead(B(pos)) || B(pos) == '*') && pos < end) {
            int p = pos;
            while (!(B(p) == '\n' || p > end)) {
                int s = Lead(B(p)) ? 2 : 1;
                if (p + s >= L()) {
                    ++p;
                    break;
                }
                p += s;
                if (B(p) == ' ') break;
            }
            std::string w = t.substr((size_t)pos, (size_t)(p - pos));
            w = w.c_str();
            pos = p;
            if (const Rule* k = Lookup(titles, w))
                return pos = LineRest(pos), runs.push_back({pos, k->color}), true;
            runs.push_back({pos, plain});
        }
        if (pos >= end) return false;
        int p = pos;
        auto begins = [&](int x) {
            for (const Rule& r : comments)
                if (At(x, r.begin)) return true;
            for (const Rule& r : quotes)
                if (At(x, r.begin)) return true;
            return false;
        };
        if (!Word(B(p)))
            while (!(B(p) == '\n' || begins(p) || p >= L() - 1)) {
                p += Lead(B(p)) ? 2 : 1;
                if (Word(B(p))) break;
            }
        if (p != pos) pos = p, runs.push_back({pos, plain});
        return true;
    }
    void Scan(int start, int end) {
        for (int pos = start; pos < end;) {
            int before = pos;
            Step(pos, end);
            if (pos == before) {
                pos += (Lead(B(pos)) && pos + 2 <= L()) ? 2 : 1;
                runs.push_back({pos, plain});
            }
        }
    }
};

std::string RandomText(std::mt19937& rng, int n) {
    static const char* pieces[] = {"END", "end", "Chapter", "x_y", "#a",       "12",       " ",
                                   "\t",  "\n",  "\n\n",    ";",   "\"",       "'",        "/*",
                                   "*/",  "<",   ">",       "*H",  "\xB5\xDA", "\xD2\xBB", "\xB5\xDA\xD2\xBB",
                                   "+",   "-",   ".",       "q",   "\r"};
    std::string t;
    while ((int)t.size() < n) t += pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))];
    if (rng() % 3 == 0 && (unsigned char)t.back() < 0x80) t += '\xB5'; // dangling lead byte
    return t;
}

// Up to 3 keywords, 2 titles, 2 comments and a quote, registered with the scanner and the reference.
void AddRandomRules(std::mt19937& rng, ScanFixture& f, ReferenceScan& ref) {
    const char* words[] = {"END", "end", "x_y", "q", "Chapter", "#a"};
    const char* titles[] = {"Chapter", "*H", "\xB5\xDA\xD2\xBB", "\xB5\xDA", "end"};
    const std::pair<const char*, const char*> delims[] = {{";", "\n"}, {"\"", "\""}, {"'", "'"}, {"/*", "*/"},
                                                          {"<", ">"},  {"", ">"},    {"-", ""}};
    ref.plain = 0x100 + rng() % 7;
    f.rules.SetDefaults(ref.plain, 0, 0);
    std::vector<Rule>* lists[] = {&ref.keywords, &ref.titles, &ref.comments, &ref.quotes};
    for (int kind = 0; kind < 4; ++kind) {
        for (int i = 0, n = (int)(rng() % (kind == 0 ? 4 : kind == 3 ? 2 : 3)); i < n; ++i) {
            auto d = delims[rng() % 7];
            Rule r{d.first, d.second,
                   kind == 0   ? words[rng() % 6]
                   : kind == 1 ? titles[rng() % 5]
                               : "",
                   (COLORREF)(0x1000 * (kind + 1) + i)};
            if (kind == 0) f.rules.AddKeyword(r.word.c_str(), r.color);
            if (kind == 1) f.rules.AddTitle(r.word.c_str(), r.color);
            if (kind == 2) f.rules.AddComment(d.first, d.second, r.color);
            if (kind == 3) f.rules.AddQuote(d.first, d.second, r.color);
            lists[kind]->push_back(r);
        }
    }
}

// The runs tile the stretch; a second pass over the same text runs on remembered marker positions;
// the same text held in two pieces split at a random place, as the buffer's gap splits it.
TEST(ScannerModel, RandomTextsMatchTheReferenceAndTileTheStretch) {
    std::mt19937 rng(20261205);
    for (int round = 0; round < 3000; ++round) {
        ScanFixture f(RandomText(rng, 1 + (int)(rng() % 80)));
        ReferenceScan ref{f.text, {}, {}, {}, {}, 0, {}};
        AddRandomRules(rng, f, ref);
        int start = (int)(rng() % f.text.size());
        int end = start + (int)(rng() % (f.text.size() - start + 1));
        ref.Scan(start, end);
        SCOPED_TRACE("round " + std::to_string(round) + " start " + std::to_string(start) + " end " +
                     std::to_string(end));
        for (int pass = 0; pass < 2; ++pass) {
            f.Scan(start, end);
            ASSERT_EQ(f.Runs(), ref.runs);
            ASSERT_EQ(std::make_pair(f.runs.StartPos(), f.runs.GetSize()),
                      std::make_pair(start, (int)ref.runs.size()));
            for (size_t k = 0; k < ref.runs.size(); ++k)
                ASSERT_GT(ref.runs[k].first, k ? ref.runs[k - 1].first : start);
            if (start < end) {
                ASSERT_GE(ref.runs.back().first, end);
            }
            ASSERT_LE(ref.runs.empty() ? start : ref.runs.back().first, f.Length());
        }
        int split = (int)(rng() % (f.text.size() + 1));
        std::string left = f.text.substr(0, (size_t)split), right = f.text.substr((size_t)split);
        ScanFixture pieces(f.text.substr(0, f.text.size() - 1));
        CColorScanner(TextPieces{left.data(), split, right.data(), f.Length()}, pieces.runs, f.rules,
                      pieces.markers)
            .ParseTextColor(start, end);
        ASSERT_EQ(pieces.Runs(), ref.runs) << "split " << split;
    }
}

const COLORREF P = 0x000111, K = 0x0000FF, C = 0x00FF00, Q = 0x00FFFF;

// With GBK characters on, a byte with bit 7 set pairs only as the code page pairs: a lead byte
// before a space stands alone (the space ends its title token), and 0x80 leads nothing, so the quote
// mark after it opens a quote.
TEST(Scanner, GbkCharactersPairOnlyALeadByteWithATrailByte) {
    ScanFixture f("\xB0 END \x80'q'\n");
    f.rules.SetDefaults(P, 0, 0);
    f.rules.AddKeyword("END", K);
    f.rules.AddQuote("'", "'", Q);
    auto colors = [&](std::initializer_list<int> positions) {
        std::vector<COLORREF> out;
        Runs runs = f.Runs();
        for (int pos : positions)
            for (size_t k = 0; k < runs.size(); ++k)
                if (pos < runs[k].first && pos >= (k ? runs[k - 1].first : f.runs.StartPos()))
                    out.push_back(runs[k].second);
        return out;
    };
    f.Scan(0, f.Length() - 1);
    // The space after 0xB0 is its second byte: END is part of the token; 0x80 takes the quote mark.
    EXPECT_EQ(colors({2, 7}), (std::vector<COLORREF>{P, P}));
    CColorScanner gbkScanner = f.Scanner();
    gbkScanner.UseGbkCharacters(true);
    gbkScanner.ParseTextColor(0, f.Length() - 1);
    EXPECT_EQ(colors({2, 6, 7, 8}), (std::vector<COLORREF>{K, P, Q, Q}));
}

TEST(Scanner, WordCommentTokenAndMarkerQueries) {
    ScanFixture f("12 34 ab"), c(";x\n\n\nz"), t("  +abc;d");
    CString word, begin, end;
    EXPECT_EQ(f.Scanner().GetKeywords(word, 0, 8, 0), 2); // digits are not word characters
    EXPECT_EQ(word, "12");
    EXPECT_EQ(f.Scanner().GetKeywords(word, 0, 8, 1), 0);
    EXPECT_TRUE(word.IsEmpty());
    c.rules.AddComment(";", "\n", C);
    int length = -1;
    EXPECT_EQ(c.Scanner().GetComment(0, begin, end, length, 0, 3), 4); // takes one empty line after it
    EXPECT_EQ(length, 3);
    EXPECT_EQ(begin, ";");
    EXPECT_EQ(c.Scanner().GetComment(0, begin, end, length, 1, 3), 1);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(c.Scanner().GetComment(4, begin, end, length, 0, 3), 0);
    t.rules.AddComment(";", "\n", C);
    t.rules.AddQuote("+", "+", Q);
    EXPECT_EQ(t.Scanner().GetToken(word, 0, 8, 1), 3);
    EXPECT_EQ(word, "abc");
    EXPECT_EQ(t.Scanner().IsComment(6) * 10 + t.Scanner().IsComment(5), 10);
    EXPECT_EQ(t.Scanner().IsQuote(2), 1);
    // The token may run onto the terminating zero, which the copied word leaves out.
    EXPECT_EQ(t.Scanner().GetTitle(word, 2, 8, 0), 9);
    EXPECT_EQ(word, "+abc;d");
}

TEST(Scanner, OutOfRangeStretchesAreHarmless) {
    ScanFixture f("ab cd");
    f.Scan(-5, 1000);
    EXPECT_EQ(f.runs.StartPos(), 0);
    ASSERT_GT(f.runs.GetColorNumber(), 0);
    EXPECT_EQ(f.Runs().back().first, f.Length());
    f.Scan(4, 2);
    EXPECT_EQ(f.runs.GetColorNumber(), 0);
    CColorArray runs;
    CColorRuleSet rules;
    CMarkerIndex markers;
    EXPECT_EQ(CColorScanner(nullptr, 7, runs, rules, markers).ParseTextColor(0, 7), 1);
    EXPECT_EQ(runs.GetColorNumber(), 0);
}

TEST(Scanner, ListingFormat) {
    ScanFixture f("END x");
    f.rules.SetDefaults(7, 0, 0);
    f.rules.AddKeyword("END", 255);
    const char* path = "coloring_listing_test.out";
    f.Scanner().ParseTextColor(0, 5, path);
    std::stringstream all;
    all << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_EQ(all.str(), "index=1  Pos=    3  Color= 255  string = END\r\n"
                         "index=2  Pos=    4  Color= 7  string =  \r\n"
                         "index=3  Pos=    5  Color= 7  string = x\r\n");
    std::remove(path);
}

} // namespace
