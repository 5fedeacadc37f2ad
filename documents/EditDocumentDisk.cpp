// The document and its file on disk: changes by other programs reloaded, asked about or reported,
// and a growing file followed to its end.
#include <algorithm>

#include "documents/DiskState.h"
#include "documents/EditDocument.h"
#include "documents/FileWatch.h"
#include "framework/win/File.h"
#include "framework/win/MessageBox.h"

namespace {
// 文件%s已被其他程序修改，是否重新载入？
const char kChangedAsk[] =
    "\xCE\xC4\xBC\xFE%s\xD2\xD1\xB1\xBB\xC6\xE4\xCB\xFB\xB3\xCC\xD0\xF2\xD0\xDE\xB8\xC4"
    "\xA3\xAC\xCA\xC7\xB7\xF1\xD6\xD8\xD0\xC2\xD4\xD8\xC8\xEB\xA3\xBF";
// 文件%s已被其他程序删除或改名，保存时将重新写入。
const char kDeletedNote[] =
    "\xCE\xC4\xBC\xFE%s\xD2\xD1\xB1\xBB\xC6\xE4\xCB\xFB\xB3\xCC\xD0\xF2\xC9\xBE\xB3\xFD"
    "\xBB\xF2\xB8\xC4\xC3\xFB\xA3\xAC\xB1\xA3\xB4\xE6\xCA\xB1\xBD\xAB\xD6\xD8\xD0\xC2"
    "\xD0\xB4\xC8\xEB\xA1\xA3";

// The file's first bytes and the bytes before consumed, as they are now.
void TakeSamples(CDiskState& disk) {
    ReadRawBytes(disk.path, 0, (size_t)std::min<ULONGLONG>(disk.consumed, CDiskState::kHeadBytes), disk.head);
    size_t tail = (size_t)std::min<ULONGLONG>(disk.consumed, CDiskState::kTailBytes);
    ReadRawBytes(disk.path, disk.consumed - tail, tail, disk.tail);
}
} // namespace

void CEditDocument::RememberDisk(LPCSTR path, ULONGLONG consumed) {
    if (!m_disk) m_disk.reset(new CDiskState);
    CDiskState& disk = *m_disk;
    disk = CDiskState();
    // The full path: the current folder may change before the next check.
    char full[MAX_PATH];
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, nullptr);
    disk.path = n > 0 && n < MAX_PATH ? full : path;
    path = disk.path;
    disk.stamp = CDiskStamp::Of(path);
    if (!disk.stamp.exists) {
        ForgetDisk();
        return;
    }
    // A file that grew after the read ended differs from the stamp, so its growth is seen.
    disk.consumed = std::min(consumed, disk.stamp.size);
    disk.stamp.size = disk.consumed;
    std::string next;
    disk.dataEnded = ReadRawBytes(path, disk.consumed, 1, next) && next == "\x1A";
    TakeSamples(disk);
    CFileWatch::Instance().Track(this, disk.path);
}

void CEditDocument::ForgetDisk() {
    if (m_disk) m_disk->path.Empty();
    CFileWatch::Instance().Forget(this);
}

void CEditDocument::CheckDiskSoon() {
    CFileWatch::Instance().CheckSoon(this);
}

BOOL CEditDocument::WatchesDiskClosely() const {
    return m_disk && !m_disk->path.IsEmpty() && (HasOption(kOptionFollowFile) || m_disk->reloadPending);
}

void CEditDocument::CheckDisk() {
    if (!m_disk || m_disk->path.IsEmpty() || m_bCheckingDisk) return;
    m_bCheckingDisk = TRUE;
    CDiskState& disk = *m_disk;
    CDiskStamp now = CDiskStamp::Of(disk.path);
    if (!now.exists) {
        if (!disk.deletionReported) {
            disk.deletionReported = true;
            SetModifiedFlag(TRUE);
            CString text;
            text.Format(kDeletedNote, (LPCSTR)disk.path);
            AfxMessageBox(text, MB_OK | MB_ICONWARNING);
        }
    } else if (now == disk.stamp) {
        disk.deletionReported = disk.reloadPending = false;
    } else if (HasOption(kOptionFollowFile) && FollowAppends(now)) {
        disk.deletionReported = false;
    } else if (!IsModified()) {
        ReloadFromDisk();
    } else if (now != disk.declined) {
        disk.declined = now;
        CString text;
        text.Format(kChangedAsk, (LPCSTR)disk.path);
        if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES) ReloadFromDisk();
    }
    m_bCheckingDisk = FALSE;
}

