// Test helper: a text with its terminating zero, a rule set and a run list, scanned on request.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "coloring/ColorScanner.h"

struct ScanFixture {
    std::string text; // includes the terminating zero
    CColorRuleSet rules;
    CColorArray runs;
    CMarkerIndex markers;

    explicit ScanFixture(const std::string& body) : text(body) { text += '\0'; }
    int Length() const { return (int)text.size(); }
    CColorScanner Scanner() { return CColorScanner(text.data(), Length(), runs, rules, markers); }
    void Scan(int start, int end) { Scanner().ParseTextColor(start, end); }
    // The runs as (end, colour) pairs.
    std::vector<std::pair<int, COLORREF>> Runs() {
        std::vector<std::pair<int, COLORREF>> out;
        for (int k = 0; k < runs.GetColorNumber(); ++k) out.emplace_back(runs.GetColorPos(k), runs.GetAt(k));
        return out;
    }
};
