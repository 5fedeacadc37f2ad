// CEditDocument: what the plain and the coloured editor documents share: text access for the views,
// the text file format, the host's load and reload commands, saving, closing and the undo callbacks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "documents/EditViewLink.h"
#include "documents/FileEncoding.h"
#include "framework/base/Geometry.h"
#include "framework/win/Document.h"
#include "framework/win/View.h"
#include "text/EditText.h"
#include "text/LineTable.h"
#include "text/StringEx.h"
#include "undo/Undo.h"

class CProgressBar;
class CRecoveryWriter;
class CStdioFile;
struct CDiskState;
struct CDiskStamp;

// Options beyond the editor's standard behaviour, each off until the host switches it on: GBK
// characters found from the line's start with the code page's own lead-byte table, colours that do
// not depend on where the window is, lines of megabytes that stay quick to edit, and a file that
// grows on disk followed to its end (bytes appended to it join the text). The commands
// toggle them for the active document; their menu items show a check while on.
enum EditOption : unsigned {
    kOptionGbkCharacters = 1,
    kOptionWholeTextColors = 2,
    kOptionLongLines = 4,
    kOptionFollowFile = 8,
    kOptionDetectEncoding = 16, // on from the start: UTF-8 and UTF-16 files are recognised
    kOptionDeepUndo = 128,
};
enum : UINT {
    ID_OPTION_GBK_CHARACTERS = 0x8110,
    ID_OPTION_WHOLE_TEXT_COLORS = 0x8111,
    ID_OPTION_LONG_LINES = 0x8112,
    ID_OPTION_FOLLOW_FILE = 0x8113,
    // Switches crash recovery off for the whole process (and on again); checked while off.
    ID_OPTION_NO_RECOVERY = 0x8114,
    ID_OPTION_DETECT_ENCODING = 0x8115,
    ID_OPTION_DEEP_UNDO = 0x811C,
    // Save As in an encoding, in TextEncoding's order; the status-bar pane that shows the encoding.
    ID_FILE_SAVE_AS_GBK = 0x8130,
    ID_FILE_SAVE_AS_UTF8 = 0x8131,
    ID_FILE_SAVE_AS_UTF8_BOM = 0x8132,
    ID_FILE_SAVE_AS_UTF16LE = 0x8133,
    ID_FILE_SAVE_AS_UTF16BE = 0x8134,
    ID_INDICATOR_ENCODING = 0xE711,
};

// The twin documents differ only in their buffer (reached here through the string and line-table
// references the derived class hands in, and through the few virtual operations below), in how
// they read a file and in the view class they talk to.
//
// Invariants: once constructed, m_text and m_lines point at the buffer of the derived document
// (CEditDocumentOf binds them) and stay there for the document's life. Every access for the views checks its
// position, so a stale position answers an empty value instead of reading outside the text.
class CEditDocument : public CDocument, public CUndo, public CEditText {
    DECLARE_DYNAMIC(CEditDocument)
public:
    ~CEditDocument() override;

