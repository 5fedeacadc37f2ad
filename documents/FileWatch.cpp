// The folders' change notifications and the idle-time checks of the documents' files.
#include "documents/FileWatch.h"

#include <algorithm>

#include "documents/EditDocument.h"

namespace {
const DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

// The folder part of a path, without its final separator; empty when the path has none.
CString FolderOf(const CString& path) {
    char full[MAX_PATH];
    char* name = nullptr;
    DWORD n = ::GetFullPathNameA(path, MAX_PATH, full, &name);
    if (n == 0 || n >= MAX_PATH || name == nullptr || name == full) return CString();
    return CString(full, (int)(name - full - 1));
}
} // namespace

CFileWatch& CFileWatch::Instance() {
    static CFileWatch watch;
    return watch;
}

CFileWatch::Entry* CFileWatch::Find(const CEditDocument* doc) {
    for (Entry& entry : m_entries)
        if (entry.doc == doc) return &entry;
    return nullptr;
}

const CFileWatch::Entry* CFileWatch::Find(const CEditDocument* doc) const {
    return const_cast<CFileWatch*>(this)->Find(doc);
}

void CFileWatch::Track(CEditDocument* doc, const CString& path) {
    CString folder = path.IsEmpty() ? CString() : FolderOf(path);
    Entry* entry = Find(doc);
    if (entry != nullptr && entry->folder.CompareNoCase(folder) == 0) return;
    if (entry != nullptr) Forget(doc);
    if (folder.IsEmpty()) return;
    Join(folder);
    Entry added;
    added.doc = doc;
    added.folder = folder;
    m_entries.push_back(added);
    UpdateTimer();
}

void CFileWatch::Forget(CEditDocument* doc) {
    auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.doc == doc; });
    if (found == m_entries.end()) return;
    CString folder = found->folder;
    m_entries.erase(found);
    Leave(folder);
    UpdateTimer();
}

void CFileWatch::CheckSoon(CEditDocument* doc) {
    if (Entry* entry = Find(doc)) entry->due = true;
}

bool CFileWatch::Notifies(const CEditDocument* doc) const {
    const Entry* entry = Find(doc);
    if (entry == nullptr) return false;
    for (const Folder& folder : m_folders)
        if (folder.path.CompareNoCase(entry->folder) == 0) return folder.change != nullptr;
    return false;
}

void CFileWatch::Join(const CString& path) {
    for (Folder& folder : m_folders)
        if (folder.path.CompareNoCase(path) == 0) {
            ++folder.users;
            return;
        }
    Folder folder;
    folder.path = path;
    folder.users = 1;
    HANDLE change = ::FindFirstChangeNotificationA(path, FALSE, kChanges);
    folder.change = change == INVALID_HANDLE_VALUE ? nullptr : change;
    m_folders.push_back(folder);
}

void CFileWatch::Leave(const CString& path) {
    for (size_t i = 0; i < m_folders.size(); ++i) {
        if (m_folders[i].path.CompareNoCase(path) != 0 || --m_folders[i].users > 0) continue;
        if (m_folders[i].change != nullptr) ::FindCloseChangeNotification(m_folders[i].change);
        m_folders.erase(m_folders.begin() + (ptrdiff_t)i);
        return;
    }
}

void CFileWatch::UpdateTimer() {
    if (!m_entries.empty() && m_timer == 0)
        m_timer = ::SetTimer(nullptr, 0, kIntervalMs, OnTimer);
    else if (m_entries.empty() && m_timer != 0) {
        ::KillTimer(nullptr, m_timer);
        m_timer = 0;
    }
}

void CALLBACK CFileWatch::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    Instance().Poll();
}

// Every document of a folder that signalled is due; the notification is rearmed before the checks,
// so a change made while they run is not lost.
void CFileWatch::TakeNotifications() {
    for (Folder& folder : m_folders) {
        if (folder.change == nullptr || ::WaitForSingleObject(folder.change, 0) != WAIT_OBJECT_0) continue;
        ::FindNextChangeNotification(folder.change);
        for (Entry& entry : m_entries)
            if (entry.folder.CompareNoCase(folder.path) == 0) entry.due = true;
    }
}

// A check can show a message box (whose loop runs this timer again) or reload a document (which
// tracks it anew), so the documents due are taken first and each is looked up again before its check.
void CFileWatch::Poll() {
    if (m_polling) return;
    m_polling = true;
    TakeNotifications();
    std::vector<CEditDocument*> due;
    for (Entry& entry : m_entries) {
        if (entry.due || entry.doc->WatchesDiskClosely()) due.push_back(entry.doc);
        entry.due = false;
    }
    for (CEditDocument* doc : due)
        if (Find(doc) != nullptr) doc->CheckDisk();
    m_polling = false;
}
