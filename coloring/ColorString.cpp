// Coloured buffer: edits with the update bracket, line access through the shared line table, scanning.
#include "coloring/ColorString.h"

#include <algorithm>
#include <cstring>

CColorString::CColorString(int) {
    SetTabSize(4);
}

// Rules are owned by the rule set, update targets are not owned; no worker is ever started.
CColorString::~CColorString() = default;

void CColorString::BeginUpdate(int, int) {
    m_bracket.Begin(GetTextSize());
}

void CColorString::EndUpdate(int pos, int) {
    if (m_bracket.End(pos)) Process(m_bracket.GetLowest());
}

// Widens the run list to one entry per byte (the entries added are zero and hold no memory) and
// rebuilds the lines. The idle worker thread the buffer could start here does nothing, so none is.
void CColorString::Process(int) {
    int n = GetTextSize();
    if (m_runs.GetSize() != n) m_runs.SetSize(n);
    Reset(0);
}

int CColorString::GetLineCount() const {
    return m_lines.GetLineCount();
}
int CColorString::GetLineOffset(int line) const {
    return m_lines.GetLineOffset(line);
}
int CColorString::GetLineEndOffset(int line) const {
    return m_lines.GetLineEndOffset(*this, line);
}
int CColorString::GetLineSize(int line) const {
    return m_lines.GetLineSize(*this, line);
}
int CColorString::GetLineWidth(int line) const {
    return m_lines.GetLineWidth(*this, line);
}
CString CColorString::GetLine(int line) const {
    return m_lines.GetLine(*this, line);
}
CSize CColorString::GetTotalWidth() const {
    return m_lines.GetTotalWidth();
}
int CColorString::OffsetToLine(int pos) const {
    return m_lines.OffsetToLine(pos);
}
void CColorString::RecalcLine(int pos) {
    m_lines.RecalcLine(*this, pos);
}
void CColorString::MoveLineOffset(int line, int delta) {
    m_lines.MoveLineOffset(line, delta);
}
void CColorString::AddLineOffset(int offset) {
    m_lines.AddLineOffset(offset);
}

void CColorString::Reset(int) {
    m_lines.Reset(*this);
}

COLORREF CColorString::GetColor(int index) const {
    return (index >= 0 && index < m_runs.GetSize()) ? m_runs.GetAt(index) : m_rules.GetTextColor();
}

CKeywordInfo* CColorString::KeywordLookup(const CString& word) const {
    return m_rules.KeywordLookup(word, word.GetLength());
}

CTitleInfo* CColorString::TitleLookup(const CString& word) const {
    return m_rules.TitleLookup(word, word.GetLength());
}

CColorScanner CColorString::Scanner() {
    return ScannerInto(m_runs);
}

CColorScanner CColorString::ScannerInto(CColorArray& runs) {
    CColorScanner scanner(Pieces(), runs, m_rules, m_markers); // read where it lies: no gap move
    scanner.UseLines(&m_lines);
    scanner.UseGbkCharacters(m_bGbk != FALSE);
    return scanner;
}

int CColorString::ParseTextColor(int start, int end) {
    return Scanner().ParseTextColor(start, end,
                                    m_listingPath.IsEmpty() ? nullptr : (const char*)m_listingPath);
}

int CColorString::GetComment(int rule, CString& begin, CString& end, int& length, int pos, int limit) {
    return Scanner().GetComment(rule, begin, end, length, pos, limit);
}

int CColorString::GetQuote(int rule, CString& begin, CString& end, int& length, int pos, int limit) {
    return Scanner().GetQuote(rule, begin, end, length, pos, limit);
}

int CColorString::RenderWindow(int start, int end) {
    if (!m_bCheckpoints) return ParseTextColor(start, end);
    if (m_checkpointLength != GetTextSize()) m_checkpoints.Clear();
    m_checkpointLength = GetTextSize();
    CColorScanner scanner = ScannerInto(m_checkpointRuns);
    int from = start;
    try {
        from = m_checkpoints.StartFor(start, scanner, GetTextSize());
    } catch (...) {
        m_checkpoints.Clear(); // out of memory: coloured from the window's start as without them
    }
    m_checkpointRuns.Reset();
    return ParseTextColor(from, end);
}

void CColorString::UseGbkCharacters(BOOL on) {
    m_bGbk = on;
    m_checkpoints.Clear();
}

void CColorString::UseScanCheckpoints(BOOL on) {
    m_bCheckpoints = on;
    m_checkpoints.Clear();
    m_checkpointLength = -1;
}

bool CColorString::HasZero(int pos, int count) const {
    return count > 0 && Pieces().Find('\0', pos, pos + count) >= 0;
}

