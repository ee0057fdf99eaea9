// What the host meets first when it loads the colony module: the entry routine and the three
// exports.
#include <gtest/gtest.h>

#include "platform/WinApi.h"
#include "sim/world/HostStats.h"
#include "tests/vessel/ColonyWorld.h"

namespace {

TEST(ModuleEntry, LoadingCallsInitLibOnceWithTheModulesOwnHandle) {
    const vx::HostStats before = vx::hostStats();
    vx::World world(colonyWorldOptions());
    ASSERT_NE(createColony(world, "Halcyra"), nullptr);
    ASSERT_NE(createColony(world, "Halcyra 2"), nullptr);

    HalcyraModule module; // the copy the host loaded
    ASSERT_NE(module.handle(), nullptr);
    EXPECT_EQ(vx::hostStats().initLibCalls, before.initLibCalls + 1);
    EXPECT_EQ(vx::hostStats().lastInitLibModule, module.handle());
}

TEST(ModuleEntry, ExportsTheHostsEntryPointsAndNoExitRoutine) {
    HalcyraModule module;
    ASSERT_NE(module.handle(), nullptr);
    EXPECT_NE(module.init(), nullptr);
    EXPECT_NE(module.exit(), nullptr);
    EXPECT_NE(module.version(), nullptr);
    // Neither name the entry routine asks for at load, so unloading calls nothing.
    EXPECT_EQ(GetProcAddress(static_cast<HMODULE>(module.handle()), "ExitModule"), nullptr);
    EXPECT_EQ(GetProcAddress(static_cast<HMODULE>(module.handle()), "vpcDLLExit"), nullptr);
}

TEST(ModuleEntry, ModuleVersionIsTheBuildDateAskedOfTheHostOnce) {
    HalcyraModule module;
    ASSERT_NE(module.version(), nullptr);
    const int callsBefore = vx::hostStats().date2IntCalls;
    EXPECT_EQ(module.version()(), 20060425);
    EXPECT_EQ(module.version()(), 20060425);
    EXPECT_EQ(module.version()(), 20060425);
    EXPECT_EQ(vx::hostStats().date2IntCalls, callsBefore + 1);
}

TEST(ModuleEntry, ModuleVersionIsSharedByEveryColony) {
    HalcyraModule module;
    ASSERT_NE(module.version(), nullptr);
    vx::World world(colonyWorldOptions());
    ASSERT_NE(createColony(world, "Halcyra"), nullptr);
    const int callsBefore = vx::hostStats().date2IntCalls;
    module.version()();
    ASSERT_NE(createColony(world, "Halcyra 2"), nullptr);
    EXPECT_EQ(module.version()(), 20060425);
    EXPECT_EQ(vx::hostStats().date2IntCalls, callsBefore + 1);
}

TEST(ModuleEntry, VvcExitWithNullDoesNothing) {
    HalcyraModule module;
    ASSERT_NE(module.exit(), nullptr);
    module.exit()(nullptr);
    // The module is still whole: a colony can be made and destroyed afterwards.
    vx::World world(colonyWorldOptions());
    EXPECT_NE(createColony(world, "Halcyra"), nullptr);
}

} // namespace
