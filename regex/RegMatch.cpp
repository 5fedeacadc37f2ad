// CRegExp matching: leftmost-first backtracking on a heap stack, with failed states remembered.
//
// The language has no back-references, so whether the rest of the program matches from a node at a
// position depends on that pair alone. Each choice node (a BRANCH chain, STAR, PLUS) is therefore
// entered at most once per position and search: a second arrival would only repeat a failure, since
// any success ends the search. That bounds the work by program size x subject length while leaving
// the match and its groups exactly those of plain recursive backtracking.
#include "regex/RegExp.h"
#include "regex/RegMatchState.h"

#include <cstring>
#include <new>

#include "framework/base/ByteClass.h"
#include "framework/base/Mbcs936.h"

namespace {
// Dense memo window: at most this many bits (128 MB); pairs beyond go to the hash set.
const size_t kDenseMemoBits = size_t(1) << 30;

void SetBit(uint8_t* bits, unsigned char c) {
    bits[c >> 3] |= (uint8_t)(1u << (c & 7));
}

const unsigned char* U(const char* s) {
    return reinterpret_cast<const unsigned char*>(s);
}
} // namespace

void CRegMatchState::AddSet(const char* node) {
    CRegSet set = {};
    const unsigned char* p = U(node + 3);
    while (*p) {
        size_t len = cp936::CharLength(p);
        SetBit(set.test, p[0]);
        if (len == 1)
            SetBit(set.single, p[0]);
        else
            set.hasPairs = true;
        p += len;
    }
    sets.push_back(set);
}

// Visits every node reachable from the start through next pointers and operands.
void CRegMatchState::Analyse(const char* program, long size) {
    nodeSlot.clear();
    nodeSet.clear();
    sets.clear();
    slots = 0;
    useStartBytes = false;
    if (program == nullptr || size < 3) return;
    nodeSlot.assign((size_t)size, -1);
    nodeSet.assign((size_t)size, -1);
    std::vector<bool> seen((size_t)size, false);
    std::vector<long> work(1, 0);
    auto push = [&](const char* node) {
        if (node != nullptr && node >= program && node + 3 <= program + size) work.push_back(node - program);
    };
    while (!work.empty()) {
        long at = work.back();
        work.pop_back();
        if (seen[(size_t)at]) continue;
        seen[(size_t)at] = true;
        const char* node = program + at;
        int offset = (int16_t)(uint16_t)((unsigned char)node[1] | ((unsigned char)node[2] << 8));
        const char* next = offset == 0 ? nullptr : node[0] == CRegExp::BACK ? node - offset : node + offset;
        switch (node[0]) {
        case CRegExp::BRANCH:
            if (at != 0 && next != nullptr && next >= program && next < program + size &&
                next[0] == CRegExp::BRANCH)
                nodeSlot[(size_t)at] = slots++;
            push(node + 3);
            break;
        case CRegExp::STAR:
        case CRegExp::PLUS:
            nodeSlot[(size_t)at] = slots++;
            push(node + 3);
            break;
        case CRegExp::ANYOF:
        case CRegExp::ANYBUT:
            nodeSet[(size_t)at] = (int32_t)sets.size();
            AddSet(node);
            break;
        default:
            break;
        }
        push(next);
    }
    repeats.assign((size_t)slots, CRegRepeatInfo());
    ComputeStartBytes(program, size);
}

