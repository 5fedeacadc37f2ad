// Every edit a view makes goes through the document's one edit path: the document is marked modified,
// the change is recorded, and every view re-lays out; and the keys whose results the edit path fixed.
#include <functional>

#include "ViewFixture.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
using ViewEditPath = ViewFixture;

struct EditCase {
    const char* name;
    std::function<void(CEditScrollView*)> edit;
};

// The edits that once left the document unmodified, each on "abcdef\nxyz\n" with the caret at 1.
const EditCase kEdits[] = {
    {"Delete of a Shift selection",
     [](CEditScrollView* v) {
         ViewFixture::Key(v, VK_SHIFT, false, true);
         for (int i = 0; i < 3; ++i) ViewFixture::Key(v, VK_RIGHT, false, true);
         ViewFixture::Key(v, VK_DELETE);
     }},
    {"Backspace of a selection",
     [](CEditScrollView* v) {
         v->SetSelection(1, 4);
         ViewFixture::Key(v, VK_BACK);
     }},
    {"typing over a selection",
     [](CEditScrollView* v) {
         v->SetSelection(1, 4);
         ViewFixture::Type(v, "Q");
     }},
    {"overwrite typing",
     [](CEditScrollView* v) {
         ViewFixture::Key(v, VK_INSERT);
         ViewFixture::Type(v, "Q");
         ViewFixture::Key(v, VK_INSERT);
     }},
    {"ReplaceSelection",
     [](CEditScrollView* v) {
         v->SetSelection(1, 4);
         v->ReplaceSelection("--");
     }},
    {"cut",
     [](CEditScrollView* v) {
         v->SetSelection(1, 4);
         v->SendMessage(WM_COMMAND, ID_EDIT_CUT);
     }},
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
     [](CEditScrollView* v) {
         v->SetSelection(1, 4);
         v->SendMessage(WM_IME_CHAR, 0xB5DA, 1);
     }},
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
    for (const EditCase& c : kEdits)
        ForBothViews("abcdef\nxyz\n", [&](CEditScrollView* view) {
            CEditDocument* doc = view->GetEditDocument();
            view->SetSelection(1, 1);
            c.edit(view);
            EXPECT_NE(Text(view), "abcdef\nxyz\n") << c.name;
            EXPECT_TRUE(doc->IsModified()) << c.name;
            EXPECT_TRUE(doc->CanUndo()) << c.name;
        });
}

TEST_F(ViewEditPath, ClosingAfterDeletingASelectionAsksToSave) {
    CBlackEditView* view = OpenPlain("hello world\n");
    ASSERT_NE(view, nullptr);
    Key(view, VK_SHIFT, false, true);
    for (int i = 0; i < 3; ++i) Key(view, VK_RIGHT, false, true);
    Key(view, VK_DELETE);
    ASSERT_EQ(Text(view), "lo world\n");
    CModalRecorder prompts(IDCANCEL);
    view->GetParent()->SendMessage(WM_CLOSE);
    ASSERT_EQ(prompts.GetCount(), 1) << "closing asks to save";
    EXPECT_EQ(prompts.GetRecord(0).type & 0xF, (UINT)MB_YESNOCANCEL);
    EXPECT_EQ(Text(view), "lo world\n") << "Cancel keeps the window and the text";
}

TEST_F(ViewEditPath, PageDownAfterTheThumbMovedAwayEndsWithTheCaretInView) {
    CColorEditView* view = OpenColored(Lines(1000));
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);
    ASSERT_EQ(view->Model().First().line, 500);
    Key(view, VK_NEXT);
    CRect client;
    view->GetClientRect(&client);
    int line = (int)view->GetEditDocument()->OffsetToLine(view->Caret());
    EXPECT_GT(line, 0);
    EXPECT_GE(line, view->Model().First().line);
    EXPECT_LT(line, view->Model().First().line + client.Height() / view->Metrics().unit.cy);
    EXPECT_GE(view->SystemCaret().Point().y, 0);
    EXPECT_LT(view->SystemCaret().Point().y, client.Height());
}

TEST_F(ViewEditPath, DeleteOfASelectionLeavesTheCaretOnTheSecondRowBackspaceOnTheFirst) {
    for (UINT key : {(UINT)VK_DELETE, (UINT)VK_BACK}) {
        CBlackEditView* view = OpenPlain(Lines(200));
        ASSERT_NE(view, nullptr);
        CEditDocument* doc = view->GetEditDocument();
        view->SetSelection((int)doc->GetLineOffset(10), (int)doc->GetLineOffset(60));
        view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), 0);
        Key(view, key);
        EXPECT_EQ(view->Caret(), (int)doc->GetLineOffset(10));
        EXPECT_EQ(view->Model().First().line, key == VK_DELETE ? 9 : 10)
            << (key == VK_DELETE ? "Delete scrolls the caret's line to the second row"
                                 : "Backspace scrolls it to the first, then keeps it there");
        theApp.CloseAllDocuments(FALSE);
    }
}

TEST_F(ViewEditPath, UndoAndRedoReplaysRelayTheScrollBarsAndMarkTheDocument) {
    CColorEditView* view = OpenColored(Lines(300));
    ASSERT_NE(view, nullptr);
    CEditDocument* doc = view->GetEditDocument();
    auto range = [view] {
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE;
        ::GetScrollInfo(view->m_hWnd, SB_VERT, &info);
        return info.nMax;
    };
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
    EXPECT_EQ(Text(view), Lines(300).substr(doc->GetLineOffset(0) + std::string(Lines(250)).size()));
}

TEST_F(ViewEditPath, ASecondViewOfTheDocumentFollowsEditsMadeInTheFirst) {
    CColorEditView* first = OpenColored("0123456789\nabcdefghij\n");
    ASSERT_NE(first, nullptr);
    CDocument* doc = first->GetDocument();
    CFrameWnd* frame = coloredTemplate->CreateNewFrame(doc, nullptr);
    ASSERT_NE(frame, nullptr);
    coloredTemplate->InitialUpdateFrame(frame, doc);
    Pump();
    POSITION position = doc->GetFirstViewPosition();
    CColorEditView* second = nullptr;
    while (position != nullptr)
        if (CView* v = doc->GetNextView(position); v != first) second = static_cast<CColorEditView*>(v);
    ASSERT_NE(second, nullptr);

    second->SetSelection(14, 17); // "def"
    first->SetSelection(2, 2);
    Type(first, "XYZ");
    EXPECT_EQ(Sel(second), Span(17, 20)) << "the bytes behind the edit moved on by three";
    EXPECT_EQ(Text(second).substr(17, 3), "def");
    first->SetSelection(0, 18); // up to and with the d

    Key(first, VK_DELETE);
    EXPECT_EQ(Sel(second), Span(0, 2)) << "a selection partly deleted keeps what is left";
    EXPECT_EQ(Text(second).substr(0, 2), "ef");
    first->SetSelection(0, (int)first->GetDocument()->GetLength() - 1);
    Key(first, VK_DELETE);
    EXPECT_EQ(second->Caret(), 0) << "nothing left: every offset is at the terminator";
    EXPECT_EQ(second->Model().Selection().end, 0);
    EXPECT_TRUE(second->GetRenderFlag());
}
