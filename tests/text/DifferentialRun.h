// A long random run of the edits documents and views make, applied to a fast buffer and to the
// literal reference side by side, comparing the text and every line figure after each step.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "framework/base/Geometry.h"
#include "tests/text/LiteralBuffer.h"

#ifndef TESSOLIN_DIFF_STEPS
#define TESSOLIN_DIFF_STEPS 100000
#endif

// Steps per run: TESSOLIN_DIFF_STEPS from the environment, else the build's default.
inline int DifferentialSteps() {
    const char* env = std::getenv("TESSOLIN_DIFF_STEPS");
    int steps = env ? std::atoi(env) : 0;
    return steps > 0 ? steps : TESSOLIN_DIFF_STEPS;
}

// Buffer is CBlackString or CColorString. A coloured buffer closes its update bracket after
// Insert, Return and SetAt, and the bracket's close rebuilds the lines (unless the owner holds a
// bracket open); Bracketed says whether this buffer does that. Choices gives the run's unsigned
// choices: a seeded engine in the tests, the fuzzer's input in the fuzz target.
template <class Buffer, bool Bracketed, class Choices = std::mt19937> class DifferentialRun {
public:
    template <class Seed> explicit DifferentialRun(Seed seed) : m_rng(seed) {
        m_buffer.SetBufferSize(65536);
        m_ref.SetBufferSize(65536);
        Reset();
    }

    void Run(int steps) {
        for (int step = 0; step < steps && !::testing::Test::HasFatalFailure(); ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            Step();
            Compare();
        }
        EXPECT_FALSE(m_buffer.AllocationFailed());
    }

    Buffer& GetBuffer() { return m_buffer; }

private:
    unsigned Pick(unsigned n) { return m_rng() % n; }
    int Length() const { return m_ref.length; }
    // A position for an edit: the documents' zero byte stays the last byte.
    int Pos() { return (int)Pick((unsigned)Length()); }
    int Clip(int pos, int count) const { return std::min(count, Length() - 1 - pos); }

    // Now and then a pasted block of many pieces, so the text grows to a few thousand bytes.
    std::string Piece() {
        static const char* const kPieces[] = {"a",    "Z9",   "\t",   "\n",        "\xb1\xea", "\xcc\xe2\n",
                                              "x\ty", "\n\n", " 1.5", "LONG LINE", "ab",       "\tA\tb\n"};
        std::string s;
        int pieces = Pick(4) == 0 ? (int)Pick(60) + 20 : (int)Pick(6) + 1;
        for (int k = pieces; k > 0; --k) s += kPieces[Pick(sizeof kPieces / sizeof kPieces[0])];
        return s;
    }

    // After an edit through the coloured buffer's update bracket.
    void AfterBracket() {
        if (Bracketed && m_ownerBracket == 0) m_ref.Reset();
    }

    void TypeAt(int pos, char c) {
        // A patch measures its line through the table; after the text shrank without a rebuild that
        // line may reach past the text, into bytes the literal block still holds and ours does not.
        if (m_ref.length < m_ref.builtLength) Reset();
        Both([&](auto& b) { b.Insert(pos, c); });
        AfterBracket();
    }

    void ReplaceRun() {
        static const char* const kWith[] = {"", "x", "ab\n", "\tLONGER", "\xb1\xea", "Q\n\n"};
        int p = m_runPos + (int)Pick(40);
        if (p >= Length() - 1 || Pick(60) == 0) {
            m_runPos = -1;
            return;
        }
        int count = Clip(p, (int)Pick(6));
        const char* with = kWith[Pick(sizeof kWith / sizeof kWith[0])];
        Both([&](auto& b) { b.Replace(p, count, with); });
        m_runPos = p + (int)std::strlen(with);
    }

    void FindAndReplace() {
        static const char* const kFind[] = {"a", "ab", "\n", "\t", "Z9", "\xb1\xea", "x\ty", "A", "\xea\xcc"};
        static const char* const kWith[] = {"", "b", "AB", "\n\n", "\t\t\t", "\xb0\xa1"};
        const char* find = kFind[Pick(sizeof kFind / sizeof kFind[0])];
        const char* with = kWith[Pick(sizeof kWith / sizeof kWith[0])];
        int all = (int)Pick(3);
        bool noCase = Pick(2) == 0;
        ASSERT_EQ(noCase ? m_buffer.FindReplaceNoCase(find, with, all)
                         : m_buffer.FindReplace(find, with, all),
                  noCase ? m_ref.FindReplaceNoCase(find, with, all) : m_ref.FindReplace(find, with, all));
        if (Pick(5) != 0) Reset();
    }

    template <class Edit> void Both(Edit edit) {
        edit(m_buffer);
        edit(m_ref);
    }
    void Reset() {
        Both([](auto& b) { b.Reset(); });
    }

    // The text pointer, taken now and then as a search or a paint would.
    void TakeText() {
        if (Pick(2) == 0) {
            ASSERT_EQ(std::memcmp(m_buffer.GetBuffer(), m_ref.Text(), (size_t)Length()), 0);
        } else {
            int pos = Pos(), count = (int)Pick((unsigned)(Length() - pos) + 1);
            ASSERT_EQ(std::memcmp(m_buffer.GetRange(pos, count), m_ref.Text() + pos, (size_t)count), 0);
        }
    }

    void Step() {
        if (m_cursor >= Length()) m_cursor = Length() - 1;
        if (m_runPos >= 0 && Pick(10) != 0) return ReplaceRun();
        unsigned r = Pick(100);
        if (Length() > 6000 && r < 50) r = 44; // keep the text small enough to compare every step
        if (r < 30) {
            static const char kTyped[] = {'q', 'Z', '7', ' ', '\t', '\xb0', '\xa1', '.'};
            TypeAt(m_cursor++, kTyped[Pick(sizeof kTyped)]);
            if (Pick(8) != 0) Reset(); // the documents rebuild after each typed byte
        } else if (r < 35) {
            m_buffer.Return(m_cursor);
            m_ref.Return(m_cursor++);
            AfterBracket();
        } else if (r < 41) {
            if (m_cursor > 0) {
                m_buffer.Delete(m_cursor - 1, 1);
                m_ref.Delete(--m_cursor, 1);
            }
        } else if (r < 46) {
            int pos = Pos(), count = Clip(pos, (int)Pick(r == 44 ? 2000 : Length() > 3000 ? 400 : 12));
            Both([&](auto& b) { b.Delete(pos, count); });
        } else if (r < 54) {
            int pos = Pick(2) ? m_cursor : Pos();
            std::string piece = Piece();
            Both([&](auto& b) { b.Insert(pos, piece.c_str()); });
            AfterBracket();
        } else if (r < 58) {
            m_runPos = Pos();
        } else if (r < 62) {
            FindAndReplace();
        } else if (r < 66) {
            int pos = Pos();
            if (Pick(2)) {
                std::string piece = Piece();
                m_buffer.CStringEx::Insert(pos, piece.c_str());
                m_ref.StrInsert(pos, piece.c_str());
            } else {
                int count = Clip(pos, (int)Pick(20));
                m_buffer.CStringEx::Delete(pos, count);
                m_ref.StrDelete(pos, count);
            }
        } else if (r < 68) {
            TypeAt(Pos(), '\n'); // a typed line feed is not a line start until the next Reset
        } else if (r < 69) {
            // Starts moved by hand stay inside the text, where a line's bytes can be measured.
            int line = (int)Pick((unsigned)m_ref.lineCount) + 1, delta = (int)Pick(5) - 2;
            bool inside = true;
            for (int k = line; k < m_ref.lineCount && k < (int)m_ref.table.size(); ++k) {
                int moved = m_ref.table[(size_t)k] + delta;
                inside = inside && moved >= 1 && moved < Length() - 1;
            }
            if (inside) Both([&](auto& b) { b.MoveLineOffset(line, delta); });
        } else if (r < 70) {
            int pos = Pos();
            Both([&](auto& b) { b.RecalcLine(pos); });
        } else if (r < 72) {
            static const char kBytes[] = {'\n', '\t', 'k', '\xb1'};
            int pos = Length() > 1 ? (int)Pick((unsigned)Length() - 1) : 0;
            if (Length() > 1) SetAt(pos, kBytes[Pick(sizeof kBytes)]);
        } else if (r < 73) {
            LoadMore();
        } else if (r < 74) {
            OwnerBracket();
        } else if (r < 82) {
            TakeText();
        } else {
            Reset();
        }
    }

    // More bytes written through the text pointer past the text, as the file loader reads a chunk,
    // then the length set over them.
    void LoadMore() {
        std::string piece = Piece();
        int n = (int)piece.size(), at = Length() - 1;
        if (Length() + n + 1 >= m_ref.capacity) return;
        char* text = m_buffer.GetBuffer();
        std::memcpy(text + at, piece.c_str(), (size_t)n + 1);
        std::memcpy(m_ref.block.data() + at, piece.c_str(), (size_t)n + 1);
        m_buffer.SetLength(Length() + n);
        m_ref.length += n;
    }

    void SetAt(int pos, char c) {
        m_buffer.SetAt(pos, c);
        m_ref.block[(size_t)pos] = c;
        AfterBracket();
    }

    // A coloured document's own bracket around several edits: one rebuild at its close.
    void OwnerBracket() {
        if constexpr (Bracketed) {
            if (m_ownerBracket == 0) {
                m_buffer.BeginUpdate(0, 0);
                m_ownerBracket = 1;
            } else {
                m_buffer.EndUpdate(Pos(), 0);
                m_ownerBracket = 0;
                m_ref.Reset();
            }
        }
    }

    void Compare() {
        const LiteralBuffer& ref = m_ref;
        const auto& table = m_buffer.GetLineTable();
        ASSERT_EQ(std::vector<int>({m_buffer.GetTextSize(), m_buffer.GetCapacity(), m_buffer.GetLineCount(),
                                    table.GetAverageLineLength(), table.GetSearchLineCount(),
                                    table.GetTableSize()}),
                  std::vector<int>({ref.length, ref.capacity, ref.lineCount, ref.average, ref.searchLines,
                                    (int)ref.table.size()}));
        for (int i = 0; i < ref.length; ++i)
            if (m_buffer.GetAt(i) != ref.block[(size_t)i]) FAIL() << "byte " << i;
        ASSERT_EQ(m_buffer.GetTotalWidth(), CSize(ref.widest, ref.height));
        for (int k = 0; k < (int)ref.table.size(); ++k)
            ASSERT_EQ(m_buffer.GetLineOffset(k), ref.table[(size_t)k]) << k;
        for (int k = 0; k < ref.lineCount; ++k) {
            ASSERT_EQ(std::make_pair(m_buffer.GetLineSize(k), m_buffer.GetLineEndOffset(k)),
                      std::make_pair(ref.LineSize(k), ref.LineEndOffset(k)))
                << "line " << k;
            int start = ref.Entry(k);
            if (start >= 0 && start + ref.LineSize(k) <= ref.length + 1 && start < ref.length) {
                ASSERT_EQ(m_buffer.GetLineWidth(k), ref.LineWidth(k)) << "line " << k;
            }
        }
        for (int probe = 0; probe < 3; ++probe) {
            int k = (int)Pick((unsigned)ref.lineCount + 2) - 1;
            int start = ref.Entry(k), size = ref.LineSize(k);
            if (start >= 0 && start + std::max(size, 0) <= ref.length) {
                ASSERT_EQ(std::string((const char*)m_buffer.GetLine(k)), ref.Line(k)) << "line " << k;
            }
        }
        ComparePositions();
    }

    // The ends, around every line start (a sample of them on a long text, as the reference walks line
    // by line and probing all of them would make a long run quadratic) and a few anywhere.
    void ComparePositions() {
        const LiteralBuffer& ref = m_ref;
        std::vector<int> probes = {-1, 0, 1, ref.length - 1, ref.length, ref.length + 1};
        int starts = (int)ref.table.size(), sampled = std::min(starts, 512);
        for (int i = 0; i < sampled; ++i) {
            int at = ref.table[(size_t)(sampled == starts ? i : (int)Pick((unsigned)starts))];
            probes.insert(probes.end(), {at - 1, at, at + 1});
        }
        for (int probe = 0; probe < 8; ++probe) probes.push_back((int)Pick((unsigned)ref.length + 1));
        for (int pos : probes) ASSERT_EQ(m_buffer.OffsetToLine(pos), ref.OffsetToLine(pos)) << pos;
    }

    Choices m_rng;
    Buffer m_buffer;
    LiteralBuffer m_ref;
    int m_cursor = 0;
    int m_runPos = -1;
    int m_ownerBracket = 0;
};
