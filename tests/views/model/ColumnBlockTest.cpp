// Column blocks over a real text buffer with its undo history: the bytes a block takes on lines with
// tabs, two-byte characters at either edge, short and empty lines and the text's last line; and the
// deletion, typing and paste, each one undo step that undoes and redoes byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "text/BlackString.h"
#include "undo/Undo.h"
#include "views/model/ColumnBlock.h"

namespace {

// The text as a document holds it: a buffer, its undo history, and the model told of every change.
class BlockText : public CEditText, public CUndo {
public:
    explicit BlockText(const std::string& text, bool gbk = false) : CUndo(1000, 32768), m_gbk(gbk) {
        m_buffer.SetBufferSize(1 << 16);
        m_buffer.Reset();
        m_buffer.Insert(0, text.c_str());
        m_model.Attach(this);
    }
    virtual ~BlockText() = default;
    CEditModel& Model() { return m_model; }
    std::string Bytes() const { return std::string(m_buffer.GetBuffer(), (size_t)Length() - 1); }
    int Records() const { return m_nRecords; }

    int Length() const override { return m_buffer.GetLength(); }
    char ByteAt(int pos) const override { return pos >= 0 && pos < Length() ? m_buffer.GetAt(pos) : 0; }
    int LineCount() const override { return m_buffer.GetLineCount(); }
    int LineStart(int line) const override { return m_buffer.GetLineOffset(line); }
    int LineOfOffset(int pos) const override { return m_buffer.OffsetToLine(pos); }
    const CStringEx& Text() const override { return m_buffer; }
    int CaretColumn(int, int column) const override { return column; }
    bool GbkCharacters() const override { return m_gbk; }
    bool LongLines() const override { return false; }
    bool InsertAt(int, const char*) override { return false; }
    bool DeleteAt(int, int) override { return false; }
    bool ReplaceAt(int, int, const char*) override { return false; }
    bool ChangeEach(const std::vector<CTextChange>& changes) override {
        auto* record = new CListUndoInfo(UNDO_REPLACE);
        for (const CTextChange& change : changes) {
            std::string removed(m_buffer.GetRange(change.pos, change.count), (size_t)change.count);
            record->Add(change.pos, removed.c_str(), change.text.c_str());
            Change(change.pos, change.count, change.text.c_str());
        }
        SetUndoInfo(record);
        ++m_nRecords;
        return true;
    }
    void Insert(int pos, const char* text) override { Change(pos, 0, text); }
    void Delete(int pos, int count) override { Change(pos, count, ""); }
    void ScrollToCurrent(int pos) override { m_model.SetSelection(pos, pos); }
    void Serialize(CArchive&) override {}
    void DeleteContents() override {}

private:
    void Change(int pos, int count, const char* text) {
        if (count > 0) m_buffer.Delete(pos, count);
        if (*text != 0) m_buffer.Insert(pos, text);
        m_model.TextChanged(pos, count, (int)std::strlen(text));
    }

