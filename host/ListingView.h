// A read-only listing document and view the host falls back on for files no editor class claims.
#pragma once

#include <vector>

#include "framework/base/String.h"
#include "framework/win/Document.h"
#include "framework/win/Gdi.h"
#include "framework/win/View.h"

// The file's lines as read in text mode; nothing is ever written back.
class CListingDoc : public CDocument {
    DECLARE_DYNCREATE(CListingDoc)
public:
    BOOL OnOpenDocument(LPCSTR path) override;
    void DeleteContents() override { m_lines.clear(); }
    const std::vector<CString>& Lines() const { return m_lines; }

private:
    std::vector<CString> m_lines;
};

// Draws the document's lines in the Song face from the top, tabs expanded by TabbedTextOut.
class CListingView : public CView {
    DECLARE_DYNCREATE(CListingView)
public:
    void OnDraw(CDC* dc) override;
    void OnInitialUpdate() override;

private:
    CFont m_font;
};
