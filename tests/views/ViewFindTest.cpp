// Find and replace through the real modeless dialog (its fields typed into, its buttons pressed) and
// through its notification with chosen flags; replace-all against a literal step-by-step model.
#include <cstring>
#include <functional>
#include <random>

#include "ViewFixture.h"
#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"
#include "framework/win/MessageBox.h"

#include <dlgs.h>

namespace {
class ViewFind : public ViewFixture {
protected:
    // Opens the replace dialog from the view and types the texts into it.
    static HWND OpenReplace(CEditScrollView* view, const char* find, const char* replace) {
        view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
        CFindReplaceDialog* dialog = view->FindReplace().Dialog();
        if (dialog == nullptr) return nullptr;
        ::SetDlgItemTextA(dialog->m_hWnd, edt1, find);
        ::SetDlgItemTextA(dialog->m_hWnd, edt2, replace);
        return dialog->m_hWnd;
    }
    static void Press(HWND dialog, int button) { ::SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0); }
};

// Replace-all done literally: each search on the text as the replacements before it left it.
std::string LiteralReplaceAll(std::string text, const std::string& find, const std::string& replace,
                              bool wholeWord) {
    size_t n = find.size();
    if (n == 0) return text;
    auto search = [&](size_t origin) {
        size_t at = origin <= text.size() ? text.find(find, origin) : std::string::npos;
        return at == std::string::npos ? -1 : (int)at;
    };
    auto delimiter = [](char c) { return c == ' ' || c == '\n' || c == '\t'; };
    auto whole = [&](int pos) {
        if (pos < 0) return false;
        int length = (int)text.size() + 1, end = pos + (int)n; // the document counts its terminator
        auto at = [&](int k) { return k < (int)text.size() ? text[k] : '\0'; };
        if (pos > 0 && end < length - 1) return delimiter(at(pos - 1)) && delimiter(at(end));
        return delimiter(pos == 0 ? at(end) : at(pos - 1));
    };
    size_t origin = 0;
    for (;;) {
        int pos = search(origin);
        while (wholeWord && !whole(pos)) {
            if (pos == -1) break;
            pos = search(origin);
            if (pos == -1) break;
            origin = pos + n;
        }
        if (pos < 0) break;
        text.replace(pos, n, replace);
        origin = pos + replace.size();
    }
    return text;
}
} // namespace

TEST_F(ViewFind, FindNextPastTheLastHitFailsOnceSilentlyThenStartsAtTheTop) {
    ForBothViews("ab x AB y ab\n", [](CEditScrollView* view) {
        HWND dialog = OpenReplace(view, "ab", "");
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
}

TEST_F(ViewFind, MatchCaseAndWholeWordsFromTheDialogAndHitsStraddlingCharacters) {
    ForBothViews("ab, AB ab \xB0\xA1\xB0\xA1\n", [](CEditScrollView* view) {
        HWND dialog = OpenReplace(view, "ab", "");
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
        EXPECT_EQ(view->Caret(), 5);
        Notify(view, FR_REPLACEALL | FR_DOWN | FR_MATCHCASE, "X Y", "-");
        EXPECT_EQ(Text(view), "alpha-beta\n");
    });
}

TEST_F(ViewFind, UpwardFindNextIsIgnoredButReplaceAllStillSearchesForward) {
    ForBothViews("a b a\n", [](CEditScrollView* view) {
        view->SetSelection(1, 1);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND); // the find dialog has the direction buttons
        HWND dialog = view->FindReplace().Dialog()->m_hWnd;
        ::SetDlgItemTextA(dialog, edt1, "a");
        Press(dialog, rad1); // up
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

TEST_F(ViewFind, ReplaceWithAnUnchangedFindTextReplacesTheSelectionWhereverItWas) {
    ForBothViews("one two one two\n", [](CEditScrollView* view) {
        view->SetSelection(5, 5);
        HWND dialog = OpenReplace(view, "one", "1"); // the word at the caret was "two"
        ASSERT_NE(dialog, nullptr);
        Press(dialog, psh1); // the find text changed: no replacement, the first hit is selected
        EXPECT_EQ(Text(view), "one two one two\n");
        EXPECT_EQ(Sel(view), Span(0, 3));
        view->SetSelection(4, 7); // the user moves the selection to "two"
        Press(dialog, psh1);
        EXPECT_EQ(Text(view), "one 1 one two\n") << "three bytes at the selection start replaced";
        EXPECT_EQ(view->Model().Selection().start, 0)
            << "the origin stayed on the last hit, which is found again";
        view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
        EXPECT_EQ(Text(view), "one one one two\n") << "the record keeps the find text as what was removed";
    });
}

TEST_F(ViewFind, CommandsTakeTheSelectionOrTheWordAtTheCaret) {
    ForBothViews("alpha beta\n", [](CEditScrollView* view) {
        EXPECT_EQ(UpdateState(view, ID_EDIT_FIND), 1);
        view->SetSelection(7, 7);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        EXPECT_EQ(view->FindReplace().LastFind(), CString("beta"));
        EXPECT_EQ(view->Model().Selection().start, 7) << "Find leaves the selection alone";
        char shown[32] = {};
        ::GetDlgItemTextA(view->FindReplace().Dialog()->m_hWnd, edt1, shown, sizeof shown);
        EXPECT_STREQ(shown, "beta");
        ::DestroyWindow(view->FindReplace().Dialog()->m_hWnd);
        view->SetSelection(7, 7);
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

TEST_F(ViewFind, ReplaceAllWithAnEmptyFindTextRecordsAnEmptyRunAndChangesNothing) {
    ForBothViews("abc\n", [](CEditScrollView* view) {
        ASSERT_NE(OpenReplace(view, "b", "x"), nullptr);
        Notify(view, FR_REPLACEALL | FR_DOWN, "", "x");
        EXPECT_EQ(Text(view), "abc\n");
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
        EXPECT_TRUE(view->GetEditDocument()->CanUndo());
        view->SendMessage(HostMessage(kMsgFindReplace), 0, (LPARAM)12345); // a forged record
        view->SendMessage(HostMessage(kMsgFindReplace), 0, 0);
        EXPECT_EQ(Text(view), "abc\n");
    });
}

TEST_F(ViewFind, ReplaceAllAgreesWithTheLiteralStepByStepRun) {
    CColorEditView* view = OpenColored("x\n");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(OpenReplace(view, "x", "y"), nullptr);
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
        ASSERT_EQ(Text(view), text);
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
    std::string replaced = text;
    for (size_t at = 0; (at = replaced.find("old", at)) != std::string::npos; at += 12)
        replaced.replace(at, 3, "a much longer new");
    const char* longer = "a replacement longer than a block";
    const int three = (int)text.find("item 3 ") + 5;
    std::string once = text;
    once.replace((size_t)three, 1, longer);
    ForBothViews(text, [&](CEditScrollView* view) {
        ASSERT_NE(OpenReplace(view, "old", "a much longer new"), nullptr);
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
