// The bars' idle update: the frame they sit in decides the state of their items.
#include "framework/win/ControlBar.h"

#include <commctrl.h>

#include "framework/win/Frame.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

void AfxInitCommonControls() {
    static const BOOL done = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&controls);
    }();
    (void)done;
}

BOOL CControlBar::CreateBar(CWnd* parent, LPCSTR controlClass, DWORD style, UINT id) {
    if (parent == nullptr || parent->m_hWnd == nullptr) return FALSE;
    AfxInitCommonControls();
    return CreateEx(0, controlClass, nullptr, style | WS_CHILD, 0, 0, 0, 0, parent->m_hWnd,
                    (HMENU)(UINT_PTR)id);
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    CWnd* parent = GetParent();
    CFrameWnd* frame = parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                           ? static_cast<CFrameWnd*>(parent)
                           : GetParentFrame();
    if (frame != nullptr && IsWindowVisible()) OnUpdateCmdUI(frame, (BOOL)wParam);
    return 0;
}
