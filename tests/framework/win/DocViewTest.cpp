// Documents, views and frames together: creation by class name through a template, command
// routing from view to application, menu states, closing with and without changes, automation,
// and the resource chain of extension libraries.
#include <gtest/gtest.h>

#include <string>

#include "framework/win/DocTemplate.h"
#include "framework/win/Document.h"
#include "framework/win/ExtensionModule.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/View.h"
#include "framework/win/WinApp.h"

namespace {
enum : UINT { ID_VIEW_ONLY = 40001, ID_DOC_ONLY, ID_BOTH, ID_APP_ONLY, ID_NOBODY };

std::string g_route;
int g_liveDocuments = 0;

class CRouteApp : public CWinApp {
public:
    CRouteApp() : CWinApp("RouteTest") {}
    void OnAppOnly() { g_route += "app;"; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRouteApp, CWinApp)
ON_COMMAND(ID_APP_ONLY, OnAppOnly)
END_MESSAGE_MAP()

CRouteApp theApp;

class CRouteDoc : public CDocument {
    DECLARE_DYNCREATE(CRouteDoc)
public:
    BOOL openResult = TRUE;
    CRouteDoc() {
        ++g_liveDocuments;
        EnableAutomation();
    }
    ~CRouteDoc() override { --g_liveDocuments; }
    BOOL OnOpenDocument(LPCSTR path) override {
        return std::string(path).find("missing") == std::string::npos;
    }
    void OnDocOnly() { g_route += "doc;"; }
    void OnBoth() { g_route += "doc-both;"; }
    void OnUpdateDocOnly(CCmdUI* ui) { ui->Enable(FALSE); }

protected:
    const IID* const* GetInterfaceMap() const override;
    DECLARE_MESSAGE_MAP()
};

// {F6898245-462B-11D1-B99D-00A0C9763A0A}
const IID kDocumentInterface = {0xF6898245, 0x462B, 0x11D1, {0xB9, 0x9D, 0x00, 0xA0, 0xC9, 0x76, 0x3A, 0x0A}};

const IID* const* CRouteDoc::GetInterfaceMap() const {
    static const IID* const entries[] = {&kDocumentInterface, nullptr};
    return entries;
}

IMPLEMENT_DYNCREATE(CRouteDoc, CDocument)
BEGIN_MESSAGE_MAP(CRouteDoc, CDocument)
ON_COMMAND(ID_DOC_ONLY, OnDocOnly)
ON_COMMAND(ID_BOTH, OnBoth)
ON_UPDATE_COMMAND_UI(ID_DOC_ONLY, OnUpdateDocOnly)
END_MESSAGE_MAP()

class CRouteView : public CView {
    DECLARE_DYNCREATE(CRouteView)
public:
    int initialUpdates = 0;
    int activations = 0;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnActivateView(BOOL activate, CView* activated, CView* deactivated) override {
        if (activate) ++activations;
        CView::OnActivateView(activate, activated, deactivated);
    }
    void OnViewOnly() { g_route += "view;"; }
    void OnBoth() { g_route += "view-both;"; }
    void OnUpdateBoth(CCmdUI* ui) { ui->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CRouteView, CView)
BEGIN_MESSAGE_MAP(CRouteView, CView)
ON_COMMAND(ID_VIEW_ONLY, OnViewOnly)
ON_COMMAND(ID_BOTH, OnBoth)
ON_UPDATE_COMMAND_UI(ID_BOTH, OnUpdateBoth)
END_MESSAGE_MAP()

// One MDI main window for the whole program, as a host has.
class MdiFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        main = new CMDIFrameWnd;
        ASSERT_TRUE(main->LoadFrame(1, WS_OVERLAPPEDWINDOW));
        theApp.m_pMainWnd = main;
        docTemplate = new CMultiDocTemplate(2, RUNTIME_CLASS(CRouteDoc), RUNTIME_CLASS(CMDIChildWnd),
                                            RUNTIME_CLASS(CRouteView));
        theApp.AddDocTemplate(docTemplate);
    }
    void TearDown() override {
        theApp.CloseAllDocuments(FALSE);
        g_route.clear();
        EXPECT_EQ(unexpectedBoxes.GetCount(), 0) << "a message box no test asked for would block a user";
    }
    static CRouteDoc* OpenNew() { return static_cast<CRouteDoc*>(docTemplate->OpenDocumentFile(nullptr)); }
    static CRouteView* FirstView(CDocument* doc) {
        POSITION position = doc->GetFirstViewPosition();
        return position ? static_cast<CRouteView*>(doc->GetNextView(position)) : nullptr;
    }

