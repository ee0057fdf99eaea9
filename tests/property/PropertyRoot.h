// What every sequence of the property tests starts from: a fresh root folder laid out as the
// host's (so that the crew library's exchange files of one sequence never reach the next) and
// the demo scenario.
#pragma once

#include <filesystem>
#include <string>

#include "sim/text/ScenarioText.h"

namespace colonycheck {

// Changes into a new temporary folder with modules/ linked to the build's module folder,
// config/CKITIdConfig/ and the crew library's version file; goes back and removes it at the
// end.
class PropertyRoot {
public:
    PropertyRoot();
    ~PropertyRoot();
    PropertyRoot(const PropertyRoot&) = delete;
    PropertyRoot& operator=(const PropertyRoot&) = delete;

    bool ready() const { return ready_; }

private:
    std::filesystem::path started_;
    std::filesystem::path root_;
    bool ready_ = false;
};

// The demo scenario, parsed; false with error when it cannot be read.
bool LoadDemo(vx::ScenarioDoc& doc, std::string& error);

} // namespace colonycheck
