// The coloured documents' colour queries, the preloaded vocabularies, buffer updates and caret columns.
#include <gtest/gtest.h>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"

namespace {
// A document holding text (a NUL-terminated string), its line table built.
template <class TDoc> void Fill(TDoc& doc, const char* text) {
    ASSERT_TRUE(doc.OnNewDocument());
    doc.Insert(0, text);
    doc.RecalcScrollSize();
    doc.SetModifiedFlag(FALSE); // as if the text had been read from a file
}

// The colour a line's table gives to position pos, taken from the table built from pos0.
COLORREF ColorAt(CColorEditDoc& doc, long pos) {
    CColorTable table;
    long line = doc.OffsetToLine(pos);
    if (!doc.GetLineColorTable((int)line, (int)pos, table)) return 0xFFFFFFFF;
    return table.GetColor(0);
}
} // namespace

TEST(LineColorTable, RunsAreCutToTheLineAndTheLastEndsAfterItsLineFeed) {
    CColorEditDoc doc;
    Fill(doc, "abc def\nxyz\n");
    CColorArray& runs = doc.GetTextString().GetColorArray();
    runs.Reset();
    runs.StartPos() = 0;
    runs.AddColor(0x0000FF, 3);
    runs.AddColor(0x000000, 4);
    runs.AddColor(0xFF0000, 20);

    CColorTable table;
    ASSERT_EQ(doc.GetLineColorTable(0, 1, table), 1);
    ASSERT_EQ(table.GetColorCount(), 3);
    EXPECT_EQ(table.GetColor(0), 0x0000FFu);
    EXPECT_EQ(table.GetColorPos(0), 3);
    EXPECT_EQ(table.GetColorPos(1), 4);
    EXPECT_EQ(table.GetColor(2), 0xFF0000u);
    EXPECT_EQ(table.GetColorPos(2), 8) << "clamped to the line's last position + 1";

    CColorTable second;
    ASSERT_EQ(doc.GetLineColorTable(1, 8, second), 1);
    ASSERT_EQ(second.GetColorCount(), 1) << "one run over the whole line";
    EXPECT_EQ(second.GetColorPos(0), 12);

    CColorTable none;
    EXPECT_EQ(doc.GetLineColorTable(0, 7, none), 0) << "the line feed itself";
    EXPECT_EQ(doc.GetLineColorTable(0, 9, none), 0);
    EXPECT_EQ(doc.GetLineColorTable(5, 0, none), 0) << "a line past the end";
    EXPECT_EQ(none.GetColorCount(), 0);
    doc.DispatchColor(0, 0, 0, runs, none);
    EXPECT_EQ(none.GetColorCount(), 0) << "an end below 1 dispatches nothing";
}

TEST(LineColorTable, NoRunsOrAPositionBeforeTheFirstRunGiveNothing) {
    CColorEditDoc doc;
    Fill(doc, "abc\n");
    CColorArray& runs = doc.GetTextString().GetColorArray();
    runs.Reset();
    CColorTable table;
    EXPECT_EQ(doc.GetLineColorTable(0, 0, table), 0);
    runs.StartPos() = 2;
    runs.AddColor(0x00FF00, 3);
    EXPECT_EQ(doc.GetLineColorTable(0, 1, table), 0);
    EXPECT_EQ(doc.GetLineColorTable(0, 2, table), 1);
}

TEST(PreloadedDocuments, DataFileRemarksAndListingKeywordsTakeTheirColours) {
    CDataEditDoc data;
    Fill(data, "  1.5 ; a remark\nOVER\n");
    data.RenderWindow(0, (int)data.GetLength() - 1);
    EXPECT_EQ(ColorAt(data, 6), 0x006F00u) << "from the semicolon";
    CColorTable rest;
    ASSERT_EQ(data.GetLineColorTable(0, 6, rest), 1);
    EXPECT_EQ(rest.GetColorPos(rest.GetColorCount() - 1), 17) << "to the end of the line";
    EXPECT_EQ(ColorAt(data, 17), 0xFF0000u) << "OVER";

    CCheckEditDoc check;
    Fill(check, "IPOIN = 3\nNERMV\n");
    check.RenderWindow(0, (int)check.GetLength() - 1);
    EXPECT_EQ(ColorAt(check, 0), 0xFF0000u) << "registered twice, coloured like any keyword";
    EXPECT_EQ(ColorAt(check, 10), 0xFF0000u);
}

TEST(PreloadedDocuments, OnlyTheDataFileDocumentWatchesItsBuffer) {
    CDataEditDoc data;
    CCheckEditDoc check;
    Fill(data, "x\n");
    Fill(check, "x\n");
    data.GetTextString().DoUpdate(1);
    check.GetTextString().DoUpdate(1);
    EXPECT_TRUE(data.IsModified());
    EXPECT_FALSE(check.IsModified());

    CColorEditDoc doc;
    doc.DoColorStringUpdate(0);
    EXPECT_FALSE(doc.IsModified()) << "zero repaints without marking";
    doc.DoColorStringUpdate(2);
    EXPECT_TRUE(doc.IsModified());
}

TEST(CaretColumn, ColumnsMoveForwardToACharacterBoundary) {
    CBlackEditDoc doc;
    Fill(doc, "\xB5\xDA"
              "ab\n\xB5\xDA");
    EXPECT_EQ(doc.CalcCaretColumn(0, 0), 0);
    EXPECT_EQ(doc.CalcCaretColumn(0, -3), 0);
    EXPECT_EQ(doc.CalcCaretColumn(0, 1), 2) << "inside the pair";
    EXPECT_EQ(doc.CalcCaretColumn(0, 2), 2);
    EXPECT_EQ(doc.CalcCaretColumn(0, 3), 3);
    EXPECT_EQ(doc.CalcCaretColumn(1, 1), 2);
    EXPECT_EQ(doc.CalcCaretColumn(1, 1000), 1000) << "past the text the count still ends";
}

TEST(TextAccess, PositionsOutsideTheTextAnswerEmptyValues) {
    CColorEditDoc doc;
    Fill(doc, "line one\nline two\n");
    EXPECT_EQ(doc.GetString(5, 3), "one");
    EXPECT_EQ(doc.Range(9, 13), "line");
    EXPECT_EQ(doc.GetLine(1), "line two");
    EXPECT_EQ(doc.GetLineSize(0), 9);
    EXPECT_EQ(doc.GetAt(-1), 0);
    EXPECT_EQ(doc.GetAt(1000), 0);
    EXPECT_EQ(doc.GetString(1000, 3), "");
    EXPECT_EQ(doc.GetString(15, 1000), "wo\n") << "cut at the terminator";
    EXPECT_EQ(doc.GetLine(-1), "");
    EXPECT_EQ(doc.GetLineOffset(99), 0);
    char out[32];
    doc.Range(14, 1000, out);
    EXPECT_STREQ(out, "two\n");
    EXPECT_EQ(doc.GetTextBuffer(5000), doc.GetTextBuffer(0) + doc.GetLength());
}
