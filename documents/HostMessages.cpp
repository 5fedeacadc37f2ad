// Registers the host message names while the library loads.
#include "documents/HostMessages.h"

const char* const g_hostMessageNames[kHostMessageCount] = {
    "Close ok",
    "Close cancel",
    "Show Message",
    "Find Title",
    "Project Changed",
    "Save Project",
    "Open Tree Item",
    "Font Changed",
    "commdlg_FindReplace",
    "Output file changed",
    "Auto show graph",
    "Font changed",
    "Font scale changed",
    "File reload",
    "File load",
    "File auto load",
    "Set draw erase flag",
    "Inquire data",
};

namespace {

UINT Register(HostMessageRow row) {
    return RegisterWindowMessageA(g_hostMessageNames[row]);
}

} // namespace

// Dynamic initialisation of this unit runs while the DLL loads, before its entry point.
const UINT g_hostMessages[kHostMessageCount] = {
    Register(kMsgCloseOk),           Register(kMsgCloseCancel),      Register(kMsgShowMessage),
    Register(kMsgFindTitle),         Register(kMsgProjectChanged),   Register(kMsgSaveProject),
    Register(kMsgOpenTreeItem),      Register(kMsgFontChanged),      Register(kMsgFindReplace),
    Register(kMsgOutputFileChanged), Register(kMsgAutoShowGraph),    Register(kMsgFontChangedLower),
    Register(kMsgFontScaleChanged),  Register(kMsgFileReload),       Register(kMsgFileLoad),
    Register(kMsgFileAutoLoad),      Register(kMsgSetDrawEraseFlag), Register(kMsgInquireData),
};
