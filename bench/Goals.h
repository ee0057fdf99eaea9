// The benchmarks' goals: each compares one measured cost per vessel with another measured in
// the same run (a bare host loop, or the same code over another number of vessels) and holds
// when their ratio lies within the goal's bounds.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace bench {

struct Goal {
    std::string title;    // what is compared, for the table
    std::string measured; // benchmark whose cost per vessel is the numerator
    std::string baseline; // benchmark whose cost per vessel is the denominator
    double lowest = 0.0;  // the ratio may not fall below this
    double highest = 1.0; // nor rise above this
};

struct GoalResult {
    const Goal* goal = nullptr;
    bool found = false;  // both benchmarks reported a positive cost
    double measured = 0; // ns per vessel
    double baseline = 0; // ns per vessel
    double ratio = 0;    // measured / baseline, 0 when not found
    bool met = false;    // found and the ratio within the bounds (inclusive)
};

// Cost per vessel in nanoseconds, by benchmark name.
using Costs = std::map<std::string, double>;

// Benchmark names, shared by the benchmarks that register them and the goals that read them.
std::string scanName(bool walkers, bool bare, int vessels);
std::string preStepName(bool bare);
std::string hostStepName(int vessels);

// The vessel counts the scans run over.
const std::vector<int>& idleScanCounts();
const std::vector<int>& walkerScanCounts();
const std::vector<int>& hostStepCounts();

// Every goal, in the order the table shows them.
std::vector<Goal> allGoals();

GoalResult evaluate(const Goal& goal, const Costs& costs);
// A Markdown table of the results, one row each.
std::string resultTable(const std::vector<GoalResult>& results);

} // namespace bench
