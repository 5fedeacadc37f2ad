// The toolbar: buttons with the system's standard images, their states from the command route.
#include "framework/win/ToolBar.h"

#include "framework/win/Frame.h"
#include "framework/win/HostLookup.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {
// A button's state while its update handler runs; the control hears only of a change.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar* bar) : m_bar(bar) { m_pOther = bar; }
    void Enable(BOOL on) override {
        m_bEnableChanged = TRUE;
        if (!m_bar->IsButtonEnabled(m_nID) != !on)
            m_bar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(on, 0));
    }
    void SetCheck(int check) override {
        BOOL checked = (BOOL)m_bar->SendMessage(TB_ISBUTTONCHECKED, m_nID, 0);
        if (!checked != !check) m_bar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(check != 0, 0));
    }

private:
    CToolBar* m_bar;
};
} // namespace

CString AfxToolTipText(UINT id) {
    CString text = LoadResourceString(id);
    int newline = text.Find('\n');
    return newline >= 0 ? text.Mid(newline + 1) : CString();
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!CreateBar(parent, TOOLBARCLASSNAMEA, style, id)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessage(TB_LOADIMAGES, IDB_STD_SMALL_COLOR, (LPARAM)HINST_COMMCTRL);
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, const int* images, int count) {
    if (m_hWnd == nullptr || ids == nullptr || images == nullptr || count <= 0) return FALSE;
    while (SendMessage(TB_DELETEBUTTON, 0, 0)) {
    }
    std::vector<TBBUTTON> buttons((size_t)count);
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[(size_t)i];
        b = TBBUTTON{};
        b.idCommand = (int)ids[i];
        b.iBitmap = ids[i] == ID_SEPARATOR ? 0 : images[i];
        b.fsStyle = ids[i] == ID_SEPARATOR ? BTNS_SEP : BTNS_BUTTON;
        b.fsState = TBSTATE_ENABLED;
        b.iString = -1;
    }
    m_ids.assign(ids, ids + count);
    BOOL added = (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)count, (LPARAM)buttons.data());
    SendMessage(TB_AUTOSIZE, 0, 0);
    return added;
}

BOOL CToolBar::IsButtonEnabled(UINT id) const {
    return (BOOL)::SendMessageA(m_hWnd, TB_ISBUTTONENABLED, id, 0);
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) {
    CToolCmdUI state(this);
    for (size_t i = 0; i < m_ids.size(); ++i) {
        if (m_ids[i] == ID_SEPARATOR) continue;
        state.m_nID = m_ids[i];
        state.m_nIndex = (UINT)i;
        state.DoUpdate(target, disableIfNoHandler);
    }
}
