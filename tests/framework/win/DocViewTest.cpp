// Documents, views and frames together: creation through a template, command routing from view to
// application, menu states, and closing with and without changes.
#include <gtest/gtest.h>

#include <string>

#include "framework/win/DocTemplate.h"
#include "framework/win/Document.h"
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
    CRouteDoc() { ++g_liveDocuments; }
    ~CRouteDoc() override { --g_liveDocuments; }
    BOOL OnOpenDocument(LPCSTR path) override {
        return std::string(path).find("missing") == std::string::npos;
    }
    void OnDocOnly() { g_route += "doc;"; }
    void OnBoth() { g_route += "doc-both;"; }
    void OnUpdateDocOnly(CCmdUI* ui) { ui->Enable(FALSE); }

protected:
    DECLARE_MESSAGE_MAP()
};
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
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override {
        ++initialUpdates;
        CView::OnInitialUpdate();
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
    static CRouteView* OpenNew() {
        CDocument* doc = docTemplate->OpenDocumentFile(nullptr);
        POSITION position = doc->GetFirstViewPosition();
        return static_cast<CRouteView*>(doc->GetNextView(position));
    }

    // Answers (and counts) the boxes a test does not catch itself, so a stray one cannot hang the run.
    CModalRecorder unexpectedBoxes{IDCANCEL};
    static CMDIFrameWnd* main;
    static CMultiDocTemplate* docTemplate;
};
CMDIFrameWnd* MdiFixture::main = nullptr;
CMultiDocTemplate* MdiFixture::docTemplate = nullptr;
} // namespace

TEST_F(MdiFixture, ATemplatesViewRoutesCommandsToItsDocumentAndTheApplicationAndSetsMenuStates) {
    CRouteView* view = OpenNew();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->initialUpdates, 1);
    EXPECT_EQ(main->GetActiveDocument(), view->GetDocument());
    for (UINT id : {ID_VIEW_ONLY, ID_DOC_ONLY, ID_BOTH, ID_APP_ONLY}) main->SendMessage(WM_COMMAND, id, 0);
    EXPECT_EQ(g_route, "view;doc;view-both;app;");
    EXPECT_FALSE(main->OnCmdMsg(ID_NOBODY, CN_COMMAND, nullptr, nullptr));

    HMENU popup = ::CreatePopupMenu();
    for (UINT id : {ID_VIEW_ONLY, ID_DOC_ONLY, ID_BOTH, ID_NOBODY})
        ::AppendMenuA(popup, MF_STRING, id, "item");
    main->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, MAKELPARAM(0, FALSE));
    auto state = [&](int index) { return ::GetMenuState(popup, index, MF_BYPOSITION); };
    EXPECT_EQ(state(0) & MF_GRAYED, 0u) << "a command handler without update handler keeps it enabled";
    EXPECT_TRUE((state(1) & MF_GRAYED) && (state(2) & MF_CHECKED)) << "the update handlers";
    EXPECT_TRUE(state(3) & MF_GRAYED) << "no handler anywhere";
    ::DestroyMenu(popup);
}

TEST_F(MdiFixture, AFailedOpenLeavesNothingAndClosingAsksForAModifiedDocumentThatOneOfTwoFramesKeeps) {
    int before = g_liveDocuments;
    EXPECT_EQ(docTemplate->OpenDocumentFile("C:\\missing\\file.dat"), nullptr);
    EXPECT_EQ(g_liveDocuments, before);
    EXPECT_EQ(main->MDIGetActive(), nullptr);
    EXPECT_EQ(docTemplate->GetFirstDocPosition(), nullptr);
    EXPECT_STREQ(docTemplate->OpenDocumentFile("C:\\data\\Model.DAT")->GetTitle(), "Model.DAT");
    theApp.CloseAllDocuments(FALSE);

    CRouteView* view = OpenNew();
    ASSERT_NE(view, nullptr);
    before = g_liveDocuments;
    CDocument* doc = view->GetDocument();
    CFrameWnd* second = docTemplate->CreateNewFrame(doc, nullptr);
    ASSERT_NE(second, nullptr);
    docTemplate->InitialUpdateFrame(second, doc, TRUE);
    second->SendMessage(WM_CLOSE);
    EXPECT_EQ(g_liveDocuments, before) << "closing one of two frames keeps the document";
    EXPECT_EQ(doc->CountFrames(), 1);

    doc->SetModifiedFlag(TRUE);
    {
        CModalRecorder user(IDCANCEL);
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        ASSERT_EQ(user.GetCount(), 1);
        EXPECT_NE(user.GetText(0).Find(doc->GetTitle()), -1) << "the prompt names the document";
        EXPECT_EQ(g_liveDocuments, before) << "cancel keeps the document";
    }
    CModalRecorder user(IDNO);
    view->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(user.GetCount(), 1);
    EXPECT_EQ(g_liveDocuments, before - 1) << "'no' closes the document and deletes it";
    EXPECT_EQ(main->MDIGetActive(), nullptr);
}
