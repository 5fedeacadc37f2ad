// The vocabulary of registered window messages shared by the library and its host application.
#pragma once

#include <windows.h>

// Rows of the host message table, in registration order. The identifiers are whatever
// RegisterWindowMessageA answers for the names, so every module of the process that registers the
// same name (compared without regard to case) gets the same number.
enum HostMessageRow {
    kMsgCloseOk,
    kMsgCloseCancel,
    kMsgShowMessage, // documents -> main window: wParam = status text, lParam = 1
    kMsgFindTitle,   // host -> view: wParam = chapter number, lParam = title text
    kMsgProjectChanged,
    kMsgSaveProject,
    kMsgOpenTreeItem,
    kMsgFontChanged,
    kMsgFindReplace, // the common find/replace dialog's notification
    kMsgOutputFileChanged,
    kMsgAutoShowGraph,
    kMsgFontChangedLower, // "Font changed": the same identifier as kMsgFontChanged
    kMsgFontScaleChanged,
    kMsgFileReload, // command identifier: reload the document's file
    kMsgFileLoad,   // command identifier: load the file named by the extra-data pointer
    kMsgFileAutoLoad,
    kMsgSetDrawEraseFlag,
    kMsgInquireData,
    kHostMessageCount
};

// The names exactly as the host registers them.
extern const char* const g_hostMessageNames[kHostMessageCount];

// The identifiers, filled once while the library loads, before any of its classes is used.
extern const UINT g_hostMessages[kHostMessageCount];

inline UINT HostMessage(HostMessageRow row) {
    return g_hostMessages[row];
}
