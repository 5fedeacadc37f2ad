// The editor window class as a foreign host uses it: created in a plain window, driven by messages,
// heard through WM_NOTIFY and EN_CHANGE; files, the clipboard, undo, the answers at the text's edges,
// hostile arguments, and nothing left behind by a hundred editors made and destroyed.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "include/tessolin/tessolin.h"
#include "tests/common/ClipboardTestKit.h"

namespace {
struct Heard {
    UINT code;
    int line, column, modified, progress;
    std::string text;
};
std::vector<Heard> g_heard;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const TESSOLIN_NOTIFY* n = (const TESSOLIN_NOTIFY*)lParam;
        g_heard.push_back(
            {n->hdr.code, n->line, n->column, n->modified, n->progress, n->text ? n->text : ""});
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) g_heard.push_back({EN_CHANGE, 0, 0, 0, 0, ""});
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// Presses OK on every message box of this process (a failed read shows one) and counts them.
class BoxCloser {
public:
    BoxCloser() : m_thread([this] { Run(); }) {}
    ~BoxCloser() {
        m_stop = true;
        m_thread.join();
    }
    int Closed() const { return m_closed; }
    HWND Owner() const { return m_owner; }

private:
    void Run() {
        while (!m_stop) {
            HWND box = ::FindWindowA("#32770", nullptr);
            DWORD process = 0;
            if (box != nullptr && ::IsWindowVisible(box) && ::GetWindowThreadProcessId(box, &process) &&
                process == ::GetCurrentProcessId()) {
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                if (box != m_last) ++m_closed;
                m_owner = ::GetWindow(box, GW_OWNER);
                m_last = box;
            }
            ::Sleep(20);
        }
    }
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_closed{0};
    HWND m_last = nullptr;
    std::atomic<HWND> m_owner{nullptr};
    std::thread m_thread;
};

class ControlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_NE(::LoadLibraryA("libtessolin.dll"), nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlainHost";
        ::RegisterClassA(&wc);
    }
    void SetUp() override {
        m_host = ::CreateWindowExA(0, "PlainHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 500,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_host, nullptr);
        g_heard.clear();
    }
    void TearDown() override { ::DestroyWindow(m_host); }
    HWND Editor(DWORD kind, int id = 1, int x = 0) {
        return ::CreateWindowExA(0, TESSOLIN_EDIT_CLASSA, "", WS_CHILD | WS_VISIBLE | kind, x, 0, 440, 400,
                                 m_host, (HMENU)(INT_PTR)id, nullptr, nullptr);
    }
    static std::string Text(HWND editor) {
        std::string text((size_t)::SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0) + 1, '\0');
        text.resize((size_t)::SendMessageA(editor, WM_GETTEXT, text.size(), (LPARAM)&text[0]));
        return text;
    }
    static void Type(HWND editor, const char* text) {
        for (; *text != '\0'; ++text)
            if (*text == '\n')
                ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
            else
                ::SendMessageA(editor, WM_CHAR, (unsigned char)*text, 0);
    }
    static std::string TempPath(const char* name) {
        char folder[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        return std::string(folder) + name;
    }
    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    HWND m_host = nullptr;
};

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboardPatiently(nullptr)) return text;
    if (HANDLE block = ::GetClipboardData(CF_TEXT)) {
        text = (const char*)::GlobalLock(block);
        ::GlobalUnlock(block);
    }
    ::CloseClipboard();
    return text;
}
} // namespace

TEST_F(ControlTest, KindsAndTwoEditorsInOneWindowWorkIndependently) {
    HWND plain = Editor(TES_PLAIN, 1), data = Editor(TES_DATAFILE, 2, 450);
    HWND wide = ::CreateWindowExW(0, TESSOLIN_EDIT_CLASSW, L"", WS_CHILD | TES_CHECKLISTING, 0, 0, 100, 100,
                                  m_host, (HMENU)3, nullptr, nullptr);
    ASSERT_TRUE(plain && data && wide);
    Type(plain, "abc");
    Type(data, "x");
    EXPECT_EQ(Text(plain), "abc");
    EXPECT_EQ(Text(data), "x");
    EXPECT_EQ(::SendMessageA(plain, TEM_ADDKEYWORD, RGB(255, 0, 0), (LPARAM) "abc"), 0);
    EXPECT_EQ(::SendMessageA(data, TEM_ADDKEYWORD, RGB(255, 0, 0), (LPARAM) "x"), 1);
    EXPECT_EQ(::SendMessageA(data, TEM_ADDCOMMENT, RGB(0, 128, 0), (LPARAM) "/*\0*/"), 1);
    EXPECT_NE(::SendMessageA(plain, WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS),
              0);
    EXPECT_EQ(::SendMessageA(wide, EM_GETLINECOUNT, 0, 0), 1);
}

