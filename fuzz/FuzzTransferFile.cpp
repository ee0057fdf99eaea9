// The transfer exchange file as any sender, or any broken disk, may leave it: each input is the
// whole file, read by the arrival scan of a ready crew manager that sees a transfer vessel named
// for it. The intake must take exactly one member in, within the roster's limits, delete the
// file and the vessel, and keep the exchange buffer to the file's first record or, for a short
// file, to what it held before.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "crew/CrewExchange.h"
#include "crew/CrewLink.h"
#include "crew/CrewManager.h"
#include "fuzz/FuzzCrewHolder.h"
#include "fuzz/FuzzRoot.h"
#include "host/Vantrix.h"
#include "sim/world/World.h"

namespace {

using fuzzcrew::Exit;
using fuzzcrew::Holder;
using fuzzcrew::Init;
using fuzzcrew::kStructureMass;
using fuzzcrew::Require;
constexpr char kTransferFile[] = "config/CKittmpT.cfg";
constexpr char kOwnName[] = "Holder";
constexpr char kTransferName[] = "CKitTHolder";

// The crew library's vessel class as the intake meets it: a point for parents of its own.
class Walker final : public VESSEL2 {
public:
    Walker(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}
    void clbkSetClassCaps(FILEHANDLE /*cfg*/) override {
        CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "Own", false);
    }
};

Holder* holder = nullptr;
// The host keeps a record of every vessel of a run, and each input deletes one: the world is
// made anew now and then so that a long run does not grow without bound.
std::unique_ptr<vx::World> world;
constexpr int kRunsPerWorld = 20000;
int runsInWorld = 0;

void CheckMember(const CrewRecord& r) {
    fuzzcrew::CheckMemberText(r);
    Require(std::strchr(r.miscId, '-') == nullptr, "tag stops at the first hyphen");
    Require(r.age >= 1 && r.age <= 140, "age in range");
    Require(r.pulse >= 0 && r.pulse <= 180, "pulse in range");
    Require(r.weight >= 5 && r.weight <= 300, "weight in range");
}

void MakeWorld() {
    world.reset();
    // The next holder binds the same link record as the one just gone, so the module's
    // hundred records are never used up.
    if (crewLinkCounter > 1) {
        crewLinkCounter = 1;
    }
    world = std::make_unique<vx::World>();
    world->classes().add("Holder", Init<Holder>, Exit<Holder>);
    world->classes().add("CKit", Init<Walker>, Exit<Walker>);
    world->setWarningSink([](std::string_view) {});
    world->body().gm = 0.0;
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 0};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    world->createVessel(kOwnName, "Holder", status);
    holder = static_cast<Holder*>(vapiGetVesselInterface(vapiGetObjectByName(kOwnName)));
    if (holder == nullptr || !holder->crew.IsReady()) {
        std::abort();
    }
    runsInWorld = 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // The crew library's module file must exist for the crew manager to bind.
    fuzzroot::Enter("/tmp/fuzz-transfer-file");
    MakeWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (++runsInWorld > kRunsPerWorld) {
        MakeWorld();
    }
    fuzzroot::WriteFile(kTransferFile, data, size);

    // Far outside the airlock, named for the holder, with its data point last.
    VESSELSTATUS status{};
    status.rpos = {7e6, 0, 500};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    OBJHANDLE transfer = vapiCreateVessel(kTransferName, "CKit", status);
    VESSEL* carrier = vapiGetVesselInterface(transfer);
    Require(carrier != nullptr, "transfer vessel created");
    carrier->CreateAttachment(true, {1, 2, 3}, {0, 0, 0}, {0, 0, 0}, "C-Ki", false);

    const CrewExchangeRecord before = crewExchangeBuffer;
    CrewManager& crew = holder->crew;
    crew.Link().pollTimer = 1.0; // scan now
    Require(crew.ProcessArrivals() == 2, "the transfer vessel is taken in");

    Require(access(kTransferFile, F_OK) != 0, "transfer file deleted");
    Require(vapiGetObjectByName(kTransferName) == nullptr, "transfer vessel deleted");
    if (size >= sizeof before) {
        Require(std::memcmp(&crewExchangeBuffer, data, sizeof before) == 0, "first record read");
    } else {
        Require(std::memcmp(&crewExchangeBuffer, &before, sizeof before) == 0,
                "short file leaves the buffer");
    }
    Require(crew.GetCrewCount() == 1, "one member taken in");
    CheckMember(crew.roster[0]);
    // A vessel name that ends within the five-character prefix names nobody, whatever an
    // earlier arrival left behind it.
    if (std::memchr(crewExchangeBuffer.vesselName, 0, 5) != nullptr) {
        Require(crew.roster[0].name[0] == '\0' && crew.roster[0].miscId[0] == '\0',
                "no name from before the terminator");
    }
    Require(crew.crewMass == crew.roster[0].weight, "crew mass is the member's weight");
    Require(holder->GetEmptyMass() == kStructureMass + crew.crewMass, "mass carries the crew");
    const char* arrived = crew.GetLastArrivedName();
    Require(std::memchr(arrived, 0, 26) != nullptr, "last arrived name within 25 characters");

    // Leave the roster empty for the next input.
    char name[sizeof crew.roster[0].name];
    std::memcpy(name, crew.roster[0].name, sizeof name);
    Require(crew.RemoveCrewMember(name) == 1, "the member can leave again");
    Require(crew.GetCrewCount() == 0 && crew.crewMass == 0.0, "roster empty again");
    return 0;
}
