// The C interface's recovery settings, for hosts that use the library through tessolin.h.
#include "documents/RecoveryFiles.h"
#include "include/tessolin/tessolin.h"

extern "C" void WINAPI TessolinEnableRecovery(BOOL on) {
    recovery::SetEnabled(on != FALSE);
}

extern "C" void WINAPI TessolinSetRecoveryFolder(const char* folder) {
    recovery::SetFolder(folder);
}
