// The bars' idle update: the frame they sit in decides the state of their items.
#include "framework/win/ControlBar.h"

#include "framework/win/Frame.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    CWnd* parent = GetParent();
    CFrameWnd* frame = parent != nullptr && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                           ? static_cast<CFrameWnd*>(parent)
                           : GetParentFrame();
    if (frame != nullptr && IsWindowVisible()) OnUpdateCmdUI(frame, (BOOL)wParam);
    return 0;
}
