// The editor documents' shared implementation: text access, reading and writing text files, the
// host's commands, closing and the undo manager's callbacks.
#include "documents/EditDocument.h"

#include <algorithm>
#include <cstring>

#include "documents/DiskState.h"
#include "documents/FileWatch.h"

#include "documents/HostMessages.h"
#include "documents/HostReports.h"
#include "documents/ProgressBar.h"
#include "documents/RecoveryWriter.h"
#include "framework/base/MemoryBlock.h"
#include "framework/win/Frame.h"
#include "framework/win/MessageBox.h"
#include "framework/win/WinApp.h"
#include "text/TextLoad.h"
#include "undo/UndoInfo.h"

namespace {
const char kReadBarText[] = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE...";                   // 读取文件...
const char kReloadBarText[] = "\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2\xCE\xC4\xBC\xFE..."; // 正在更新文件...
const char kReadStatus[] = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE:<%s>...\n";             // 读取文件:<%s>...
const char kReloadStatus[] =
    "\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2\xCE\xC4\xBC\xFE:<%s>...\n"; // 正在更新文件:<%s>...
const char kLoadStatus[] =
    "\xD5\xFD\xD4\xDA\xB6\xC1\xC8\xEB\xCE\xC4\xBC\xFE:<%s>...\n";     // 正在读入文件:<%s>...
const char kSaveStatus[] = "\xB4\xE6\xB4\xA2\xCE\xC4\xBC\xFE:<%s>\n"; // 存储文件:<%s>
// 读取文件%s时发生错误! : shown for every failed read or write.
const char kFileError[] = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE%s\xCA\xB1\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3!\n";

const UINT kCloseCommand = 100;
// 内存不足，这次编辑没有完成，文本保持原样。 : an edit refused for want of memory.
const char kOutOfMemory[] =
    "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA3\xAC\xD5\xE2\xB4\xCE\xB1\xE0\xBC\xAD\xC3\xBB"
    "\xD3\xD0\xCD\xEA\xB3\xC9\xA3\xAC\xCE\xC4\xB1\xBE\xB1\xA3\xB3\xD6\xD4\xAD\xD1\xF9\xA1\xA3";
// 这个文件有GBK编码无法表示的字符，不能保存。
const char kCannotSave[] =
    "\xD5\xE2\xB8\xF6\xCE\xC4\xBC\xFE\xD3\xD0GBK\xB1\xE0\xC2\xEB\xCE\xDE\xB7\xA8\xB1\xED"
    "\xCA\xBE\xB5\xC4\xD7\xD6\xB7\xFB\xA3\xAC\xB2\xBB\xC4\xDC\xB1\xA3\xB4\xE6\xA1\xA3";
// The documents' undo history: 25 records; the second figure is kept by the manager, not consulted.
const long kUndoDepth = 25;
const long kUndoSecondLimit = 65536;

// {F6898245-462B-11D1-B99D-00A0C9763A0A}: the documents' dispatch interface.
const IID kDocumentDispatchId = {
    0xF6898245, 0x462B, 0x11D1, {0xB9, 0x9D, 0x00, 0xA0, 0xC9, 0x76, 0x3A, 0x0A}};
const IID* const kInterfaceMap[] = {&kDocumentDispatchId, nullptr};

} // namespace

void SendStatusText(const char* format, const char* path) {
    CString text;
    text.Format(format, path);
    text.MakeLower();
    if (CHostReports* reports = GetHostReports()) reports->StatusText(text);
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->m_hWnd != nullptr)
        ::SendMessageA(main->m_hWnd, HostMessage(kMsgShowMessage), (WPARAM)(const char*)text, 1);
}

IMPLEMENT_DYNAMIC(CEditDocument, CDocument)

