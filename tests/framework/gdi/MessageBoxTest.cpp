// The modal hook: message boxes answered by a test in order.
#include <gtest/gtest.h>

#include "framework/win/MessageBox.h"

TEST(ModalHook, RecorderTakesMessageBoxesAndAnswersInOrder) {
    CModalRecorder recorder(IDCANCEL);
    recorder.QueueAnswer(IDYES);
    const char* text = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE"
                       "a.txt"; // "read file" in GBK, then a name
    EXPECT_EQ(AfxMessageBox(text, MB_YESNO, 7), IDYES);
    EXPECT_EQ(AfxMessageBox("second"), IDCANCEL); // the queue is empty: the default answer
    EXPECT_EQ(AfxMessageBox((LPCSTR) nullptr), IDCANCEL);
    ASSERT_EQ(recorder.GetCount(), 3);
    EXPECT_EQ(recorder.GetText(0), text);
    EXPECT_EQ(recorder.GetRecord(0).kind, (UINT)AFX_MODAL_MESSAGEBOX);
    EXPECT_EQ(recorder.GetRecord(0).type, (UINT)MB_YESNO);
    EXPECT_EQ(recorder.GetRecord(0).helpId, 7u);
    EXPECT_EQ(recorder.GetRecord(1).type, (UINT)MB_OK);
    EXPECT_EQ(recorder.GetText(2), "") << "a null text is answered as an empty one";
}
