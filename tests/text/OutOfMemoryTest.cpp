// Edits refused for want of memory, through the movable-memory layer's failure seam: each allocation
// of an operation fails in turn, and the refused operation leaves the bytes and the line table as
// they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "framework/base/MemoryBlock.h"
#include "text/BlackString.h"
#include "tests/common/MemorySeamKit.h"

namespace {
std::string Bytes(const CStringEx& s) {
    return std::string(s.GetBuffer(), (size_t)s.GetTextSize());
}

// Runs operation with the nth allocation failing, for n = 1, 2, ... until a run makes no failure
// happen; check sees the string after each run and whether it was refused.
void EachAllocationFailing(
    const std::function<void(CBlackString&)>& setUp, const std::function<BOOL(CBlackString&)>& operation,
    const std::function<void(const CBlackString&, const std::string& before, BOOL ok)>& check) {
    for (int n = 1; n < 20; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        CBlackString s;
        setUp(s);
        std::string before = Bytes(s);
        BOOL ok = FALSE;
        bool failedOne = WithAllocationFailing(n, [&] { ok = operation(s); });
        check(s, before, ok);
        if (!failedOne) return; // the operation needed fewer than n allocations
    }
    ADD_FAILURE() << "the operation never ran without a failing allocation";
}

void ExpectLineTableOf(const CBlackString& s) {
    std::string text = Bytes(s);
    int lines = 1;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\n') {
            EXPECT_EQ(s.GetLineOffset(lines), (int)i + 1);
            ++lines;
        }
    EXPECT_EQ(s.GetLineCount(), lines);
}

// A buffer of two full blocks' worth of text, so that growing it needs a new block.
void Full(CBlackString& s) {
    s.SetBufferSize(4096);
    std::string text;
    while ((int)text.size() + 64 < s.GetCapacity() - 1) text += "line of text\n";
    s.Insert(0, text.c_str());
}
} // namespace

// A growing insertion and a growing replacement: made whole, or refused with not even the replaced
// bytes gone.
TEST(OutOfMemory, AGrowingEditIsRefusedWholeOrMadeWhole) {
    std::string big(10000, 'x');
    for (int removed : {-1, 20}) { // -1: an insertion
        EachAllocationFailing(
            Full,
            [&](CBlackString& s) {
                return removed < 0 ? s.CStringEx::Insert(3, big.c_str())
                                   : s.CStringEx::Replace(3, removed, big.c_str());
            },
            [&](const CBlackString& s, const std::string& before, BOOL ok) {
                EXPECT_EQ(Bytes(s),
                          ok ? before.substr(0, 3) + big + before.substr(3 + std::max(removed, 0)) : before);
            });
    }
}

TEST(OutOfMemory, TheBuffersLineTableFollowsARefusedEdit) {
    std::string lines;
    for (int i = 0; i < 800; ++i) lines += "new line\n";
    // The buffers' edits answer the buffer: the text's size tells whether the edit was made whole.
    auto madeWhole = [](int growth, const std::function<void(CBlackString&)>& edit) {
        return [growth, edit](CBlackString& s) {
            int before = s.GetTextSize();
            edit(s);
            return s.GetTextSize() == before + growth ? TRUE : FALSE;
        };
    };
    auto unchangedWhenRefused = [](const CBlackString& s, const std::string& before, BOOL ok) {
        if (!ok) {
            EXPECT_EQ(Bytes(s), before);
        }
        ExpectLineTableOf(s);
    };
    int size = (int)lines.size();
    EachAllocationFailing(Full,
                          madeWhole(size - 5, [&](CBlackString& s) { s.Replace(40, 5, lines.c_str()); }),
                          unchangedWhenRefused);
    EachAllocationFailing(Full, madeWhole(size, [&](CBlackString& s) { s.Insert(0, lines.c_str()); }),
                          unchangedWhenRefused);
}
