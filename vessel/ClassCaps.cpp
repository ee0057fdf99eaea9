// What makes a new vessel the colony: its body, its lift curve, its rotating habitat, its
// ports and mesh, and the Spacedock with the founding crew aboard.
#include <cstdio>

#include "host/Vantrix.h"
#include "vessel/Halcyra.h"
#include "vessel/LiftCurve.h"

namespace {

// One founding member of the Spacedock roster.
struct FoundingMember {
    const char* name;   // as it appears on the roster
    int age;            // years
    int pulse;          // beats per minute
    int weight;         // kilograms, added to the colony's mass on boarding
    const char* miscId; // profession tag, or null for none
};

constexpr FoundingMember kFoundingCrew[] = {
    {"Governer Vasko", 41, 65, 74, "Capt"}, {"Marietta Vasko", 37, 67, 55, "Eng"},
    {"Tobiah Renart", 29, 70, 45, "Doc"},   {"Kenta Morisawa", 25, 70, 45, "Sci"},
    {"Olef Brandt", 19, 70, 45, nullptr},   {"Duma Okaro", 32, 70, 45, nullptr},
    {"WeiLin Tsao", 61, 70, 45, nullptr},   {"Lucien Marrot", 48, 70, 45, nullptr},
    {"Siobha Carrick", 31, 70, 45, "Eng"},  {"Matthias Petrovan", 38, 70, 45, nullptr},
    {"Anselm Varadi", 26, 70, 45, nullptr}, {"Nerea Castelli", 23, 70, 45, "Eng"},
};

// The ports sit far out along the long axis, all facing along it. Dock 0 comes first: the
// crew manager transfers crew through it.
constexpr VECTOR3 kDockPositions[] = {
    {81.74, 189.56, 21699.4},   {-277.8, -161.5, 21655.64}, {323.983, 72.23, 21455.67},
    {323.8, -161.75, 21455.67}, {-277.8, 189.16, 21456.98},
};

constexpr double kStructureMass = 3.9e12;

constexpr const char* kGreeting =
    "Spacedock on line six, transferring control now... E=EVA, 1/2=Select personnel "
    "A=Open/Close airlock S=info M=Add personnel";

} // namespace

void halcyra::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    SetSize(10000.0);
    SetAlbedoRGB(VECTOR3{1, 1, 1});
    SetVisibilityLimit(0.001, 1e-9);
    SetEmptyMass(kStructureMass);
    SetCW(0.3, 0.3, 0.6, 0.9);
    SetWingAspect(0.7);
    SetWingEffectiveness(2.5);
    SetCrossSections(VECTOR3{3e8, 3e8, 3e7});
    SetRotDrag(VECTOR3{3e8, 3e8, 3e7});
    if (GetFlightModel() >= 1) {
        SetPitchMomentScale(0.0001);
        SetBankMomentScale(0.0001);
    }
    SetPMI(VECTOR3{3e8, 3e8, 3e7});
    SetTrimScale(0.0);
    SetCameraOffset(VECTOR3{0, 0, 0});
    SetLiftCoeffFunc(LiftCoeff);

    SetTouchdownPoints(VECTOR3{-1000, -3000, -20000}, VECTOR3{1000, -3000, -20000},
                       VECTOR3{0, -3000, 20000});
    DefineAnimations();
    for (const VECTOR3& position : kDockPositions) {
        CreateDock(position, VECTOR3{0, 0, 1}, VECTOR3{0, 1, 0});
    }
    AddMesh("halcyra");
    SetMeshVisibilityMode(0, 3);

    crew.InitCrewManager(GetHandle());
    crew.DefineAirlockShape(1, -3.0f, 3.0f, -4.0f, 4.0f, -7.0f, 7.0f);
    crew.SetMembersPosRotOffset(VECTOR3{0, 0, 3}, VECTOR3{0, 0, 0});
    crew.SetMaxSeats(kSpacedockSeats);
    for (const FoundingMember& member : kFoundingCrew) {
        crew.AddCrewMember(member.name, member.age, member.pulse, member.weight, member.miscId);
    }
    std::snprintf(GetHudMessageBuffer(), kHudMessageSize, "%s", kGreeting);
}
