// Update bracket: nesting, one close at the outermost level with the lowest position; observers.
#include "coloring/ColorUpdate.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Recorder : CColorStringUpdate {
    std::vector<int>* log;
    int id;
    Recorder(std::vector<int>* l, int i) : log(l), id(i) {}
    void DoColorStringUpdate(int arg) override { log->push_back(id * 100 + arg); }
};

TEST(UpdateBracket, OuterCloseReportsTheLowestPosition) {
    CColorUpdateBracket bracket;
    bracket.Begin(50);
    bracket.Begin(60);
    EXPECT_FALSE(bracket.End(10));
    bracket.Begin(70);
    EXPECT_FALSE(bracket.End(3));
    EXPECT_EQ(bracket.GetNesting(), 1);
    EXPECT_TRUE(bracket.End(40));
    EXPECT_EQ(bracket.GetLowest(), 3);
    // A fresh bracket starts again from the text length.
    bracket.Begin(80);
    EXPECT_TRUE(bracket.End(90));
    EXPECT_EQ(bracket.GetLowest(), 80);
}

TEST(UpdateBracket, UnmatchedBeginKeepsItOpenExtraEndGoesNegative) {
    CColorUpdateBracket bracket;
    bracket.Begin(5);
    bracket.Begin(5);
    EXPECT_FALSE(bracket.End(1));
    EXPECT_EQ(bracket.GetNesting(), 1);
    EXPECT_TRUE(bracket.End(1));
    EXPECT_FALSE(bracket.End(1));
    EXPECT_EQ(bracket.GetNesting(), -1);
    bracket.Begin(9); // starts a new bracket: lowest reset, nesting back to 0
    EXPECT_EQ(bracket.GetNesting(), 0);
    EXPECT_EQ(bracket.GetLowest(), 9);
}

TEST(UpdateTargets, EachOnceInRegistrationOrder) {
    std::vector<int> log;
    Recorder a(&log, 1), b(&log, 2);
    CColorUpdateBracket bracket;
    bracket.Notify(1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(bracket.AddTarget(&a), 1);
    EXPECT_EQ(bracket.AddTarget(&b), 1);
    EXPECT_EQ(bracket.AddTarget(&a), 1);
    EXPECT_EQ(bracket.AddTarget(nullptr), 0);
    EXPECT_EQ(bracket.GetTargetCount(), 2);
    bracket.Notify(7);
    EXPECT_EQ(log, (std::vector<int>{107, 207}));
}

} // namespace
