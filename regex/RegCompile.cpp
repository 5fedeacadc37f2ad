// CRegExp compilation (a sizing pass, then an emitting pass), copies and replacement strings.
#include "regex/RegExp.h"
#include "regex/RegMatchState.h"

#include <cstring>
#include <new>

#include "framework/base/Mbcs936.h"

namespace {
const int HAS_WIDTH = 1;
const int SIMPLE = 2;
const int STARTS_REPEAT = 4;
const char kMeta[] = "^$.[()|?+*\\";
// Offsets are 16-bit signed, so no program may outgrow what they can reach.
const long kMaxProgram = 32767;

bool IsRepeat(char c) {
    return c == '*' || c == '+' || c == '?';
}
} // namespace

CRegExp::CRegExp()
    : m_emit(0), m_compiled(0), m_foundText(nullptr), m_startp(), m_endp(), m_firstByte(0), m_anchored(0),
      m_mustString(nullptr), m_mustLength(0), m_program(nullptr), m_parse(nullptr), m_groupCount(1),
      m_code(nullptr), m_dummy(), m_programSize(0), m_input(nullptr), m_lineStart(nullptr),
      m_state(new CRegMatchState) {}

CRegExp::~CRegExp() {
    delete[] m_program;
    delete[] m_foundText;
}

CRegExp::CRegExp(const CRegExp& other) : CRegExp() {
    CopyFrom(other);
}

