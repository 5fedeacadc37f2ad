// Character boundaries by the GBK code page's rule, walked over the text where it lies.
#include "text/CharBoundaries.h"

#include "framework/base/ByteClass.h"

namespace gbk {

int CharLength(const CStringEx& text, int pos) {
    if (pos < 0 || pos + 1 >= text.GetTextSize()) return 1;
    return byteclass::IsGbkLead((unsigned char)text.GetAt(pos)) &&
                   byteclass::IsGbkTrail((unsigned char)text.GetAt(pos + 1))
               ? 2
               : 1;
}

int CharStart(const CStringEx& text, int from, int pos) {
    if (from < 0) from = 0;
    if (pos <= from || pos >= text.GetTextSize()) return pos;
    const char* pieces[2];
    int sizes[2];
    text.GetPieces(from, pos + 1, pieces[0], sizes[0], pieces[1], sizes[1]);
    int p = from;
    bool open = false; // the byte before p is a lead byte that starts a character
    for (int k = 0; k < 2; ++k) {
        for (int i = 0; i < sizes[k]; ++i, ++p) {
            unsigned char b = (unsigned char)pieces[k][i];
            bool trail = open && byteclass::IsGbkTrail(b);
            if (p == pos) return trail ? pos - 1 : pos;
            open = !trail && byteclass::IsGbkLead(b);
        }
    }
    return pos;
}

} // namespace gbk
