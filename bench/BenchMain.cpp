// Runs every benchmark, then prints each goal's ratio and whether it is met. The cost of a
// benchmark is the smallest CPU time per vessel over its repetitions: on a shared machine the
// other loads only ever add time. The exit status is 0 when every goal is met, 1 otherwise.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchWorld.h"
#include "bench/Benchmarks.h"
#include "bench/Goals.h"

namespace {

class GoalReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                note(run);
            }
            // Repeated runs are shown by their statistics only.
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1) {
                shown.push_back(run);
            }
        }
        if (!shown.empty()) {
            ConsoleReporter::ReportRuns(shown);
        }
    }

    const bench::Costs& costs() const { return costs_; }

private:
    void note(const Run& run) {
        const auto vessels = run.counters.find("vessels");
        if (vessels == run.counters.end() || !(vessels->second.value > 0.0)) {
            return;
        }
        const double perVessel = run.GetAdjustedCPUTime() / vessels->second.value;
        const std::string name = run.run_name.str();
        const auto known = costs_.find(name);
        costs_[name] = known == costs_.end() ? perVessel : std::min(known->second, perVessel);
    }

    bench::Costs costs_;
};

bool hasFlag(int argc, char** argv, const char* prefix) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Defaults the command line may override: five repetitions, nanoseconds.
    std::vector<char*> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    if (!hasFlag(argc, argv, "--benchmark_repetitions")) {
        args.push_back(repetitions);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 2;
    }

    bench::ScratchRoot root;
    bench::registerArrivalScans();
    bench::registerPreSteps();
    bench::registerHostSteps();

    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    bench::endWorld();

    std::vector<bench::Goal> goals = bench::allGoals();
    std::vector<bench::GoalResult> results;
    bool allMet = true;
    for (const bench::Goal& goal : goals) {
        results.push_back(bench::evaluate(goal, reporter.costs()));
        allMet = allMet && results.back().met;
    }
    std::printf("\nCost per vessel: least CPU time over the repetitions, divided by the vessels "
                "in the world.\n\n%s",
                bench::resultTable(results).c_str());
    std::printf("\n%s\n", allMet ? "Every goal is met." : "Some goals are not met.");
    return allMet ? 0 : 1;
}
