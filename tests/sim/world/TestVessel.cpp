#include "tests/sim/world/TestVessel.h"

namespace vx::test {

TestHooks& testHooks() {
    static TestHooks hooks;
    return hooks;
}

std::vector<std::string>& testCalls() {
    static std::vector<std::string> calls;
    return calls;
}

namespace {

void note(const char* what, const TestVessel& vessel) {
    if (testHooks().record) {
        testCalls().push_back(std::string(what) + " " + vessel.createdName());
    }
}

} // namespace

TestVessel::TestVessel(OBJHANDLE vessel, int flightModel)
    : VESSEL2(vessel, flightModel), name_(GetName()) {}

TestVessel::~TestVessel() = default;

void TestVessel::clbkSetClassCaps(FILEHANDLE /*cfg*/) {
    note("setClassCaps", *this);
    if (testHooks().setClassCaps) {
        testHooks().setClassCaps(*this);
    }
}

void TestVessel::clbkPostCreation() {
    note("postCreation", *this);
    if (testHooks().postCreation) {
        testHooks().postCreation(*this);
    }
}

void TestVessel::clbkPreStep(double simt, double simdt, double /*mjd*/) {
    note("preStep", *this);
    if (testHooks().preStep) {
        testHooks().preStep(*this, simt, simdt);
    }
}

void TestVessel::clbkPostStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    note("postStep", *this);
    if (testHooks().postStep) {
        testHooks().postStep(*this);
    }
}

void TestVessel::clbkDrawHUD(int /*mode*/, const HUDPAINTSPEC* hps, HDC hdc) {
    if (testHooks().drawHud) {
        testHooks().drawHud(*this, *hps, hdc);
    }
}

int TestVessel::clbkConsumeBufferedKey(std::uint32_t key, bool down, char* keyState) {
    return testHooks().key ? testHooks().key(*this, key, down, keyState) : 0;
}

VESSEL* testVesselInit(OBJHANDLE vessel, int flightModel) {
    return new TestVessel(vessel, flightModel);
}

void testVesselExit(VESSEL* vessel) {
    auto* own = static_cast<TestVessel*>(vessel);
    note("exit", *own);
    if (testHooks().exit) {
        testHooks().exit(*own);
    }
    delete own;
}

} // namespace vx::test
