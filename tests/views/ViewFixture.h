// Real editor views in a real MDI main window with a status bar, over documents read from files.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "documents/DataEditDocs.h"
#include "framework/win/DocTemplate.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/StatusBar.h"
#include "framework/win/WinApp.h"
#include "tests/common/PaintTestKit.h"
#include "views/BlackEditView.h"
#include "views/ColorEditView.h"

extern CWinApp theApp;

// The main window and its templates live for the whole program, as a host's do.
class ViewFixture : public ::testing::Test {
public:
    // Keys and characters through real messages, with Ctrl and Shift set in the thread's keyboard state.
    static void Modifiers(bool control, bool shift);
    static void Key(CWnd* view, UINT key, bool control = false, bool shift = false) {
        Modifiers(control, shift);
        view->SendMessage(WM_KEYDOWN, key, 1);
        Modifiers(false, false);
    }
    static void Type(CWnd* view, const char* text) {
        for (const char* p = text; *p != 0; ++p) view->SendMessage(WM_CHAR, (unsigned char)*p, 1);
    }
    static std::string Text(CEditScrollView* view) { // the document's text without its terminator
        return std::string(view->GetEditDocument()->GetTextBuffer(0),
                           (size_t)view->GetEditDocument()->GetLength() - 1);
    }
    // What the command's update handler, asked through target, made of it: 1 enabled, 0 greyed,
    // -1 no handler answered.
    static int UpdateState(CCmdTarget* target, UINT id);
    // The find dialog's notification with the given flags and texts, as the dialog would send it.
    static void Notify(CEditScrollView* view, DWORD flags, const char* find, const char* replace);
    // The client point of a text offset, in the middle of its cell's height.
    static CPoint PointOf(CEditScrollView* view, int offset) {
        return view->TextPositionToScreenCoord(offset) + CSize(1, view->Metrics().unit.cy / 2);
    }
    // count lines "body 0" up to "body count-1", each with its line feed.
    static std::string Lines(int count, const char* body = "line") {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::string(body) + " " + std::to_string(i) + "\n";
        return text;
    }
    static CEditScrollView* ViewOf(CDocument* doc); // the first view of a document (null for none)
    using Span = std::pair<int, int>;
    static Span Sel(CEditScrollView* view) { // the selection's start and end
        return {view->Model().Selection().start, view->Model().Selection().end};
    }
    static SCROLLINFO BarInfo(CWnd* view, int bar) { // as a host reads it
        SCROLLINFO info = {};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        ::GetScrollInfo(view->m_hWnd, bar, &info);
        return info;
    }

protected:
    static void SetUpTestSuite();
    void TearDown() override;

    // Opens text (written with CR LF line ends) through docTemplate, or in a view of the family; the
    // view's client is made width x height. Throws when it could not be opened (the test fails).
    CView* Open(CMultiDocTemplate* docTemplate, const std::string& text, int width, int height);
    CColorEditView* OpenColored(const std::string& text, int width = 640, int height = 400,
                                bool listing = false);
    CBlackEditView* OpenPlain(const std::string& text, int width = 640, int height = 400);
    // check runs on a plain and then a coloured view, each of a fresh document holding text; the
    // documents (and a find dialog the view opened) are closed after each.
    void ForBothViews(const std::string& text, const std::function<void(CEditScrollView*)>& check);
    static void Pump();
    // The view's picture as OnDraw paints it into a memory context of its client size.
    struct Picture {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ old = nullptr;
        COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
        bool Has(const RECT& r, COLORREF color) const;  // any pixel of the rectangle has the colour
        bool Only(const RECT& r, COLORREF color) const; // every pixel of it has the colour
        void Make(int width, int height);               // a white picture of width x height
        ~Picture();
    };
    void Paint(CEditScrollView* view, Picture& picture);

    // Waits for handle with this thread's messages served (the clipboard's delayed rendering needs
    // them), up to 40 s; whether it was signalled.
    static bool WaitServing(HANDLE handle);
    // Runs the clipboard peer to its end, serving the clipboard's requests meanwhile; its standard output.
    static std::string RunPeer(const std::string& arguments);
    // Starts the other program (clipboard_peer) with a hold command and waits until it holds; its
    // process, or null. ReleasePeer lets it go and waits for its end.
    static HANDLE HoldByPeer(const std::string& arguments);
    static bool ReleasePeer(HANDLE peer);
    // Each allocation of edit failing in turn (the memory layer's seam, up to tries): the edit is made
    // whole (after is the text) and undone whole, or refused with one message and the text, its history,
    // its line table and the modified flag left alone. False when no allocation was refused.
    static bool WholeOrRefused(CEditScrollView* view, const std::string& after, int tries,
                               const std::function<void()>& edit);

    CModalRecorder unexpectedBoxes{IDCANCEL};
    static CMDIFrameWnd* main;
    static CStatusBar* statusBar;
    static CMultiDocTemplate* coloredTemplate;
    static CMultiDocTemplate* checkTemplate;
    static CMultiDocTemplate* plainTemplate;
};
