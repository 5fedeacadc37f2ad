// Title navigation through the host's "Find Title" message, and the searches and whole-word test both
// views offer.
#include "ViewFixture.h"
#include "documents/HostMessages.h"

namespace {
class ViewSearch : public ViewFixture {
protected:
    static void FindTitle(CEditScrollView* view, UINT number, const char* text) {
        view->SendMessage(HostMessage(kMsgFindTitle), number, (LPARAM)text);
    }
    // Whether anything but the margin's grey is drawn in the margin beside the row.
    bool ArrowOnRow(CEditScrollView* view, int row) {
        Picture picture;
        Paint(view, picture);
        int lh = view->Metrics().unit.cy;
        return !picture.Only(CRect(0, row * lh, view->Metrics().leftMargin, (row + 1) * lh), 0xE1E1E1);
    }
    // 200 numbered lines with a heading on line 100 and an upper-case fallback heading on line 150.
    static std::string Chapters() {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += i == 100   ? "\xB5\xDA\xB6\xFE\xD5\xC2 NODES\n" // 第二章 NODES
                    : i == 150 ? "  CHAPTER 7 loads\n"
                               : "  line " + std::to_string(i) + "\n";
        return text;
    }
};
} // namespace

TEST_F(ViewSearch, FindTitleShowsTheHeadingOnTheFifthRowWithTheArrowOrFallsBackToTheChapter) {
    ForBothViews(Chapters(), [this](CEditScrollView* view) {
        view->SetSelection(3, 9);
        FindTitle(view, 2, "\xB5\xDA\xB6\xFE\xD5\xC2 nodes| 2"); // the title, a separator, a space, a number
        int pos = (int)view->GetEditDocument()->GetLineOffset(100);
        EXPECT_EQ(Sel(view), Span(pos, pos)) << "nothing selected";
        EXPECT_EQ(view->Caret(), pos);
        EXPECT_EQ(view->GetScrollPos(SB_VERT), 96);
        EXPECT_EQ(view->FindReplace().LastFind(), CString("\xB5\xDA\xB6\xFE\xD5\xC2 nodes"));
        EXPECT_TRUE(ArrowOnRow(view, 4));
        EXPECT_FALSE(ArrowOnRow(view, 5));
        view->SetSelection(0, 0);
        FindTitle(view, 2, "\xB5\xDA\xB6\xFE\xD5\xC2 nodes| 2");
        EXPECT_EQ(view->Caret(), pos) << "a second search finds the same first occurrence";

        FindTitle(view, 7, "Missing heading; 7");
        EXPECT_EQ(view->Caret(), (int)view->GetEditDocument()->GetLineOffset(150) + 2)
            << "Chapter 7, any case";
        EXPECT_EQ(view->TitleArrow().TitleLine(), 150);
        EXPECT_EQ(view->FindReplace().LastFind(), CString("Chapter 7"));

        view->SetSelection(5, 8);
        FindTitle(view, 9, "no such heading; 9"); // neither the title nor Chapter 9 exists
        FindTitle(view, 2, "NODES");              // no space: no title at all
        FindTitle(view, 2, nullptr);
        FindTitle(view, 0xFFFFFFFFu, "x 1");
        EXPECT_EQ(Sel(view), Span(5, 8)) << "nothing found: the view as it was";
        EXPECT_EQ(view->TitleArrow().TitleLine(), 150);
        EXPECT_EQ(view->FindTitle(""), 0);
        EXPECT_EQ(view->FindTitle("  LINE 42"), 1) << "the direct call folds case";
        EXPECT_EQ(view->TitleArrow().TitleLine(), 42);
    });
}

// 鹊 (B5 DA) spelled by the second byte of 镜 (BE B5) and the first of 谈 (DA CC) is passed over.
TEST_F(ViewSearch, ATitleIsNeverFoundBetweenTheTwoBytesOfACharacter) {
    ForBothViews("\xBE\xB5\xDA\xCC line\nnext \xB5\xDA title\n", [](CEditScrollView* view) {
        FindTitle(view, 9, "\xB5\xDA| 9");
        EXPECT_EQ(view->Caret(), 15);
        EXPECT_EQ(view->TitleArrow().TitleLine(), 1);
        EXPECT_EQ(view->FindTitle("\xB5\xDA\xCC"), 0) << "its only bytes straddle two characters";
        EXPECT_EQ(view->Caret(), 15);
    });
}

TEST_F(ViewSearch, SearchesFoldOnlyAsciiLettersAndWholeWordsStandBetweenDelimiters) {
    ForBothViews("abc, abc\tx\xC1y abc\n", [](CEditScrollView* view) {
        const char* text = view->GetEditDocument()->GetTextBuffer(0);
        EXPECT_EQ(view->SearchString(text, "ABC", 0), 0);
        EXPECT_EQ(view->SearchString(text, "ABC", 1), -1);
        EXPECT_EQ(view->SearchString(1, text, "abc", 1), 5);
        EXPECT_EQ(view->SearchString(text, "\xE1", 0), -1) << "bytes above 0x7F compare exactly";
        EXPECT_EQ(view->SearchString(text, "x\xC1Y", 0), 9);
        EXPECT_EQ(view->SearchStringReverse(12, text, "abc", 0), 5);
        EXPECT_EQ(view->SearchStringReverse(13, text, "abc", 0), 13);
        EXPECT_EQ(view->IsStringWholeWord(0, 3), 0) << "followed by a comma";
        EXPECT_EQ(view->IsStringWholeWord(5, 3), 1) << "between a space and a tab";
        EXPECT_EQ(view->IsStringWholeWord(13, 4), 1)
            << "ending before the last byte: the byte before decides";
        EXPECT_EQ(view->IsStringWholeWord(10, 2), 0);
        view->SetSelection(2, 6);
        EXPECT_EQ(view->GetSearchPosition(), 6);
    });
}
