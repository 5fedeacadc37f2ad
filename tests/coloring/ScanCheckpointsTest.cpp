// Windows coloured from scan checkpoints against a scan of the whole text, over random texts and edits.
#include <gtest/gtest.h>

#include <cstring>
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
    int previous = runs.StartPos();
    for (int k = 0; k < runs.GetColorNumber(); ++k) {
        int end = runs.GetColorPos(k);
        for (int p = std::max(previous, from); p < std::min(end, to); ++p)
            colors[(size_t)(p - from)] = runs.GetAt(k);
        previous = end;
    }
    return colors;
}

// Pieces that open and close comments and quotes across lines, keywords, titles and GBK pairs.
std::string Piece(std::mt19937& rng) {
    static const char* const pieces[] = {
        "END ", "NODE 1 2\n", "*TITLE x\n", "; remark\n",        "\"",     "'",      "/*",    "*/", "\n",
        "abc ", "12 ",        "\t",         "\xD6\xD0\xCE\xC4 ", "x'y'\n", "\"a\" ", "  \n\n"};
    return pieces[rng() % (sizeof pieces / sizeof pieces[0])];
}

std::string RandomText(std::mt19937& rng, size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += Piece(rng);
    return text;
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

    // Colours the window of lines first ... first + count through the checkpoints and compares it with
    // the whole-text scan of the same text, byte by byte.
    void ExpectWindowLikeWholeText(int first, int count) {
        int lines = m_text.GetLineCount();
        first = std::min(first, lines - 1);
        int last = std::min(first + count, lines - 1);
        int start = m_text.GetLineOffset(first);
        int end = std::min(m_text.GetLineOffset(last) + m_text.GetLineSize(last), m_text.GetLength() - 1);
        m_text.RenderWindow(start, end);
        std::vector<COLORREF> window = ColorsOf(m_text.GetColorArray(), start, end);
        ScanWholeText();
        ASSERT_EQ(window, ColorsOf(m_wholeRuns, start, end)) << "window at line " << first;
    }

    // The scan of the whole text, by a scanner over a copy of its bytes (zero bytes and all) that
    // knows nothing of lines or checkpoints.
    void ScanWholeText() {
        TextPieces pieces = m_text.Pieces();
        m_wholeBytes.clear();
        for (int p = 0; p < pieces.length; ++p) m_wholeBytes += pieces.At(p);
        CMarkerIndex markers;
        int length = (int)m_wholeBytes.size();
        CColorScanner(m_wholeBytes.data(), length, m_wholeRuns, m_wholeRules, markers)
            .ParseTextColor(0, length - 1);
    }

    CColorString m_text;
    CColorRuleSet m_wholeRules;
    CColorArray m_wholeRuns;
    std::string m_wholeBytes;
};

TEST_F(ScanCheckpoints, ACommentOpenedFarAboveColoursTheWindow) {
    std::string body = "NODE 1\n\"opened here\n";
    for (int k = 0; k < 2000; ++k) body += "END NODE abc\n";
    body += "closed\" END\n";
    Load(body);
    ExpectWindowLikeWholeText(1500, 20);
    int inside = m_text.GetLineOffset(1500);
    EXPECT_EQ(kRemark, ColorsOf(m_text.GetColorArray(), inside, inside + 1)[0]);
}

// Typing the closing quote of an unclosed quote far above the window recolours the window; typing
// anything else there keeps it, and so does typing between the quote and the window.
TEST_F(ScanCheckpoints, AMarkerTypedAfterAnUnclosedQuoteRecoloursTheLinesAfterIt) {
    std::string body = "x 'unclosed\n";
    for (int k = 0; k < 3000; ++k) body += "END abc\n";
    Load(body);
    ExpectWindowLikeWholeText(2900, 30);
    m_text.Insert(m_text.GetLineOffset(1000), "abc");
    ExpectWindowLikeWholeText(2900, 30);
    m_text.Insert(m_text.GetLineOffset(2000), '\'');
    ExpectWindowLikeWholeText(2900, 30);
    int inside = m_text.GetLineOffset(1500);
    m_text.RenderWindow(inside, inside + 5);
    EXPECT_EQ(kQuote, ColorsOf(m_text.GetColorArray(), inside, inside + 1)[0]);
}

