// The module's callbacks as a hostile host calls them, what they allocate, and what they cost.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/HudSurface.h"
#include "sim/validate/Checks.h"
#include "sim/world/AllocationGuard.h"

namespace vx::validate {

namespace {

// The focus back on a vessel of the class (a key may have moved it); false when none is left.
bool focusOnClass(CheckWorld& w) {
    const std::vector<VesselRecord*> mine = vesselsOf(w.world, w.className);
    if (!mine.empty() &&
        (w.world.focus() == nullptr || w.world.focus()->className != w.className)) {
        w.world.setFocus(mine.front());
    }
    return !mine.empty();
}

// Presses every key code with the first of these modifier masks (bit 0 left Shift, 1 right
// Shift, 2 left Ctrl, 3 right Ctrl): none, each alone, each pair, the rest; a step after each.
int pressEveryKey(CheckWorld& w, int maskCount) {
    static constexpr int kMasks[16] = {0, 1, 2, 4, 8, 3, 5, 6, 9, 10, 12, 7, 11, 13, 14, 15};
    int presses = 0;
    for (int m = 0; m < maskCount; ++m) {
        for (std::uint32_t code = 1; code < 256 && focusOnClass(w); ++code, ++presses) {
            const int mask = kMasks[m];
            w.world.pressKey(KeySpec{code, (mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0,
                                     (mask & 8) != 0, ""});
            w.step(0.1);
        }
    }
    return presses;
}

std::string duration(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, seconds < 1e-3 ? "%.3g us" : "%.3g ms",
                  seconds < 1e-3 ? seconds * 1e6 : seconds * 1e3);
    return text;
}

// The median of ten batches' mean cost of one call, in seconds, so that a batch the machine
// took elsewhere does not count.
template <class Call> double costPerCall(int calls, Call call) {
    using Clock = std::chrono::steady_clock;
    double batches[10];
    for (double& batch : batches) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < calls; ++i) {
            call(i);
        }
        batch = std::chrono::duration<double>(Clock::now() - start).count() / calls;
    }
    std::nth_element(batches, batches + 5, batches + 10);
    return batches[5];
}

} // namespace

Verdict checkCallbacks(const CheckRun& run) {
    CheckWorld w(run);
    const int s = run.strictness;
    for (int i = 0; i < 2 + s / 2; ++i) {
        w.make("Hostile " + std::to_string(i), run.className);
    }
    VesselRecord* bystander = w.make("Bystander", kHelperClass);
    for (double dt : {0.0, 1e-9, 1e-3, 0.1, 1.0, 100.0, 1e4}) {
        focusOnClass(w);
        w.step(dt, s);
    }
    const int presses = pressEveryKey(w, s < 4 ? 5 : s < 8 ? 11 : 16);
    static constexpr int kWidths[] = {1, 2, 1, 16384, 16384};
    static constexpr int kHeights[] = {1, 2, 16384, 1, 16384};
    for (int i = 0; i < 5 + 2 * s; ++i) { // the extremes, then sizes from the seed
        focusOnClass(w);
        w.world.setHudSize(i < 5 ? kWidths[i] : 1 + static_cast<int>(w.random() % 16384),
                           i < 5 ? kHeights[i] : 1 + static_cast<int>(w.random() % 16384));
        w.step(0.1);
    }
    w.world.setHudSize(1024, 768);
    for (int i = 0; i < s; ++i) { // off to a vessel of no module, and back
        w.world.setFocus(bystander);
        w.step(0.1);
        focusOnClass(w);
        w.step(0.1);
    }
    return {Outcome::Pass, std::to_string(w.steps) + " steps, " + std::to_string(presses) +
                               " key presses, " + std::to_string(5 + 2 * s) + " HUD sizes"};
}

