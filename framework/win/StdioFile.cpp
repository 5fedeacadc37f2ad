// CStdioFile: text-mode conversion (CR LF <-> LF, 0x1A ends the data) over buffered CFile calls.
#include <algorithm>
#include <new>
#include <string.h>

#include "framework/base/TextMode.h"
#include "framework/win/File.h"

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::~CStdioFile() {
    if (IsOpen()) WriteOutput();
    delete[] m_in;
    delete[] m_out;
}

void CStdioFile::ResetBuffers() {
    m_inPos = m_inEnd = 0;
    m_outCount = 0;
    m_dataEnded = FALSE;
}

BOOL CStdioFile::Open(LPCSTR path, UINT openFlags, CFileException* error) {
    if (IsOpen()) return CFile::Open(path, openFlags, error); // refused; keeps the open file intact
    m_textMode = !(openFlags & typeBinary);
    ResetBuffers();
    if (m_textMode && m_in == nullptr) {
        m_in = new (std::nothrow) char[kBufferSize];
        m_out = new (std::nothrow) char[kBufferSize];
        if (m_in == nullptr || m_out == nullptr) {
            delete[] m_in;
            delete[] m_out;
            m_in = m_out = nullptr;
            m_error.Set(CFileException::generic, ERROR_NOT_ENOUGH_MEMORY, path);
            if (error != nullptr) *error = m_error;
            return FALSE;
        }
    }
    return CFile::Open(path, openFlags, error);
}

// Moves the unread bytes to the front and reads more after them; FALSE when nothing came.
BOOL CStdioFile::FillInput() {
    UINT kept = m_inEnd - m_inPos;
    memmove(m_in, m_in + m_inPos, kept);
    m_inPos = 0;
    UINT room = kBufferSize - kept;
    if (m_fromBytes) {
        UINT count = (UINT)std::min<size_t>(room, m_bytes.size() - m_bytesPos);
        memcpy(m_in + kept, m_bytes.data() + m_bytesPos, count);
        m_bytesPos += count;
        m_inEnd = kept + count;
    } else {
        m_inEnd = kept + CFile::Read(m_in + kept, room);
    }
    return m_inEnd > kept;
}

void CStdioFile::ReadFrom(std::string bytes) {
    m_bytes = std::move(bytes);
    m_bytesPos = 0;
    m_fromBytes = true;
    m_inPos = m_inEnd = 0;
    m_dataEnded = FALSE;
}

// Delivers converted bytes: a CR at the end of the buffered input waits for the byte after it.
UINT CStdioFile::Read(void* buffer, UINT count) {
    if (!m_textMode) return CFile::Read(buffer, count);
    if (!IsOpen() || buffer == nullptr) return RecordFailure(CFileException::invalidFile, -1);
    if (m_outCount > 0 && !WriteOutput()) return 0;
    char* out = static_cast<char*>(buffer);
    UINT done = 0;
    bool sourceEnded = false; // asked anew at every call: the file may have grown since
    while (done < count && !m_dataEnded) {
        TextModeStep step =
            DecodeTextMode(m_in + m_inPos, m_inEnd - m_inPos, sourceEnded, out + done, count - done);
        m_inPos += (UINT)step.consumed;
        done += (UINT)step.produced;
        m_dataEnded = step.ended;
        if (step.produced == 0 && !step.ended) {
            if (sourceEnded) break;
            sourceEnded = !FillInput();
        }
    }
    return done;
}

BOOL CStdioFile::WriteOutput() {
    UINT n = m_outCount;
    m_outCount = 0;
    return n == 0 || CFile::Write(m_out, n);
}

// Before writing after reading, the handle goes back to the first byte not yet delivered.
BOOL CStdioFile::DropUnreadInput() {
    UINT unread = m_inEnd - m_inPos;
    m_inPos = m_inEnd = 0;
    return unread == 0 || CFile::Seek(-(LONGLONG)unread, current) != kSeekFailed;
}

BOOL CStdioFile::Write(const void* buffer, UINT count) {
    if (!m_textMode) return CFile::Write(buffer, count);
    if (!IsOpen() || (buffer == nullptr && count > 0)) return RecordFailure(CFileException::invalidFile, -1);
    if (!DropUnreadInput()) return FALSE;
    const char* in = static_cast<const char*>(buffer);
    size_t left = count;
    while (left > 0) {
        if (m_outCount + 2 > kBufferSize && !WriteOutput()) return FALSE;
        size_t used = 0;
        m_outCount += (UINT)EncodeTextMode(in, left, m_out + m_outCount, kBufferSize - m_outCount, used);
        in += used;
        left -= used;
    }
    return TRUE;
}

BOOL CStdioFile::Flush() {
    if (!IsOpen()) return RecordFailure(CFileException::invalidFile, -1);
    return WriteOutput() && CFile::Flush();
}

BOOL CStdioFile::Close() {
    BOOL written = !IsOpen() || WriteOutput();
    BOOL closed = CFile::Close();
    ResetBuffers();
    m_fromBytes = false;
    std::string().swap(m_bytes);
    return written && closed;
}

void CStdioFile::Abort() {
    ResetBuffers();
    m_fromBytes = false;
    std::string().swap(m_bytes);
    CFile::Abort();
}

ULONGLONG CStdioFile::Seek(LONGLONG offset, UINT from) {
    if (m_textMode) {
        if (!WriteOutput()) return kSeekFailed;
        // A position relative to now counts from the first byte not yet delivered.
        if (from == current) offset -= (LONGLONG)(m_inEnd - m_inPos);
        m_inPos = m_inEnd = 0;
        m_dataEnded = FALSE;
    }
    return CFile::Seek(offset, from);
}

ULONGLONG CStdioFile::GetPosition() const {
    ULONGLONG position = CFile::GetPosition();
    if (!m_textMode || position == kSeekFailed) return position;
    return position - (m_inEnd - m_inPos) + m_outCount;
}

ULONGLONG CStdioFile::GetLength() const {
    // Bytes still buffered for writing count towards the size on disk.
    ULONGLONG onDisk = CFile::GetLength();
    if (!m_textMode || m_outCount == 0) return onDisk;
    ULONGLONG reach = GetPosition();
    return reach != kSeekFailed && reach > onDisk ? reach : onDisk;
}

BOOL CStdioFile::SetLength(ULONGLONG length) {
    if (m_textMode && (!WriteOutput() || !DropUnreadInput())) return FALSE;
    return CFile::SetLength(length);
}

BOOL CStdioFile::ReadString(CString& line) {
    line.Empty();
    char c = 0;
    UINT got = 0;
    while ((got = Read(&c, 1)) == 1 && c != '\n') line += c;
    return got == 1 || !line.IsEmpty();
}

BOOL CStdioFile::WriteString(LPCSTR text) {
    return text == nullptr || Write(text, (UINT)strlen(text));
}