    // Answers (and counts) the boxes a test does not catch itself, so a stray one cannot hang the run.
    CModalRecorder unexpectedBoxes{IDCANCEL};

    static CMDIFrameWnd* main;
    static CMultiDocTemplate* docTemplate;
};
CMDIFrameWnd* MdiFixture::main = nullptr;
CMultiDocTemplate* MdiFixture::docTemplate = nullptr;
} // namespace

TEST(RuntimeClasses, FrameworkAndTestClassesAreCreatableByName) {
    CObject* view = CRuntimeClass::CreateObject("CRouteView");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CView)));
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    delete view;
    EXPECT_EQ(CRuntimeClass::CreateObject("CView"), nullptr) << "an abstract class is not creatable";
    CObject* frame = CRuntimeClass::CreateObject("CMDIChildWnd");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    delete frame;
}

TEST_F(MdiFixture, ATemplateBuildsDocumentFrameAndViewTogether) {
    CRouteDoc* doc = OpenNew();
    ASSERT_NE(doc, nullptr);
    CRouteView* view = FirstView(doc);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(view->initialUpdates, 1);
    EXPECT_GE(view->activations, 1);
    EXPECT_EQ(main->GetActiveView(), view);
    EXPECT_EQ(main->GetActiveDocument(), doc);
    CFrameWnd* child = view->GetParentFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)));
    EXPECT_EQ(static_cast<CMDIChildWnd*>(child)->GetMDIFrame(), main);
    EXPECT_EQ(doc->GetDocTemplate(), docTemplate);
    EXPECT_EQ(doc->CountFrames(), 1);
}

TEST_F(MdiFixture, CommandsRouteFromTheViewToTheApplication) {
    ASSERT_NE(OpenNew(), nullptr);
    for (UINT id : {ID_VIEW_ONLY, ID_DOC_ONLY, ID_BOTH, ID_APP_ONLY})
        EXPECT_TRUE(main->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr)) << id;
    EXPECT_EQ(g_route, "view;doc;view-both;app;");
    EXPECT_FALSE(main->OnCmdMsg(ID_NOBODY, CN_COMMAND, nullptr, nullptr));

    g_route.clear();
    main->SendMessage(WM_COMMAND, MAKEWPARAM(ID_DOC_ONLY, 0), 0);
    EXPECT_EQ(g_route, "doc;") << "a menu command arrives as WM_COMMAND at the main frame";

    g_route.clear();
    AFX_CMDHANDLERINFO info = {nullptr};
    EXPECT_TRUE(main->OnCmdMsg(ID_DOC_ONLY, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, main->GetActiveDocument());
    EXPECT_EQ(g_route, "") << "asking for a handler must not run it";
}

TEST_F(MdiFixture, MenuStatesComeFromUpdateHandlersOrFromHandlerPresence) {
    ASSERT_NE(OpenNew(), nullptr);
    HMENU popup = ::CreatePopupMenu();
    for (UINT id : {ID_VIEW_ONLY, ID_DOC_ONLY, ID_BOTH, ID_NOBODY})
        ::AppendMenuA(popup, MF_STRING, id, "item");
    main->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE));
    auto state = [&](int index) { return ::GetMenuState(popup, index, MF_BYPOSITION); };
    EXPECT_FALSE(state(0) & MF_GRAYED) << "a command handler without update handler keeps it enabled";
    EXPECT_TRUE(state(1) & MF_GRAYED) << "the document's update handler disabled it";
    EXPECT_TRUE(state(2) & MF_CHECKED) << "the view's update handler checked it";
    EXPECT_TRUE(state(3) & MF_GRAYED) << "no handler anywhere";
    ::DestroyMenu(popup);
}

TEST_F(MdiFixture, ClosingAModifiedDocumentAsksAndObeysTheAnswer) {
    CRouteDoc* doc = OpenNew();
    ASSERT_NE(doc, nullptr);
    CFrameWnd* child = FirstView(doc)->GetParentFrame();
    doc->SetModifiedFlag(TRUE);
    int before = g_liveDocuments;
    {
        CModalRecorder user(IDCANCEL);
        child->SendMessage(WM_CLOSE);
        ASSERT_EQ(user.GetCount(), 1);
        EXPECT_NE(user.GetText(0).Find(doc->GetTitle()), -1) << "the prompt names the document";
        EXPECT_EQ(g_liveDocuments, before) << "cancel keeps the document";
    }
    {
        CModalRecorder user(IDNO);
        child->SendMessage(WM_CLOSE);
        EXPECT_EQ(user.GetCount(), 1);
    }
    EXPECT_EQ(g_liveDocuments, before - 1) << "'no' closes the document and deletes it";
    EXPECT_EQ(main->MDIGetActive(), nullptr);
}

