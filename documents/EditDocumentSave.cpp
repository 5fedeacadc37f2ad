// Saving a document so that a failure at any point leaves the file on disk as it was.
#include "documents/EditDocument.h"

#include "framework/win/File.h"

namespace {
// Makes a new empty file "tsl*.tmp" in folder and gives its name. GetTempFileName's answer alone is
// not enough: Wine's returns a number on a full disk although no file was made.
bool MakeTemporaryFile(LPCSTR folder, char (&name)[MAX_PATH]) {
    return ::GetTempFileNameA(folder, "tsl", 0, name) != 0 &&
           ::GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

// How many names the file has (1 for a file without other hard links; 0 when it cannot be asked).
DWORD LinkCount(LPCSTR path) {
    HANDLE file = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    BY_HANDLE_FILE_INFORMATION information = {};
    DWORD links = ::GetFileInformationByHandle(file, &information) ? information.nNumberOfLinks : 0;
    ::CloseHandle(file);
    return links;
}

// Whether the file can be opened for access now: another program holding it open without sharing
// that access makes the answer false.
bool CanOpenFor(LPCSTR path, DWORD access) {
    HANDLE file = ::CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

// Writes the bytes of `from` over `to` from its start and cuts `to` to their length: the file keeps
// its identity (its other names, attributes and security).
BOOL CopyInPlace(LPCSTR from, LPCSTR to) {
    CFile source, target;
    if (!source.Open(from, CFile::modeRead | CFile::shareDenyWrite) ||
        !target.Open(to, CFile::modeWrite | CFile::shareExclusive))
        return FALSE;
    char block[65536];
    for (UINT count; (count = source.Read(block, sizeof block)) > 0;)
        if (!target.Write(block, count)) return FALSE;
    ULONGLONG end = target.GetPosition();
    return !source.HasFailed() && end != CFile::kSeekFailed && target.SetLength(end) && target.Flush() &&
           target.Close();
}
} // namespace

// Writes to a new file beside the target and puts it in the target's place only once every byte
// is on disk. A read-only or held target is refused before anything is written; a replaced file keeps its
// attributes (and, through ReplaceFile, its security and creation time). A target with other hard
// links, or in a folder where no new file can be made, is written in place after a copy of it is
// kept (WriteInPlace).
BOOL CEditDocument::WriteSafely(LPCSTR path) {
    char full[MAX_PATH];
    char* namePart = nullptr;
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, &namePart);
    if (n == 0 || n >= MAX_PATH || namePart == nullptr || *namePart == 0) return FALSE;
    DWORD attributes = ::GetFileAttributesA(full);
    bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) return FALSE;
    // A target another program holds is refused before anything is made: a replacement that fails
    // half way leaves files of its own in the folder.
    if (replacing && !CanOpenFor(full, GENERIC_WRITE)) return FALSE;
    const bool linked = replacing && LinkCount(full) > 1;
    if (replacing && !linked && !CanOpenFor(full, GENERIC_WRITE | DELETE)) return FALSE;
    const CString folder(full, (int)(namePart - full));
    char temporary[MAX_PATH];
    if (!MakeTemporaryFile(folder, temporary)) return replacing && WriteInPlace(full, nullptr);
    // Replacing a file with other names would leave those names on the old text.
    if (linked) return WriteInPlace(full, temporary);
    BOOL ok = WriteWholeText(temporary, false) &&
              (replacing ? PutInPlaceOf(full, temporary, attributes)
                         : ::MoveFileExA(temporary, full, MOVEFILE_WRITE_THROUGH));
    if (!ok) ::DeleteFileA(temporary);
    return ok;
}

// Keeps a copy of the target in `backup` (a file made beside it; null: one made in the temporary
// folder), writes the text over the target and, should that fail, writes the copy back: the target
// ends either saved or byte for byte as it was. The copy is deleted in every case.
BOOL CEditDocument::WriteInPlace(LPCSTR target, LPCSTR backup) {
    char made[MAX_PATH];
    if (backup == nullptr) {
        char folder[MAX_PATH];
        DWORD n = ::GetTempPathA(MAX_PATH, folder);
        if (n == 0 || n >= MAX_PATH || !MakeTemporaryFile(folder, made)) return FALSE;
        backup = made;
    }
    BOOL kept = ::CopyFileA(target, backup, FALSE);
    BOOL ok = kept && WriteWholeText(target, true);
    if (kept && !ok) CopyInPlace(backup, target);
    ::DeleteFileA(backup);
    return ok;
}

// ReplaceFile keeps the target's security and creation time where the system has them; the attributes
// are put back in any case (not every ReplaceFile keeps them), and where ReplaceFile is refused
// (another volume, a file system without it) a move takes its place.
BOOL CEditDocument::PutInPlaceOf(LPCSTR target, LPCSTR written, DWORD attributes) {
    if (!::ReplaceFileA(target, written, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) &&
        !::MoveFileExA(written, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return FALSE;
    ::SetFileAttributesA(target, attributes);
    return TRUE;
}

// The text without its terminating zero byte, so every document reads the file back unchanged. In
// place, the existing file is written from its start and cut to the text's length.
BOOL CEditDocument::WriteWholeText(LPCSTR path, bool inPlace) {
    if (m_format.encoding != kEncodingGbk) return WriteEncoded(path, inPlace);
    CStdioFile file;
    UINT mode = CFile::modeWrite | CFile::typeText | CFile::shareExclusive;
    if (!inPlace) mode |= CFile::modeCreate;
    if (!file.Open(path, mode)) return FALSE;
    long count = GetLength() - 1;
    BOOL ok = count <= 0 || file.Write(m_text->GetBuffer(), (UINT)count);
    ok = ok && file.Flush() && ::FlushFileBuffers(file.m_hFile);
    if (ok && inPlace) {
        ULONGLONG end = file.GetPosition();
        ok = end != CFile::kSeekFailed && file.SetLength(end);
    }
    ok = file.Close() && ok;
    return ok;
}

// A Unicode file: the text converted whole, its signature and line ends as the file had them.
BOOL CEditDocument::WriteEncoded(LPCSTR path, bool inPlace) {
    std::string bytes;
    long count = GetLength() - 1;
    if (!EncodeText(m_text->GetBuffer(), count > 0 ? (size_t)count : 0, m_format, bytes)) return FALSE;
    CFile file;
    UINT mode = CFile::modeWrite | CFile::shareExclusive | (inPlace ? 0u : (UINT)CFile::modeCreate);
    if (!file.Open(path, mode)) return FALSE;
    BOOL ok = bytes.empty() || file.Write(bytes.data(), (UINT)bytes.size());
    ok = ok && file.Flush() && ::FlushFileBuffers(file.m_hFile);
    if (ok && inPlace) ok = file.SetLength(bytes.size());
    ok = file.Close() && ok;
    return ok;
}
