// Global memory blocks made and freed for the clipboard.
#include "framework/win/GlobalMemory.h"

HGLOBAL AfxGlobalAlloc(UINT flags, SIZE_T size) {
    return ::GlobalAlloc(flags, size);
}

void AfxGlobalFree(HGLOBAL block) {
    ::GlobalFree(block);
}
