// What the view benchmarks share: options, the clock, the message pump, the generated data files and
// a main window with one editor template.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "documents/DataEditDocs.h"
#include "framework/win/DocTemplate.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/StatusBar.h"
#include "framework/win/WinApp.h"
#include "views/BlackEditView.h"
#include "views/ColorEditView.h"

namespace bench {
inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Data-file lines with remarks, keywords, quoted names and now and then a GBK chapter heading.
inline std::string DataFile(long long bytes) {
    static const char* const lines[] = {
        "   12   0.500   1.250e+03   7 ; node\r\n",
        "\t4.0\t-2.5\t0.0 'name' ; remark\r\n",
        "  NPOIN  128  3.75  IPOIN 4 OVER\r\n",
        "  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16\r\n",
        "END\r\n",
    };
    std::string s;
    s.reserve((size_t)bytes + 128);
    for (unsigned n = 0; (long long)s.size() < bytes; ++n)
        s += n % 4999 == 0 ? "\xB5\xDA\xD2\xBB\xD5\xC2 CHAPTER 1\r\n" : lines[(n * 7) % 5];
    return s;
}

// The same bytes as one line: every line end a space, and no line feed at all.
inline std::string OneLine(std::string text) {
    std::string line;
    line.reserve(text.size());
    for (char c : text)
        if (c != '\r') line += c == '\n' ? ' ' : c;
    return line;
}

// The generated data file of the size, written once into the temporary folder; 0 megabytes gives a
// file of two bytes; oneLine makes it a single line.
inline std::string EnsureFile(int megabytes, bool oneLine = false) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "tessolin-view-bench-" + std::to_string(megabytes) +
                       (oneLine ? "mb-one-line.dat" : "mb.dat");
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return path;
    std::string text = megabytes > 0 ? DataFile((long long)megabytes << 20) : "1\n";
    if (oneLine) text = OneLine(text);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return std::string();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// One command sent to the view, to the end of the paint it caused; milliseconds.
inline double CommandMs(CEditScrollView* view, UINT id) {
    Pump();
    double start = Now();
    view->SendMessage(WM_COMMAND, id, 0);
    ::UpdateWindow(view->m_hWnd);
    return (Now() - start) * 1e3;
}

// The document's whole text with its terminator.
inline std::string DocumentText(CEditDocument* doc) {
    return std::string(doc->GetTextBuffer(0), (size_t)doc->GetLength());
}

// Undo and then redo of the newest change, each to painted and each checked against the text it
// must give back (before, after).
struct Replay {
    double undoMs = 0, redoMs = 0;
    bool undoExact = false, redoExact = false;
    static const char* Verdict(bool exact) { return exact ? "text identical" : "TEXT DIFFERS"; }
};
inline Replay UndoAndRedo(CEditScrollView* view, const std::string& before, const std::string& after) {
    Replay r;
    r.undoMs = CommandMs(view, ID_EDIT_UNDO);
    r.undoExact = DocumentText(view->GetEditDocument()) == before;
    r.redoMs = CommandMs(view, ID_EDIT_REDO);
    r.redoExact = DocumentText(view->GetEditDocument()) == after;
    return r;
}

// --megabytes=1,100 --repeats=N --view=CColorEditView|CBlackEditView --one-line
// --options=gbk,colors,long,undo, in any order; sizes without --megabytes are the program's own;
// --one-line makes each file a single line; --options switches the documents' options on as they open.
struct Options {
    std::vector<int> sizes;
    int repeats = 5;
    const char* viewClass = "CColorEditView";
    bool oneLine = false;
    unsigned editOptions = 0;
    bool Plain() const { return std::strcmp(viewClass, "CBlackEditView") == 0; }

