// CFindReplaceDialog: the common modeless find and replace dialogs, reporting to their owner window.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "framework/win/Wnd.h"

// Made with new; the object deletes itself when its window goes. Each button press reaches the
// owner as the registered message FINDMSGSTRING ("commdlg_FindReplace") with lParam the dialog's
// FINDREPLACE record, which GetNotifier turns back into the dialog. The application's message loop
// gives the dialogs their keyboard handling (Tab, Enter) through RouteDialogMessage.
// Invariant: every object in the live list has a window or is being created; GetNotifier answers
// only records of live objects, so a stale or forged lParam gives null.
class CFindReplaceDialog : public CWnd {
    DECLARE_DYNAMIC(CFindReplaceDialog)
public:
    CFindReplaceDialog();
    ~CFindReplaceDialog() override;

    // The find-only dialog or the find-and-replace one, owned by parent; FALSE (and the object
    // deleted) when the dialog could not be made. A template of the caller's (FR_ENABLETEMPLATE with
    // m_fr.hInstance and m_fr.lpTemplateName set before the call) replaces the system's.
    BOOL Create(BOOL findDialogOnly, LPCSTR findWhat, LPCSTR replaceWith = nullptr, DWORD flags = FR_DOWN,
                CWnd* parent = nullptr);

    // The dialog whose record lParam points at, or null.
    static CFindReplaceDialog* GetNotifier(LPARAM lParam);
    // Offers a message to the live dialog it is meant for; TRUE when the dialog took it.
    static BOOL RouteDialogMessage(MSG* msg);
    static int GetLiveCount();
    // Whether dialog is a live dialog (compares the pointer only, so a deleted one is safe to ask about).
    static BOOL IsLive(const CFindReplaceDialog* dialog);

    CString GetFindString() const { return m_szFindWhat; }
    CString GetReplaceString() const { return m_szReplaceWith; }
    BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    BOOL ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
    BOOL ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
    BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

    FINDREPLACEA m_fr;

protected:
    void PostNcDestroy() override { delete this; }

private:
    static const int kTextSize = 128;
    char m_szFindWhat[kTextSize];
    char m_szReplaceWith[kTextSize];
    CFindReplaceDialog* m_pNextLive = nullptr;
};
