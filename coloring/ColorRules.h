// Syntax rules (keywords, titles, comments, quotes) and the hashed rule tables that own them.
#pragma once

#include "framework/base/Array.h"
#include "framework/base/Object.h"
#include "framework/base/String.h"
#include "PlatformTypes.h"

class CKeywordInfo : public CObject {
public:
    CKeywordInfo(const char* keyword = "", COLORREF color = 0xC80000) : m_keyword(keyword), m_color(color) {}
    ~CKeywordInfo() override;
    CString& Keyword() { return m_keyword; }
    CString Keyword() const { return m_keyword; }
    COLORREF Color() const { return m_color; }

private:
    CString m_keyword;
    COLORREF m_color;
};

class CTitleInfo : public CObject {
public:
    CTitleInfo(const char* title = "", COLORREF color = 0xC800C8) : m_title(title), m_color(color) {}
    ~CTitleInfo() override;
    CString& Title() { return m_title; }
    CString Title() const { return m_title; }
    COLORREF Color() const { return m_color; }

private:
    CString m_title;
    COLORREF m_color;
};

// Text between a begin and an end delimiter, drawn in one colour. Comments and quotes are the same
// rule and differ only in their default colour (and in how the scanner treats a quote's end).
class CDelimitedInfo : public CObject {
public:
    CDelimitedInfo(const CString& begin, const CString& end, COLORREF color)
        : m_begin(begin), m_end(end), m_color(color) {}
    ~CDelimitedInfo() override;
    CString& Begin() { return m_begin; }
    CString Begin() const { return m_begin; }
    CString& End() { return m_end; }
    CString End() const { return m_end; }
    COLORREF Color() const { return m_color; }

private:
    CString m_begin;
    CString m_end;
    COLORREF m_color;
};

class CCommentInfo : public CDelimitedInfo {
public:
    CCommentInfo(const CString& begin = "//", const CString& end = "\n", COLORREF color = 0x00C800)
        : CDelimitedInfo(begin, end, color) {}
};

class CQuoteInfo : public CDelimitedInfo {
public:
    CQuoteInfo(const CString& begin = "//", const CString& end = "\n", COLORREF color = 0xC8C800)
        : CDelimitedInfo(begin, end, color) {}
};

// The rules of one coloured buffer. Keywords and titles sit in 113 hash buckets keyed by the sum of
// the word's bytes taken as signed values; each bucket, and the comment and quote lists, keep their
// rules in registration order, so the first registration of a repeated word wins. Owns every rule.
class CColorRuleSet {
public:
    enum { kBuckets = 113 };

    CColorRuleSet() = default;
    ~CColorRuleSet();
    CColorRuleSet(const CColorRuleSet&) = delete;
    CColorRuleSet& operator=(const CColorRuleSet&) = delete;

    // Each returns 1, or 0 when the rule could not be created or stored.
    int AddKeyword(const char* keyword, COLORREF color);
    int AddTitle(const char* title, COLORREF color);
    int AddComment(const char* begin, const char* end, COLORREF color);
    int AddQuote(const char* begin, const char* end, COLORREF color);

    // First rule whose text equals the n bytes at word (case-sensitive); null when none.
    CKeywordInfo* KeywordLookup(const char* word, int n) const;
    CTitleInfo* TitleLookup(const char* word, int n) const;

    int GetCommentCount() const { return m_comments.GetSize(); }
    CCommentInfo* GetComment(int i) const;
    int GetQuoteCount() const { return m_quotes.GetSize(); }
    CQuoteInfo* GetQuote(int i) const;

    void SetDefaults(COLORREF text, COLORREF second, COLORREF third);
    COLORREF GetTextColor() const { return m_text; }
    COLORREF GetSecondColor() const { return m_second; }
    COLORREF GetThirdColor() const { return m_third; }

    // Bucket 0 ... 112 of the n bytes at word.
    static int Bucket(const char* word, int n);

private:
    static int Store(CPtrArray& list, CObject* rule);
    static const void* Lookup(const CPtrArray& bucket, const char* word, int n, bool title);

    CPtrArray m_keywords[kBuckets];
    CPtrArray m_titles[kBuckets];
    CPtrArray m_comments;
    CPtrArray m_quotes;
    COLORREF m_text = 0;
    COLORREF m_second = 0;
    COLORREF m_third = 0;
};
