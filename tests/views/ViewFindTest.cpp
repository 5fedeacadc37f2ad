// Find and replace through the real modeless dialog (its fields typed into, its buttons pressed) and
// through its notification with chosen flags; replace-all against a literal step-by-step model.
#include <random>

#include "ViewFixture.h"
#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"
#include "framework/win/MessageBox.h"
#include "views/FindDialogIds.h"

#include <dlgs.h>

namespace {
class ViewFind : public ViewFixture {
protected:
    // Opens the find (or replace) dialog from the view and types the texts into it.
    static HWND OpenDialog(CEditScrollView* view, const char* find, const char* replace,
                           UINT id = ID_EDIT_REPLACE) {
        view->SendMessage(WM_COMMAND, id);
        CFindReplaceDialog* dialog = view->FindReplace().Dialog();
        if (dialog == nullptr) return nullptr;
        ::SetDlgItemTextA(dialog->m_hWnd, edt1, find);
        ::SetDlgItemTextA(dialog->m_hWnd, edt2, replace);
        return dialog->m_hWnd;
    }
    static void Press(HWND dialog, int button) { ::SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0); }
};

// Replace-all done literally: each search on the text as the replacements before it left it; a hit
// that is no whole word (when asked for) is passed over.
std::string LiteralReplaceAll(std::string text, const std::string& find, const std::string& replace,
                              bool wholeWord) {
    size_t n = find.size();
    auto search = [&](size_t origin) { return origin <= text.size() ? (int)text.find(find, origin) : -1; };
    auto at = [&](int k) { return k < (int)text.size() ? text[(size_t)k] : '\0'; };
    auto delimiter = [&](int k) { return at(k) == ' ' || at(k) == '\n' || at(k) == '\t'; };
    auto whole = [&](int pos) {
        int end = pos + (int)n; // the document's terminator follows the text
        if (pos > 0 && end < (int)text.size()) return delimiter(pos - 1) && delimiter(end);
        return delimiter(pos == 0 ? end : pos - 1);
    };
    for (size_t origin = 0; n > 0;) {
        int pos = search(origin);
        while (wholeWord && pos >= 0 && !whole(pos)) pos = search(pos + n);
        if (pos < 0) break;
        text.replace(pos, n, replace);
        origin = pos + replace.size();
    }
    return text;
}
} // namespace

TEST_F(ViewFind, FindNextFailsOnceSilentlyPastTheLastHitAndTakesMatchCaseWholeWordsAndStraddlingHits) {
    ForBothViews("ab x AB y ab\n", [](CEditScrollView* view) {
        HWND dialog = OpenDialog(view, "ab", "");
        ASSERT_NE(dialog, nullptr);
        std::vector<int> starts;
        for (int i = 0; i < 5; ++i) {
            Press(dialog, IDOK); // Find Next, case-blind
            starts.push_back(view->Model().Selection().start);
        }
        EXPECT_EQ(starts, (std::vector<int>{0, 5, 10, 10, 0}))
            << "the fourth press finds nothing and keeps the selection";
        EXPECT_EQ(Sel(view), Span(0, 2));
        EXPECT_EQ(view->Caret(), 2);
    });
    ForBothViews("ab, AB ab \xB0\xA1\xB0\xA1\n", [](CEditScrollView* view) {
        HWND dialog = OpenDialog(view, "ab", "");
        ASSERT_NE(dialog, nullptr);
        Press(dialog, chx2); // match case
        Press(dialog, chx1); // whole word
        Press(dialog, IDOK);
        EXPECT_EQ(view->Model().Selection().start, 7) << "ab, is no whole word and AB has the wrong case";
        Notify(view, FR_DOWN, "\xA1\xB0", "");
        EXPECT_EQ(view->Model().Selection().start, 11)
            << "the search is over bytes: a hit may straddle two characters";
    });
}

