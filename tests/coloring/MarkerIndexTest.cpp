// Marker search with block summaries agrees with the multibyte substring search, on contiguous texts
// and on texts held in two pieces.
#include "coloring/MarkerIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "framework/base/Mbcs936.h"

namespace {

TextPieces Whole(const std::string& text) {
    return TextPieces::Contiguous(text.data(), (int)text.size());
}

int Reference(const std::string& text, const char* marker, int from) {
    const char* hit = cp936::mbsstr(text.c_str() + from, marker);
    return hit == nullptr ? -1 : (int)(hit - text.c_str());
}

TEST(MarkerIndex, FarAndMissingMarkersAcrossBlocks) {
    std::string text(20000, 'x');
    text[15000] = '"';
    text += '\0';
    CMarkerIndex index;
    EXPECT_EQ(index.Find(Whole(text), "\"", 0), 15000);
    EXPECT_EQ(index.Find(Whole(text), "\"", 15000), 15000);
    EXPECT_EQ(index.Find(Whole(text), "\"", 15001), -1);
    EXPECT_EQ(index.Find(Whole(text), "'", 3), -1);
    EXPECT_EQ(index.FindZero(Whole(text), 7), 20000);
    // After the text changes in place, Invalidate makes the next search see it.
    text[9000] = '"';
    index.Invalidate();
    EXPECT_EQ(index.Find(Whole(text), "\"", 0), 9000);
    // Invalidations in a row with nothing searched between, then a search that learns, then a change.
    index.Invalidate();
    index.Invalidate();
    EXPECT_EQ(index.Find(Whole(text), "'", 0), -1);
    text[3000] = '\'';
    index.Invalidate();
    EXPECT_EQ(index.Find(Whole(text), "'", 0), 3000);
}

// Zero bytes, pair boundaries and markers split between the pieces are compared with the substring
// search on random texts below; these are the arguments those never pass.
TEST(MarkerIndex, EmptyMarkerStartPastTheEndAndNoText) {
    std::string text = std::string("a;") + '\0';
    CMarkerIndex index;
    EXPECT_EQ(index.Find(Whole(text), "", 0), -1);
    EXPECT_EQ(index.Find(Whole(text), ";", 9), -1);
    EXPECT_EQ(index.Find(TextPieces::Contiguous(nullptr, 0), ";", 0), -1);
}

TEST(MarkerIndex, RandomTextsAgreeWithTheSubstringSearch) {
    std::mt19937 rng(1234);
    const char alphabet[] = {'a', ';', '\n', '"', '\x81', '\xB5', '\xDA', ' ', '\0'};
    const char* markers[] = {";", "\n", "\"", "\xB5\xDA", "a;", "\x81;"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        int n = 1 + (int)(rng() % 12000);
        for (int i = 0; i < n; ++i) {
            unsigned r = rng() % 100;
            text += r < 1 ? '\0' : alphabet[r % 8];
        }
        text += '\0';
        // The same text split at a random place into two separate pieces, as a gap buffer holds it.
        int split = (int)(rng() % text.size());
        std::string left = text.substr(0, (size_t)split), right = text.substr((size_t)split);
        TextPieces pieces{left.data(), split, right.data(), (int)text.size()};
        CMarkerIndex index, splitIndex;
        for (int q = 0; q < 40; ++q) {
            const char* marker = markers[rng() % 6];
            int from = (int)(rng() % text.size());
            int expected = Reference(text, marker, from);
            ASSERT_EQ(index.Find(Whole(text), marker, from), expected)
                << "round " << round << " from " << from;
            ASSERT_EQ(splitIndex.Find(pieces, marker, from), expected)
                << "round " << round << " from " << from << " split " << split;
            int zero = (int)text.find('\0', (size_t)from);
            ASSERT_EQ(splitIndex.FindZero(pieces, from), zero) << "split " << split;
        }
    }
}

// Searches between random edits that the index is told of: what it keeps of earlier searches (the
// stretches found empty) must never hide an occurrence an edit made, by its bytes, by pairing the
// lead bytes after it differently or by removing a zero byte that ended a stretch.
TEST(MarkerIndex, EditsItIsToldOfNeverHideAnOccurrence) {
    std::mt19937 rng(2412);
    const char alphabet[] = {'a', ';', '"', '\x81', '\xB5', '\xDA', ' ', '\0'};
    const char* markers[] = {";", "\"", "\xB5\xDA", "a;", "\x81;"};
    for (int round = 0; round < 40; ++round) {
        std::string text;
        for (int n = 1 + (int)(rng() % 3000); n > 0; --n) text += alphabet[rng() % 7];
        text += '\0';
        CMarkerIndex index;
        for (int step = 0; step < 300; ++step) {
            for (int q = 0; q < 3; ++q) {
                const char* marker = markers[rng() % 5];
                int from = (int)(rng() % text.size());
                ASSERT_EQ(index.Find(Whole(text), marker, from), Reference(text, marker, from))
                    << "round " << round << " step " << step << " from " << from;
                ASSERT_EQ(index.FindZero(Whole(text), from), (int)text.find('\0', (size_t)from));
            }
            int pos = (int)(rng() % text.size()); // never past the terminating zero
            int removed = std::min((int)(rng() % 4), (int)text.size() - 1 - pos);
            std::string inserted;
            for (int n = (int)(rng() % 3); n > 0; --n) inserted += alphabet[rng() % (rng() % 20 ? 7 : 8)];
            bool zero = text.substr((size_t)pos, (size_t)removed).find('\0') != std::string::npos;
            text.replace((size_t)pos, (size_t)removed, inserted);
            index.Edited(Whole(text), pos, removed, (int)inserted.size(), zero);
        }
    }
}

} // namespace
