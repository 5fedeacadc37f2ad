// The text-mode conversion: the ends of input and output room, then any file read in any pieces
// against the whole-file reading (a CR waiting for the byte after it among them), and written text
// read back.
#include <gtest/gtest.h>

#include <random>

#include "tests/framework/TextModeReference.h"

namespace {

std::string Decode(const std::string& in, bool inputEnds, size_t room, TextModeStep& step) {
    std::string out(room, '\0');
    step = DecodeTextMode(in.data(), in.size(), inputEnds, &out[0], room);
    return out.substr(0, step.produced);
}

// A 0x1A ends the data without being consumed; the output room is never exceeded.
TEST(TextMode, ControlZAndTheEndsOfTheRoom) {
    TextModeStep step;
    EXPECT_EQ(Decode("a\r\x1a"
                     "b",
                     true, 10, step),
              "a\r");
    EXPECT_TRUE(step.ended);
    EXPECT_EQ(step.consumed, 2u);
    EXPECT_EQ(Decode("\x1a", false, 10, step), "");
    EXPECT_TRUE(step.ended);
    EXPECT_EQ(Decode("abc\r\ndef", true, 4, step), "abc\n");
    EXPECT_EQ(step.consumed, 5u);
    EXPECT_EQ(Decode(std::string("a\0b", 3), true, 2, step), std::string("a\0", 2)); // NULs pass
    EXPECT_EQ(Decode("abc", true, 0, step), "");
    EXPECT_EQ(step.consumed, 0u);
    size_t used = 0;
    char out[3];
    EXPECT_EQ(EncodeTextMode("a\nb", 3, out, 2, used), 1u); // CR LF does not fit after 'a'
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(EncodeTextMode("\nb", 2, out, 3, used), 3u);
    EXPECT_EQ(std::string(out, 3), "\r\nb");
}

// Files of the bytes that matter, read with every mix of fill and read sizes (a CR LF split between
// two fills, reads of one byte at a time), and random texts written in pieces and read back.
TEST(TextMode, ReadingInPiecesMatchesReadingTheWholeFileAndWrittenTextReadsBack) {
    std::mt19937 rng(1207);
    const char kBytes[] = {'\r', '\n', '\x1a', 'a', '\0', '\xb0', '\xa1'};
    auto whole = [] { return (size_t)1 << 20; };
    for (int round = 0; round < 3000; ++round) {
        std::string file, text;
        for (int n = (int)(rng() % 40); n > 0; --n) file += kBytes[rng() % (round % 50 == 0 ? 7 : 6)];
        size_t fills = 1 + rng() % 5, asks = 1 + rng() % 6;
        auto fill = [&] { return (size_t)(rng() % (fills + 1)); };
        auto ask = [&] { return (size_t)(1 + rng() % asks); };
        ASSERT_EQ(ReadTextModeInPieces(file, fill, ask), LiteralTextModeRead(file)) << round;
        for (int n = (int)(rng() % 30); n > 0; --n) text += "\nab\xb0\xa1 "[rng() % 6];
        std::string written = WriteTextModeInPieces(text, [&] { return (size_t)(2 + rng() % 4); });
        EXPECT_EQ(std::count(written.begin(), written.end(), '\r'),
                  std::count(text.begin(), text.end(), '\n'));
        ASSERT_EQ(ReadTextModeInPieces(written, whole, whole), text) << round;
    }
}

} // namespace