// A typed byte leaves the text on both sides of the buffer's spare room: the searches read it there.
TEST_F(ViewFind, HitsAcrossTheTypingPlaceAreFoundByEverySearch) {
    ForBothViews("alpha beta\n", [](CEditScrollView* view) {
        view->SetSelection(5, 5);
        view->SendMessage(WM_CHAR, 'X', 1);
        view->SendMessage(WM_KEYDOWN, VK_HOME, 1); // the search starts where the caret was moved to
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        Notify(view, FR_DOWN, "ax B", "");
        EXPECT_EQ(Sel(view), Span(4, 8));
        view->SetSelection(7, 7);
        view->SendMessage(WM_CHAR, 'Y', 1);
        EXPECT_EQ(view->FindTitle("HAXY"), 0) << "the text is alphaX Ybeta";
        EXPECT_EQ(view->FindTitle("X yB"), 1);
        Notify(view, FR_REPLACEALL | FR_DOWN | FR_MATCHCASE, "X Y", "-");
        EXPECT_EQ(Text(view), "alpha-beta\n");
    });
}

TEST_F(ViewFind, UpwardFindNextIsIgnoredButReplaceAllStillSearchesForwardAndUndoesWhole) {
    ForBothViews("a b a\n", [](CEditScrollView* view) {
        view->SetSelection(1, 1);
        HWND dialog = OpenDialog(view, "a", "", ID_EDIT_FIND); // the find dialog has the direction buttons
        Press(dialog, rad1);                                   // up
        Press(dialog, IDOK);
        EXPECT_EQ(Sel(view), Span(1, 1));
        Notify(view, FR_REPLACEALL, "a", "aa"); // upward too, and the replacement holds the find text
        EXPECT_EQ(Text(view), "aa b aa\n");
        EXPECT_EQ(Sel(view), Span(5, 7));
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
        view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "a b a\n") << "one undo reverses the whole run";
        view->SendMessage(WM_COMMAND, ID_EDIT_REDO);
        EXPECT_EQ(Text(view), "aa b aa\n");
    });
}

TEST_F(ViewFind, ReplaceAllWithAnEmptyFindTextRecordsAnEmptyRunAndChangesNothing) {
    ForBothViews("abc\n", [](CEditScrollView* view) {
        ASSERT_NE(OpenDialog(view, "b", "x"), nullptr);
        Notify(view, FR_REPLACEALL | FR_DOWN, "", "x");
        EXPECT_EQ(Text(view), "abc\n");
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
        EXPECT_TRUE(view->GetEditDocument()->CanUndo());
        view->SendMessage(HostMessage(kMsgFindReplace), 0, (LPARAM)12345); // a forged record
        EXPECT_EQ(Text(view), "abc\n");
    });
}

// Replace takes the selection only when it is a hit under the flags of the press; any other
// selection is searched past, as Find Next would. Undo gives back the bytes each replacement took.
TEST_F(ViewFind, ReplaceChangesOnlyAHitAndItsUndoGivesBackTheBytesItTook) {
    ForBothViews("one two One xone\n", [](CEditScrollView* view) {
        view->SetSelection(5, 5);
        HWND dialog = OpenDialog(view, "one", "1"); // the word at the caret was "two"
        ASSERT_NE(dialog, nullptr);
        Press(dialog, psh1); // the find text changed: no replacement, the first hit is selected
        EXPECT_EQ(Sel(view), Span(0, 3));
        view->SetSelection(4, 7); // the user moves the selection to "two"
        Press(dialog, psh1);
        EXPECT_EQ(Text(view), "one two One xone\n") << "a selection that is no hit is never replaced";
        EXPECT_EQ(Sel(view), Span(0, 3)) << "the press searched on instead";
        Press(dialog, psh1);
        EXPECT_EQ(Text(view), "1 two One xone\n");
        EXPECT_EQ(Sel(view), Span(6, 9)) << "case-blind by the dialog's flags";
        Notify(view, FR_REPLACE | FR_DOWN | FR_MATCHCASE, "one", "1");
        EXPECT_EQ(Text(view), "1 two One xone\n") << "no hit once case counts";
        EXPECT_EQ(Sel(view), Span(11, 14));
        Notify(view, FR_REPLACE | FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD, "one", "1");
        EXPECT_EQ(Text(view), "1 two One xone\n") << "no whole word";
        Notify(view, FR_REPLACE | FR_DOWN, "one", "1");
        Notify(view, FR_REPLACE | FR_DOWN, "one", "1");
        EXPECT_EQ(Text(view), "1 two 1 x1\n");
        for (int i = 0; i < 3; ++i) view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "one two One xone\n") << "each undo gives back the bytes, in their case";
        Notify(view, FR_REPLACEALL | FR_DOWN, "ONE", "");
        EXPECT_EQ(Text(view), " two  x\n");
        view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "one two One xone\n") << "a case-blind replace-all undone";
    });
    ForBothViews("\xB5\xDA\xD2\xBB\n", [](CEditScrollView* view) {
        view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
        ASSERT_NE(OpenDialog(view, "\xDA\xD2", "--"), nullptr);
        view->SetSelection(1, 3); // the trail of one character and the lead of the next
        Notify(view, FR_REPLACE | FR_DOWN, "\xDA\xD2", "--");
        Notify(view, FR_REPLACE | FR_DOWN, "\xDA\xD2", "--");
        EXPECT_EQ(Text(view), "\xB5\xDA\xD2\xBB\n") << "no hit across character boundaries";
    });
}

