// The demo host's frame, menus, accelerators and toolbar around real editor views: keys go through
// the message loop's accelerator translation to the active view, and the menu and toolbar states
// follow the views' update handlers.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "documents/DataEditDocs.h"
#include "framework/win/DocTemplate.h"
#include "framework/win/MessageBox.h"
#include "framework/win/OleClipboard.h"
#include "framework/win/WinApp.h"
#include "host/HostResource.h"
#include "framework/win/FileDialog.h"
#include "framework/win/FindReplaceDialog.h"
#include "host/ChapterHeadings.h"
#include "host/MainFrame.h"
#include "views/ColorEditView.h"
#include "tests/common/ClipboardTestKit.h"
#include "tests/common/PaintTestKit.h"
#include "tests/common/UnixShell.h"

CWinApp theApp("HostFrameTests");

namespace {
class HostFrame : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (s_main != nullptr) return;
        AfxOleInit();
        theApp.AddDocTemplate(new CMultiDocTemplate(IDR_DATAFILE, RUNTIME_CLASS(CDataEditDoc),
                                                    RUNTIME_CLASS(CMDIChildWnd),
                                                    RUNTIME_CLASS(CColorEditView)));
        s_main = new CMainFrame;
        ASSERT_TRUE(s_main->LoadFrame(IDR_MAINFRAME));
        theApp.m_pMainWnd = s_main;
        s_main->MoveWindow(0, 0, 900, 600);
        s_main->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        theApp.CloseAllDocuments(FALSE);
        Pump();
        EXPECT_EQ(m_boxes.GetCount(), 0);
    }
    CColorEditView* Open(const std::string& text, const char* name = "tessolin-host-test.dat") {
        std::string path = TempPath(name);
        std::ofstream(path, std::ios::binary) << text;
        CDocument* doc = theApp.OpenDocumentFile(path.c_str());
        if (doc == nullptr) return nullptr;
        POSITION position = doc->GetFirstViewPosition();
        auto* view = static_cast<CColorEditView*>(doc->GetNextView(position));
        view->SetFocus();
        Pump();
        return view;
    }
    // Every queued message through the application's loop, accelerators included.
    static void Pump() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            if (!theApp.PumpMessage()) break;
    }
    // A key pressed and released as the keyboard would queue it, with Ctrl or Shift held.
    static void Press(CWnd* view, UINT key, bool control, bool shift) {
        BYTE state[256];
        ::GetKeyboardState(state);
        state[VK_CONTROL] = control ? 0x80 : 0;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(state);
        view->PostMessage(WM_KEYDOWN, key, 1);
        Pump();
        view->PostMessage(WM_KEYUP, key, 0xC0000001);
        Pump();
        state[VK_CONTROL] = state[VK_SHIFT] = 0;
        ::SetKeyboardState(state);
    }
    static std::string Text(CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        return std::string(doc->GetTextBuffer(0), (size_t)doc->GetLength() - 1);
    }
    static std::string ClipboardText() {
        std::string text = "<none>";
        if (!OpenClipboardPatiently(s_main->m_hWnd)) return "<cannot open>";
        if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
            text = (const char*)::GlobalLock(h);
            ::GlobalUnlock(h);
        }
        ::CloseClipboard();
        return text;
    }
    // The state of a command's item in a popup of the menu bar (0 文件, 1 编辑, 2 查看) once initialised.
    static UINT MenuState(int popup, UINT id, UINT mask = MF_GRAYED | MF_DISABLED) {
        HMENU menu = ::GetSubMenu(::GetMenu(s_main->m_hWnd), popup);
        s_main->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu, MAKELPARAM(popup, FALSE));
        return ::GetMenuState(menu, id, MF_BYCOMMAND) & mask;
    }

    static CEditScrollView* ActiveView() { return static_cast<CEditScrollView*>(s_main->GetActiveView()); }
    // The text of the Window menu's list entry for the first MDI child (the list numbers them).
    static std::string WindowListEntry() {
        HMENU bar = ::GetMenu(s_main->m_hWnd);
        for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
            char text[256] = "";
            if (::GetMenuStringA(::GetSubMenu(bar, i), AFX_IDW_MDICLIENT_FIRST_CHILD, text, sizeof text,
                                 MF_BYCOMMAND) > 0)
                return text;
        }
        return "<no entry>";
    }

    CModalRecorder m_boxes{IDCANCEL};
    static CMainFrame* s_main;
};
CMainFrame* HostFrame::s_main = nullptr;
} // namespace

