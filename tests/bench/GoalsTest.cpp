// The benchmarks' goals: where a ratio stops meeting its bound, what a missing figure reads,
// and that every goal compares two benchmarks that are registered.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "bench/Goals.h"

namespace bench {
namespace {

TEST(BenchGoals, RatioMeetsItsBoundsInclusiveAndAMissingFigureNever) {
    const Goal goal{"step", "m", "b", 0.85, 1.15};
    const struct {
        Costs costs;
        bool met;
    } cases[] = {{{{"m", 11.5}, {"b", 10}}, true}, {{{"m", 11.6}, {"b", 10}}, false},
                 {{{"m", 8.5}, {"b", 10}}, true},  {{{"m", 8.4}, {"b", 10}}, false},
                 {{{"m", 1}, {"b", 0}}, false},    {{{"m", 1}}, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(evaluate(goal, c.costs).met, c.met) << c.costs.begin()->second;
    }
    EXPECT_NE(resultTable({evaluate(goal, {{"m", 20}, {"b", 10}})})
                  .find("| step | 20.00 | 10.00 | 2.000 | 0.85 .. 1.15 | NO |"),
              std::string::npos);
    EXPECT_NE(resultTable({evaluate(goal, {})})
                  .find("| step | - | - | - | 0.85 .. 1.15 | not measured |"),
              std::string::npos);
}

TEST(BenchGoals, EveryGoalComparesTwoDistinctRegisteredBenchmarks) {
    std::set<std::string> names{preStepName(true), preStepName(false)};
    for (bool walkers : {false, true}) {
        for (int n : walkers ? walkerScanCounts() : idleScanCounts()) {
            names.insert({scanName(walkers, true, n), scanName(walkers, false, n)});
        }
    }
    for (int n : hostStepCounts()) {
        names.insert(hostStepName(n));
    }
    for (const Goal& goal : allGoals()) {
        EXPECT_TRUE(names.count(goal.measured) && names.count(goal.baseline)) << goal.title;
        EXPECT_NE(goal.measured, goal.baseline) << goal.title;
    }
}

} // namespace
} // namespace bench
