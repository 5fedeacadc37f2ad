// The packed line index and the cell-walk checkpoints against byte-by-byte scans of the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "framework/base/ByteClass.h"
#include "framework/base/MemoryBlock.h"
#include "tests/common/MemorySeamKit.h"
#include "text/LineColumns.h"
#include "text/LineIndex.h"

#ifndef TESSOLIN_DIFF_STEPS
#define TESSOLIN_DIFF_STEPS 100000
#endif

namespace {
const int kTab = 4;

// The text twice: in the string the index reads and as a std::string the expectations are made of.
class IndexedText {
public:
    IndexedText() { m_text.SetBufferSize(1 << 16); }

    void Load(const std::string& body) {
        m_text.Delete(0, m_text.GetTextSize());
        Edit(0, 0, body);
        ASSERT_TRUE(index.Build(m_text, kTab));
    }
    void Replace(int pos, int removed, const std::string& inserted) {
        Edit(pos, removed, inserted);
        ASSERT_TRUE(index.Apply(m_text, pos, removed, (int)inserted.size(), kTab));
    }
    // The same edit with the index's allocation n failing; an index that reports the failure is
    // built again. Returns whether the seam reached allocation n.
    bool ReplaceFailing(int pos, int removed, const std::string& inserted, int n, bool& applied) {
        Edit(pos, removed, inserted);
        bool reached = WithAllocationFailing(
            n, [&] { applied = index.Apply(m_text, pos, removed, (int)inserted.size(), kTab); });
        if (!applied) {
            EXPECT_TRUE(index.Build(m_text, kTab));
        }
        return reached;
    }

    // Every line's start and width, the widest line, and the line of positions around each start.
    void Check(std::mt19937& rng) const {
        std::vector<int> starts(1, 0), widths(1, 0);
        int widest = 0; // of the lines a line feed ends
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                starts.push_back((int)i + 1);
                widest = std::max(widest, widths.back());
                widths.push_back(0);
            } else {
                widths.back() += bytes[i] == '\t' ? kTab : 1;
            }
        }
        ASSERT_EQ((int)starts.size(), index.Count());
        ASSERT_EQ(widest, index.Widest());
        for (int k = 0; k < index.Count(); ++k) {
            ASSERT_EQ(starts[(size_t)k], index.Start(k)) << "line " << k;
            ASSERT_EQ(widths[(size_t)k], index.Width(k)) << "line " << k;
        }
        for (int probe = 0; probe < 64; ++probe) {
            int k = (int)(rng() % starts.size()), start = starts[(size_t)k];
            int end = k + 1 < (int)starts.size() ? starts[(size_t)k + 1] : (int)bytes.size() + 1;
            for (int pos : {start, end - 1, start + (end - start) / 2}) {
                ASSERT_EQ(k, index.LineOf(pos)) << "position " << pos;
                ASSERT_EQ(k, index.LineNear(pos, (int)(rng() % starts.size()))) << "position " << pos;
            }
        }
    }

    int Size() const { return (int)bytes.size(); }
    std::string bytes;
    CLineIndex index;

private:
    void Edit(int pos, int removed, const std::string& inserted) {
        m_text.Delete(pos, removed);
        if (!inserted.empty()) m_text.Insert(pos, inserted.c_str());
        bytes.replace((size_t)pos, (size_t)removed, inserted);
    }
    CStringEx m_text;
};

// Short lines, rows with a few tabs (up to and past what a tab count holds), tab-filled lines wider
// than a width byte holds, and now and then a line longer than a block's offsets reach.
std::string Piece(std::mt19937& rng, bool longLines) {
    std::string row;
    switch (rng() % 16) {
    case 0:
        return std::string(1 + rng() % 4, '\n');
    case 1:
        return std::string(70 + rng() % 20, '\t') + "\n";
    case 2:
        return longLines ? std::string(65536 + rng() % 70000, 'L') : "x\n";
    case 3:
        return std::string(240 + rng() % 30, 'w') + "\n";
    case 4:
        for (int k = (int)(rng() % 20); k > 0; --k) row += rng() % 2 ? "\t" : "1.5\t";
        return row + "\n";
    default:
        return std::string(rng() % 30, 'a' + (char)(rng() % 26)) + (rng() % 3 ? "\n" : "");
    }
}