TEST_F(HostFrame, TheEditAcceleratorsReachTheActiveView) {
    CColorEditView* view = Open("alpha\nbeta\n");
    ASSERT_NE(view, nullptr);
    Press(view, 'A', true, false);
    EXPECT_EQ(view->Model().Selection().end, 11) << "Ctrl+A";
    Press(view, 'C', true, false);
    EXPECT_EQ(ClipboardText(), "alpha\nbeta\n") << "Ctrl+C";
    view->SetSelection(0, 5);
    Press(view, 'X', true, false);
    EXPECT_EQ(Text(view), "\nbeta\n") << "Ctrl+X";
    EXPECT_EQ(ClipboardText(), "alpha");
    Press(view, 'V', true, false);
    EXPECT_EQ(Text(view), "alpha\nbeta\n") << "Ctrl+V";
    Press(view, 'Z', true, false);
    EXPECT_EQ(Text(view), "\nbeta\n") << "Ctrl+Z";
    Press(view, 'Y', true, false);
    EXPECT_EQ(Text(view), "alpha\nbeta\n") << "Ctrl+Y";

    view->SetSelection(6, 10);
    Press(view, VK_INSERT, true, false);
    EXPECT_EQ(ClipboardText(), "beta") << "Ctrl+Insert";
    Press(view, VK_DELETE, false, true);
    EXPECT_EQ(Text(view), "alpha\n\n") << "Shift+Delete cuts";
    Press(view, VK_INSERT, false, true);
    Press(view, VK_INSERT, false, true);
    EXPECT_EQ(Text(view), "alpha\nbetabeta\n") << "Shift+Insert pastes, in front of the caret";
    EXPECT_FALSE(view->Model().IsOverwrite()) << "the accelerators take the keys before the view";

    view->SetSelection(0, 5); // "alpha"
    Press(view, 'F', true, false);
    ASSERT_NE(view->FindReplace().Dialog(), nullptr) << "Ctrl+F opens the find dialog";
    EXPECT_EQ(view->FindReplace().LastFind(), CString("alpha"));
    ::DestroyWindow(view->FindReplace().Dialog()->m_hWnd);
    Pump();
    view->SetFocus();
    Press(view, VK_F3, false, false);
    EXPECT_EQ(view->Model().Selection().start, 0) << "F3 finds the next hit";
    EXPECT_EQ(view->Model().Selection().end, 5);
    Press(view, 'P', true, false);
    ASSERT_EQ(m_boxes.GetCount(), 1) << "Ctrl+P asks the print dialog (answered Cancel here)";
    EXPECT_EQ(m_boxes.GetRecord(0).kind, (UINT)AFX_MODAL_PRINTDIALOG);
    m_boxes.Clear();
}

TEST_F(HostFrame, TheEditMenuAndTheToolbarFollowTheUpdateHandlers) {
    CColorEditView* view = Open("text\n");
    ASSERT_NE(view, nullptr);
    CToolBar& toolbar = s_main->GetToolBar();
    theApp.OnIdle(0);
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY}) {
        EXPECT_NE(MenuState(1, id), 0u) << id;
        EXPECT_FALSE(toolbar.IsButtonEnabled(id)) << id;
    }
    EXPECT_EQ(MenuState(1, ID_EDIT_FIND) | MenuState(1, ID_EDIT_SELECTALL), 0u);
    EXPECT_TRUE(toolbar.IsButtonEnabled(ID_FILE_OPEN));

    view->SendMessage(WM_CHAR, 'x', 1);
    view->SetSelection(0, 2);
    theApp.OnIdle(0);
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY}) {
        EXPECT_EQ(MenuState(1, id), 0u) << id;
        EXPECT_TRUE(toolbar.IsButtonEnabled(id)) << id;
    }
    EXPECT_NE(MenuState(1, ID_EDIT_REDO), 0u);
    EXPECT_FALSE(toolbar.IsButtonEnabled(ID_EDIT_REDO));
    // 剪切 (Ctrl+X)
    EXPECT_STREQ((LPCSTR)AfxToolTipText(ID_EDIT_CUT), "\xBC\xF4\xC7\xD0 (Ctrl+X)");
}

