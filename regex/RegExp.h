// CRegExp: a regular expression compiled to a small node program and matched by leftmost-first backtracking.
#pragma once

#include <cstdint>
#include <memory>

struct CRegMatchState;
struct CRegFrame;

// The program is a run of nodes: opcode byte, 16-bit little-endian offset to the next node (0: none;
// BACK stores it backwards), then the operand. Invariants after a successful RegComp: m_program holds
// m_programSize bytes, every offset lands on a node inside it, and m_mustString (when set) points at a
// literal inside it. The matcher keeps its work stack on the heap and remembers failed
// (node, position) pairs, so neither the native stack nor the time can blow up on any pattern.
class CRegExp {
public:
    CRegExp();
    ~CRegExp();
    CRegExp(const CRegExp& other);
    CRegExp& operator=(const CRegExp& other);

    // Compiles pattern; this, or null for a null or malformed pattern.
    CRegExp* RegComp(const char* pattern);
    // Byte offset of the leftmost match in string, or -1.
    int RegFind(const char* string);
    // Length of the last match; 0 when it is unset.
    int GetFindLen();
    // Replacement for the last match: & is the match, \d group d. New buffer (free with delete[]) or null.
    char* GetReplaceString(const char* replace);

    // Opcodes of the node program (OPEN + n and CLOSE + n for groups 1..9).
    static constexpr char END = 0;
    static constexpr char BOL = 1;
    static constexpr char EOL = 2;
    static constexpr char ANY = 3;
    static constexpr char ANYOF = 4;
    static constexpr char ANYBUT = 5;
    static constexpr char BRANCH = 6;
    static constexpr char BACK = 7;
    static constexpr char EXACTLY = 8;
    static constexpr char NOTHING = 9;
    static constexpr char STAR = 10;
    static constexpr char PLUS = 11;
    static constexpr char OPEN = 20;
    static constexpr char CLOSE = 30;
    static const int kGroups = 10;

    // The compiled program, for inspection; null before the first successful compilation.
    const char* Program() const { return m_program; }
    long ProgramSize() const { return m_programSize; }
    // Group n's bounds in the searched string after a match (null when unset).
    const char* GroupStart(int n) const { return (n >= 0 && n < kGroups) ? m_startp[n] : nullptr; }
    const char* GroupEnd(int n) const { return (n >= 0 && n < kGroups) ? m_endp[n] : nullptr; }

private:
    static char OP(const char* node) { return node[0]; }
    static char* OPERAND(char* node) { return node + 3; }
    static const char* OPERAND(const char* node) { return node + 3; }
    static int NextOffset(const char* node);

    void regc(char b);
    char* regnode(char op);
    void reginsert(char op, char* node);
    void regtail(char* node, const char* target);
    void regoptail(char* node, const char* target);
    static const char* regnext(const char* node);
    static char* regnext(char* node);
    char* reg(int paren, int* flags);
    char* regbranch(int* flags);
    char* regpiece(int* flags);
    char* regatom(int* flags);
    char* regbracket();
    bool CompilePass(const char* pattern, bool emit);
    void SetSearchHints(int flags);
    void CopyFrom(const CRegExp& other);
    bool AnalyseProgram();

    int Search(const char* string);
    int regtry(const char* string);
    int regmatch(const char* node);
    int regrepeat(const char* node);
    int SetRun(const char* node) const;
    size_t RepeatStep(const char* node, const char* p) const;
    static bool SetHoldsPair(const char* set, const char* p);
    bool Step(const char*& scan);
    bool Backtrack(const char*& scan);
    int CountRepeat(const char* operand, int slot);
    bool NextRepeat(CRegFrame& frame, int slot);
    void RecordGroup(int slot);

    int m_emit;
    int m_compiled;
    char* m_foundText;
    const char* m_startp[kGroups];
    const char* m_endp[kGroups];
    char m_firstByte;
    char m_anchored;
    char* m_mustString;
    int m_mustLength;
    char* m_program;
    const char* m_parse;
    int m_groupCount;
    char* m_code;
    char m_dummy[3];
    long m_programSize;
    const char* m_input;
    const char* m_lineStart;
    // Derived tables (set membership, memo slots, start bytes) and the matcher's reusable stacks.
    std::unique_ptr<CRegMatchState> m_state;
};
