// The classes of a text byte that every layer walks text with, each under one name.
//
// Two rules for two-byte characters live side by side and must not be confused:
// - the half-byte rule of the views and the colouring (IsHalfOfPair): any byte with bit 7 set is one
//   half of a two-byte character, and pairs are told apart by counting such bytes from a line's start;
// - the code page's own rule (IsGbkLead, IsGbkTrail): a lead byte 0x81-0xFE and the trail byte after
//   it (0x40-0x7E or 0x80-0xFE) are one character, so a trail can be an ASCII letter or '@' or '\'.
#pragma once

namespace byteclass {

inline bool IsHalfOfPair(unsigned char b) {
    return b >= 0x80;
}
inline bool IsGbkLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
inline bool IsGbkTrail(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}
// A one-byte character with a glyph: space to tilde.
inline bool IsPrintableAscii(unsigned char b) {
    return b >= 0x20 && b < 0x7F;
}
// Space, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsWhiteSpace(unsigned char b) {
    return b == ' ' || (b >= 9 && b <= 13);
}
// The bytes the views' cell walk gives one cell each; a tab goes to its stop instead, and any other
// control byte takes no cell.
inline bool TakesOneCell(unsigned char b) {
    return IsPrintableAscii(b) || IsWhiteSpace(b) || IsHalfOfPair(b);
}

} // namespace byteclass
