// The status bar: panes over the common status control, indicator texts from string resources.
#include "framework/win/StatusBar.h"

#include "framework/win/Frame.h"
#include "framework/win/HostLookup.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
// Space the control leaves between a pane's edge and its text, on each side.
constexpr int kTextMargin = 4;

// The state of one indicator pane while its update handler runs: Enable hides or shows the
// text, SetCheck pops the pane out, SetText replaces the text.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar* bar) : m_bar(bar) { m_pOther = bar; }
    void Enable(BOOL on) override {
        m_bEnableChanged = TRUE;
        UINT style = m_bar->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
        m_bar->SetPaneStyle((int)m_nIndex, on ? style : style | SBPS_DISABLED);
    }
    void SetCheck(int check) override {
        UINT style = m_bar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
        m_bar->SetPaneStyle((int)m_nIndex, check ? style | SBPS_POPOUT : style);
    }
    void SetText(LPCSTR text) override { m_bar->SetPaneText((int)m_nIndex, text, TRUE); }

private:
    CStatusBar* m_bar;
};

int TextWidth(HWND window, const CString& text) {
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)::SendMessageA(window, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size.cx;
}
} // namespace

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (!CreateBar(parent, STATUSCLASSNAMEA, style, id)) return FALSE;
    static const UINT separator = ID_SEPARATOR;
    SetIndicators(&separator, 1);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (m_hWnd == nullptr || count <= 0 || count > 255) return FALSE;
    m_panes.clear();
    bool stretchTaken = false;
    for (int i = 0; i < count; ++i) {
        UINT id = ids != nullptr ? ids[i] : ID_SEPARATOR;
        Pane pane = {id, SBPS_NORMAL, 0, CString()};
        if (id != ID_SEPARATOR) {
            pane.text = LoadResourceString(id);
            pane.width = TextWidth(m_hWnd, pane.text);
        } else if (!stretchTaken) {
            pane.style = SBPS_NOBORDERS | SBPS_STRETCH;
            pane.text = LoadResourceString(AFX_IDS_IDLEMESSAGE);
            stretchTaken = true;
        }
        m_panes.push_back(pane);
    }
    UpdateParts();
    for (int i = 0; i < count; ++i) ShowPane(i);
    return TRUE;
}

UINT CStatusBar::GetItemID(int index) const {
    return ValidIndex(index) ? m_panes[index].id : ID_SEPARATOR;
}

int CStatusBar::CommandToIndex(UINT id) const {
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id) return (int)i;
    return -1;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const {
    ::SetRectEmpty(rect);
    if (ValidIndex(index)) SendMessage(SB_GETRECT, (WPARAM)index, (LPARAM)rect);
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update) {
    if (!ValidIndex(index)) return FALSE;
    CString newText(text);
    if (m_panes[index].text == newText) return TRUE;
    m_panes[index].text = newText;
    m_panes[index].pending = true;
    return TRUE;
}

void CStatusBar::FlushPanes() {
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].pending) ShowPane((int)i);
}

CString CStatusBar::GetPaneText(int index) const {
    return ValidIndex(index) ? m_panes[index].text : CString();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    if (!ValidIndex(index)) {
        id = ID_SEPARATOR, style = SBPS_NORMAL, width = 0;
        return;
    }
    id = m_panes[index].id, style = m_panes[index].style, width = m_panes[index].width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (!ValidIndex(index)) return;
    m_panes[index].id = id;
    m_panes[index].width = width < 0 ? 0 : width;
    m_panes[index].style = style;
    UpdateParts();
    ShowPane(index);
}

UINT CStatusBar::GetPaneStyle(int index) const {
    return ValidIndex(index) ? m_panes[index].style : SBPS_NORMAL;
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
    if (!ValidIndex(index) || m_panes[index].style == style) return;
    bool stretchChanged = ((m_panes[index].style ^ style) & SBPS_STRETCH) != 0;
    m_panes[index].style = style;
    if (stretchChanged) UpdateParts();
    ShowPane(index);
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) {
    CStatusCmdUI state(this);
    for (size_t i = 0; i < m_panes.size(); ++i) {
        state.m_nID = m_panes[i].id;
        state.m_nIndex = (UINT)i;
        if (state.m_nID != ID_SEPARATOR) state.DoUpdate(target, disableIfNoHandler);
    }
    FlushPanes(); // the handlers' texts and those set since the last idle time
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
    Default(); // the control places itself along its parent's bottom edge
    UpdateParts();
}

// Right edges from the pane widths: fixed panes keep their width, the stretch pane takes the rest.
// The size grip sits inside the last pane, so that pane is widened by the grip.
void CStatusBar::UpdateParts() {
    if (m_hWnd == nullptr || m_panes.empty()) return;
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, (LPARAM)borders);
    CRect client;
    GetClientRect(&client);
    int grip = (GetStyle() & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
    std::vector<int> widths(m_panes.size());
    int fixed = 0;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        widths[i] = m_panes[i].width + 2 * kTextMargin + borders[2];
        if (!(m_panes[i].style & SBPS_STRETCH)) fixed += widths[i];
    }
    int spare = client.Width() - borders[0] - fixed - grip;
    std::vector<int> rights(m_panes.size());
    int right = borders[0];
    for (size_t i = 0; i < m_panes.size(); ++i) {
        right += (m_panes[i].style & SBPS_STRETCH) ? (spare > 0 ? spare : 0) : widths[i];
        rights[i] = right;
    }
    rights.back() = -1; // the last pane runs to the bar's right edge
    SendMessage(SB_SETPARTS, (WPARAM)rights.size(), (LPARAM)rights.data());
}

WPARAM CStatusBar::DrawFlags(UINT style) {
    if (style & SBPS_POPOUT) return SBT_POPOUT;
    if (style & SBPS_NOBORDERS) return SBT_NOBORDERS;
    return 0;
}

void CStatusBar::ShowPane(int index) {
    Pane& pane = m_panes[index];
    pane.pending = false;
    LPCSTR text = pane.style & SBPS_DISABLED ? "" : (LPCSTR)pane.text;
    SendMessage(SB_SETTEXTA, (WPARAM)index | DrawFlags(pane.style), (LPARAM)text);
}