TEST_F(ViewFind, CommandsTakeTheSelectionOrTheWordAtTheCaret) {
    ForBothViews("alpha beta\n", [](CEditScrollView* view) {
        EXPECT_EQ(UpdateState(view, ID_EDIT_FIND), 1);
        view->SetSelection(7, 7);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        EXPECT_EQ(view->Model().Selection().start, 7) << "Find leaves the selection alone";
        char shown[32] = {};
        ::GetDlgItemTextA(view->FindReplace().Dialog()->m_hWnd, edt1, shown, sizeof shown);
        EXPECT_STREQ(shown, "beta");
        ::DestroyWindow(view->FindReplace().Dialog()->m_hWnd);
        view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
        EXPECT_EQ(Sel(view), Span(6, 10)) << "Replace selects the word";
        ::DestroyWindow(view->FindReplace().Dialog()->m_hWnd);
        view->SetSelection(5, 5); // on the space
        view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
        EXPECT_EQ(view->FindReplace().LastFind(), CString("beta")) << "an empty word keeps the find text";
        EXPECT_EQ(Sel(view), Span(5, 5));
        view->SendMessage(WM_COMMAND, ID_EDIT_FINDNEXT);
        EXPECT_EQ(view->Model().Selection().start, 6);
    });
}

TEST_F(ViewFind, ReplaceAllAgreesWithTheLiteralStepByStepRun) {
    CColorEditView* view = OpenColored("x\n");
    ASSERT_NE(OpenDialog(view, "x", "y"), nullptr);
    CEditDocument* doc = view->GetEditDocument();
    std::mt19937 rng(19);
    const char* finds[] = {"a", "ab", "a ", "b", " a", "aa"};
    const char* replaces[] = {"", "a", "x", " ", "aa", "b\n"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (int k = (int)(rng() % 14) + 1; k > 0; --k) text += "ab \n,"[rng() % 5];
        std::string find = finds[rng() % 6], replace = replaces[rng() % 6];
        bool wholeWord = rng() % 2 != 0;
        doc->Replace(0, (int)doc->GetLength() - 1, text.c_str());
        Notify(view, FR_REPLACEALL | FR_DOWN | FR_MATCHCASE | (wholeWord ? FR_WHOLEWORD : 0), find.c_str(),
               replace.c_str());
        ASSERT_EQ(Text(view), LiteralReplaceAll(text, find, replace, wholeWord))
            << "text [" << text << "] find [" << find << "] replace [" << replace << "] whole " << wholeWord;
        view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        ASSERT_EQ(Text(view), text) << "undo";
    }
    ::DestroyWindow(view->FindReplace().Dialog()->m_hWnd);
}

