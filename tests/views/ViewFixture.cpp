// The views' test program: its application, main window, templates and picture helpers.
#include "ViewFixture.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"
#include "tests/common/ClipboardTestKit.h"
#include "tests/common/MemorySeamKit.h"
#include "tests/common/UnixShell.h"

CWinApp theApp("ViewTests");

namespace {
std::vector<std::string> openedFiles; // the files Open wrote for this test's documents
} // namespace

CMDIFrameWnd* ViewFixture::main = nullptr;
CStatusBar* ViewFixture::statusBar = nullptr;
CMultiDocTemplate* ViewFixture::coloredTemplate = nullptr;
CMultiDocTemplate* ViewFixture::checkTemplate = nullptr;
CMultiDocTemplate* ViewFixture::plainTemplate = nullptr;

void ViewFixture::SetUpTestSuite() {
    if (main != nullptr) return;
    main = new CMDIFrameWnd;
    ASSERT_TRUE(main->LoadFrame(1, WS_OVERLAPPEDWINDOW));
    statusBar = new CStatusBar;
    ASSERT_TRUE(statusBar->Create(main));
    static const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR, ID_INDICATOR_OVR};
    ASSERT_TRUE(statusBar->SetIndicators(panes, 3));
    statusBar->SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 200);
    main->MoveWindow(0, 0, 1000, 760);
    main->ShowWindow(SW_SHOW);
    main->RecalcLayout();
    theApp.m_pMainWnd = main;
    auto make = [](CRuntimeClass* doc, CRuntimeClass* view) {
        auto* made = new CMultiDocTemplate(1, doc, RUNTIME_CLASS(CMDIChildWnd), view);
        theApp.AddDocTemplate(made);
        return made;
    };
    coloredTemplate = make(RUNTIME_CLASS(CDataEditDoc), RUNTIME_CLASS(CColorEditView));
    checkTemplate = make(RUNTIME_CLASS(CCheckEditDoc), RUNTIME_CLASS(CColorEditView));
    plainTemplate = make(RUNTIME_CLASS(CBlackEditDoc), RUNTIME_CLASS(CBlackEditView));
}

void ViewFixture::TearDown() {
    Modifiers(false, false);
    theApp.CloseAllDocuments(FALSE);
    Pump();
    for (const std::string& path : openedFiles) ::DeleteFileA(path.c_str());
    openedFiles.clear();
    EXPECT_EQ(unexpectedBoxes.GetCount(), 0) << "a message box no test asked for";
}

void ViewFixture::Pump() {
    for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void ViewFixture::Modifiers(bool control, bool shift) {
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(state);
}

int ViewFixture::UpdateState(CCmdTarget* target, UINT id) {
    struct CRecordedUI : CCmdUI {
        int enabled = -1;
        void Enable(BOOL on) override { enabled = on ? 1 : 0; }
    } ui;
    ui.m_nID = id;
    target->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui.enabled;
}

void ViewFixture::Notify(CEditScrollView* view, DWORD flags, const char* find, const char* replace) {
    CFindReplaceDialog* dialog = view->FindReplace().Dialog();
    ASSERT_NE(dialog, nullptr);
    dialog->m_fr.Flags = flags;
    lstrcpynA(dialog->m_fr.lpstrFindWhat, find, dialog->m_fr.wFindWhatLen);
    lstrcpynA(dialog->m_fr.lpstrReplaceWith, replace, dialog->m_fr.wReplaceWithLen);
    view->SendMessage(HostMessage(kMsgFindReplace), 0, (LPARAM)&dialog->m_fr);
}

CEditScrollView* ViewFixture::ViewOf(CDocument* doc) {
    if (doc == nullptr) return nullptr;
    POSITION position = doc->GetFirstViewPosition();
    return dynamic_cast<CEditScrollView*>(doc->GetNextView(position));
}

std::string ViewFixture::RunPeer(const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 1 << 16)) return "<no pipe>";
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    HANDLE process = StartPeerProgram(arguments, write);
    ::CloseHandle(write);
    std::string out = process != nullptr && WaitServing(process) ? "" : "<no peer> ";
    DWORD got = 0;
    char buffer[4096];
    while (::PeekNamedPipe(read, nullptr, 0, nullptr, &got, nullptr) && got > 0 &&
           ::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
        out.append(buffer, got);
    if (process != nullptr) ::CloseHandle(process);
    ::CloseHandle(read);
    return out;
}

bool ViewFixture::WaitServing(HANDLE handle) {
    for (int i = 0; i < 2000; ++i) {
        if (::MsgWaitForMultipleObjects(1, &handle, FALSE, 20, QS_ALLINPUT) == WAIT_OBJECT_0) return true;
        Pump();
    }
    return false;
}

namespace {
HANDLE holdingEvent = nullptr, releaseEvent = nullptr;
} // namespace

