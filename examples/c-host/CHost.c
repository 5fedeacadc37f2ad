/* A plain C host of the Tessolin editor window: a menu, two editors side by side (a data file and a
 * check listing) and a status line fed by their notifications. Nothing but tessolin.h and Win32.
 *   c_host [data-file] [listing-file] [--check]
 * With --check the host opens the files, goes to a line, finds a title, types a character, checks
 * what its status line heard and exits: 0 when all went as expected. */
#include <windows.h>
#include <commdlg.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tessolin.h"

#define IDC_DATA 101
#define IDC_LISTING 102
#define IDC_STATUS 103
#define IDC_LINE 104

#define CMD_OPEN_DATA 201
#define CMD_OPEN_LISTING 202
#define CMD_SAVE 203
#define CMD_PRINT 204
#define CMD_EXIT 205
#define CMD_UNDO 206
#define CMD_CUT 207
#define CMD_COPY 208
#define CMD_PASTE 209
#define CMD_FIND 210
#define CMD_REPLACE 211
#define CMD_FIND_NEXT 212
#define CMD_GOTO 213

static HWND g_main, g_data, g_listing, g_status, g_line, g_active;
static char g_statusText[260] = "";
static char g_caretText[80] = "";
static int g_progress = -1, g_heardSelection = 0, g_heardStatus = 0;

static void ShowStatus(void) {
    char text[400];
    const char* modified = SendMessageA(g_active, EM_GETMODIFY, 0, 0) ? "  [modified]" : "";
    if (g_progress >= 0 && g_progress < 100)
        sprintf(text, "%s  loading %d%%", g_caretText, g_progress);
    else
        sprintf(text, "%s%s  %s", g_caretText, modified, g_statusText);
    SetWindowTextA(g_status, text);
}

/* Status texts arrive lower-cased and end with a line feed: the line feed goes. */
static void KeepStatusText(const char* text) {
    size_t n;
    strncpy(g_statusText, text != NULL ? text : "", sizeof g_statusText - 1);
    n = strlen(g_statusText);
    while (n > 0 && (g_statusText[n - 1] == '\n' || g_statusText[n - 1] == '\r')) g_statusText[--n] = '\0';
}

static void OnNotify(const TESSOLIN_NOTIFY* n) {
    if (n->hdr.hwndFrom != g_data && n->hdr.hwndFrom != g_listing) return;
    switch (n->hdr.code) {
    case TEN_SELCHANGE:
        g_active = n->hdr.hwndFrom;
        sprintf(g_caretText, "%s  line %d, column %d", g_active == g_data ? "data" : "listing", n->line,
                n->column);
        ++g_heardSelection;
        break;
    case TEN_STATUSTEXT:
        KeepStatusText(n->text);
        ++g_heardStatus;
        break;
    case TEN_PROGRESS:
        g_progress = n->progress;
        ShowStatus();
        UpdateWindow(g_status); /* loading runs inside the message: paint now */
        return;
    default: /* TEN_MODIFIED, TEN_CLOSING */
        break;
    }
    ShowStatus();
}

static void OpenInto(HWND editor, const char* filter) {
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = g_main;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&ofn)) SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)path);
}

static void GoToLine(void) {
    char text[32];
    GetWindowTextA(g_line, text, sizeof text);
    if (atoi(text) > 0) SendMessageA(g_active, TEM_GOTOLINE, (WPARAM)(atoi(text) - 1), 0);
    SetFocus(g_active);
}

static void OnCommand(int id) {
    switch (id) {
    case CMD_OPEN_DATA:
        OpenInto(g_data, "Data files (*.dat)\0*.dat\0All files (*.*)\0*.*\0");
        break;
    case CMD_OPEN_LISTING:
        OpenInto(g_listing, "Listings (*.out)\0*.out\0All files (*.*)\0*.*\0");
        break;
    case CMD_SAVE:
        SendMessageA(g_active, TEM_SAVEFILE, 0, 0);
        break;
    case CMD_PRINT:
        SendMessageA(g_active, TEM_PRINT, 0, 0);
        break;
    case CMD_EXIT:
        DestroyWindow(g_main);
        break;
    case CMD_UNDO:
        SendMessageA(g_active, EM_UNDO, 0, 0);
        break;
    case CMD_CUT:
        SendMessageA(g_active, WM_CUT, 0, 0);
        break;
    case CMD_COPY:
        SendMessageA(g_active, WM_COPY, 0, 0);
        break;
    case CMD_PASTE:
        SendMessageA(g_active, WM_PASTE, 0, 0);
        break;
    case CMD_FIND:
        SendMessageA(g_active, TEM_FINDDIALOG, 0, 0);
        break;
    case CMD_REPLACE:
        SendMessageA(g_active, TEM_FINDDIALOG, 1, 0);
        break;
    case CMD_FIND_NEXT:
        SendMessageA(g_active, TEM_FINDNEXT, 0, 0);
        break;
    case CMD_GOTO:
        SetFocus(g_line);
        SendMessageA(g_line, EM_SETSEL, 0, -1);
        break;
    default:
        break;
    }
}

/* The menu: File (0) and Edit (1); an item without text is a separator. */
static const struct {
    int popup;
    UINT id;
    const char* text;
} kMenuItems[] = {{0, CMD_OPEN_DATA, "Open data file...\tCtrl+O"},
                  {0, CMD_OPEN_LISTING, "Open check listing..."},
                  {0, CMD_SAVE, "Save\tCtrl+S"},
                  {0, CMD_PRINT, "Print...\tCtrl+P"},
                  {0, 0, NULL},
                  {0, CMD_EXIT, "Exit"},
                  {1, CMD_UNDO, "Undo\tCtrl+Z"},
                  {1, CMD_CUT, "Cut\tCtrl+X"},
                  {1, CMD_COPY, "Copy\tCtrl+C"},
                  {1, CMD_PASTE, "Paste\tCtrl+V"},
                  {1, 0, NULL},
                  {1, CMD_FIND, "Find...\tCtrl+F"},
                  {1, CMD_REPLACE, "Replace...\tCtrl+H"},
                  {1, CMD_FIND_NEXT, "Find next\tF3"},
                  {1, CMD_GOTO, "Go to line...\tCtrl+G"}};

