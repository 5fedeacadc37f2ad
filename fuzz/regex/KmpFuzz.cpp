// Fuzz target: KmpFindNoCase, KmpFindReverse and KmpNext against naive scans under the same folding.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "regex/KmpFind.h"

namespace {
unsigned char Fold(char c) {
    unsigned char b = (unsigned char)c;
    return (b >= 'A' && b <= 'Z') ? (unsigned char)(b + 32) : b;
}

bool EqualAt(const std::string& text, size_t at, const std::string& pattern, size_t length) {
    for (size_t k = 0; k < length; ++k)
        if (Fold(text[at + k]) != Fold(pattern[k])) return false;
    return true;
}

void Check(bool ok) {
    if (!ok) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: the pattern's length; second: the reverse search's start; the rest, up to any zero
    // byte, the pattern then the text.
    size_t m = data[0] % 16;
    int start = (int)data[1] - 8;
    std::string rest(reinterpret_cast<const char*>(data + 2), size - 2);
    rest = rest.substr(0, rest.find('\0'));
    if (m > rest.size()) m = rest.size();
    std::string pattern = rest.substr(0, m), text = rest.substr(m);

    int naive = -1;
    for (size_t p = 0; m <= text.size() && p + m <= text.size(); ++p)
        if (EqualAt(text, p, pattern, m)) {
            naive = (int)p;
            break;
        }
    Check(KmpFindNoCase(text.c_str(), pattern.c_str()) == naive);

    int reverse = -1;
    if (m > 0 && m <= text.size()) {
        int last = (int)(text.size() - m);
        for (int p = (start < 0 || start > last) ? last : start; p >= 0 && reverse < 0; --p)
            if (EqualAt(text, (size_t)p, pattern, m)) reverse = p;
    }
    Check(KmpFindReverse(text.c_str(), pattern.c_str(), start) == reverse);

    if (m > 0) {
        std::vector<int> table(m, -1);
        KmpNext((int)m, pattern.c_str(), table.data());
        for (size_t k = 0; k < m; ++k) {
            int border = 0;
            for (size_t b = k == 0 ? 0 : k - 1; b > 0; --b)
                if (EqualAt(pattern, k - b, pattern, b)) {
                    border = (int)b;
                    break;
                }
            Check(table[k] == border);
        }
    }
    return 0;
}
