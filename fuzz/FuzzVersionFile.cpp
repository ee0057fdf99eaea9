// The crew library's version file as any installation, or any broken disk, may leave it: each
// input is the whole file. The version read must be what the first thirteen characters of its
// first line say, cached once it is not zero, and a crew manager set up on it must arm the
// outdated warning exactly when the version is below 2.0, and the warning must keep the
// debug line within its buffer while it runs.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <regex>
#include <string>

#include "crew/CrewLink.h"
#include "crew/CrewManager.h"
#include "crew/CrewVersion.h"
#include "fuzz/FuzzCrewHolder.h"
#include "fuzz/FuzzRoot.h"
#include "host/Vantrix.h"
#include "sim/world/World.h"

namespace {

using fuzzcrew::Holder;
using fuzzcrew::Require;
constexpr char kVersionPath[] = "meshes/CKit/ver.dtf";
constexpr char kAddonName[] = "Halcyra Colony";

// The host keeps a record of every vessel of a run, and each input makes one: the world is
// made anew now and then so that a long run does not grow without bound.
std::unique_ptr<vx::World> world;
constexpr int kRunsPerWorld = 5000;
int runsInWorld = 0;

// What the file says, worked out apart from the reader: the first line up to and with its
// newline, at most thirteen bytes of it, as a C text; its leading decimal number alone
// (hexadecimal, infinity and not-a-number forms are none), converted to double and then to
// float the way the hardware would.
float ExpectedVersion(const uint8_t* data, std::size_t size) {
    char line[14] = {};
    for (std::size_t i = 0; i < size && i < 13; ++i) {
        line[i] = static_cast<char>(data[i]);
        if (data[i] == '\n') {
            break;
        }
    }
    static const std::regex decimal(
        R"(^[ \t\n\v\f\r]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?)");
    std::cmatch number;
    if (!std::regex_search(line, number, decimal)) {
        return 0.0f;
    }
    const double value = std::strtod(number.str().c_str(), nullptr);
    if (value > 3.4028234663852886e38) {
        return HUGE_VALF;
    }
    if (value < -3.4028234663852886e38) {
        return -HUGE_VALF;
    }
    return static_cast<float>(value);
}

bool SameFloat(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckDebugLine() {
    const char* line = vapiDebugString();
    Require(std::memchr(line, 0, VAPI_DEBUG_STRING_SIZE) != nullptr, "debug line terminated");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    fuzzroot::Enter("/tmp/fuzz-version-file");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (world == nullptr || ++runsInWorld > kRunsPerWorld) {
        world.reset();
        world = std::make_unique<vx::World>();
        world->classes().add("Holder", fuzzcrew::Init<Holder>, fuzzcrew::Exit<Holder>);
        world->body().gm = 0.0;
        runsInWorld = 0;
    }
    const float expected = ExpectedVersion(data, size);

    // A fresh module life reads the file.
    fuzzroot::WriteFile(kVersionPath, data, size);
    cachedLibraryVersion = 0.0f;
    const float read = GetCrewLibraryVersion();
    Require(SameFloat(read, expected), "version as the first line says");
    Require(SameFloat(cachedLibraryVersion, expected), "cache holds what was read");

    // A later call reads the file again only while nothing but zero was read.
    fuzzroot::WriteFile(kVersionPath, "2.5\n", 4);
    const float again = GetCrewLibraryVersion();
    Require(SameFloat(again, expected != 0.0f ? expected : 2.5f), "a non-zero version is kept");

    // A vessel whose crew manager is set up with this file installed, on the record the last
    // one had, so that the table is never used up.
    fuzzroot::WriteFile(kVersionPath, data, size);
    cachedLibraryVersion = 0.0f;
    crewLinkCounter = 1;
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    vx::VesselRecord* record = world->createVessel("Holder", "Holder", status);
    Require(record != nullptr, "holder created");
    Holder* holder = static_cast<Holder*>(vapiGetVesselInterface(record));
    CrewManager& crew = holder->crew;
    Require(crew.IsReady(), "crew manager ready");
    const bool outdated = expected < 2.0f;
    Require(crew.libraryOutdated == (outdated ? 1 : 0), "outdated exactly below 2.0");
    Require((crew.warningUntil > 0.0) == outdated, "warning armed exactly when outdated");

    // Run the warning through its whole sequence: it must end, and the line stays bounded.
    std::strcpy(vapiDebugString(), "other text");
    for (int tick = 0; tick < 10; ++tick) {
        crew.WarnUserIfOutdated(kAddonName);
        CheckDebugLine();
        if (!outdated) {
            Require(std::strcmp(vapiDebugString(), "other text") == 0,
                    "an up-to-date library leaves the debug line alone");
        }
        world->step(2.5);
    }
    crew.WarnUserIfOutdated(kAddonName);
    Require(!(crew.warningUntil > 0.0), "the sequence has ended");
    Require(world->deleteVessel(record), "holder deleted");
    world->step(0.0);
    return 0;
}
