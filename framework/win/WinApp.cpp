// The application object, the message loop with idle processing, and worker threads.
#include "framework/win/WinApp.h"

#include "framework/win/DocTemplate.h"
#include "framework/win/Document.h"
#include "framework/win/FileDialog.h"
#include "framework/win/FindReplaceDialog.h"
#include "framework/win/Frame.h"
#include "framework/win/Gdi.h"
#include "framework/win/OleClipboard.h"
#include "framework/win/Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
AFX_MODULE_STATE g_moduleState;
thread_local CWinThread* t_thread = nullptr;

// "所有文件 (*.*)" (all files)
const char kAllFilesFilter[] = "\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE (*.*)|*.*||";
} // namespace

AFX_MODULE_STATE* AfxGetModuleState() {
    return &g_moduleState;
}
CWinApp* AfxGetApp() {
    return g_moduleState.m_pCurrentWinApp;
}
CWinThread* AfxGetThread() {
    return t_thread;
}

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    if (thread != nullptr && thread->GetMainWnd() != nullptr) return thread->GetMainWnd();
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_moduleState.m_hCurrentInstanceHandle ? g_moduleState.m_hCurrentInstanceHandle
                                                  : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return g_moduleState.m_hCurrentResourceHandle ? g_moduleState.m_hCurrentResourceHandle
                                                  : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resources) {
    g_moduleState.m_hCurrentResourceHandle = resources;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) {
    if (CFindReplaceDialog::RouteDialogMessage(msg)) return TRUE; // Tab and Enter in a find dialog
    CWnd* main = GetMainWnd();
    // Frames translate accelerators; the main frame also the MDI keys of its children.
    for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) &&
            static_cast<CFrameWnd*>(wnd)->PreTranslateMessage(msg))
            return TRUE;
        if (main != nullptr && hwnd == main->m_hWnd) break;
    }
    return FALSE;
}

BOOL CWinThread::PumpMessage() {
    MSG msg;
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        m_exitCode = got == 0 ? (int)msg.wParam : -1;
        return FALSE;
    }
    if (!PreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG count) {
    if (count > 0) return FALSE;
    CWnd* main = GetMainWnd();
    if (main != nullptr && main->m_hWnd != nullptr && ::IsWindowVisible(main->m_hWnd)) {
        main->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
        main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    }
    AfxDeleteTempWndObjects();
    AfxDeleteTempGdiObjects();
    return FALSE;
}

int CWinThread::Run() {
    for (;;) {
        MSG peek;
        LONG idleCount = 0;
        while (!::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        do {
            if (!PumpMessage()) return ExitInstance();
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) {
    g_moduleState.m_pCurrentWinApp = this;
    g_moduleState.m_lpszCurrentAppName = appName;
    t_thread = this; // the application is constructed on the thread that will run it
}

CWinApp::~CWinApp() {
    POSITION position = m_templates.GetHeadPosition();
    while (position != nullptr) delete m_templates.GetNext(position);
    m_templates.RemoveAll();
    KeepPrinterChoice(nullptr, nullptr);
    if (g_moduleState.m_pCurrentWinApp == this) g_moduleState.m_pCurrentWinApp = nullptr;
    if (t_thread == this) t_thread = nullptr;
}

int CWinApp::ExitInstance() {
    return m_exitCode;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    if (docTemplate != nullptr) m_templates.AddTail(docTemplate);
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& position) const {
    return static_cast<CDocTemplate*>(m_templates.GetNext(position));
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR path) {
    if (m_templates.IsEmpty()) return nullptr;
    CDocTemplate* chosen = static_cast<CDocTemplate*>(m_templates.GetHead());
    POSITION position = GetFirstDocTemplatePosition();
    while (position != nullptr) {
        CDocTemplate* candidate = GetNextDocTemplate(position);
        if (candidate->MatchesExtension(path)) {
            chosen = candidate;
            break;
        }
    }
    return chosen->OpenDocumentFile(path);
}

BOOL CWinApp::SaveAllModified() {
    POSITION position = GetFirstDocTemplatePosition();
    while (position != nullptr)
        if (!GetNextDocTemplate(position)->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession) {
    POSITION position = GetFirstDocTemplatePosition();
    while (position != nullptr) GetNextDocTemplate(position)->CloseAllDocuments(endSession);
}

void CWinApp::OnFileNew() {
    if (!m_templates.IsEmpty()) static_cast<CDocTemplate*>(m_templates.GetHead())->OpenDocumentFile(nullptr);
}

namespace {
// One entry per template with a filter name and extension ("数据文件 (*.dat)|*.dat|"), then all files.
CString OpenFilter(const CWinApp& app) {
    CString filter;
    POSITION position = app.GetFirstDocTemplatePosition();
    while (position != nullptr) {
        CDocTemplate* docTemplate = app.GetNextDocTemplate(position);
        CString name, extension;
        if (!docTemplate->GetDocString(name, CDocTemplate::filterName) ||
            !docTemplate->GetDocString(extension, CDocTemplate::filterExt))
            continue;
        filter += name + "|" + (extension[0] == '.' ? "*" : "") + extension + "|";
    }
    return filter + kAllFilesFilter;
}
} // namespace

void CWinApp::OnFileOpen() {
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, OpenFilter(*this));
    if (dialog.DoModal() != IDOK || dialog.GetPathName().IsEmpty()) return;
    OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr) m_pMainWnd->SendMessage(WM_CLOSE);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    g_moduleState.m_hCurrentInstanceHandle = instance;
    int code = 0;
    if (app->InitApplication() && app->InitInstance()) {
        code = app->Run();
    } else {
        if (app->m_pMainWnd != nullptr && app->m_pMainWnd->m_hWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    }
    AfxOleTerm(); // text copied by the user stays on the clipboard after the program ends
    return code;
}

namespace {
struct WorkerStart {
    AFX_THREADPROC proc;
    LPVOID param;
    CWinThread* thread;
};

UINT RunWorker(LPVOID start) {
    WorkerStart* worker = static_cast<WorkerStart*>(start);
    t_thread = worker->thread;
    UINT result = worker->proc(worker->param);
    t_thread = nullptr;
    delete worker->thread;
    delete worker;
    return result;
}
} // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security) {
    if (proc == nullptr) return nullptr;
    WorkerStart* start = new WorkerStart{proc, param, new CWinThread};
    CWinThread* thread = start->thread;
    ThreadPriority level =
        priority <= THREAD_PRIORITY_LOWEST ? ThreadPriority::Lowest : ThreadPriority::Normal;
    if (!StartWorkerThread(&RunWorker, start, level)) {
        delete start->thread;
        delete start;
        return nullptr;
    }
    return thread;
}
