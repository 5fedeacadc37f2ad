// Coloured buffer: a long run against the literal reference (its bracketed edits rebuild at the
// bracket's close, its deletions and replacements do not run the bracket), then Process, observers,
// lines and colours; the update bracket on its own and the lock.
#include "coloring/ColorString.h"
#include "coloring/ThreadLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/text/DifferentialRun.h"

namespace {

// A buffer holding body plus the terminating zero, lines rebuilt as a document does after loading.
void Load(CColorString& s, const std::string& body) {
    s.ClearContents();
    s.SetBufferSize(65536);
    s.CStringEx::Insert(0, body.c_str());
    s.Reset(0);
}

struct Recorder : CColorStringUpdate {
    std::vector<int> calls;
    int id = 1;
    std::vector<int>* log = &calls;
    void DoColorStringUpdate(int arg) override { log->push_back(id * 100 + arg); }
};

TEST(ColorStringDifferential, LongMixedRunMatchesTheLiteralBuffer) {
    DifferentialRun<CColorString, true> run(7031);
    run.Run(DifferentialSteps());
}

// A new buffer has one empty line and no runs; construction sets the shared tab size.
TEST(ColorString, NewBufferAndTheSharedTabSize) {
    SetTabSize(8);
    CColorString s;
    EXPECT_EQ(GetTabSize(), 4);
    EXPECT_EQ(std::vector<int>({s.GetLineCount(), s.GetColorNumber(), s.GetUpdateNesting(), s.KeywordPos(),
                                (int)s.GetColor(0)}),
              std::vector<int>({1, 0, 0, 0, 0}));
    Load(s, "\tx\nyy");
    EXPECT_EQ(s.GetLineWidth(0), 5);
}

// Outside a bracket an insertion closes its own and runs Process (one run-list entry a byte), and so
// does a typed byte after its patch; deletions and replacements never do. An owner's bracket gives
// one Process at the outer close; an unmatched Begin keeps the lines but not the run list up to date.
TEST(ColorString, InsertionsProcessAndAnOwnerBracketProcessesOnceAtItsClose) {
    CColorString s, u, t;
    Load(s, "ab\ncd");
    s.Insert(1, "XY\nZ");
    EXPECT_EQ(s.GetColorArray().GetSize(), s.GetLength());
    s.Insert(1, 'x');
    int size = s.GetColorArray().GetSize();
    EXPECT_EQ(size, s.GetLength());
    s.Delete(1, 2);
    s.Replace(0, 1, "\n\n");
    EXPECT_EQ(s.GetColorArray().GetSize(), size);
    Load(u, "0123456789abcdef");
    u.BeginUpdate(0, 0);
    u.Insert(10, "xx");
    u.Insert(3, "yy");
    EXPECT_EQ(u.GetColorArray().GetSize(), 12); // without Process only the two inserted entries
    u.EndUpdate(u.GetLength(), 0);
    EXPECT_EQ(u.GetUpdateNesting(), 0);
    EXPECT_EQ(u.GetColorArray().GetSize(), u.GetLength());
    Load(t, "one\ntwo");
    t.BeginUpdate(0, 1);
    int before = t.GetColorArray().GetSize();
    t.Insert(4, "new\n");
    EXPECT_EQ(t.GetLineCount(), 3);
    EXPECT_EQ(t.GetColorArray().GetSize(), before > 4 ? before + 1 : 5);
    EXPECT_EQ(t.GetUpdateNesting(), 1);
}

// SetAt paints the byte in plain colour; edits out of range change nothing; observers are called
// once each, only on DoUpdate.
TEST(ColorString, SetAtObserversAndOutOfRangeEdits) {
    CColorString s;
    Load(s, "abc");
    s.Insert(-1, "x").Insert(99, "y").Insert(99, 'z').Return(-2);
    s.SetAt(4, 'q');
    s.Delete(-3, 1);
    EXPECT_EQ(s.GetLength(), 4);
    EXPECT_EQ(s.GetLine(0), "abc");
    s.SetDefaults(0x77, 0, 0);
    s.Insert(0, "q");
    s.SetAt(1, 'Z');
    EXPECT_EQ(std::vector<COLORREF>({s.GetColor(1), s.GetColor(-1), s.GetColor(s.GetLength())}),
              std::vector<COLORREF>(3, 0x77));
    Recorder a;
    s.DoUpdate(1);
    s.AddUpdateTarget(&a);
    s.AddUpdateTarget(&a);
    s.Insert(0, "abc");
    EXPECT_TRUE(a.calls.empty());
    s.DoUpdate(1);
    EXPECT_EQ(a.calls, (std::vector<int>{101}));
}

// A scan that remembered where a marker was not must see one inserted since.
TEST(ColorString, ScanSeesEditsAfterRemembering) {
    CColorString s;
    Load(s, "x \"abc");
    s.AddComment("\"", "\"", 0xC);
    s.ParseTextColor(0, 3);
    EXPECT_NE(s.GetColorPos(s.GetColorNumber() - 1), 5);
    s.Insert(4, "\"");
    s.ParseTextColor(0, 3);
    EXPECT_EQ(s.GetColorPos(s.GetColorNumber() - 1), 5);
}

// Nesting: one close at the outermost level reports the lowest position; a fresh bracket starts
// again from the text length; an unmatched Begin keeps it open, an extra End goes negative.
TEST(UpdateBracket, OuterCloseReportsTheLowestPositionAndTargetsAreCalledOnce) {
    CColorUpdateBracket bracket;
    bracket.Begin(50);
    bracket.Begin(60);
    EXPECT_FALSE(bracket.End(10));
    bracket.Begin(70);
    EXPECT_FALSE(bracket.End(3));
    EXPECT_EQ(bracket.GetNesting(), 1);
    EXPECT_TRUE(bracket.End(40));
    EXPECT_EQ(bracket.GetLowest(), 3);
    bracket.Begin(80);
    EXPECT_TRUE(bracket.End(90));
    EXPECT_EQ(bracket.GetLowest(), 80);
    EXPECT_FALSE(bracket.End(1));
    EXPECT_EQ(bracket.GetNesting(), -1);
    bracket.Begin(9); // starts a new bracket: lowest reset, nesting back to 0
    EXPECT_EQ(std::make_pair(bracket.GetNesting(), bracket.GetLowest()), std::make_pair(0, 9));
    // Observers: each once, in registration order.
    std::vector<int> log;
    Recorder a, b;
    a.log = b.log = &log;
    b.id = 2;
    bracket.Notify(1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(bracket.AddTarget(&a) + bracket.AddTarget(&b) + bracket.AddTarget(&a), 3);
    EXPECT_EQ(bracket.AddTarget(nullptr) + bracket.GetTargetCount(), 2);
    bracket.Notify(7);
    EXPECT_EQ(log, (std::vector<int>{107, 207}));
}

// The holder may enter again; a second thread waits until the lock is released.
TEST(ThreadLock, TryWaitsForAnotherHolder) {
    CThreadLock lock;
    std::atomic<int> stage{0};
    lock.ThreadLock();
    EXPECT_EQ(lock.TryThreadLock(), 1);
    lock.ThreadUnlock();
    std::thread other([&] {
        stage = 1;
        stage = lock.TryThreadLock() == 1 ? 2 : -1;
        lock.ThreadUnlock();
    });
    while (stage.load() == 0) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(stage.load(), 1); // still waiting while this thread holds the lock
    lock.ThreadUnlock();
    other.join();
    EXPECT_EQ(stage.load(), 2);
}

} // namespace
