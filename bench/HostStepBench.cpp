// The host's own step over idle vessels: its cost per vessel must not grow with their number.
#include <benchmark/benchmark.h>

#include "bench/BenchWorld.h"
#include "bench/Benchmarks.h"
#include "bench/Goals.h"

namespace bench {

namespace {

constexpr double kStep = 0.02; // s

void runHostStep(benchmark::State& state, int vessels) {
    BenchWorld& made = worldFor({Layout::Idle, vessels});
    if (!made.error.empty()) {
        state.SkipWithError(made.error.c_str());
        return;
    }
    vx::World& world = *made.world;
    for (auto _ : state) {
        world.step(kStep);
    }
    state.counters["vessels"] = static_cast<double>(world.vessels().size());
}

} // namespace

void registerHostSteps() {
    for (int n : hostStepCounts()) {
        benchmark::RegisterBenchmark(hostStepName(n).c_str(), runHostStep, n);
    }
}

} // namespace bench
