// Shared by the document tests: the test program's application object, a main window that records
// the host's status messages, and a scratch folder of real files.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "documents/EditDocument.h"
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
    // Writes the bytes exactly as given (binary).
    std::string Write(const char* name, const std::string& bytes) const;
    static std::string ReadAll(const std::string& path);

private:
    std::string m_path;
};

// Installs a status recorder as the application's main window for a test's lifetime.
class CMainWindowScope {
public:
    CMainWindowScope();
    ~CMainWindowScope();
    CStatusRecorder* operator->() { return m_window; }

private:
    CStatusRecorder* m_window;
};

// The document's text without its terminator, checking that the terminator is there.
inline std::string DocumentText(CEditDocument& doc) {
    long length = doc.GetLength();
    if (length == 0) return "<released>";
    EXPECT_EQ(doc.GetAt(length - 1), 0) << "the last byte is the terminator";
    return std::string(doc.GetTextBuffer(0), (size_t)length - 1);
}

// A test of real files: a scratch folder, the main window, and message boxes recorded and answered OK.
class CFileTest : public ::testing::Test {
protected:
    CScratchFolder folder;
    CMainWindowScope main;
    CModalRecorder boxes{IDOK};
};
