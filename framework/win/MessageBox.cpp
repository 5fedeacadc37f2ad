// AfxMessageBox and the process-wide modal hook that tests use to answer modal windows.
#include "framework/win/MessageBox.h"

#include <string>

#include "framework/base/Sync.h"
#include "framework/win/HostLookup.h"

namespace {
struct ModalHook {
    CCriticalSection lock;
    AFX_MODAL_HOOK hook = nullptr;
    void* context = nullptr;
};

ModalHook& CurrentHook() {
    static ModalHook current;
    return current;
}

// Message boxes without an icon get the one that matches their question.
UINT WithDefaultIcon(UINT type) {
    if (type & MB_ICONMASK) return type;
    switch (type & MB_TYPEMASK) {
    case MB_OK:
    case MB_OKCANCEL:
        return type | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return type | MB_ICONQUESTION;
    default:
        return type;
    }
}

// The GBK text as UTF-16, whatever the system's own code page is.
std::wstring Wide(LPCSTR text) {
    int n = ::MultiByteToWideChar(936, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? (size_t)n : 1, L'\0');
    if (n > 0) ::MultiByteToWideChar(936, 0, text, -1, &wide[0], n);
    return wide;
}
} // namespace

void AfxSetModalHook(AFX_MODAL_HOOK hook, void* context, AFX_MODAL_HOOK* previous, void** previousContext) {
    ModalHook& current = CurrentHook();
    CSingleLock lock(current.lock);
    if (previous != nullptr) *previous = current.hook;
    if (previousContext != nullptr) *previousContext = current.context;
    current.hook = hook;
    current.context = context;
}

BOOL AfxCallModalHook(const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
    ModalHook& current = CurrentHook();
    AFX_MODAL_HOOK hook;
    void* context;
    {
        CSingleLock lock(current.lock);
        hook = current.hook;
        context = current.context;
    }
    INT_PTR ignored = 0;
    return hook != nullptr && hook(context, request, answer != nullptr ? answer : &ignored);
}

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId) {
    if (text == nullptr) text = "";
    AFX_MODAL_REQUEST request = {AFX_MODAL_MESSAGEBOX, text, type, helpId, nullptr};
    INT_PTR answer = 0;
    if (AfxCallModalHook(request, &answer)) return (int)answer;
    CString caption = ApplicationName();
    return ::MessageBoxW(MessageBoxOwner(), Wide(text).c_str(), Wide(caption).c_str(), WithDefaultIcon(type));
}

int AfxMessageBox(UINT resourceId, UINT type, UINT helpId) {
    CString text = LoadResourceString(resourceId);
    return AfxMessageBox(text, type, helpId == (UINT)-1 ? resourceId : helpId);
}

CModalRecorder::CModalRecorder(INT_PTR defaultAnswer) : m_defaultAnswer(defaultAnswer) {
    AfxSetModalHook(Answer, this, &m_previous, &m_previousContext);
}

CModalRecorder::~CModalRecorder() {
    AfxSetModalHook(m_previous, m_previousContext);
}

BOOL CModalRecorder::Answer(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
    CModalRecorder* self = static_cast<CModalRecorder*>(context);
    self->m_records.push_back(Record{request.kind, request.text, request.type, request.helpId});
    if (self->m_answers.empty()) {
        *answer = self->m_defaultAnswer;
    } else {
        *answer = self->m_answers.front();
        self->m_answers.erase(self->m_answers.begin());
    }
    return TRUE;
}