// A dialog's message loop leaves Tab and Enter to the focused editor instead of moving the focus.
TEST_F(ControlTest, InADialogTheEditorKeepsTabAndEnter) {
    HWND editor = Editor(TES_PLAIN);
    ::CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 450, 0, 80,
                      24, m_host, (HMENU)IDOK, nullptr, nullptr);
    ::SetFocus(editor);
    for (WPARAM key : {(WPARAM)VK_TAB, (WPARAM)VK_RETURN}) {
        MSG msg = {::GetFocus(), WM_KEYDOWN, key, 1, 0, {0, 0}};
        EXPECT_TRUE(::IsDialogMessageA(m_host, &msg));
        EXPECT_TRUE(::IsChild(editor, ::GetFocus()));
    }
    EXPECT_EQ(Text(editor), "\t\r\n");
}

TEST_F(ControlTest, TypingSelectionClipboardAndUndo) {
    HWND editor = Editor(TES_COLORED);
    Type(editor, "one\ntwo");
    EXPECT_EQ(Text(editor), "one\r\ntwo");
    EXPECT_EQ(::SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0), 8);
    ::SendMessageA(editor, EM_SETSEL, 4, 7);
    DWORD start = 0, end = 0;
    EXPECT_EQ(::SendMessageA(editor, EM_GETSEL, (WPARAM)&start, (LPARAM)&end), MAKELONG(4, 7));
    EXPECT_EQ(start, 4u);
    EXPECT_EQ(end, 7u);
    ::SendMessageA(editor, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), "two");
    ::SendMessageA(editor, EM_SETSEL, 0, 0);
    ::SendMessageA(editor, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(editor), "twoone\r\ntwo");
    EXPECT_TRUE(::SendMessageA(editor, EM_CANUNDO, 0, 0));
    ::SendMessageA(editor, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(editor), "one\r\ntwo");
    ::SendMessageA(editor, EM_SETSEL, 0, 3);
    EXPECT_EQ(::SendMessageA(editor, EM_REPLACESEL, TRUE, (LPARAM) "\xD6\xD0\xCE\xC4"), 1); // 中文
    EXPECT_EQ(Text(editor), "\xD6\xD0\xCE\xC4\r\ntwo");
    ::SendMessageA(editor, WM_UNDO, 0, 0); // the replacement was one record
    EXPECT_EQ(Text(editor), "one\r\ntwo");
    ::SendMessageA(editor, EM_SETREADONLY, TRUE, 0);
    Type(editor, "zz");
    ::SendMessageA(editor, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(editor), "one\r\ntwo");
    ::SendMessageA(editor, EM_SETSEL, 0, 0);
    EXPECT_EQ(::SendMessageA(editor, EM_REPLACESEL, FALSE, (LPARAM) "host:"), 1);
    EXPECT_EQ(Text(editor), "host:one\r\ntwo");
    EXPECT_TRUE(::SendMessageA(editor, WM_SETTEXT, 0, (LPARAM) "a\r\nb"));
    EXPECT_EQ(Text(editor), "a\r\nb");
    EXPECT_FALSE(::SendMessageA(editor, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(::SendMessageA(editor, EM_CANUNDO, 0, 0));
}

TEST_F(ControlTest, OpenSaveReloadAndPaths) {
    std::string path = TempPath("control-open.dat"), copy = TempPath("control-copy.dat");
    WriteFile(path, "*chapter one\nline \xD6\xD0\n*chapter two\nend\n");
    HWND editor = Editor(TES_DATAFILE);
    EXPECT_EQ(::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)path.c_str()), 1);
    EXPECT_EQ(::SendMessageA(editor, EM_GETLINECOUNT, 0, 0), 5);
    char buffer[MAX_PATH];
    EXPECT_EQ(::SendMessageA(editor, TEM_GETPATH, MAX_PATH, (LPARAM)buffer), (LRESULT)path.size());
    EXPECT_EQ(std::string(buffer), path);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDTITLE, 2, (LPARAM) "*chapter two| 2"), 2);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDTITLE, 9, (LPARAM) "nowhere| 9"), -1);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDTITLE, 1, (LPARAM) "chapter| 1"), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDNEXT, 0, 0), 1); // the title's hit, now selected
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDNEXT, 0, 0), 22);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDDIALOG, 1, 0), 1);
    ::SendMessageA(::FindWindowA("#32770", nullptr), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_GOTOLINE, 1, 0), 1);
    EXPECT_EQ(::SendMessageA(editor, EM_LINEFROMCHAR, (WPARAM)-1, 0), 1);
    Type(editor, "X");
    EXPECT_TRUE(::SendMessageA(editor, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(::SendMessageA(editor, TEM_SAVEFILE, 0, 0), 1);
    EXPECT_EQ(FileBytes(path), "*chapter one\r\nXline \xD6\xD0\r\n*chapter two\r\nend\r\n"); // text mode
    EXPECT_FALSE(::SendMessageA(editor, EM_GETMODIFY, 0, 0));
    std::wstring wideCopy(copy.begin(), copy.end());
    EXPECT_EQ(::SendMessageW(editor, TEM_SAVEFILEW, 0, (LPARAM)wideCopy.c_str()), 1);
    EXPECT_EQ(FileBytes(copy), FileBytes(path));
    WriteFile(copy, "changed\n");
    EXPECT_EQ(::SendMessageA(editor, TEM_RELOAD, 0, 0), 1);
    EXPECT_EQ(Text(editor), "changed\r\n");
    EXPECT_EQ(::SendMessageW(editor, TEM_OPENFILEW, 0, (LPARAM)wideCopy.c_str()), 1);
    EXPECT_EQ(::SendMessageA(editor, TEM_PRINT, 1, 0), 1); // directly, on the test printer
    BoxCloser closer;
    EXPECT_EQ(::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM) "Z:\\no\\such\\file.dat"), 0);
    EXPECT_EQ(closer.Closed(), 1);
    EXPECT_EQ(closer.Owner(), m_host); // the editor's top-level window
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(copy.c_str());
}