BEGIN_MESSAGE_MAP(CEditDocument, CDocument)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND_RANGE(ID_OPTION_GBK_CHARACTERS, ID_OPTION_FOLLOW_FILE, OnOption)
ON_UPDATE_COMMAND_UI_RANGE(ID_OPTION_GBK_CHARACTERS, ID_OPTION_FOLLOW_FILE, OnUpdateOption)
ON_COMMAND_RANGE(ID_OPTION_DEEP_UNDO, ID_OPTION_DEEP_UNDO, OnOption)
ON_UPDATE_COMMAND_UI_RANGE(ID_OPTION_DEEP_UNDO, ID_OPTION_DEEP_UNDO, OnUpdateOption)
ON_COMMAND(ID_OPTION_NO_RECOVERY, OnNoRecovery)
ON_UPDATE_COMMAND_UI(ID_OPTION_NO_RECOVERY, OnUpdateNoRecovery)
ON_COMMAND(ID_OPTION_DETECT_ENCODING, OnDetectEncoding)
ON_UPDATE_COMMAND_UI(ID_OPTION_DETECT_ENCODING, OnUpdateDetectEncoding)
ON_COMMAND_RANGE(ID_FILE_SAVE_AS_GBK, ID_FILE_SAVE_AS_UTF16BE, OnSaveAsEncoding)
ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_SAVE_AS_GBK, ID_FILE_SAVE_AS_UTF16BE, OnUpdateSaveAsEncoding)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_ENCODING, OnUpdateEncodingPane)
END_MESSAGE_MAP()

namespace {
EditOption OptionOf(UINT id) {
    if (id == ID_OPTION_DEEP_UNDO) return kOptionDeepUndo;
    return (EditOption)(1u << (id - ID_OPTION_GBK_CHARACTERS));
}
} // namespace

void CEditDocument::SetOption(EditOption option, BOOL on) {
    unsigned options = on ? (m_options | option) : (m_options & ~(unsigned)option);
    if (options == m_options) return;
    m_options = options;
    if (option == kOptionFollowFile && on) CheckDiskSoon();
    if (option & kOptionDeepUndo) SetDeepHistory(on);
    OptionsChanged();
    UpdateAllViews(nullptr);
}

void CEditDocument::OnOption(UINT id) {
    SetOption(OptionOf(id), !HasOption(OptionOf(id)));
}

void CEditDocument::OnUpdateOption(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(HasOption(OptionOf(pCmdUI->m_nID)) ? 1 : 0);
}

CEditDocument::CEditDocument() : CUndo(kUndoDepth, kUndoSecondLimit) {
    EnableAutomation();
    AfxOleLockApp();
}

void CEditDocument::BindBuffer(CStringEx& text, const CLineTable& lines) {
    m_text = &text;
    m_lines = &lines;
    m_recovery = std::make_unique<CRecoveryWriter>(*this, text);
}

CEditDocument::~CEditDocument() {
    CFileWatch::Instance().Forget(this);
    AfxOleUnlockApp();
}

const IID* const* CEditDocument::GetInterfaceMap() const {
    return kInterfaceMap;
}

long CEditDocument::GetLineOffset(long line) const {
    return line >= 0 && line < GetLineCount() ? m_lines->GetLineOffset((int)line) : 0;
}

long CEditDocument::OffsetToLine(long pos) const {
    return m_lines->OffsetToLine((int)pos);
}

int CEditDocument::GetLineSize(long line) const {
    return line >= 0 && line < GetLineCount() ? m_lines->GetLineSize(*m_text, (int)line) : 0;
}

CString CEditDocument::GetLine(long line) const {
    return line >= 0 && line < GetLineCount() ? m_lines->GetLine(*m_text, (int)line) : CString();
}

char CEditDocument::GetAt(long pos) const {
    return pos >= 0 && pos < GetLength() ? m_text->GetAt((int)pos) : 0;
}

CString CEditDocument::GetString(long pos, int count) const {
    if (pos < 0 || count <= 0 || pos >= GetLength()) return CString();
    if (count > GetLength() - pos) count = (int)(GetLength() - pos);
    return m_text->Mid((int)pos, count);
}

CString CEditDocument::Range(long start, long end) const {
    return GetString(start, (int)(end - start));
}

