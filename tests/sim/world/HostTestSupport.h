// The common ground of the host's tests: each test runs in a fresh temporary root folder that
// sees the build's modules, with its own world whose events it records.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/world/World.h"
#include "tests/sim/world/TestVessel.h"

namespace vx::test {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The world, made on first use with options.
    World& world();
    // Ends the world (destroying its vessels) before the test goes on.
    void endWorld() { world_.reset(); }

    // A vessel of the class "Test" (TestVessel) at a given place.
    VesselRecord* addTestVessel(const std::string& name, const VECTOR3& pos = {7e6, 0, 0},
                                const VECTOR3& vel = {0, 0, 0});
    // Loads scenario text; fails the test with the message when it does not load.
    void loadText(const std::string& text);
    // Loads scenario text expected to fail; returns the message.
    std::string loadFailure(const std::string& text);

    // Events so far, "kind: text".
    std::vector<std::string> events;
    std::vector<std::string> warnings;
    WorldOptions options;
    std::filesystem::path root;

private:
    std::unique_ptr<World> world_;
    std::filesystem::path started_;
};

// Every event of a kind, as its text.
std::vector<std::string> eventsOf(const std::vector<std::string>& events, const std::string& kind);

} // namespace vx::test
