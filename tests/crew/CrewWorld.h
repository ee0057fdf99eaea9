// The ground of the crew manager's tests: a fresh root folder holding only the crew library
// runtime's files, and a world with two vessel classes registered from code: "Carrier", which
// owns a crew manager as a module's vessel would, and the crew library's walking class.
#pragma once

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "crew/CrewExchange.h"
#include "crew/CrewManager.h"
#include "sim/world/World.h"
#include "tests/support/TestRoot.h"

namespace crewtest {

// How far a Carrier sets itself up: a dock 0, InitCrewManager, the airlock defined open over
// the box -3..3, -4..4, -7..7 (the crew manager is then ready, with 8 seats).
enum Setup : int { kBlank = 0, kDock = 1, kInit = 2, kAirlock = 4, kReady = kInit | kAirlock };
inline int nextSetup = kReady;
inline bool walkersRefused = false; // the walking class then creates no vessel
inline bool nextOwnPoint = true;    // a new walker has a point for parents of its own

inline constexpr double kMass = 1000.0; // every Carrier's empty mass without crew
inline constexpr char kEvaFile[] = "config/CKittmp.cfg";
inline constexpr char kTransferFile[] = "config/CKittmpT.cfg";
using Numbers = std::array<double, 9>; // a crew point: position, direction, rotation

// Answers and members in words, so that several are compared at once.
inline std::string R(const char* text) {
    return text == nullptr ? "null " : "'" + std::string(text) + "' ";
}
inline std::string R(int32_t result) {
    return std::to_string(result) + " ";
}
inline std::string Member(const CrewRecord& r) {
    return std::string(r.name) + "|" + r.miscId + "|" + std::to_string(r.age) + "|" +
           std::to_string(r.pulse) + "|" + std::to_string(static_cast<int>(r.weight));
}

class Carrier final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkSetClassCaps(FILEHANDLE) override {
        SetEmptyMass(kMass);
        if ((nextSetup & kDock) != 0) {
            CreateDock({0, 0, 8}, {0, 0, 1}, {0, 1, 0});
        }
        initResult = (nextSetup & kInit) != 0 ? crew.InitCrewManager(GetHandle()) : 0;
        if ((nextSetup & kAirlock) != 0) {
            EXPECT_EQ(crew.DefineAirlockShape(1, -3, 3, -4, 4, -7, 7), 1);
        }
    }
    void clbkPreStep(double, double, double) override { // as the colony does every step
        crew.WarnUserIfOutdated("Halcyra Colony");
        arrivals.push_back(crew.ProcessArrivals());
    }
    CrewManager crew{};
    int32_t initResult = 0;
    std::vector<int32_t> arrivals; // what ProcessArrivals gave in each step
};

class Walker final : public VESSEL2 { // the crew library's class, as far as it is relied on
public:
    using VESSEL2::VESSEL2;
    void clbkSetClassCaps(FILEHANDLE) override {
        if (nextOwnPoint) {
            CreateAttachment(true, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, "Own", false);
        }
    }
};

template <class T> VESSEL* Make(OBJHANDLE vessel, int flightModel) {
    return std::is_same_v<T, Walker> && walkersRefused ? nullptr : new T(vessel, flightModel);
}
template <class T> void Unmake(VESSEL* vessel) {
    delete static_cast<T*>(vessel);
}

class CrewTest : public ::testing::Test {
protected:
    CrewTest() { nextSetup = kReady, walkersRefused = false, nextOwnPoint = true; }
    vx::World& world() {
        if (!world_) {
            world_ = std::make_unique<vx::World>();
            world_->classes().add("Carrier", Make<Carrier>, Unmake<Carrier>);
            for (const char* walkerClass : {"CKit", "CKitRover", "CKi"}) {
                world_->classes().add(walkerClass, Make<Walker>, Unmake<Walker>);
            }
            world_->setWarningSink([](std::string_view) {});
            world_->body().gm = 0.0; // vessels stay where a test puts them
        }
        return *world_;
    }
    // A Carrier, or a walker 1 km away whose crew data point (age, pulse, weight), given data,
    // follows its own point for parents.
    VESSEL* create(const std::string& name, const char* className = "CKit",
                   const VECTOR3* data = nullptr) {
        VESSELSTATUS status{};
        status.rpos = {7e6, 0, std::strcmp(className, "Carrier") == 0 ? 0.0 : 1000.0};
        status.rrot = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::string reason;
        EXPECT_NE(world().createVessel(name, className, status, &reason), nullptr) << reason;
        nextOwnPoint = true;
        if (data != nullptr && vessel(name) != nullptr) {
            vessel(name)->CreateAttachment(true, *data, {0, 0, 0}, {0, 0, 0}, "C-Ki", false);
        }
        return vessel(name);
    }
    Carrier* add(const std::string& name, int setup = kReady) {
        nextSetup = setup;
        return static_cast<Carrier*>(create(name, "Carrier"));
    }
    void dock(Carrier* a, Carrier* b) {
        std::string why;
        EXPECT_TRUE(world().dock(world().findVessel(a->GetName()), 0,
                                 world().findVessel(b->GetName()), 0, why))
            << why;
    }
    bool exists(const std::string& name) { return world().findVessel(name) != nullptr; }
    static VESSEL* vessel(const std::string& name) {
        return vapiGetVesselInterface(vapiGetObjectByName(name.c_str()));
    }
    static Numbers point(const VESSEL& vessel) { // the first crew point's, zero without one
        for (unsigned int i = 0; i < vessel.AttachmentCount(false); ++i) {
            ATTACHMENTHANDLE handle = vessel.GetAttachmentHandle(false, i);
            if (std::strcmp(vessel.GetAttachmentId(handle), "CKit") == 0) {
                VECTOR3 p{}, d{}, r{};
                vessel.GetAttachmentParams(handle, p, d, r);
                return {p.x, p.y, p.z, d.x, d.y, d.z, r.x, r.y, r.z};
            }
        }
        return {};
    }
    // Everything a refusal must leave alone: the crew manager's bytes, the point, the mass.
    static std::string snapshot(const Carrier& carrier) {
        const Numbers numbers = point(carrier);
        const double mass = carrier.GetEmptyMass();
        return std::string(reinterpret_cast<const char*>(&carrier.crew), sizeof carrier.crew) +
               std::string(reinterpret_cast<const char*>(&numbers), sizeof numbers) +
               std::string(reinterpret_cast<const char*>(&mass), sizeof mass);
    }
    // An exchange file's record as "name|mesh|age|pulse|supply|weight|reserved|link".
    std::string record(const char* file) const {
        const std::string bytes = root.read(file);
        CrewExchangeRecord r{};
        if (bytes.size() != sizeof r) {
            return std::to_string(bytes.size()) + " bytes";
        }
        std::memcpy(&r, bytes.data(), sizeof r);
        std::string out = std::string(r.vesselName, strnlen(r.vesselName, 40)) + "|" +
                          std::string(r.mesh, strnlen(r.mesh, 40));
        for (const int32_t n : {r.age, r.pulse, r.supply, r.weight, r.reserved, r.linkValue}) {
            out += "|" + std::to_string(n);
        }
        return out;
    }

    vxtest::TestRoot root{vxtest::TestRoot::Modules::PresenceOnly};
    std::unique_ptr<vx::World> world_;
};

} // namespace crewtest