TEST_F(ControlTest, NotificationsComeInOrderWithTheirContents) {
    std::string path = TempPath("control-notify.dat");
    WriteFile(path, "ab\ncd\n");
    HWND editor = Editor(TES_DATAFILE, 7);
    ASSERT_EQ(::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)path.c_str()), 1);
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(g_heard[0].code, (UINT)TEN_STATUSTEXT);
    EXPECT_NE(g_heard[0].text.find("control-notify.dat"), std::string::npos);
    bool full = false;
    for (const Heard& h : g_heard) full = full || (h.code == (UINT)TEN_PROGRESS && h.progress == 100);
    EXPECT_TRUE(full);
    EXPECT_EQ(g_heard.back().code, (UINT)TEN_STATUSTEXT) << "the loading text is over when the file is";
    EXPECT_EQ(g_heard.back().text.find("control-notify.dat"), std::string::npos);
    g_heard.clear();
    Type(editor, "Q");
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(g_heard[0].code, (UINT)EN_CHANGE);
    EXPECT_EQ(g_heard[1].code, (UINT)TEN_MODIFIED);
    EXPECT_EQ(g_heard[1].modified, 1);
    EXPECT_EQ(g_heard[2].code, (UINT)TEN_SELCHANGE);
    EXPECT_EQ(g_heard[2].line, 1);
    EXPECT_EQ(g_heard[2].column, 2);
    g_heard.clear();
    ::SendMessageA(editor, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].code, (UINT)TEN_SELCHANGE);
    EXPECT_EQ(g_heard[0].line, 2);
    g_heard.clear();
    BoxCloser closer;
    ::DestroyWindow(editor); // unsaved: closes without asking
    EXPECT_EQ(closer.Closed(), 0);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].code, (UINT)TEN_CLOSING);
    ::DeleteFileA(path.c_str());
}

