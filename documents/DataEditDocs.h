// CCheckEditDoc and CDataEditDoc: the coloured documents of the host's checking listings and data files.
#pragma once

#include "documents/ColorEditDoc.h"

// A checking listing: chapter, error and warning headings, the source file's name and the data's
// keywords. Apart from its rules it is a CColorEditDoc.
class CCheckEditDoc : public CColorEditDoc {
    DECLARE_DYNCREATE(CCheckEditDoc)
public:
    CCheckEditDoc();
    BOOL OnNewDocument() override;

protected:
    DECLARE_MESSAGE_MAP()
};

// A data file: remarks, quoted strings, chapter headings and end markers. It watches its own buffer,
// so a buffer update repaints its views and marks it modified.
class CDataEditDoc : public CColorEditDoc {
    DECLARE_DYNCREATE(CDataEditDoc)
public:
    CDataEditDoc();
    BOOL OnNewDocument() override;

protected:
    DECLARE_MESSAGE_MAP()
};
