// A minimal Tessolin host: an MDI main window with a status bar, one document template made from the
// library's run-time class names, and the two registered messages a host meets first ("Show Message"
// from the documents, "Find Title" to a view).
//   minimal_host [file] [--find-title HEADING]
// With --find-title the host opens the file, asks its view for the heading, prints the line the view
// marked with its arrow and exits: 0 when the heading was found.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/win/DocTemplate.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/OleClipboard.h"
#include "framework/win/StatusBar.h"
#include "framework/win/WinApp.h"
#include "views/EditScrollView.h"

namespace {
// Every module that registers a name gets the same number as the library does.
const UINT kShowMessage = ::RegisterWindowMessageA("Show Message");
const UINT kFindTitle = ::RegisterWindowMessageA("Find Title");
} // namespace

class CMinimalFrame : public CMDIFrameWnd {
protected:
    int OnCreate(LPCREATESTRUCTA cs) {
        if (CMDIFrameWnd::OnCreate(cs) == -1) return -1;
        static const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR};
        if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(panes, 2)) return -1;
        m_statusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 220); // the views' line and column
        return 0;
    }
    // The documents' status texts ("正在读入文件..."); wParam lives only during the call.
    LRESULT OnShowMessage(WPARAM wParam, LPARAM) {
        if (wParam != 0) SetMessageText((LPCSTR)wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    CStatusBar m_statusBar;
};

BEGIN_MESSAGE_MAP(CMinimalFrame, CMDIFrameWnd)
ON_WM_CREATE()
ON_REGISTERED_MESSAGE(kShowMessage, OnShowMessage)
END_MESSAGE_MAP()

class CMinimalApp : public CWinApp {
public:
    CMinimalApp() : CWinApp("Tessolin minimal host") {}
    BOOL InitInstance() override;
    int ExitInstance() override { return m_exitCode != 0 ? m_exitCode : CWinApp::ExitInstance(); }

private:
    int m_exitCode = 0;
};

CMinimalApp theApp;

BOOL CMinimalApp::InitInstance() {
    AfxOleInit(); // the clipboard commands use OLE
    // Loading the library registers its classes and resources with the framework; they are then found
    // by name, so opening files needs none of their headers.
    if (::LoadLibraryA("libtessolin.dll") == nullptr) {
        std::fprintf(stderr, "libtessolin.dll is not beside the host\n");
        return FALSE;
    }
    CRuntimeClass* document = CRuntimeClass::FromName("CDataEditDoc");
    CRuntimeClass* view = CRuntimeClass::FromName("CColorEditView");
    if (document == nullptr || view == nullptr) {
        std::fprintf(stderr, "the editor library has no data-file classes\n");
        return FALSE;
    }
    AddDocTemplate(new CMultiDocTemplate(1, document, RUNTIME_CLASS(CMDIChildWnd), view));

    auto* frame = new CMinimalFrame;
    if (!frame->LoadFrame(1)) return FALSE;
    m_pMainWnd = frame;
    frame->MoveWindow(0, 0, 1000, 700);
    frame->ShowWindow(SW_SHOW);

    std::string file, heading;
    for (int i = 1; i < __argc; ++i) {
        if (std::string(__argv[i]) == "--find-title" && i + 1 < __argc)
            heading = __argv[++i];
        else
            file = __argv[i];
    }
    if (!file.empty() && OpenDocumentFile(file.c_str()) == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", file.c_str());
        m_exitCode = 1;
    }
    if (!heading.empty()) {
        // lParam: the title, a separator, a space and the chapter number; wParam: the number alone.
        std::string text = heading + "| 0";
        auto* editor = dynamic_cast<CEditScrollView*>(frame->GetActiveView());
        if (editor != nullptr) editor->SendMessage(kFindTitle, 0, (LPARAM)text.c_str());
        int line = editor != nullptr ? editor->TitleArrow().TitleLine() : 0;
        std::printf("%s: title line %d\n", heading.c_str(), line);
        if (line <= 0) m_exitCode = 2;
        frame->PostMessage(WM_CLOSE);
    }
    return TRUE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    return AfxWinMain(instance, previous, commandLine, show);
}
