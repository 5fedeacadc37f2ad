// Every edit a view makes goes through the document's one edit path: the document is marked modified,
// the change is recorded, and every view re-lays out; and where the view scrolls after the edit keys.
#include <functional>

#include "ViewFixture.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
using ViewEditPath = ViewFixture;

void Select(CEditScrollView* v) {
    v->SetSelection(1, 4);
}

// The edits that once left the document unmodified, each on "abcdef\nxyz\n" with the caret at 1.
const std::pair<const char*, std::function<void(CEditScrollView*)>> kEdits[] = {
    {"Delete of a Shift selection",
     [](CEditScrollView* v) {
         ViewFixture::Key(v, VK_SHIFT, false, true);
         for (int i = 0; i < 3; ++i) ViewFixture::Key(v, VK_RIGHT, false, true);
         ViewFixture::Key(v, VK_DELETE);
     }},
    {"Backspace of a selection", [](CEditScrollView* v) { Select(v), ViewFixture::Key(v, VK_BACK); }},
    {"typing over a selection", [](CEditScrollView* v) { Select(v), ViewFixture::Type(v, "Q"); }},
    {"overwrite typing",
     [](CEditScrollView* v) {
         ViewFixture::Key(v, VK_INSERT);
         ViewFixture::Type(v, "Q");
         ViewFixture::Key(v, VK_INSERT);
     }},
    {"ReplaceSelection", [](CEditScrollView* v) { Select(v), v->ReplaceSelection("--"); }},
    {"cut", [](CEditScrollView* v) { Select(v), v->SendMessage(WM_COMMAND, ID_EDIT_CUT); }},
    {"paste over a selection and at the caret",
     [](CEditScrollView* v) {
         v->SetSelection(1, 3);
         v->SendMessage(WM_COMMAND, ID_EDIT_COPY);
         v->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
         v->GetEditDocument()->SetModifiedFlag(FALSE);
         v->SetSelection(5, 5);
         v->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
     }},
    {"an input-method character over a selection",
     [](CEditScrollView* v) { Select(v), v->SendMessage(WM_IME_CHAR, 0xB5DA, 1); }},
    // The document records and marks these two itself.
    {"Replace through the find dialog",
     [](CEditScrollView* v) {
         v->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
         ViewFixture::Notify(v, FR_REPLACE | FR_DOWN, "bcd", "--"); // a new find text: finds
         ViewFixture::Notify(v, FR_REPLACE | FR_DOWN, "bcd", "--"); // the same again: replaces
     }},
    {"Replace All through the find dialog",
     [](CEditScrollView* v) {
         v->SendMessage(WM_COMMAND, ID_EDIT_REPLACE);
         ViewFixture::Notify(v, FR_REPLACEALL | FR_DOWN, "y", "--");
     }},
};
} // namespace

TEST_F(ViewEditPath, EveryEditMarksTheDocumentModifiedInBothViews) {
    for (const auto& [name, edit] : kEdits)
        ForBothViews("abcdef\nxyz\n", [&](CEditScrollView* view) {
            view->SetSelection(1, 1);
            edit(view);
            EXPECT_NE(Text(view), "abcdef\nxyz\n") << name;
            EXPECT_TRUE(view->GetEditDocument()->IsModified()) << name;
            EXPECT_TRUE(view->GetEditDocument()->CanUndo()) << name;
        });
}

TEST_F(ViewEditPath, PageDownAfterTheThumbMovedAwayEndsWithTheCaretInView) {
    CColorEditView* view = OpenColored(Lines(1000));
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);
    Key(view, VK_NEXT);
    int line = (int)view->GetEditDocument()->OffsetToLine(view->Caret()), first = view->GetScrollPos(SB_VERT);
    EXPECT_GT(line, 0);
    EXPECT_TRUE(first <= line && line < first + 400 / view->Metrics().unit.cy) << line << " from " << first;
    EXPECT_GE(view->SystemCaret().Point().y, 0);
    EXPECT_LT(view->SystemCaret().Point().y, 400);
}

TEST_F(ViewEditPath, DeleteOfASelectionLeavesTheCaretOnTheSecondRowBackspaceOnTheFirst) {
    for (UINT key : {(UINT)VK_DELETE, (UINT)VK_BACK}) {
        CBlackEditView* view = OpenPlain(Lines(200));
        CEditDocument* doc = view->GetEditDocument();
        view->SetSelection((int)doc->GetLineOffset(10), (int)doc->GetLineOffset(60));
        view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0);
        Key(view, key);
        EXPECT_EQ(view->Caret(), (int)doc->GetLineOffset(10));
        EXPECT_EQ(view->GetScrollPos(SB_VERT), key == VK_DELETE ? 9 : 10)
            << (key == VK_DELETE ? "Delete scrolls the caret's line to the second row"
                                 : "Backspace scrolls it to the first, then keeps it there");
        theApp.CloseAllDocuments(FALSE);
    }
}

TEST_F(ViewEditPath, UndoAndRedoReplaysRelayTheScrollBarsAndMarkTheDocument) {
    CColorEditView* view = OpenColored(Lines(300));
    CEditDocument* doc = view->GetEditDocument();
    auto range = [view] { return BarInfo(view, SB_VERT).nMax; };
    int full = range();
    view->SetSelection(0, (int)doc->GetLineOffset(250));
    Key(view, VK_DELETE);
    int shorter = range();
    EXPECT_LT(shorter, full);
    doc->SetModifiedFlag(FALSE);
    view->SetRenderFlag(0);
    ASSERT_GE(doc->Undo(), 0);
    EXPECT_EQ(range(), full) << "the undone deletion's lines are back in the scroll range";
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(view->GetRenderFlag());
    ASSERT_GE(doc->Redo(), 0);
    EXPECT_EQ(range(), shorter);
    EXPECT_EQ(Text(view), Lines(300).substr(Lines(250).size()));
}

TEST_F(ViewEditPath, ASecondViewOfTheDocumentFollowsEditsMadeInTheFirst) {
    CColorEditView* first = OpenColored("0123456789\nabcdefghij\n");
    CDocument* doc = first->GetDocument();
    CFrameWnd* frame = coloredTemplate->CreateNewFrame(doc, nullptr);
    ASSERT_NE(frame, nullptr);
    coloredTemplate->InitialUpdateFrame(frame, doc);
    Pump();
    CColorEditView* second = nullptr;
    for (POSITION p = doc->GetFirstViewPosition(); p != nullptr;)
        if (CView* v = doc->GetNextView(p); v != first) second = static_cast<CColorEditView*>(v);
    ASSERT_NE(second, nullptr);
    second->SetSelection(14, 17); // "def"
    first->SetSelection(2, 2);
    Type(first, "XYZ");
    EXPECT_EQ(Sel(second), Span(17, 20)) << "the bytes behind the edit moved on by three";
    first->SetSelection(0, 18); // up to and with the d
    Key(first, VK_DELETE);
    EXPECT_EQ(Sel(second), Span(0, 2)) << "a selection partly deleted keeps what is left";
    first->SetSelection(0, (int)first->GetEditDocument()->GetLength() - 1);
    second->SetRenderFlag(0);
    Key(first, VK_DELETE);
    EXPECT_EQ(Sel(second), Span(0, 0)) << "nothing left: every offset is at the terminator";
    EXPECT_TRUE(second->GetRenderFlag());
}