// The bytes a match can begin with: those of the consuming nodes reachable without consuming. A
// match that can be empty, or that depends on the start of the string, leaves the table unused.
void CRegMatchState::ComputeStartBytes(const char* program, long size) {
    std::memset(startBytes, 0, sizeof startBytes);
    std::vector<bool> seen((size_t)size, false);
    std::vector<const char*> work(1, program);
    auto inside = [&](const char* n) { return n != nullptr && n >= program && n + 3 <= program + size; };
    auto all = [&]() {
        for (int c = 1; c < 256; ++c) startBytes[c] = 1;
    };
    auto consume = [&](const char* node, bool repeated) {
        switch (node[0]) {
        case CRegExp::ANY:
            all();
            break;
        case CRegExp::EXACTLY:
            startBytes[(unsigned char)node[3]] = 1;
            break;
        case CRegExp::ANYOF:
        case CRegExp::ANYBUT: {
            const CRegSet& set = sets[(size_t)nodeSet[(size_t)(node - program)]];
            bool anyBut = node[0] == CRegExp::ANYBUT;
            if (anyBut && repeated)
                all(); // a run of pairs may begin with a lead byte of the set
            else
                for (int c = 1; c < 256; ++c)
                    if (set.Test((unsigned char)c) != anyBut) startBytes[c] = 1;
            break;
        }
        default:
            break;
        }
    };
    while (!work.empty()) {
        const char* node = work.back();
        work.pop_back();
        if (!inside(node) || seen[(size_t)(node - program)]) continue;
        seen[(size_t)(node - program)] = true;
        int offset = (int16_t)(uint16_t)((unsigned char)node[1] | ((unsigned char)node[2] << 8));
        const char* next = offset == 0 ? nullptr : node[0] == CRegExp::BACK ? node - offset : node + offset;
        char op = node[0];
        if (op == CRegExp::END || op == CRegExp::BOL) return; // useStartBytes stays false
        if (op == CRegExp::EOL) {
            startBytes[0] = 1;
        } else if (op == CRegExp::ANY || op == CRegExp::EXACTLY || op == CRegExp::ANYOF ||
                   op == CRegExp::ANYBUT) {
            consume(node, false);
        } else if (op == CRegExp::BRANCH) {
            work.push_back(node + 3);
            if (inside(next) && next[0] == CRegExp::BRANCH) work.push_back(next);
        } else if (op == CRegExp::STAR || op == CRegExp::PLUS) {
            if (inside(node + 3)) consume(node + 3, true);
            if (op == CRegExp::STAR) work.push_back(next);
        } else if (op == CRegExp::NOTHING || op == CRegExp::BACK ||
                   (op > CRegExp::OPEN && op < CRegExp::OPEN + CRegExp::kGroups) ||
                   (op > CRegExp::CLOSE && op < CRegExp::CLOSE + CRegExp::kGroups)) {
            work.push_back(next);
        }
    }
    useStartBytes = true;
}

void CRegMatchState::Reset() {
    std::fill(memo.begin(), memo.begin() + (long)memoUsed, 0);
    memoUsed = 0;
    memoOverflow.clear();
    for (CRegRepeatInfo& r : repeats) r = CRegRepeatInfo{1, 0, nullptr, nullptr};
    frames.clear();
    trail.clear();
}

bool CRegMatchState::Visited(int slot, long pos) {
    size_t bit = (size_t)pos * (size_t)slots + (size_t)slot;
    if (bit >= kDenseMemoBits) return !memoOverflow.insert((uint64_t)bit).second;
    size_t word = bit >> 6;
    if (word >= memo.size()) {
        size_t grown = memo.size() * 2 > word + 1 ? memo.size() * 2 : word + 1024;
        memo.resize(grown, 0);
    }
    if (word >= memoUsed) memoUsed = word + 1;
    uint64_t mask = uint64_t(1) << (bit & 63);
    bool was = (memo[word] & mask) != 0;
    memo[word] |= mask;
    return was;
}

// Length of the character at p when the repeated node takes it (ANY and EXACTLY go byte by byte,
// sets by characters as the code page functions scan), 0 when the run stops there.
size_t CRegExp::RepeatStep(const char* node, const char* p) const {
    unsigned char c = (unsigned char)*p;
    if (c == 0) return 0;
    switch (OP(node)) {
    case ANY:
        return 1;
    case EXACTLY:
        return c == (unsigned char)node[3] ? 1 : 0;
    case ANYOF:
    case ANYBUT: {
        const CRegSet& set = m_state->sets[(size_t)m_state->nodeSet[(size_t)(node - m_program)]];
        size_t len = cp936::CharLength(U(p));
        bool member = len == 1 ? set.Single(c) : set.hasPairs && SetHoldsPair(OPERAND(node), p);
        return member == (OP(node) == ANYOF) ? len : 0;
    }
    default:
        return 0;
    }
}

// Whether the set's bytes hold the pair at p as one of their characters.
bool CRegExp::SetHoldsPair(const char* set, const char* p) {
    for (const unsigned char* q = U(set); *q; q += cp936::CharLength(q))
        if (q[0] == (unsigned char)p[0] && q[1] == (unsigned char)p[1] && cp936::CharLength(q) == 2)
            return true;
    return false;
}

