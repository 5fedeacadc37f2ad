// Find and replace with a regular expression, when the dialog's box asks for one: Find Next down or
// up, Replace of a selection that is a hit, and Replace All as one edit, each hit expanding the
// replacement template.
#include "framework/win/FindReplaceDialog.h"
#include "framework/win/MessageBox.h"
#include "views/EditScrollView.h"
#include "views/FindReplace.h"
#include "views/model/LineRegex.h"

namespace {
// 正则表达式“%s”有误，无法查找。
const char kBadPattern[] =
    "\xD5\xFD\xD4\xF2\xB1\xED\xB4\xEF\xCA\xBD\xA1\xB0%s\xA1\xB1\xD3\xD0\xCE\xF3\xA3\xAC"
    "\xCE\xDE\xB7\xA8\xB2\xE9\xD5\xD2\xA1\xA3";
} // namespace

void CFindReplace::NotifyPattern(const CFindReplaceDialog& dialog, int matchCase, int wholeWord) {
    const DWORD flags = dialog.m_fr.Flags;
    const CString previous = m_strFind;
    m_strFind = dialog.GetFindString();
    if (flags & (FR_REPLACE | FR_REPLACEALL)) m_strReplace = dialog.GetReplaceString();
    CLineRegex regex;
    if (m_strFind.IsEmpty() || !CompilePattern(regex, matchCase)) return;
    if (flags & FR_REPLACEALL) {
        ReplaceAllPattern(regex, wholeWord);
    } else if (flags & FR_REPLACE) {
        if (m_strFind.Compare(previous) == 0) ReplacePatternHit(regex, wholeWord);
        if (!FindPatternHit(regex, wholeWord, true)) m_view.Invalidate(FALSE);
    } else {
        FindPatternHit(regex, wholeWord, (flags & FR_DOWN) != 0);
    }
}

void CFindReplace::FindNextPattern(int matchCase) {
    CLineRegex regex;
    if (CompilePattern(regex, matchCase)) FindPatternHit(regex, 0, true);
}

bool CFindReplace::CompilePattern(CLineRegex& regex, int matchCase) const {
    if (regex.Compile(m_strFind, matchCase != 0)) return true;
    CString text;
    text.Format(kBadPattern, (const char*)m_strFind);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

// Down from the search origin, or up from the selection's start; a hit moves the origin just past
// its start, as a plain search does, and no hit sends it back to the top.
BOOL CFindReplace::FindPatternHit(CLineRegex& regex, int wholeWord, bool down) {
    CEditDocument* doc = m_view.GetEditDocument();
    CEditModel& model = m_view.m_model;
    CRegexHit hit;
    const int origin = model.SearchOrigin() >= doc->Length() - 1 ? 0 : model.SearchOrigin();
    const bool found = down ? regex.FindFrom(*doc, origin, HitRange(wholeWord), hit)
                            : regex.FindBefore(*doc, model.Selection().start, HitRange(wholeWord), hit);
    if (!found) {
        model.SetSearchOrigin(0);
        return FALSE;
    }
    ShowHit(hit.start, hit.end, 4);
    model.SetSearchOrigin(std::min(hit.start + 1, doc->Length() - 1));
    return TRUE;
}

// The selection is replaced when a search from its start finds exactly it; the next search starts
// behind the replacement, which is never searched again.
void CFindReplace::ReplacePatternHit(CLineRegex& regex, int wholeWord) {
    CEditDocument* doc = m_view.GetEditDocument();
    const CTextSelection sel = m_view.Model().Selection();
    CRegexHit hit;
    if (!regex.FindFrom(*doc, sel.start, HitRange(wholeWord), hit) || hit.start != sel.start ||
        hit.end != sel.end)
        return;
    const std::string replacement = CLineRegex::Expand(*doc, hit, m_strReplace);
    if (doc->ReplaceAt(sel.start, sel.end - sel.start, replacement.c_str()))
        m_view.m_model.SetSearchOrigin(sel.start + (int)replacement.size());
}

void CFindReplace::ReplaceAllPattern(CLineRegex& regex, int wholeWord) {
    CEditDocument* doc = m_view.GetEditDocument();
    const std::vector<CTextChange> changes = regex.ReplaceAll(*doc, HitRange(wholeWord), m_strReplace);
    if (!doc->ReplaceEach(changes) || changes.empty()) return;
    const CTextChange& last = changes.back();
    ShowHit(last.pos, last.pos + (int)last.text.size(), 3);
}

// The tests of HitTest for a hit of any length; empty when there are none.
HitFilter CFindReplace::HitRange(int wholeWord) const {
    if (!HitTest(1, wholeWord)) return {};
    const CFindReplace* self = this;
    return [self, wholeWord](int start, int end) { return self->HitTest(end - start, wholeWord)(start); };
}
