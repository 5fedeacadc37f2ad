// Files: CFile over a Win32 file handle with the sharing modes, and CStdioFile with text-mode
// reading and writing. Nothing here throws: failures answer FALSE / 0 and are described by a
// CFileException that the caller may pass in, and by the file's own error record.
#pragma once

#include <windows.h>

#include <string>

#include "framework/base/Object.h"
#include "framework/base/String.h"

// The description of a file failure. Never thrown; filled in for the caller instead.
class CFileException : public CObject {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = nullptr);
    CFileException(const CFileException& other);
    CFileException& operator=(const CFileException& other);

    void Set(int cause, LONG osError, LPCSTR fileName);
    static int OsErrorToException(LONG osError);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

// A file opened through CreateFile. Invariants: m_hFile is INVALID_HANDLE_VALUE while closed;
// m_error holds the first failure since the last Open (cause none while all went well).
class CFile : public CObject {
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition : UINT { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };
    static constexpr ULONGLONG kSeekFailed = ~0ULL;

    CFile() = default;
    // Opens the file at once; IsOpen() tells whether it worked.
    CFile(LPCSTR path, UINT openFlags);
    ~CFile() override;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    // Opens path with the access, creation and sharing of openFlags. On failure answers FALSE and,
    // when error is given, describes why (a shared-away file gives sharingViolation).
    virtual BOOL Open(LPCSTR path, UINT openFlags, CFileException* error = nullptr);
    // Reads up to count bytes; answers the count read, 0 at the end of the file or on failure.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all count bytes; FALSE on failure (a full disk, a read-only handle).
    virtual BOOL Write(const void* buffer, UINT count);
    virtual BOOL Flush();
    // Closes the file; FALSE when writing out what was pending failed. Always leaves it closed.
    virtual BOOL Close();
    // Closes without reporting anything.
    virtual void Abort();
    // The new position, or kSeekFailed.
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual ULONGLONG GetPosition() const;
    // The size on disk in bytes, or 0 (with the error recorded) when it cannot be read.
    virtual ULONGLONG GetLength() const;
    virtual BOOL SetLength(ULONGLONG length);
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }

    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    // The first failure since Open.
    BOOL HasFailed() const { return m_error.m_cause != CFileException::none; }
    const CFileException& GetError() const { return m_error; }

protected:
    // Records the failure described by the system's last error; answers FALSE for tail calls.
    BOOL RecordFailure() const;
    BOOL RecordFailure(int cause, LONG osError) const;
    BOOL CloseHandleOnly();

    CString m_strFileName;
    mutable CFileException m_error;

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
};

// A file read and written in text mode unless opened with typeBinary: reading turns CR LF into
// LF, keeps a CR that no LF follows and stops at a 0x1A byte (the data ends there); writing turns
// every LF into CR LF. Binary mode passes bytes through unchanged.
// Invariants (text mode): m_in[m_inPos, m_inEnd) holds bytes read from the handle but not yet
// delivered, m_out[0, m_outCount) bytes converted but not yet written; at most one of them is
// non-empty, so the handle position minus the unread bytes plus the unwritten bytes is the position.
class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    ~CStdioFile() override;

    BOOL Open(LPCSTR path, UINT openFlags, CFileException* error = nullptr) override;
    UINT Read(void* buffer, UINT count) override;
    BOOL Write(const void* buffer, UINT count) override;
    BOOL Flush() override;
    BOOL Close() override;
    void Abort() override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    BOOL SetLength(ULONGLONG length) override;

    // One line without its line feed; FALSE when nothing was left to read.
    BOOL ReadString(CString& line);
    // Writes text up to its zero byte.
    BOOL WriteString(LPCSTR text);
    BOOL IsTextMode() const { return m_textMode; }
    // Text-mode reads take their bytes from `bytes` from now on instead of the file, which stays open
    // as it was opened: a file whose bytes were converted before they are read.
    void ReadFrom(std::string bytes);

private:
    static constexpr UINT kBufferSize = 65536;

    BOOL FillInput();
    BOOL WriteOutput();
    BOOL DropUnreadInput();
    void ResetBuffers();

    BOOL m_textMode = FALSE;
    BOOL m_dataEnded = FALSE; // a 0x1A was met: reads answer 0 until the next Seek
    char* m_in = nullptr;
    UINT m_inPos = 0, m_inEnd = 0;
    char* m_out = nullptr;
    UINT m_outCount = 0;
    bool m_fromBytes = false; // reads take m_bytes from m_bytesPos on (ReadFrom)
    std::string m_bytes;
    size_t m_bytesPos = 0;
};
