// The current editor window and the receiver that turns the library's reports into notifications.
#include "control/ControlScope.h"

#include "control/EditControl.h"
#include "documents/HostReports.h"
#include "framework/win/Wnd.h"

namespace {
CEditControl* g_current = nullptr;
int g_depth = 0;

// Each report goes to the control being worked on; a report outside any control is not ours.
class CControlReports : public CHostReports {
public:
    void StatusText(const char* text) override {
        if (g_current != nullptr) g_current->Notifier().StatusText(text);
    }
    void Progress(int percent) override {
        if (g_current != nullptr) g_current->Notifier().Progress(percent);
    }
    void CaretPlace(int line, int column) override {
        if (g_current != nullptr) g_current->Notifier().CaretPlace(line, column);
    }
    void Closing() override {
        if (g_current != nullptr) g_current->Notifier().Closing();
    }
};

CControlReports g_reports;
} // namespace

CControlScope::CControlScope(CEditControl& control) : m_control(control), m_previous(g_current) {
    g_current = &control;
    ++g_depth;
    m_control.EnterScope();
}

CControlScope::~CControlScope() {
    m_control.LeaveScope();
    g_current = m_previous;
    // Without the framework's message loop nothing frees the temporary window wrappers at idle time.
    if (--g_depth == 0 && CEditControl::OwnsApplication()) {
        AfxDeleteTempWndObjects();
        AfxDeleteTempGdiObjects();
    }
}

void InstallControlReports() {
    SetHostReports(&g_reports);
}
