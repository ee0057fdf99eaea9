// The tender's set-up, step and scenario block. Its crew manager is set up only once the
// scenario block has been read, because NOCREW (no crew manager at all) arrives with it.
#include "addons/tender/Tender.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tender {

namespace {

constexpr double kMass = 8000.0;
// The dock sits at the bow; the airlock box surrounds it, reaching 2 m beyond the hull.
constexpr VECTOR3 kDockPosition{0.0, 0.0, 5.0};
constexpr float kBox[6] = {-2.0f, 2.0f, -2.0f, 2.0f, 3.0f, 7.0f};
// People leaving on foot appear on the dock's axis 1 m past the box's outer face, so the
// tender's own intake cannot take them straight back, whatever their suit does on arrival.
constexpr VECTOR3 kExitPosition{0.0, 0.0, 8.0};

struct Pilot {
    const char* name;
    int age;
    int pulse;
    int weight;
    const char* miscId;
};
constexpr Pilot kPilot{"Ilsa Brandvik", 34, 68, 62, "Pil"};

bool startsWithWord(const char* line, const char* word, const char** rest) {
    const std::size_t length = std::strlen(word);
    if (std::strncmp(line, word, length) != 0 || (line[length] != '\0' && line[length] != ' ')) {
        return false;
    }
    *rest = line + length;
    while (**rest == ' ') {
        ++*rest;
    }
    return true;
}

// The crew manager's own test for a crew line: its key as a prefix, ASCII case ignored.
bool IsCrewLine(const char* line) {
    static constexpr char kCrewKey[] = "CKITCREW";
    for (std::size_t i = 0; i + 1 < sizeof kCrewKey; ++i) {
        const char c = line[i];
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (upper != kCrewKey[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

Tender::Tender(OBJHANDLE vessel, int flightModel) : VESSEL2(vessel, flightModel) {}

void Tender::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    SetSize(12.0);
    SetEmptyMass(kMass);
    SetPMI(VECTOR3{4.0, 4.0, 2.0});
    CreateDock(kDockPosition, VECTOR3{0, 0, 1}, VECTOR3{0, 1, 0});
    AddMesh("tender");
}

bool Tender::parseOwnLine(const char* line) {
    const char* rest = nullptr;
    if (startsWithWord(line, "SEATS", &rest)) {
        char* end = nullptr;
        const long value = std::strtol(rest, &end, 10);
        if (end == rest || *end != '\0' || value < 1 || value > kRosterSize) {
            return false; // the host reports the line it cannot read
        }
        seats = static_cast<int>(value);
        return true;
    }
    if (std::strcmp(line, "AIRLOCK CLOSED") == 0) {
        airlockOpen = false;
        return true;
    }
    if (std::strcmp(line, "NOCREW") == 0) {
        noCrew = true;
        return true;
    }
    return false;
}

void Tender::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line = nullptr;
    while (vapiReadScenario_nextline(scn, line)) {
        // As on the colony, any line at all means the block's crew replaces the pilot.
        blockRead = true;
        if (parseOwnLine(line)) {
            continue;
        }
        const std::size_t length = std::strlen(line);
        if (IsCrewLine(line) && keptLineCount < kKeptLineCount &&
            length < static_cast<std::size_t>(kKeptLineSize)) {
            std::snprintf(keptLines[keptLineCount], kKeptLineSize, "%s", line);
            ++keptLineCount;
            continue;
        }
        ParseScenarioLineEx(line, status);
    }
    setUpCrew(status);
}

void Tender::clbkPostCreation() {
    setUpCrew(nullptr);
}

void Tender::setUpCrew(void* status) {
    if (crewSetUp) {
        return;
    }
    crewSetUp = true;
    if (!noCrew) {
        crew.InitCrewManager(GetHandle());
        crew.DefineAirlockShape(airlockOpen ? 1 : 0, kBox[0], kBox[1], kBox[2], kBox[3], kBox[4],
                                kBox[5]);
        crew.SetMembersPosRotOffset(kExitPosition, VECTOR3{0, 0, 0});
        crew.SetMaxSeats(seats);
        if (!blockRead) {
            crew.AddCrewMember(kPilot.name, kPilot.age, kPilot.pulse, kPilot.weight, kPilot.miscId);
        }
    }
    for (int i = 0; i < keptLineCount; ++i) {
        if (noCrew || crew.ParseCrewScenarioLine(keptLines[i]) != 1) {
            ParseScenarioLineEx(keptLines[i], status);
        }
    }
}

void Tender::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    if (seats != kDefaultSeats) {
        char value[16];
        std::snprintf(value, sizeof value, "%d", seats);
        vapiWriteScenario_string(scn, "SEATS", value);
    }
    if (noCrew) {
        vapiWriteScenario_string(scn, "NOCREW", "");
        return;
    }
    if (crew.GetAirlockState() == 0) {
        vapiWriteScenario_string(scn, "AIRLOCK", "CLOSED");
    }
    crew.SaveCrewState(scn);
}

void Tender::clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    if (noCrew) {
        return;
    }
    const int32_t arrival = crew.ProcessArrivals();
    if (arrival == 1 || arrival == 2) {
        std::snprintf(Message(), kMessageSize, "Tender: %s came aboard", crew.GetLastArrivedName());
    }
}

} // namespace tender