// The run of a set node from the input position: RepeatStep's stepping with the set looked up once,
// since long runs ("everything up to the next #") are the common case.
int CRegExp::SetRun(const char* node) const {
    const CRegSet& set = m_state->sets[(size_t)m_state->nodeSet[(size_t)(node - m_program)]];
    bool anyOf = OP(node) == ANYOF;
    const unsigned char* p = U(m_input);
    for (;;) {
        unsigned char c = *p;
        if (c == 0) break;
        if (byteclass::IsGbkLead(c) && p[1] != 0) {
            bool member = set.hasPairs && SetHoldsPair(OPERAND(node), reinterpret_cast<const char*>(p));
            if (member != anyOf) break;
            p += 2;
        } else {
            if (set.Single(c) != anyOf) break;
            ++p;
        }
    }
    return (int)(p - U(m_input));
}

// How many bytes from the input position the single-byte node matches in a row.
int CRegExp::regrepeat(const char* node) {
    if (OP(node) == ANY) return (int)std::strlen(m_input);
    if (OP(node) == ANYOF || OP(node) == ANYBUT) return SetRun(node);
    const char* p = m_input;
    for (size_t len; (len = RepeatStep(node, p)) != 0;) p += len;
    return (int)(p - m_input);
}

namespace {
const char* NextOf(const char* node) {
    int offset = (int16_t)(uint16_t)((unsigned char)node[1] | ((unsigned char)node[2] << 8));
    if (offset == 0) return nullptr;
    return node[0] == CRegExp::BACK ? node - offset : node + offset;
}
bool IsBranch(const char* node) {
    return node != nullptr && node[0] == CRegExp::BRANCH;
}
} // namespace

// The repetition count at the input position, reusing the last run measured for this node. Any
// position from which the node's stepping lands on the run's cursor continues as that run did, so
// forward moves step up to the input position and backward moves measure only up to the cursor.
int CRegExp::CountRepeat(const char* operand, int slot) {
    CRegRepeatInfo& r = m_state->repeats[(size_t)slot];
    if (r.runCursor != nullptr && m_input <= r.runEnd) {
        bool bytewise = OP(operand) == ANY || OP(operand) == EXACTLY;
        const char* p;
        if (m_input >= r.runCursor) {
            p = r.runCursor;
            if (bytewise) p = m_input;
            while (p < m_input) p += cp936::CharLength(U(p));
        } else {
            p = m_input;
            for (size_t len; p < r.runCursor && (len = RepeatStep(operand, p)) != 0;) p += len;
            if (p < r.runCursor) { // the run stops before the cursor: a shorter run of its own
                r.runCursor = m_input;
                r.runEnd = p;
                return (int)(p - m_input);
            }
        }
        if (p == m_input || p == r.runCursor) {
            r.runCursor = m_input;
            return (int)(r.runEnd - m_input);
        }
    }
    int n = regrepeat(operand);
    r.runCursor = m_input;
    r.runEnd = m_input + n;
    return n;
}

// Sets group pointer slot (0..9 starts, 10..19 ends) to the input position, saving the old value
// when a choice point may need it back.
void CRegExp::RecordGroup(int slot) {
    const char*& ref = slot < kGroups ? m_startp[slot] : m_endp[slot - kGroups];
    if (ref == m_input) return;
    if (!m_state->frames.empty()) m_state->trail.push_back(CRegTrail{slot, ref});
    ref = m_input;
}

// Moves a repetition frame to its next count below k whose continuation is worth trying: not inside
// the positions already known to fail, and showing the literal that must follow. False when none.
bool CRegExp::NextRepeat(CRegFrame& f, int slot) {
    CRegRepeatInfo& r = m_state->repeats[(size_t)slot];
    int minimum = OP(f.node) == STAR ? 0 : 1;
    const char* follow = NextOf(f.node);
    char followByte = (follow != nullptr && OP(follow) == EXACTLY) ? *OPERAND(follow) : 0;
    long base = f.pos - m_lineStart;
    int k = f.k - 1;
    while (k >= minimum) {
        long q = base + k;
        if (q >= r.failLo && q <= r.failHi) {
            k = (int)(r.failLo - base) - 1;
            continue;
        }
        if (followByte == 0 || f.pos[k] == followByte) break;
        --k;
    }
    if (k >= minimum) {
        f.k = k;
        return true;
    }
    // Every continuation from base + minimum to base + count failed: remember the stretch.
    long lo = base + minimum, hi = base + f.count;
    if (r.failLo <= r.failHi && lo <= r.failHi + 1 && hi + 1 >= r.failLo) {
        if (lo < r.failLo) r.failLo = lo;
        if (hi > r.failHi) r.failHi = hi;
    } else {
        r.failLo = lo;
        r.failHi = hi;
    }
    return false;
}

