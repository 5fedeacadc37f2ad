// Recovery files: where the unsaved text of a document is kept against a crash, how such a file is
// named after the document's path, its layout, and the process-wide switch that turns recovery off.
#pragma once

#include <windows.h>

#include "framework/base/String.h"

namespace recovery {

// On unless the host switched it off; read and set on the user-interface thread.
void SetEnabled(bool on);
bool IsEnabled();

// The folder recovery files go to: the one set here, else the environment variable
// TESSOLIN_RECOVERY_DIR, else "Tessolin\Recovery\" under the user's local application data. Null or
// empty goes back to the default.
void SetFolder(const char* folder);
// The folder with a trailing backslash, made when missing; empty when there is none.
CString Folder();

// The recovery file for a document path: the folder, a hash of the full path (letter case ignored)
// and the file's own name, so two files of one name in different folders do not meet. A document
// without a path gets a name of its own that no other document of any process takes.
CString FileFor(const char* documentPath);

// The recovery file of documentPath when one exists that was written after the document's file by a
// process that has ended (a running one, this one included, is still keeping its own edits there).
bool FindNewer(const char* documentPath, CString& recoveryFile);

// Layout: the signature, the writing process's id (4 bytes), the original path's length (4 bytes) and
// bytes, the text's length (8 bytes), the text's bytes exactly as the document held them (without the
// terminating zero).
// Reads the header and leaves the file at the text; false for anything but a whole recovery file.
bool ReadHeader(HANDLE file, ULONGLONG& textSize, DWORD* writer = nullptr);
// Writes the header for a text of textSize bytes.
bool WriteHeader(HANDLE file, const char* originalPath, ULONGLONG textSize);

} // namespace recovery
