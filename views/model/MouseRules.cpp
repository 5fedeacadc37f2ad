// The editor's mouse rules: where a press puts the caret, how a drag and the auto-scroll grow the
// selection from the anchor, and the double click's word.
#include "views/model/MouseRules.h"

#include <algorithm>

CPressResult CMouseRules::Press(int pos) {
    CPressResult result;
    m_model.EndTyping();
    m_sel.anchor = pos;
    m_nLastDrag = pos;
    // A second press at the same offset keeps whatever was selected since the first.
    if (pos == m_nLastClick) return result;
    result.acted = true;
    result.hadSelection = !m_sel.IsEmpty();
    result.firstLine = m_model.LineOf(m_sel.start);
    result.lastLine = m_model.LineOf(m_sel.end);
    m_sel.CollapseAt(pos);
    m_model.RememberColumn();
    m_nLastClick = pos;
    m_nSearchOrigin = m_sel.caret;
    return result;
}

bool CMouseRules::DragTo(int pos, int& first, int& last) {
    if (pos == m_nLastDrag) return false;
    int lines[4] = {m_model.LineOf(pos), m_model.LineOf(m_sel.start), m_model.LineOf(m_sel.end),
                    m_model.LineOf(m_nLastDrag)};
    first = *std::min_element(lines, lines + 4);
    last = *std::max_element(lines, lines + 4);
    m_sel.caret = pos;
    m_sel.FromAnchor();
    m_nLastDrag = pos;
    m_nSearchOrigin = pos;
    return true;
}

void CMouseRules::AutoScrollTo(int pos) {
    m_sel.caret = pos;
    if (pos > m_sel.start)
        m_sel.end = pos;
    else
        m_sel.start = pos;
    m_nLastDrag = pos;
}

bool CMouseRules::DoubleClick(int pos) {
    int start = 0, end = 0;
    m_model.EndTyping();
    bool word = m_model.WordBounds(pos, start, end);
    if (word) m_sel.Select(start, end);
    m_nSearchOrigin = m_sel.caret;
    return word;
}
