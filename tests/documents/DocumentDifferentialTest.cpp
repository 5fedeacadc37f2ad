// Both document families against a literal model over a long random run of the edits the views make
// through the documents (typed bytes and line feeds, pieces pasted, ranges deleted and replaced, a
// replace-all's list record, undo and redo): after every step the text, every line start, the line
// of positions and the lines' bytes must agree with the model, and the histories with its snapshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"

namespace {
class DocumentDifferential : public CFileTest {};

// The text and its histories as the user sees them: an undo gives the text before the newest change
// back, a redo the text after it; the documents keep 26 records (their depth and one more).
struct CModel {
    std::string text;
    std::deque<std::string> undo, redo;

    void Changed(const std::string& before) {
        undo.push_back(before);
        if (undo.size() > 26) undo.pop_front();
        redo.clear();
    }
};

class CDocumentRun {
public:
    CDocumentRun(CEditDocument& doc, unsigned seed, std::string start) : m_doc(doc), m_rng(seed) {
        m_model.text = std::move(start);
    }

    void Run(int steps) {
        for (m_step = 0; m_step < steps; ++m_step) {
            Step();
            Compare();
            if (::testing::Test::HasFatalFailure()) return;
        }
    }

private:
    unsigned Pick(unsigned n) { return m_rng() % n; }
    int Length() const { return (int)m_model.text.size(); }
    int Pos() { return (int)Pick((unsigned)Length() + 1); }

    std::string Piece() {
        static const char* const kPieces[] = {"a",    "Z9",   "\t",   "\n",        "\xb1\xea", "\xcc\xe2\n",
                                              "x\ty", "\n\n", " 1.5", "LONG LINE", "\tA\tb\n"};
        std::string s;
        for (int k = (int)Pick(Pick(4) == 0 ? 40 : 5) + 1; k > 0; --k) s += kPieces[Pick(11)];
        return s;
    }

    // One edit through Edit, mirrored in the model when the document made it; a count past the end of
    // the text is the document's to cut.
    void Edit(int kind, int pos, int count, const std::string& with) {
        int removed = std::min(count, Length() - pos);
        std::string before = m_model.text;
        BOOL made = m_doc.Edit(kind, pos, count, with.c_str());
        ASSERT_EQ(made != FALSE, removed > 0 || !with.empty()) << Where();
        if (!made) return;
        m_model.text.replace((size_t)pos, (size_t)removed, with);
        m_model.Changed(before);
    }

    // A replace-all as the views make it: every hit of find, searched from behind the last
    // replacement, becomes with in one list record.
    void ReplaceAll() {
        static const char* const kFind[] = {"a", "\n", "\t", "Z9", "\xb1\xea", "LINE"};
        static const char* const kWith[] = {"", "b", "AB", "\n\n", "\xb0\xa1"};
        std::string find = kFind[Pick(6)], with = kWith[Pick(5)];
        std::string before = m_model.text, after = before;
        std::vector<int> hits;
        for (size_t at = 0; (at = after.find(find, at)) != std::string::npos; at += with.size()) {
            hits.push_back((int)at);
            after.replace(at, find.size(), with);
        }
        ASSERT_TRUE(m_doc.ReplaceEach(hits, find.c_str(), with.c_str())) << Where();
        m_model.text = after;
        m_model.Changed(before);
    }

    void Replay(bool redo) {
        std::deque<std::string>& from = redo ? m_model.redo : m_model.undo;
        std::deque<std::string>& to = redo ? m_model.undo : m_model.redo;
        ASSERT_EQ(redo ? m_doc.CanRedo() != 0 : m_doc.CanUndo() != 0, !from.empty()) << Where();
        int caret = redo ? m_doc.Redo() : m_doc.Undo();
        if (from.empty()) {
            EXPECT_EQ(caret, -1) << Where();
            return;
        }
        to.push_back(m_model.text);
        m_model.text = from.back();
        from.pop_back();
        if (m_model.text != to.back()) { // an empty replace-all reports no caret
            EXPECT_GE(caret, 0) << Where();
        }
        EXPECT_LE(caret, Length()) << Where();
    }

