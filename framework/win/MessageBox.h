// Message boxes, and the modal hook through which a test answers any modal window in place of a user.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/base/String.h"

// What a modal request shows; the dialog classes pass their own kind and object.
enum AfxModalKind : UINT {
    AFX_MODAL_MESSAGEBOX,
    AFX_MODAL_DIALOG,
    AFX_MODAL_FILEDIALOG,
    AFX_MODAL_FINDREPLACE,
    AFX_MODAL_PRINTDIALOG
};

struct AFX_MODAL_REQUEST {
    UINT kind;    // an AfxModalKind
    LPCSTR text;  // the message box text, a dialog's title or prompt; never null
    UINT type;    // the message box style (MB_*) as the caller gave it; 0 for dialogs
    UINT helpId;  // the caller's help context
    void* dialog; // the dialog object asking, or null
};

// Answers a request instead of the user: TRUE and *answer (IDOK, IDYES, IDCANCEL ...) when the hook
// takes it, FALSE to let the window appear.
typedef BOOL (*AFX_MODAL_HOOK)(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer);

// Installs a process-wide hook (null removes it); previous and previousContext receive the one
// it replaces, so hooks can be nested and restored.
void AfxSetModalHook(AFX_MODAL_HOOK hook, void* context, AFX_MODAL_HOOK* previous = nullptr,
                     void** previousContext = nullptr);
// Every modal window of the framework asks this first; TRUE means *answer replaces the window.
BOOL AfxCallModalHook(const AFX_MODAL_REQUEST& request, INT_PTR* answer);

// A message box owned by the active window, captioned with the application's name. Styles without
// an icon get the exclamation icon (OK, OK/Cancel) or the question icon (yes/no choices).
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
// The same with the text of a string resource found through the resource chain.
int AfxMessageBox(UINT resourceId, UINT type = MB_OK, UINT helpId = (UINT)-1);

// A test's stand-in for the user while it lives: records every modal request and answers it with
// the next queued answer, or the default answer when the queue is empty. Restores the previous
// hook when destroyed.
class CModalRecorder {
public:
    struct Record {
        UINT kind;
        CString text;
        UINT type;
        UINT helpId;
    };

    explicit CModalRecorder(INT_PTR defaultAnswer = IDOK);
    ~CModalRecorder();
    CModalRecorder(const CModalRecorder&) = delete;
    CModalRecorder& operator=(const CModalRecorder&) = delete;

    void QueueAnswer(INT_PTR answer) { m_answers.push_back(answer); }
    int GetCount() const { return (int)m_records.size(); }
    const Record& GetRecord(int i) const { return m_records[(size_t)i]; }
    const CString& GetText(int i) const { return m_records[(size_t)i].text; }
    void Clear() { m_records.clear(); }

private:
    static BOOL Answer(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer);

    INT_PTR m_defaultAnswer;
    std::vector<INT_PTR> m_answers;
    std::vector<Record> m_records;
    AFX_MODAL_HOOK m_previous = nullptr;
    void* m_previousContext = nullptr;
};
