// CStringEx: block growth, edits, searches, sub-strings and fields, on the edge cases that break them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
} // namespace

TEST(StringExBlock, GrowsInWholeStepsAndKeepsBytes) {
    CStringEx s;
    EXPECT_EQ(s.GetTextSize(), 0);
    EXPECT_EQ(s.GetBuffer(), nullptr);
    ASSERT_TRUE(s.SetBufferSize(65536));
    EXPECT_EQ(s.GetTextSize(), 1);
    EXPECT_EQ(s.GetAt(0), 0);
    EXPECT_EQ(s.GetCapacity(), 65536);

    std::string body(65529, 'x');
    body[0] = 'A';
    s.Insert(0, body.c_str());
    ASSERT_EQ(s.GetTextSize(), 65530);
    EXPECT_EQ(s.GetCapacity(), 65536);
    s.Insert(65529, "0123456789");
    EXPECT_EQ(s.GetTextSize(), 65540);
    EXPECT_EQ(s.GetCapacity(), 131072);
    EXPECT_EQ(s.GetAt(0), 'A');
    EXPECT_EQ(std::string(s.GetBuffer() + 65529, 10), "0123456789");
    EXPECT_EQ(s.GetAt(65539), 0);

    CStringEx big;
    std::string many(70000, 'b');
    big.Insert(0, many.c_str());
    EXPECT_EQ(big.GetCapacity(), 131072);
    EXPECT_EQ(big.GetTextSize(), 70000);
}

TEST(StringExBlock, CopiesOwnTheirBlockAndClearReleases) {
    CStringEx a;
    Fill(a, "hello");
    CStringEx b;
    b = a;
    EXPECT_NE(a.GetBuffer(), b.GetBuffer());
    EXPECT_EQ(Bytes(a), Bytes(b));
    EXPECT_EQ(b.GetCapacity(), a.GetCapacity());
    b.SetAt(0, 'J');
    EXPECT_EQ(a.GetAt(0), 'h');
    a.ClearContents();
    EXPECT_EQ(a.GetCapacity(), 0);
    EXPECT_EQ(a.GetTextSize(), 0);
    EXPECT_EQ(a.GetBuffer(), nullptr);
    EXPECT_EQ(a.Find('h'), -1);
    EXPECT_TRUE(a.Mid(0, 3).IsEmpty());
}

TEST(StringExBlock, AppendAndSelfInsertion) {
    CStringEx s;
    s.Append("abc");
    EXPECT_EQ(s.GetTextSize(), 3);
    EXPECT_EQ(s.GetCapacity(), 65536);
    s.Append("de");
    EXPECT_STREQ(s.GetBuffer(), "abcde");
    s.Insert(1, s.GetBuffer() + 3); // the inserted text lives inside the moving bytes
    EXPECT_STREQ(s.GetBuffer(), "adebcde");
    EXPECT_FALSE(s.Insert(100, "x"));
    EXPECT_FALSE(s.AllocationFailed());
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
        end += 70000;
        const char *source, *rest;
        int sourceSize, restSize;
        s.GetPieces(end - 70000, end, source, sourceSize, rest, restSize);
        ASSERT_EQ(sourceSize, 70000); // behind the gap, more than its room again
        ASSERT_TRUE(s.Insert(mid + 5, source));
        model.insert((size_t)mid + 5, model.substr((size_t)end - 70000, 70000));

        EXPECT_EQ(s.GetBuffer(), block); // both widened inside the block
        EXPECT_EQ(s.GetCapacity() == capacity, room > 140000);
        EXPECT_TRUE(Bytes(s) == model);
    }
}

TEST(StringExBlock, ImpossibleGrowthIsReportedNotFatal) {
    CStringEx s;
    Fill(s, "ab");
    s.SetLength(0x7fff0000); // a length no block can grow past
    EXPECT_FALSE(s.Insert(0, "xyz"));
    EXPECT_TRUE(s.AllocationFailed());
    s.SetLength(3);
    EXPECT_EQ(Bytes(s), std::string("ab\0", 3));
    s.ClearAllocationFailure();
    EXPECT_FALSE(s.AllocationFailed());
}

