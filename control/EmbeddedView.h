// An editor view living in a "TessolinEdit" window: the view's own behaviour, inside the control's
// scope, with the keyboard a dialog leaves to it and the read-only state the host set.
#pragma once

#include "control/ControlScope.h"
#include "control/EditControl.h"
#include "framework/win/Frame.h"

// Every message of the view is handled inside the control's scope, so the reports it causes go to the
// control and its parent hears of the changes when the message is done.
template <class TView> class CEmbeddedView : public TView {
public:
    explicit CEmbeddedView(CEditControl& control) : m_control(control) {}

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        CControlScope scope(m_control);
        if (message == WM_GETDLGCODE) return DialogCode(lParam);
        if ((message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) && !this->HasFocus()) this->SetFocus();
        if (m_control.ReadOnly() && Changes(message, wParam)) return 0;
        return TView::WindowProc(message, wParam, lParam);
    }
    void OnTextChanged(int pos, int removed, int inserted) override {
        TView::OnTextChanged(pos, removed, inserted);
        m_control.Notifier().TextChanged();
    }
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override {
        TView::OnBeginPrinting(pDC, pInfo);
        m_control.PrintStarted();
    }

private:
    // Arrows, characters and Tab always; Enter too, so a dialog's default button does not take it.
    static LRESULT DialogCode(LPARAM lParam) {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_HASSETSEL;
        const MSG* msg = (const MSG*)lParam;
        if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    // The input that would change the text: typed characters, the deleting keys, the editing commands.
    static bool Changes(UINT message, WPARAM wParam) {
        if (message == WM_CHAR || message == WM_IME_CHAR) return true;
        if (message == WM_KEYDOWN)
            return wParam == VK_DELETE || wParam == VK_BACK || wParam == VK_RETURN || wParam == VK_TAB;
        if (message != WM_COMMAND) return false;
        UINT id = LOWORD(wParam);
        return id == ID_EDIT_CUT || id == ID_EDIT_PASTE || id == ID_EDIT_UNDO || id == ID_EDIT_REDO ||
               id == ID_EDIT_REPLACE || id == ID_EDIT_CLEAR;
    }

    CEditControl& m_control;
};
