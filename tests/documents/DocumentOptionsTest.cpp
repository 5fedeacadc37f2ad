// The documents' options: switched by their commands, and what the two colouring options change.
#include <gtest/gtest.h>

#include <string>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"

namespace {
const COLORREF kRemark = 0x006F00, kKeyword = 0xFF0000;

template <class TDoc> void Fill(TDoc& doc, const std::string& text) {
    ASSERT_TRUE(doc.OnNewDocument());
    doc.Insert(0, text.c_str());
    doc.RecalcScrollSize();
}

COLORREF ColorAt(CColorEditDoc& doc, long pos) {
    CColorTable table;
    if (!doc.GetLineColorTable((int)doc.OffsetToLine(pos), (int)pos, table)) return 0xFFFFFFFF;
    return table.GetColor(0);
}

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

TEST(DocumentOptions, EachCommandTogglesItsOptionAloneAndItsMenuItemShowsIt) {
    CBlackEditDoc plain;
    CDataEditDoc data;
    for (CEditDocument* doc : {(CEditDocument*)&plain, (CEditDocument*)&data}) {
        const UINT ids[] = {ID_OPTION_GBK_CHARACTERS, ID_OPTION_WHOLE_TEXT_COLORS, ID_OPTION_LONG_LINES};
        const EditOption options[] = {kOptionGbkCharacters, kOptionWholeTextColors, kOptionLongLines};
        for (int k = 0; k < 3; ++k) {
            EXPECT_FALSE(doc->HasOption(options[k])) << "off by default";
            EXPECT_EQ(CheckOf(*doc, ids[k]), 0);
            EXPECT_TRUE(doc->OnCmdMsg(ids[k], CN_COMMAND, nullptr, nullptr));
            EXPECT_TRUE(doc->HasOption(options[k]));
            EXPECT_EQ(CheckOf(*doc, ids[k]), 1);
            for (int j = 0; j < 3; ++j) {
                if (j != k) {
                    EXPECT_FALSE(doc->HasOption(options[j]));
                }
            }
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
    text += "closed\" OVER\n";
    Fill(data, text);
    int start = (int)data.GetLineOffset(2000), end = (int)data.GetLineOffset(2030) - 1;
    int over = start + 10;
    data.RenderWindow(start, end);
    EXPECT_EQ(ColorAt(data, over), kKeyword);
    data.SetOption(kOptionWholeTextColors, TRUE);
    data.RenderWindow(start, end);
    EXPECT_EQ(ColorAt(data, over), kRemark);
    // Closing the remark above, through the document's edit path, colours the window as before.
    ASSERT_TRUE(data.Edit(UNDO_INSERT, 5, 0, "\""));
    data.RenderWindow((int)data.GetLineOffset(2000), (int)data.GetLineOffset(2030) - 1);
    EXPECT_EQ(ColorAt(data, data.GetLineOffset(2000) + 10), kKeyword);
}

// The long-line option colours a long line from a scan checkpoint before its first visible byte:
// the words there take their colours, and the scan does not start at the line's start.
TEST(DocumentOptions, ALongLineIsColouredFromItsVisibleStretch) {
    CDataEditDoc data;
    std::string text = "\"r\" ";
    for (int k = 0; k < 10000; ++k) text += "OVER x ";
    text += "\n";
    Fill(data, text);
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