TEST(LineIndex, RandomEditsMatchAScanOfTheText) {
    std::mt19937 rng(20261208);
    IndexedText t;
    std::string start;
    while (start.size() < 200000) start += Piece(rng, true);
    t.Load(start);
    t.Check(rng);
    for (int step = 0; step < std::max(TESSOLIN_DIFF_STEPS / 20, 100); ++step) {
        int pos = (int)(rng() % (unsigned)(t.Size() + 1)), kind = (int)(rng() % 4);
        int removed = kind > 1 ? 0 : std::min(t.Size() - pos, (int)(rng() % (kind == 0 ? 4 : 20000)));
        std::string inserted;
        for (int p = t.Size() > 400000 ? 0 : (int)(rng() % 3); p > 0; --p)
            inserted += Piece(rng, rng() % 8 == 0);
        t.Replace(pos, removed, inserted);
        t.Check(rng);
        if (::testing::Test::HasFatalFailure()) FAIL() << "step " << step;
    }
}

// Lines growing past 255 bytes and shrinking below again, and lines replaced by as many others: the
// groups of lines that hold them switch between one-byte steps and two-byte starts, and their lines'
// widths between tab counts and the wide list, in blocks where other such groups lie before and after.
TEST(LineIndex, LinesCrossingTheStepLimitSwitchTheirGroups) {
    std::mt19937 rng(17);
    IndexedText t;
    std::string text;
    for (int k = 0; k < 3000; ++k) text += std::string(k % 9 == 0 ? 250 + k % 11 : 8 + k % 5, 'a') + "\n";
    t.Load(text);
    for (int step = 0; step < 4000; ++step) {
        int pos = (int)(rng() % (unsigned)t.Size()), kind = (int)(rng() % 3);
        int removed = std::min(t.Size() - pos, (int)(1 + rng() % 40));
        std::string in; // as many line feeds in as out, some of the lines given tabs
        if (kind == 2)
            for (char c : t.bytes.substr((size_t)pos, (size_t)removed))
                if (c == '\n') in += std::string(rng() % 300, rng() % 2 ? 't' : '\t') + "\n";
        if (kind == 0) t.Replace(pos, 0, std::string(1 + rng() % 12, 'b'));
        if (kind == 1) t.Replace(pos, removed, std::string(rng() % 3, 'c'));
        if (kind == 2) t.Replace(pos, removed, in);
        if (step % 50 == 0) t.Check(rng);
        if (::testing::Test::HasFatalFailure()) FAIL() << "step " << step;
    }
    t.Check(rng);
}

// The entries of short lines take under two bytes a line, not eight; thousands of line feeds typed
// at one place overflow block after block, and deleting them again joins the blocks they emptied;
// deleting most lines of every block gives their room back, not keeping blocks sized for them.
TEST(LineIndex, BlocksSplitJoinAndGiveTheirMemoryBack) {
    std::mt19937 rng(5);
    IndexedText t, fresh;
    std::string text, left;
    for (int k = 0; k < 200000; ++k) text += "line " + std::to_string(100000 + k) + "\n"; // 12 bytes a line
    t.Load(text);
    EXPECT_LT(t.index.HeldBytes(), 200001u * 2);
    int at = 100000 * 12 + 6;
    for (int k = 0; k < 20000; ++k) t.Replace(at + k, 0, "\n");
    t.Check(rng);
    for (int k = 0; k < 20000; ++k) t.Replace(at, 1, "");
    t.Check(rng);
    for (int k = 19999 - 39; k >= 0; k -= 40) t.Replace(k * 12, 39 * 12, "");
    t.Replace(20000 / 40 * 12, t.Size() - 20000 / 40 * 12, "");
    t.Check(rng);
    for (int k = 0; k < 20000; k += 40) left += text.substr((size_t)(k + 39) * 12, 12); // every 40th line
    fresh.Load(left);
    EXPECT_EQ(fresh.index.Count(), t.index.Count());
    EXPECT_LT(t.index.HeldBytes(), fresh.index.HeldBytes() * 3);
    t.Replace(0, t.Size(), "");
    t.Check(rng);
}

// Under the memory seam every allocation fails in turn: a build or an edit reports it, and the
// index built again afterwards is right.
TEST(LineIndex, AnIndexThatRunsOutOfMemoryReportsIt) {
    std::mt19937 rng(3);
    std::string text;
    for (int k = 0; k < 5000; ++k) text += std::string(k % 300, '\t') + "\n";
    for (int n = 1;; ++n) {
        CStringEx s;
        s.SetBufferSize(1 << 16);
        s.Insert(0, text.c_str());
        CLineIndex index;
        bool built = false;
        if (!WithAllocationFailing(n, [&] { built = index.Build(s, kTab); })) {
            EXPECT_TRUE(built);
            break;
        }
        EXPECT_FALSE(built);
        EXPECT_EQ(0, index.Count());
    }
    // An edit that splits its block (600 line feeds, a line too wide for a width byte) and one that
    // empties blocks, each allocation of the index failing in turn.
    for (int removed : {0, 40000}) {
        for (int n = 1;; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n) + " failing, " + std::to_string(removed) +
                         " removed");
            IndexedText t;
            t.Load(text);
            bool applied = false;
            bool reached = t.ReplaceFailing(t.Size() / 3, removed,
                                            std::string(600, '\n') + std::string(300, 'w'), n, applied);
            t.Check(rng);
            if (::testing::Test::HasFatalFailure() || !reached) {
                EXPECT_TRUE(applied);
                break;
            }
        }
    }
}