void CEditDocument::Range(long start, long end, char* out) const {
    if (out == nullptr) return;
    long length = GetLength();
    if (start < 0) start = 0;
    if (end > length) end = length;
    if (start < end)
        m_text->Mid((int)start, (int)(end - start), out);
    else
        out[0] = 0;
}

char* CEditDocument::GetTextBuffer(long pos) {
    char* text = m_text->GetBuffer();
    if (text == nullptr) return nullptr;
    return text + (pos < 0 ? 0 : pos > GetLength() ? GetLength() : pos);
}

int CEditDocument::SearchText(long pos, const char* find, int matchCase) const {
    return pos < 0 || pos > GetLength() ? -1 : m_text->SearchBytes((int)pos, find, matchCase == 0);
}

int CEditDocument::CalcCaretColumn(long line, int column) const {
    if (column < 1) return 0;
    long pos = GetLineOffset(line), length = GetLength();
    int count = 0;
    while (count < column) {
        int step = pos < length && (m_text->GetAt((int)pos) & 0x80) != 0 ? 2 : 1;
        count += step;
        pos += step;
    }
    return count;
}

CView* CEditDocument::SearchView(CRuntimeClass* viewClass) const {
    if (viewClass == nullptr) return nullptr;
    POSITION position = GetFirstViewPosition();
    while (position != nullptr) {
        CView* view = GetNextView(position);
        if (view != nullptr && view->IsKindOf(viewClass)) return view;
    }
    return nullptr;
}

CEditViewLink* CEditDocument::FindViewLink() const {
    POSITION position = GetFirstViewPosition();
    while (position != nullptr)
        if (auto* link = dynamic_cast<CEditViewLink*>(GetNextView(position))) return link;
    return nullptr;
}

BOOL CEditDocument::Edit(int kind, int pos, int removeCount, const char* inserted) {
    if (IsReadOnly()) return FALSE;
    if (inserted == nullptr) inserted = "";
    int insertedLength = (int)std::strlen(inserted);
    if (!ClampEdit(pos, removeCount, insertedLength)) return FALSE;
    CUndoInfo* record = MakeRecord(kind, pos, removeCount, inserted, insertedLength);
    return Commit(record, [&] { return ApplyEdit(pos, removeCount, inserted, insertedLength); });
}

bool CEditDocument::TypeAt(int pos, int count, const char* text) {
    if (IsReadOnly()) return false;
    if (!HasOption(kOptionDeepUndo)) return CEditText::TypeAt(pos, count, text);
    if (text == nullptr) text = "";
    int length = (int)std::strlen(text);
    if (!ClampEdit(pos, count, length)) return false;
    CUndoInfo* record = MakeRecord(count > 0 ? UNDO_REPLACE : UNDO_INSERT, pos, count, text, length);
    return Commit(
               record, [&] { return ApplyEdit(pos, count, text, length); }, true) != FALSE;
}

CUndoInfo* CEditDocument::MakeRecord(int kind, int pos, int removeCount, const char* inserted,
                                     int insertedLength) const {
    auto* record = memblock::New<CUndoInfo>();
    if (record == nullptr) return nullptr;
    if (kind == UNDO_INSERT && insertedLength == 1)
        record->Add(pos, (unsigned int)(unsigned char)inserted[0]);
    else if (kind == UNDO_INSERT)
        record->Add(kind, pos, inserted);
    else if (kind == UNDO_DELETE)
        record->Add(kind, pos, GetString(pos, removeCount));
    else
        record->Add(kind, pos, GetString(pos, removeCount), inserted);
    return record;
}

BOOL CEditDocument::ReplaceFound(int pos, const char* found, const char* replacement) {
    if (IsReadOnly()) return FALSE;
    if (found == nullptr) found = "";
    if (replacement == nullptr) replacement = "";
    int count = (int)std::strlen(found), length = (int)std::strlen(replacement);
    if (!ClampEdit(pos, count, length)) return FALSE;
    auto* record = memblock::New<CUndoInfo>();
    if (record != nullptr) record->Add(UNDO_REPLACE, pos, GetString(pos, count), replacement);
    return Commit(record, [&] { return ApplyEdit(pos, count, replacement, length); });
}

