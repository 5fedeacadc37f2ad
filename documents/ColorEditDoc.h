// CColorEditDoc: the coloured editor family's document over a CColorString, with the colour queries
// the coloured view paints from.
#pragma once

#include "coloring/ColorArray.h"
#include "coloring/ColorString.h"
#include "coloring/ColorUpdate.h"
#include "documents/EditDocument.h"

// Opens a file keeping its NUL bytes (a final NUL is taken as the terminator) and rebuilds the line
// table once the file is in; loads and reloads append 1023-byte chunks as zero-terminated strings,
// without sharing the file, so a NUL ends its chunk.
class CColorEditDoc : public CEditDocumentOf<CColorString>, public CColorStringUpdate {
    DECLARE_DYNCREATE(CColorEditDoc)
public:
    CColorEditDoc() = default;

    void DoColorStringUpdate(int modified) override;
    COLORREF GetColor(long pos) const { return m_buffer.GetColor((int)pos); }
    // Colours the window start ... end (visible: its first visible byte, later than start on a long
    // line scrolled sideways): from start, as the standard scan does, or with the whole-text colours
    // option (and for a long line with the long-line option) from the scan checkpoint before visible.
    void RenderWindow(int start, int end, int visible = -1);
    // Appends the runs from pos to the end of the line; 1 when some were added.
    int GetLineColorTable(int line, int pos, CColorTable& table);
    void DispatchColor(int run, int pos, int end, CColorArray& runs, CColorTable& table);
    CColorArray& GetColorArray() { return m_colorArray; }

protected:
    BOOL ReadText(CStdioFile& file, long size, ReadKind kind, CProgressBar& bar) override;
    const char* LoadBarText() const override;
    void OptionsChanged() override;
    UINT ReadSharing(ReadKind kind) const override;
    bool KeepsNulBytes() const override { return true; }

    DECLARE_MESSAGE_MAP()

private:
    BOOL ReadChunks(CStdioFile& file, long size, CProgressBar& bar);

    CColorArray m_colorArray;
};
