// The benchmarks' goals: which pair each compares, where a ratio stops meeting its bound, and
// what the table says for a goal whose figures are missing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "bench/Goals.h"

namespace bench {
namespace {

TEST(BenchGoalsTest, RatioMeetsABoundUpToAndIncludingIt) {
    const Goal within{"within 1.3x", "m", "b", 0.0, 1.3};
    const Goal linear{"within 15%", "m", "b", 0.85, 1.15};
    struct Case {
        const Goal* goal;
        double measured;
        double baseline;
        bool met;
    };
    const Case cases[] = {
        {&within, 13.0, 10.0, true}, {&within, 13.01, 10.0, false}, {&within, 1.0, 10.0, true},
        {&linear, 11.5, 10.0, true}, {&linear, 11.6, 10.0, false},  {&linear, 8.5, 10.0, true},
        {&linear, 8.4, 10.0, false}, {&linear, 10.0, 10.0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.goal->title + ": " + std::to_string(c.measured) + " / " +
                     std::to_string(c.baseline));
        const GoalResult result = evaluate(*c.goal, {{"m", c.measured}, {"b", c.baseline}});
        EXPECT_TRUE(result.found);
        EXPECT_DOUBLE_EQ(result.ratio, c.measured / c.baseline);
        EXPECT_EQ(result.met, c.met);
    }
}

TEST(BenchGoalsTest, MissingOrEmptyFigureIsNeverMet) {
    const Goal goal{"g", "m", "b", 0.0, 100.0};
    const Costs cases[] = {
        {},
        {{"m", 1.0}},
        {{"b", 1.0}},
        {{"m", 1.0}, {"b", 0.0}},
        {{"m", 0.0}, {"b", 1.0}},
        {{"m", 1.0}, {"x", 1.0}},
    };
    for (const Costs& costs : cases) {
        const GoalResult result = evaluate(goal, costs);
        EXPECT_FALSE(result.found);
        EXPECT_FALSE(result.met);
    }
    const std::string table = resultTable({evaluate(goal, {})});
    EXPECT_NE(table.find("| g | - | - | - | <= 100.00 | not measured |"), std::string::npos)
        << table;
}

TEST(BenchGoalsTest, EveryGoalComparesTwoDistinctRegisteredBenchmarks) {
    std::set<std::string> names;
    for (bool walkers : {false, true}) {
        for (int n : walkers ? walkerScanCounts() : idleScanCounts()) {
            names.insert(scanName(walkers, true, n));
            names.insert(scanName(walkers, false, n));
        }
    }
    names.insert(preStepName(true));
    names.insert(preStepName(false));
    for (int n : hostStepCounts()) {
        names.insert(hostStepName(n));
    }
    const std::vector<Goal> goals = allGoals();
    // One per scan size against its bare loop, the linearity of the scan, one per walker
    // count, the pre-step and the host step.
    EXPECT_EQ(goals.size(), idleScanCounts().size() + 1 + walkerScanCounts().size() + 2);
    for (const Goal& goal : goals) {
        SCOPED_TRACE(goal.title);
        EXPECT_EQ(names.count(goal.measured), 1u) << goal.measured;
        EXPECT_EQ(names.count(goal.baseline), 1u) << goal.baseline;
        EXPECT_NE(goal.measured, goal.baseline);
        EXPECT_LT(goal.lowest, goal.highest);
    }
}

TEST(BenchGoalsTest, TableShowsEachRowsFiguresAndVerdict) {
    const Goal goal{"scan", "m", "b", 0.0, 1.5};
    const std::string met = resultTable({evaluate(goal, {{"m", 12.0}, {"b", 10.0}})});
    EXPECT_NE(met.find("| scan | 12.00 | 10.00 | 1.200 | <= 1.50 | yes |"), std::string::npos)
        << met;
    const Goal linear{"step", "m", "b", 0.85, 1.15};
    const std::string missed = resultTable({evaluate(linear, {{"m", 20.0}, {"b", 10.0}})});
    EXPECT_NE(missed.find("| step | 20.00 | 10.00 | 2.000 | 0.85 .. 1.15 | NO |"),
              std::string::npos)
        << missed;
}

} // namespace
} // namespace bench