BOOL CEditDocument::ReplaceEach(const std::vector<int>& hits, const char* found, const char* replacement) {
    const int n = (int)std::strlen(found);
    std::vector<CTextChange> changes;
    changes.reserve(hits.size());
    for (int pos : hits) changes.push_back({pos, n, replacement});
    return ReplaceEach(changes);
}

BOOL CEditDocument::ReplaceEach(const std::vector<CTextChange>& changes) {
    if (IsReadOnly()) return FALSE;
    auto* record = memblock::New<CListUndoInfo>(UNDO_REPLACE);
    // Each change reads the bytes it removes where they lie now: the changes before it moved them.
    int growth = 0;
    for (size_t i = 0; record != nullptr && i < changes.size() && record->IsComplete(); ++i) {
        const CTextChange& change = changes[i];
        record->Add(change.pos, GetString(change.pos - growth, change.count), change.text.c_str());
        growth += (int)change.text.size() - change.count;
    }
    BeginBatch();
    BOOL replaced =
        Commit(record, [&] { return ApplyInOneStretch(changes) || ApplyRecord(record) != FALSE; });
    EndBatch();
    // A replace-all marks the document even when it found nothing: it recorded an (empty) step.
    if (replaced) SetModifiedFlag(TRUE);
    return replaced;
}

// Many changes one by one move the buffer's gap and widen it once each; where they lie densely the
// bytes from the first change to the end of the last are built once instead and put in their place
// as one change, which costs about what a few microseconds a change cost one by one over 256 bytes
// of text each (measured at 1 and 100 MB). A stretch holding a zero byte (which the buffer's C-string
// change would cut) is left to the replay, as are sparse runs.
bool CEditDocument::ApplyInOneStretch(const std::vector<CTextChange>& changes) {
    const size_t kShortRun = 64, kBytesPerChange = 256;
    if (changes.size() < kShortRun || changes.size() < (size_t)Length() / kBytesPerChange) return false;
    const int start = changes.front().pos;
    const CTextChange& last = changes.back();
    std::string stretch;
    stretch.reserve(
        (size_t)std::max<long long>(0, (long long)last.pos + (long long)last.text.size() - start));
    int cursor = start, growth = 0;
    for (const CTextChange& change : changes) {
        const int at = change.pos - growth; // where the change starts in the text as it stands
        if (at < cursor) return false;
        const size_t kept = stretch.size();
        stretch.resize(kept + (size_t)(at - cursor));
        Range(cursor, at, &stretch[kept]);
        stretch += change.text;
        cursor = at + change.count;
        growth += (int)change.text.size() - change.count;
    }
    if (cursor > Length() - 1 || stretch.find('\0') != std::string::npos) return false;
    return ApplyEdit(start, cursor - start, stretch.c_str(), (int)stretch.size());
}

BOOL CEditDocument::Commit(CAbstractUndoInfo* record, const std::function<bool()>& change, bool typed) {
    // An edit that could not be recorded whole is refused: its undo would give a wrong text.
    if (record == nullptr || !record->IsComplete() || !CanTakeRecord()) {
        delete record;
        AfxMessageBox(kOutOfMemory);
        return FALSE;
    }
    // The record joins the history only for a change that took place: a refused one would replay
    // bytes that were never there.
    if (!change()) {
        delete record;
        return FALSE;
    }
    if (typed)
        SetTypedUndoInfo(static_cast<CUndoInfo*>(record), ::GetTickCount());
    else
        SetUndoInfo(record);
    return TRUE;
}

void CEditDocument::Insert(int pos, const char* text) {
    Replace(pos, 0, text);
}

void CEditDocument::Replace(int pos, int count, const char* text) {
    if (text == nullptr) text = "";
    int length = (int)std::strlen(text);
    if (ClampEdit(pos, count, length) && !ApplyEdit(pos, count, text, length)) ReplayFailed();
}

void CEditDocument::Delete(int pos, int count) {
    Replace(pos, count, "");
}

