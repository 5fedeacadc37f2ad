// CStringEx: block growth, edits, searches, sub-strings and fields, on the edge cases that break them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "text/StringEx.h"

namespace {
// A string holding body plus the documents' trailing zero byte inside the length.
void Fill(CStringEx& s, const char* body) {
    s.SetBufferSize(65536);
    s.Insert(0, body);
}
std::string Bytes(const CStringEx& s) {
    return std::string(s.GetBuffer(), (size_t)s.GetTextSize());
}
std::vector<std::string> Strings(std::initializer_list<CString> list) {
    return std::vector<std::string>(list.begin(), list.end());
}
} // namespace

// The block grows in whole steps of 64 KiB; copies own their block; clearing releases it. Appending,
// inserting text that lives inside the moving bytes, clamped and refused edits.
TEST(StringExBlock, GrowsInWholeStepsCopiesClearsAndRefusesEdits) {
    CStringEx s, big, copy, t;
    EXPECT_EQ(s.GetBuffer(), nullptr);
    ASSERT_TRUE(s.SetBufferSize(65536));
    EXPECT_EQ(Bytes(s), std::string(1, '\0'));
    s.Insert(0, ("A" + std::string(65528, 'x')).c_str());
    EXPECT_EQ(s.GetCapacity(), 65536);
    s.Insert(65529, "0123456789");
    EXPECT_EQ(std::vector<int>({s.GetTextSize(), s.GetCapacity(), s.GetAt(0)}),
              std::vector<int>({65540, 131072, 'A'}));
    EXPECT_EQ(std::string(s.GetBuffer() + 65529, 11), std::string("0123456789", 11));
    big.Insert(0, std::string(70000, 'b').c_str());
    EXPECT_EQ(big.GetCapacity(), 131072);
    copy = s;
    EXPECT_NE(copy.GetBuffer(), s.GetBuffer());
    EXPECT_EQ(Bytes(copy), Bytes(s));
    s.ClearContents();
    EXPECT_EQ(s.GetCapacity() + s.GetTextSize(), 0);
    EXPECT_EQ(s.GetBuffer(), nullptr);
    EXPECT_EQ(s.Find('h'), -1);
    EXPECT_EQ(copy.GetAt(0), 'A');
    s.Append("abc");
    EXPECT_EQ(s.GetCapacity(), 65536);
    s.Append("de");
    s.Insert(1, s.GetBuffer() + 3);
    EXPECT_STREQ(s.GetBuffer(), "adebcde");
    EXPECT_FALSE(s.Insert(100, "x"));
    Fill(t, "abcdef");
    t.Delete(t.GetTextSize(), 5);
    t.Delete(1, 2);
    EXPECT_EQ(Bytes(t), std::string("adef\0", 5));
    t.Delete(2, -1);
    t.Insert(1, '\0');
    EXPECT_EQ(Bytes(t), "ad");
    EXPECT_FALSE(t.AllocationFailed());
    t.SetLength(0x7fff0000); // a length no block can grow past: reported, not fatal
    EXPECT_FALSE(t.Insert(0, "xyz"));
    EXPECT_TRUE(t.AllocationFailed());
    t.SetLength(2);
    EXPECT_EQ(Bytes(t), "ad");
    t.ClearAllocationFailure();
    EXPECT_FALSE(t.AllocationFailed());
}