HANDLE ViewFixture::HoldByPeer(const std::string& arguments) {
    holdingEvent = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinPeerHolding");
    releaseEvent = ::CreateEventA(nullptr, TRUE, FALSE, "TessolinPeerRelease");
    ::ResetEvent(holdingEvent);
    ::ResetEvent(releaseEvent);
    HANDLE peer = StartPeerProgram(arguments);
    if (peer == nullptr || WaitServing(holdingEvent)) return peer;
    ReleasePeer(peer);
    return nullptr;
}

bool ViewFixture::ReleasePeer(HANDLE peer) {
    ::SetEvent(releaseEvent);
    bool ended = WaitServing(peer);
    ::CloseHandle(peer);
    ::CloseHandle(holdingEvent);
    ::CloseHandle(releaseEvent);
    return ended;
}

bool ViewFixture::WholeOrRefused(CEditScrollView* view, const std::string& after, int tries,
                                 const std::function<void()>& edit) {
    CEditDocument* doc = view->GetEditDocument();
    std::string before = Text(view);
    bool refused = false;
    for (int n = 1; n < tries; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
        CModalRecorder boxes(IDOK);
        bool failedOne = WithAllocationFailing(n, edit);
        std::string text = Text(view);
        EXPECT_EQ(doc->GetLineCount(), 1 + (long)std::count(text.begin(), text.end(), '\n'));
        EXPECT_LE(view->Model().Selection().end, doc->GetLength() - 1);
        if (text == before) {
            refused = true;
            EXPECT_FALSE(doc->IsModified());
            EXPECT_FALSE(doc->CanUndo()) << "no record of changes that were never made";
            EXPECT_EQ(boxes.GetCount(), 1) << "the user is told";
        } else {
            EXPECT_TRUE(text == after) << "an edit is whole";
            EXPECT_TRUE(doc->IsModified());
            view->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
            EXPECT_TRUE(Text(view) == before) << "and undone whole";
            doc->SetModifiedFlag(FALSE);
        }
        if (!failedOne) break;
    }
    return refused;
}

CView* ViewFixture::Open(CMultiDocTemplate* docTemplate, const std::string& text, int width, int height) {
    // A file of its own for each document: a file rewritten under an open document is reloaded into it.
    std::string path =
                    TempPath(("tessolin-view-test-" + std::to_string(openedFiles.size()) + ".dat").c_str()),
                bytes;
    openedFiles.push_back(path);
    for (char c : text) bytes += c == '\n' ? "\r\n" : std::string(1, c);
    std::ofstream(path, std::ios::binary) << bytes;
    CView* view = ViewOf(docTemplate->OpenDocumentFile(path.c_str()));
    if (view == nullptr) throw std::runtime_error("the test document did not open");
    CWnd* frame = view->GetParent();
    CRect client, outer;
    view->GetClientRect(&client);
    frame->GetWindowRect(&outer);
    frame->MoveWindow(0, 0, outer.Width() + width - client.Width(),
                      outer.Height() + height - client.Height());
    view->SetFocus();
    Pump();
    return view;
}

CColorEditView* ViewFixture::OpenColored(const std::string& text, int width, int height, bool listing) {
    return static_cast<CColorEditView*>(Open(listing ? checkTemplate : coloredTemplate, text, width, height));
}

CBlackEditView* ViewFixture::OpenPlain(const std::string& text, int width, int height) {
    return static_cast<CBlackEditView*>(Open(plainTemplate, text, width, height));
}

void ViewFixture::ForBothViews(const std::string& text, const std::function<void(CEditScrollView*)>& check) {
    for (int family = 0; family < 2; ++family) {
        SCOPED_TRACE(family == 0 ? "plain view" : "coloured view");
        CEditScrollView* view =
            family == 0 ? (CEditScrollView*)OpenPlain(text) : (CEditScrollView*)OpenColored(text);
        check(view);
        if (CFindReplaceDialog* dialog = view->FindReplace().Dialog()) ::DestroyWindow(dialog->m_hWnd);
        theApp.CloseAllDocuments(FALSE);
        Pump();
    }
}

bool ViewFixture::Picture::Has(const RECT& r, COLORREF color) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (At(x, y) == color) return true;
    return false;
}

bool ViewFixture::Picture::Only(const RECT& r, COLORREF color) const {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (At(x, y) != color) return false;
    return true;
}

ViewFixture::Picture::~Picture() {
    if (dc == nullptr) return;
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

void ViewFixture::Picture::Make(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    dc = ::CreateCompatibleDC(screen);
    bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    ::FillRect(dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
}

void ViewFixture::Paint(CEditScrollView* view, Picture& picture) {
    CRect client;
    view->GetClientRect(&client);
    picture.Make(client.Width(), client.Height());
    view->OnDraw(CDC::FromHandle(picture.dc));
}