// The document menus show only while a document is open; the 查看 menu's items reach the active
// document and show its options with a check.
TEST_F(HostFrame, TheDocumentMenusComeWithADocumentAndTheViewMenuSwitchesItsOptions) {
    HMENU frameMenu = ::GetMenu(s_main->m_hWnd);
    EXPECT_EQ(::GetMenuItemCount(frameMenu), 3);
    CColorEditView* view = Open("x\n");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(::GetMenuItemCount(::GetMenu(s_main->m_hWnd)), 5) << "文件 编辑 查看 窗口 帮助";
    CEditDocument* doc = view->GetEditDocument();
    EXPECT_EQ(MenuState(2, ID_OPTION_LONG_LINES, MF_CHECKED), 0u);
    s_main->SendMessage(WM_COMMAND, ID_OPTION_LONG_LINES);
    EXPECT_TRUE(doc->HasOption(kOptionLongLines));
    EXPECT_NE(MenuState(2, ID_OPTION_LONG_LINES, MF_CHECKED), 0u);
    EXPECT_EQ(MenuState(2, ID_OPTION_GBK_CHARACTERS, MF_CHECKED), 0u);
    s_main->SendMessage(WM_COMMAND, ID_OPTION_LONG_LINES);
    EXPECT_FALSE(doc->HasOption(kOptionLongLines));
    s_main->SendMessage(WM_COMMAND, ID_OPTION_DEEP_UNDO);
    EXPECT_TRUE(doc->HasOption(kOptionDeepUndo));
    EXPECT_NE(MenuState(2, ID_OPTION_DEEP_UNDO, MF_CHECKED), 0u);
    theApp.CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(::GetMenu(s_main->m_hWnd), frameMenu);
}

// With the deep undo option Ctrl+Z takes back typing word by word, a caret move starting a new word;
// without it each Ctrl+Z takes back one character, 26 at most.
TEST_F(HostFrame, DeepUndoTakesBackTypedWordsAndWithoutItSingleCharacters) {
    const std::string sentence = "the quick brown fox jumps over"; // 30 characters
    CColorEditView* view = Open("\n");
    ASSERT_NE(view, nullptr);
    s_main->SendMessage(WM_COMMAND, ID_OPTION_DEEP_UNDO);
    for (char c : sentence) view->SendMessage(WM_CHAR, (unsigned char)c, 1);
    Press(view, VK_LEFT, false, false);
    Press(view, VK_RIGHT, false, false);
    view->SendMessage(WM_CHAR, 's', 1);
    Press(view, 'Z', true, false);
    EXPECT_EQ(Text(view), sentence + "\n") << "the character typed after the caret moved";
    Press(view, 'Z', true, false);
    EXPECT_EQ(Text(view), "the quick brown fox jumps \n");
    for (int i = 0; i < 5; ++i) Press(view, 'Z', true, false);
    EXPECT_EQ(Text(view), "\n");
    EXPECT_FALSE(view->GetEditDocument()->CanUndo());
    for (int i = 0; i < 7; ++i) Press(view, 'Y', true, false);
    EXPECT_EQ(Text(view), sentence + "s\n");

    theApp.CloseAllDocuments(FALSE);
    view = Open("\n");
    ASSERT_NE(view, nullptr);
    for (char c : sentence) view->SendMessage(WM_CHAR, (unsigned char)c, 1);
    for (int i = 0; i < 26; ++i) Press(view, 'Z', true, false);
    EXPECT_EQ(Text(view), "the \n");
    EXPECT_FALSE(view->GetEditDocument()->CanUndo());
}

// Maximised documents: Ctrl+Tab through the frame's accelerators shows the next one whole, closing the
// active one shows the one left whole, and a document opened meanwhile joins them maximised.
TEST_F(HostFrame, MaximisedDocumentsAreShownWholeWhenSwitchedOpenedAndClosed) {
    std::string first, second;
    for (int i = 0; i < 40; ++i) first += "  NPOIN\t" + std::to_string(i) + "\tfirst document\n";
    for (int i = 0; i < 40; ++i) second += "\xB5\xDA\xB6\xFE\t" + std::to_string(i * 7) + "\tSECOND\n";
    CColorEditView* a = Open(first, "tessolin-host-a.dat");
    CColorEditView* b = Open(second, "tessolin-host-b.dat");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    ::SendMessageA(s_main->m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)b->GetParentFrame()->m_hWnd, 0);
    Pump();
    BOOL maximized = FALSE;
    s_main->MDIGetActive(&maximized);
    ASSERT_TRUE(maximized);

    Press(b, VK_TAB, true, false);
    ASSERT_EQ(ActiveView(), a) << "Ctrl+Tab activates the other document";
    a->UpdateWindow();
    EXPECT_EQ(ScreenDiffersFromRepaint(a), 0) << "after Ctrl+Tab";

    CColorEditView* c = Open("third\n", "tessolin-host-c.dat");
    ASSERT_NE(c, nullptr);
    s_main->MDIGetActive(&maximized);
    EXPECT_TRUE(maximized) << "a document opened among maximised ones is maximised too";
    EXPECT_TRUE(::IsZoomed(c->GetParentFrame()->m_hWnd));
    s_main->SendMessage(WM_COMMAND, ID_FILE_CLOSE);
    Pump();
    CEditScrollView* left = ActiveView();
    ASSERT_NE(left, nullptr);
    ASSERT_NE(left, c);
    s_main->MDIGetActive(&maximized);
    EXPECT_TRUE(maximized);
    left->UpdateWindow();
    EXPECT_EQ(ScreenDiffersFromRepaint(left), 0) << "after closing the maximised active document";
}