    // Text access for the views.
    long GetLength() const { return m_text->GetTextSize(); }
    long GetLineCount() const { return m_lines->GetLineCount(); }
    long GetLineOffset(long line) const;
    long OffsetToLine(long pos) const;
    int GetLineSize(long line) const;
    CString GetLine(long line) const;
    char GetAt(long pos) const;
    CString GetString(long pos, int count) const;
    CString Range(long start, long end) const;
    void Range(long start, long end, char* out) const;
    // Valid until the text next grows or is released.
    char* GetTextBuffer(long pos);
    // The first occurrence of find from pos on before the next zero byte, exactly or with the ASCII
    // letters' case ignored; -1 when none. The text is read where it lies (it is not made contiguous).
    int SearchText(long pos, const char* find, int matchCase) const;
    CSize GetTotalWidth() const { return m_lines->GetTotalWidth(); }
    const CStringEx& GetText() const { return *m_text; }
    // The line's width in cells as the widest line counts it (a tab four cells).
    int GetLineWidth(long line) const { return m_lines->GetLineWidth(*m_text, (int)line); }
    virtual void RecalcScrollSize() = 0;
    // The text's size in cells and lines as a view scrolls it: the widest line leaves the last line
    // out (it has no line feed), except with the long-line option, so a file of one long line scrolls.
    CSize TextExtent() const;
    // The one road by which the text changes. Edit replaces the removeCount bytes at pos by inserted
    // after handing the undo manager a record of the kind (UNDO_INSERT, UNDO_DELETE or UNDO_REPLACE);
    // Insert and Delete are the undo manager's replays and record nothing. Each marks the document
    // modified and tells every editor view. Positions are clamped so the terminator stays the last byte.
    // Edit answers FALSE, with the text, the history and the modified flag as they were, for no change
    // or a change refused for want of memory (the user is told).
    BOOL Edit(int kind, int pos, int removeCount, const char* inserted);
    void Insert(int pos, const char* text) override;
    void Delete(int pos, int count) override;
    // The count bytes at pos become text, unrecorded: the undo manager's replay of a replacement.
    void Replace(int pos, int count, const char* text);
    // The find-and-replace commands' changes, refused as Edit refuses them. ReplaceFound replaces as
    // many bytes at pos as found has by replacement, one UNDO_REPLACE record. ReplaceEach replaces
    // as many bytes as found has by replacement at each of hits (each a place in the text as the
    // replacements before it left it), as one batch and one list record, all or none. The records
    // keep the bytes the text held, so the undo of a case-blind replacement gives back their case.
    BOOL ReplaceFound(int pos, const char* found, const char* replacement);
    BOOL ReplaceEach(const std::vector<int>& hits, const char* found, const char* replacement);
    // As above with a change of its own at each place (a regular expression's replacements).
    BOOL ReplaceEach(const std::vector<CTextChange>& changes);
    // Many edits shown as one (an undo of a list record, a replace-all): inside a batch the views
    // follow the edits without re-laying out or painting and ScrollToCurrent keeps only its last
    // position; the outermost EndBatch re-lays out every view once and then places the caret there.
    void BeginBatch() { ++m_nBatchDepth; }
    void EndBatch();
    BOOL IsBatching() const { return m_nBatchDepth > 0; }
    // The column moved forward to a character boundary of the line.
    int CalcCaretColumn(long line, int column) const;
    // The first view of the class or of one derived from it; null when there is none.
    CView* SearchView(CRuntimeClass* viewClass) const;

    BOOL HasOption(EditOption option) const { return (m_options & option) != 0; }
    // The text as the editing rules see it, in int positions.
    int Length() const final { return (int)GetLength(); }
    char ByteAt(int pos) const final { return GetAt(pos); }
    int LineCount() const final { return (int)GetLineCount(); }
    int LineStart(int line) const final { return (int)GetLineOffset(line); }
    int LineOfOffset(int pos) const final { return (int)OffsetToLine(pos); }
    const CStringEx& Text() const final { return *m_text; }
    int CaretColumn(int line, int column) const final { return CalcCaretColumn(line, column); }
    bool GbkCharacters() const final { return HasOption(kOptionGbkCharacters); }
    bool LongLines() const final { return HasOption(kOptionLongLines); }
    // The editing rules' changes, recorded as Edit records them.
    bool InsertAt(int pos, const char* text) final { return Edit(UNDO_INSERT, pos, 0, text) != FALSE; }
    bool DeleteAt(int pos, int count) final { return Edit(UNDO_DELETE, pos, count, "") != FALSE; }
    bool ReplaceAt(int pos, int count, const char* text) final {
        return Edit(UNDO_REPLACE, pos, count, text) != FALSE;
    }
    // With the deep undo option, characters typed one after another make one undo step.
    bool TypeAt(int pos, int count, const char* text) final;
    void EndTyping() final { EndTypingGroup(); }
    bool ChangeEach(const std::vector<CTextChange>& changes) final { return ReplaceEach(changes) != FALSE; }
    // Switches an option and repaints the views.
    void SetOption(EditOption option, BOOL on);

    // The encoding the file came in and a save writes. SetEncoding marks the document modified; it
    // is refused (FALSE, the user told) for a text that lost characters when it was read.
    TextEncoding GetEncoding() const { return m_format.encoding; }
    BOOL SetEncoding(TextEncoding encoding);
    // A read-only document refuses every edit (typing, paste, replace, undo, redo). A file holding
    // characters code page 936 cannot hold stays read-only whatever the host sets.
    void SetReadOnly(BOOL readOnly) { m_bReadOnly = readOnly; }
    BOOL IsReadOnly() const { return m_bReadOnly || m_nLostLine > 0; }
    // The host's setting alone, and the first line (from 1) of the file read that held a character
    // code page 936 cannot hold (0 when none did).
    BOOL IsReadOnlySet() const { return m_bReadOnly; }
    int GetLostLine() const { return m_nLostLine; }