CRegExp& CRegExp::operator=(const CRegExp& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

// Deep copy: the program and the found text are duplicated; group pointers still point into the
// string the other object searched, which neither object owns.
void CRegExp::CopyFrom(const CRegExp& other) {
    delete[] m_program;
    delete[] m_foundText;
    m_program = nullptr;
    m_foundText = nullptr;
    m_emit = other.m_emit;
    m_compiled = other.m_compiled;
    std::memcpy(m_startp, other.m_startp, sizeof m_startp);
    std::memcpy(m_endp, other.m_endp, sizeof m_endp);
    m_firstByte = other.m_firstByte;
    m_anchored = other.m_anchored;
    m_mustString = nullptr;
    m_mustLength = other.m_mustLength;
    m_parse = other.m_parse;
    m_groupCount = other.m_groupCount;
    std::memcpy(m_dummy, other.m_dummy, sizeof m_dummy);
    m_code = m_dummy;
    m_programSize = 0;
    m_input = other.m_input;
    m_lineStart = other.m_lineStart;
    if (other.m_program != nullptr) {
        m_program = new (std::nothrow) char[(size_t)other.m_programSize];
        if (m_program != nullptr) {
            std::memcpy(m_program, other.m_program, (size_t)other.m_programSize);
            m_programSize = other.m_programSize;
            if (other.m_mustString != nullptr)
                m_mustString = m_program + (other.m_mustString - other.m_program);
        }
    }
    if (m_program == nullptr) m_mustLength = 0;
    if (other.m_foundText != nullptr) {
        size_t n = std::strlen(other.m_foundText) + 1;
        m_foundText = new (std::nothrow) char[n];
        if (m_foundText != nullptr) std::memcpy(m_foundText, other.m_foundText, n);
    }
    AnalyseProgram();
}

// Derives the matcher's tables; on a failed allocation the object is left without a program.
bool CRegExp::AnalyseProgram() {
    try {
        m_state->Analyse(m_program, m_programSize);
        return true;
    } catch (const std::bad_alloc&) {
        delete[] m_program;
        m_program = nullptr;
        m_programSize = 0;
        m_mustString = nullptr;
        m_state->Analyse(nullptr, 0);
        return false;
    }
}

int CRegExp::NextOffset(const char* node) {
    return (int16_t)(uint16_t)((unsigned char)node[1] | ((unsigned char)node[2] << 8));
}

const char* CRegExp::regnext(const char* node) {
    int offset = NextOffset(node);
    if (offset == 0) return nullptr;
    return OP(node) == BACK ? node - offset : node + offset;
}

char* CRegExp::regnext(char* node) {
    return const_cast<char*>(regnext(static_cast<const char*>(node)));
}

void CRegExp::regc(char b) {
    if (!m_emit) {
        ++m_programSize;
        return;
    }
    if (m_code < m_program + m_programSize) *m_code = b;
    ++m_code;
}

char* CRegExp::regnode(char op) {
    if (!m_emit) {
        m_programSize += 3;
        return m_dummy;
    }
    char* node = m_code;
    regc(op);
    regc(0);
    regc(0);
    return node;
}

void CRegExp::reginsert(char op, char* node) {
    if (!m_emit) {
        m_programSize += 3;
        return;
    }
    if (m_code + 3 > m_program + m_programSize) return;
    std::memmove(node + 3, node, (size_t)(m_code - node));
    m_code += 3;
    node[0] = op;
    node[1] = 0;
    node[2] = 0;
}

void CRegExp::regtail(char* node, const char* target) {
    if (!m_emit || node == m_dummy) return;
    char* scan = node;
    for (char* next = regnext(scan); next != nullptr; next = regnext(scan)) scan = next;
    long offset = OP(scan) == BACK ? scan - target : target - scan;
    scan[1] = (char)(offset & 0xFF);
    scan[2] = (char)((offset >> 8) & 0xFF);
}

void CRegExp::regoptail(char* node, const char* target) {
    if (!m_emit || node == m_dummy || OP(node) != BRANCH) return;
    regtail(OPERAND(node), target);
}

// An expression: alternatives up to ')' (paren) or the end of the pattern.
char* CRegExp::reg(int paren, int* flags) {
    *flags = HAS_WIDTH;
    char* ret = nullptr;
    int group = 0;
    if (paren) {
        if (m_groupCount >= kGroups) return nullptr;
        group = m_groupCount++;
        ret = regnode((char)(OPEN + group));
    }
    int branchFlags = 0;
    char* branch = regbranch(&branchFlags);
    if (branch == nullptr) return nullptr;
    if (ret != nullptr)
        regtail(ret, branch);
    else
        ret = branch;
    if (!(branchFlags & HAS_WIDTH)) *flags &= ~HAS_WIDTH;
    *flags |= branchFlags & STARTS_REPEAT;
    while (*m_parse == '|') {
        ++m_parse;
        branch = regbranch(&branchFlags);
        if (branch == nullptr) return nullptr;
        regtail(ret, branch);
        if (!(branchFlags & HAS_WIDTH)) *flags &= ~HAS_WIDTH;
        *flags |= branchFlags & STARTS_REPEAT;
    }
    char* ender = regnode(paren ? (char)(CLOSE + group) : END);
    regtail(ret, ender);
    if (m_emit)
        for (char* b = ret; b != nullptr; b = regnext(b)) regoptail(b, ender);
    if (paren) {
        if (*m_parse != ')') return nullptr;
        ++m_parse;
    } else if (*m_parse != '\0') {
        return nullptr;
    }
    return ret;
}

char* CRegExp::regbranch(int* flags) {
    *flags = 0;
    char* ret = regnode(BRANCH);
    char* chain = nullptr;
    while (*m_parse != '\0' && *m_parse != '|' && *m_parse != ')') {
        int pieceFlags = 0;
        char* latest = regpiece(&pieceFlags);
        if (latest == nullptr) return nullptr;
        *flags |= pieceFlags & HAS_WIDTH;
        if (chain == nullptr)
            *flags |= pieceFlags & STARTS_REPEAT;
        else
            regtail(chain, latest);
        chain = latest;
    }
    if (chain == nullptr) regnode(NOTHING);
    return ret;
}

char* CRegExp::regpiece(int* flags) {
    int atomFlags = 0;
    char* ret = regatom(&atomFlags);
    if (ret == nullptr) return nullptr;
    char op = *m_parse;
    if (!IsRepeat(op)) {
        *flags = atomFlags;
        return ret;
    }
    if (!(atomFlags & HAS_WIDTH) && op != '?') return nullptr;
    *flags = op == '*' ? STARTS_REPEAT : op == '+' ? HAS_WIDTH | STARTS_REPEAT : 0;
    if (op == '*' && (atomFlags & SIMPLE)) {
        reginsert(STAR, ret);
    } else if (op == '*') {
        // Loop: BRANCH(atom, BACK to the BRANCH) or BRANCH(NOTHING).
        reginsert(BRANCH, ret);
        regoptail(ret, regnode(BACK));
        regoptail(ret, ret);
        regtail(ret, regnode(BRANCH));
        regtail(ret, regnode(NOTHING));
    } else if (op == '+' && (atomFlags & SIMPLE)) {
        reginsert(PLUS, ret);
    } else if (op == '+') {
        // The atom, then BRANCH(BACK to the atom) or BRANCH(NOTHING).
        char* next = regnode(BRANCH);
        regtail(ret, next);
        regtail(regnode(BACK), ret);
        regtail(next, regnode(BRANCH));
        regtail(ret, regnode(NOTHING));
    } else {
        reginsert(BRANCH, ret);
        regtail(ret, regnode(BRANCH));
        char* next = regnode(NOTHING);
        regtail(ret, next);
        regoptail(ret, next);
    }
    ++m_parse;
    if (IsRepeat(*m_parse)) return nullptr;
    return ret;
}

// A bracket set after its '['; ranges compare bytes as signed values.
char* CRegExp::regbracket() {
    char* ret;
    if (*m_parse == '^') {
        ret = regnode(ANYBUT);
        ++m_parse;
    } else {
        ret = regnode(ANYOF);
    }
    if (*m_parse == ']' || *m_parse == '-') regc(*m_parse++);
    while (*m_parse != '\0' && *m_parse != ']') {
        if (*m_parse != '-') {
            regc(*m_parse++);
            continue;
        }
        ++m_parse;
        if (*m_parse == ']' || *m_parse == '\0') {
            regc('-');
            continue;
        }
        int from = (signed char)m_parse[-2] + 1;
        int to = (signed char)m_parse[0];
        if (from > to) return nullptr;
        for (int c = from; c <= to; ++c) regc((char)c);
        ++m_parse;
    }
    regc('\0');
    if (*m_parse != ']') return nullptr;
    ++m_parse;
    return ret;
}

char* CRegExp::regatom(int* flags) {
    *flags = 0;
    char c = *m_parse;
    if (c == '\0' || c == ')' || c == '*' || c == '+' || c == '?' || c == '|') return nullptr;
    ++m_parse;
    char* ret = nullptr;
    switch (c) {
    case '^':
        return regnode(BOL);
    case '$':
        return regnode(EOL);
    case '.':
        *flags = HAS_WIDTH | SIMPLE;
        return regnode(ANY);
    case '(': {
        int groupFlags = 0;
        ret = reg(1, &groupFlags);
        if (ret != nullptr) *flags = groupFlags & (HAS_WIDTH | STARTS_REPEAT);
        return ret;
    }
    case '[':
        ret = regbracket();
        if (ret != nullptr) *flags = HAS_WIDTH | SIMPLE;
        return ret;
    case '\\':
        if (*m_parse == '\0') return nullptr;
        ret = regnode(EXACTLY);
        regc(*m_parse++);
        regc('\0');
        *flags = HAS_WIDTH | SIMPLE;
        return ret;
    default:
        break;
    }
    --m_parse;
    size_t len = cp936::mbscspn(reinterpret_cast<const unsigned char*>(m_parse),
                                reinterpret_cast<const unsigned char*>(kMeta));
    if (len == 0) return nullptr;
    if (len > 1 && IsRepeat(m_parse[len])) --len; // the operator applies to the last byte alone
    *flags = HAS_WIDTH | (len == 1 ? SIMPLE : 0);
    ret = regnode(EXACTLY);
    for (; len > 0; --len) regc(*m_parse++);
    regc('\0');
    return ret;
}

bool CRegExp::CompilePass(const char* pattern, bool emit) {
    m_emit = emit ? 1 : 0;
    m_dummy[0] = NOTHING;
    m_dummy[1] = 0;
    m_dummy[2] = 0;
    m_code = emit ? m_program : m_dummy;
    if (!emit) m_programSize = 0;
    m_parse = pattern;
    m_groupCount = 1;
    int flags = 0;
    if (reg(0, &flags) == nullptr) return false;
    if (emit) SetSearchHints(flags);
    return true;
}

void CRegExp::SetSearchHints(int flags) {
    m_firstByte = 0;
    m_anchored = 0;
    m_mustString = nullptr;
    m_mustLength = 0;
    const char* next = regnext(m_program);
    if (next == nullptr || OP(next) != END) return;
    char* scan = OPERAND(m_program);
    if (OP(scan) == EXACTLY)
        m_firstByte = *OPERAND(scan);
    else if (OP(scan) == BOL)
        m_anchored = 1;
    if (!(flags & STARTS_REPEAT)) return;
    long steps = m_programSize; // the chain is acyclic; the bound only guards the walk
    for (; scan != nullptr && steps-- > 0; scan = regnext(scan)) {
        if (OP(scan) != EXACTLY) continue;
        int len = (int)std::strlen(OPERAND(scan));
        if (len >= m_mustLength) {
            m_mustString = OPERAND(scan);
            m_mustLength = len;
        }
    }
}

CRegExp* CRegExp::RegComp(const char* pattern) {
    if (pattern == nullptr) return nullptr;
    m_compiled = 1;
    long oldSize = m_programSize;
    if (!CompilePass(pattern, false)) {
        m_programSize = oldSize;
        return nullptr;
    }
    long size = m_programSize;
    if (size > kMaxProgram) {
        m_programSize = oldSize;
        return nullptr;
    }
    delete[] m_program;
    m_mustString = nullptr;
    m_program = new (std::nothrow) char[(size_t)size]();
    m_programSize = m_program != nullptr ? size : 0;
    bool ok = m_program != nullptr && CompilePass(pattern, true);
    if (!ok) {
        delete[] m_program;
        m_program = nullptr;
        m_programSize = 0;
    }
    if (!AnalyseProgram()) ok = false;
    return ok ? this : nullptr;
}

int CRegExp::GetFindLen() {
    if (m_startp[0] == nullptr || m_endp[0] == nullptr) return 0;
    return (int)(m_endp[0] - m_startp[0]);
}

char* CRegExp::GetReplaceString(const char* replace) {
    if (replace == nullptr || m_foundText == nullptr || m_startp[0] == nullptr) return nullptr;
    size_t matchLen = std::strlen(m_foundText);
    char* out = nullptr;
    size_t total = 0;
    for (int pass = 0; pass < 2; ++pass) {
        size_t n = 0;
        for (const char* src = replace; *src != '\0';) {
            char c = *src++;
            int group = -1;
            if (c == '&')
                group = 0;
            else if (c == '\\' && *src >= '0' && *src <= '9')
                group = *src++ - '0';
            if (group < 0) {
                if (c == '\\' && (*src == '\\' || *src == '&')) c = *src++;
                if (out != nullptr) out[n] = c;
                ++n;
                continue;
            }
            const char* s = m_startp[group];
            const char* e = m_endp[group];
            if (s == nullptr || e == nullptr || e <= s || s < m_startp[0]) continue;
            // The kept copy may lack a pair cut by the match's end: take what it holds.
            size_t from = (size_t)(s - m_startp[0]);
            if (from >= matchLen) continue;
            size_t len = (size_t)(e - s);
            if (len > matchLen - from) len = matchLen - from;
            if (len > (size_t)0x7FFFFFFF - n) return nullptr; // too long for any text position
            if (out != nullptr) std::memcpy(out + n, m_foundText + from, len);
            n += len;
        }
        total = n;
        if (pass == 0) {
            out = new (std::nothrow) char[total + 1];
            if (out == nullptr) return nullptr;
        }
    }
    out[total] = '\0';
    return out;
}
