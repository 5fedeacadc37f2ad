// Marker search with block summaries agrees with the multibyte substring search.
#include "coloring/MarkerIndex.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "framework/base/Mbcs936.h"

namespace {

int Reference(const std::string& text, const char* marker, int from) {
    const char* hit = cp936::mbsstr(text.c_str() + from, marker);
    return hit == nullptr ? -1 : (int)(hit - text.c_str());
}

TEST(MarkerIndex, FarAndMissingMarkersAcrossBlocks) {
    std::string text(20000, 'x');
    text[15000] = '"';
    text += '\0';
    CMarkerIndex index;
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "\"", 0), 15000);
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "\"", 15000), 15000);
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "\"", 15001), -1);
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "'", 3), -1);
    EXPECT_EQ(index.FindZero(text.data(), (int)text.size(), 7), 20000);
    // After the text changes in place, Invalidate makes the next search see it.
    text[9000] = '"';
    index.Invalidate();
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "\"", 0), 9000);
    // Invalidations in a row with nothing searched between, then a search that learns, then a change.
    index.Invalidate();
    index.Invalidate();
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "'", 0), -1);
    text[3000] = '\'';
    index.Invalidate();
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), "'", 0), 3000);
}

TEST(MarkerIndex, StopsAtAnEmbeddedZeroAndMatchesOnlyAtBoundaries) {
    std::string text = std::string("ab") + '\0' + "cd;";
    text += '\0';
    CMarkerIndex index;
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), ";", 0), -1);
    EXPECT_EQ(index.Find(text.data(), (int)text.size(), ";", 3), 5);
    // 0x81 0x3B is one character: the ';' inside it is not a match from 0, but is from 1.
    std::string pair = "\x81;x;";
    pair += '\0';
    EXPECT_EQ(index.Find(pair.data(), (int)pair.size(), ";", 0), 3);
    EXPECT_EQ(index.Find(pair.data(), (int)pair.size(), ";", 1), 1);
    EXPECT_EQ(index.Find(pair.data(), (int)pair.size(), "", 0), -1);
    EXPECT_EQ(index.Find(pair.data(), (int)pair.size(), ";", 9), -1);
    EXPECT_EQ(index.Find(nullptr, 0, ";", 0), -1);
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
        CMarkerIndex index;
        for (int q = 0; q < 40; ++q) {
            const char* marker = markers[rng() % 6];
            int from = (int)(rng() % text.size());
            ASSERT_EQ(index.Find(text.data(), (int)text.size(), marker, from), Reference(text, marker, from))
                << "round " << round << " from " << from;
        }
    }
}

} // namespace
