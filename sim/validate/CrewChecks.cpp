// The crew point protocol: the nine numbers a vessel publishes on its point "CKit", and
// taking in the people other vessels send to it.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "host/Keys.h"
#include "sim/validate/Checks.h"

namespace vx::validate {

namespace {

constexpr double kPollStep = 0.05;
constexpr int kPollSteps = 6; // the 0.25 s poll interval and one step more
constexpr const char* kTransferFile = "config/CKittmpT.cfg";

const VxAttachment* findCrewPoint(const VesselRecord& vessel) {
    for (const auto& point : vessel.childPoints) {
        if (std::strcmp(point->id.data(), "CKit") == 0) {
            return point.get();
        }
    }
    return nullptr;
}

// Once published, the point stays for the vessel's life.
const VxAttachment& crewPoint(const VesselRecord& vessel) {
    const VxAttachment* point = findCrewPoint(vessel);
    if (point == nullptr) {
        throw Finding{"its crew point \"CKit\" was gone"};
    }
    return *point;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

// The airlock box as xmin, xmax, ymin, ymax, zmin, zmax; throws when the point is ill formed.
std::array<double, 6> wellFormedBox(const VxAttachment& point, const char* when) {
    const std::array<double, 6> box{point.pos.x, point.pos.y, point.pos.z,
                                    point.dir.x, point.dir.y, point.dir.z};
    const std::string prefix = std::string("its crew point, ") + when + ", ";
    for (double value : box) {
        require(std::isfinite(value), prefix + "has a box bound that is not a number");
    }
    for (int axis = 0; axis < 3; ++axis) {
        require(box[2 * axis] <= box[2 * axis + 1],
                prefix + "has an airlock box whose " + "xyz"[axis] + " minimum " +
                    number(box[2 * axis]) + " lies above its maximum " + number(box[2 * axis + 1]));
    }
    require(point.rot.x == 0.0 || point.rot.x == 1.0,
            prefix + "has the airlock state " + number(point.rot.x) + ", not 0 or 1");
    require(point.rot.z >= 0.0 && point.rot.z == std::floor(point.rot.z),
            prefix + "has " + number(point.rot.z) + " free seats, not a whole number from 0");
    return box;
}

// Steps until the vessel is gone or the poll interval and a step have passed.
bool takenIn(CheckWorld& w, const VesselRecord* arriving) {
    for (int i = 0; i < kPollSteps && arriving->alive; ++i) {
        w.step(kPollStep);
    }
    return !arriving->alive;
}

// Its free seats went down by one, unless it had none, and its point is still well formed.
void seatTaken(const VesselRecord& vessel, double seatsBefore, const std::string& who) {
    const std::string when = "once " + who + " came in";
    const double seats = crewPoint(vessel).rot.z;
    wellFormedBox(crewPoint(vessel), when.c_str());
    require(seatsBefore == 0.0 || seats == seatsBefore - 1.0,
            when + " it published " + number(seats) + " free seats, having had " +
                number(seatsBefore));
}

void writeTransferRecord(const char* name) {
    unsigned char record[104] = {};
    std::snprintf(reinterpret_cast<char*>(record), 40, "%s", name);
    const std::int32_t numbers[6] = {30, 70, 100, 60, 0, 0}; // age, pulse, supply, weight
    std::memcpy(record + 80, numbers, sizeof numbers);
    std::FILE* file = std::fopen(kTransferFile, "wb");
    require(file != nullptr && std::fwrite(record, sizeof record, 1, file) == 1 &&
                std::fclose(file) == 0,
            std::string("cannot write ") + kTransferFile);
}

// A colony docked at its dock 0 sends a member across; what the colony answered, or why no
// colony came.
std::string crossFromColony(CheckWorld& w, VesselRecord* vessel, const CheckRun& run) {
    if (vessel->docks.empty()) {
        return "";
    }
    const double seats = crewPoint(*vessel).rot.z;
    if (!run.colony || seats == 0.0) {
        return run.colony ? "; no free seat for a colony to send a member to"
                          : "; no colony module found to dock to it";
    }
    VesselRecord* colony = w.make("Colony", "halcyra");
    std::string reason;
    require(w.world.dock(colony, 0, vessel, 0, reason),
            "a colony cannot dock to its dock 0: " + reason);
    w.world.setFocus(colony);
    for (std::uint32_t key : {VXK_1, VXK_E}) {
        w.world.pressKey(KeySpec{key, false, false, false, false, ""});
    }
    w.step(kPollStep);
    const std::string answer = w.world.hudText();
    w.step(kPollStep, kPollSteps);
    require(crewPoint(*vessel).rot.z == seats - 1.0,
            "a colony docked at its dock 0 sent a member across (\"" + answer +
                "\"), who was not taken in within the 0.25 s poll and one step");
    wellFormedBox(crewPoint(*vessel), "once a member from a docked colony came in");
    w.world.deleteVessel(colony);
    return ", a member sent across by a docked colony";
}

} // namespace

Verdict checkCrewPoint(const CheckRun& run) {
    if (!run.crewRuntime) {
        return {Outcome::Skip, "needs the crew runtime (CKit.dll and its version file), which "
                               "was not found beside the module, in --root or beside vxsim"};
    }
    CheckWorld w(run);
    VesselRecord* vessel = w.make("Vx", run.className);
    w.step(kPollStep);
    if (findCrewPoint(*vessel) == nullptr) {
        return {Outcome::Skip, "the class publishes no crew point \"CKit\""};
    }
    const std::array<double, 6> box = wellFormedBox(crewPoint(*vessel), "once created");
    std::string done = "its crew point is well formed";
    if (crewPoint(*vessel).rot.x == 0.0) {
        return {Outcome::Pass, done + "; its airlock is closed, so nobody was sent in"};
    }
    if (box[0] == box[1] || box[2] == box[3] || box[4] == box[5]) {
        return {Outcome::Pass, done + "; its airlock box is flat, so nobody can stand inside"};
    }
    const std::string crossed = crossFromColony(w, vessel, run);

    writeTransferRecord("CKit_Val-Transfer");
    double seats = crewPoint(*vessel).rot.z;
    VesselRecord* transfer = w.make("CKitTVx", "CKit");
    // What the sender gives a transfer vessel: its crew data point.
    require(transfer->iface != nullptr, "the crew runtime made a transfer vessel without a body");
    transfer->iface->CreateAttachment(true, {30, 70, 60}, {}, {}, "C-Ki", false);
    require(takenIn(w, transfer), "a transfer vessel named for it (CKitTVx) was not taken in "
                                  "within the 0.25 s poll and one step");
    require(!std::filesystem::exists(kTransferFile),
            "it took in a transfer vessel but left the exchange file config/CKittmpT.cfg");
    seatTaken(*vessel, seats, "a transfer");

    for (int i = 0; i < run.strictness; ++i) {
        VECTOR3 at{};
        double* parts[3] = {&at.x, &at.y, &at.z};
        for (int axis = 0; axis < 3; ++axis) { // the centre first, then places from the seed
            const double share = i == 0 ? 0.5 : 0.05 + 0.9 * w.unit();
            *parts[axis] = box[2 * axis] + share * (box[2 * axis + 1] - box[2 * axis]);
        }
        seats = crewPoint(*vessel).rot.z;
        VesselRecord* walker = w.make("CKit_Val-Walker_" + std::to_string(i), "CKit");
        w.world.place(walker, vessel, at);
        require(takenIn(w, walker), "a walker placed at (" + number(at.x) + ", " + number(at.y) +
                                        ", " + number(at.z) +
                                        ") in its frame, strictly inside its airlock box, was "
                                        "not taken in within the 0.25 s poll and one step");
        seatTaken(*vessel, seats, "a walker");
    }
    return {Outcome::Pass, done + crossed + ", a transfer and " + std::to_string(run.strictness) +
                               " walkers taken in"};
}

} // namespace vx::validate
