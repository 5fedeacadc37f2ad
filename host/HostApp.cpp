// The demo host: an MDI application that opens the files named on its command line in the
// editor's documents and views, found by their class names, and can leave a screenshot behind.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "documents/HostMessages.h"
#include "framework/win/DocTemplate.h"
#include "framework/win/MessageBox.h"
#include "framework/win/OleClipboard.h"
#include "framework/win/WinApp.h"
#include "host/HostResource.h"
#include "host/ListingView.h"
#include "host/MainFrame.h"
#include "host/Screenshot.h"

namespace {
// Path for the screenshot taken once the windows have painted; empty when none is asked for.
std::string g_screenshotPath;
// A screenshot run that saved nothing ends with a failure code.
bool g_screenshotFailed = false;
constexpr UINT kScreenshotDelayMs = 2500;

// An unattended run must end: one still running this long after its screenshot says so and stops
// with a failure code instead of holding its caller until a timeout.
constexpr DWORD kUnattendedEndMs = 60000;

DWORD WINAPI EndUnattendedRun(void*) {
    ::Sleep(kUnattendedEndMs);
    std::fprintf(stderr, "the host did not end within %lu s of its screenshot\n", kUnattendedEndMs / 1000);
    std::fflush(stderr);
    ::ExitProcess(3);
}

void CALLBACK TakeScreenshot(HWND window, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(window, timer);
    bool saved = SaveWindowPng(window, g_screenshotPath);
    g_screenshotFailed = !saved;
    std::fprintf(saved ? stdout : stderr, saved ? "screenshot: %s\n" : "screenshot failed: %s\n",
                 g_screenshotPath.c_str());
    std::fflush(saved ? stdout : stderr);
    HANDLE watchdog = ::CreateThread(nullptr, 0, &EndUnattendedRun, nullptr, 0, nullptr);
    if (watchdog != nullptr) ::CloseHandle(watchdog);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
}
// Nobody is there to answer a box during a screenshot run: its text goes to stderr, answered Cancel
// (so no file is overwritten or discarded on a guess).
BOOL AnswerUnattended(void*, const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
    std::fprintf(stderr, "message: %s\n", request.text);
    *answer = IDCANCEL;
    return TRUE;
}
} // namespace

class CHostApp : public CWinApp {
public:
    // 编辑器演示 (editor demo)
    CHostApp() : CWinApp("Tessolin \xB1\xE0\xBC\xAD\xC6\xF7\xD1\xDD\xCA\xBE") {}
    BOOL InitInstance() override;
    int ExitInstance() override { return g_screenshotFailed ? 2 : CWinApp::ExitInstance(); }

protected:
    void OnHostCommand();
    DECLARE_MESSAGE_MAP()

private:
    // Adds a template when the library provides both classes; FALSE when either is missing.
    BOOL AddTemplateByName(UINT resourceId, const char* documentClass, const char* viewClass);
    // Takes --screenshot PATH, --find-title HEADING and --print-preview PATH (a screenshot of the
    // active document's print preview) out of the arguments and keeps the rest as files to open.
    void ParseCommandLine();
    std::vector<std::string> m_files;
    std::string m_findTitle;
    bool m_printPreview = false;
};

BEGIN_MESSAGE_MAP(CHostApp, CWinApp)
ON_COMMAND(ID_HOST_COMMAND, OnHostCommand)
END_MESSAGE_MAP()

CHostApp theApp;

BOOL CHostApp::AddTemplateByName(UINT resourceId, const char* documentClass, const char* viewClass) {
    CRuntimeClass* document = CRuntimeClass::FromName(documentClass);
    CRuntimeClass* view = CRuntimeClass::FromName(viewClass);
    if (document == nullptr || view == nullptr) return FALSE;
    AddDocTemplate(new CMultiDocTemplate(resourceId, document, RUNTIME_CLASS(CMDIChildWnd), view));
    return TRUE;
}

BOOL CHostApp::InitInstance() {
    AfxOleInit(); // the clipboard; without it copy and paste still start OLE on first use
    AddTemplateByName(IDR_DATAFILE, "CDataEditDoc", "CColorEditView");
    AddTemplateByName(IDR_CHECKFILE, "CCheckEditDoc", "CColorEditView");
    AddTemplateByName(IDR_LISTING, "CBlackEditDoc", "CBlackEditView");
    // Until the library's documents are there, files still open, read-only.
    if (GetFirstDocTemplatePosition() == nullptr)
        AddDocTemplate(new CMultiDocTemplate(IDR_LISTING, RUNTIME_CLASS(CListingDoc),
                                             RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CListingView)));
    ParseCommandLine();
    if (!g_screenshotPath.empty()) AfxSetModalHook(&AnswerUnattended, nullptr);
    CMainFrame* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME)) return FALSE;
    m_pMainWnd = frame;
    if (!g_screenshotPath.empty()) frame->MoveWindow(0, 0, 1100, 760);
    frame->ShowWindow(m_nCmdShow == SW_SHOWMINIMIZED ? SW_SHOWNORMAL : m_nCmdShow);
    frame->UpdateWindow();
    for (const std::string& file : m_files)
        if (OpenDocumentFile(file.c_str()) == nullptr) std::fprintf(stderr, "cannot open %s\n", file.c_str());
    if (m_files.size() > 1) frame->MDITile(MDITILE_VERTICAL);
    if (!m_findTitle.empty()) SendFindTitle(frame->GetActiveView(), m_findTitle, 0);
    if (m_printPreview && frame->GetActiveView() != nullptr)
        frame->GetActiveView()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    if (!g_screenshotPath.empty()) ::SetTimer(frame->m_hWnd, 1, kScreenshotDelayMs, &TakeScreenshot);
    return TRUE;
}

void CHostApp::ParseCommandLine() {
    for (int i = 1; i < __argc; ++i) {
        std::string argument = __argv[i];
        if (argument == "--screenshot" && i + 1 < __argc)
            g_screenshotPath = __argv[++i];
        else if (argument == "--find-title" && i + 1 < __argc)
            m_findTitle = __argv[++i];
        else if (argument == "--print-preview" && i + 1 < __argc)
            m_printPreview = true, g_screenshotPath = __argv[++i];
        else
            m_files.push_back(argument);
    }
}

void CHostApp::OnHostCommand() {
    // 主机收到命令 100 (the host received command 100)
    AfxMessageBox("\xD6\xF7\xBB\xFA\xCA\xD5\xB5\xBD\xC3\xFC\xC1\xEE 100", MB_OK | MB_ICONINFORMATION);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    return AfxWinMain(instance, previous, commandLine, show);
}