Verdict checkAllocations(const CheckRun& run) {
    if (run.strictness < 5) {
        return {Outcome::Skip, "required from strictness 5"};
    }
    if (!allocationGuardAvailable()) {
        return {Outcome::Skip, "this build of the host cannot count allocations"};
    }
    CallbackAllocations counted;
    const auto add = [&](CheckWorld& w) {
        const VesselClass* ofClass = w.world.classes().find(run.className);
        for (int i = 0; ofClass != nullptr && i < kGuardedCallbackCount; ++i) {
            counted.count[i] += ofClass->allocations.count[i];
        }
    };
    std::string saved;
    {
        CheckWorld w(run);
        for (int i = 0; i < 1 + run.strictness / 5; ++i) {
            w.make("Frugal " + std::to_string(i), run.className);
        }
        w.step(0.1, 20 * run.strictness);
        pressEveryKey(w, 1);
        saved = w.world.scenarioText();
        add(w);
    }
    {
        CheckWorld w(run);
        w.load(saved);
        w.step(0.1, 10);
        w.world.scenarioText();
        add(w);
    }
    std::string reason;
    for (int i = 0; i < kGuardedCallbackCount; ++i) {
        if (counted.count[i] != 0) {
            reason += (reason.empty() ? "class '" + run.className + "' allocated " : ", ") +
                      std::to_string(counted.count[i]) + " times in " +
                      guardedCallbackName(static_cast<GuardedCallback>(i));
        }
    }
    require(reason.empty(), reason);
    return {Outcome::Pass, "no allocation in its callbacks"};
}

Verdict checkTiming(const CheckRun& run) {
    CheckWorld w(run);
    VesselRecord* target = w.make("Timed", run.className);
    if (target->iface == nullptr || target->iface->Version() != 2) {
        return {Outcome::Skip, "its vessels have no callbacks to time"};
    }
    auto* callbacks = static_cast<VESSEL2*>(target->iface);
    w.world.setFocus(target);
    const int calls = 20 * run.strictness;
    std::vector<std::pair<const char*, double>> costs; // seconds a call
    // Called from inside a step, as the host calls them: what they delete waits for its end.
    helperStep = [&](VESSEL2&) {
        const double simt = w.world.simTime();
        const double dt = w.world.simStep();
        char keys[256] = {};
        const HUDPAINTSPEC paint{1024, 768, 512, 384, 768 / 40.0, 768 / 50};
        HudSurface surface{[](HudSurface*, int, int, const char*, int) {}};
        costs = {
            {"clbkPreStep",
             costPerCall(calls, [&](int) { callbacks->clbkPreStep(simt, dt, 51544.5); })},
            {"clbkPostStep",
             costPerCall(calls, [&](int) { callbacks->clbkPostStep(simt, dt, 51544.5); })},
            {"clbkConsumeBufferedKey", costPerCall(calls,
                                                   [&](int i) {
                                                       callbacks->clbkConsumeBufferedKey(
                                                           static_cast<std::uint32_t>(1 + i % 255),
                                                           i / 255 % 2 == 0, keys);
                                                   })},
            // After the keys, so that their answers are on it.
            {"clbkDrawHUD",
             costPerCall(calls, [&](int) { callbacks->clbkDrawHUD(1, &paint, &surface); })}};
    };
    w.make("Stopwatch", kHelperClass);
    w.step(0.1);
    helperStep = nullptr;
    costs.emplace_back("saving", costPerCall(calls / 4, [&](int) { w.world.scenarioText(); }));
    costs.emplace_back("creation and destruction", costPerCall(calls / 4, [&](int i) {
                           w.world.deleteVessel(
                               w.make("Brief " + std::to_string(i), run.className));
                       }));
    const double bounds[] = {20e-3 / run.strictness, 40e-3 / run.strictness};
    std::string text;
    for (std::size_t i = 0; i < costs.size(); ++i) {
        const double bound = bounds[i < 4 ? 0 : 1];
        require(costs[i].second <= bound, std::string(costs[i].first) + " took " +
                                              duration(costs[i].second) +
                                              " a call, over its bound of " + duration(bound));
        text +=
            (i == 0 ? "" : ", ") + std::string(costs[i].first) + " " + duration(costs[i].second);
    }
    return {Outcome::Pass, text + " (bounds " + duration(bounds[0]) + " a callback, " +
                               duration(bounds[1]) + " a save or creation)"};
}

} // namespace vx::validate