    CBlackString m_buffer;
    CEditModel m_model;
    bool m_gbk;
    int m_nRecords = 0;
};

// The block's text when cells [firstCell, endCell) of lines first ... last are selected.
std::string BlockOf(BlockText& text, int first, int last, int firstCell, int endCell) {
    CColumnEdits(text.Model()).Set(first, last, firstCell, endCell);
    return CColumnSpans(text.Model()).Text();
}

// The edit made, then undone and redone: the text before and after it come back byte for byte.
void ExpectUndoRedo(BlockText& text, const std::string& before, const std::string& after) {
    EXPECT_EQ(text.Bytes(), after);
    EXPECT_NE(text.Undo(), -1);
    EXPECT_EQ(text.Bytes(), before);
    EXPECT_NE(text.Redo(), -1);
    EXPECT_EQ(text.Bytes(), after);
}

const char kJie[] = "\xBD\xDA";  // 节
const char kDian[] = "\xB5\xE3"; // 点

TEST(ColumnBlock, ATabIsTheCellsItCoversAndIsTakenWholeWhenAnEdgeCutsIt) {
    BlockText text("a\tb\n\tcd\nabcdefg\n");
    // a: cell 0, the tab 1-3, b: 4; the tab: 0-3, c: 4; the letters one each.
    EXPECT_EQ(BlockOf(text, 0, 2, 2, 5), "\tb\n\tc\ncde\n");
    EXPECT_EQ(BlockOf(text, 0, 1, 4, 5), "b\nc\n");
    EXPECT_EQ(BlockOf(text, 0, 0, 1, 2), "\t\n");
}

TEST(ColumnBlock, ATwoByteCharacterIsNeverSplitAtEitherEdge) {
    std::string line1 = std::string("ab") + kJie + kDian + "cd\n"; // 节 at cells 2-3, 点 at 4-5
    std::string line2 = std::string("x") + kJie + kDian + "yz\n";  // 节 at 1-2, 点 at 3-4
    BlockText text(line1 + line2);
    // Cell 3 is 节's right half on the first line and 点's left half on the second; the right edge
    // (before cell 5) cuts 点 on the first line and nothing on the second.
    EXPECT_EQ(BlockOf(text, 0, 1, 3, 5), std::string(kJie) + kDian + "\n" + kDian + "\n");
    EXPECT_EQ(BlockOf(text, 0, 1, 2, 3), std::string(kJie) + "\n" + kJie + "\n");
}

TEST(ColumnBlock, TheCodePagesRuleKeepsALeadByteWithItsAsciiTrail) {
    BlockText text("a\x81\x40z\n", true); // one character whose trail is '@'
    EXPECT_EQ(BlockOf(text, 0, 0, 2, 3), "\x81\x40\n");
}

TEST(ColumnBlock, LinesEndingLeftOfTheBlockContributeNothingAndTheLastLineCounts) {
    BlockText text("abcdef\nab\n\nabcd\nxyzuvw");
    EXPECT_EQ(BlockOf(text, 0, 4, 2, 4), "cd\n\n\ncd\nzu\n");
    CColumnSpans spans(text.Model());
    EXPECT_TRUE(spans.Span(1).reaches); // ends on the left edge: a place to type, no bytes
    EXPECT_EQ(spans.Span(1).first, spans.Span(1).last);
    EXPECT_FALSE(spans.Span(2).reaches);
    EXPECT_EQ(BlockOf(text, 4, 4, 5, 9), "w\n"); // the text's last line, to its end
}

TEST(ColumnBlock, DeleteRemovesTheBlockFromEveryLineAsOneUndoStep) {
    std::string before = std::string("ab\tcd\nx") + kJie + "yz\n\nabcdef";
    BlockText text(before);
    CColumnEdits(text.Model()).Set(0, 3, 1, 3);
    ASSERT_TRUE(CColumnEdits(text.Model()).Delete());
    EXPECT_EQ(text.Records(), 1);
    ExpectUndoRedo(text, before, "acd\nxyz\n\nadef");
}

TEST(ColumnBlock, DeleteLeavesAnEmptyBlockAtTheLeftEdge) {
    BlockText text("abcd\nabcd\n");
    CColumnEdits(text.Model()).Set(0, 1, 1, 3);
    ASSERT_TRUE(CColumnEdits(text.Model()).Delete());
    const CColumnBlock& block = text.Model().Selection().block;
    EXPECT_TRUE(block.active);
    EXPECT_EQ(block.FirstCell(), 1);
    EXPECT_EQ(block.EndCell(), 1);
    EXPECT_EQ(text.Model().Caret(), 4); // on the corner's line, line 1, at cell 1 of "ad"
}

TEST(ColumnBlock, TypingIntoAnEmptyBlockTypesOnEveryLineOneUndoStepAKey) {
    std::string before = "abc\nabc\na\nabc";
    BlockText text(before);
    CColumnEdits(text.Model()).Set(0, 3, 2, 2);
    ASSERT_TRUE(CColumnEdits(text.Model()).Type('X'));
    ASSERT_TRUE(CColumnEdits(text.Model()).Type('Y'));
    EXPECT_EQ(text.Bytes(), "abXYc\nabXYc\na\nabXYc");
    EXPECT_EQ(text.Records(), 2);
    EXPECT_NE(text.Undo(), -1);
    EXPECT_EQ(text.Bytes(), "abXc\nabXc\na\nabXc");
    EXPECT_NE(text.Undo(), -1);
    EXPECT_EQ(text.Bytes(), before);
}

TEST(ColumnBlock, ALeadByteWaitsForItsTrailAndThePairIsTypedAsOneKey) {
    BlockText text("ab\nab\n");
    CColumnEdits(text.Model()).Set(0, 1, 1, 1);
    ASSERT_TRUE(CColumnEdits(text.Model()).Type(kJie[0]));
    EXPECT_EQ(text.Records(), 0);
    ASSERT_TRUE(CColumnEdits(text.Model()).Type(kJie[1]));
    EXPECT_EQ(text.Bytes(), std::string("a") + kJie + "b\na" + kJie + "b\n");
    EXPECT_EQ(text.Records(), 1);
    EXPECT_EQ(text.Model().Selection().block.FirstCell(), 3);
}

TEST(ColumnBlock, TypingOverAWideBlockReplacesItOnEveryLine) {
    BlockText text("abcd\nabcd\n");
    CColumnEdits(text.Model()).Set(0, 1, 1, 3);
    ASSERT_TRUE(CColumnEdits(text.Model()).Type('-'));
    EXPECT_EQ(text.Bytes(), "a-d\na-d\n");
}

TEST(ColumnBlock, PasteGoesInAtTheCaretsCellPaddingShortLinesAndGrowingTheText) {
    std::string before = "abcdef\nab\n\tx\nabcdef";
    BlockText text(before);
    text.Model().SetSelection(3, 3); // cell 3 of line 0
    ASSERT_TRUE(CColumnEdits(text.Model()).Paste({"11", "22", "33", "44", "55"}));
    EXPECT_EQ(text.Records(), 1);
    // Line 1 is padded to cell 3; cell 3 falls inside line 2's tab, which the lines go in front of.
    EXPECT_EQ(text.Model().Caret(), 3);
    ExpectUndoRedo(text, before, "abc11def\nab 22\n33\tx\nabc44def\n   55");
}

TEST(ColumnBlock, PasteAfterTheLastLinesLineFeedFillsItsEmptyLineFirst) {
    std::string before = "ab\nab\n";
    BlockText text(before);
    text.Model().SetSelection(4, 4);
    ASSERT_TRUE(CColumnEdits(text.Model()).Paste({"1", "2", "3"}));
    ExpectUndoRedo(text, before, "ab\na1b\n 2\n 3");
}

TEST(ColumnBlock, CopiedLinesPastedBackGiveTheSameBlock) {
    std::string body = std::string("ab") + kJie + "cd\nxy\tefgh\nijklmn\n";
    BlockText text(body);
    std::string copied = BlockOf(text, 0, 2, 2, 4);
    EXPECT_EQ(copied, std::string(kJie) + "\n\t\nkl\n");
    ASSERT_TRUE(CColumnEdits(text.Model()).Delete());
    text.Model().SetSelection(2, 2);
    ASSERT_TRUE(CColumnEdits(text.Model()).Paste(SplitBlockLines(copied)));
    EXPECT_EQ(text.Bytes(), body);
}

TEST(ColumnBlock, AnEditFromElsewhereEndsTheBlock) {
    BlockText text("abc\nabc\n");
    CColumnEdits(text.Model()).Set(0, 1, 0, 2);
    text.Insert(0, "z");
    EXPECT_FALSE(text.Model().Selection().block.active);
}

TEST(ColumnBlock, TheCornerMovesFromTheCaretAndStaysInTheText) {
    BlockText text("abc\nabc\n");
    text.Model().SetSelection(1, 1);
    CColumnEdits(text.Model()).MoveCorner(1, 1);
    const CColumnBlock& block = text.Model().Selection().block;
    EXPECT_EQ(block.FirstLine(), 0);
    EXPECT_EQ(block.LastLine(), 1);
    EXPECT_EQ(block.FirstCell(), 1);
    EXPECT_EQ(block.EndCell(), 2);
    CColumnEdits(text.Model()).MoveCorner(9, -9);
    EXPECT_EQ(block.LastLine(), 2);
    EXPECT_EQ(block.FirstCell(), 0);
    EXPECT_EQ(block.EndCell(), 1);
}

TEST(ColumnBlock, BlockLinesSplitAtLineFeedsWithoutCarriageReturns) {
    EXPECT_EQ(SplitBlockLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitBlockLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
}

} // namespace
