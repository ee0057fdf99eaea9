// A vessel class the tests register from code: every callback records itself and runs the
// hook the test set, so a test can make a vessel do anything a module might.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/Vantrix.h"

namespace vx::test {

class TestVessel;

struct TestHooks {
    std::function<void(TestVessel&)> setClassCaps;
    std::function<void(TestVessel&)> postCreation;
    std::function<void(TestVessel&, double simt, double simdt)> preStep;
    std::function<void(TestVessel&)> postStep;
    std::function<void(TestVessel&, const HUDPAINTSPEC&, HDC)> drawHud;
    std::function<int(TestVessel&, std::uint32_t key, bool down, const char* keyState)> key;
    std::function<void(TestVessel&)> exit;
    bool record = true; // whether callbacks are written to calls
};

// The hooks of every TestVessel, and the callbacks they received ("preStep A"), in order.
TestHooks& testHooks();
std::vector<std::string>& testCalls();

class TestVessel final : public VESSEL2 {
public:
    TestVessel(OBJHANDLE vessel, int flightModel);
    ~TestVessel();

    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkPostCreation() override;
    void clbkPreStep(double simt, double simdt, double mjd) override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hdc) override;
    int clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) override;

    int flightModel() const { return flightModel_; }
    // The name at creation, still known once the host has let the vessel go.
    const std::string& createdName() const { return name_; }

private:
    std::string name_;
};

VESSEL* testVesselInit(OBJHANDLE vessel, int flightModel);
void testVesselExit(VESSEL* vessel);

} // namespace vx::test