    void Step() {
        unsigned r = Pick(100);
        if (Length() > 6000 && r < 40) r = 40; // keep the text small enough to compare every step
        static const char kTyped[] = {'q', 'Z', ' ', '\t', '\xb0', '\xa1', '\n'};
        if (r < 25) {
            m_what = "typed byte";
            Edit(UNDO_INSERT, Pos(), 0, std::string(1, kTyped[Pick(7)]));
        } else if (r < 35) {
            m_what = "piece";
            Edit(UNDO_INSERT, Pos(), 0, Piece());
        } else if (r < 50) {
            m_what = "deletion";
            int pos = Pos();
            Edit(UNDO_DELETE, pos, (int)Pick(r < 40 ? 3 : 400) + 1, "");
        } else if (r < 60) {
            m_what = "replacement";
            int pos = Pos();
            Edit(UNDO_REPLACE, pos, (int)Pick(12) + 1, Piece());
        } else if (r < 64) {
            m_what = "replace-all";
            ReplaceAll();
        } else if (r < 82) {
            m_what = "undo";
            Replay(false);
        } else {
            m_what = "redo";
            Replay(true);
        }
    }

    void Compare() {
        const std::string& text = m_model.text;
        ASSERT_EQ(m_doc.GetLength(), Length() + 1) << Where();
        std::string got((size_t)Length(), '\0');
        if (Pick(20) == 0)
            got.assign(m_doc.GetTextBuffer(0), (size_t)Length()); // as a save or a search does
        else
            m_doc.Range(0, Length(), &got[0]);
        ASSERT_TRUE(got == text) << Where();
        std::vector<long> starts = {0};
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n') starts.push_back((long)i + 1);
        ASSERT_EQ(m_doc.GetLineCount(), (long)starts.size()) << Where();
        for (size_t line = 0; line < starts.size(); ++line)
            ASSERT_EQ(m_doc.GetLineOffset((long)line), starts[line]) << "line " << line << Where();
        for (int probe = 0; probe < 4; ++probe) {
            long pos = Pos();
            long line = (long)(std::upper_bound(starts.begin(), starts.end(), pos) - starts.begin()) - 1;
            ASSERT_EQ(m_doc.OffsetToLine(pos), line) << "position " << pos << Where();
            long end = line + 1 < (long)starts.size() ? starts[(size_t)line + 1] - 1 : Length();
            ASSERT_EQ((const char*)m_doc.GetLine(line),
                      text.substr((size_t)starts[(size_t)line], (size_t)(end - starts[(size_t)line])))
                << "line " << line << Where();
        }
    }

    std::string Where() const { return " after step " + std::to_string(m_step) + ", a " + m_what; }

    CEditDocument& m_doc;
    std::mt19937 m_rng;
    CModel m_model;
    int m_step = 0;
    const char* m_what = "";
};
} // namespace

TEST_F(DocumentDifferential, LongRunsOfEditsUndoAndRedoMatchTheLiteralModel) {
    const char* env = std::getenv("TESSOLIN_DIFF_STEPS");
    int steps = env != nullptr && std::atoi(env) > 0 ? std::atoi(env) : 100000;
    std::string start = "first line\n\tsecond \xb5\xda line\nthird\n";
    std::string path = folder.Write("doc.dat", "first line\r\n\tsecond \xb5\xda line\r\nthird\r\n");
    for (int family = 0; family < 2; ++family) {
        SCOPED_TRACE(family == 0 ? "plain" : "coloured");
        CBlackEditDoc plain;
        CDataEditDoc colored;
        CEditDocument& doc = family == 0 ? (CEditDocument&)plain : (CEditDocument&)colored;
        ASSERT_EQ(doc.OpenFile(path.c_str()), 1);
        CDocumentRun run(doc, 20261208 + family, start);
        run.Run(steps / 2);
        EXPECT_EQ(boxes.GetCount(), 0);
    }
}
