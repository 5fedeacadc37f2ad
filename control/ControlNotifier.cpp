// The notifications of an editor window to its parent and the order in which they go.
#include "control/ControlNotifier.h"

#include "control/EditControl.h"
#include "include/tessolin/tessolin.h"

bool CControlNotifier::CState::operator==(const CState& other) const {
    return modified == other.modified && line == other.line && column == other.column &&
           start == other.start && end == other.end;
}

CControlNotifier::CState CControlNotifier::Now() const {
    CState state;
    const CEditScrollView* view = m_control.View();
    if (view == nullptr || view->GetEditDocument() == nullptr) return state;
    state.modified = view->GetEditDocument()->IsModified() ? 1 : 0;
    state.line = m_line;
    state.column = m_column;
    state.start = view->Model().Selection().start;
    state.end = view->Model().Selection().end;
    return state;
}

void CControlNotifier::Send(UINT code, const CState& state, int progress, const char* text) {
    HWND window = m_control.Window();
    HWND parent = ::GetParent(window);
    if (m_muted || parent == nullptr) return;
    TESSOLIN_NOTIFY record = {};
    record.hdr.hwndFrom = window;
    record.hdr.idFrom = (UINT_PTR)::GetDlgCtrlID(window);
    record.hdr.code = code;
    record.line = state.line;
    record.column = state.column;
    record.modified = state.modified;
    record.progress = progress;
    record.text = text;
    ::SendMessageA(parent, WM_NOTIFY, record.hdr.idFrom, (LPARAM)&record);
}

void CControlNotifier::StatusText(const char* text) {
    Send(TEN_STATUSTEXT, Now(), 0, text);
}

void CControlNotifier::Progress(int percent) {
    Send(TEN_PROGRESS, Now(), percent, nullptr);
}

void CControlNotifier::Closing() {
    Send(TEN_CLOSING, Now(), 0, nullptr);
}

void CControlNotifier::CaretPlace(int line, int column) {
    m_line = line;
    m_column = column;
}

void CControlNotifier::Flush() {
    if (m_flushing || m_muted) return;
    m_flushing = true; // a handler that drives this editor again is told on its own return
    CState now = Now();
    HWND window = m_control.Window();
    if (m_textChanged && ::GetParent(window) != nullptr) {
        m_textChanged = false;
        ::SendMessageA(::GetParent(window), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(window), EN_CHANGE),
                       (LPARAM)window);
    }
    if (now.modified != m_told.modified) Send(TEN_MODIFIED, now, 0, nullptr);
    CState moved = now;
    moved.modified = m_told.modified;
    if (!(moved == m_told)) Send(TEN_SELCHANGE, now, 0, nullptr);
    m_told = now;
    m_flushing = false;
}

void CControlNotifier::Settle() {
    m_textChanged = false;
    m_told = Now();
}
