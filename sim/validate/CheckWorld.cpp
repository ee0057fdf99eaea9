#include <algorithm>
#include <sstream>

#include "sim/text/ScenarioText.h"
#include "sim/validate/Checks.h"
#include "sim/world/Math3.h"

namespace vx::validate {

std::function<void(VESSEL2& self)> helperStep;

namespace {

class Helper final : public VESSEL2 {
public:
    using VESSEL2::VESSEL2;
    void clbkPreStep(double, double, double) override {
        if (helperStep) {
            helperStep(*this);
        }
    }
};

} // namespace

CheckWorld::CheckWorld(const CheckRun& run)
    : world(WorldOptions{run.seed}), className(run.className), strictness(run.strictness),
      random(run.seed) {
    world.body().gm = 0.0; // vessels at rest stay where they are, whatever the step length
    world.setWarningSink([](std::string_view) {});
    world.classes().add(
        kHelperClass,
        [](OBJHANDLE vessel, int model) -> VESSEL* { return new Helper(vessel, model); },
        [](VESSEL* vessel) { delete static_cast<Helper*>(vessel); });
}

VesselRecord* CheckWorld::make(const std::string& name, const std::string& ofClass) {
    placed_ += 1000.0;
    const VESSELSTATUS status{{7e6 + placed_, 0, 0}, {}, {}, identityMatrix(), 0, 0, 0, nullptr,
                              VESSELSTATUS_FLIGHT};
    std::string reason;
    VesselRecord* vessel = world.createVessel(name, ofClass, status, &reason);
    require(vessel != nullptr, "creating vessel '" + name + "' failed: " + reason);
    return vessel;
}

void CheckWorld::step(double dt, int count) {
    for (int i = 0; i < count; ++i) {
        require(world.step(dt), "the host stopped the run: " + world.stepError());
        ++steps;
    }
}

void CheckWorld::load(const std::string& scenario) {
    // Without a world block of its own, the scenario keeps this world's gravity off.
    const std::string text = scenario.starts_with("BEGIN_WORLD")
                                 ? scenario
                                 : "BEGIN_WORLD\n  BODY Earth 6371000 0\nEND_WORLD\n" + scenario;
    ScenarioDoc doc;
    std::string error;
    require(parseScenarioText(text, "validate.scn", doc, error) && world.load(doc, error),
            "loading a scenario failed: " + error);
}

std::string CheckWorld::block(const std::string& name) {
    const std::string text = world.scenarioText();
    const std::string begin = "BEGIN_VESSEL " + className + " " + name + "\n";
    const std::size_t from = text.find(begin);
    require(from != std::string::npos, "vessel '" + name + "' is missing from the saved scenario");
    const std::size_t to = text.find("END_VESSEL\n", from);
    return text.substr(from, to == std::string::npos ? to : to + 11 - from);
}

std::string CheckWorld::blockText(const std::string& name, const std::vector<std::string>& lines) {
    placed_ += 1000.0;
    std::string text = "BEGIN_VESSEL " + className + " " + name + "\n  POS " +
                       std::to_string(7e6 + placed_) + " 0 0\n";
    for (const std::string& line : lines) {
        text += "  " + line + "\n";
    }
    return text + "END_VESSEL\n";
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string firstDifference(const std::string& first, const std::string& again) {
    const std::vector<std::string> a = linesOf(first);
    const std::vector<std::string> b = linesOf(again);
    std::string vessel = "the world block";
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string left = i < a.size() ? a[i] : "(nothing)";
        const std::string right = i < b.size() ? b[i] : "(nothing)";
        if (left.starts_with("BEGIN_VESSEL ")) {
            vessel = "vessel block '" + left.substr(13) + "'";
        }
        if (left != right) {
            return "in " + vessel + ", '" + left + "' became '" + right + "'";
        }
    }
    return {};
}

std::vector<VesselRecord*> vesselsOf(const World& world, const std::string& className) {
    std::vector<VesselRecord*> found;
    for (VesselRecord* vessel : world.vessels()) {
        if (vessel->className == className) {
            found.push_back(vessel);
        }
    }
    return found;
}

} // namespace vx::validate