// The reload a host asks for, from the file the text came from, with every view put back on its
// lines. A file its writer holds without sharing it (the coloured family reloads without sharing)
// is tried again at the next idle time instead of failing with a message and an empty document.
void CEditDocument::ReloadFromDisk() {
    CDiskState& disk = *m_disk;
    CFile probe;
    if (!probe.Open(disk.path, CFile::modeRead | ReadSharing(kReload))) {
        disk.reloadPending = CDiskStamp::Of(disk.path).exists;
        return;
    }
    probe.Close();
    std::vector<std::pair<CEditViewLink*, CEditViewLink::CPlace>> places;
    POSITION position = GetFirstViewPosition();
    while (position != nullptr)
        if (auto* link = dynamic_cast<CEditViewLink*>(GetNextView(position)))
            places.emplace_back(link, link->Place());
    const CString path = disk.path;
    if (!ReadDocumentFile(path, kReload)) return;
    for (auto& place : places) place.first->SetPlace(place.second);
}

BOOL CEditDocument::FollowAppends(const CDiskStamp& now) {
    CDiskState& disk = *m_disk;
    // Appended bytes are read as GBK; a file in another encoding is read again whole.
    if (GetEncoding() != kEncodingGbk) return FALSE;
    if (now.size < disk.stamp.size || now.size < disk.consumed) return FALSE;
    std::string head, raw;
    if (!ReadRawBytes(disk.path, 0, disk.head.size(), head) || head != disk.head) return FALSE;
    ULONGLONG from = disk.consumed - disk.tail.size();
    if (!ReadRawBytes(disk.path, from, (size_t)(now.size - from), raw) ||
        raw.compare(0, disk.tail.size(), disk.tail) != 0)
        return FALSE;
    if (!disk.dataEnded) {
        CAppendedText appended =
            DecodeAppended(raw.data() + disk.tail.size(), raw.size() - disk.tail.size(), KeepsNulBytes());
        if (!appended.text.empty() && !AppendFromDisk(appended.text)) return TRUE; // told; tried again later
        disk.consumed += appended.consumed;
        disk.dataEnded = appended.ended;
    }
    disk.stamp = now;
    disk.tail = raw.substr((size_t)(disk.consumed - from) -
                               (size_t)std::min<ULONGLONG>(disk.consumed, CDiskState::kTailBytes),
                           (size_t)std::min<ULONGLONG>(disk.consumed, CDiskState::kTailBytes));
    if (disk.head.size() < CDiskState::kHeadBytes) TakeSamples(disk);
    return TRUE;
}

BOOL CEditDocument::AppendFromDisk(const std::string& text) {
    long end = GetLength() - 1;
    if (end < 0) return FALSE;
    std::vector<CEditViewLink*> links, atEnd;
    POSITION position = GetFirstViewPosition();
    while (position != nullptr)
        if (auto* link = dynamic_cast<CEditViewLink*>(GetNextView(position))) {
            links.push_back(link);
            if (link->Place().caretLine >= GetLineCount() - 1) atEnd.push_back(link);
        }
    long expected = GetLength() + (long)text.size();
    ChangeBuffer((int)end, 0, text.data(), (int)text.size());
    if (GetLength() != expected) return FALSE;
    for (CEditViewLink* link : links) link->OnTextChanged((int)end, 0, (int)text.size());
    int last = (int)GetLength() - 1;
    for (CEditViewLink* link : atEnd) {
        link->SetSelection(last, last);
        link->SetCurrentPosition(last);
    }
    return TRUE;
}