// Resumes the newest choice point with its next alternative (scan receives the node to go on
// from, possibly null, which then fails in turn); false when no choice point is left.
bool CRegExp::Backtrack(const char*& scan) {
    CRegMatchState& st = *m_state;
    while (!st.frames.empty()) {
        CRegFrame& f = st.frames.back();
        while (st.trail.size() > f.trail) {
            const CRegTrail& t = st.trail.back();
            (t.slot < kGroups ? m_startp[t.slot] : m_endp[t.slot - kGroups]) = t.old;
            st.trail.pop_back();
        }
        if (OP(f.node) == BRANCH) {
            const char* alternative = NextOf(f.node);
            if (!IsBranch(alternative)) {
                st.frames.pop_back();
                continue;
            }
            m_input = f.pos;
            f.node = alternative;
            if (!IsBranch(NextOf(alternative))) st.frames.pop_back(); // the last alternative
            scan = OPERAND(alternative);
            return true;
        }
        if (!NextRepeat(f, st.nodeSlot[(size_t)(f.node - m_program)])) {
            st.frames.pop_back();
            continue;
        }
        m_input = f.pos + f.k;
        scan = NextOf(f.node);
        return true;
    }
    return false;
}

// Matches the rest of the program from node at the input position. Choice points go on a heap
// stack; group pointers are written as they are passed and restored from the trail on backtracking,
// so on success they hold the last OPEN / CLOSE of each group along the successful path, as the
// recursive formulation leaves them.
int CRegExp::regmatch(const char* node) {
    const char* scan = node;
    for (;;) {
        if (scan != nullptr && Step(scan)) continue;
        if (scan != nullptr && OP(scan) == END) return 1;
        if (!Backtrack(scan)) return 0;
    }
}

// Executes one node: true with scan moved on, false when the node fails (scan left on it).
bool CRegExp::Step(const char*& scan) {
    CRegMatchState& st = *m_state;
    const char* next = NextOf(scan);
    char op = OP(scan);
    long at = scan - m_program;
    unsigned char c = (unsigned char)*m_input;
    switch (op) {
    case END:
        return false;
    case BOL:
        if (m_input != m_lineStart) return false;
        break;
    case EOL:
        if (c != 0) return false;
        break;
    case ANY:
        if (c == 0) return false;
        ++m_input;
        break;
    case ANYOF:
    case ANYBUT:
        if (c == 0 || st.sets[(size_t)st.nodeSet[(size_t)at]].Test(c) != (op == ANYOF)) return false;
        ++m_input;
        break;
    case EXACTLY: {
        const char* lit = OPERAND(scan);
        if (*lit != *m_input) return false;
        size_t len = std::strlen(lit);
        if (len > 1 && cp936::mbsnbcmp(lit, m_input, len) != 0) return false;
        m_input += len;
        break;
    }
    case NOTHING:
    case BACK:
        break;
    case BRANCH:
        if (IsBranch(next)) {
            int slot = st.nodeSlot[(size_t)at];
            if (slot >= 0 && st.Visited(slot, m_input - m_lineStart)) return false;
            st.frames.push_back(CRegFrame{scan, m_input, 0, 0, (uint32_t)st.trail.size()});
        }
        next = OPERAND(scan);
        break;
    case STAR:
    case PLUS: {
        int slot = st.nodeSlot[(size_t)at];
        if (st.Visited(slot, m_input - m_lineStart)) return false;
        int count = CountRepeat(OPERAND(scan), slot);
        CRegFrame f{scan, m_input, count + 1, count, (uint32_t)st.trail.size()};
        if (!NextRepeat(f, slot)) return false;
        st.frames.push_back(f);
        m_input += f.k;
        break;
    }
    default:
        if (op > OPEN && op < OPEN + kGroups)
            RecordGroup(op - OPEN);
        else if (op > CLOSE && op < CLOSE + kGroups)
            RecordGroup(op - CLOSE + kGroups);
        else
            return false;
        break;
    }
    scan = next;
    return true;
}

