// Cell columns along long lines: the checkpoints, found lazily and kept through edits before them.
#include "text/LineColumns.h"

#include "framework/base/ByteClass.h"

#include <algorithm>

void CColumnState::Step(unsigned char b, int tabSize) {
    ++offset;
    highs += byteclass::IsHalfOfPair(b) ? 1 : 0;
    gbkOpen = !(gbkOpen && byteclass::IsGbkTrail(b)) && byteclass::IsGbkLead(b);
    if (b == '\t') {
        cells = (cells / tabSize + 1) * tabSize;
        visibleCells = (visibleCells / tabSize + 1) * tabSize;
        ++counted;
        return;
    }
    bool visible = byteclass::IsPrintableAscii(b) || byteclass::IsHalfOfPair(b);
    if (byteclass::TakesOneCell(b)) {
        ++cells;
        ++counted;
    }
    if (visible) ++visibleCells;
}

CLineColumns::Line& CLineColumns::LineAt(int start) {
    ++m_clock;
    for (Line& line : m_lines) {
        if (line.start == start) {
            line.lastUse = m_clock;
            return line;
        }
    }
    const size_t kLines = 8;
    if (m_lines.size() >= kLines) {
        auto oldest = std::min_element(m_lines.begin(), m_lines.end(),
                                       [](const Line& a, const Line& b) { return a.lastUse < b.lastUse; });
        m_lines.erase(oldest);
    }
    m_lines.push_back(Line{start, {CColumnState{start}}, m_clock});
    return m_lines.back();
}

bool CLineColumns::Extend(const CStringEx& text, Line& line, int end, int limit) {
    size_t before = line.points.size();
    CColumnState state = line.points.back();
    while (state.offset < limit && state.offset + kStep <= end) {
        int stop = state.offset + kStep;
        const char* first = nullptr;
        const char* second = nullptr;
        int firstSize = 0, secondSize = 0;
        text.GetPieces(state.offset, stop, first, firstSize, second, secondSize);
        for (int i = 0; i < firstSize; ++i) state.Step((unsigned char)first[i], m_tabSize);
        for (int i = 0; i < secondSize; ++i) state.Step((unsigned char)second[i], m_tabSize);
        if (state.offset != stop) break; // the text ended early: nothing more to know
        line.points.push_back(state);
    }
    return line.points.size() > before;
}

CColumnState CLineColumns::Before(const CStringEx& text, int start, int end, int pos) {
    end = std::min(end, text.GetTextSize());
    if (end - start < kLongLine || pos - start < kStep || start < 0) return CColumnState{start};
    Line& line = LineAt(start);
    if (line.points.back().offset + kStep <= pos) Extend(text, line, end, pos - kStep + 1);
    size_t k = std::min(line.points.size() - 1, (size_t)((pos - start) / kStep));
    return line.points[k];
}

void CLineColumns::Edited(int pos, int removed, int inserted) {
    for (size_t i = 0; i < m_lines.size();) {
        Line& line = m_lines[i];
        if (pos + removed < line.start || (removed == 0 && pos < line.start)) {
            int delta = inserted - removed;
            line.start += delta;
            for (CColumnState& point : line.points) point.offset += delta;
        } else if (pos < line.start) {
            m_lines.erase(m_lines.begin() + (long)i); // the line feed before it went
            continue;
        } else {
            size_t keep = (size_t)((pos - line.start) / kStep) + 1;
            if (line.points.size() > keep) line.points.resize(keep);
        }
        ++i;
    }
}
