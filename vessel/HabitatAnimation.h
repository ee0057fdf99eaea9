// The habitat's two rotations: which mesh groups turn, and how fast.
#pragma once

#include <cmath>

// Phase gained per second of simulation time: one full turn in 112.5 s and in 225 s.
inline constexpr double kFastRotationRate = 0.008888888888888889;
inline constexpr double kSlowRotationRate = 0.0044444444444444444;

// Advances a rotation phase by rate x seconds and keeps it a fraction once it passes 1.0;
// exactly 1.0 is kept for that step, and a step spanning several turns keeps only the rest.
// Inline: it runs twice in every step of every colony.
inline double AdvanceRotationPhase(double phase, double rate, double seconds) {
    double next = seconds * rate + phase;
    if (next > 1.0) {
        next -= std::floor(next);
    }
    return next;
}
