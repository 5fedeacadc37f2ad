// Update bracket and observer list of coloured buffers.
#include "coloring/ColorUpdate.h"

void CColorUpdateBracket::Begin(int length) {
    if (m_nesting <= 0) m_lowest = length;
    ++m_nesting;
}

bool CColorUpdateBracket::End(int pos) {
    --m_nesting;
    if (pos < m_lowest) m_lowest = pos;
    return m_nesting == 0;
}

int CColorUpdateBracket::AddTarget(CColorStringUpdate* target) {
    if (target == nullptr) return 0;
    for (int i = 0; i < m_targets.GetSize(); ++i)
        if (m_targets.GetAt(i) == target) return 1;
    return m_targets.Add(target) >= 0 ? 1 : 0;
}

void CColorUpdateBracket::Notify(int arg) const {
    for (int i = 0; i < m_targets.GetSize(); ++i)
        static_cast<CColorStringUpdate*>(m_targets.GetAt(i))->DoColorStringUpdate(arg);
}