// The walk by the views' rules, each count on its own: a tab to the next stop, white-space controls a
// cell in the one count and nothing in the other, other controls nothing.
CColumnState WalkTo(const CStringEx& text, int start, int pos) {
    CColumnState state{start};
    for (int p = start; p < pos; ++p) {
        unsigned char b = (unsigned char)text.GetAt(p);
        bool high = b >= 0x80, printable = b >= 0x20 && b < 0x7F;
        bool space = b == '\r' || b == '\f' || b == '\v' || b == '\n' || b == ' ';
        if (b == '\t') {
            state.cells += kTab - state.cells % kTab;
            state.visibleCells += kTab - state.visibleCells % kTab;
        } else {
            state.cells += (high || printable || space) ? 1 : 0;
            state.visibleCells += (high || printable) ? 1 : 0;
        }
        state.counted += (b == '\t' || high || printable || space) ? 1 : 0;
        state.highs += high ? 1 : 0;
    }
    // A lead byte just before pos whose character is not closed: the walk by the code page's rule.
    state.gbkOpen = pos > start && gbk::CharStart(text, start, pos - 1) == pos - 1 &&
                    byteclass::IsGbkLead((unsigned char)text.GetAt(pos - 1));
    state.offset = pos;
    return state;
}

std::vector<int> Fields(const CColumnState& s) {
    return {s.offset, s.cells, s.visibleCells, s.counted, s.highs, s.gbkOpen ? 1 : 0};
}

// Bytes of every class the walk tells apart: printable, tab, high, white-space and other controls.
std::string LongLine(std::mt19937& rng, int bytes) {
    static const char kinds[] = {'a', ' ', '\t', '\xB0', '\xA1', '\r', '\f', '\x01', '\x7F', 'Z'};
    std::string line;
    for (int k = 0; k < bytes; ++k) line += kinds[rng() % sizeof kinds];
    return line;
}

int LineEnd(const CStringEx& text, int start) {
    int p = start;
    while (p < text.GetTextSize() && text.GetAt(p) != '\n') ++p;
    return p;
}

TEST(LineColumns, StatesMatchAWalkFromTheLineStartThroughEdits) {
    std::mt19937 rng(24);
    CStringEx text;
    std::string body = "short\n" + LongLine(rng, 60000) + "\n" + LongLine(rng, 30000) + "\nend\n";
    ASSERT_TRUE(text.Append(body.c_str()));
    CLineColumns columns(kTab);
    for (int round = 0; round < 300; ++round) {
        // The long lines start after the first and second line feeds.
        int second = LineEnd(text, 0) + 1;
        int third = LineEnd(text, second) + 1;
        int start = round % 2 ? second : third;
        int end = LineEnd(text, start);
        int pos = start + (int)(rng() % (unsigned)(end - start + 1));
        CColumnState before = columns.Before(text, start, end, pos);
        EXPECT_LE(before.offset, pos);
        EXPECT_GT(before.offset + CLineColumns::kStep, std::min(pos, end - CLineColumns::kStep + 1));
        EXPECT_EQ(Fields(WalkTo(text, start, before.offset)), Fields(before));

        int target = (int)(rng() % 70000u);
        auto more = [&](const CColumnState& s) { return s.cells < target; };
        CColumnState last = columns.LastWhere(text, start, end, more);
        EXPECT_EQ(Fields(WalkTo(text, start, last.offset)), Fields(last));
        EXPECT_TRUE(last.offset == start || more(last));
        if (last.offset + CLineColumns::kStep < end) {
            EXPECT_FALSE(more(WalkTo(text, start, last.offset + CLineColumns::kStep)));
        }
        if (HasFatalFailure()) return;

        // An edit somewhere: inside either long line, before them, or one that joins or splits lines.
        int at = (int)(rng() % (unsigned)(text.GetTextSize() - 1));
        int removed = rng() % 3 == 0 ? (int)(rng() % 5) : 0;
        std::string inserted = rng() % 7 == 0 ? "\n" : LongLine(rng, (int)(rng() % 6));
        if (removed > 0 && text.HasByte('\n', at, at + removed)) continue; // keep three lines
        if (inserted == "\n") inserted = "\t";
        text.Replace(at, removed, inserted.c_str());
        columns.Edited(at, removed, (int)inserted.size());
    }
}

} // namespace
