// The modal hook: message boxes answered by a test, nested hooks, and resource-string boxes.
#include <gtest/gtest.h>

#include "framework/win/MessageBox.h"

TEST(ModalHook, RecorderTakesMessageBoxesAndAnswersInOrder) {
    CModalRecorder recorder(IDCANCEL);
    recorder.QueueAnswer(IDYES);
    const char* text = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE"
                       "a.txt"; // "read file" in GBK, then a name
    EXPECT_EQ(AfxMessageBox(text, MB_YESNO, 7), IDYES);
    EXPECT_EQ(AfxMessageBox("second"), IDCANCEL); // the queue is empty: the default answer
    ASSERT_EQ(recorder.GetCount(), 2);
    EXPECT_EQ(recorder.GetText(0), text);
    EXPECT_EQ(recorder.GetRecord(0).kind, (UINT)AFX_MODAL_MESSAGEBOX);
    EXPECT_EQ(recorder.GetRecord(0).type, (UINT)MB_YESNO);
    EXPECT_EQ(recorder.GetRecord(0).helpId, 7u);
    EXPECT_EQ(recorder.GetRecord(1).type, (UINT)MB_OK);
}

TEST(ModalHook, ResourceBoxesAndNullTextsReachTheHookAndNestedRecordersRestoreTheOuterOne) {
    CModalRecorder recorder(IDOK);
    {
        CModalRecorder inner(IDNO);
        EXPECT_EQ(AfxMessageBox("inner"), IDNO);
        EXPECT_EQ(inner.GetCount(), 1);
    }
    EXPECT_EQ(AfxMessageBox(0xE001u), IDOK); // no such string here: an empty text, still answered
    EXPECT_EQ(AfxMessageBox((LPCSTR) nullptr), IDOK);
    ASSERT_EQ(recorder.GetCount(), 2);
    EXPECT_EQ(recorder.GetText(0), "");
    EXPECT_EQ(recorder.GetRecord(0).helpId, 0xE001u); // a resource box's help id is its string id
    EXPECT_EQ(recorder.GetText(1), "");
}

TEST(ModalHook, AHookMayDeclineAndOtherDialogKindsAskTheSameHook) {
    struct Decline {
        static BOOL Hook(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
            ++*static_cast<int*>(context);
            if (request.kind == AFX_MODAL_MESSAGEBOX) return FALSE;
            *answer = IDCANCEL;
            return TRUE;
        }
    };
    int calls = 0;
    AFX_MODAL_HOOK previous = nullptr;
    void* previousContext = nullptr;
    AfxSetModalHook(Decline::Hook, &calls, &previous, &previousContext);
    INT_PTR answer = 0;
    AFX_MODAL_REQUEST box = {AFX_MODAL_MESSAGEBOX, "x", MB_OK, 0, nullptr};
    AFX_MODAL_REQUEST find = {AFX_MODAL_FINDREPLACE, "", 0, 0, nullptr};
    EXPECT_FALSE(AfxCallModalHook(box, &answer));
    EXPECT_TRUE(AfxCallModalHook(find, &answer));
    EXPECT_EQ(answer, IDCANCEL);
    AfxSetModalHook(previous, previousContext);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(AfxCallModalHook(find, &answer)); // no hook any more
}
