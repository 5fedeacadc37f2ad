// Fuzz target: rules taken from the input's head, the rest scanned; runs must tile and advance.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "coloring/ColorScanner.h"

namespace {
// Splits off the next rule text: up to a 0x01 byte, at most 4 bytes.
std::string Take(const uint8_t*& p, const uint8_t* end) {
    std::string s;
    while (p < end && *p != 1 && s.size() < 4) s += (char)*p++;
    if (p < end) ++p;
    return s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    CColorRuleSet rules;
    rules.AddKeyword(Take(p, end).c_str(), 1);
    rules.AddTitle(Take(p, end).c_str(), 2);
    std::string b = Take(p, end), e = Take(p, end);
    rules.AddComment(b.c_str(), e.c_str(), 3);
    b = Take(p, end), e = Take(p, end);
    rules.AddQuote(b.c_str(), e.c_str(), 4);
    std::string text(reinterpret_cast<const char*>(p), (size_t)(end - p));
    text += '\0';
    CColorArray runs;
    CMarkerIndex markers;
    int length = (int)text.size();
    int start = length > 0 ? (int)(size % (size_t)length) : 0;
    CColorScanner(text.data(), length, runs, rules, markers).ParseTextColor(start, length);
    int prev = start;
    for (int k = 0; k < runs.GetColorNumber(); ++k) {
        if (runs.GetColorPos(k) <= prev || runs.GetColorPos(k) > length) std::abort();
        prev = runs.GetColorPos(k);
    }
    return 0;
}
