// The plain document's reading loop.
#include "documents/BlackEditDoc.h"

IMPLEMENT_DYNCREATE(CBlackEditDoc, CEditDocument)

BEGIN_MESSAGE_MAP(CBlackEditDoc, CEditDocument)
END_MESSAGE_MAP()

const char* CBlackEditDoc::LoadBarText() const {
    return "\xB6\xC1\xC8\xEB\xCE\xC4\xBC\xFE..."; // 读入文件...
}

BOOL CBlackEditDoc::ReadText(CStdioFile& file, long size, ReadKind kind, CProgressBar& bar) {
    long scan = 0;
    int column = 0;
    long total =
        ReadBlocks(file, size, bar, false, [&](long end) { m_buffer.CalcTextSize(scan, end, column); });
    if (total < 0) return FALSE;
    m_buffer.SetLength((int)total + 1);
    m_buffer.GetBuffer()[total] = 0;
    if (kind != kOpen) m_buffer.Reset(0);
    return TRUE;
}