// A text of a few MB owns a reserve beyond its capacity, and a loaded one often spare capacity: the
// gap is widened a step at a time inside them, the block stays, and the bytes after an open gap
// follow its end, also when the inserted bytes are among them.
TEST(StringExBlock, WideningTheGapKeepsTheBytesAfterIt) {
    for (int room : {2, 1 << 20}) { // growth into the reserve, then room within the capacity
        SCOPED_TRACE("room " + std::to_string(room));
        std::string model;
        for (int i = 0; model.size() < (8u << 20); ++i) model += std::to_string(i) + (i % 7 ? ' ' : '\n');
        int mid = (int)model.size() / 2, end = mid + 170000; // a zero byte ends the self-insertion's source
        model[(size_t)end] = 0;
        CStringEx s;
        ASSERT_TRUE(s.SetBufferSize((int)model.size() + room));
        std::memcpy(s.GetBuffer(), model.data(), model.size());
        s.SetLength((int)model.size());
        const char* block = s.GetBuffer();
        int capacity = s.GetCapacity();
        std::string typed(70000, 't'); // more than a gap of a step holds
        ASSERT_TRUE(s.Insert(mid, typed.c_str()));
        model.insert((size_t)mid, typed);
        const char *source, *rest;
        int sourceSize, restSize;
        s.GetPieces(end, end + 70000, source, sourceSize, rest, restSize);
        ASSERT_EQ(sourceSize, 70000); // behind the gap, more than its room again
        ASSERT_TRUE(s.Insert(mid + 5, source));
        model.insert((size_t)mid + 5, model.substr((size_t)end, 70000));
        EXPECT_EQ(s.GetBuffer(), block); // both widened inside the block
        EXPECT_EQ(s.GetCapacity() == capacity, room > 140000);
        EXPECT_TRUE(Bytes(s) == model);
    }
}

// Sub-strings clamp every bound; the last 3 bytes end with the zero byte.
TEST(StringExSubstring, ClampsEveryBound) {
    CStringEx s;
    Fill(s, "abcdef");
    char dest[16], copied[16];
    s.Mid(4, 100, dest);
    s.AllocCopy(copied, 2, 1, 1);
    CString out;
    s.AllocCopy(out, 1, 3, 0);
    EXPECT_EQ(Strings({s.Mid(-3, 2), s.Mid(8, 2), s.Left(17), s.Right(3), s.Left(-4), dest, copied, out}),
              Strings({"ab", "", "abcdef", "ef", "", "ef", "bcd", "d"}));
    s.Right(100, dest);
    EXPECT_STREQ(dest, "abcdef");
}

// Each search of "xaby<GBK pair>Q" and "abcab" with its answer; case conversion leaves pairs alone;
// a replacement resumes after what it put in.
TEST(StringExSearch, ForwardReverseCaseBlindAndReplace) {
    CStringEx s, r, u, c;
    Fill(s, "xaby\xb0\xa1Q");
    Fill(r, "abcab");
    EXPECT_EQ(std::vector<int>({s.FindNoCase("AB"), s.Find("AB"), s.Find('y', 3), s.Find('y', 4)}),
              std::vector<int>({1, -1, 3, -1}));
    EXPECT_EQ(std::vector<int>({s.FindNoCase('B'), s.FindNoCase('q'), s.FindNoCase('z'), s.Find("\xa1Q")}),
              std::vector<int>({2, 6, -1, -1}));
    EXPECT_EQ(std::vector<int>(
                  {s.Find("x", 1000), r.ReverseFind("a", 0), r.ReverseFind("ab"), r.ReverseFind("ab", 2)}),
              std::vector<int>({-1, 0, 3, 0}));
    EXPECT_EQ(std::vector<int>({r.ReverseFindNoCase("CA"), r.ReverseFindNoCase('B', -1), r.ReverseFind(""),
                                r.ReverseFind("zz")}),
              std::vector<int>({2, 4, -1, -1}));
    EXPECT_EQ(std::vector<int>({s.SearchBytes(4, "a", false), s.SearchBytes(-1, "a", false),
                                s.SearchBytes(1, "", true), s.SearchBytes(0, nullptr, true)}),
              std::vector<int>({-1, -1, 1, -1}));
    EXPECT_STREQ(s.GetBuffer(), "xaby\xb0\xa1Q"); // searching never changes the text
    Fill(u, "aa");
    EXPECT_EQ(u.FindReplace("a", "aa", 1), 2);
    EXPECT_STREQ(u.GetBuffer(), "aaaa");
    EXPECT_EQ(u.FindReplace("", "x", 1), 0);
    EXPECT_EQ(u.GetTextSize(), 5);
    Fill(c, "ab\xc1\x61Z");
    c.MakeUpper();
    EXPECT_STREQ(c.GetBuffer(), "AB\xc1\x61Z");
    c.MakeLower();
    EXPECT_STREQ(c.GetBuffer(), "ab\xc1\x61z");
}

