// Tables derived from a compiled CRegExp program and the matcher's reusable work stacks.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

// A bracket set, decoded once so the matcher does not rescan the set's bytes for every subject byte.
// test: bytes the one-byte test finds at a character boundary of the set (a pair's lead byte counts);
// single: the one-byte characters of the set; hasPairs: the set holds two-byte characters, so runs
// must be measured by the code page functions themselves.
struct CRegSet {
    uint8_t test[32];
    uint8_t single[32];
    bool hasPairs;
    bool Test(unsigned char c) const { return (test[c >> 3] >> (c & 7)) & 1; }
    bool Single(unsigned char c) const { return (single[c >> 3] >> (c & 7)) & 1; }
};

// Per repetition node, for one search: the continuation positions already known to fail
// ([failLo, failHi], empty when failLo > failHi) and the last measured run: stepping from runCursor
// through the node's characters reaches runEnd, where the run stops. Repeated tries inside or just
// before one long run therefore stay linear.
struct CRegRepeatInfo {
    long failLo, failHi;
    const char* runCursor;
    const char* runEnd;
};

// A choice point on the heap stack: a BRANCH chain at alternative node, or a repetition trying
// count k (from high to low). trail is the group-undo height to restore on backtracking.
struct CRegFrame {
    const char* node;
    const char* pos;
    int k;
    int count;
    uint32_t trail;
};

// One saved group pointer: slot 0..9 start pointers, 10..19 end pointers.
struct CRegTrail {
    int slot;
    const char* old;
};

struct CRegMatchState {
    // Derived from the program by Analyse.
    std::vector<int32_t> nodeSlot; // memo slot of each choice node (by byte offset), -1 otherwise
    std::vector<int32_t> nodeSet;  // index into sets for ANYOF / ANYBUT nodes, -1 otherwise
    std::vector<CRegSet> sets;
    int slots = 0;
    bool useStartBytes = false; // startBytes holds every byte a match can begin with
    uint8_t startBytes[256] = {};

    // Per search. Failed-or-visited (slot, position) pairs: a dense bit window, then a hash set.
    std::vector<uint64_t> memo;
    size_t memoUsed = 0;
    std::unordered_set<uint64_t> memoOverflow;
    std::vector<CRegRepeatInfo> repeats; // by memo slot
    std::vector<CRegFrame> frames;
    std::vector<CRegTrail> trail;

    void Analyse(const char* program, long size);
    void Reset();
    // True when (slot, pos) was entered before in this search; marks it otherwise.
    bool Visited(int slot, long pos);

private:
    void AddSet(const char* node);
    void ComputeStartBytes(const char* program, long size);
};
