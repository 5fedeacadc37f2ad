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

TEST(StringExEdit, DeleteClampsAndCarriesTheZero) {
    CStringEx s;
    Fill(s, "abcdef");
    s.Delete(s.GetTextSize(), 5);
    EXPECT_EQ(s.GetTextSize(), 7);
    s.Delete(1, 2);
    EXPECT_EQ(Bytes(s), std::string("adef\0", 5));
    s.Delete(2, -1);
    EXPECT_EQ(s.GetTextSize(), 2);
    EXPECT_STREQ(s.GetBuffer(), "ad");
    s.Replace(1, 1, "XYZ");
    EXPECT_STREQ(s.GetBuffer(), "aXYZ");
    s.Insert(1, '\0');
    EXPECT_EQ(s.GetTextSize(), 4);
}

TEST(StringExSubstring, ClampsEveryBound) {
    CStringEx s;
    Fill(s, "abcdef");
    int n = s.GetTextSize();
    EXPECT_STREQ(s.Mid(-3, 2), "ab");
    EXPECT_TRUE(s.Mid(n + 1, 2).IsEmpty());
    EXPECT_STREQ(s.Mid(2), "cdef");
    EXPECT_STREQ(s.Left(n + 10), "abcdef");
    EXPECT_STREQ(s.Left(2), "ab");
    EXPECT_STREQ(s.Right(3), "ef"); // the last 3 bytes end with the zero byte
    EXPECT_TRUE(s.Left(-4).IsEmpty());
    char dest[16];
    s.Mid(4, 100, dest);
    EXPECT_STREQ(dest, "ef");
    s.Left(3, dest);
    EXPECT_STREQ(dest, "abc");
    s.Right(100, dest);
    EXPECT_STREQ(dest, "abcdef");
    s.AllocCopy(dest, 2, 1, 1);
    EXPECT_STREQ(dest, "bcd");
    CString out;
    s.AllocCopy(out, 1, 3, 0);
    EXPECT_STREQ(out, "d");
}

TEST(StringExSearch, ForwardAndCaseBlind) {
    CStringEx s;
    Fill(s, "xaby\xb0\xa1Q");
    EXPECT_EQ(s.FindNoCase("AB"), 1);
    EXPECT_EQ(s.Find("ab"), 1);
    EXPECT_EQ(s.Find("AB"), -1);
    EXPECT_EQ(s.Find('y', 3), 3);
    EXPECT_EQ(s.Find('y', 4), -1);
    EXPECT_EQ(s.FindNoCase('B'), 2);
    EXPECT_EQ(s.FindNoCase('q'), 6);
    EXPECT_EQ(s.FindNoCase('z'), -1);
    EXPECT_EQ(s.Find("\xa1Q"), -1);               // a match never starts on a trail byte
    EXPECT_STREQ(s.GetBuffer(), "xaby\xb0\xa1Q"); // searching never changes the text
    EXPECT_EQ(s.Find("x", 1000), -1);
}

TEST(StringExSearch, ReverseIncludesPositionZero) {
    CStringEx s;
    Fill(s, "abcab");
    EXPECT_EQ(s.ReverseFind("a", 0), 0);
    EXPECT_EQ(s.ReverseFind("ab"), 3);
    EXPECT_EQ(s.ReverseFind("ab", 2), 0);
    EXPECT_EQ(s.ReverseFindNoCase("CA"), 2);
    EXPECT_EQ(s.ReverseFindNoCase('B', -1), 4);
    EXPECT_EQ(s.ReverseFind(""), -1);
    EXPECT_EQ(s.ReverseFind("zz"), -1);
}

TEST(StringExSearch, ReplaceResumesAfterTheReplacement) {
    CStringEx s;
    Fill(s, "aaa");
    EXPECT_EQ(s.FindReplace("a", "b", 1), 3);
    EXPECT_STREQ(s.GetBuffer(), "bbb");
    CStringEx t;
    Fill(t, "aaa");
    EXPECT_EQ(t.FindReplace("a", "b", 0), 1);
    EXPECT_STREQ(t.GetBuffer(), "baa");
    CStringEx u;
    Fill(u, "aa");
    EXPECT_EQ(u.FindReplace("a", "aa", 1), 2);
    EXPECT_STREQ(u.GetBuffer(), "aaaa");
    EXPECT_EQ(u.FindReplace("", "x", 1), 0);
    EXPECT_EQ(u.GetTextSize(), 5);
}

TEST(StringExSearch, CaseBlindReplaceKeepsOtherCase) {
    CStringEx s;
    Fill(s, "Ab-aB-ab-X");
    EXPECT_EQ(s.FindReplaceNoCase("AB", "zzz", 1), 3);
    EXPECT_STREQ(s.GetBuffer(), "zzz-zzz-zzz-X");
    EXPECT_EQ(s.GetTextSize(), (int)strlen("zzz-zzz-zzz-X") + 1);
    CStringEx t;
    Fill(t, "xAAy");
    EXPECT_EQ(t.FindReplaceNoCase("a", "", 0), 1);
    EXPECT_STREQ(t.GetBuffer(), "xAy");
}

TEST(StringExFields, SplitsAndDelimiters) {
    CStringEx s;
    Fill(s, "a,b,c");
    EXPECT_EQ(s.GetFieldCount(','), 3);
    EXPECT_STREQ(s.GetField(',', 0), "a");
    EXPECT_STREQ(s.GetField(',', 1), "b");
    EXPECT_STREQ(s.GetField(',', 2), "c");
    EXPECT_TRUE(s.GetField(',', 5).IsEmpty());
    EXPECT_TRUE(s.GetField(',', -1).IsEmpty());
    EXPECT_EQ(s.GetFieldCount(""), 1);
    CStringEx d;
    Fill(d, "x::y::::z");
    EXPECT_EQ(d.GetFieldCount("::"), 4);
    EXPECT_STREQ(d.GetField("::", 1), "y");
    EXPECT_TRUE(d.GetField("::", 2).IsEmpty());
    EXPECT_STREQ(d.GetField("::", 3), "z");
    EXPECT_TRUE(d.GetField("::", 4).IsEmpty());
}

TEST(StringExFields, DelimitedFieldsResumeAfterTheOpening) {
    CStringEx s;
    Fill(s, "[one] [two] [three");
    EXPECT_STREQ(s.GetDelimitedField("[", "]", 0), "one");
    EXPECT_STREQ(s.GetDelimitedField("[", "]", 1), "two");
    EXPECT_TRUE(s.GetDelimitedField("[", "]", 2).IsEmpty());
    EXPECT_TRUE(s.GetDelimitedField("[", "]", -1).IsEmpty());
    CStringEx q;
    Fill(q, "'a' 'b'");
    // Equal markers: the second pass starts just after the first opening quote, at its close.
    EXPECT_STREQ(q.GetDelimitedField("'", "'", 1), " ");
    EXPECT_TRUE(q.GetDelimitedField("", "", 1000000000).IsEmpty());
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
