// Coloured buffer: edits through the update bracket, Process, observers, lines and colours.
#include "coloring/ColorString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A buffer holding body plus the terminating zero, lines rebuilt as a document does after loading.
void Load(CColorString& s, const std::string& body) {
    s.ClearContents();
    s.SetBufferSize(65536);
    s.CStringEx::Insert(0, body.c_str());
    s.Reset(0);
}

struct Counter : CColorStringUpdate {
    std::vector<int> calls;
    void DoColorStringUpdate(int arg) override { calls.push_back(arg); }
};

TEST(ColorString, NewBufferHasOneEmptyLine) {
    CColorString s;
    EXPECT_EQ(s.GetLineCount(), 1);
    EXPECT_TRUE(s.GetLine(0).IsEmpty());
    EXPECT_EQ(s.GetColorNumber(), 0);
    EXPECT_EQ(s.GetUpdateNesting(), 0);
    EXPECT_EQ(s.KeywordPos(), 0);
    EXPECT_EQ(s.GetColor(0), 0u);
}

TEST(ColorString, ConstructionSetsTheSharedTabSize) {
    SetTabSize(8);
    CColorString s;
    EXPECT_EQ(GetTabSize(), 4);
    Load(s, "\tx\nyy");
    EXPECT_EQ(s.GetLineWidth(0), 5);
    EXPECT_EQ(s.GetTotalWidth().cx, 5);
}

// Outside a bracket an insertion closes its own and runs Process (one run-list entry a byte), and so
// does a typed byte after its patch; deletions and replacements never do.
TEST(ColorString, InsertionsProcessDeletionsAndReplacementsDoNot) {
    CColorString s;
    Load(s, "ab\ncd");
    s.Insert(1, "XY\nZ");
    EXPECT_EQ(s.GetUpdateNesting(), 0);
    EXPECT_EQ(s.GetLineCount(), 3);
    EXPECT_EQ(s.GetLine(1), "Zb");
    EXPECT_EQ(s.GetColorArray().GetSize(), s.GetLength());
    s.Insert(1, 'x');
    EXPECT_EQ(s.GetLine(0), "axXY");
    EXPECT_EQ(s.GetTotalWidth().cx, 4);
    EXPECT_EQ(s.GetColorArray().GetSize(), s.GetLength());
    int size = s.GetColorArray().GetSize();
    s.Delete(1, 2);
    EXPECT_EQ(s.GetColorArray().GetSize(), size);
    s.Replace(0, 1, "\n\n");
    EXPECT_EQ(s.GetColorArray().GetSize(), size);
    EXPECT_EQ(s.GetLineCount(), 5);
    s.Return(1);
    EXPECT_EQ(s.GetLineCount(), 6);
}

TEST(ColorString, OwnerBracketGivesOneProcessAtTheOuterClose) {
    CColorString s;
    Load(s, "0123456789abcdef");
    s.BeginUpdate(0, 0);
    s.Insert(10, "xx");
    s.Insert(3, "yy");
    EXPECT_EQ(s.GetUpdateNesting(), 1);
    // Without Process the run list only holds the two inserted entries.
    EXPECT_EQ(s.GetColorArray().GetSize(), 12);
    s.EndUpdate(s.GetLength(), 0);
    EXPECT_EQ(s.GetUpdateNesting(), 0);
    EXPECT_EQ(s.GetColorArray().GetSize(), s.GetLength());
}

TEST(ColorString, UnmatchedBeginKeepsLinesButNotTheRunList) {
    CColorString s;
    Load(s, "one\ntwo");
    s.BeginUpdate(0, 1);
    int before = s.GetColorArray().GetSize();
    s.Insert(4, "new\n");
    EXPECT_EQ(s.GetLineCount(), 3);
    EXPECT_EQ(s.GetColorArray().GetSize(), before > 4 ? before + 1 : 5);
    EXPECT_EQ(s.GetUpdateNesting(), 1);
}

TEST(ColorString, SetAtPaintsTheByteInPlainColour) {
    CColorString s;
    Load(s, "abc");
    s.SetDefaults(0x77, 0, 0);
    s.Insert(0, "q");
    s.SetAt(1, 'Z');
    EXPECT_EQ(s.GetAt(1), 'Z');
    EXPECT_EQ(s.GetColor(1), 0x77u);
    EXPECT_EQ(s.GetColor(-1), 0x77u);
    EXPECT_EQ(s.GetColor(s.GetLength()), 0x77u);
}

TEST(ColorString, ObserversOnceEachOnlyOnDoUpdate) {
    CColorString s;
    Counter a;
    s.DoUpdate(1);
    s.AddUpdateTarget(&a);
    s.AddUpdateTarget(&a);
    s.Insert(0, "abc");
    EXPECT_TRUE(a.calls.empty());
    s.DoUpdate(1);
    EXPECT_EQ(a.calls, (std::vector<int>{1}));
}

TEST(ColorString, ScanSeesEditsAfterRemembering) {
    CColorString s;
    Load(s, "x \"abc");
    s.AddComment("\"", "\"", 0xC);
    s.ParseTextColor(0, 3);
    int firstEnd = s.GetColorPos(s.GetColorNumber() - 1);
    s.Insert(4, "\"");
    s.ParseTextColor(0, 3);
    EXPECT_EQ(s.GetColorPos(s.GetColorNumber() - 1), 5);
    EXPECT_NE(firstEnd, 5);
}

TEST(ColorString, RuleRegistrationAndLookup) {
    CColorString s;
    EXPECT_EQ(s.AddKeyword("END", 1), 1);
    EXPECT_EQ(s.AddTitle("Chapter", 2), 1);
    EXPECT_NE(s.KeywordLookup("END"), nullptr);
    EXPECT_EQ(s.KeywordLookup("end"), nullptr);
    EXPECT_NE(s.TitleLookup("Chapter"), nullptr);
}

TEST(ColorString, OutOfRangeEditsChangeNothing) {
    CColorString s;
    Load(s, "abc");
    s.Insert(-1, "x").Insert(99, "y").Insert(99, 'z').Return(-2);
    s.SetAt(4, 'q');
    s.Delete(-3, 1);
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_EQ(s.GetLine(0), "abc");
    EXPECT_EQ(s.GetUpdateNesting(), 0);
}

} // namespace
