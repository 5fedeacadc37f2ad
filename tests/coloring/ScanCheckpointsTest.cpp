// Windows coloured from scan checkpoints against a scan of the whole text, over random texts and edits.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "coloring/ColorString.h"

namespace {

const COLORREF kPlain = 1, kRemark = 2, kQuote = 3, kKeyword = 4, kTitle = 5;

template <class Rules> void AddRules(Rules& s) {
    s.SetDefaults(kPlain, 0, 0);
    s.AddComment(";", "\n", kRemark);
    s.AddComment("\"", "\"", kRemark);
    s.AddComment("/*", "*/", kRemark);
    s.AddQuote("'", "'", kQuote);
    s.AddKeyword("END", kKeyword);
    s.AddKeyword("NODE", kKeyword);
    s.AddTitle("*TITLE", kTitle);
}

// The colour of every byte of [from, to) by the run list the last scan left.
std::vector<COLORREF> ColorsOf(CColorArray& runs, int from, int to) {
    std::vector<COLORREF> colors((size_t)(to - from), 0);
    for (int k = 0, previous = runs.StartPos(); k < runs.GetColorNumber(); previous = runs.GetColorPos(k++))
        for (int p = std::max(previous, from); p < std::min(runs.GetColorPos(k), to); ++p)
            colors[(size_t)(p - from)] = runs.GetAt(k);
    return colors;
}

// Pieces that open and close comments and quotes across lines, keywords, titles and GBK pairs.
std::string Piece(std::mt19937& rng) {
    static const char* const pieces[] = {
        "END ", "NODE 1 2\n", "*TITLE x\n", "; remark\n",        "\"",     "'",      "/*",    "*/", "\n",
        "abc ", "12 ",        "\t",         "\xD6\xD0\xCE\xC4 ", "x'y'\n", "\"a\" ", "  \n\n"};
    return pieces[rng() % 16];
}

std::string Repeat(const std::string& line, int count) {
    std::string out;
    while (count-- > 0) out += line;
    return out;
}

class ScanCheckpoints : public ::testing::Test {
protected:
    void Load(const std::string& body) {
        AddRules(m_text);
        AddRules(m_wholeRules);
        m_text.Append(body.c_str());
        m_text.Reset(0);
        m_text.UseScanCheckpoints(TRUE);
    }

    // Colours the window of lines first ... first + count through the checkpoints (or the bytes
    // [start, end) when first < 0) and compares it with the whole-text scan, byte by byte.
    std::vector<COLORREF> ExpectWindowLikeWholeText(int first, int count, int start = 0, int end = 0) {
        if (first >= 0) {
            int last = std::min(first + count, m_text.GetLineCount() - 1);
            first = std::min(first, m_text.GetLineCount() - 1);
            start = m_text.GetLineOffset(first);
            end = std::min(m_text.GetLineOffset(last) + m_text.GetLineSize(last), m_text.GetLength() - 1);
        }
        m_text.RenderWindow(start, end);
        std::vector<COLORREF> window = ColorsOf(m_text.GetColorArray(), start, end);
        // The scan of the whole text, by a scanner over a copy of its bytes (zero bytes and all) that
        // knows nothing of lines or checkpoints.
        TextPieces pieces = m_text.Pieces();
        std::string bytes;
        for (int p = 0; p < pieces.length; ++p) bytes += pieces.At(p);
        CMarkerIndex markers;
        CColorScanner(bytes.data(), (int)bytes.size(), m_wholeRuns, m_wholeRules, markers)
            .ParseTextColor(0, (int)bytes.size() - 1);
        EXPECT_EQ(window, ColorsOf(m_wholeRuns, start, end))
            << "window at line " << first << ", byte " << start;
        return window;
    }
    int Checkpoints() const { return m_text.GetScanCheckpoints().ValidCount(); }