BOOL CEditDocument::ClampEdit(int pos, int& removeCount, int insertedLength) const {
    int length = (int)GetLength();
    if (length <= 0 || pos < 0 || pos > length - 1) return FALSE;
    removeCount = std::clamp(removeCount, 0, length - 1 - pos);
    return removeCount > 0 || insertedLength > 0;
}

// A buffer that cannot have the memory for a change leaves its text as it was: then nothing is marked,
// announced or recorded, and the user is told.
bool CEditDocument::ApplyEdit(int pos, int removeCount, const char* inserted, int insertedLength) {
    long expected = GetLength() - removeCount + insertedLength;
    ChangeBuffer(pos, removeCount, inserted, insertedLength);
    if (GetLength() != expected) {
        AfxMessageBox(kOutOfMemory);
        return false;
    }
    SetModifiedFlag(TRUE);
    m_recovery->OnEdited(pos);
    if (IsBatching()) m_bBatchChanged = TRUE;
    POSITION position = GetFirstViewPosition();
    while (position != nullptr)
        if (auto* link = dynamic_cast<CEditViewLink*>(GetNextView(position)))
            link->OnTextChanged(pos, removeCount, insertedLength);
    return true;
}

int CEditDocument::OpenFile(LPCSTR path) {
    return ReadDocumentFile(path, kOpen);
}
int CEditDocument::LoadFile(LPCSTR path) {
    return ReadDocumentFile(path, kLoad);
}
int CEditDocument::ReloadFile() {
    return ReadDocumentFile(nullptr, kReload);
}

int CEditDocument::ReadDocumentFile(LPCSTR path, ReadKind kind) {
    const CString name =
        kind == kReload && path == nullptr ? GetPathName() : CString(path != nullptr ? path : "");
    CProgressBar bar(kind == kOpen     ? kReadBarText
                     : kind == kReload ? kReloadBarText
                                       : LoadBarText(),
                     40, 100);
    if (kind != kOpen || GetLength() > 0) {
        ClearText();
        RecalcScrollSize();
    }
    SendStatusText(kind == kOpen ? kReadStatus : kind == kReload ? kReloadStatus : kLoadStatus, name);

    CStdioFile file;
    BOOL ok = file.Open(name, CFile::modeRead | CFile::typeText | ReadSharing(kind));
    ULONGLONG size = ok ? file.GetLength() : 0;
    CFileReading reading;
    // A file past what a text holds is refused before detection reads it (decoding never grows it).
    ok = ok && TextBlockSizeFor(size) > 0 &&
         PrepareTextRead(file, HasOption(kOptionDetectEncoding) != FALSE, reading, size);
    int block = TextBlockSizeFor(size);
    ok = ok && !file.HasFailed() && block > 0 && m_text->SetBufferSize(block);
    if (ok) {
        bar.SetPos(0);
        ok = ReadText(file, (long)size, kind, bar) && !m_text->AllocationFailed() &&
             !m_lines->AllocationFailed();
    }
    if (!ok) {
        file.Abort();
        ClearText(); // no half-read text stays behind the message
        RecalcScrollSize();
        ForgetDisk();
        if (kind != kOpen) ClearHistory();
        ShowReadError(name);
        return 0;
    }
    if (kind == kReload) {
        if (CEditViewLink* view = FindViewLink()) view->UpdateColors();
    }
    bar.SetPos(100);
    ULONGLONG consumed = file.GetPosition();
    file.Close();
    RememberDisk(name, consumed == CFile::kSeekFailed ? 0 : consumed);
    if (kind != kOpen) {
        // The history's records describe the text that was replaced: replayed on this one they
        // would change bytes they never saw.
        ClearHistory();
        SetModifiedFlag(FALSE);
        UpdateAllViews(nullptr, 0, nullptr);
    }
    TakeReading(reading);
    return 1;
}

namespace {
// A text-mode file as the loading loop's source.
class CFileTextSource : public CTextSource {
public:
    explicit CFileTextSource(CStdioFile& file) : m_file(file) {}
    unsigned Read(char* buffer, unsigned count) override { return m_file.Read(buffer, count); }
    bool Failed() const override { return m_file.HasFailed() != FALSE; }

private:
    CStdioFile& m_file;
};
} // namespace

