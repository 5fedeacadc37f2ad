// Edits refused for want of memory, through the movable-memory layer's failure seam: each allocation
// of an operation fails in turn, and the refused operation leaves the bytes and the line table as
// they were.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/base/MemoryBlock.h"
#include "text/BlackString.h"
#include "tests/common/MemorySeamKit.h"

namespace {
std::string Bytes(const CStringEx& s) {
    return std::string(s.GetBuffer(), (size_t)s.GetTextSize());
}

// Runs edit (which answers whether it was made whole) on a buffer of two full blocks' worth of text,
// so that growing it needs a new block, with the nth allocation failing for n = 1, 2, ... until a
// run makes no failure happen. A refused edit leaves the bytes as they were; made whole, they are
// want; after the buffer's own edits the line table is the text's either way.
void EachAllocationFailing(const std::function<BOOL(CBlackString&)>& edit, const std::string& want,
                           bool lineTable = true) {
    for (int n = 1; n < 20; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        CBlackString s;
        s.SetBufferSize(4096);
        std::string text;
        while ((int)text.size() + 64 < s.GetCapacity() - 1) text += "line of text\n";
        s.Insert(0, text.c_str());
        std::string before = Bytes(s);
        BOOL ok = FALSE;
        bool failedOne = WithAllocationFailing(n, [&] { ok = edit(s); });
        std::string after = Bytes(s);
        EXPECT_EQ(after, ok ? want : before);
        int lines = 1;
        for (size_t i = 0; lineTable && i + 1 < after.size(); ++i) {
            if (after[i] != '\n') continue;
            EXPECT_EQ(s.GetLineOffset(lines++), (int)i + 1);
        }
        if (lineTable) {
            EXPECT_EQ(s.GetLineCount(), lines);
        }
        if (!failedOne) return; // the operation needed fewer than n allocations
    }
    ADD_FAILURE() << "the operation never ran without a failing allocation";
}
} // namespace

// A growing insertion and replacement of the string, and of the buffer (whose edits answer the
// buffer: the text's size tells whether the edit was made whole), not even the replaced bytes gone.
TEST(OutOfMemory, AGrowingEditIsRefusedWholeOrMadeWhole) {
    std::string big(10000, 'x'), lines, text;
    for (int i = 0; i < 800; ++i) lines += "new line\n";
    CBlackString probe;
    probe.SetBufferSize(4096);
    while ((int)text.size() + 64 < probe.GetCapacity() - 1) text += "line of text\n";
    text += '\0';
    auto grew = [](CBlackString& s, int by, const std::function<void()>& edit) {
        int before = s.GetTextSize();
        edit();
        return s.GetTextSize() == before + by ? TRUE : FALSE;
    };
    EachAllocationFailing([&](CBlackString& s) { return s.CStringEx::Insert(3, big.c_str()); },
                          text.substr(0, 3) + big + text.substr(3), false);
    EachAllocationFailing([&](CBlackString& s) { return s.CStringEx::Replace(3, 20, big.c_str()); },
                          text.substr(0, 3) + big + text.substr(23), false);
    EachAllocationFailing(
        [&](CBlackString& s) {
            return grew(s, (int)lines.size() - 5, [&] { s.Replace(40, 5, lines.c_str()); });
        },
        text.substr(0, 40) + lines + text.substr(45));
    EachAllocationFailing(
        [&](CBlackString& s) { return grew(s, (int)lines.size(), [&] { s.Insert(0, lines.c_str()); }); },
        lines + text);
}
