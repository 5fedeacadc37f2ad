// Checkpoints of the cell walk along long lines against a walk from the line's start, through edits.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/base/ByteClass.h"
#include "text/LineColumns.h"

namespace {

const int kTab = 4;

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