// A replace-all and a single replacement with their allocations failing in turn.
TEST_F(ViewFind, AReplaceThatRunsOutOfMemoryIsWholeOrNotAtAll) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "item " + std::to_string(i) + " old value\n";
    std::string replaced = text, once = text;
    for (size_t at = 0; (at = replaced.find("old", at)) != std::string::npos; at += 12)
        replaced.replace(at, 3, "a much longer new");
    const char* longer = "a replacement longer than a block";
    const int three = (int)text.find("item 3 ") + 5;
    once.replace((size_t)three, 1, longer);
    ForBothViews(text, [&](CEditScrollView* view) {
        ASSERT_NE(OpenDialog(view, "old", "a much longer new"), nullptr);
        EXPECT_TRUE(WholeOrRefused(view, replaced, 80, [&] {
            Notify(view, FR_REPLACEALL | FR_DOWN | FR_MATCHCASE, "old", "a much longer new");
        })) << "some allocation of the run went through the seam";
        Notify(view, FR_REPLACE | FR_DOWN | FR_MATCHCASE, "3", longer); // the find text is now "3"
        WholeOrRefused(view, once, 20, [&] {
            view->SetSelection(three, three + 1);
            Notify(view, FR_REPLACE | FR_DOWN | FR_MATCHCASE, "3", longer);
        });
    });
}

// The regular-expression box of the library's dialog, ticked and pressed as a user does: Replace All
// with a group in one undo step, Replace of a hit only, Find Next up and down, and a malformed
// pattern refused with a message naming it.
TEST_F(ViewFind, WithTheBoxTickedTheButtonsSearchAndReplaceWithARegularExpression) {
    const std::string deck = "NPOIN = 12\nnpoin = 7\nNPOIN=3 (x)\n";
    ForBothViews(deck, [&](CEditScrollView* view) {
        HWND dialog = OpenDialog(view, "^npoin = ([0-9]+)$", "NPOIN = \\1 # was &");
        ASSERT_NE(dialog, nullptr);
        ASSERT_NE(::GetDlgItem(dialog, IDC_FIND_REGEX), nullptr) << "the library's template is used";
        Press(dialog, IDC_FIND_REGEX);
        Press(dialog, psh2);
        EXPECT_EQ(Text(view), "NPOIN = 12 # was NPOIN = 12\nNPOIN = 7 # was npoin = 7\nNPOIN=3 (x)\n");
        view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), deck) << "one undo step, the bytes given back";

        ::SetDlgItemTextA(dialog, edt1, "[0-9]+");
        ::SetDlgItemTextA(dialog, edt2, "<&>");
        view->SetSelection(0, 5); // "NPOIN": no hit
        Press(dialog, psh1);      // the find text changed: searches only
        Press(dialog, psh1);
        EXPECT_EQ(Text(view), "NPOIN = <12>\nnpoin = 7\nNPOIN=3 (x)\n");
        EXPECT_EQ(Sel(view), Span(21, 22)) << "the next hit, past the replacement";
        view->SetSelection(8, 8); // inside the replacement: no hit starts here, the press searches on
        Press(dialog, psh1);
        EXPECT_EQ(Text(view), "NPOIN = <12>\nnpoin = 7\nNPOIN=3 (x)\n");
        EXPECT_EQ(Sel(view), Span(29, 30));
        Notify(view, FR_FINDNEXT, "[0-9]+", "<&>"); // upward (the box is read from the dialog)
        EXPECT_EQ(Sel(view), Span(21, 22)) << "the last hit before the selection";
        Notify(view, FR_FINDNEXT, "[0-9]+", "<&>");
        EXPECT_EQ(Sel(view), Span(9, 11));

        CModalRecorder boxes(IDOK);
        ::SetDlgItemTextA(dialog, edt1, "(npoin");
        Press(dialog, psh2);
        ASSERT_EQ(boxes.GetCount(), 1);
        EXPECT_NE(std::string(boxes.GetText(0)).find("(npoin"), std::string::npos);
        EXPECT_EQ(Text(view), "NPOIN = <12>\nnpoin = 7\nNPOIN=3 (x)\n");
        Press(dialog, IDC_FIND_REGEX); // off again: the same text is found literally
        ::SetDlgItemTextA(dialog, edt1, "(x)");
        Press(dialog, IDOK);
        EXPECT_EQ(Sel(view), Span(31, 34)) << "all three bytes, not the group's one";
        ::DestroyWindow(dialog);
    });
}
