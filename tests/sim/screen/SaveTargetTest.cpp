#include "sim/screen/SaveTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SaveCase {
    const char* label;
    const char* scenario;
    const char* target;
};

class SaveTarget : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveTarget, IsBesideTheLoadedScenarioAndNeverIt) {
    const SaveCase& c = GetParam();
    const std::filesystem::path target = vx::saveTargetFor("/home/pilot", c.scenario);
    EXPECT_EQ(target, std::filesystem::path(c.target));
    EXPECT_NE(target, std::filesystem::path("/home/pilot") / c.scenario);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, SaveTarget,
    ::testing::Values(
        SaveCase{"BuiltinDemo", "", "/home/pilot/demo-saved.scn"},
        SaveCase{"InTheStartFolder", "demo.scn", "/home/pilot/demo-saved.scn"},
        SaveCase{"InASubfolder", "scenarios/orbit.scn", "/home/pilot/scenarios/orbit-saved.scn"},
        SaveCase{"AtAnAbsolutePath", "/srv/fleet/drop.scn", "/srv/fleet/drop-saved.scn"},
        SaveCase{"WithoutExtension", "plain", "/home/pilot/plain-saved.scn"},
        SaveCase{"WithSpacesAndOwnExtension", "my colony.txt", "/home/pilot/my colony-saved.txt"}),
    [](const ::testing::TestParamInfo<SaveCase>& param) { return std::string(param.param.label); });

} // namespace