TEST_F(ControlTest, EdgesAndHostileArgumentsAnswerZeroOrMinusOneAndChangeNothing) {
    HWND editor = Editor(TES_COLORED);
    ::SendMessageA(editor, WM_SETTEXT, 0, (LPARAM) "ab\ncd");
    EXPECT_EQ(::SendMessageA(editor, EM_LINEFROMCHAR, 5, 0), 1);
    EXPECT_EQ(::SendMessageA(editor, EM_LINEFROMCHAR, 6, 0), -1);
    EXPECT_EQ(::SendMessageA(editor, EM_LINEINDEX, 1, 0), 3);
    EXPECT_EQ(::SendMessageA(editor, EM_LINEINDEX, 2, 0), -1);
    EXPECT_EQ(::SendMessageA(editor, EM_LINELENGTH, 0, 0), 2);
    ::SendMessageA(editor, EM_SETSEL, 0, -1);
    EXPECT_EQ(::SendMessageA(editor, EM_GETSEL, 0, 0), MAKELONG(0, 5));
    ::SendMessageA(editor, EM_SETSEL, 99999, 0x7FFFFFFF);
    EXPECT_EQ(::SendMessageA(editor, EM_GETSEL, 0, 0), MAKELONG(5, 5));
    const WPARAM huge = (WPARAM)-7;
    EXPECT_EQ(::SendMessageA(editor, WM_GETTEXT, 10, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, WM_GETTEXT, 0, (LPARAM) "x"), 0);
    EXPECT_EQ(::SendMessageA(editor, WM_SETTEXT, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, EM_REPLACESEL, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_OPENFILE, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(editor, TEM_OPENFILEW, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_SAVEFILE, 0, 0), 0); // no file yet
    EXPECT_EQ(::SendMessageA(editor, TEM_RELOAD, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDTITLE, huge, 0), -1);
    EXPECT_EQ(::SendMessageA(editor, TEM_SETOPTION, huge, 1), -1);
    EXPECT_EQ(::SendMessageA(editor, TEM_GETOPTION, 0, 0), -1);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDDIALOG, huge, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_FINDNEXT, 0, 0), -1);
    EXPECT_EQ(::SendMessageA(editor, TEM_PRINT, huge, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_ADDKEYWORD, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_GETPATH, huge, 0), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_GOTOLINE, huge, 0), 1);
    EXPECT_EQ(::SendMessageA(editor, EM_LINEINDEX, huge, 0), 3); // -7 is "the caret's line"
    EXPECT_EQ(Text(editor), "ab\r\ncd");
    EXPECT_FALSE(::SendMessageA(editor, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(::SendMessageA(editor, TEM_SETOPTION, TEO_GBKCHARACTERS, 1), 0);
    EXPECT_EQ(::SendMessageA(editor, TEM_GETOPTION, TEO_GBKCHARACTERS, 0), 1);
}

// The windows of this thread, their children with them.
BOOL CALLBACK CountOne(HWND, LPARAM counter) {
    return ++*(int*)counter, TRUE;
}
BOOL CALLBACK CountWithChildren(HWND top, LPARAM counter) {
    ::EnumChildWindows(top, CountOne, counter);
    return CountOne(top, counter);
}
int CountWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWithChildren, (LPARAM)&count);
    return count;
}

// The bytes in use on every heap of the process (the C runtime's allocations among them).
long long HeapBytes() {
    HANDLE heaps[64];
    DWORD count = ::GetProcessHeaps(64, heaps);
    long long bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        ::HeapLock(heaps[i]);
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        ::HeapUnlock(heaps[i]);
    }
    return bytes;
}

// Handles and memory after 100 editors made, typed into and destroyed unsaved, against the start.
// GetGuiResources answers 0 under Wine, so the windows and kernel handles are counted as well.
TEST_F(ControlTest, HundredCreateDestroyCyclesLeaveNothingBehind) {
    auto cycle = [this] {
        HWND editor = Editor(TES_DATAFILE);
        Type(editor, "leak?\n");
        ::SendMessageA(editor, EM_SETSEL, 0, 3);
        ::DestroyWindow(editor);
        g_heard.clear();
        g_heard.shrink_to_fit(); // the test's own record of the notifications
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    };
    struct Figures {
        DWORD gdi, user, handles;
        int windows;
        long long heap;
    };
    auto now = [] {
        HANDLE self = ::GetCurrentProcess();
        Figures f = {::GetGuiResources(self, GR_GDIOBJECTS), ::GetGuiResources(self, GR_USEROBJECTS), 0,
                     CountWindows(), HeapBytes()};
        ::GetProcessHandleCount(self, &f.handles);
        return f;
    };
    for (int i = 0; i < 5; ++i) cycle(); // first-use allocations: fonts, classes, the application
    Figures a = now();
    for (int i = 0; i < 100; ++i) cycle();
    Figures b = now();
    std::printf("100 cycles: GDI %lu -> %lu, USER %lu -> %lu, kernel handles %lu -> %lu, windows %d -> %d, "
                "heap bytes %lld -> %lld\n",
                a.gdi, b.gdi, a.user, b.user, a.handles, b.handles, a.windows, b.windows, a.heap, b.heap);
    EXPECT_LE(b.gdi, a.gdi);
    EXPECT_LE(b.user, a.user);
    EXPECT_LE(b.handles, a.handles);
    EXPECT_EQ(b.windows, a.windows);
    EXPECT_LT(b.heap - a.heap, 16 * 1024);
}