// Fields: equal markers make the second pass start just after the first opening quote, at its close.
TEST(StringExFields, SplitsAndDelimiters) {
    CStringEx s, d, b, q;
    Fill(s, "a,b,c");
    Fill(d, "x::y::::z");
    Fill(b, "[one] [two] [three");
    Fill(q, "'a' 'b'");
    EXPECT_EQ(s.GetFieldCount(',') * 100 + s.GetFieldCount("") * 10 + d.GetFieldCount("::"), 314);
    EXPECT_EQ(Strings({s.GetField(',', 0), s.GetField(',', 2), s.GetField(',', 5), s.GetField(',', -1),
                       d.GetField("::", 1), d.GetField("::", 2), d.GetField("::", 3), d.GetField("::", 4),
                       b.GetDelimitedField("[", "]", 0), b.GetDelimitedField("[", "]", 1),
                       b.GetDelimitedField("[", "]", 2), b.GetDelimitedField("[", "]", -1),
                       q.GetDelimitedField("'", "'", 1), q.GetDelimitedField("", "", 1000000000)}),
              Strings({"a", "c", "", "", "y", "", "z", "", "one", "two", "", "", " ", ""}));
}

// The byte search across the gap against a literal search of the contiguous bytes: hits before,
// after and straddling the gap, a zero byte ending the search, letters folded only when asked,
// lead bytes compared exactly, texts long enough for the sixteen-byte steps; the gap stays put.
TEST(StringExSearch, ByteSearchAcrossTheGapAgreesWithALiteralSearch) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? (char)(c + 32) : c; };
    auto literal = [&](std::string text, int start, std::string find, bool folded) {
        text.resize(std::min(text.size(), text.find('\0', (size_t)start))); // the search ends at a zero
        for (std::string* s : {&text, &find})
            for (char& c : *s) c = folded ? fold(c) : c;
        size_t hit = text.find(find, (size_t)start);
        return hit == std::string::npos ? -1 : (int)hit;
    };
    const char alphabet[] = {'a', 'A', 'b', 'B', 'x', '\xB5', '\xC1', 'a', 'b'};
    std::mt19937 rng(12345);
    auto next = [&rng](unsigned bound) { return (unsigned)(rng() % bound); };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (size_t n = next(4) == 0 ? next(200) : next(20); n > 0; --n)
            text += next(60) == 0 ? '\0' : alphabet[next(sizeof alphabet)];
        CStringEx s;
        s.SetBufferSize(65536);
        for (size_t i = 0; i < text.size(); ++i) s.Insert((int)i, text[i] != 0 ? text[i] : 'z');
        int gapAt = (int)next((unsigned)text.size() + 1);
        s.Insert(gapAt, 'a'); // the gap now sits right behind this byte
        text.insert((size_t)gapAt, 1, 'a');
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == 0) s.SetAt((int)i, 0); // a zero cannot be inserted as text
        std::string find;
        for (size_t n = 1 + next(4); n > 0; --n) find += alphabet[next(sizeof alphabet)];
        int start = (int)next((unsigned)text.size() + 1);
        bool folded = next(2) == 0;
        TextPieces before = s.Pieces();
        ASSERT_EQ(s.SearchBytes(start, find.c_str(), folded), literal(text, start, find, folded))
            << "round " << round << " start " << start << " gap " << gapAt + 1 << " fold " << folded;
        ASSERT_EQ(s.Pieces().firstSize, before.firstSize) << "the search moved the gap";
    }
}
