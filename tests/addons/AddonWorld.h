// A world of the build's modules in a root folder of the test's own, keeping the lines the host
// reports; its vessels of the class "Box" publish an airlock box as the colony does.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/Vantrix.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

inline const char* boxPointId = "CKit"; // the id of the point the box is published on

struct Box final : VESSEL2 {
    using VESSEL2::VESSEL2;
    void clbkSetClassCaps(FILEHANDLE) override {
        CreateAttachment(false, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "DockRing");
        // x -2..2, y -1..1, z 0..4
        CreateAttachment(false, {-2, 2, -1}, {1, 0, 4}, {1, 0, 0}, boxPointId);
    }
};

class AddonTest : public ::testing::Test {
protected:
    AddonTest() { restart(); }

    void restart() {
        world.reset(); // the host's functions work on one world at a time
        world = std::make_unique<vx::World>();
        world->setWarningSink([this](std::string_view message) { warnings.emplace_back(message); });
        world->classes().add(
            "Box", [](OBJHANDLE v, int model) -> VESSEL* { return new Box(v, model); },
            [](VESSEL* v) { delete static_cast<Box*>(v); });
    }
    void load(const std::string& text) {
        restart();
        vx::ScenarioDoc doc;
        std::string error;
        ASSERT_TRUE(vx::parseScenarioText(text, "test.scn", doc, error)) << error;
        ASSERT_TRUE(world->load(doc, error)) << error;
    }
    VESSEL* create(const char* name, const char* className, const VECTOR3& pos = {7e6, 0, 0},
                   const MATRIX3& rot = {1, 0, 0, 0, 1, 0, 0, 0, 1}) {
        VESSELSTATUS status{};
        status.rpos = pos;
        status.rrot = rot;
        return vapiGetVesselInterface(world->createVessel(name, className, status));
    }

    vxtest::TestRoot root;
    std::vector<std::string> warnings;
    std::unique_ptr<vx::World> world;
};
