// The editor views' common base: construction and the message map both views share.
#include "views/EditScrollView.h"

IMPLEMENT_DYNAMIC(CEditScrollView, CView)

BEGIN_MESSAGE_MAP(CEditScrollView, CView)
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CEditScrollView::CEditScrollView() = default;

CEditScrollView::~CEditScrollView() = default;