void CColorString::TextEdited(int pos, int removed, int inserted, bool removedZero, int sizeBefore) {
    if (GetTextSize() != sizeBefore - removed + inserted) {
        TextReplaced(); // not the change expected: nothing learnt is trusted
        return;
    }
    try {
        m_markers.Edited(Pieces(), pos, removed, inserted, removedZero);
    } catch (...) {
        m_markers.Invalidate();
    }
    if (!m_bCheckpoints) return;
    if (m_checkpointLength != sizeBefore) {
        m_checkpoints.Clear();
    } else {
        try {
            m_checkpoints.Edited(Pieces(), pos, removed, inserted, removedZero);
        } catch (...) {
            m_checkpoints.Clear();
        }
    }
    m_checkpointLength = GetTextSize();
}

void CColorString::SetRunListing(const char* path) {
    try {
        m_listingPath = path ? path : "";
    } catch (...) {
        m_listingPath.Empty();
    }
}

CColorString& CColorString::Insert(int pos, const char* text) {
    return text == nullptr ? *this : Insert(pos, text, (int)std::strlen(text));
}

CColorString& CColorString::Insert(int pos, const char* text, int length) {
    if (text == nullptr || length < 0 || pos < 0 || pos > GetTextSize()) return *this;
    BeginUpdate(0, 1);
    int before = GetTextSize();
    // A refused insertion (no memory for the block) leaves the run list in step with the text.
    if (CStringEx::Insert(pos, text, length)) m_runs.InsertAt(pos, m_rules.GetTextColor(), length);
    TextEdited(pos, 0, length, false, before);
    int n = GetTextSize();
    Reset(0);
    EndUpdate(pos, n - pos);
    return *this;
}

CColorString& CColorString::Insert(int pos, char c) {
    if (pos < 0 || pos > GetTextSize()) return *this;
    BeginUpdate(0, 1);
    int line = m_lines.OffsetToLine(pos);
    bool inStep = m_lines.IsInStep(*this);
    int before = GetTextSize();
    CStringEx::Insert(pos, c);
    TextEdited(pos, 0, 1, false, before);
    if (GetTextSize() != before) m_lines.PatchInsertedByte(*this, pos, line, inStep);
    int n = GetTextSize();
    EndUpdate(pos, n - pos);
    return *this;
}

CColorString& CColorString::Return(int pos) {
    if (pos < 0 || pos > GetTextSize()) return *this;
    BeginUpdate(0, 1);
    int before = GetTextSize();
    CStringEx::Insert(pos, '\n');
    TextEdited(pos, 0, 1, false, before);
    int n = GetTextSize();
    Reset(0);
    EndUpdate(pos, n - pos);
    return *this;
}

CColorString& CColorString::Delete(int pos, int count) {
    if (pos < 0) return *this;
    int before = GetTextSize();
    int removed = RemovedCount(pos, count);
    bool zero = HasZero(pos, removed);
    CStringEx::Delete(pos, count);
    TextEdited(pos, removed, 0, zero, before);
    Reset(0);
    return *this;
}

CColorString& CColorString::Replace(int pos, int count, const char* text) {
    if (pos < 0 || pos > GetTextSize()) return *this;
    if (text == nullptr) text = "";
    int before = GetTextSize();
    int removed = RemovedCount(pos, count);
    bool zero = HasZero(pos, removed);
    CStringEx::Replace(pos, count, text);
    TextEdited(pos, removed, (int)std::strlen(text), zero, before);
    Reset(0);
    return *this;
}

CColorString& CColorString::Replace(int pos, int count, char c) {
    char one[2] = {c, 0};
    return Replace(pos, count, one);
}

void CColorString::SetAt(int pos, char c) {
    if (pos < 0 || pos >= GetTextSize()) return;
    BeginUpdate(0, 1);
    int before = GetTextSize();
    bool zero = GetAt(pos) == 0;
    CStringEx::SetAt(pos, c);
    TextEdited(pos, 1, 1, zero, before);
    m_runs.SetAt(pos, m_rules.GetTextColor());
    EndUpdate(pos, 1);
}

int CColorString::FindReplace(const char* find, const char* repl, int all) {
    TextReplaced();
    return CStringEx::FindReplace(find, repl, all);
}

int CColorString::FindReplaceNoCase(const char* find, const char* repl, int all) {
    TextReplaced();
    return CStringEx::FindReplaceNoCase(find, repl, all);
}

void CColorString::MakeUpper() {
    TextReplaced();
    CStringEx::MakeUpper();
}

void CColorString::MakeLower() {
    TextReplaced();
    CStringEx::MakeLower();
}

BOOL CColorString::Append(const char* s) {
    TextReplaced();
    return CStringEx::Append(s);
}

void CColorString::ClearContents() {
    TextReplaced();
    CStringEx::ClearContents();
}
