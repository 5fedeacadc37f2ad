// The modeless find and replace dialogs: creation over the common dialog, the notifier lookup and
// the keyboard routing of the message loop.
#include "framework/win/FindReplaceDialog.h"

IMPLEMENT_DYNAMIC(CFindReplaceDialog, CWnd)

namespace {
// The live dialogs of the user-interface thread, most recent first.
CFindReplaceDialog* g_live = nullptr;
} // namespace

CFindReplaceDialog::CFindReplaceDialog() {
    m_fr = FINDREPLACEA{};
    m_fr.lStructSize = sizeof m_fr;
    m_szFindWhat[0] = m_szReplaceWith[0] = 0;
    m_pNextLive = g_live;
    g_live = this;
}

CFindReplaceDialog::~CFindReplaceDialog() {
    for (CFindReplaceDialog** link = &g_live; *link != nullptr; link = &(*link)->m_pNextLive) {
        if (*link == this) {
            *link = m_pNextLive;
            break;
        }
    }
}

BOOL CFindReplaceDialog::Create(BOOL findDialogOnly, LPCSTR findWhat, LPCSTR replaceWith, DWORD flags,
                                CWnd* parent) {
    lstrcpynA(m_szFindWhat, findWhat ? findWhat : "", kTextSize);
    lstrcpynA(m_szReplaceWith, replaceWith ? replaceWith : "", kTextSize);
    m_fr.hwndOwner = parent != nullptr ? parent->m_hWnd : nullptr;
    m_fr.Flags |= flags;
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = kTextSize;
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = kTextSize;
    m_fr.lCustData = (LPARAM)this;
    HWND hwnd = m_fr.hwndOwner == nullptr ? nullptr
                : findDialogOnly          ? ::FindTextA(&m_fr)
                                          : ::ReplaceTextA(&m_fr);
    if (hwnd == nullptr || !SubclassWindow(hwnd)) {
        if (hwnd != nullptr) ::DestroyWindow(hwnd);
        delete this;
        return FALSE;
    }
    return TRUE;
}

CFindReplaceDialog* CFindReplaceDialog::GetNotifier(LPARAM lParam) {
    for (CFindReplaceDialog* d = g_live; d != nullptr; d = d->m_pNextLive)
        if ((LPARAM)&d->m_fr == lParam) return d;
    return nullptr;
}

BOOL CFindReplaceDialog::RouteDialogMessage(MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr || g_live == nullptr) return FALSE;
    HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
    for (CFindReplaceDialog* d = g_live; d != nullptr; d = d->m_pNextLive)
        if (d->m_hWnd != nullptr && d->m_hWnd == root) return ::IsDialogMessageA(root, msg);
    return FALSE;
}

BOOL CFindReplaceDialog::IsLive(const CFindReplaceDialog* dialog) {
    for (CFindReplaceDialog* d = g_live; d != nullptr; d = d->m_pNextLive)
        if (d == dialog) return TRUE;
    return FALSE;
}

int CFindReplaceDialog::GetLiveCount() {
    int n = 0;
    for (CFindReplaceDialog* d = g_live; d != nullptr; d = d->m_pNextLive) ++n;
    return n;
}