TEST(StringExEdit, OutOfRangeEditsClampAndTheZeroMoves) {
    CStringEx s;
    Fill(s, "abcdef");
    s.Delete(s.GetTextSize(), 5);
    EXPECT_EQ(s.GetTextSize(), 7);
    s.Delete(1, 2);
    EXPECT_EQ(Bytes(s), std::string("adef\0", 5));
    s.Delete(2, -1);
    EXPECT_STREQ(s.GetBuffer(), "ad");
    s.Insert(1, '\0');
    EXPECT_EQ(s.GetTextSize(), 2);
}

TEST(StringExSubstring, ClampsEveryBound) {
    CStringEx s;
    Fill(s, "abcdef"); // 7 bytes with the zero
    EXPECT_STREQ(s.Mid(-3, 2), "ab");
    EXPECT_TRUE(s.Mid(8, 2).IsEmpty());
    EXPECT_STREQ(s.Left(17), "abcdef");
    EXPECT_STREQ(s.Right(3), "ef"); // the last 3 bytes end with the zero byte
    EXPECT_TRUE(s.Left(-4).IsEmpty());
    char dest[16];
    s.Mid(4, 100, dest);
    EXPECT_STREQ(dest, "ef");
    s.Right(100, dest);
    EXPECT_STREQ(dest, "abcdef");
    s.AllocCopy(dest, 2, 1, 1);
    EXPECT_STREQ(dest, "bcd");
    CString out;
    s.AllocCopy(out, 1, 3, 0);
    EXPECT_STREQ(out, "d");
}

// Each search of the text "xaby<GBK pair>Q" and "abcab" with the answer it must give.
TEST(StringExSearch, ForwardReverseAndCaseBlind) {
    CStringEx s, r;
    Fill(s, "xaby\xb0\xa1Q");
    Fill(r, "abcab");
    const struct {
        int got, want;
    } cases[] = {
        {s.FindNoCase("AB"), 1},
        {s.Find("AB"), -1},
        {s.Find('y', 3), 3},
        {s.Find('y', 4), -1},
        {s.FindNoCase('B'), 2},
        {s.FindNoCase('q'), 6},
        {s.FindNoCase('z'), -1},
        {s.Find("\xa1Q"), -1}, // a match never starts on a trail byte
        {s.Find("x", 1000), -1},
        {r.ReverseFind("a", 0), 0},
        {r.ReverseFind("ab"), 3},
        {r.ReverseFind("ab", 2), 0},
        {r.ReverseFindNoCase("CA"), 2},
        {r.ReverseFindNoCase('B', -1), 4},
        {r.ReverseFind(""), -1},
        {r.ReverseFind("zz"), -1},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k) EXPECT_EQ(cases[k].got, cases[k].want) << k;
    EXPECT_STREQ(s.GetBuffer(), "xaby\xb0\xa1Q"); // searching never changes the text
}

TEST(StringExSearch, ReplaceResumesAfterTheReplacement) {
    CStringEx u;
    Fill(u, "aa");
    EXPECT_EQ(u.FindReplace("a", "aa", 1), 2);
    EXPECT_STREQ(u.GetBuffer(), "aaaa");
    EXPECT_EQ(u.FindReplace("", "x", 1), 0);
    EXPECT_EQ(u.GetTextSize(), 5);
}

TEST(StringExFields, SplitsAndDelimiters) {
    CStringEx s, d, b, q;
    Fill(s, "a,b,c");
    Fill(d, "x::y::::z");
    Fill(b, "[one] [two] [three");
    Fill(q, "'a' 'b'");
    EXPECT_EQ(s.GetFieldCount(','), 3);
    EXPECT_EQ(s.GetFieldCount(""), 1);
    EXPECT_EQ(d.GetFieldCount("::"), 4);
    const struct {
        CString got;
        const char* want;
    } cases[] = {
        {s.GetField(',', 0), "a"},
        {s.GetField(',', 2), "c"},
        {s.GetField(',', 5), ""},
        {s.GetField(',', -1), ""},
        {d.GetField("::", 1), "y"},
        {d.GetField("::", 2), ""},
        {d.GetField("::", 3), "z"},
        {d.GetField("::", 4), ""},
        {b.GetDelimitedField("[", "]", 0), "one"},
        {b.GetDelimitedField("[", "]", 1), "two"},
        {b.GetDelimitedField("[", "]", 2), ""},
        {b.GetDelimitedField("[", "]", -1), ""},
        // Equal markers: the second pass starts just after the first opening quote, at its close.
        {q.GetDelimitedField("'", "'", 1), " "},
        {q.GetDelimitedField("", "", 1000000000), ""},
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; ++k)
        EXPECT_STREQ(cases[k].got, cases[k].want) << k;
}