// The caption and the Window menu's list name the document from its opening on, with "*" after the
// name while it has unsaved changes.
TEST_F(HostFrame, TheCaptionAndTheWindowListMarkUnsavedChanges) {
    CColorEditView* view = Open("alpha\n", "tessolin-host-mark.dat");
    ASSERT_NE(view, nullptr);
    CFrameWnd* frame = view->GetParentFrame();
    EXPECT_EQ(frame->GetWindowText(), "tessolin-host-mark.dat");
    EXPECT_NE(WindowListEntry().find("tessolin-host-mark.dat"), std::string::npos) << WindowListEntry();
    view->SendMessage(WM_CHAR, 'x', 1);
    EXPECT_EQ(frame->GetWindowText(), "tessolin-host-mark.dat*");
    EXPECT_NE(WindowListEntry().find("tessolin-host-mark.dat*"), std::string::npos) << WindowListEntry();
    CDocument* doc = view->GetDocument();
    ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
    EXPECT_EQ(frame->GetWindowText(), "tessolin-host-mark.dat");
    EXPECT_EQ(WindowListEntry().find('*'), std::string::npos) << WindowListEntry();
}

TEST(ChapterHeadings, AreRecognisedByTheirFirstCharacters) {
    // 第十五章, 第二十三章 after blanks, Chapter in any case; not headings: 第章, 第一节, Chapter without
    // a number or glued to one, a heading further into the line.
    const struct {
        const char* line;
        unsigned number;
    } rows[] = {{" \t\xB5\xDA\xCA\xAE\xCE\xE5\xD5\xC2 x", 15},
                {"\xB5\xDA\xB6\xFE\xCA\xAE\xC8\xFD\xD5\xC2", 23},
                {"Chapter 8  Load cases", 8},
                {"  CHAPTER\t12", 12},
                {"\xB5\xDA\xD5\xC2", 0},
                {"\xB5\xDA\xD2\xBB\xBD\xDA", 0},
                {"Chapter x", 0},
                {"Chapter8", 0},
                {"; Chapter 8", 0}};
    for (const auto& row : rows)
        EXPECT_EQ(ChapterNumberOfHeading(row.line, (int)std::strlen(row.line)), row.number) << row.line;
    EXPECT_EQ(ChapterNumberOfHeading("\xB5\xDA\xD2\xBB\xD5\xC2", 5), 0u) << "cut before its 章";
    EXPECT_EQ(ChapterNumberOfHeading(nullptr, 0), 0u);
}

TEST_F(HostFrame, TheTitlesPanelListsTheActiveDocumentsHeadingsAndNavigatesItsView) {
    // 第一章 控制 on line 1, 第二章 节点 on line 100, Chapter 3 on line 110.
    const std::string first = "\xB5\xDA\xD2\xBB\xD5\xC2 \xBF\xD8\xD6\xC6";
    const std::string second = "\xB5\xDA\xB6\xFE\xD5\xC2 \xBD\xDA\xB5\xE3";
    std::string text = "; data\n" + first + "\n";
    for (int line = 2; line < 100; ++line) text += "  " + std::to_string(line) + "\n";
    text += second + "  \n";
    for (int line = 101; line < 110; ++line) text += "x\n";
    text += "  Chapter 3 loads\nend\n";
    CColorEditView* view = Open(text);
    ASSERT_NE(view, nullptr);
    theApp.OnIdle(0);
    CTitlesPanel& panel = s_main->GetTitlesPanel();
    HWND list = panel.GetList();
    ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    char item[64] = {};
    ::SendMessageA(list, LB_GETTEXT, 1, (LPARAM)item);
    EXPECT_EQ(std::string(item), second) << "trailing blanks dropped";
    ::SendMessageA(list, LB_GETTEXT, 2, (LPARAM)item);
    EXPECT_STREQ(item, "Chapter 3 loads");

    // Picked as the list box reports a click.
    ::SendMessageA(list, LB_SETCURSEL, 1, 0);
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(1, LBN_SELCHANGE), (LPARAM)list);
    CEditDocument* doc = view->GetEditDocument();
    EXPECT_EQ(view->Caret(), doc->GetLineOffset(100));
    EXPECT_EQ(view->TitleArrow().TitleLine(), 100);
    EXPECT_EQ(view->Model().First().line, 96);

    // A heading typed at the top shows at the next idle time.
    view->SetSelection(0, 0);
    for (char c : std::string("Chapter 4")) view->SendMessage(WM_CHAR, (BYTE)c, 1);
    view->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    theApp.OnIdle(0);
    ASSERT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
    ::SendMessageA(list, LB_GETTEXT, 0, (LPARAM)item);
    EXPECT_STREQ(item, "Chapter 4");

    // 窗口 > 标题 hides the panel and the documents take its place, and shows it again.
    HWND client = ::GetDlgItem(s_main->m_hWnd, AFX_IDW_PANE_FIRST);
    auto clientLeft = [&] {
        RECT rect;
        ::GetWindowRect(client, &rect);
        ::MapWindowPoints(nullptr, s_main->m_hWnd, (POINT*)&rect, 2);
        return rect.left;
    };
    EXPECT_EQ(clientLeft(), (int)CTitlesPanel::kWidth);
    s_main->SendMessage(WM_COMMAND, ID_VIEW_TITLES, 0);
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(clientLeft(), 0);
    s_main->SendMessage(WM_COMMAND, ID_VIEW_TITLES, 0);
    EXPECT_EQ(clientLeft(), (int)CTitlesPanel::kWidth);

    theApp.CloseAllDocuments(FALSE);
    Pump();
    theApp.OnIdle(0);
    EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 0) << "no document, no headings";
}

