// Full repaints of a 1600 x 1000 editor view of a generated data file, at the top, the middle and the
// end of the text, for 1 MB and 100 MB files: painting must cost the same whatever the file's size or
// the place in it. Each figure is the best of the repeats of InvalidateRect + UpdateWindow.
// Usage: bench_views [--megabytes=1,100] [--repeats=N] [--view=CColorEditView|CBlackEditView]
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
#include "framework/win/WinApp.h"
#include "views/BlackEditView.h"
#include "views/ColorEditView.h"

namespace {
CWinApp theApp("bench_views");

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Data-file lines with remarks, keywords, quoted names and now and then a GBK chapter heading.
std::string DataFile(long long bytes) {
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

std::string EnsureFile(int megabytes) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "tessolin-repaint-bench-" + std::to_string(megabytes) + "mb.dat";
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return path;
    std::string text = DataFile((long long)megabytes << 20);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return std::string();
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return path;
}

// Each repaint recolours the visible window first, as the first paint after an edit or a scroll does.
double BestRepaint(CView* view, CEditViewLink* link, int repeats) {
    double best = 1e30;
    for (int r = 0; r < repeats; ++r) {
        if (link != nullptr) link->UpdateColors();
        view->InvalidateRect(nullptr, FALSE);
        double start = Now();
        ::UpdateWindow(view->m_hWnd);
        double seconds = Now() - start;
        if (seconds < best) best = seconds;
    }
    return best;
}

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {1, 100};
    int repeats = 5;
    const char* viewClass = "CColorEditView";
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
        }
    }
    bool plain = std::strcmp(viewClass, "CBlackEditView") == 0;
    CRuntimeClass* view = plain ? RUNTIME_CLASS(CBlackEditView) : RUNTIME_CLASS(CColorEditView);
    CRuntimeClass* document = plain ? RUNTIME_CLASS(CBlackEditDoc) : RUNTIME_CLASS(CDataEditDoc);
    CModalRecorder boxes(IDCANCEL);
    auto* main = new CMDIFrameWnd;
    if (!main->LoadFrame(1, WS_OVERLAPPEDWINDOW)) return 1;
    theApp.m_pMainWnd = main;
    main->MoveWindow(0, 0, 1700, 1150);
    main->ShowWindow(SW_SHOW);
    auto* docTemplate = new CMultiDocTemplate(1, document, RUNTIME_CLASS(CMDIChildWnd), view);
    theApp.AddDocTemplate(docTemplate);

    std::printf("%s, 1600 x 1000 client, best of %d full repaints (ms)\n", viewClass, repeats);
    std::printf("%-8s %10s %10s %10s\n", "file", "top", "middle", "end");
    for (int megabytes : sizes) {
        std::string path = EnsureFile(megabytes);
        auto* doc = dynamic_cast<CEditDocument*>(docTemplate->OpenDocumentFile(path.c_str()));
        if (doc == nullptr) {
            std::printf("%d MB: open failed\n", megabytes);
            continue;
        }
        POSITION position = doc->GetFirstViewPosition();
        CView* editor = doc->GetNextView(position);
        auto* link = dynamic_cast<CEditViewLink*>(editor);
        CWnd* child = editor->GetParent();
        child->MoveWindow(0, 0, 1600 + 40, 1000 + 60);
        CRect client;
        editor->GetClientRect(&client);
        Pump();
        double figures[3] = {0, 0, 0};
        long places[3] = {0, doc->GetLength() / 2, doc->GetLength() - 1};
        for (int k = 0; k < 3; ++k) {
            if (link != nullptr) link->SetCurrentPosition((int)places[k]);
            Pump();
            figures[k] = BestRepaint(editor, link, repeats) * 1e3;
        }
        std::printf("%4d MB %10.2f %10.2f %10.2f   (client %d x %d)\n", megabytes, figures[0], figures[1],
                    figures[2], (int)client.Width(), (int)client.Height());
        doc->OnCloseDocument();
        Pump();
    }
    theApp.m_pMainWnd = nullptr;
    main->DestroyWindow();
    return 0;
}