// A zero byte ends every marker search: deleting one can close a comment that was open.
TEST_F(ScanCheckpoints, DeletingAZeroByteLetsAMarkerBeyondItBeFound) {
    std::string body = "\"open\n";
    for (int k = 0; k < 1500; ++k) body += "END abc\n";
    body += "!\n";
    for (int k = 0; k < 1500; ++k) body += "abc NODE\n";
    body += "\" after\n";
    Load(body);
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
    for (int k = m_text.GetScanCheckpoints().ValidCount() - 1; k > 0 && changed < 3; --k) {
        int pos = m_text.GetScanCheckpoints().ValidPosition(k);
        if (m_text.GetAt(pos) != 'a') continue;
        m_text.SetAt(pos, '\xB0');
        ++changed;
        m_text.RenderWindow(pos, pos + 8);
        std::vector<COLORREF> window = ColorsOf(m_text.GetColorArray(), pos, pos + 8);
        ScanWholeText();
        EXPECT_EQ(ColorsOf(m_wholeRuns, pos, pos + 8), window) << "at " << pos;
        EXPECT_EQ(kQuote, window[3]);
    }
    EXPECT_GT(changed, 0);
}

// The search for a quote's end takes a marker after a lead byte as that byte's second half: a lead
// byte put before that one makes the marker a character of its own, and the quote closes there.
TEST_F(ScanCheckpoints, ALeadByteThatFreesAMarkerClosesTheQuoteAbove) {
    std::string body = "z 'open\n";
    for (int k = 0; k < 3000; ++k) body += "END abc\n";
    body += "\xB0' END\n";
    Load(body);
    ExpectWindowLikeWholeText(2000, 30);
    m_text.Insert(m_text.GetLength() - 1 - 6, '\xB0');
    ExpectWindowLikeWholeText(2000, 30);
}

void RandomEdit(CColorString& text, std::mt19937& rng) {
    int pos = (int)(rng() % (unsigned)text.GetLength());
    switch (rng() % 4) {
    case 0:
        text.Insert(pos, Piece(rng).c_str());
        break;
    case 1:
        text.Delete(pos, (int)(rng() % 40));
        break;
    case 2:
        text.Replace(pos, (int)(rng() % 8), Piece(rng).c_str());
        break;
    default:
        text.Insert(pos, "\"'"[rng() % 2]);
        break;
    }
}

TEST_F(ScanCheckpoints, RandomWindowsAfterRandomEditsMatchTheWholeTextScan) {
    std::mt19937 rng(20261208);
    Load(RandomText(rng, 60000));
    for (int round = 0; round < 200; ++round) {
        // Up to three edits between two windows, so that some rescans meet edits still ahead.
        for (int edits = 1 + (int)(rng() % 3); edits > 0; --edits) RandomEdit(m_text, rng);
        int lines = m_text.GetLineCount();
        ExpectWindowLikeWholeText((int)(rng() % (unsigned)lines), 25);
        if (HasFatalFailure()) return;
        if (round % 10 == 0) ExpectWindowLikeWholeText((int)(rng() % (unsigned)lines), 25);
    }
}

// After an edit the rescan stops where it meets the scan before the edit again: the checkpoints
// after it are taken up as they were instead of being found again; with a second edit further down,
// those up to that edit are.
TEST_F(ScanCheckpoints, AnEditFarAboveCostsOnlyTheLinesItChanged) {
    std::string body;
    for (int k = 0; k < 20000; ++k) body += "END NODE abc 'q' ; r\n";
    Load(body);
    ExpectWindowLikeWholeText(19900, 30);
    int all = m_text.GetScanCheckpoints().ValidCount();
    m_text.Insert(m_text.GetLineOffset(100), "NODE ");
    EXPECT_LT(m_text.GetScanCheckpoints().ValidCount(), 5);
    ExpectWindowLikeWholeText(300, 30);
    EXPECT_GE(m_text.GetScanCheckpoints().ValidCount(), all);
    ExpectWindowLikeWholeText(19900, 30);

    m_text.Insert(m_text.GetLineOffset(100), "NODE ");
    m_text.Insert(m_text.GetLineOffset(19000), "NODE ");
    ExpectWindowLikeWholeText(15000, 30);
    EXPECT_GT(m_text.GetScanCheckpoints().ValidCount(), all * 93 / 100) << "taken up to line 19000";
    ExpectWindowLikeWholeText(19900, 30);
}

TEST_F(ScanCheckpoints, OffColoursFromTheWindowStartAsBefore) {
    std::string body = "\"open\nEND\n\"";
    Load(body);
    m_text.UseScanCheckpoints(FALSE);
    int line = m_text.GetLineOffset(1);
    m_text.RenderWindow(line, line + 3);
    EXPECT_EQ(kKeyword, ColorsOf(m_text.GetColorArray(), line, line + 1)[0]);
    EXPECT_EQ(0, m_text.GetScanCheckpoints().ValidCount());
}

} // namespace
