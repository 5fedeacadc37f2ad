// A plainly recursive matcher over a compiled CRegExp program, the yardstick for the heap-stack matcher.
//
// It walks the node program as written: iterative along next pointers, recursing at every choice,
// trying the longest repetition first, and setting a group's pointers while the recursion unwinds
// (so the last pass through a group wins). It tries every start position, which equals CRegExp's
// search whenever the subject is pure ASCII (the first-byte and must-string hints then skip only
// hopeless positions). A step budget keeps it from running for ever on exponential cases.
#pragma once

#include <cstring>

#include "framework/base/Mbcs936.h"
#include "regex/RegExp.h"

class CRegReference {
public:
    struct Result {
        bool decided = false; // false: the step budget ran out
        int offset = -1;
        const char* startp[CRegExp::kGroups] = {};
        const char* endp[CRegExp::kGroups] = {};
    };

    CRegReference(const char* program, long budget) : m_program(program), m_budget(budget) {}

    Result Find(const char* subject) {
        Result r;
        m_lineStart = subject;
        for (const char* s = subject;; ++s) {
            m_input = s;
            std::memset(m_startp, 0, sizeof m_startp);
            std::memset(m_endp, 0, sizeof m_endp);
            if (Match(m_program)) {
                std::memcpy(r.startp, m_startp, sizeof m_startp);
                std::memcpy(r.endp, m_endp, sizeof m_endp);
                r.startp[0] = s;
                r.endp[0] = m_input;
                r.offset = (int)(s - subject);
                break;
            }
            if (m_budget < 0 || *s == '\0') break;
        }
        r.decided = m_budget >= 0;
        return r;
    }

private:
    static const char* Next(const char* node) {
        int offset = (int16_t)(uint16_t)((unsigned char)node[1] | ((unsigned char)node[2] << 8));
        if (offset == 0) return nullptr;
        return node[0] == CRegExp::BACK ? node - offset : node + offset;
    }
    static bool InSet(const char* set, unsigned char c) {
        return cp936::mbschr(reinterpret_cast<const unsigned char*>(set), c) != nullptr;
    }
    int Repeat(const char* node) const {
        const unsigned char* in = reinterpret_cast<const unsigned char*>(m_input);
        const unsigned char* set = reinterpret_cast<const unsigned char*>(node + 3);
        switch (node[0]) {
        case CRegExp::ANY:
            return (int)std::strlen(m_input);
        case CRegExp::ANYOF:
            return (int)cp936::mbsspn(in, set);
        case CRegExp::ANYBUT:
            return (int)cp936::mbscspn(in, set);
        case CRegExp::EXACTLY: {
            int n = 0;
            while (m_input[n] != '\0' && m_input[n] == node[3]) ++n;
            return n;
        }
        default:
            return 0;
        }
    }

    bool Match(const char* scan) {
        while (scan != nullptr) {
            if (--m_budget < 0) return false;
            const char* next = Next(scan);
            char op = scan[0];
            unsigned char c = (unsigned char)*m_input;
            if (op == CRegExp::END) return true;
            if (op == CRegExp::BOL) {
                if (m_input != m_lineStart) return false;
            } else if (op == CRegExp::EOL) {
                if (c != 0) return false;
            } else if (op == CRegExp::ANY) {
                if (c == 0) return false;
                ++m_input;
            } else if (op == CRegExp::ANYOF || op == CRegExp::ANYBUT) {
                if (c == 0 || InSet(scan + 3, c) != (op == CRegExp::ANYOF)) return false;
                ++m_input;
            } else if (op == CRegExp::EXACTLY) {
                size_t len = std::strlen(scan + 3);
                if (scan[3] != *m_input || cp936::mbsnbcmp(scan + 3, m_input, len) != 0) return false;
                m_input += len;
            } else if (op == CRegExp::BRANCH) {
                if (next == nullptr || next[0] != CRegExp::BRANCH) {
                    next = scan + 3;
                } else {
                    const char* save = m_input;
                    for (; scan != nullptr && scan[0] == CRegExp::BRANCH; scan = Next(scan)) {
                        if (Match(scan + 3)) return true;
                        m_input = save;
                    }
                    return false;
                }
            } else if (op == CRegExp::STAR || op == CRegExp::PLUS) {
                char follow = (next != nullptr && next[0] == CRegExp::EXACTLY) ? next[3] : 0;
                const char* save = m_input;
                int minimum = op == CRegExp::STAR ? 0 : 1;
                for (int k = Repeat(scan + 3); k >= minimum; --k) {
                    m_input = save + k;
                    if ((follow == 0 || *m_input == follow) && Match(next)) return true;
                }
                return false;
            } else if (op > CRegExp::OPEN && op < CRegExp::OPEN + CRegExp::kGroups) {
                const char* save = m_input;
                if (!Match(next)) return false;
                if (m_startp[op - CRegExp::OPEN] == nullptr) m_startp[op - CRegExp::OPEN] = save;
                return true;
            } else if (op > CRegExp::CLOSE && op < CRegExp::CLOSE + CRegExp::kGroups) {
                const char* save = m_input;
                if (!Match(next)) return false;
                if (m_endp[op - CRegExp::CLOSE] == nullptr) m_endp[op - CRegExp::CLOSE] = save;
                return true;
            } else if (op != CRegExp::NOTHING && op != CRegExp::BACK) {
                return false;
            }
            scan = next;
        }
        return false;
    }

    const char* m_program;
    long m_budget;
    const char* m_input = nullptr;
    const char* m_lineStart = nullptr;
    const char* m_startp[CRegExp::kGroups] = {};
    const char* m_endp[CRegExp::kGroups] = {};
};
