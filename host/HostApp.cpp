// The demo host: an MDI application that opens the files named on its command line in the
// editor's documents and views, found by their class names, and can leave a screenshot behind.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "documents/HostMessages.h"
#include "documents/RecoveryFiles.h"
#include "framework/win/DocTemplate.h"
#include "framework/win/MessageBox.h"
#include "framework/win/OleClipboard.h"
#include "framework/win/WinApp.h"
#include "host/HostResource.h"
#include "host/ListingView.h"
#include "host/MainFrame.h"
#include "host/Screenshot.h"
#include "views/EditScrollView.h"

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

// Scrolls the editor view so that line (counted from 1) is its first line, the caret at its start.
static void GoToLine(CView* view, int line) {
    auto* editor = dynamic_cast<CEditScrollView*>(view);
    if (editor == nullptr || line < 1) return;
    CEditDocument* doc = editor->GetEditDocument();
    long last = doc->GetLineCount() - 1;
    long target = std::min<long>(line - 1, last);
    // The caret is put on the last of the lines that should show, then back on the first: the view
    // scrolls down just far enough for the first move and not at all for the second.
    CRect client;
    editor->GetClientRect(&client);
    long rows = client.Height() / std::max((long)editor->Metrics().unit.cy, 1L);
    editor->SetCurrentPosition((int)doc->GetLineOffset(std::min(target + rows - 1, last)));
    editor->SetCurrentPosition((int)doc->GetLineOffset(target));
}

// The host's document templates: every editor document starts with the deep undo option on.
class CHostDocTemplate : public CMultiDocTemplate {
public:
    using CMultiDocTemplate::CMultiDocTemplate;
    CDocument* CreateNewDocument() override {
        CDocument* doc = CMultiDocTemplate::CreateNewDocument();
        if (auto* editor = dynamic_cast<CEditDocument*>(doc)) editor->SetOption(kOptionDeepUndo, TRUE);
        return doc;
    }
};

class CHostApp : public CWinApp {
public:
    // 编辑器演示 (editor demo)
    CHostApp() : CWinApp("Tessolin \xB1\xE0\xBC\xAD\xC6\xF7\xD1\xDD\xCA\xBE") {}
    BOOL InitInstance() override;
    int ExitInstance() override { return g_screenshotFailed ? 2 : CWinApp::ExitInstance(); }

protected:
    void OnHostCommand();
    void OnAllOptions();
    DECLARE_MESSAGE_MAP()

private:
    // Adds a template when the library provides both classes; FALSE when either is missing.
    BOOL AddTemplateByName(UINT resourceId, const char* documentClass, const char* viewClass);
    // Takes --screenshot PATH, --find-title HEADING, --print-preview PATH (a screenshot of the active
    // document's print preview), --options (every option of the documents on), --no-recovery (no
    // recovery files kept against a crash) and --goto-line N (the active view scrolled to show line N,
    // counted from 1, as its first line) out of the arguments and keeps the rest as files to open.
    void ParseCommandLine();
    std::vector<std::string> m_files;
    std::string m_findTitle;
    bool m_printPreview = false;
    bool m_allOptions = false;
    int m_gotoLine = -1;
};

BEGIN_MESSAGE_MAP(CHostApp, CWinApp)
ON_COMMAND(ID_HOST_COMMAND, OnHostCommand)
ON_COMMAND(ID_VIEW_ALL_OPTIONS, OnAllOptions)
END_MESSAGE_MAP()

CHostApp theApp;

BOOL CHostApp::AddTemplateByName(UINT resourceId, const char* documentClass, const char* viewClass) {
    CRuntimeClass* document = CRuntimeClass::FromName(documentClass);
    CRuntimeClass* view = CRuntimeClass::FromName(viewClass);
    if (document == nullptr || view == nullptr) return FALSE;
    AddDocTemplate(new CHostDocTemplate(resourceId, document, RUNTIME_CLASS(CMDIChildWnd), view));
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
    if (!m_files.empty()) frame->MDITile(MDITILE_VERTICAL); // one file fills the frame

    if (m_allOptions) OnAllOptions();
    if (m_gotoLine >= 0) GoToLine(frame->GetActiveView(), m_gotoLine);
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
        else if (argument == "--options")
            m_allOptions = true;
        else if (argument == "--no-recovery")
            recovery::SetEnabled(false);
        else if (argument == "--goto-line" && i + 1 < __argc)
            m_gotoLine = std::atoi(__argv[++i]);
        else
            m_files.push_back(argument);
    }
}

void CHostApp::OnAllOptions() {
    POSITION templates = GetFirstDocTemplatePosition();
    while (templates != nullptr) {
        CDocTemplate* docTemplate = GetNextDocTemplate(templates);
        POSITION docs = docTemplate->GetFirstDocPosition();
        while (docs != nullptr) {
            auto* doc = dynamic_cast<CEditDocument*>(docTemplate->GetNextDoc(docs));
            if (doc == nullptr) continue;
            for (EditOption option : {kOptionGbkCharacters, kOptionWholeTextColors, kOptionLongLines})
                doc->SetOption(option, TRUE);
        }
    }
    // 查看选项已全部开启：按 GBK 字符边界、按全文着色、长行快速编辑
    if (CMainFrame* frame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        frame->SetMessageText(
            "\xB2\xE9\xBF\xB4\xD1\xA1\xCF\xEE\xD2\xD1\xC8\xAB\xB2\xBF\xBF\xAA\xC6\xF4\xA3\xBA\xB0\xB4 GBK "
            "\xD7\xD6\xB7\xFB\xB1\xDF\xBD\xE7\xA1\xA2\xB0\xB4\xC8\xAB\xCE\xC4\xD7\xC5\xC9\xAB\xA1\xA2\xB3\xA4"
            "\xD0\xD0\xBF\xEC\xCB\xD9\xB1\xE0\xBC\xAD");
}

// Every editor document sends command 100 as it closes: the host says so in its status bar, not in a
// box the user would have to answer for each document closed.
void CHostApp::OnHostCommand() {
    // 主机收到命令 100 (the host received command 100)
    if (CMainFrame* frame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        frame->SetMessageText("\xD6\xF7\xBB\xFA\xCA\xD5\xB5\xBD\xC3\xFC\xC1\xEE 100");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    return AfxWinMain(instance, previous, commandLine, show);
}
