// CBlackString: edits forwarded to the string, followed by a rebuild or the one-byte patch.
#include "text/BlackString.h"

CBlackString::CBlackString() {
    SetTabSize(4);
}

CBlackString& CBlackString::Insert(int pos, const char* text) {
    CStringEx::Insert(pos, text);
    Reset();
    return *this;
}

CBlackString& CBlackString::Insert(int pos, const char* text, int length) {
    CStringEx::Insert(pos, text, length);
    Reset();
    return *this;
}

CBlackString& CBlackString::Insert(int pos, char c) {
    int line = OffsetToLine(pos);
    bool inStep = m_lines.IsInStep(*this);
    int before = GetTextSize();
    CStringEx::Insert(pos, c);
    if (GetTextSize() != before) m_lines.PatchInsertedByte(*this, pos, line, inStep);
    return *this;
}

CBlackString& CBlackString::Return(int pos) {
    CStringEx::Insert(pos, '\n');
    Reset();
    return *this;
}

CBlackString& CBlackString::Delete(int pos, int count) {
    CStringEx::Delete(pos, count);
    Reset();
    return *this;
}

CBlackString& CBlackString::Replace(int pos, int count, const char* text) {
    CStringEx::Replace(pos, count, text);
    Reset();
    return *this;
}

CBlackString& CBlackString::Replace(int pos, int count, char c) {
    char one[2] = {c, 0};
    return Replace(pos, count, one);
}
