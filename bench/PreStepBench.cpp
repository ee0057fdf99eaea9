// The colony's per-step update on a step with no arrival poll due, against the host calls it
// has to make on every step: both habitat animations, the ground contact test and the step
// length the poll timer adds up.
#include <benchmark/benchmark.h>

#include "bench/BenchWorld.h"
#include "bench/Benchmarks.h"
#include "bench/Goals.h"
#include "vessel/Halcyra.h"

namespace bench {

namespace {

constexpr double kStep = 0.02; // s, a usual frame

// The colony is in the state measured: crew manager ready, airlock open (so the poll timer
// runs), the version warning over, in flight, and the host's step length 0.
bool colonyIsIdle(const halcyra& colony, std::string& error) {
    if (!colony.crew.IsReady() || colony.crew.airlockStateCopy != 1) {
        error = "the colony's crew manager is not ready with its airlock open";
    } else if (colony.crew.warningUntil > 0.0) {
        error = "the colony's version warning is still running";
    } else if (colony.GroundContact()) {
        error = "the colony is on the ground";
    } else if (vapiGetSimStep() != 0.0) {
        error = "the host's step length is not 0";
    }
    return error.empty();
}

void runPreStep(benchmark::State& state, bool bare) {
    BenchWorld& made = worldFor({Layout::Colony, 0});
    std::string error = made.error;
    if (error.empty()) {
        colonyIsIdle(*static_cast<halcyra*>(made.colony), error);
    }
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    halcyra& colony = *static_cast<halcyra*>(made.colony);
    VESSEL2& callbacks = *made.colony;
    const unsigned int fast = colony.fastRotationAnim;
    const unsigned int slow = colony.slowRotationAnim;
    double simt = 25.0;
    double phase = 0.0;
    for (auto _ : state) {
        simt += kStep;
        if (bare) {
            phase += kStep;
            benchmark::DoNotOptimize(phase);
            colony.SetAnimation(fast, phase);
            colony.SetAnimation(slow, phase);
            benchmark::DoNotOptimize(colony.GroundContact());
            benchmark::DoNotOptimize(vapiGetSimStep());
        } else {
            callbacks.clbkPreStep(simt, kStep, 51544.5);
        }
    }
    state.counters["vessels"] = 1.0;
}

} // namespace

void registerPreSteps() {
    for (bool bare : {true, false}) {
        benchmark::RegisterBenchmark(preStepName(bare).c_str(), runPreStep, bare);
    }
}

} // namespace bench
