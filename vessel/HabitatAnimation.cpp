// The habitat's rotations. The host keeps pointers to the transforms it is given, so both
// live in static storage and every colony of the library shares the same two objects.
#include "vessel/HabitatAnimation.h"

#include <optional>

#include "host/Vantrix.h"
#include "vessel/Halcyra.h"

namespace {

constexpr unsigned int kHabitatMesh = 0;
// The ring and its spokes turn fast; the core section turns at half their rate.
constexpr unsigned int kFastGroups[] = {1, 2, 7, 6, 8, 9, 10};
constexpr unsigned int kSlowGroups[] = {11};
// A full turn, as the single-precision angle the transforms carry.
constexpr float kFullTurn = 6.2831855f;

struct HabitatRotations {
    MGROUP_ROTATE fast;
    MGROUP_ROTATE slow;
};

// Built by the first colony and kept for the life of the library. An optional rather than a
// function-local static: the host calls from one thread only, so the lock the compiler puts
// around such a static would guard nothing.
std::optional<HabitatRotations> rotations;

HabitatRotations& Rotations() {
    if (!rotations) {
        rotations = HabitatRotations{
            MGROUP_ROTATE(kHabitatMesh, kFastGroups, sizeof kFastGroups / sizeof kFastGroups[0],
                          VECTOR3{0, 0, 0}, VECTOR3{0, 0, 1}, kFullTurn),
            MGROUP_ROTATE(kHabitatMesh, kSlowGroups, sizeof kSlowGroups / sizeof kSlowGroups[0],
                          VECTOR3{0, 0, 0}, VECTOR3{0, 0, 1}, kFullTurn)};
    }
    return *rotations;
}

} // namespace

void halcyra::DefineAnimations() {
    HabitatRotations& rotations = Rotations();
    fastRotationAnim = CreateAnimation(0.0);
    AddAnimationComponent(fastRotationAnim, 0.0, 1.0, &rotations.fast);
    slowRotationAnim = CreateAnimation(0.0);
    AddAnimationComponent(slowRotationAnim, 0.0, 1.0, &rotations.slow);
    vapiWriteLog("Created animation");
}
