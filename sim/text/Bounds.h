// How far every value an input gives the host may go, so that every cost an input can cause
// is bounded, every number the host writes reads back, and every transcript line keeps its
// "[T] KIND:" form. Each bound comes with the words a refusal shows it in.
#pragma once

#include <cstddef>

#include "sim/text/TextFile.h"

namespace vx::bounds {

struct Range {
    double low;       // the least value allowed
    double high;      // the greatest
    const char* text; // as a refusal shows it
};

inline constexpr Range kTime{0.0, 1e10, "0 .. 1e10 s"};                  // TIME, and simulated time
inline constexpr Range kPosition{-1e13, 1e13, "-1e13 .. 1e13 m"};        // POS, each part
inline constexpr Range kVelocity{-1e8, 1e8, "-1e8 .. 1e8 m/s"};          // VEL, each part
inline constexpr Range kAngle{-1e6, 1e6, "-1e6 .. 1e6 degrees"};         // ORI, each angle
inline constexpr Range kSpin{-1e6, 1e6, "-1e6 .. 1e6 degrees/s"};        // AVEL, each part
inline constexpr Range kBodyRadius{1e-3, 1e10, "1e-3 .. 1e10 m"};        // BODY radius
inline constexpr Range kBodyGm{0.0, 1e22, "0 .. 1e22 m^3/s^2"};          // BODY gm
inline constexpr Range kHudSide{1, 16384, "1 .. 16384 pixels"};          // HUDSIZE width, height
inline constexpr Range kStep{0.0, 1e6, "0 .. 1e6 s"};                    // dt
inline constexpr Range kSteps{0, 1e9, "0 .. 1000000000"};                // steps one command runs
inline constexpr Range kRun{0.0, 1e10, "more than 0, up to 1e10 s"};     // run
inline constexpr Range kLiftAngle{-360.0, 360.0, "-360 .. 360 degrees"}; // print lift

inline constexpr bool within(const Range& range, double value) {
    return value >= range.low && value <= range.high; // false for not a number too
}

inline constexpr std::size_t kVessels = 100000; // vessels in a scenario, and alive at once

inline constexpr TextBounds kScenarioText{64u << 20, 4096, "scenario"};
inline constexpr TextBounds kScriptText{1u << 20, 4096, "script"};

} // namespace vx::bounds
