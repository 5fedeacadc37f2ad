// Rule objects and the rule tables: registration, hashing and lookup.
#include "coloring/ColorRules.h"

#include <cstring>
#include <new>

CKeywordInfo::~CKeywordInfo() = default;
CTitleInfo::~CTitleInfo() = default;
CDelimitedInfo::~CDelimitedInfo() = default;

namespace {
void DeleteAll(CPtrArray& list) {
    for (int i = 0; i < list.GetSize(); ++i) delete static_cast<CObject*>(list.GetAt(i));
    list.RemoveAll();
}

// Rule construction copies strings, which may fail for want of memory: such a rule is not made.
template <class Rule, class... Args> Rule* MakeRule(Args... args) {
    try {
        return new Rule(args...);
    } catch (...) {
        return nullptr;
    }
}
} // namespace

CColorRuleSet::~CColorRuleSet() {
    for (int b = 0; b < kBuckets; ++b) {
        DeleteAll(m_keywords[b]);
        DeleteAll(m_titles[b]);
    }
    DeleteAll(m_comments);
    DeleteAll(m_quotes);
}

int CColorRuleSet::Bucket(const char* word, int n) {
    int sum = 0;
    for (int i = 0; i < n; ++i) sum += (signed char)word[i];
    int r = sum % kBuckets;
    return r < 0 ? r + kBuckets : r;
}

int CColorRuleSet::Store(CPtrArray& list, CObject* rule) {
    if (rule == nullptr) return 0;
    if (list.Add(rule) < 0) {
        delete rule;
        return 0;
    }
    return 1;
}

int CColorRuleSet::AddKeyword(const char* keyword, COLORREF color) {
    if (keyword == nullptr) keyword = "";
    return Store(m_keywords[Bucket(keyword, (int)std::strlen(keyword))],
                 MakeRule<CKeywordInfo>(keyword, color));
}

int CColorRuleSet::AddTitle(const char* title, COLORREF color) {
    if (title == nullptr) title = "";
    return Store(m_titles[Bucket(title, (int)std::strlen(title))], MakeRule<CTitleInfo>(title, color));
}

int CColorRuleSet::AddComment(const char* begin, const char* end, COLORREF color) {
    return Store(m_comments, MakeRule<CCommentInfo>(begin ? begin : "", end ? end : "", color));
}

int CColorRuleSet::AddQuote(const char* begin, const char* end, COLORREF color) {
    return Store(m_quotes, MakeRule<CQuoteInfo>(begin ? begin : "", end ? end : "", color));
}

// Byte equality is what the multibyte comparison reports as equal, so a plain compare suffices.
const void* CColorRuleSet::Lookup(const CPtrArray& bucket, const char* word, int n, bool title) {
    for (int i = 0; i < bucket.GetSize(); ++i) {
        const CString& text = title ? static_cast<CTitleInfo*>(bucket.GetAt(i))->Title()
                                    : static_cast<CKeywordInfo*>(bucket.GetAt(i))->Keyword();
        if (text.GetLength() == n && std::memcmp((const char*)text, word, (size_t)n) == 0)
            return bucket.GetAt(i);
    }
    return nullptr;
}

CKeywordInfo* CColorRuleSet::KeywordLookup(const char* word, int n) const {
    return static_cast<CKeywordInfo*>(const_cast<void*>(Lookup(m_keywords[Bucket(word, n)], word, n, false)));
}

CTitleInfo* CColorRuleSet::TitleLookup(const char* word, int n) const {
    return static_cast<CTitleInfo*>(const_cast<void*>(Lookup(m_titles[Bucket(word, n)], word, n, true)));
}

CCommentInfo* CColorRuleSet::GetComment(int i) const {
    return (i >= 0 && i < m_comments.GetSize()) ? static_cast<CCommentInfo*>(m_comments.GetAt(i)) : nullptr;
}

CQuoteInfo* CColorRuleSet::GetQuote(int i) const {
    return (i >= 0 && i < m_quotes.GetSize()) ? static_cast<CQuoteInfo*>(m_quotes.GetAt(i)) : nullptr;
}

void CColorRuleSet::SetDefaults(COLORREF text, COLORREF second, COLORREF third) {
    m_text = text;
    m_second = second;
    m_third = third;
}