    Options(int argc, char** argv, std::vector<int> defaultSizes = {1, 100})
        : sizes(std::move(defaultSizes)) {
        for (int i = 1; i < argc; ++i) {
            if (std::strncmp(argv[i], "--megabytes=", 12) == 0) {
                sizes.clear();
                for (const char* p = argv[i] + 12; *p != 0;
                     p = std::strchr(p, ',') ? std::strchr(p, ',') + 1 : "")
                    sizes.push_back(std::atoi(p));
            } else if (std::strncmp(argv[i], "--repeats=", 10) == 0) {
                repeats = std::atoi(argv[i] + 10);
            } else if (std::strncmp(argv[i], "--view=", 7) == 0) {
                viewClass = argv[i] + 7;
            } else if (std::strcmp(argv[i], "--one-line") == 0) {
                oneLine = true;
            } else if (std::strncmp(argv[i], "--options=", 10) == 0) {
                const char* list = argv[i] + 10;
                if (std::strstr(list, "gbk")) editOptions |= kOptionGbkCharacters;
                if (std::strstr(list, "colors")) editOptions |= kOptionWholeTextColors;
                if (std::strstr(list, "long")) editOptions |= kOptionLongLines;
                if (std::strstr(list, "undo")) editOptions |= kOptionDeepUndo;
            }
        }
    }
};

// An MDI main window with a host's status bar (message pane and the caret-position pane the views
// fill) and one template of the chosen family; message boxes are answered Cancel.
class Host {
public:
    Host(CWinApp& app, const Options& options)
        : m_app(app), m_oneLine(options.oneLine), m_options(options.editOptions) {
        bool plain = options.Plain();
        m_main = new CMDIFrameWnd;
        if (!m_main->LoadFrame(1, WS_OVERLAPPEDWINDOW)) return;
        app.m_pMainWnd = m_main;
        static const UINT panes[] = {ID_SEPARATOR, ID_SEPARATOR};
        if (m_statusBar.Create(m_main) && m_statusBar.SetIndicators(panes, 2))
            m_statusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 200);
        m_main->MoveWindow(0, 0, 1700, 1150);
        m_main->ShowWindow(SW_SHOW);
        m_template =
            new CMultiDocTemplate(1, plain ? RUNTIME_CLASS(CBlackEditDoc) : RUNTIME_CLASS(CDataEditDoc),
                                  RUNTIME_CLASS(CMDIChildWnd),
                                  plain ? RUNTIME_CLASS(CBlackEditView) : RUNTIME_CLASS(CColorEditView));
        app.AddDocTemplate(m_template);
    }
    ~Host() {
        m_app.m_pMainWnd = nullptr;
        if (m_main != nullptr) m_main->DestroyWindow();
    }
    // The view of a generated data file of the size, its client area width x height; null (and the
    // failure printed) when it could not be opened.
    CEditScrollView* Open(int megabytes, int width, int height) {
        CEditScrollView* view = OpenView(megabytes);
        if (view == nullptr) {
            std::printf("%d MB: open failed\n", megabytes);
            return nullptr;
        }
        CRect client, outer;
        view->GetClientRect(&client);
        view->GetParent()->GetWindowRect(&outer);
        view->GetParent()->MoveWindow(0, 0, outer.Width() + width - client.Width(),
                                      outer.Height() + height - client.Height());
        view->SetFocus();
        Pump();
        return view;
    }
    // Closes the view's document without asking about its edits.
    static void Close(CEditScrollView* view) {
        CEditDocument* doc = view->GetEditDocument();
        doc->SetModifiedFlag(FALSE);
        doc->OnCloseDocument();
        Pump();
    }

    // The view of the generated file of the size as the template opens it, or null.
    CEditScrollView* OpenView(int megabytes) {
        if (m_template == nullptr) return nullptr;
        std::string path = EnsureFile(megabytes, m_oneLine);
        CDocument* doc = m_template->OpenDocumentFile(path.c_str());
        if (doc == nullptr) return nullptr;
        for (unsigned option = 1; option <= kOptionDeepUndo; option <<= 1)
            if (m_options & option) static_cast<CEditDocument*>(doc)->SetOption((EditOption)option, TRUE);
        POSITION position = doc->GetFirstViewPosition();
        return dynamic_cast<CEditScrollView*>(doc->GetNextView(position));
    }
    CMDIFrameWnd* MainWindow() const { return m_main; }

private:
    CWinApp& m_app;
    bool m_oneLine;
    unsigned m_options;
    CModalRecorder m_boxes{IDCANCEL};
    CMDIFrameWnd* m_main = nullptr;
    CStatusBar m_statusBar;
    CMultiDocTemplate* m_template = nullptr;
};
} // namespace bench
