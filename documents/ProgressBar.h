// CProgressBar: a progress bar placed after the message text in the first pane of the host's status bar.
#pragma once

#include "framework/win/Controls.h"
#include "framework/win/StatusBar.h"

// Invariants: m_nCreated is nonzero exactly when the control window was created inside the
// host's status bar; every call that talks to the control checks it, so a bar without a status
// bar does nothing. m_nSize is the share (percent) of the pane width after the text that the
// bar takes; m_strMessage is the text shown in the first pane while the bar is up.
class CProgressBar : public CProgressCtrl {
    DECLARE_DYNCREATE(CProgressBar)
public:
    CProgressBar() = default;
    CProgressBar(const char* message, int size, int maximum);
    ~CProgressBar() override;

    BOOL Create(const char* message, int size, int maximum);
    void Clear();
    void SetRange(int lower, int upper, int step);
    int SetPos(int pos);
    int SetStep(int step);
    void Resize();
    CStatusBar* GetStatusBar();

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnEraseBkgnd(CDC* pDC);

private:
    void Show();

    int m_nCreated = 0;
    int m_nSize = 0;
    CString m_strMessage;
};
