// The caret's line and column written to the host's status bar.
#include "views/CaretStatus.h"

#include <cstdio>

#include "documents/HostReports.h"
#include "framework/win/StatusBar.h"
#include "framework/win/WinApp.h"

namespace {
// The status-bar pane that shows the caret's line and column.
const int kCaretPane = 1;
} // namespace

void ShowCaretLineAndColumn(int line, int column) {
    if (CHostReports* reports = GetHostReports()) reports->CaretPlace(line, column);
    CWnd* main = AfxGetMainWnd();
    if (main == nullptr || main->m_hWnd == nullptr) return;
    auto* bar = dynamic_cast<CStatusBar*>(main->GetDescendantWindow(AFX_IDW_STATUS_BAR));
    if (bar == nullptr) return;
    char text[64];
    std::snprintf(text, sizeof text, " line =%4d , column =%4d\n", line, column);
    // The caret point is recomputed several times a key; repainting the pane each time is wasted.
    if (bar->GetPaneText(kCaretPane).Compare(text) != 0) bar->SetPaneText(kCaretPane, text, TRUE);
}
