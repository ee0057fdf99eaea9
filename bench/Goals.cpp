#include "bench/Goals.h"

#include <cstdio>

namespace bench {

namespace {

// "within 15% of" reads both ways.
constexpr double kLinearLow = 0.85;
constexpr double kLinearHigh = 1.15;
constexpr double kIdleScanHigh = 1.3;
constexpr double kWalkerScanHigh = 1.5;
constexpr double kPreStepHigh = 1.5;

std::string withCount(std::string name, int vessels) {
    return name + "/" + std::to_string(vessels);
}

std::string bound(const Goal& goal) {
    char text[48];
    if (goal.lowest > 0.0) {
        std::snprintf(text, sizeof text, "%.2f .. %.2f", goal.lowest, goal.highest);
    } else {
        std::snprintf(text, sizeof text, "<= %.2f", goal.highest);
    }
    return text;
}

} // namespace

std::string scanName(bool walkers, bool bare, int vessels) {
    return withCount(std::string("scan/") + (walkers ? "walkers/" : "idle/") +
                         (bare ? "bare" : "module"),
                     vessels);
}

std::string preStepName(bool bare) {
    return bare ? "prestep/bare" : "prestep/colony";
}

std::string hostStepName(int vessels) {
    return withCount("step/idle", vessels);
}

const std::vector<int>& idleScanCounts() {
    static const std::vector<int> counts{100, 1000, 10000, 100000};
    return counts;
}

const std::vector<int>& walkerScanCounts() {
    static const std::vector<int> counts{1000, 10000};
    return counts;
}

const std::vector<int>& hostStepCounts() {
    static const std::vector<int> counts{1000, 10000};
    return counts;
}

std::vector<Goal> allGoals() {
    std::vector<Goal> goals;
    for (int n : idleScanCounts()) {
        goals.push_back({"arrival scan, " + std::to_string(n) + " non-crew vessels vs bare loop",
                         scanName(false, false, n), scanName(false, true, n), 0.0, kIdleScanHigh});
    }
    goals.push_back({"arrival scan per vessel, 100000 vs 1000 non-crew vessels",
                     scanName(false, false, 100000), scanName(false, false, 1000), kLinearLow,
                     kLinearHigh});
    for (int n : walkerScanCounts()) {
        goals.push_back({"arrival scan, " + std::to_string(n) + " walkers outside vs bare loop",
                         scanName(true, false, n), scanName(true, true, n), 0.0, kWalkerScanHigh});
    }
    goals.push_back({"colony pre-step, no scan due, vs its host calls", preStepName(false),
                     preStepName(true), 0.0, kPreStepHigh});
    goals.push_back({"host step per vessel, 10000 vs 1000 idle vessels", hostStepName(10000),
                     hostStepName(1000), kLinearLow, kLinearHigh});
    return goals;
}

GoalResult evaluate(const Goal& goal, const Costs& costs) {
    GoalResult result;
    result.goal = &goal;
    const auto measured = costs.find(goal.measured);
    const auto baseline = costs.find(goal.baseline);
    if (measured == costs.end() || baseline == costs.end() || !(measured->second > 0.0) ||
        !(baseline->second > 0.0)) {
        return result;
    }
    result.found = true;
    result.measured = measured->second;
    result.baseline = baseline->second;
    result.ratio = result.measured / result.baseline;
    result.met = result.ratio >= goal.lowest && result.ratio <= goal.highest;
    return result;
}

std::string resultTable(const std::vector<GoalResult>& results) {
    std::string table = "| goal | ns/vessel | baseline ns/vessel | ratio | bound | met? |\n"
                        "|---|---:|---:|---:|---|---|\n";
    char line[320];
    for (const GoalResult& result : results) {
        if (!result.found) {
            std::snprintf(line, sizeof line, "| %s | - | - | - | %s | not measured |\n",
                          result.goal->title.c_str(), bound(*result.goal).c_str());
        } else {
            std::snprintf(line, sizeof line, "| %s | %.2f | %.2f | %.3f | %s | %s |\n",
                          result.goal->title.c_str(), result.measured, result.baseline,
                          result.ratio, bound(*result.goal).c_str(), result.met ? "yes" : "NO");
        }
        table += line;
    }
    return table;
}

} // namespace bench
