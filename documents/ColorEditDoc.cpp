// The coloured document's reading loops, its colour queries and its repaint on buffer updates.
#include "documents/ColorEditDoc.h"

#include <algorithm>

#include "documents/ProgressBar.h"

IMPLEMENT_DYNCREATE(CColorEditDoc, CEditDocument)

BEGIN_MESSAGE_MAP(CColorEditDoc, CEditDocument)
END_MESSAGE_MAP()

const char* CColorEditDoc::LoadBarText() const {
    return "\xD5\xFD\xD4\xDA\xB6\xC1\xC8\xEB\xCE\xC4\xBC\xFE..."; // 正在读入文件...
}

UINT CColorEditDoc::ReadSharing(ReadKind kind) const {
    return kind == kOpen ? CFile::shareDenyNone : CFile::shareExclusive;
}

BOOL CColorEditDoc::ReadText(CStdioFile& file, long size, ReadKind kind, CProgressBar& bar) {
    if (kind != kOpen) {
        if (!ReadChunks(file, size, bar)) return FALSE;
    } else {
        long total = ReadBlocks(file, size, bar, true, [](long) {});
        if (total < 0) return FALSE;
        // A file that ends in a NUL brings its own terminator.
        bool ownTerminator = total > 0 && m_buffer.GetBuffer()[total - 1] == 0;
        m_buffer.SetLength((int)(ownTerminator ? total : total + 1));
        if (!ownTerminator) m_buffer.GetBuffer()[total] = 0;
    }
    m_buffer.ForgetScanCheckpoints();
    m_buffer.Reset(0);
    return TRUE;
}

BOOL CColorEditDoc::ReadChunks(CStdioFile& file, long size, CProgressBar& bar) {
    char chunk[1024] = {};
    long total = 0;
    CReadProgress progress(bar, size);
    for (;;) {
        UINT count = file.Read(chunk, sizeof chunk - 1);
        if (file.HasFailed()) return FALSE;
        chunk[count] = 0;
        if (!m_buffer.Append(chunk)) return FALSE;
        total += (long)count;
        progress.Update(total);
        if (count == 0) return TRUE;
    }
}

// The long-line option colours a long line's visible part from a scan checkpoint too; the GBK option
// reaches the scanner.
void CColorEditDoc::OptionsChanged() {
    BOOL checkpoints = HasOption(kOptionWholeTextColors) || HasOption(kOptionLongLines);
    if (checkpoints != m_buffer.UsesScanCheckpoints()) m_buffer.UseScanCheckpoints(checkpoints);
    if (HasOption(kOptionGbkCharacters) != m_buffer.UsesGbkCharacters())
        m_buffer.UseGbkCharacters(HasOption(kOptionGbkCharacters));
}

void CColorEditDoc::RenderWindow(int start, int end, int visible) {
    if (visible < start) visible = start;
    if (HasOption(kOptionWholeTextColors) || (HasOption(kOptionLongLines) && visible > start))
        m_buffer.RenderWindow(visible, end);
    else
        m_buffer.ParseTextColor(start, end);
}

// Inside a batch the views repaint once at its end instead.
void CColorEditDoc::DoColorStringUpdate(int modified) {
    POSITION position = IsBatching() ? nullptr : GetFirstViewPosition();
    while (position != nullptr) {
        CView* view = GetNextView(position);
        if (view != nullptr && view->m_hWnd != nullptr) view->Invalidate(TRUE);
    }
    if (modified != 0) SetModifiedFlag(TRUE);
}

int CColorEditDoc::GetLineColorTable(int line, int pos, CColorTable& table) {
    if (line < 0 || line >= GetLineCount()) return 0;
    int next = line + 1 < GetLineCount() ? (int)GetLineOffset(line + 1) : (int)GetLength();
    int last = next - 1;
    CColorArray& runs = m_buffer.GetColorArray();
    int n = m_buffer.GetColorNumber();
    if (n == 0 || pos >= last) return 0;
    int previous = runs.StartPos();
    for (int k = 0; k < n; ++k) {
        int end = runs.GetColorPos(k);
        if (previous <= pos && pos < end) {
            DispatchColor(k, pos, last, runs, table);
            return 1;
        }
        previous = end;
    }
    return 0;
}

void CColorEditDoc::DispatchColor(int run, int pos, int end, CColorArray& runs, CColorTable& table) {
    if (end < 1) return;
    int n = runs.GetColorNumber();
    for (int k = std::max(run, 0); k < n; ++k) {
        int runEnd = std::min(std::max(runs.GetColorPos(k), pos), end + 1);
        table.AddColor(runs.GetAt(k), runEnd);
        if (runEnd >= end) return;
    }
}
