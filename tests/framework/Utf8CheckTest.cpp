// The signature and UTF-8 checks that decide how a file is read: malformed UTF-8 of every kind,
// sequences split anywhere, and GBK texts that must never pass for UTF-8.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "framework/base/Utf8Check.h"

namespace {
const unsigned char* Bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Whether a file of these bytes would be read as UTF-8 without a signature.
bool ReadAsUtf8(const std::string& bytes) {
    CUtf8Check check;
    check.Feed(Bytes(bytes), bytes.size());
    return check.Finish() && check.SawMultiByte();
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// Every character of GBK in code order, 64 to a line.
std::string EveryGbkCharacter() {
    std::string text;
    int n = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            text += (char)lead;
            text += (char)trail;
            if (++n % 64 == 0) text += "\r\n";
        }
    return text;
}

// A few hundred KB of GB2312 hanzi (rows B0 to F7) in seeded random order, with ASCII words,
// figures and punctuation between them, as data files and listings mix them.
std::string ChineseText() {
    std::mt19937 random(40);
    std::string text;
    while (text.size() < 400000) {
        int kind = (int)(random() % 10);
        if (kind < 7) {
            text += (char)(0xB0 + random() % 0x48);
            text += (char)(0xA1 + random() % 0x5E);
        } else if (kind == 7) {
            text += " NODE 12.5 ";
        } else if (kind == 8) {
            text += "\xA3\xAC"; // ，
        } else {
            text += "\r\n";
        }
    }
    return text;
}
} // namespace

TEST(Utf8Check, SignaturesAreRecognisedOnlyWhole) {
    size_t size = 9;
    EXPECT_EQ(EncodingOfSignature(Bytes("\xEF\xBB\xBFx"), 4, size), kEncodingUtf8Bom);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(EncodingOfSignature(Bytes("\xFF\xFE"), 2, size), kEncodingUtf16Le);
    EXPECT_EQ(EncodingOfSignature(Bytes("\xFE\xFF"), 2, size), kEncodingUtf16Be);
    EXPECT_EQ(EncodingOfSignature(Bytes("\xEF\xBB"), 2, size), kEncodingGbk);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(EncodingOfSignature(Bytes(""), 0, size), kEncodingGbk);
}

TEST(Utf8Check, WellFormedTextWithMultiByteSequencesIsUtf8) {
    EXPECT_TRUE(ReadAsUtf8("caf\xC3\xA9"));
    EXPECT_TRUE(ReadAsUtf8("\xE4\xB8\xAD\xE6\x96\x87\n"));                     // 中文
    EXPECT_TRUE(ReadAsUtf8("\xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF \xEF\xBF\xBF")); // U+1F600, U+10FFFF, U+FFFF
    EXPECT_FALSE(ReadAsUtf8("plain ASCII only\r\n")) << "no multi-byte sequence: read as GBK";
    EXPECT_FALSE(ReadAsUtf8(""));
}

TEST(Utf8Check, MalformedSequencesAreRefused) {
    for (const char* bad : {"\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xF0\x8F\xBF\xBF", // overlong
                            "\xED\xA0\x80", "\xED\xBF\xBF",                             // surrogates
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",             // above U+10FFFF
                            "\x80", "\xC3\xA9\xA9",                                     // stray continuation
                            "\xE4\xB8", "ok\xF0\x9F\x98",                               // cut at the end
                            "\xE4\x41\xAD"})                                            // cut inside
        EXPECT_FALSE(ReadAsUtf8(bad)) << ::testing::PrintToString(std::string(bad));
}

TEST(Utf8Check, ASequenceSplitAtAnyByteIsCheckedAsWhole) {
    const std::string text = "a\xC3\xA9"
                             "b\xE4\xB8\xAD"
                             "c\xF0\x9F\x98\x80"
                             "abcdefghijklmnop\xE6\x96\x87";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        CUtf8Check check;
        check.Feed(Bytes(text), cut);
        check.Feed(Bytes(text) + cut, text.size() - cut);
        EXPECT_TRUE(check.Finish()) << "cut at " << cut;
        size_t back = Utf8CutBack(Bytes(text), cut);
        // The piece kept ends between characters: what remains starts a character.
        EXPECT_TRUE(cut - back == text.size() || (text[cut - back] & 0xC0) != 0x80) << "cut at " << cut;
        EXPECT_LE(back, 3u);
    }
    CUtf8Check bad;
    bad.Feed(Bytes("\xE4\xB8"), 2);
    bad.Feed(Bytes("x"), 1);
    EXPECT_FALSE(bad.Finish());
}

TEST(Utf8Check, GbkTextsAreNeverTakenForUtf8) {
    EXPECT_FALSE(ReadAsUtf8(EveryGbkCharacter()));
    EXPECT_FALSE(ReadAsUtf8(ChineseText()));
    for (const char* name : {"bridge.dat", "bridge-check.out", "bridge-results.txt", "remarks.dat"}) {
        std::string bytes = FileBytes(std::string(TESSOLIN_SAMPLES) + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_FALSE(ReadAsUtf8(bytes)) << name;
    }
}