TEST_F(ControlTest, UnicodeFilesTheirEncodingAndTheReadOnlyFileThatLostCharacters) {
    std::string path = TempPath("control-utf8.txt"), lost = TempPath("control-lost.txt");
    WriteFile(path, "a\n\xE4\xB8\xAD\n");
    WriteFile(lost, "a\n\xF0\x9F\x98\x80\n");
    HWND editor = Editor(TES_COLORED);
    ASSERT_EQ(::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)path.c_str()), 1);
    EXPECT_EQ(::SendMessageA(editor, TEM_GETENCODING, 0, 0), TEE_UTF8);
    EXPECT_EQ(Text(editor), "a\r\n\xD6\xD0\r\n");
    EXPECT_EQ(::SendMessageA(editor, TEM_SETENCODING, TEE_UTF16LE, 0), 1);
    ASSERT_EQ(::SendMessageA(editor, TEM_SAVEFILE, 0, 0), 1);
    EXPECT_EQ(FileBytes(path), std::string("\xFF\xFE"
                                           "a\0\n\0\x2D\x4E\n\0",
                                           10))
        << "LF only, as it came";
    std::string shown;
    {
        BoxCloser boxes;
        ASSERT_EQ(::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)lost.c_str()), 1);
        shown = Text(editor);
        ::SendMessageA(editor, EM_SETREADONLY, FALSE, 0);
        Type(editor, "zz");
        ::SendMessageA(editor, WM_PASTE, 0, 0);
        EXPECT_EQ(::SendMessageA(editor, TEM_SETENCODING, TEE_GBK, 0), 0);
        EXPECT_EQ(::SendMessageA(editor, TEM_SAVEFILE, 0, 0), 0);
        while (boxes.Closed() < 3) ::Sleep(20);
    }
    EXPECT_EQ(shown.substr(0, 4), "a\r\n?");
    EXPECT_EQ(Text(editor), shown);
    EXPECT_EQ(FileBytes(lost), "a\n\xF0\x9F\x98\x80\n");
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(lost.c_str());
}

// Whatever the system's code page, the clipboard carries the GBK text as its own characters both ways.
TEST_F(ControlTest, TheClipboardsUnicodeTextHoldsTheGbkCharacters) {
    HWND editor = Editor(TES_PLAIN);
    ::SendMessageA(editor, WM_SETTEXT, 0, (LPARAM) "\xD6\xD0\xCE\xC4");
    ::SendMessageA(editor, EM_SETSEL, 0, -1);
    ::SendMessageA(editor, WM_COPY, 0, 0);
    std::wstring copied;
    ASSERT_TRUE(OpenClipboardPatiently(nullptr));
    if (HANDLE block = ::GetClipboardData(CF_UNICODETEXT)) {
        copied = (const wchar_t*)::GlobalLock(block);
        ::GlobalUnlock(block);
    }
    EXPECT_EQ(copied, L"\x4E2D\x6587"); // 中文
    ::EmptyClipboard();
    HGLOBAL wide = ::GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
    std::memcpy(::GlobalLock(wide), L"\x6587\r\n", 4 * sizeof(wchar_t)); // 文 and a line end
    ::GlobalUnlock(wide);
    ::SetClipboardData(CF_UNICODETEXT, wide);
    ::CloseClipboard();
    ::SendMessageA(editor, EM_SETSEL, 0, -1);
    ::SendMessageA(editor, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(editor), "\xCE\xC4\r\n");
}
