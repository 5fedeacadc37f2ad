// Marker search with block summaries agrees with the multibyte substring search, on contiguous texts
// and on texts held in two pieces, also between edits it is told of.
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

const char kAlphabet[] = {'a', ';', '"', '\x81', '\xB5', '\xDA', ' ', '\n', '\0'};
const char* const kMarkers[] = {";", "\"", "\xB5\xDA", "a;", "\x81;", "\n"};

// Far and missing markers across blocks; Invalidate (also several in a row) makes the next search
// see a change made in place; the arguments the random texts never pass.
TEST(MarkerIndex, FarAndMissingMarkersAcrossBlocks) {
    std::string text = std::string(20000, 'x') + '\0';
    text[15000] = '"';
    CMarkerIndex index;
    EXPECT_EQ(std::vector<int>({index.Find(Whole(text), "\"", 0), index.Find(Whole(text), "\"", 15000),
                                index.Find(Whole(text), "\"", 15001), index.Find(Whole(text), "'", 3),
                                index.FindZero(Whole(text), 7), index.Find(Whole(text), "", 0),
                                index.Find(Whole(text), "x", 90000),
                                index.Find(TextPieces::Contiguous(nullptr, 0), ";", 0)}),
              std::vector<int>({15000, 15000, -1, -1, 20000, -1, -1, -1}));
    text[9000] = '"';
    index.Invalidate();
    EXPECT_EQ(index.Find(Whole(text), "\"", 0), 9000);
    index.Invalidate();
    index.Invalidate();
    EXPECT_EQ(index.Find(Whole(text), "'", 0), -1);
    text[3000] = '\'';
    index.Invalidate();
    EXPECT_EQ(index.Find(Whole(text), "'", 0), 3000);
}

// Random texts, also split at a random place into two pieces as a gap buffer holds them.
TEST(MarkerIndex, RandomTextsAgreeWithTheSubstringSearch) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int n = 1 + (int)(rng() % 12000); n > 0; --n) text += kAlphabet[rng() % 100 < 1 ? 8 : rng() % 8];
        text += '\0';
        int split = (int)(rng() % text.size());
        std::string left = text.substr(0, (size_t)split), right = text.substr((size_t)split);
        TextPieces pieces{left.data(), split, right.data(), (int)text.size()};
        CMarkerIndex index, splitIndex;
        for (int q = 0; q < 40; ++q) {
            const char* marker = kMarkers[rng() % 6];
            int from = (int)(rng() % text.size()), expected = Reference(text, marker, from);
            SCOPED_TRACE("round " + std::to_string(round) + " from " + std::to_string(from) + " split " +
                         std::to_string(split));
            ASSERT_EQ(index.Find(Whole(text), marker, from), expected);
            ASSERT_EQ(splitIndex.Find(pieces, marker, from), expected);
            ASSERT_EQ(splitIndex.FindZero(pieces, from), (int)text.find('\0', (size_t)from));
        }
    }
}

// Searches between random edits that the index is told of: what it keeps of earlier searches (the
// stretches found empty) must never hide an occurrence an edit made, by its bytes, by pairing the
// lead bytes after it differently or by removing a zero byte that ended a stretch.
TEST(MarkerIndex, EditsItIsToldOfNeverHideAnOccurrence) {
    std::mt19937 rng(2412);
    for (int round = 0; round < 40; ++round) {
        std::string text;
        for (int n = 1 + (int)(rng() % 3000); n > 0; --n) text += kAlphabet[rng() % 7];
        text += '\0';
        CMarkerIndex index;
        for (int step = 0; step < 300; ++step) {
            for (int q = 0; q < 3; ++q) {
                const char* marker = kMarkers[rng() % 5];
                int from = (int)(rng() % text.size());
                ASSERT_EQ(index.Find(Whole(text), marker, from), Reference(text, marker, from))
                    << "round " << round << " step " << step << " from " << from;
                ASSERT_EQ(index.FindZero(Whole(text), from), (int)text.find('\0', (size_t)from));
            }
            int pos = (int)(rng() % text.size()); // never past the terminating zero
            int removed = std::min((int)(rng() % 4), (int)text.size() - 1 - pos);
            std::string inserted;
            for (int n = (int)(rng() % 3); n > 0; --n) inserted += kAlphabet[rng() % 20 ? rng() % 7 : 8];
            bool zero = text.substr((size_t)pos, (size_t)removed).find('\0') != std::string::npos;
            text.replace((size_t)pos, (size_t)removed, inserted);
            index.Edited(Whole(text), pos, removed, (int)inserted.size(), zero);
        }
    }
}

} // namespace