    // Files. Each answers 1 on success and 0 after showing the read-error message.
    int OpenFile(LPCSTR path);
    int LoadFile(LPCSTR path);
    int ReloadFile();

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR path) override;
    BOOL OnSaveDocument(LPCSTR path) override;
    void OnCloseDocument() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Clearing the flag (a save, a load) also deletes the document's recovery file.
    void SetModifiedFlag(BOOL modified = TRUE) override;
    // Keeps the unsaved text in a recovery file against a crash (RecoveryWriter.h).
    CRecoveryWriter& GetRecoveryWriter() { return *m_recovery; }
    // After the file at path was read: when a recovery file newer than it exists, asks whether to take
    // its text; yes reads it as the modified text, no deletes it. OnOpenDocument does it.
    void OfferRecovery(LPCSTR path);
    // Serves both the framework document and the undo manager.
    void DeleteContents() override;
    void Serialize(CArchive& archive) override;
    void ScrollToCurrent(int pos) override;

    // The file on disk (EditDocumentDisk.cpp). The document remembers the size and write time of the
    // file it last read or wrote; CheckDisk compares them with the file now and, when another program
    // changed it, reloads a document without edits at once (each view kept on its lines), asks once
    // per change before reloading one with edits, reports a deletion or a rename once (and marks the
    // document modified, so that a save writes the file again) or, with the follow option, takes the
    // bytes appended to the file into the text. Run at idle time by the file watch; CheckDiskSoon
    // asks it for the next idle time (a view of the document got the focus).
    void CheckDisk();
    void CheckDiskSoon();
    // Whether the watch must look at the file at every idle time, not only on a change notification.
    BOOL WatchesDiskClosely() const;

protected:
    enum ReadKind { kOpen, kLoad, kReload };

    CEditDocument();
    void BindBuffer(CStringEx& text, const CLineTable& lines);

    // The text-reading loop of this family for the kind of read; FALSE on a failed read or
    // allocation. The file is open and the block sized; the progress bar is at 0.
    virtual BOOL ReadText(CStdioFile& file, long size, ReadKind kind, CProgressBar& bar) = 0;
    // The progress text of LoadFile, which the two families word differently.
    virtual const char* LoadBarText() const = 0;
    // Whether NUL bytes read from a file stay in the text (else they become spaces).
    virtual bool KeepsNulBytes() const = 0;
    // Sharing granted to other programs while the file is read.
    virtual UINT ReadSharing(ReadKind kind) const = 0;
    // Releases the text block (the buffer's own ClearContents).
    virtual void ClearText() = 0;
    // Changes the buffer: count bytes at pos become the length bytes of text (NUL-terminated).
    virtual void ChangeBuffer(int pos, int count, const char* text, int length) = 0;
    // The first editor view of this document; null when there is none.
    CEditViewLink* FindViewLink() const;

    // The shared loading loop (LoadTextBlocks) over the file, moving the bar as it reads.
    long ReadBlocks(CStdioFile& file, long size, CProgressBar& bar, bool keepNul,
                    const std::function<void(long total)>& afterRead);
    // Moves the bar to total x 100 / size (100 for an empty file), talking to it only on a change.
    class CReadProgress {
    public:
        CReadProgress(CProgressBar& bar, long size) : m_bar(bar), m_size(size) {}
        void Update(long total);

    private:
        CProgressBar& m_bar;
        long m_size;
        int m_percent = 0;
    };

    CStringEx* m_text = nullptr;
    const CLineTable* m_lines = nullptr;

