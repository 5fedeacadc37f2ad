// Shared by the document tests: the test program's application object, a main window that records
// the host's status messages, a scratch folder of real files and documents filled without a file.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documents/ColorEditDoc.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/WinApp.h"

// Counts the command the documents send when one of them closes.
class CDocumentTestApp : public CWinApp {
public:
    CDocumentTestApp() : CWinApp("DocumentTests") {}
    int m_closeCommands = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void OnEditorClosed() { ++m_closeCommands; }
};

extern CDocumentTestApp theApp;

// A main window that keeps every "Show Message" text and its lParam.
class CStatusRecorder : public CFrameWnd {
public:
    std::vector<std::string> m_texts;
    std::vector<LPARAM> m_lParams;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnShowMessage(WPARAM wParam, LPARAM lParam);
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    std::string Path(const char* name) const { return m_path + "\\" + name; }
    std::string Write(const char* name, const std::string& bytes) const; // binary, exactly as given
    static std::string ReadAll(const std::string& path);

private:
    std::string m_path;
};

// The document's text without its terminator, checking that the terminator is there.
inline std::string DocumentText(CEditDocument& doc) {
    long length = doc.GetLength();
    if (length == 0) return "<released>";
    EXPECT_EQ(doc.GetAt(length - 1), 0) << "the last byte is the terminator";
    return std::string(doc.GetTextBuffer(0), (size_t)length - 1);
}

// A new document holding text, its line table built, unmodified as if read from a file.
inline void Fill(CEditDocument& doc, const std::string& text) {
    ASSERT_TRUE(doc.OnNewDocument());
    doc.Insert(0, text.c_str());
    doc.RecalcScrollSize();
    doc.SetModifiedFlag(FALSE);
}

// The colour the line's table built from pos gives to pos; 0xFFFFFFFF when there is no table.
inline COLORREF ColorAt(CColorEditDoc& doc, long pos) {
    CColorTable table;
    if (!doc.GetLineColorTable((int)doc.OffsetToLine(pos), (int)pos, table)) return 0xFFFFFFFF;
    return table.GetColor(0);
}

// A test of real files: a scratch folder, a status recorder as the application's main window, and
// message boxes recorded and answered OK.
class CFileTest : public ::testing::Test {
protected:
    CFileTest() : main(new CStatusRecorder) {
        main->LoadFrame(1, WS_OVERLAPPEDWINDOW);
        theApp.m_pMainWnd = main;
    }
    ~CFileTest() override {
        theApp.m_pMainWnd = nullptr;
        main->DestroyWindow();
    }
    CScratchFolder folder;
    CStatusRecorder* main;
    CModalRecorder boxes{IDOK};
};