TEST_F(MdiFixture, AFailedOpenLeavesNoDocumentAndNoFrame) {
    int before = g_liveDocuments;
    EXPECT_EQ(docTemplate->OpenDocumentFile("C:\\missing\\file.dat"), nullptr);
    EXPECT_EQ(g_liveDocuments, before);
    EXPECT_EQ(main->MDIGetActive(), nullptr);
    EXPECT_EQ(docTemplate->GetFirstDocPosition(), nullptr);

    CDocument* doc = docTemplate->OpenDocumentFile("C:\\data\\Model.DAT");
    ASSERT_NE(doc, nullptr);
    EXPECT_STREQ(doc->GetPathName(), "C:\\data\\Model.DAT");
    EXPECT_STREQ(doc->GetTitle(), "Model.DAT");
}

TEST_F(MdiFixture, UpdateAllViewsSkipsTheSenderAndClosingDeletesEveryView) {
    CRouteDoc* doc = OpenNew();
    ASSERT_NE(doc, nullptr);
    CRouteView* view = FirstView(doc);
    // A second frame on the same document.
    CFrameWnd* second = docTemplate->CreateNewFrame(doc, nullptr);
    ASSERT_NE(second, nullptr);
    docTemplate->InitialUpdateFrame(second, doc, TRUE);
    EXPECT_EQ(doc->CountFrames(), 2);
    int before = g_liveDocuments;
    second->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_liveDocuments, before) << "closing one of two frames keeps the document";
    EXPECT_EQ(doc->CountFrames(), 1);
    EXPECT_EQ(FirstView(doc), view);
    doc->OnCloseDocument();
    EXPECT_EQ(g_liveDocuments, before - 1);
}

TEST(Automation, TheDocumentAnswersItsInterfaceWithAMemberlessDispatch) {
    CRouteDoc doc;
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(doc.InternalQueryInterface(kDocumentInterface, (void**)&dispatch), S_OK);
    ASSERT_NE(dispatch, nullptr);
    UINT count = 99;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    DISPPARAMS none = {};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    dispatch->Release();
    void* other = nullptr;
    EXPECT_EQ(doc.InternalQueryInterface(IID_IClassFactory, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);

    LONG locks = AfxOleGetLockCount();
    AfxOleLockApp();
    EXPECT_EQ(AfxOleGetLockCount(), locks + 1);
    AfxOleUnlockApp();
    AfxOleUnlockApp(); // one unlock too many never goes below zero
    EXPECT_EQ(AfxOleGetLockCount(), locks > 0 ? locks - 1 : 0);
    for (LONG i = AfxOleGetLockCount(); i < locks; ++i) AfxOleLockApp();
}

namespace {
BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *(LPSTR*)found = name;
    return FALSE;
}
} // namespace

TEST(ExtensionModules, LibrariesJoinAndLeaveTheResourceChain) {
    // A system library with bitmaps stands in for an extension library.
    HMODULE library = ::LoadLibraryA("user32.dll");
    ASSERT_NE(library, nullptr);
    LPSTR name = nullptr;
    ::EnumResourceNamesA(library, (LPCSTR)RT_BITMAP, &FirstName, (LONG_PTR)&name);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(AfxFindResourceHandle(name, (LPCSTR)RT_BITMAP), nullptr) << "the test program has no bitmaps";

    AFX_EXTENSION_MODULE module;
    ASSERT_TRUE(AfxInitExtensionModule(module, library));
    new CDynLinkLibrary(module);
    EXPECT_EQ(AfxFindResourceHandle(name, (LPCSTR)RT_BITMAP), library);
    EXPECT_EQ(AfxGetFirstDynLinkLibrary()->m_hModule, library);
    AfxTermExtensionModule(module);
    EXPECT_EQ(AfxFindResourceHandle(name, (LPCSTR)RT_BITMAP), nullptr);
    EXPECT_EQ(AfxGetFirstDynLinkLibrary(), nullptr);
    EXPECT_FALSE(AfxInitExtensionModule(module, nullptr));
}