private:
    // FALSE when pos lies outside the text or the change changes nothing; otherwise removeCount is
    // cut so that the terminating byte is never removed.
    BOOL ClampEdit(int pos, int& removeCount, int insertedLength) const;
    // The record of an edit of the kind that replaces removeCount bytes at pos by inserted; null
    // when memory is short.
    CUndoInfo* MakeRecord(int kind, int pos, int removeCount, const char* inserted, int insertedLength) const;
    // Changes the buffer, marks the document modified and tells its editor views.
    bool ApplyEdit(int pos, int removeCount, const char* inserted, int insertedLength);
    bool ApplyInOneStretch(const std::vector<CTextChange>& changes);
    // Makes change and lists record for it, or refuses both: a record that is missing, not whole or
    // cannot be listed refuses the change, and a change that fails is not listed.
    BOOL Commit(CAbstractUndoInfo* record, const std::function<bool()>& change, bool typed = false);
    int ReadDocumentFile(LPCSTR path, ReadKind kind);
    // Saving (EditDocumentSave.cpp).
    BOOL WriteWholeText(LPCSTR path, bool inPlace);
    BOOL WriteSafely(LPCSTR path);
    BOOL WriteInPlace(LPCSTR target, LPCSTR backup);
    static BOOL PutInPlaceOf(LPCSTR target, LPCSTR written, DWORD attributes);
    void ShowReadError(LPCSTR path) const;
    // Recovery (EditDocumentRecovery.cpp).
    BOOL ReadRecovered(LPCSTR recoveryFile);
    void OnNoRecovery();
    void OnUpdateNoRecovery(CCmdUI* pCmdUI);
    // The file at path is what the text was read from or written to, up to its raw byte consumed.
    void RememberDisk(LPCSTR path, ULONGLONG consumed);
    void ForgetDisk();
    void ReloadFromDisk();
    // The bytes appended to the file since it was last read, into the text; FALSE when the file was
    // not only appended to (it shrank, or bytes already read changed) or is not a GBK file.
    BOOL FollowAppends(const CDiskStamp& now);
    // Bytes of the file as the text file format reads them, added at the text's end without an undo
    // record or the modified flag; views whose caret was on the last line go to the new end.
    BOOL AppendFromDisk(const std::string& text);

    // An option changed (the coloured document switches its buffer's scan checkpoints).
    virtual void OptionsChanged() {}
    void OnOption(UINT id);
    void OnUpdateOption(CCmdUI* pCmdUI);
    void OnDetectEncoding();
    void OnUpdateDetectEncoding(CCmdUI* pCmdUI);
    // Encodings (EditDocumentEncoding.cpp).
    void OnSaveAsEncoding(UINT id);
    void OnUpdateSaveAsEncoding(CCmdUI* pCmdUI);
    void OnUpdateEncodingPane(CCmdUI* pCmdUI);
    // Takes what reading found; tells the user when characters were lost.
    void TakeReading(const CFileReading& reading);
    BOOL WriteEncoded(LPCSTR path, bool inPlace);

    unsigned m_options = kOptionDetectEncoding;
    CFileFormat m_format;
    BOOL m_bReadOnly = FALSE;
    int m_nLostLine = 0; // the first line of the file read that held a character GBK cannot hold
    int m_nBatchDepth = 0;
    BOOL m_bBatchChanged = FALSE;
    int m_nBatchCaret = -1; // the last ScrollToCurrent of the batch, -1 when none came
    std::unique_ptr<CRecoveryWriter> m_recovery;
    std::unique_ptr<CDiskState> m_disk;
    BOOL m_bCheckingDisk = FALSE;

    DECLARE_MESSAGE_MAP()
    const IID* const* GetInterfaceMap() const override;
};

// The buffer-specific half of a document: the buffer itself and the operations that must reach its
// own type (the coloured buffer also forgets its colouring markers when the text changes).
template <class TBuffer> class CEditDocumentOf : public CEditDocument {
public:
    void RecalcScrollSize() override { m_buffer.Reset(0); }
    TBuffer& GetTextString() { return m_buffer; }

protected:
    CEditDocumentOf() { BindBuffer(m_buffer, m_buffer.GetLineTable()); }
    void ClearText() override { m_buffer.ClearContents(); }
    // One typed byte and one line feed take the buffer's own single-byte operations, which patch
    // the line table in place instead of replaying the edit.
    void ChangeBuffer(int pos, int count, const char* text, int length) override {
        if (count == 0 && length == 1 && text[0] == '\n')
            m_buffer.Return(pos);
        else if (count == 0 && length == 1)
            m_buffer.Insert(pos, text[0]);
        else if (count == 0)
            m_buffer.Insert(pos, text, length);
        else if (length == 0)
            m_buffer.Delete(pos, count);
        else
            m_buffer.Replace(pos, count, text);
    }

    TBuffer m_buffer;
};

// Sends a status text to the host's main window with "Show Message", lower-cased (code-page aware).
void SendStatusText(const char* format, const char* path);
