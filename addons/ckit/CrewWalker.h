// The walking-crew vessel class "CKit": a person out on foot, a person on the way into another
// vessel, or a bare vessel of the class. It carries the person's age, pulse and weight on its
// crew data point "C-Ki", where the intake of the vessel it walks into reads them.
#pragma once

#include "addons/ckit/WalkerIdentity.h"
#include "host/Vantrix.h"

namespace ckit {

inline constexpr char kHoldPointId[] = "CK-Hold"; // the class's own point for parents
inline constexpr double kStepLength = 0.5;        // metres per walking key press

class CrewWalker final : public VESSEL2 {
public:
    CrewWalker(OBJHANDLE vessel, int flightModel);

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkPostCreation() override;
    void clbkLoadStateEx(FILEHANDLE scn, void* status) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) override;
    int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) override;

private:
    // The crew data point when it is the last point for parents, as the intake requires.
    ATTACHMENTHANDLE crewDataPoint() const;
    // Moves the vessel by a distance along its own axes.
    void walk(const VECTOR3& local) const;
    // Reads "age pulse weight" (three whole numbers, nothing else); false leaves them unchanged.
    static bool parseCrewValues(const char* text, int& age, int& pulse, int& weight);

    WalkerKind kind_;         // what the name made of the vessel, fixed at creation
    WalkerIdentity identity_; // the person carried; neutral until told otherwise
    bool loadedFromBlock_;    // a scenario block was read: the walker is already placed
};

} // namespace ckit
