// CColorString: the coloured document's text: string, shared line table, rules, runs and update bracket.
#pragma once

#include "coloring/ColorArray.h"
#include "coloring/ColorRules.h"
#include "coloring/ColorScanner.h"
#include "coloring/ColorUpdate.h"
#include "coloring/MarkerIndex.h"
#include "coloring/ScanCheckpoints.h"
#include "framework/base/Geometry.h"
#include "framework/base/String.h"
#include "text/LineTable.h"
#include "text/StringEx.h"

// The text and its lines follow the plain buffer's rules exactly (the line table is the same
// component); on top sit the rules, the run list the scanner fills, an update bracket whose outermost
// close widens the run list to one entry per byte and rebuilds the lines, and the observer list.
// The marker index remembers end-marker positions for the scanner; every edit that passes through
// this class tells it what changed, and whole-text changes make it forget. Text written behind the
// class's back (through GetBuffer, as the loaders do) must be followed by ForgetScanCheckpoints.
class CColorString : public CStringEx {
public:
    explicit CColorString(int unused = 1);
    virtual ~CColorString();
    CColorString(const CColorString&) = delete;
    CColorString& operator=(const CColorString&) = delete;

    virtual void BeginUpdate(int, int);
    virtual void EndUpdate(int pos, int count);

    // Lines (the plain buffer's meanings).
    int GetLength() const { return GetTextSize(); }
    int GetLineCount() const;
    int GetLineOffset(int line) const;
    int GetLineEndOffset(int line) const;
    int GetLineSize(int line) const;
    int GetLineWidth(int line) const;
    CString GetLine(int line) const;
    CSize GetTotalWidth() const;
    int OffsetToLine(int pos) const;
    void Reset(int unused = 0);
    void RecalcLine(int pos);
    void MoveLineOffset(int line, int delta);
    void AddLineOffset(int offset);

    // Runs and rules.
    CColorArray& GetColorArray() { return m_runs; }
    int GetColorNumber() const { return m_runs.GetColorNumber(); }
    int GetColorPos(int k) { return m_runs.GetColorPos(k); }
    COLORREF GetColor(int index) const;
    int AddKeyword(const char* keyword, COLORREF color) { return m_rules.AddKeyword(keyword, color); }
    int AddTitle(const char* title, COLORREF color) { return m_rules.AddTitle(title, color); }
    int AddComment(const char* begin, const char* end, COLORREF color) {
        return m_rules.AddComment(begin, end, color);
    }
    int AddQuote(const char* begin, const char* end, COLORREF color) {
        return m_rules.AddQuote(begin, end, color);
    }
    CKeywordInfo* KeywordLookup(const CString& word) const;
    CTitleInfo* TitleLookup(const CString& word) const;
    void SetDefaults(COLORREF text, COLORREF second, COLORREF third) {
        m_rules.SetDefaults(text, second, third);
    }

