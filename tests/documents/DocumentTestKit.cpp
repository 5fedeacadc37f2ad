// The document tests' application, status recorder and scratch folder.
#include "DocumentTestKit.h"

#include <windows.h>

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
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    ::CloseHandle(file);
    return path;
}

std::string CScratchFolder::ReadAll(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char chunk[65536];
    DWORD count = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &count, nullptr) && count > 0) bytes.append(chunk, count);
    ::CloseHandle(file);
    return bytes;
}