long CEditDocument::ReadBlocks(CStdioFile& file, long size, CProgressBar& bar, bool keepNul,
                               const std::function<void(long total)>& afterRead) {
    CFileTextSource source(file);
    CReadProgress progress(bar, size);
    return LoadTextBlocks(*m_text, source, keepNul, [&](long total) {
        afterRead(total);
        progress.Update(total);
    });
}

void CEditDocument::CReadProgress::Update(long total) {
    int percent = m_size > 0 ? (int)((long long)total * 100 / m_size) : 100;
    if (percent != m_percent) m_bar.SetPos(m_percent = percent);
}

BOOL CEditDocument::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    ForgetDisk();
    if (!m_text->SetBufferSize(TextBlockSizeFor(0))) return FALSE;
    RecalcScrollSize();
    return TRUE;
}

BOOL CEditDocument::OnOpenDocument(LPCSTR path) {
    CEditViewLink* view = FindViewLink();
    if (!OpenFile(path)) return FALSE;
    OfferRecovery(path);
    if (view != nullptr) view->SetRenderFlag(1);
    return TRUE;
}

BOOL CEditDocument::OnSaveDocument(LPCSTR path) {
    const CString name(path != nullptr ? path : "");
    // The text read lost characters: writing it would put question marks in their place.
    if (m_nLostLine > 0) {
        AfxMessageBox(kCannotSave);
        return FALSE;
    }
    SendStatusText(kSaveStatus, name);
    if (!WriteSafely(name)) {
        ShowReadError(name);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    RememberDisk(name, CDiskStamp::Of(name).size);
    return TRUE;
}

void CEditDocument::ShowReadError(LPCSTR path) const {
    CString text;
    text.Format(kFileError, path);
    AfxMessageBox(text);
}

void CEditDocument::OnCloseDocument() {
    if (CHostReports* reports = GetHostReports()) reports->Closing();
    if (CWinApp* app = AfxGetApp()) app->OnCmdMsg(kCloseCommand, 0, nullptr, nullptr);
    // Closing without saving throws the edits away, and their recovery file with them.
    m_recovery->Discard();
    CDocument::OnCloseDocument();
}

BOOL CEditDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nID != 0 && nID == HostMessage(kMsgFileReload)) {
        ReloadFile();
        return TRUE;
    }
    if (nID != 0 && nID == HostMessage(kMsgFileLoad)) {
        // A load without a path is refused before the text is touched.
        if (pExtra == nullptr)
            ShowReadError("");
        else
            LoadFile(static_cast<LPCSTR>(pExtra));
        return TRUE;
    }
    return CDocument::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CEditDocument::DeleteContents() {
    ClearText();
}

void CEditDocument::Serialize(CArchive&) {}

void CEditDocument::EndBatch() {
    if (m_nBatchDepth == 0 || --m_nBatchDepth > 0) return;
    if (m_bBatchChanged) {
        m_bBatchChanged = FALSE;
        RecalcScrollSize();
        POSITION position = GetFirstViewPosition();
        while (position != nullptr)
            if (auto* link = dynamic_cast<CEditViewLink*>(GetNextView(position))) link->OnBatchEnd();
    }
    int caret = m_nBatchCaret;
    m_nBatchCaret = -1;
    if (caret >= 0) ScrollToCurrent(caret);
}

void CEditDocument::ScrollToCurrent(int pos) {
    if (IsBatching()) {
        m_nBatchCaret = pos;
        return;
    }
    CEditViewLink* view = FindViewLink();
    if (view == nullptr) return;
    view->SetSelection(pos, pos);
    view->UpdateColors();
    view->SetCurrentPosition(pos);
}

CSize CEditDocument::TextExtent() const {
    CSize total = GetTotalWidth();
    if (HasOption(kOptionLongLines)) total.cx = std::max<int>(total.cx, GetLineWidth(GetLineCount() - 1));
    return total;
}
