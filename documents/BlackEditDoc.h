// CBlackEditDoc: the plain editor family's document over a CBlackString.
#pragma once

#include "documents/EditDocument.h"
#include "text/BlackString.h"

// Reads every file with sharing allowed, in 1024-byte reads with NULs turned into spaces, extending
// the line table as the bytes arrive.
class CBlackEditDoc : public CEditDocumentOf<CBlackString> {
    DECLARE_DYNCREATE(CBlackEditDoc)
public:
    CBlackEditDoc() = default;

protected:
    BOOL ReadText(CStdioFile& file, long size, ReadKind kind, CProgressBar& bar) override;
    const char* LoadBarText() const override;
    UINT ReadSharing(ReadKind) const override { return CFile::shareDenyNone; }
    bool KeepsNulBytes() const override { return false; }

    DECLARE_MESSAGE_MAP()
};
