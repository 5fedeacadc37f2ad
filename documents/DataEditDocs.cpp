// CCheckEditDoc and CDataEditDoc: coloured documents preloaded with the vocabulary of the host's
// checking listings and data files.
#include "documents/DataEditDocs.h"

namespace {
// 第一章 ... 第十五章: the chapter headings of both file kinds, in GBK.
const char* const kChapterTitles[] = {
    "\xB5\xDA\xD2\xBB\xD5\xC2",         // 第一章
    "\xB5\xDA\xB6\xFE\xD5\xC2",         // 第二章
    "\xB5\xDA\xC8\xFD\xD5\xC2",         // 第三章
    "\xB5\xDA\xCB\xC4\xD5\xC2",         // 第四章
    "\xB5\xDA\xCE\xE5\xD5\xC2",         // 第五章
    "\xB5\xDA\xC1\xF9\xD5\xC2",         // 第六章
    "\xB5\xDA\xC6\xDF\xD5\xC2",         // 第七章
    "\xB5\xDA\xB0\xCB\xD5\xC2",         // 第八章
    "\xB5\xDA\xBE\xC5\xD5\xC2",         // 第九章
    "\xB5\xDA\xCA\xAE\xD5\xC2",         // 第十章
    "\xB5\xDA\xCA\xAE\xD2\xBB\xD5\xC2", // 第十一章
    "\xB5\xDA\xCA\xAE\xB6\xFE\xD5\xC2", // 第十二章
    "\xB5\xDA\xCA\xAE\xC8\xFD\xD5\xC2", // 第十三章
    "\xB5\xDA\xCA\xAE\xCB\xC4\xD5\xC2", // 第十四章
    "\xB5\xDA\xCA\xAE\xCE\xE5\xD5\xC2", // 第十五章
};

struct ColoredText {
    const char* text;
    COLORREF color;
};

const ColoredText kCheckTitles[] = {
    {"\xB4\xED\xCE\xF3!", 0x0000E1},                                         // 错误!
    {"\xBE\xAF\xB8\xE6:", 0xFF00E1},                                         // 警告:
    {"???\xBE\xAF\xB8\xE6:", 0xFF00E1},                                      // ???警告:
    {"\xD4\xAD\xCA\xBC\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE\xC3\xFB:", 0x009100}, // 原始数据文件名:
    {"\xB8\xC3\xBD\xE1\xB9\xFB\xB6\xD4\xD3\xA6\xB5\xC4\xD4\xAD\xCA\xBC\xCA\xFD\xBE\xDD\xCE\xC4\xBC\xFE:",
     0x009100}, // 该结果对应的原始数据文件:
    {"\xC8\xED\xBC\xFEVEXO\xD6\xD0\xB5\xC4\xCF\xDE\xD6\xC6\xA3\xBA", 0xFF00FF}, // 软件VEXO中的限制：
};

// The data's keywords; NERMV, IRMV and IPOIN are registered twice, as the listings have always done.
const char* const kCheckKeywords[] = {
    "VXDAT",  "IDIATP", "IELEM",   "ILINE",    "ISECT",  "ISTEL",  "IMATE",  "INS",   "JSECT",
    "NDISP",  "NELEM",  "NEHING",  "NERGD",    "NERMV",  "NGROUP", "NLINE",  "NLVLD", "IELOD",
    "ILDTP",  "NMATE",  "NPOIN",   "NPDEK",    "NPMSU",  "MPSTAG", "NPPUSH", "NPDIA", "NPCHK",
    "NREACT", "NSUPP",  "NSECT",   "NSECTi",   "NSECTj", "NSUPT",  "NSTAGE", "NSTLG", "NSTLM",
    "NSTEL",  "NSPLD",  "NTURN",   "SDATE",    "EDATE",  "NSDIS",  "NERMV",  "IFOUT", "NELOD",
    "NPDIS",  "NDIATP", "NDIAPH",  "NDIA",     "ISTLG",  "ISTLM",  "NS",     "IPRES", "IRMV",
    "ITENS",  "IFTEMP", "IFCREEP", "IFSHRINK", "INODE",  "IGROUP", "NPIGR",  "IPDIS", "ISTAGE",
    "IPDEK",  "ifliv",  "IPOIN",   "JPOIN",    "IAUTO",  "DATEI",  "NPRGD",  "IPSPT", "IASM",
    "IRMV",   "ISUPT",  "I",       "IPIGR",    "IPCHK",  "IPDIA",  "IPOIN",  "ISUPP", "ISTEEL",
};

const COLORREF kCheckChapterColor = 0xFF20A0;
const COLORREF kCheckKeywordColor = 0xFF0000;
const COLORREF kDataRemarkColor = 0x006F00;
const COLORREF kDataTitleColor = 0xE1007D;
const COLORREF kDataKeywordColor = 0xFF0000;
} // namespace

IMPLEMENT_DYNCREATE(CCheckEditDoc, CColorEditDoc)

BEGIN_MESSAGE_MAP(CCheckEditDoc, CColorEditDoc)
END_MESSAGE_MAP()

CCheckEditDoc::CCheckEditDoc() {
    for (const char* title : kChapterTitles) m_buffer.AddTitle(title, kCheckChapterColor);
    for (const ColoredText& title : kCheckTitles) m_buffer.AddTitle(title.text, title.color);
    for (const char* keyword : kCheckKeywords) m_buffer.AddKeyword(keyword, kCheckKeywordColor);
}

BOOL CCheckEditDoc::OnNewDocument() {
    return CColorEditDoc::OnNewDocument() ? 1 : 0;
}

IMPLEMENT_DYNCREATE(CDataEditDoc, CColorEditDoc)

BEGIN_MESSAGE_MAP(CDataEditDoc, CColorEditDoc)
END_MESSAGE_MAP()

// Remarks run from a semicolon to the end of the line; quoted strings are coloured as remarks too.
CDataEditDoc::CDataEditDoc() {
    m_buffer.AddComment(";", "\n", kDataRemarkColor);
    m_buffer.AddComment("\"", "\"", kDataRemarkColor);
    m_buffer.AddComment("'", "'", kDataRemarkColor);
    for (const char* title : kChapterTitles) m_buffer.AddTitle(title, kDataTitleColor);
    m_buffer.AddTitle("Chapter", kDataTitleColor);
    m_buffer.AddTitle("CHAPTER", kDataTitleColor);
    for (const char* keyword : {"OVER", "over", "END", "end"})
        m_buffer.AddKeyword(keyword, kDataKeywordColor);
    m_buffer.AddUpdateTarget(this);
}

BOOL CDataEditDoc::OnNewDocument() {
    return CColorEditDoc::OnNewDocument() ? 1 : 0;
}
