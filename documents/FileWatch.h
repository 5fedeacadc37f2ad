// CFileWatch: notices, at idle time, when the files of the open documents change on disk.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/base/String.h"

class CEditDocument;

// One change notification per folder that holds a watched file; a folder that gives none (a network
// share that refuses them) is looked at only when a view of its document gets the focus. The
// notifications and the documents due for a check are handled on the user-interface thread by a
// thread timer: its message comes only when no other message waits, so whatever the host's message
// loop, the checks run at idle time and never inside another handler. The watch lives and acts on
// the user-interface thread only.
class CFileWatch {
public:
    static CFileWatch& Instance();

    // The document's file is path (the folder is watched from now on); an empty path forgets it.
    void Track(CEditDocument* doc, const CString& path);
    void Forget(CEditDocument* doc);
    // The document is checked at the next idle time.
    void CheckSoon(CEditDocument* doc);
    // Handles the notifications that came and the checks that are due; the timer calls it.
    void Poll();
    // Whether the document's folder gives change notifications.
    bool Notifies(const CEditDocument* doc) const;

    static const UINT kIntervalMs = 40;

private:
    struct Folder {
        CString path;
        HANDLE change = nullptr; // null: the folder gives no notifications
        int users = 0;
    };
    struct Entry {
        CEditDocument* doc = nullptr;
        CString folder;
        bool due = false;
    };

    CFileWatch() = default;
    Entry* Find(const CEditDocument* doc);
    const Entry* Find(const CEditDocument* doc) const;
    void Join(const CString& folder);
    void Leave(const CString& folder);
    void UpdateTimer();
    void TakeNotifications();
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Folder> m_folders;
    std::vector<Entry> m_entries;
    UINT_PTR m_timer = 0;
    bool m_polling = false;
};
