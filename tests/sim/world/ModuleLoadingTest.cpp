// Vessel classes from module files: loaded once, looked up by name, unloaded with the world.
#include <dlfcn.h>

#include "sim/world/HostStats.h"
#include "tests/sim/world/HostTestSupport.h"

namespace vx::test {
namespace {

using ::testing::ElementsAre;

class ModuleLoadingTest : public HostTest {};

TEST_F(ModuleLoadingTest, ModuleIsLoadedOnceAndItsClassDefinesTheVessel) {
    const int initLibBefore = hostStats().initLibCalls;
    VESSELSTATUS status{};
    status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    world();
    OBJHANDLE first = vapiCreateVessel("P1", "Probe", status);
    OBJHANDLE second = vapiCreateVessel("P2", "Probe", status);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(hostStats().initLibCalls - initLibBefore, 1);
    EXPECT_NE(hostStats().lastInitLibModule, nullptr);

    const VesselRecord& probe = *world().findVessel("P2");
    EXPECT_EQ(probe.className, "Probe");
    EXPECT_EQ(probe.def.size, 12.0);
    EXPECT_EQ(probe.emptyMass, 1500.0);
    EXPECT_EQ(probe.docks.size(), 2u);
    ASSERT_EQ(probe.meshes.size(), 2u);
    EXPECT_EQ(probe.meshes[0].name, "probe");
    EXPECT_EQ(probe.meshes[0].visibilityMode, 3);
    EXPECT_TRUE(probe.meshes[1].hasOffset);
    EXPECT_EQ(probe.meshes[1].offset.y, 1.5);
    ASSERT_EQ(probe.animations.size(), 1u);
    ASSERT_EQ(probe.animations[0].components.size(), 1u);
    const auto* turn =
        static_cast<const MGROUP_ROTATE*>(probe.animations[0].components[0]->transform);
    EXPECT_EQ(turn->type, MGROUP_TRANSFORM::ROTATE);
    EXPECT_EQ(turn->ngrp, 2u);
    ASSERT_NE(probe.def.liftCoeff, nullptr);
    EXPECT_EQ(probe.def.liftCoeff(0.25), 0.5);
    EXPECT_EQ(std::string(probe.childPoints[0]->id.data()), "PRB-CHIL");
    EXPECT_THAT(eventsOf(events, "log"), ElementsAre("Probe P1 ready", "Probe P2 ready"));
}

TEST_F(ModuleLoadingTest, ModulesAreUnloadedWhenTheWorldEnds) {
    VESSELSTATUS status{};
    world();
    ASSERT_NE(vapiCreateVessel("P", "Probe", status), nullptr);
    const std::string path = "modules/Probe.dll";
    void* loaded = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(loaded, nullptr);
    dlclose(loaded);
    endWorld();
    EXPECT_EQ(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
}

TEST_F(ModuleLoadingTest, MissingModuleIsFoundOnceItsFileAppears) {
    std::filesystem::create_directory(root / "mods");
    options.moduleFolder = "mods";
    std::string reason;
    EXPECT_EQ(world().classes().find("Late", &reason), nullptr);
    EXPECT_EQ(reason, "vessel class 'Late': no module file mods/Late.dll");
    std::filesystem::copy_file(std::filesystem::path(VX_MODULE_DIR) / "Probe.dll",
                               root / "mods" / "Late.dll");
    const VesselClass* late = world().classes().find("Late", &reason);
    ASSERT_NE(late, nullptr) << reason;
    EXPECT_EQ(world().classes().find("Late"), late) << "kept once loaded";
}

TEST_F(ModuleLoadingTest, EveryVesselIsDestroyedWhenTheWorldEnds) {
    addTestVessel("A");
    addTestVessel("B");
    testCalls().clear();
    endWorld();
    EXPECT_THAT(testCalls(), ElementsAre("exit A", "exit B"));
}

} // namespace
} // namespace vx::test
