// The scenario file handle a vessel reads its block from or writes its block into, and the
// state record the host collects while a block is read.
#pragma once

#include <string>
#include <vector>

#include "host/VesselStatus.h"
#include "sim/text/ScenarioText.h"
#include "sim/world/VesselRecord.h"

namespace vx {

struct DockLine {
    int line = 0;
    unsigned int ownPort = 0;
    unsigned int otherPort = 0;
    std::string otherName;
};

// What ParseScenarioLineEx gathers for one vessel; applied once the block has been read.
struct LoadStatus {
    VESSELSTATUS status{};
    bool hasOri = false;
    VECTOR3 oriDegrees{};
    bool hasAvel = false;
    VECTOR3 avelDegrees{};
    std::vector<DockLine> docks;
    std::string error; // the first bad host line: "FILE:LINE: reason"
};

} // namespace vx

struct VxScenarioFile {
    enum class Mode { Read, Write };
    Mode mode = Mode::Read;
    vx::VesselRecord* vessel = nullptr;

    // Reading: the block's lines, served one by one into a buffer the reader may change.
    const std::vector<vx::SourceLine>* lines = nullptr;
    std::size_t next = 0;
    int currentLine = 0;
    std::vector<char> buffer;
    std::string source;
    vx::LoadStatus* load = nullptr;

    // Writing: the scenario text the block is appended to.
    std::string* out = nullptr;
};
