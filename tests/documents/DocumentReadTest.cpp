// Reading text files into each document family: the file format, chunk boundaries, block sizes,
// sharing, and what the host is told while it happens.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "DocumentTestKit.h"
#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"
#include "documents/HostMessages.h"
#include "framework/win/MessageBox.h"
#include "tests/common/FileTestKit.h"

namespace {

// Text-mode reading of a file's bytes: CR LF becomes LF, a 0x1A ends the data.
std::string TextMode(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size() && bytes[i] != 0x1A; ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        out += bytes[i];
    }
    return out;
}

// What the coloured loads keep: each 1023-byte piece of the text up to its first NUL.
std::string ChunkAppended(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size(); at += 1023) {
        std::string piece = text.substr(at, 1023);
        out += piece.substr(0, piece.find('\0'));
    }
    return out;
}

void ExpectLinesMatch(CEditDocument& doc, const std::string& text) {
    long line = 0;
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1, ++line) {
        end = text.find('\n', start);
        EXPECT_EQ(doc.GetLineOffset(line), (long)start) << "line " << line;
    }
    EXPECT_EQ(doc.GetLineCount(), line);
}

class DocumentRead : public CFileTest {};
} // namespace

TEST_F(DocumentRead, AFinalNulIsTheColouredTerminatorAndAPlainSpace) {
    std::string path = folder.Write("final.dat", std::string("x\r\n\0", 4));
    CDataEditDoc data;
    data.SetPathName(path.c_str());
    for (int way = 0; way < 3; ++way) {
        ASSERT_EQ(way == 0   ? data.OpenFile(path.c_str())
                  : way == 1 ? data.LoadFile(path.c_str())
                             : data.ReloadFile(),
                  1);
        EXPECT_EQ(DocumentText(data), "x\n") << "way " << way;
    }
    CBlackEditDoc plain;
    ASSERT_EQ(plain.OpenFile(path.c_str()), 1);
    EXPECT_EQ(DocumentText(plain), "x\n ");
}

TEST_F(DocumentRead, EmptyFilesAndTheBlockSizesAroundSixtyFourKibibytes) {
    std::string empty = folder.Write("empty.dat", "");
    CBlackEditDoc plain;
    CCheckEditDoc check;
    for (CEditDocument* doc : {(CEditDocument*)&plain, (CEditDocument*)&check}) {
        ASSERT_EQ(doc->OpenFile(empty.c_str()), 1);
        EXPECT_EQ(doc->GetLength(), 1);
        EXPECT_EQ(doc->GetLineCount(), 1);
    }
    EXPECT_EQ(plain.GetTextString().GetCapacity(), 65536);

    CBlackEditDoc below, at;
    ASSERT_EQ(below.OpenFile(folder.Write("65535.dat", std::string(65535, 'a')).c_str()), 1);
    ASSERT_EQ(at.OpenFile(folder.Write("65536.dat", std::string(65536, 'a')).c_str()), 1);
    EXPECT_EQ(below.GetTextString().GetCapacity(), 65536);
    EXPECT_EQ(at.GetTextString().GetCapacity(), 131072);
    EXPECT_EQ(at.GetLength(), 65537);
}

// Random files with CR LF pairs, lone CRs, NULs and GBK pairs falling on every chunk boundary, some
// ended early by a 0x1A.
TEST_F(DocumentRead, EveryFamilyReadsRandomFilesAcrossChunkBoundariesLikeTheModel) {
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0', '\t', '\xB5', '\xDA', ' '};
    for (int round = 0; round < 6; ++round) {
        std::string bytes;
        size_t size = 1 + random() % 9000;
        while (bytes.size() < size) {
            if (random() % 5 == 0)
                bytes += "\r\n";
            else
                bytes += alphabet[random() % sizeof alphabet];
        }
        if (round % 3 == 2) bytes.insert(random() % bytes.size(), std::string(1, '\x1A') + "after");
        std::string path = folder.Write("random.dat", bytes);
        std::string text = TextMode(bytes);
        std::string spaced = text;
        std::replace(spaced.begin(), spaced.end(), '\0', ' ');

        CBlackEditDoc plain;
        plain.SetPathName(path.c_str());
        for (int way = 0; way < 3; ++way) {
            ASSERT_EQ(way == 0   ? plain.OpenFile(path.c_str())
                      : way == 1 ? plain.LoadFile(path.c_str())
                                 : plain.ReloadFile(),
                      1);
            EXPECT_EQ(DocumentText(plain), spaced) << "round " << round << ", way " << way;
            ExpectLinesMatch(plain, spaced);
        }
        CColorEditDoc colored;
        ASSERT_EQ(colored.OpenFile(path.c_str()), 1);
        std::string opened = !text.empty() && text.back() == 0 ? text.substr(0, text.size() - 1) : text;
        EXPECT_EQ(DocumentText(colored), opened);
        ExpectLinesMatch(colored, opened);
        ASSERT_EQ(colored.LoadFile(path.c_str()), 1);
        EXPECT_EQ(DocumentText(colored), ChunkAppended(text));
        ExpectLinesMatch(colored, ChunkAppended(text));
    }
}

