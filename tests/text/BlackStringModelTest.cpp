// Random edits on CBlackString checked against a naive model of the text and its line figures.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/BlackString.h"

namespace {
// The figures a rebuild must produce, computed byte by byte from the text (zero byte included).
struct Model {
    std::string text = std::string(1, '\0');
    std::vector<int> starts;
    int widest = 0;

    void Rebuild() {
        starts.assign(1, 0);
        widest = 0;
        int w = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                starts.push_back((int)i + 1);
                widest = std::max(widest, w);
                w = 0;
            } else {
                w += text[i] == '\t' ? 4 : 1;
            }
        }
    }
    int Lines() const { return (int)starts.size(); }
    int LineOf(int pos) const {
        int line = 0;
        for (int k = 0; k < Lines(); ++k)
            if (starts[(size_t)k] <= pos) line = k;
        return line;
    }
    int LineEnd(int k) const { return k + 1 < Lines() ? starts[(size_t)k + 1] : (int)text.size(); }
    int Width(int k) const {
        int w = 0;
        for (int i = starts[(size_t)k]; i < LineEnd(k) - 1; ++i) w += text[(size_t)i] == '\t' ? 4 : 1;
        return w;
    }
    std::string Line(int k) const {
        int end = k + 1 < Lines() ? LineEnd(k) - 1 : LineEnd(k);
        std::string s = text.substr((size_t)starts[(size_t)k], (size_t)(end - starts[(size_t)k]));
        return s.substr(0, s.find('\0'));
    }
};

void ExpectMatchesModel(const CBlackString& b, const Model& m) {
    ASSERT_EQ(std::string(b.GetBuffer(), (size_t)b.GetLength()), m.text);
    ASSERT_EQ(b.GetLineCount(), m.Lines());
    const CLineTable& t = b.GetLineTable();
    EXPECT_EQ(t.GetSearchLineCount(), m.Lines());
    EXPECT_EQ(b.GetTotalWidth(), CSize(m.widest, m.Lines()));
    EXPECT_EQ(t.GetAverageLineLength(), (int)m.text.size() / m.Lines());
    for (int k = 0; k < m.Lines(); ++k) {
        ASSERT_EQ(b.GetLineOffset(k), m.starts[(size_t)k]) << "line " << k;
        EXPECT_EQ(b.GetLineSize(k), m.LineEnd(k) - m.starts[(size_t)k]);
        EXPECT_EQ(b.GetLineEndOffset(k), k + 1 < m.Lines() ? m.LineEnd(k) - 1 : m.LineEnd(k));
        EXPECT_EQ(b.GetLineWidth(k), m.Width(k));
        EXPECT_EQ(std::string((const char*)b.GetLine(k)), m.Line(k));
    }
    for (int pos = -1; pos <= (int)m.text.size() + 1; ++pos)
        ASSERT_EQ(b.OffsetToLine(pos), m.LineOf(pos)) << pos;
}

// A short piece of data-file text: letters, digits, tabs, line feeds and GBK pairs.
std::string RandomPiece(std::mt19937& rng) {
    static const char* const kPieces[] = {"a",          "Z9",   "\t",   "\n",  "\xb1\xea",
                                          "\xcc\xe2\n", "x\ty", "\n\n", " 1.5"};
    std::string s;
    int n = (int)(rng() % 4) + 1;
    for (int k = 0; k < n; ++k) s += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
    return s;
}

// One byte typed at pos: the buffer patches, the model predicts the patch from its current table.
void TypeByte(CBlackString& b, Model& m, int pos, char c) {
    int line = m.LineOf(pos);
    b.Insert(pos, c);
    m.text.insert((size_t)pos, 1, c);
    for (size_t k = (size_t)line + 1; k < m.starts.size(); ++k) ++m.starts[k];
    int lines = m.Lines();
    for (int k = 0; k < lines; ++k) ASSERT_EQ(b.GetLineOffset(k), m.starts[(size_t)k]);
    m.widest = std::max(m.widest, m.Width(line));
    EXPECT_EQ(b.GetTotalWidth().cx, m.widest);
    EXPECT_EQ(b.GetLineCount(), lines);
}
} // namespace

TEST(BlackStringModel, RandomEditsKeepEveryFigure) {
    std::mt19937 rng(20261205);
    for (int round = 0; round < 40; ++round) {
        CBlackString b;
        b.SetBufferSize(65536);
        b.Reset();
        Model m;
        m.Rebuild();
        for (int step = 0; step < 120; ++step) {
            int size = (int)m.text.size();
            int pos = (int)(rng() % (unsigned)size);
            switch (rng() % 6) {
            case 0: {
                std::string piece = RandomPiece(rng);
                b.Insert(pos, piece.c_str());
                m.text.insert((size_t)pos, piece);
                break;
            }
            case 1: {
                static const char kBytes[] = {'q', '\t', '\xb0', '7', ' '};
                TypeByte(b, m, pos, kBytes[rng() % sizeof kBytes]);
                if (rng() % 2)
                    b.Reset();
                else
                    continue;
                break;
            }
            case 2:
                b.Return(pos);
                m.text.insert((size_t)pos, 1, '\n');
                break;
            case 3: {
                int count = (int)(rng() % 6);
                if (pos + count >= size) count = size - 1 - pos; // keep the documents' zero byte
                b.Delete(pos, count);
                m.text.erase((size_t)pos, (size_t)count);
                break;
            }
            default: {
                int count = (int)(rng() % 4);
                if (pos + count >= size) count = size - 1 - pos;
                std::string piece = RandomPiece(rng);
                b.Replace(pos, count, piece.c_str());
                m.text.replace((size_t)pos, (size_t)count, piece);
                break;
            }
            }
            m.Rebuild();
            ExpectMatchesModel(b, m);
            if (HasFatalFailure()) return;
        }
        EXPECT_FALSE(b.AllocationFailed());
    }
}