namespace {
// Occurrences of one byte at character starts, found left to right in one linear pass (a call per
// occurrence must not rescan the subject): memchr finds the byte, and it starts a character unless
// an odd run of lead bytes precedes it back to the last proven character start. A byte outside the
// lead range always ends a character, so the position after it is a start.
class CharacterStarts {
public:
    CharacterStarts(const char* start, const char* end) : m_known(U(start)), m_end(U(end)) {}

    const char* Next(const char* from, unsigned char byte) {
        for (const unsigned char* p = U(from); p < m_end;) {
            const unsigned char* q =
                static_cast<const unsigned char*>(std::memchr(p, byte, (size_t)(m_end - p)));
            if (q == nullptr) return nullptr;
            if (IsStart(q)) return reinterpret_cast<const char*>(q);
            p = q + 1;
        }
        return nullptr;
    }

private:
    bool IsStart(const unsigned char* q) {
        const unsigned char* p = q;
        while (p > m_known && byteclass::IsGbkLead(p[-1])) --p;
        bool start = (q - p) % 2 == 0;
        m_known = start ? q : q + 1;
        return start;
    }

    const unsigned char* m_known; // a character start at or before every later candidate
    const unsigned char* m_end;
};
} // namespace

int CRegExp::regtry(const char* string) {
    m_input = string;
    std::memset(m_startp, 0, sizeof m_startp);
    std::memset(m_endp, 0, sizeof m_endp);
    m_state->frames.clear();
    m_state->trail.clear();
    if (!regmatch(m_program)) return 0;
    m_startp[0] = string;
    m_endp[0] = m_input;
    return 1;
}

int CRegExp::RegFind(const char* string) {
    delete[] m_foundText;
    m_foundText = nullptr;
    // A failed search leaves no match behind: neither a length nor groups of the last success.
    std::memset(m_startp, 0, sizeof m_startp);
    std::memset(m_endp, 0, sizeof m_endp);
    if (string == nullptr || !m_compiled || m_program == nullptr) return -1;
    if (m_mustString != nullptr && cp936::mbsstr(string, m_mustString) == nullptr) return -1;
    // The work stacks and the memo grow with the subject; running out of memory is "not found".
    try {
        return Search(string);
    } catch (const std::bad_alloc&) {
        std::memset(m_startp, 0, sizeof m_startp);
        std::memset(m_endp, 0, sizeof m_endp);
        return -1;
    }
}

int CRegExp::Search(const char* string) {
    m_lineStart = string;
    CRegMatchState& st = *m_state;
    st.Reset();
    const char* s = string;
    bool found = false;
    if (m_anchored) {
        found = regtry(s) != 0;
    } else if (m_firstByte != 0) {
        CharacterStarts candidates(string, string + std::strlen(string));
        for (;;) {
            if (regtry(s)) {
                found = true;
                break;
            }
            if (*s == '\0') break;
            s = candidates.Next(s + 1, (unsigned char)m_firstByte);
            if (s == nullptr) break;
        }
    } else {
        for (;; ++s) {
            // A byte no match can begin with needs no try (the terminator only for $).
            if ((!st.useStartBytes || st.startBytes[(unsigned char)*s]) && regtry(s)) {
                found = true;
                break;
            }
            if (*s == '\0') break;
        }
    }
    if (!found) {
        std::memset(m_startp, 0, sizeof m_startp);
        std::memset(m_endp, 0, sizeof m_endp);
        return -1;
    }
    size_t len = (size_t)(m_endp[0] - m_startp[0]);
    m_foundText = new (std::nothrow) char[len + 1];
    if (m_foundText == nullptr) return -1;
    cp936::mbsnbcpy(reinterpret_cast<unsigned char*>(m_foundText), U(m_startp[0]), len);
    m_foundText[len] = '\0';
    return (int)(m_startp[0] - string);
}