    // Scanning.
    int ParseTextColor(int start, int end);
    int RenderText() { return ParseTextColor(0, GetTextSize() - 1); }
    int ParseLineColor(int, int) { return 0; }
    int ParseBlank(int& pos, int end) { return Scanner().ParseBlank(pos, end); }
    int ParseComments(int& pos, int end) { return Scanner().ParseComments(pos, end); }
    int ParseQuotes(int& pos, int end) { return Scanner().ParseQuotes(pos, end); }
    int ParseKeywords(int& pos, int end) { return Scanner().ParseKeywords(pos, end); }
    int ParseTitle(int& pos, int end) { return Scanner().ParseTitle(pos, end); }
    int ParseUnknown(int& pos, int end) { return Scanner().ParseUnknown(pos, end); }
    int GetComment(int rule, CString& begin, CString& end, int& length, int pos, int limit);
    int GetQuote(int rule, CString& begin, CString& end, int& length, int pos, int limit);
    int GetKeywords(CString& word, int start, int end, int flag) {
        return Scanner().GetKeywords(word, start, end, flag);
    }
    int GetTitle(CString& word, int start, int end, int flag) {
        return Scanner().GetTitle(word, start, end, flag);
    }
    int GetToken(CString& word, int start, int end, int flag) {
        return Scanner().GetToken(word, start, end, flag);
    }
    int IsComment(int pos) { return Scanner().IsComment(pos); }
    int IsQuote(int pos) { return Scanner().IsQuote(pos); }
    // Colours start ... end: from start itself, or, with scan checkpoints on, as a scan of the whole
    // text colours it (from the nearest checkpoint before start, so a comment or quote opened above is
    // seen).
    int RenderWindow(int start, int end);
    // GBK characters for the scanner (off by default, see CColorScanner); switching forgets the
    // scan checkpoints.
    void UseGbkCharacters(BOOL on);
    BOOL UsesGbkCharacters() const { return m_bGbk; }
    // Scan checkpoints: off by default; switching forgets the ones found.
    void UseScanCheckpoints(BOOL on);
    BOOL UsesScanCheckpoints() const { return m_bCheckpoints; }
    // Forgets the checkpoints and what the marker searches learnt, after the text was replaced
    // behind the buffer's back (a load).
    void ForgetScanCheckpoints() { TextReplaced(); }
    const CScanCheckpoints& GetScanCheckpoints() const { return m_checkpoints; }
    // The run listing: written after every scan to path, or not at all when path is null (the default).
    void SetRunListing(const char* path);

    // Values kept for the owner.
    int KeywordPos() const { return m_keywordPos; }
    int KeywordPos(int v) { return m_keywordPos = v; }
    int CommentPos() const { return m_commentPos; }
    int CommentPos(int v) { return m_commentPos = v; }
    int QuotePos() const { return m_quotePos; }
    int QuotePos(int v) { return m_quotePos = v; }
    CCommentArray& GetCommentArray() { return m_comments; }

    // Edits.
    CColorString& Insert(int pos, const char* text);
    CColorString& Insert(int pos, char c);
    // The length bytes at text, zero bytes among them kept.
    CColorString& Insert(int pos, const char* text, int length);
    CColorString& Return(int pos);
    CColorString& Delete(int pos, int count);
    CColorString& Replace(int pos, int count, const char* text);
    CColorString& Replace(int pos, int count, char c);
    void SetAt(int pos, char c);

    // Text changes through the string's own operations, which also forget remembered markers.
    int FindReplace(const char* find, const char* repl, int all);
    int FindReplaceNoCase(const char* find, const char* repl, int all);
    void MakeUpper();
    void MakeLower();
    BOOL Append(const char* s);
    void ClearContents();

    const CLineTable& GetLineTable() const { return m_lines; }
    BOOL AllocationFailed() const { return CStringEx::AllocationFailed() || m_lines.AllocationFailed(); }

    // Update bracket and observers.
    void Process(int pos);
    int GetUpdateNesting() const { return m_bracket.GetNesting(); }
    void AddUpdateTarget(CColorStringUpdate* target) { m_bracket.AddTarget(target); }
    void DoUpdate(int arg) { m_bracket.Notify(arg); }

private:
    CColorScanner Scanner();
    // A scanner over this text and its rules, lines and character rule, writing into runs.
    CColorScanner ScannerInto(CColorArray& runs);
    void TextReplaced() {
        m_markers.Invalidate();
        m_checkpoints.Clear();
    }
    // [pos, pos + removed) became inserted bytes (or, for a change of a size other than the one
    // expected, something unknown).
    void TextEdited(int pos, int removed, int inserted, bool removedZero, int sizeBefore);
    bool HasZero(int pos, int count) const;

    CColorArray m_runs;
    CColorRuleSet m_rules;
    CColorUpdateBracket m_bracket;
    CLineTable m_lines;
    int m_keywordPos = 0;
    int m_commentPos = 0;
    int m_quotePos = 0;
    CCommentArray m_comments;
    CMarkerIndex m_markers;
    CString m_listingPath;
    BOOL m_bCheckpoints = FALSE;
    BOOL m_bGbk = FALSE;
    CScanCheckpoints m_checkpoints;
    CColorArray m_checkpointRuns; // the checkpoint scan's runs, discarded
    int m_checkpointLength = -1;  // the text length the checkpoints were last told of
};
