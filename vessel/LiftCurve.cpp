// The colony's lift curve. The breakpoints are given in degrees and turned into radians with
// the factor the original tables were made with, which is close to but not exactly pi/180;
// keeping it keeps every value of the curve where those tables put it.
#include "vessel/LiftCurve.h"

namespace {

constexpr int kBreakpointCount = 9;
constexpr double kRadiansPerDegree = 0.017453292519943278;
constexpr double kAngleDegrees[kBreakpointCount] = {-180, -60, -30, -1, 15, 20, 25, 60, 180};
constexpr double kCoefficient[kBreakpointCount] = {0, 0, -0.1, 0, 0.2, 0.25, 0.2, 0, 0};

// The breakpoints in radians and the slope from each to the next; built on the first call
// and kept for the life of the library.
struct LiftTable {
    double angle[kBreakpointCount];
    double slope[kBreakpointCount]; // slope[8] is 0: nothing follows the last breakpoint
};

// Behind a plain flag, not a function-local static: the host calls from one thread only, so
// the lock the compiler puts around such a static would guard nothing.
LiftTable liftTable;
bool liftTableBuilt = false;

LiftTable BuildLiftTable() {
    LiftTable table{};
    for (int i = 0; i < kBreakpointCount; ++i) {
        table.angle[i] = kAngleDegrees[i] * kRadiansPerDegree;
    }
    for (int i = 0; i + 1 < kBreakpointCount; ++i) {
        table.slope[i] =
            (kCoefficient[i + 1] - kCoefficient[i]) / (table.angle[i + 1] - table.angle[i]);
    }
    table.slope[kBreakpointCount - 1] = 0.0;
    return table;
}

} // namespace

double LiftCoeff(double aoa) {
    if (!liftTableBuilt) {
        liftTable = BuildLiftTable();
        liftTableBuilt = true;
    }
    const LiftTable& table = liftTable;
    int i = 0;
    while (i < kBreakpointCount - 1 && !(aoa <= table.angle[i + 1])) {
        ++i;
    }
    return kCoefficient[i] + (aoa - table.angle[i]) * table.slope[i];
}
