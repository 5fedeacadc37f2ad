// The editor window a message is being handled for: the reports of the documents and views go to it.
#pragma once

class CEditControl;

// Marks the control as the one being worked on while the scope lives; scopes nest, also across
// editors (a notification's handler may drive another editor). When the control's outermost scope
// ends, its notifier compares the state with the last one told and notifies the parent.
class CControlScope {
public:
    explicit CControlScope(CEditControl& control);
    ~CControlScope();
    CControlScope(const CControlScope&) = delete;
    CControlScope& operator=(const CControlScope&) = delete;

private:
    CEditControl& m_control;
    CEditControl* m_previous;
};

// Installs the receiver that hands the documents' and views' reports to the current control.
void InstallControlReports();
