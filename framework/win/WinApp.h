// The application and its thread: the message loop, the main window, the templates, the module state.
#pragma once

#include "framework/base/ObList.h"
#include "framework/base/Sync.h"
#include "framework/win/CmdTarget.h"

class CDocTemplate;
class CDocument;
class CPrintDialog;
class CWnd;
struct tagPDA;

// A thread with a message loop. The application's is the user-interface thread; worker threads
// started by AfxBeginThread get one that deletes itself when the thread ends.
class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;

    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return m_exitCode; }
    // Dispatches messages until WM_QUIT, giving idle time to OnIdle while the queue is empty.
    virtual int Run();
    // Count 0: command states of the main window's bars and titles, then temporary wrappers.
    virtual BOOL OnIdle(LONG count);
    // Offers a message to the windows from its target up to the main window before dispatch.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Handles one message; FALSE at WM_QUIT.
    BOOL PumpMessage();

protected:
    int m_exitCode = 0;
};

// The application: one object per process, created by the host as a global before WinMain.
class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    virtual BOOL InitApplication() { return TRUE; }
    int ExitInstance() override;

    // Takes ownership of the template.
    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templates.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    // Opens path with the template whose extension matches it, else with the first template.
    virtual CDocument* OpenDocumentFile(LPCSTR path);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();

    // The printer chosen in print setup or the print dialog (its DEVMODE and DEVNAMES blocks); null
    // until a choice is made, which means the system's default printer.
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    // The print dialog over the application's printer choice; a new choice is kept.
    INT_PTR DoPrintDialog(CPrintDialog* dialog);
    // The printer choice without a dialog, the default printer until one is chosen; FALSE when there
    // is no printer at all.
    BOOL GetPrinterDeviceDefaults(tagPDA* pd);
    void OnFilePrintSetup();

protected:
    DECLARE_MESSAGE_MAP()
    void KeepPrinterChoice(HGLOBAL devMode, HGLOBAL devNames);
    CObList m_templates;
};

// The process-wide state the library reads: the application, its instance and resources.
struct AFX_MODULE_STATE {
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    LPCSTR m_lpszCurrentAppName = nullptr;
};

AFX_MODULE_STATE* AfxGetModuleState();
CWinApp* AfxGetApp();
// The calling thread's object: the application on its own thread, a worker's on a worker.
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// Runs the application: InitApplication, InitInstance, the message loop, ExitInstance.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow);

// Starts proc(param) on a worker thread; the returned object lives until the thread ends.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
