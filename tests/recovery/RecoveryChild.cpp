// A host of the editor window that opens a file, types into it, waits until its recovery file is
// written, says so through a named event and then waits to be killed.
// Usage: recovery_child FILE TEXT EVENT (the recovery folder comes from TESSOLIN_RECOVERY_DIR)
#include <windows.h>

#include <string>

#include "include/tessolin/tessolin.h"

namespace {
bool RecoveryFileWritten() {
    char folder[MAX_PATH];
    DWORD n = ::GetEnvironmentVariableA("TESSOLIN_RECOVERY_DIR", folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((std::string(folder) + "\\*.tsr").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return true;
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
    if (argc < 4) return 2;
    TessolinEnableRecovery(TRUE);
    HWND editor = ::CreateWindowExA(0, TESSOLIN_EDIT_CLASSA, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                    nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (editor == nullptr || !::SendMessageA(editor, TEM_OPENFILE, 0, (LPARAM)argv[1])) return 3;
    // As the keyboard brings them: Return as its key and its character, a GBK character as two bytes.
    for (const char* key = argv[2]; *key != 0; ++key) {
        if (*key == '\r') ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 1);
        ::SendMessageA(editor, WM_CHAR, (WPARAM)(BYTE)*key, 1);
    }
    HANDLE written = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (written == nullptr) return 4;
    for (DWORD start = ::GetTickCount(); !RecoveryFileWritten(); ::Sleep(20)) {
        if (::GetTickCount() - start > 20000) return 5;
        Pump();
    }
    ::SetEvent(written);
    for (;;) {
        ::Sleep(20);
        Pump();
    }
}
