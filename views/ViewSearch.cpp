// Searching the text in both views: the substring searches they offer, the whole-word test, and
// navigation to a title that the host asks for with "Find Title".
#include <cstdio>
#include <cstring>
#include <vector>

#include "documents/HostMessages.h"
#include "regex/KmpFind.h"
#include "views/EditScrollView.h"

int CEditScrollView::SearchString(int start, const char* text, const char* find, int matchCase) {
    if (text == nullptr || find == nullptr || start < 0) return -1;
    if (matchCase) {
        const char* hit = std::strstr(text + start, find);
        return hit != nullptr ? (int)(hit - text) : -1;
    }
    int at = KmpFindNoCase(text + start, find);
    return at < 0 ? -1 : start + at;
}

int CEditScrollView::SearchString(const char* text, const char* find, int matchCase) {
    return SearchString(0, text, find, matchCase);
}

int CEditScrollView::SearchStringReverse(int start, const char* text, const char* find, int) {
    if (text == nullptr || find == nullptr) return -1;
    return KmpFindReverse(text, find, start);
}

int CEditScrollView::IsStringWholeWord(int pos, int len) {
    if (pos < 0) return 0;
    CEditDocument* doc = GetEditDocument();
    // A length past the text's end ends at the end (and cannot overflow the sum).
    int end = len < doc->Length() - pos ? pos + len : doc->Length();
    bool beforeEnd = end < doc->Length() - 1;
    char before = pos > 0 ? doc->GetAt(pos - 1) : '\0';
    return IsWholeWord(pos == 0, beforeEnd, before, doc->GetAt(end)) ? 1 : 0;
}

int CEditScrollView::GetSearchPosition() const {
    return m_model.Selection().end >= 0 ? m_model.Selection().end : m_model.Selection().caret;
}

int CEditScrollView::FindTitle(const char* title) {
    m_find.SetLastFind(title != nullptr ? title : "");
    const CString& find = m_find.LastFind();
    if (find.IsEmpty()) return 0;
    CEditDocument* doc = GetEditDocument();
    int pos = doc->SearchText(0, find, 0); // SearchString's hit, read where the bytes lie
    // Bytes made of the second half of one character and the first of the next are not the title,
    // and the caret must not land between a character's two bytes.
    while (pos >= 0 && m_model.OutsidePair(pos) != pos) pos = doc->SearchText(pos + 1, find, 0);
    if (pos < 0) return 0;
    SetSelection(pos, pos); // the caret and its point at pos
    UpdateColors();
    ScrollToPosition(4); // repaints the window, the margin arrow with it
    m_arrow.SetTitleLine(doc->LineOfOffset(pos));
    m_caret.Move();
    m_caret.ShowByPosition(m_metrics.leftMargin);
    return 1;
}

// The title is the text before its last space less the separator byte in front of that space; a
// text without a space carries no title and is ignored.
LRESULT CEditScrollView::OnTitleFind(UINT wParam, const char* text) {
    if (text == nullptr || GetEditDocument() == nullptr) return 0;
    const char* lastSpace = std::strrchr(text, ' ');
    if (lastSpace == nullptr) return 0;
    static const char kFallback[] = "Chapter ";
    size_t length = std::strlen(text);
    size_t size = (length / 16 + 1) * 16, fallbackSize = sizeof kFallback + 10;
    std::vector<char> buffer(size > fallbackSize ? size : fallbackSize, 0);
    long k = (long)(lastSpace - text) - 1;
    if (k > 0) std::memcpy(buffer.data(), text, (size_t)k);
    if (FindTitle(buffer.data())) return 0;
    std::fill(buffer.begin(), buffer.end(), 0);
    std::snprintf(buffer.data(), buffer.size(), "%s%u", kFallback, wParam);
    FindTitle(buffer.data());
    return 0;
}

LRESULT CEditScrollView::OnTitleFindMessage(WPARAM wParam, LPARAM lParam) {
    return OnTitleFind((UINT)wParam, (const char*)lParam);
}
