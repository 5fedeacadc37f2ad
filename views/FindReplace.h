// CFindReplace: an editor view's find and replace: the last find and replacement texts, the modeless
// dialog, the search steps, and replace-all as one batch of edits.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/base/String.h"
#include "views/model/LineRegex.h"

class CEditScrollView;
// The whole-word rule, given whether the word starts the text, whether it ends before the text's last
// byte, and its two neighbours: away from the text's ends both neighbours must be delimiters (a space,
// a line feed or a tab; punctuation is none); at offset 0 the byte after the word alone, and for a
// word reaching the last byte the byte before it alone.
bool IsWholeWord(bool atStart, bool endsBeforeLast, char before, char after);

class CFindReplaceDialog;
class CLineRegex;

// Works on its view's text, selection and search origin; the view forwards its find commands here.
class CFindReplace {
public:
    explicit CFindReplace(CEditScrollView& view) : m_view(view) {}

    // Opens the modeless dialog over the view with findWhat filled in; reports when it cannot.
    void OpenDialog(int findOnly, const char* findWhat);
    // The dialog the last OpenDialog made, while it is open; null after it closed.
    CFindReplaceDialog* Dialog() const;
    // The find text taken from the selection, else from the word at the caret, whose bounds go to
    // start and end; false (the find text kept) when the caret is on white space.
    bool TakeFindText(int& start, int& end);
    // Find Next with the last find text, case-blind and not whole-word.
    void FindNext();
    // What the dialog asked for when it notified the view.
    void Notify(const CFindReplaceDialog& dialog);

    const CString& LastFind() const { return m_strFind; }
    void SetLastFind(const CString& find) { m_strFind = find; }
    const CString& LastReplacement() const { return m_strReplace; }

private:
    int SearchStep(const char* find, int& origin, int matchCase, const std::function<bool(int pos)>& isWhole);
    std::function<bool(int)> WholeCharacters(int n, const std::function<bool(int)>& accept) const;
    std::function<bool(int)> HitTest(int n, int wholeWord) const;
    BOOL FindNextHit(int matchCase, int wholeWord, int originStep);
    void ShowHit(int start, int end, int row);
    bool SelectionIsHit(int matchCase, int wholeWord) const;
    void ReplaceCurrent(const CString& find, const CString& replace, int matchCase, int wholeWord);
    void ReplaceAll(const CString& find, const CString& replace, int matchCase, int wholeWord);
    std::vector<int> FindAllHits(const CString& find, const CString& replace, int matchCase, int wholeWord);
    // The same presses with a regular expression (the dialog's box ticked).
    void NotifyPattern(const CFindReplaceDialog& dialog, int matchCase, int wholeWord);
    void FindNextPattern(int matchCase);
    // Compiles the find text; a malformed one is reported with a message box and false.
    bool CompilePattern(CLineRegex& regex, int matchCase) const;
    BOOL FindPatternHit(CLineRegex& regex, int wholeWord, bool down);
    void ReplacePatternHit(CLineRegex& regex, int wholeWord);
    void ReplaceAllPattern(CLineRegex& regex, int wholeWord);
    HitFilter HitRange(int wholeWord) const;

    CEditScrollView& m_view;
    CString m_strFind;                       // the last text searched for
    CString m_strReplace;                    // the last replacement text
    CFindReplaceDialog* m_pDialog = nullptr; // the last dialog made; it deletes itself, so never owned
    bool m_bPattern = false;                 // the last press asked for a regular expression
};
