// The document tests' application, status recorder and scratch folder.
#include "DocumentTestKit.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "documents/HostMessages.h"

CDocumentTestApp theApp;

BEGIN_MESSAGE_MAP(CDocumentTestApp, CWinApp)
ON_COMMAND(100, OnEditorClosed)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CStatusRecorder, CFrameWnd)
ON_REGISTERED_MESSAGE(HostMessage(kMsgShowMessage), OnShowMessage)
END_MESSAGE_MAP()

LRESULT CStatusRecorder::OnShowMessage(WPARAM wParam, LPARAM lParam) {
    m_texts.emplace_back(reinterpret_cast<const char*>(wParam));
    m_lParams.push_back(lParam);
    return 0;
}

CScratchFolder::CScratchFolder() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    for (unsigned n = ::GetTickCount();; ++n) {
        m_path = std::string(base) + "tessolin-docs-" + std::to_string(n);
        if (::CreateDirectoryA(m_path.c_str(), nullptr)) break;
    }
}

CScratchFolder::~CScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((m_path + "\\*").c_str(), &found);
    while (search != INVALID_HANDLE_VALUE) {
        std::string name = m_path + "\\" + found.cFileName;
        ::SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.cFileName[0] != '.' && !::DeleteFileA(name.c_str())) ::RemoveDirectoryA(name.c_str());
        if (!::FindNextFileA(search, &found)) break;
    }
    ::FindClose(search);
    ::RemoveDirectoryA(m_path.c_str());
}

std::string CScratchFolder::Write(const char* name, const std::string& bytes) const {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string CScratchFolder::ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}
