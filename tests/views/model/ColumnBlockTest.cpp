// Column blocks over a real text buffer with its undo history: the bytes a block takes on lines with
// tabs, two-byte characters at either edge, short and empty lines and the text's last line; and the
// deletion, typing and paste, each one undo step that undoes and redoes byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BufferText.h"
#include "views/model/ColumnBlock.h"

namespace {

// The text with an edit model on it, GBK characters found by bit 7 or by the code page's rule.
class BlockText : public BufferText {
public:
    explicit BlockText(const std::string& text, bool gbk = false) : BufferText(text), m_gbk(gbk) {
        m_model.Attach(this);
        Attach(m_model);
    }
    CEditModel& Model() { return m_model; }
    bool GbkCharacters() const override { return m_gbk; }

private:
    CEditModel m_model;
    bool m_gbk;
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
    EXPECT_NE(text.Undo(), -1);
    EXPECT_EQ(text.Bytes(), "abXc\nabXc\na\nabXc");
    EXPECT_NE(text.Undo(), -1);
    EXPECT_EQ(text.Bytes(), before);
}

TEST(ColumnBlock, ALeadByteWaitsForItsTrailAndThePairIsTypedAsOneKey) {
    BlockText text("ab\nab\n");
    CColumnEdits(text.Model()).Set(0, 1, 1, 1);
    ASSERT_TRUE(CColumnEdits(text.Model()).Type(kJie[0]));
    EXPECT_FALSE(text.CanUndo());
    ASSERT_TRUE(CColumnEdits(text.Model()).Type(kJie[1]));
    EXPECT_EQ(text.Bytes(), std::string("a") + kJie + "b\na" + kJie + "b\n");
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
