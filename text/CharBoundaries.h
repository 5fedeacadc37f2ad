// Character boundaries by the GBK code page's own rule: a lead byte 0x81-0xFE and the trail byte
// after it (0x40-0x7E or 0x80-0xFE) are one character, found by walking from a known boundary.
#pragma once

#include "text/StringEx.h"

namespace gbk {

// The length (1 or 2) of the character at pos, a character boundary.
int CharLength(const CStringEx& text, int pos);
// The start of the character holding pos, walking from from (a boundary at or before pos: a line's
// start is one, as no trail byte is a line feed).
int CharStart(const CStringEx& text, int from, int pos);

} // namespace gbk