namespace {
// Answers the Save As dialog with the path in context; leaves every other request to the hook before.
struct SaveAsAnswer {
    std::string path;
    AFX_MODAL_HOOK previous = nullptr;
    void* previousContext = nullptr;
    static BOOL Answer(void* context, const AFX_MODAL_REQUEST& request, INT_PTR* answer) {
        auto* self = static_cast<SaveAsAnswer*>(context);
        if (request.kind != AFX_MODAL_FILEDIALOG)
            return self->previous != nullptr && self->previous(self->previousContext, request, answer);
        lstrcpynA(static_cast<CFileDialog*>(request.dialog)->m_szFileName, self->path.c_str(), MAX_PATH);
        *answer = IDOK;
        return TRUE;
    }
};
} // namespace

TEST_F(HostFrame, TheEncodingPaneAndSaveAsInAnotherEncoding) {
    ASSERT_NE(Open("a\xC3\xA9\n", "tessolin-host-utf8.dat"), nullptr);
    auto* bar = dynamic_cast<CStatusBar*>(s_main->GetDescendantWindow(AFX_IDW_STATUS_BAR));
    ASSERT_NE(bar, nullptr);
    theApp.OnIdle(0);
    EXPECT_STREQ((LPCSTR)bar->GetPaneText(2), "UTF-8");

    SaveAsAnswer saveAs{TempPath("tessolin-host-utf16.dat")};
    AfxSetModalHook(&SaveAsAnswer::Answer, &saveAs, &saveAs.previous, &saveAs.previousContext);
    s_main->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS_UTF16LE, 0);
    AfxSetModalHook(saveAs.previous, saveAs.previousContext);
    theApp.OnIdle(0);
    EXPECT_STREQ((LPCSTR)bar->GetPaneText(2), "UTF-16 LE");
    std::ifstream in(saveAs.path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("\xFF\xFE"
                                                                               "a\0\xE9\0\n\0",
                                                                               8));
}

TEST_F(HostFrame, AReadOnlyDocumentsViewRefusesKeysPasteUndoAndReplace) {
    CColorEditView* view = Open("abc\n");
    ASSERT_NE(view, nullptr);
    view->SendMessage(WM_CHAR, 'x', 1);
    CEditDocument* doc = view->GetEditDocument();
    doc->SetReadOnly(TRUE);
    const std::string before = Text(view);
    view->SendMessage(WM_CHAR, 'y', 1);
    view->SendMessage(WM_KEYDOWN, VK_DELETE, 1);
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_PASTE, ID_EDIT_CUT}) {
        view->SetSelection(0, 2);
        view->SendMessage(WM_COMMAND, id, 0);
    }
    EXPECT_FALSE(doc->ReplaceFound(0, "x", "z"));
    EXPECT_EQ(Text(view), before);
    theApp.OnIdle(0);
    EXPECT_NE(MenuState(1, ID_EDIT_UNDO), 0u) << "undo is greyed";
    doc->SetReadOnly(FALSE);
    view->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(Text(view), "abc\n");
}
