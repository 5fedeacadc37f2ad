// Find and replace for one view: the modeless dialog, one search step, the next hit shown, and
// replace-all as one batch of edits with one undo record.
#include "views/FindReplace.h"

#include <cstring>

#include "framework/win/ExtensionModule.h"
#include "framework/win/FindReplaceDialog.h"
#include "framework/win/MessageBox.h"
#include "text/TextSearch.h"
#include "views/FindDialogIds.h"
#include "views/EditScrollView.h"

namespace {
// 创建"查找/替换"对话框时发生错误!
const char kDialogFailed[] =
    "\xB4\xB4\xBD\xA8\"\xB2\xE9\xD5\xD2/\xCC\xE6\xBB\xBB\"\xB6\xD4\xBB\xB0\xBF\xF2\xCA\xB1"
    "\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3!\n";
} // namespace

bool IsWholeWord(bool atStart, bool endsBeforeLast, char before, char after) {
    auto delimiter = [](char c) { return c == ' ' || c == '\n' || c == '\t'; };
    if (!atStart && endsBeforeLast) return delimiter(before) && delimiter(after);
    return delimiter(atStart ? after : before);
}

void CFindReplace::OpenDialog(int findOnly, const char* findWhat) {
    m_pDialog = new CFindReplaceDialog;
    // The library's template adds the regular-expression box; without it the system's dialog serves.
    const char* name = findOnly ? TESSOLIN_FIND_TEMPLATE : TESSOLIN_REPLACE_TEMPLATE;
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_DIALOG)) {
        m_pDialog->m_fr.Flags |= FR_ENABLETEMPLATE;
        m_pDialog->m_fr.hInstance = module;
        m_pDialog->m_fr.lpTemplateName = name;
    }
    if (!m_pDialog->Create(findOnly, findWhat, nullptr, FR_DOWN, &m_view)) {
        m_pDialog = nullptr; // Create deleted it
        AfxMessageBox(kDialogFailed, MB_OK);
        return;
    }
    m_pDialog->SetActiveWindow();
    m_pDialog->ShowWindow(SW_SHOW);
}

CFindReplaceDialog* CFindReplace::Dialog() const {
    return CFindReplaceDialog::IsLive(m_pDialog) ? m_pDialog : nullptr;
}

bool CFindReplace::TakeFindText(int& start, int& end) {
    start = m_view.Model().Selection().start;
    end = m_view.Model().Selection().end;
    if (start == end && !m_view.Model().WordBounds(m_view.Caret(), start, end)) return false;
    m_strFind = m_view.GetEditDocument()->Range(start, end);
    return true;
}

void CFindReplace::FindNext() {
    if (m_strFind.IsEmpty()) return;
    if (m_bPattern)
        FindNextPattern(0);
    else
        FindNextHit(0, 0, 1);
}

void CFindReplace::Notify(const CFindReplaceDialog& dialog) {
    DWORD flags = dialog.m_fr.Flags;
    int matchCase = (flags & FR_MATCHCASE) ? 1 : 0, wholeWord = (flags & FR_WHOLEWORD) ? 1 : 0;
    if (flags & FR_DIALOGTERM) return;
    // The box is read on every press: the user may tick it between two presses.
    m_bPattern =
        dialog.m_hWnd != nullptr && ::IsDlgButtonChecked(dialog.m_hWnd, IDC_FIND_REGEX) == BST_CHECKED;
    if (m_bPattern && (flags & (FR_REPLACEALL | FR_REPLACE | FR_FINDNEXT | FR_DOWN)) != 0) {
        NotifyPattern(dialog, matchCase, wholeWord);
    } else if (flags & FR_REPLACEALL) {
        ReplaceAll(dialog.GetFindString(), dialog.GetReplaceString(), matchCase, wholeWord);
    } else if (flags & FR_REPLACE) {
        ReplaceCurrent(dialog.GetFindString(), dialog.GetReplaceString(), matchCase, wholeWord);
    } else if (flags & FR_DOWN) { // Find Next; with the upward direction chosen the bit is clear
        m_strFind = dialog.GetFindString();
        if (!m_strFind.IsEmpty()) FindNextHit(matchCase, wholeWord, 1);
    }
}

// The first hit of find at or after origin, or -1, searched in the document where its bytes lie (the
// same hits as SearchString over the whole text, without making it contiguous). With a whole-word
// test (false for -1) the origin moves on past hits that fail it, after searching once more from
// where it was.
int CFindReplace::SearchStep(const char* find, int& origin, int matchCase,
                             const std::function<bool(int pos)>& isWhole) {
    CEditDocument* doc = m_view.GetEditDocument();
    int n = (int)std::strlen(find);
    int pos = doc->SearchText(origin, find, matchCase);
    if (!isWhole) return pos;
    while (!isWhole(pos)) {
        if (pos == -1) return -1;
        pos = doc->SearchText(origin, find, matchCase);
        if (pos == -1) return -1;
        origin = pos + n;
    }
    return pos;
}

// With the GBK option, a hit must start and end on character boundaries as well as pass accept (when
// there is one); otherwise accept as it is.
std::function<bool(int)> CFindReplace::WholeCharacters(int n, const std::function<bool(int)>& accept) const {
    if (!m_view.Model().GbkCharacters()) return accept;
    const CEditScrollView* view = &m_view;
    return [view, n, accept](int pos) {
        return pos >= 0 && view->Model().CharStartAt(pos) == pos &&
               view->Model().CharStartAt(pos + n) == pos + n && (!accept || accept(pos));
    };
}