TEST(StringExCase, ConversionLeavesDoubleByteCharacters) {
    CStringEx s;
    Fill(s, "ab\xc1\x61Z");
    s.MakeUpper();
    EXPECT_STREQ(s.GetBuffer(), "AB\xc1\x61Z");
    s.MakeLower();
    EXPECT_STREQ(s.GetBuffer(), "ab\xc1\x61z");
}

// The byte search across the gap against a literal search of the contiguous bytes: hits before,
// after and straddling the gap, a zero byte ending the search, letters folded only when asked,
// lead bytes compared exactly, texts long enough for the sixteen-byte steps; the gap stays put.
TEST(StringExSearch, ByteSearchAcrossTheGapAgreesWithALiteralSearch) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? (char)(c + 32) : c; };
    auto literal = [&](const std::string& text, int start, const std::string& find, bool folded) {
        std::string t = text + '\0'; // the guard zero behind the text
        for (size_t q = (size_t)start; q < text.size() && t[q] != 0; ++q) {
            size_t k = 0;
            while (k < find.size() && (folded ? fold(t[q + k]) == fold(find[k]) : t[q + k] == find[k])) ++k;
            if (k == find.size()) return (int)q;
        }
        return -1;
    };
    const char alphabet[] = {'a', 'A', 'b', 'B', 'x', '\xB5', '\xC1', 'a', 'b'};
    unsigned seed = 12345;
    auto next = [&seed](unsigned bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        size_t length = next(4) == 0 ? next(200) : next(20);
        for (size_t i = 0; i < length; ++i) text += next(60) == 0 ? '\0' : alphabet[next(sizeof alphabet)];
        CStringEx s;
        s.SetBufferSize(65536);
        for (size_t i = 0; i < text.size(); ++i) s.Insert((int)i, text[i] != 0 ? text[i] : 'z');
        int gapAt = (int)next((unsigned)text.size() + 1);
        s.Insert(gapAt, 'a'); // the gap now sits right behind this byte
        text.insert((size_t)gapAt, 1, 'a');
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == 0) s.SetAt((int)i, 0); // a zero cannot be inserted as text
        std::string find;
        for (size_t i = 0, n = 1 + next(4); i < n; ++i) find += alphabet[next(sizeof alphabet)];
        int start = (int)next((unsigned)text.size() + 1);
        bool folded = next(2) == 0;
        const char *first, *second;
        int firstSize, secondSize;
        s.GetPieces(0, s.GetTextSize(), first, firstSize, second, secondSize);
        ASSERT_EQ(s.SearchBytes(start, find.c_str(), folded), literal(text, start, find, folded))
            << "round " << round << " start " << start << " gap " << gapAt + 1 << " fold " << folded;
        const char *first2, *second2;
        int firstSize2, secondSize2;
        s.GetPieces(0, s.GetTextSize(), first2, firstSize2, second2, secondSize2);
        ASSERT_EQ(firstSize2, firstSize) << "the search moved the gap";
    }
    CStringEx s;
    Fill(s, "abc");
    EXPECT_EQ(s.SearchBytes(4, "a", false), -1) << "start past the end";
    EXPECT_EQ(s.SearchBytes(-1, "a", false), -1);
    EXPECT_EQ(s.SearchBytes(1, "", true), 1);
    EXPECT_EQ(s.SearchBytes(0, nullptr, true), -1);
}
