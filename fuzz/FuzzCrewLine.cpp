// Scenario lines offered to a ready crew manager, as a loaded scenario would offer them: each
// input is a vessel block, one line per text line. After every line the roster must still
// be one the crew manager could have built.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "crew/CrewManager.h"
#include "fuzz/FuzzCrewHolder.h"
#include "fuzz/FuzzRoot.h"
#include "host/Vantrix.h"
#include "sim/world/World.h"

namespace {

using fuzzcrew::Holder;
using fuzzcrew::kStructureMass;
using fuzzcrew::Require;
constexpr std::size_t kLineRoom = 4096;

Holder* holder = nullptr;

void CheckRoster(const CrewManager& crew) {
    Require(crew.crewCount >= 0 && crew.crewCount <= crew.maxSeats, "crew within the seats");
    double sum = 0.0;
    for (int32_t slot = 0; slot < crew.crewCount; ++slot) {
        const CrewRecord& r = crew.roster[slot];
        fuzzcrew::CheckMemberText(r);
        Require(r.age >= 1 && r.age <= 140, "age in range");
        Require(r.pulse >= 1 && r.pulse <= 180, "pulse in range");
        Require(r.weight >= 5 && r.weight <= 300, "weight in range");
        sum += r.weight;
    }
    Require(sum == crew.crewMass, "crew mass is the sum of the weights");
    Require(holder->GetEmptyMass() == kStructureMass + crew.crewMass, "mass carries the crew");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // The crew library's module file must exist for the crew manager to bind.
    fuzzroot::Enter("/tmp/fuzz-crew-line");
    static vx::World world; // lives as long as the process
    world.classes().add("Holder", fuzzcrew::Init<Holder>, fuzzcrew::Exit<Holder>);
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    world.createVessel("Holder", "Holder", status);
    holder = static_cast<Holder*>(vapiGetVesselInterface(vapiGetObjectByName("Holder")));
    if (holder == nullptr || !holder->crew.IsReady()) {
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    CrewManager& crew = holder->crew;
    // Every input is a new block: its first line replaces whatever the last one left.
    crew.loadedLineCount = -1;
    std::size_t at = 0;
    while (at < size) {
        std::size_t end = at;
        while (end < size && data[end] != '\n') {
            ++end;
        }
        char line[kLineRoom];
        const std::size_t length = end - at < kLineRoom - 1 ? end - at : kLineRoom - 1;
        std::memcpy(line, data + at, length);
        line[length] = '\0';
        // The first line of a block starts from an empty roster.
        const int32_t before = crew.loadedLineCount == -1 ? 0 : crew.crewCount;
        const int32_t result = crew.ParseCrewScenarioLine(line);
        Require(result == 0 || result == 1, "result code");
        Require(result == 0 || crew.crewCount == before + 1, "an accepted line adds one member");
        CheckRoster(crew);
        at = end + 1;
    }
    return 0;
}