TEST_F(DocumentRead, StatusTextsAreLowerCasedAndSentWithLParamOne) {
    std::string path = folder.Write("MixedCASE.DAT", "1\r\n");
    CBlackEditDoc plain;
    ASSERT_EQ(plain.OpenFile(path.c_str()), 1);
    CString lowered(path.c_str());
    lowered.MakeLower();
    ASSERT_EQ(main->m_texts.size(), 1u);
    EXPECT_EQ(main->m_texts[0], "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE:<" + std::string(lowered) + ">...\n");
    EXPECT_EQ(main->m_texts[0].find("CASE"), std::string::npos);
    EXPECT_EQ(main->m_lParams[0], 1);
    EXPECT_EQ(boxes.GetCount(), 0);

    // 0x81 0x41 is one GBK character whose second byte looks like 'A': lower-casing keeps it, and
    // the failure message keeps the capitals.
    std::string odd = folder.Path("Odd\x81\x41"
                                  "X.DAT");
    EXPECT_EQ(plain.OpenFile(odd.c_str()), 0);
    ASSERT_EQ(main->m_texts.size(), 2u);
    EXPECT_NE(main->m_texts[1].find("odd\x81\x41x.dat"), std::string::npos);
    ASSERT_EQ(boxes.GetCount(), 1);
    EXPECT_NE(std::string(boxes.GetText(0)).find("Odd\x81\x41X.DAT"), std::string::npos);
}

TEST_F(DocumentRead, AMissingFileShowsThePathAsPassedAndLoadingLeavesTheDocumentEmpty) {
    std::string missing = folder.Path("NoSuch.DAT");
    std::string expected =
        "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE" + missing + "\xCA\xB1\xB7\xA2\xC9\xFA\xB4\xED\xCE\xF3!\n";
    CColorEditDoc colored;
    EXPECT_EQ(colored.OpenFile(missing.c_str()), 0);
    ASSERT_EQ(boxes.GetCount(), 1);
    EXPECT_EQ(std::string(boxes.GetText(0)), expected);
    EXPECT_EQ(colored.OnOpenDocument(missing.c_str()), FALSE);

    CBlackEditDoc plain;
    ASSERT_EQ(plain.OpenFile(folder.Write("kept.dat", "kept\r\n").c_str()), 1);
    plain.SetModifiedFlag(TRUE);
    EXPECT_EQ(plain.OnCmdMsg(HostMessage(kMsgFileLoad), 0, (void*)missing.c_str(), nullptr), TRUE);
    EXPECT_EQ(boxes.GetCount(), 3);
    EXPECT_EQ(DocumentText(plain), "<released>") << "the text was released before the file was tried";
    EXPECT_EQ(plain.GetLine(0), "");
    EXPECT_EQ(plain.GetAt(0), 0);
}

TEST_F(DocumentRead, TheHostsLoadCommandReplacesTheTextAndClearsTheModifiedFlag) {
    std::string first = folder.Write("first.dat", "one\r\n"), second = folder.Write("second.dat", "two\r\n");
    CCheckEditDoc doc;
    ASSERT_EQ(doc.OpenFile(first.c_str()), 1);
    doc.SetPathName(first.c_str());
    doc.SetModifiedFlag(TRUE);
    EXPECT_EQ(doc.OnCmdMsg(HostMessage(kMsgFileLoad), 12345, (void*)second.c_str(), nullptr), TRUE);
    EXPECT_EQ(DocumentText(doc), "two\n");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), CString(first.c_str())) << "loading keeps the document's path";
    EXPECT_EQ(doc.OnCmdMsg(HostMessage(kMsgFileLoad), 0, nullptr, nullptr), TRUE);
    EXPECT_EQ(boxes.GetCount(), 1) << "a load without a path is refused";
    EXPECT_EQ(DocumentText(doc), "two\n") << "and the text is kept";
    EXPECT_EQ(doc.OnCmdMsg(0xE103 + 77, 0, nullptr, nullptr), FALSE) << "other commands go to the framework";
}

TEST_F(DocumentRead, PlainReadingSharesTheFileWhileColouredLoadingDoesNot) {
    std::string path = folder.Write("busy.dat", "busy\r\n");
    HANDLE writer = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    CBlackEditDoc plain;
    EXPECT_EQ(plain.LoadFile(path.c_str()), 1);
    CColorEditDoc colored;
    EXPECT_EQ(colored.OpenFile(path.c_str()), 1) << "opening shares the file";
    EXPECT_EQ(colored.LoadFile(path.c_str()), 0) << "loading wants the file to itself";
    EXPECT_EQ(boxes.GetCount(), 1);
    ::CloseHandle(writer);
    EXPECT_EQ(colored.LoadFile(path.c_str()), 1);
}

TEST_F(DocumentRead, AFileTooLargeForATextPositionIsRefusedWithTheMessage) {
    std::string path = folder.Path("huge.dat");
    ASSERT_TRUE(WriteSparseFile(path, 3LL << 30));
    CDataEditDoc doc;
    EXPECT_EQ(doc.OpenFile(path.c_str()), 0);
    EXPECT_EQ(doc.LoadFile(path.c_str()), 0);
    EXPECT_EQ(boxes.GetCount(), 2);
}
