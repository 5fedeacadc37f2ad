// The editor views' common base: construction and the message map both views share.
#include "views/EditScrollView.h"
#include "views/PaintSurface.h"

#include "documents/HostMessages.h"

#include "framework/win/Frame.h"

IMPLEMENT_DYNAMIC(CEditScrollView, CView)

BEGIN_MESSAGE_MAP(CEditScrollView, CView)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_CAPTURECHANGED()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_WM_MOUSEWHEEL()
ON_MESSAGE(CScaledScrollBars::kRedrawMessage, OnRedrawBars)
ON_REGISTERED_MESSAGE(HostMessage(kMsgFindTitle), OnTitleFindMessage)
ON_REGISTERED_MESSAGE(HostMessage(kMsgFindReplace), OnFindReplace)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
ON_COMMAND(ID_EDIT_FIND, OnEditFind)
ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
ON_COMMAND(ID_EDIT_FINDNEXT, OnEditFindnext)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateEditFind)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, OnUpdateInsertStatus)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_COMMAND(ID_EDIT_SELECTALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
END_MESSAGE_MAP()

CEditScrollView::CEditScrollView(CTwinTraits traits) : m_twin(traits) {
    CPaintSurface::Shared().AddUser();
}

CEditScrollView::~CEditScrollView() {
    CPaintSurface::Shared().RemoveUser();
}

LRESULT CEditScrollView::OnRedrawBars(WPARAM, LPARAM) {
    m_bars.RedrawPosted();
    return 0;
}
