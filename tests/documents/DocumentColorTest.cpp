// The coloured documents' colour tables, the preloaded vocabularies, buffer updates, caret columns,
// and the options: switched by their commands, and what the two colouring options change.
#include <gtest/gtest.h>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"

namespace {
const COLORREF kRemark = 0x006F00, kKeyword = 0xFF0000;

// The check a menu item of the command gets, as its update handler sets it (-1: no handler).
int CheckOf(CCmdTarget& target, UINT id) {
    struct CRecordedUI : CCmdUI {
        int check = -1;
        void SetCheck(int c) override { check = c; }
    } ui;
    ui.m_nID = id;
    target.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui.check;
}
} // namespace

TEST(LineColorTable, RunsAreCutToTheLineAndNoRunGivesNoTable) {
    CColorEditDoc doc;
    Fill(doc, "abc def\nxyz\n");
    CColorArray& runs = doc.GetTextString().GetColorArray();
    runs.Reset();
    CColorTable table, none;
    EXPECT_EQ(doc.GetLineColorTable(0, 0, none), 0) << "no runs";
    runs.StartPos() = 1;
    runs.AddColor(0x0000FF, 3);
    runs.AddColor(0xFF0000, 20);
    EXPECT_EQ(doc.GetLineColorTable(0, 0, none), 0) << "a position before the first run";
    ASSERT_EQ(doc.GetLineColorTable(0, 1, table), 1);
    ASSERT_EQ(table.GetColorCount(), 2);
    EXPECT_EQ(table.GetColor(0), 0x0000FFu);
    EXPECT_EQ(table.GetColorPos(0), 3);
    EXPECT_EQ(table.GetColorPos(1), 8) << "clamped to the line's last position + 1";
    EXPECT_EQ(doc.GetLineColorTable(0, 7, none), 0) << "the line feed itself";
    EXPECT_EQ(doc.GetLineColorTable(5, 0, none), 0) << "a line past the end";
}

TEST(PreloadedDocuments, TheVocabulariesColourAndOnlyTheDataFileDocumentWatchesItsBuffer) {
    CDataEditDoc data;
    Fill(data, "  1.5 ; a remark\nOVER\n");
    data.RenderWindow(0, (int)data.GetLength() - 1);
    EXPECT_EQ(ColorAt(data, 6), kRemark) << "from the semicolon";
    CColorTable rest;
    ASSERT_EQ(data.GetLineColorTable(0, 6, rest), 1);
    EXPECT_EQ(rest.GetColorPos(rest.GetColorCount() - 1), 17) << "to the end of the line";
    EXPECT_EQ(ColorAt(data, 17), kKeyword) << "OVER";
    CCheckEditDoc check;
    Fill(check, "IPOIN = 3\nNERMV\n");
    check.RenderWindow(0, (int)check.GetLength() - 1);
    EXPECT_EQ(ColorAt(check, 0), kKeyword) << "registered twice, coloured like any keyword";
    EXPECT_EQ(ColorAt(check, 10), kKeyword);

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

TEST(TextAccess, CaretColumnsMoveToACharacterBoundary) {
    CBlackEditDoc black;
    Fill(black, "\xB5\xDA"
                "ab\n\xB5\xDA");
    const int columns[][3] = {{0, -3, 0}, {0, 1, 2}, {0, 3, 3}, {1, 1, 2}, {1, 1000, 1000}};
    for (auto& c : columns) EXPECT_EQ(black.CalcCaretColumn(c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST(DocumentOptions, EachCommandTogglesItsOptionAloneAndItsMenuItemShowsIt) {
    CBlackEditDoc plain;
    CDataEditDoc data;
    const UINT ids[] = {ID_OPTION_GBK_CHARACTERS, ID_OPTION_WHOLE_TEXT_COLORS, ID_OPTION_LONG_LINES};
    const EditOption options[] = {kOptionGbkCharacters, kOptionWholeTextColors, kOptionLongLines};
    for (CEditDocument* doc : {(CEditDocument*)&plain, (CEditDocument*)&data}) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(CheckOf(*doc, ids[k]), 0) << "off by default";
            EXPECT_TRUE(doc->OnCmdMsg(ids[k], CN_COMMAND, nullptr, nullptr));
            EXPECT_EQ(CheckOf(*doc, ids[k]), 1);
            for (int j = 0; j < 3; ++j) EXPECT_EQ(doc->HasOption(options[j]) != FALSE, j == k) << k << j;
            doc->OnCmdMsg(ids[k], CN_COMMAND, nullptr, nullptr);
            EXPECT_FALSE(doc->HasOption(options[k]));
        }
        EXPECT_FALSE(doc->IsModified()) << "an option is no edit";
    }
}

// A double-quote remark opened above the window: the standard scan starts at the window and sees
// a keyword, the whole-text colours see the remark it lies in.
TEST(DocumentOptions, WholeTextColoursSeeARemarkOpenedAboveTheWindow) {
    CDataEditDoc data;
    std::string text = "1 \"remark opened\n";
    for (int k = 0; k < 3000; ++k) text += "  1.5 2.5 OVER\n";
    Fill(data, text + "closed\" OVER\n");
    auto render = [&] {
        data.RenderWindow((int)data.GetLineOffset(2000), (int)data.GetLineOffset(2030) - 1);
    };
    long over = data.GetLineOffset(2000) + 10;
    render();
    EXPECT_EQ(ColorAt(data, over), kKeyword);
    data.SetOption(kOptionWholeTextColors, TRUE);
    render();
    EXPECT_EQ(ColorAt(data, over), kRemark);
    // Closing the remark above, through the document's edit path, colours the window as before.
    ASSERT_TRUE(data.Edit(UNDO_INSERT, 5, 0, "\""));
    render();
    EXPECT_EQ(ColorAt(data, data.GetLineOffset(2000) + 10), kKeyword);
}

// The long-line option colours a long line from a scan checkpoint before its first visible byte:
// the words there take their colours, and the scan does not start at the line's start.
TEST(DocumentOptions, ALongLineIsColouredFromItsVisibleStretch) {
    CDataEditDoc data;
    std::string text = "\"r\" ";
    for (int k = 0; k < 10000; ++k) text += "OVER x ";
    Fill(data, text + "\n");
    int visible = (int)text.find("OVER", 30000);
    data.SetOption(kOptionLongLines, TRUE);
    data.RenderWindow(0, visible + 100, visible);
    EXPECT_EQ(ColorAt(data, visible), kKeyword);
    EXPECT_EQ(ColorAt(data, visible + 5), 0u) << "plain text";
    CColorArray& runs = data.GetTextString().GetColorArray();
    EXPECT_GT(runs.StartPos(), visible - 4096) << "from a checkpoint near the visible stretch";
    EXPECT_LE(runs.StartPos(), visible);
    data.SetOption(kOptionLongLines, FALSE);
    data.RenderWindow(0, visible + 100, visible);
    EXPECT_EQ(runs.StartPos(), 0) << "without the option, from the line's start";
}
