// StartBatch: line starts gathered locally and appended to the table in batches.
#pragma once

#include <cstring>

#include "framework/base/Array.h"

// One array resize per batch instead of one per line; Flush reports a failed growth.
class StartBatch {
public:
    explicit StartBatch(CIntArray& starts) : m_starts(starts) {}
    bool Add(int offset) {
        m_buf[m_n++] = offset;
        return m_n < kSize || Flush();
    }
    bool Flush() {
        if (m_n == 0) return true;
        int old = m_starts.GetSize();
        if (!m_starts.SetSize(old + m_n)) return false;
        std::memcpy(m_starts.GetData() + old, m_buf, sizeof(int) * (size_t)m_n);
        m_n = 0;
        return true;
    }

private:
    static const int kSize = 512;
    CIntArray& m_starts;
    int m_buf[kSize];
    int m_n = 0;
};
