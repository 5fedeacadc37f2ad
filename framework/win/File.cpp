// CFile over CreateFile / ReadFile / WriteFile, and the failure descriptions it fills in.
#include "framework/win/File.h"

IMPLEMENT_DYNAMIC(CFileException, CObject)
IMPLEMENT_DYNAMIC(CFile, CObject)

CFileException::CFileException(int cause, LONG osError, LPCSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

CFileException::CFileException(const CFileException& other)
    : CObject(), m_cause(other.m_cause), m_lOsError(other.m_lOsError), m_strFileName(other.m_strFileName) {}

CFileException& CFileException::operator=(const CFileException& other) {
    Set(other.m_cause, other.m_lOsError, other.m_strFileName);
    return *this;
}

void CFileException::Set(int cause, LONG osError, LPCSTR fileName) {
    m_cause = cause;
    m_lOsError = osError;
    m_strFileName = fileName;
}

int CFileException::OsErrorToException(LONG osError) {
    switch (osError) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
        return directoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
        return badSeek;
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return generic;
    }
}

namespace {
DWORD DesiredAccess(UINT flags) {
    switch (flags & 3) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

// The compatibility mode is taken as exclusive, as a handle of this process would be.
DWORD ShareMode(UINT flags) {
    switch (flags & 0x70) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;
    }
}

DWORD Disposition(UINT flags) {
    if (!(flags & CFile::modeCreate)) return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}
} // namespace

CFile::CFile(LPCSTR path, UINT openFlags) {
    Open(path, openFlags);
}

CFile::~CFile() {
    CloseHandleOnly();
}

BOOL CFile::RecordFailure() const {
    return RecordFailure(-1, (LONG)::GetLastError());
}

BOOL CFile::RecordFailure(int cause, LONG osError) const {
    if (cause < 0) cause = CFileException::OsErrorToException(osError);
    if (cause == CFileException::none) cause = CFileException::generic;
    if (m_error.m_cause == CFileException::none) m_error.Set(cause, osError, m_strFileName);
    return FALSE;
}

BOOL CFile::Open(LPCSTR path, UINT openFlags, CFileException* error) {
    m_error.Set(CFileException::none, -1, path);
    if (IsOpen() || path == nullptr || *path == '\0') {
        RecordFailure(IsOpen() ? CFileException::generic : CFileException::badPath, -1);
    } else {
        char full[MAX_PATH * 2];
        DWORD n = ::GetFullPathNameA(path, sizeof full, full, nullptr);
        m_strFileName = (n > 0 && n < sizeof full) ? full : path;
        m_error.m_strFileName = m_strFileName;
        SECURITY_ATTRIBUTES security = {sizeof security, nullptr, !(openFlags & modeNoInherit)};
        HANDLE h = ::CreateFileA(path, DesiredAccess(openFlags), ShareMode(openFlags), &security,
                                 Disposition(openFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            m_hFile = h;
            return TRUE;
        }
        RecordFailure();
    }
    if (error != nullptr) *error = m_error;
    return FALSE;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (!IsOpen() || buffer == nullptr) return RecordFailure(CFileException::invalidFile, -1);
    // ReadFile may answer short counts (pipes, devices); the caller asked for all it can get.
    UINT total = 0;
    while (total < count) {
        DWORD got = 0;
        if (!::ReadFile(m_hFile, (char*)buffer + total, count - total, &got, nullptr)) {
            RecordFailure();
            break;
        }
        if (got == 0) break;
        total += got;
    }
    return total;
}

BOOL CFile::Write(const void* buffer, UINT count) {
    if (!IsOpen() || (buffer == nullptr && count > 0)) return RecordFailure(CFileException::invalidFile, -1);
    UINT total = 0;
    while (total < count) {
        DWORD put = 0;
        if (!::WriteFile(m_hFile, (const char*)buffer + total, count - total, &put, nullptr))
            return RecordFailure();
        if (put == 0) return RecordFailure(CFileException::diskFull, ERROR_DISK_FULL);
        total += put;
    }
    return TRUE;
}

BOOL CFile::Flush() {
    if (!IsOpen()) return RecordFailure(CFileException::invalidFile, -1);
    // Flushing a handle opened for reading only is refused by the system but has nothing to do.
    return ::FlushFileBuffers(m_hFile) || ::GetLastError() == ERROR_ACCESS_DENIED || RecordFailure();
}

BOOL CFile::CloseHandleOnly() {
    if (!IsOpen()) return TRUE;
    BOOL closed = ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    return closed || RecordFailure();
}

BOOL CFile::Close() {
    return CloseHandleOnly();
}

void CFile::Abort() {
    CloseHandleOnly();
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    LARGE_INTEGER move, now;
    move.QuadPart = offset;
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, move, &now, from)) {
        IsOpen() ? RecordFailure() : RecordFailure(CFileException::invalidFile, -1);
        return kSeekFailed;
    }
    return (ULONGLONG)now.QuadPart;
}

ULONGLONG CFile::GetPosition() const {
    LARGE_INTEGER zero, now;
    zero.QuadPart = 0;
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, zero, &now, FILE_CURRENT)) {
        RecordFailure(CFileException::invalidFile, -1);
        return kSeekFailed;
    }
    return (ULONGLONG)now.QuadPart;
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!IsOpen() || !::GetFileSizeEx(m_hFile, &size)) {
        IsOpen() ? RecordFailure() : RecordFailure(CFileException::invalidFile, -1);
        return 0;
    }
    return (ULONGLONG)size.QuadPart;
}

BOOL CFile::SetLength(ULONGLONG length) {
    ULONGLONG position = GetPosition();
    if (position == kSeekFailed || Seek((LONGLONG)length, begin) == kSeekFailed) return FALSE;
    BOOL done = ::SetEndOfFile(m_hFile) || RecordFailure();
    Seek((LONGLONG)position, begin);
    return done;
}

CString CFile::GetFileName() const {
    int slash = m_strFileName.ReverseFind('\\');
    int other = m_strFileName.ReverseFind('/');
    if (other > slash) slash = other;
    return m_strFileName.Mid(slash + 1);
}