    CColorString m_text;
    CColorRuleSet m_wholeRules;
    CColorArray m_wholeRuns;
};

// A zero byte ends every marker search: deleting one can close a comment that was open.
TEST_F(ScanCheckpoints, DeletingAZeroByteLetsAMarkerBeyondItBeFound) {
    Load("\"open\n" + Repeat("END abc\n", 1500) + "!\n" + Repeat("abc NODE\n", 1500) + "\" after\n");
    int zero = m_text.GetLineOffset(1501);
    m_text.SetAt(zero, '\0');
    ExpectWindowLikeWholeText(2800, 30);
    m_text.Delete(zero, 1);
    ExpectWindowLikeWholeText(2800, 30);
    ExpectWindowLikeWholeText(700, 30);
}

// A pass that stopped before a byte read that byte: changing it moves the pass starts after it, so a
// checkpoint there goes too (here the changed byte pairs with the next one, hiding a quote's start).
TEST_F(ScanCheckpoints, ChangingTheByteAPassStoppedAtMovesTheCheckpointThere) {
    std::string body;
    for (int k = 0; k < 10000; ++k) body += "-" + std::string((size_t)(k % 3), ' ') + "a\xB0'x'\n";
    Load(body);
    ExpectWindowLikeWholeText(9990, 5);
    int changed = 0;
    // From the last checkpoint back, as a change drops the ones after it.
    for (int k = Checkpoints() - 1; k > 0 && changed < 3; --k) {
        int pos = m_text.GetScanCheckpoints().ValidPosition(k);
        if (m_text.GetAt(pos) != 'a') continue;
        m_text.SetAt(pos, '\xB0');
        ++changed;
        EXPECT_EQ(kQuote, ExpectWindowLikeWholeText(-1, 0, pos, pos + 8)[3]) << "at " << pos;
    }
    EXPECT_GT(changed, 0);
}

// The search for a quote's end takes a marker after a lead byte as that byte's second half: a lead
// byte put before that one makes the marker a character of its own, and the quote closes there.
TEST_F(ScanCheckpoints, ALeadByteThatFreesAMarkerClosesTheQuoteAbove) {
    Load("z 'open\n" + Repeat("END abc\n", 3000) + "\xB0' END\n");
    ExpectWindowLikeWholeText(2000, 30);
    m_text.Insert(m_text.GetLength() - 1 - 6, '\xB0');
    ExpectWindowLikeWholeText(2000, 30);
}

// Up to three edits between two windows, so that some rescans meet edits still ahead.
TEST_F(ScanCheckpoints, RandomWindowsAfterRandomEditsMatchTheWholeTextScan) {
    std::mt19937 rng(20261208);
    std::string body;
    while (body.size() < 60000) body += Piece(rng);
    Load(body);
    for (int round = 0; round < 200 && !HasFailure(); ++round) {
        for (int edits = 1 + (int)(rng() % 3); edits > 0; --edits) {
            int pos = (int)(rng() % (unsigned)m_text.GetLength()), kind = (int)(rng() % 4);
            if (kind == 0) m_text.Insert(pos, Piece(rng).c_str());
            if (kind == 1) m_text.Delete(pos, (int)(rng() % 40));
            if (kind == 2) m_text.Replace(pos, (int)(rng() % 8), Piece(rng).c_str());
            if (kind == 3) m_text.Insert(pos, "\"'"[rng() % 2]);
        }
        ExpectWindowLikeWholeText((int)(rng() % (unsigned)m_text.GetLineCount()), 25);
        if (round % 10 == 0) ExpectWindowLikeWholeText((int)(rng() % (unsigned)m_text.GetLineCount()), 25);
    }
}

// After an edit the rescan stops where it meets the scan before the edit again: the checkpoints
// after it are taken up as they were instead of being found again; with a second edit further down,
// those up to that edit are.
TEST_F(ScanCheckpoints, AnEditFarAboveCostsOnlyTheLinesItChanged) {
    Load(Repeat("END NODE abc 'q' ; r\n", 20000));
    ExpectWindowLikeWholeText(19900, 30);
    int all = Checkpoints();
    m_text.Insert(m_text.GetLineOffset(100), "NODE ");
    EXPECT_LT(Checkpoints(), 5);
    ExpectWindowLikeWholeText(300, 30);
    EXPECT_GE(Checkpoints(), all);
    ExpectWindowLikeWholeText(19900, 30);
    m_text.Insert(m_text.GetLineOffset(100), "NODE ");
    m_text.Insert(m_text.GetLineOffset(19000), "NODE ");
    ExpectWindowLikeWholeText(15000, 30);
    EXPECT_GT(Checkpoints(), all * 93 / 100) << "taken up to line 19000";
    ExpectWindowLikeWholeText(19900, 30);
}

TEST_F(ScanCheckpoints, OffColoursFromTheWindowStartAsBefore) {
    Load("\"open\nEND\n\"");
    m_text.UseScanCheckpoints(FALSE);
    int line = m_text.GetLineOffset(1);
    m_text.RenderWindow(line, line + 3);
    EXPECT_EQ(kKeyword, ColorsOf(m_text.GetColorArray(), line, line + 1)[0]);
    EXPECT_EQ(0, Checkpoints());
}

} // namespace
