// UTF-8 and UTF-16 files: read as GBK text, saved back byte for byte, read-only when a character has
// no GBK form, and the switch that reads every file as bytes.
#include <gtest/gtest.h>

#include <string>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"

namespace {
// 中文 é, then a line feed, in each encoding (é is in GBK's pinyin row).
const std::string kGbk = "\xD6\xD0\xCE\xC4 \xA8\xA6";
const std::string kUtf8 = "\xE4\xB8\xAD\xE6\x96\x87 \xC3\xA9";
const std::string kUtf16Le("\x2D\x4E\x87\x65\x20\x00\xE9\x00", 8);
const std::string kLf16Le("\x0A\x00", 2), kCr16Le("\x0D\x00", 2);

std::string Swapped(const std::string& le) {
    std::string be = le;
    for (size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    return be;
}

struct Case {
    const char* name;
    TextEncoding encoding;
    std::string signature, line, cr, lf;
};
const Case kCases[] = {
    {"utf8", kEncodingUtf8, "", kUtf8, "\r", "\n"},
    {"utf8bom", kEncodingUtf8Bom, "\xEF\xBB\xBF", kUtf8, "\r", "\n"},
    {"utf16le", kEncodingUtf16Le, "\xFF\xFE", kUtf16Le, kCr16Le, kLf16Le},
    {"utf16be", kEncodingUtf16Be, "\xFE\xFF", Swapped(kUtf16Le), Swapped(kCr16Le), Swapped(kLf16Le)},
};

class DocumentEncoding : public CFileTest {};
} // namespace

TEST_F(DocumentEncoding, EveryEncodingReadsAsGbkAndSavesBackByteForByte) {
    for (const Case& c : kCases)
        for (bool crlf : {true, false}) {
            std::string end = crlf ? c.cr + c.lf : c.lf;
            std::string bytes = c.signature + c.line + end + c.line + end + c.line;
            std::string path = folder.Write("round.txt", bytes);
            CBlackEditDoc plain;
            CCheckEditDoc colored;
            for (CEditDocument* doc : {(CEditDocument*)&plain, (CEditDocument*)&colored}) {
                SCOPED_TRACE(std::string(c.name) + (crlf ? " crlf" : " lf"));
                ASSERT_EQ(doc->OpenFile(path.c_str()), 1);
                EXPECT_EQ(DocumentText(*doc), kGbk + "\n" + kGbk + "\n" + kGbk);
                EXPECT_EQ(doc->GetEncoding(), c.encoding);
                EXPECT_FALSE(doc->IsReadOnly());
                ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
                EXPECT_EQ(CScratchFolder::ReadAll(path), bytes);
            }
        }
    EXPECT_EQ(boxes.GetCount(), 0);
}

TEST_F(DocumentEncoding, EmptyFilesSignaturesAloneAndGbkFilesKeepTheirBytes) {
    for (std::string bytes : {std::string(), std::string("\xEF\xBB\xBF"), std::string("\xFF\xFE"),
                              std::string("\xFE\xFF"), kGbk + "\r\nab\r\n"}) {
        std::string path = folder.Write("same.txt", bytes);
        CBlackEditDoc doc;
        ASSERT_EQ(doc.OpenFile(path.c_str()), 1);
        ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
        EXPECT_EQ(CScratchFolder::ReadAll(path), bytes) << ::testing::PrintToString(bytes);
    }
    // A GBK (or plain ASCII) file's line feeds are written as CR LF, as the file format has them.
    std::string path = folder.Write("lf.txt", "ab\ncd\n");
    CBlackEditDoc doc;
    ASSERT_EQ(doc.OpenFile(path.c_str()), 1);
    EXPECT_EQ(doc.GetEncoding(), kEncodingGbk);
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ(CScratchFolder::ReadAll(path), "ab\r\ncd\r\n");
}

// The whole file is converted before the reading loops see it: its characters fall on every place
// of their 1024-byte chunks (and of the coloured loads' 1023-byte ones) as GBK pairs.
TEST_F(DocumentEncoding, CharactersOnEveryChunkBoundaryReadWhole) {
    for (int shift = 0; shift < 3; ++shift) {
        std::string utf8(shift, 'x'), gbk(shift, 'x');
        for (int i = 0; i < 700; ++i) {
            utf8 += i % 5 == 4 ? "\xC3\xA9" : "\xE4\xB8\xAD";
            gbk += i % 5 == 4 ? "\xA8\xA6" : "\xD6\xD0";
        }
        std::string path = folder.Write("chunks.txt", utf8);
        CBlackEditDoc plain;
        CColorEditDoc colored;
        colored.SetPathName(path.c_str());
        ASSERT_EQ(plain.OpenFile(path.c_str()), 1);
        EXPECT_EQ(DocumentText(plain), gbk) << "shift " << shift;
        ASSERT_EQ(colored.ReloadFile(), 1);
        EXPECT_EQ(DocumentText(colored), gbk) << "shift " << shift;
    }
}

// A run of multi-byte characters longer than the conversion's one-megabyte pieces, cut at each
// byte of a character, and the line of a lost character counted across the pieces.
TEST_F(DocumentEncoding, LongRunsOfCharactersAcrossTheConversionPieces) {
    for (int shift = 0; shift < 3; ++shift) {
        std::string utf8 = "a\n" + std::string(shift, 'x'), gbk = "a\n" + std::string(shift, 'x');
        for (int i = 0; i < 400000; ++i) utf8 += "\xE4\xB8\xAD", gbk += "\xD6\xD0";
        CBlackEditDoc doc;
        ASSERT_EQ(doc.OpenFile(folder.Write("long.txt", utf8 + "\n\n\xF0\x9F\x98\x80").c_str()), 1);
        EXPECT_EQ(DocumentText(doc).substr(0, gbk.size()), gbk) << "shift " << shift;
        ASSERT_EQ(boxes.GetCount(), shift + 1);
        EXPECT_EQ(std::string(boxes.GetText(shift)).substr(0, 3), "\xB5\xDA"
                                                                  "4"); // 第4行
    }
}

TEST_F(DocumentEncoding, MalformedUtf8AndDetectionSwitchedOffReadAsBytes) {
    for (std::string bytes : {std::string("\xC0\xAF\xE4\xB8\xAD"), std::string("\xED\xA0\x80\xE4\xB8\xAD"),
                              std::string("\xE4\xB8\xAD\xE4\xB8")}) {
        CBlackEditDoc doc;
        ASSERT_EQ(doc.OpenFile(folder.Write("bad.txt", bytes).c_str()), 1);
        EXPECT_EQ(DocumentText(doc), bytes);
        EXPECT_EQ(doc.GetEncoding(), kEncodingGbk);
    }
    CBlackEditDoc off;
    EXPECT_TRUE(off.HasOption(kOptionDetectEncoding));
    off.OnCmdMsg(ID_OPTION_DETECT_ENCODING, 0, nullptr, nullptr);
    ASSERT_EQ(off.OpenFile(folder.Write("u.txt", "\xEF\xBB\xBF" + kUtf8).c_str()), 1);
    EXPECT_EQ(DocumentText(off), "\xEF\xBB\xBF" + kUtf8);
}

TEST_F(DocumentEncoding, ACharacterWithoutGbkFormOpensReadOnlyAndNothingWritesOverIt) {
    const std::string bytes = "one\r\n\xE4\xB8\xAD two \xF0\x9F\x98\x80\r\nthree";
    std::string path = folder.Write("emoji.txt", bytes);
    CBlackEditDoc doc;
    ASSERT_EQ(doc.OpenFile(path.c_str()), 1);
    ASSERT_EQ(boxes.GetCount(), 1);
    EXPECT_EQ(std::string(boxes.GetText(0)).substr(0, 5), "\xB5\xDA"
                                                          "2\xD0\xD0"); // 第2行
    EXPECT_TRUE(doc.IsReadOnly());
    doc.SetReadOnly(FALSE);
    EXPECT_TRUE(doc.IsReadOnly()) << "the host cannot lift it";
    std::string before = DocumentText(doc);
    EXPECT_FALSE(doc.Edit(UNDO_INSERT, 0, 0, "x"));
    EXPECT_FALSE(doc.ReplaceFound(0, "one", "two"));
    EXPECT_FALSE(doc.SetEncoding(kEncodingUtf16Le));
    EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ(DocumentText(doc), before);
    EXPECT_EQ(CScratchFolder::ReadAll(path), bytes);
    EXPECT_EQ(boxes.GetCount(), 3);
}

TEST_F(DocumentEncoding, TheHostsReadOnlyModeAndAChangedEncoding) {
    std::string path = folder.Write("gbk.txt", kGbk + "\r\n");
    CBlackEditDoc doc;
    ASSERT_EQ(doc.OpenFile(path.c_str()), 1);
    doc.SetReadOnly(TRUE);
    EXPECT_FALSE(doc.Edit(UNDO_INSERT, 0, 0, "x"));
    doc.SetReadOnly(FALSE);
    EXPECT_TRUE(doc.Edit(UNDO_INSERT, 0, 0, "x"));
    ASSERT_TRUE(doc.SetEncoding(kEncodingUtf16Be));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ(CScratchFolder::ReadAll(path),
              std::string("\xFE\xFF\x00x", 4) + Swapped(kUtf16Le) + Swapped(kCr16Le) + Swapped(kLf16Le));
    ASSERT_EQ(doc.LoadFile(path.c_str()), 1);
    EXPECT_EQ(doc.GetEncoding(), kEncodingUtf16Be);
    EXPECT_EQ(DocumentText(doc), "x" + kGbk + "\n");
}