// The tests a found place of n bytes must pass besides holding the find text: whole word when asked,
// character boundaries with the GBK option; empty when there are none.
std::function<bool(int)> CFindReplace::HitTest(int n, int wholeWord) const {
    std::function<bool(int)> isWhole;
    CEditScrollView* view = &m_view;
    if (wholeWord) isWhole = [view, n](int pos) { return view->IsStringWholeWord(pos, n) != 0; };
    return WholeCharacters(n, isWhole);
}

// Selects the next hit of the find text and shows it on the fifth row; the origin goes to the hit
// plus originStep. Without a hit the origin goes back to the top. FALSE when nothing was found.
BOOL CFindReplace::FindNextHit(int matchCase, int wholeWord, int originStep) {
    CEditDocument* doc = m_view.GetEditDocument();
    CEditModel& model = m_view.m_model;
    int origin = model.SearchOrigin() >= doc->Length() - 1 ? 0 : model.SearchOrigin();
    int n = m_strFind.GetLength();
    int pos = SearchStep(m_strFind, origin, matchCase, HitTest(n, wholeWord));
    if (pos < 0) {
        model.SetSearchOrigin(0);
        return FALSE;
    }
    ShowHit(pos, pos + n, 4);
    model.SetSearchOrigin(pos + originStep);
    return TRUE;
}

// SetSelection leaves the caret and its point at the selection's end.
void CFindReplace::ShowHit(int start, int end, int row) {
    m_view.SetSelection(start, end);
    m_view.UpdateColors();
    m_view.ScrollToPosition(row);
    m_view.InvalidateLine(m_view.Model().CaretLine());
}

// With the find text unchanged since the last press, a selection that is a hit of it under the
// dialog's flags is replaced; any other selection (moved, widened, typed over) is left as it is, so
// Replace never overwrites text the user did not find. Then the next hit is sought.
void CFindReplace::ReplaceCurrent(const CString& find, const CString& replace, int matchCase, int wholeWord) {
    CString previous = m_strFind;
    m_strFind = find;
    m_strReplace = replace;
    if (m_strFind.IsEmpty()) return;
    CEditDocument* doc = m_view.GetEditDocument();
    int start = m_view.Model().Selection().start;
    if (m_strFind.Compare(previous) == 0 && SelectionIsHit(matchCase, wholeWord)) {
        if (!doc->ReplaceFound(start, m_strFind, m_strReplace)) return;
    }
    if (!FindNextHit(matchCase, wholeWord, 0)) m_view.Invalidate(FALSE);
}

// The selection holds the find text exactly (or with ASCII letters' case ignored) and passes the
// whole-word and character-boundary tests a search applies to its hits.
bool CFindReplace::SelectionIsHit(int matchCase, int wholeWord) const {
    const CTextSelection& sel = m_view.Model().Selection();
    int n = m_strFind.GetLength();
    if (sel.end - sel.start != n) return false;
    CString held = m_view.GetEditDocument()->GetString(sel.start, n);
    bool zero = false;
    if (held.GetLength() != n || FindBytes(held, (const char*)held + n, m_strFind, (size_t)n, matchCase == 0,
                                           &zero) != (const char*)held)
        return false;
    std::function<bool(int)> isHit = HitTest(n, wholeWord);
    return !isHit || isHit(sel.start);
}

void CFindReplace::ReplaceAll(const CString& find, const CString& replace, int matchCase, int wholeWord) {
    m_strFind = find;
    m_strReplace = replace;
    CEditDocument* doc = m_view.GetEditDocument();
    std::vector<int> hits = FindAllHits(find, replace, matchCase, wholeWord);
    if (!doc->ReplaceEach(hits, find, replace)) return;
    int r = replace.GetLength();
    // Each hit's steps (select the replacement, scroll it to the fourth row, repaint its line) leave
    // what the last hit's leave: they are done once.
    if (!hits.empty()) ShowHit(hits.back(), hits.back() + r, 3);
}

// The hits replace-all makes, each at its place in the text as the replacements before it left it.
// They are found in the text as it stands now: from each search origin on, the edited text is this
// text shifted, so only the byte in front of a hit met right behind the last replacement differs.
std::vector<int> CFindReplace::FindAllHits(const CString& find, const CString& replace, int matchCase,
                                           int wholeWord) {
    std::vector<int> hits;
    int n = find.GetLength(), r = replace.GetLength();
    if (n == 0) return hits;
    CEditDocument* doc = m_view.GetEditDocument();
    int length = doc->Length();
    int origin = 0;          // all positions here are in the unedited text
    int shift = 0;           // how far the replacements so far moved the text behind them
    int boundary = -1;       // where the last replaced bytes ended
    char beforeBoundary = 0; // the edited text's byte in front of the boundary
    auto before = [&](int at) { return at == boundary ? beforeBoundary : doc->GetAt(at - 1); };
    std::function<bool(int)> isWhole;
    if (wholeWord) // the whole-word test on the edited text
        isWhole = [&](int at) {
            return at >= 0 &&
                   IsWholeWord(at + shift == 0, at + n < length - 1, before(at), doc->GetAt(at + n));
        };
    isWhole = WholeCharacters(n, isWhole);
    for (;;) {
        int pos = SearchStep(find, origin, matchCase, isWhole);
        if (pos < 0) break;
        hits.push_back(pos + shift);
        beforeBoundary = r > 0 ? replace[r - 1] : before(pos);
        boundary = origin = pos + n;
        shift += r - n;
    }
    return hits;
}
