// CTextSelection: an editor view's caret, selection and anchor, and how they follow edits of the text.
#pragma once

#include <algorithm>

// A rectangle of character cells: lines from the anchor's to the corner's, cells from the smaller to
// the larger of the two cells (the larger one past the block). Lines and cells count from 0.
struct CColumnBlock {
    bool active = false;
    int anchorLine = 0;
    int anchorCell = 0;
    int line = 0; // the moving corner
    int cell = 0;
    char pendingLead = 0; // a typed lead byte waiting for its trail

    int FirstLine() const { return std::min(anchorLine, line); }
    int LastLine() const { return std::max(anchorLine, line); }
    int FirstCell() const { return std::min(anchorCell, cell); }
    int EndCell() const { return std::max(anchorCell, cell); }
    void End() {
        active = false;
        pendingLead = 0;
    }
};

// Byte offsets into the document's text, whose last byte is the terminator.
// Invariant, restored by Clamp whenever the text's length changes: 0 <= start <= end <= length - 1
// and the caret and the anchor lie in 0 ... length - 1. The caret usually stands at one end of the
// selection; a few keys leave it elsewhere (Shift+Tab keeps the inserted tab selected behind it).
struct CTextSelection {
    int caret = 0;
    int start = 0;
    int end = 0;
    int anchor = 0;     // where a Shift or mouse selection began
    CColumnBlock block; // while active, the selection is this block, the range above collapsed

    bool IsEmpty() const { return start == end; }
    void Collapse() { start = end = caret; }
    void CollapseAt(int pos) {
        caret = pos;
        Collapse();
    }
    // The range between the anchor and the caret.
    void FromAnchor() {
        start = std::min(anchor, caret);
        end = std::max(anchor, caret);
    }
    // The range between a and b with the caret at b.
    void Select(int a, int b) {
        start = std::min(a, b);
        end = std::max(a, b);
        caret = b;
    }
    // removed bytes at pos became inserted bytes: offsets behind the change move with the text, offsets
    // inside the removed bytes go to pos; the result is clamped to a text of the given length.
    void Follow(int pos, int removed, int inserted, int length) {
        for (int* offset : {&caret, &start, &end, &anchor})
            *offset = FollowEdit(*offset, pos, removed, inserted);
        Clamp(length);
    }
    void Clamp(int length) {
        int last = std::max(length - 1, 0);
        for (int* offset : {&caret, &start, &end, &anchor}) *offset = std::clamp(*offset, 0, last);
        if (start > end) std::swap(start, end);
    }

    static int FollowEdit(int offset, int pos, int removed, int inserted) {
        if (offset <= pos) return offset;
        return offset < pos + removed ? pos : offset + inserted - removed;
    }
};
