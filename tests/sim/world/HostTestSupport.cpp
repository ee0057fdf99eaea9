#include "tests/sim/world/HostTestSupport.h"

#include <cstdlib>

#include "tests/support/MakeTempFolder.h"

namespace vx::test {

void HostTest::SetUp() {
    started_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "vxhost-test-XXXXXX").string();
    ASSERT_TRUE(vxtest::makeTempFolder(pattern));
    root = pattern;
#ifdef _WIN32
    // Copies, not a link: the loader maps the module files from this folder itself.
    std::filesystem::copy(VX_MODULE_DIR, root / "modules");
#else
    std::filesystem::create_directory_symlink(VX_MODULE_DIR, root / "modules");
#endif
    std::filesystem::current_path(root);
    testHooks() = TestHooks{};
    testCalls().clear();
}

void HostTest::TearDown() {
    world_.reset();
    testHooks() = TestHooks{};
    std::filesystem::current_path(started_);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

World& HostTest::world() {
    if (!world_) {
        world_ = std::make_unique<World>(options);
        world_->classes().add("Test", testVesselInit, testVesselExit);
        world_->setEventSink([this](double, std::string_view kind, std::string_view text) {
            events.push_back(std::string(kind) + ": " + std::string(text));
        });
        world_->setWarningSink(
            [this](std::string_view message) { warnings.emplace_back(message); });
    }
    return *world_;
}

VesselRecord* HostTest::addTestVessel(const std::string& name, const VECTOR3& pos,
                                      const VECTOR3& vel) {
    VESSELSTATUS status{};
    status.rpos = pos;
    status.rvel = vel;
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::string reason;
    VesselRecord* vessel = world().createVessel(name, "Test", status, &reason);
    EXPECT_NE(vessel, nullptr) << reason;
    return vessel;
}

void HostTest::loadText(const std::string& text) {
    ScenarioDoc doc;
    std::string error;
    ASSERT_TRUE(parseScenarioText(text, "test.scn", doc, error)) << error;
    ASSERT_TRUE(world().load(doc, error)) << error;
}

std::string HostTest::loadFailure(const std::string& text) {
    ScenarioDoc doc;
    std::string error;
    if (!parseScenarioText(text, "test.scn", doc, error)) {
        return error;
    }
    EXPECT_FALSE(world().load(doc, error));
    return error;
}

std::vector<std::string> eventsOf(const std::vector<std::string>& events, const std::string& kind) {
    std::vector<std::string> texts;
    const std::string prefix = kind + ": ";
    for (const std::string& event : events) {
        if (event.rfind(prefix, 0) == 0) {
            texts.push_back(event.substr(prefix.size()));
        }
    }
    return texts;
}

} // namespace vx::test