static HMENU MakeMenu(void) {
    HMENU bar = CreateMenu(), popups[2];
    size_t i;
    popups[0] = CreatePopupMenu();
    popups[1] = CreatePopupMenu();
    for (i = 0; i < sizeof kMenuItems / sizeof kMenuItems[0]; ++i)
        AppendMenuA(popups[kMenuItems[i].popup], kMenuItems[i].text != NULL ? MF_STRING : MF_SEPARATOR,
                    kMenuItems[i].id, kMenuItems[i].text);
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)popups[0], "&File");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)popups[1], "&Edit");
    return bar;
}

static HACCEL MakeAccelerators(void) {
    static ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', CMD_OPEN_DATA}, {FCONTROL | FVIRTKEY, 'S', CMD_SAVE},
                           {FCONTROL | FVIRTKEY, 'P', CMD_PRINT},     {FCONTROL | FVIRTKEY, 'Z', CMD_UNDO},
                           {FCONTROL | FVIRTKEY, 'X', CMD_CUT},       {FCONTROL | FVIRTKEY, 'C', CMD_COPY},
                           {FCONTROL | FVIRTKEY, 'V', CMD_PASTE},     {FCONTROL | FVIRTKEY, 'F', CMD_FIND},
                           {FCONTROL | FVIRTKEY, 'H', CMD_REPLACE},   {FVIRTKEY, VK_F3, CMD_FIND_NEXT},
                           {FCONTROL | FVIRTKEY, 'G', CMD_GOTO}};
    return CreateAcceleratorTableA(keys, sizeof keys / sizeof keys[0]);
}

static void Layout(int width, int height) {
    int half = width / 2, bottom = height - 24;
    MoveWindow(g_data, 0, 0, half - 2, bottom, TRUE);
    MoveWindow(g_listing, half + 2, 0, width - half - 2, bottom, TRUE);
    MoveWindow(g_status, 0, bottom + 2, width - 80, 22, TRUE);
    MoveWindow(g_line, width - 76, bottom + 2, 72, 22, TRUE);
}

static HWND Child(const char* cls, DWORD style, int id) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, g_main,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

static LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        g_main = hwnd;
        g_data = Child(TESSOLIN_EDIT_CLASSA, WS_BORDER | TES_DATAFILE, IDC_DATA);
        g_listing = Child(TESSOLIN_EDIT_CLASSA, WS_BORDER | TES_CHECKLISTING, IDC_LISTING);
        g_status = Child("STATIC", SS_LEFTNOWORDWRAP | SS_SUNKEN, IDC_STATUS);
        g_line = Child("EDIT", WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, IDC_LINE);
        g_active = g_data;
        return g_data != NULL && g_listing != NULL ? 0 : -1;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS:
        SetFocus(g_active);
        return 0;
    case WM_NOTIFY:
        OnNotify((const TESSOLIN_NOTIFY*)lParam);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_LINE || HIWORD(wParam) == EN_CHANGE) return 0;
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

/* What a user does first, done by the program: every step must be heard on the status line. */
static int Check(void) {
    int failures = 0;
    if (SendMessageA(g_data, TEM_GOTOLINE, 9, 0) != 9) ++failures;
    if (SendMessageA(g_listing, TEM_FINDTITLE, 1, (LPARAM) "\xB5\xDA\xD2\xBB\xD5\xC2| 1") < 0) ++failures;
    SetFocus(g_data);
    SendMessageA(g_data, WM_CHAR, 'x', 0);
    if (!SendMessageA(g_data, EM_GETMODIFY, 0, 0) || g_heardSelection < 2 || g_heardStatus < 2) ++failures;
    SendMessageA(g_data, EM_UNDO, 0, 0);
    printf("status line: %s\nchecks failed: %d\n", g_statusText, failures);
    return failures;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    WNDCLASSA wc;
    MSG msg;
    HACCEL keys;
    int i, check = 0, files = 0, result = 0;
    (void)previous;
    (void)commandLine;
    if (LoadLibraryA("libtessolin.dll") == NULL) return 2; /* loading it registers "TessolinEdit" */
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TessolinCHost";
    RegisterClassA(&wc);
    if (CreateWindowExA(0, wc.lpszClassName, "Tessolin C host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                        1100, 700, NULL, MakeMenu(), instance, NULL) == NULL)
        return 2;
    ShowWindow(g_main, show);
    UpdateWindow(g_main);
    for (i = 1; i < __argc; ++i) {
        if (strcmp(__argv[i], "--check") == 0)
            check = 1;
        else if (!SendMessageA(files++ == 0 ? g_data : g_listing, TEM_OPENFILE, 0, (LPARAM)__argv[i]))
            result = 1;
    }
    if (check) {
        result += Check();
        DestroyWindow(g_main);
    }
    keys = MakeAccelerators();
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        HWND active = GetActiveWindow();
        /* the editors' modeless find dialog is an ordinary dialog of this thread */
        if (active != g_main && active != NULL && IsDialogMessageA(active, &msg)) continue;
        if (TranslateAcceleratorA(g_main, keys, &msg)) continue;
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == g_line) {
            GoToLine();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyAcceleratorTable(keys);
    return result;
}
