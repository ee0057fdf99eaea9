// The vessel list of the interactive screen: every live vessel as seen from the focus vessel,
// with what the crew vessels publish.
#pragma once

#include <string>
#include <vector>

#include "sim/screen/PublishedCrew.h"

namespace vx {

class World;

struct VesselRow {
    std::string name;
    std::string className;
    bool focus = false;
    double distance = 0.0; // m, to the focus vessel
    double speed = 0.0;    // m/s, relative to the focus vessel
    std::string docks;     // "0>Tender" for each own port in use, space separated
    PublishedCrew crew;
};

// The rows in creation order; rows keeps its storage from one frame to the next.
void collectVesselRows(const World& world, std::vector<VesselRow>& rows);

// The header line and a line for each row, of at most width characters. Each column is as
// wide as its widest entry; where they do not all fit, the widest of the name, class and docks
// columns gives way first, down to its header's width. Numbers are never cut.
std::vector<std::string> vesselPanelLines(const std::vector<VesselRow>& rows, int width);

// A distance or a speed in at most seven characters: "12.3 m", "4.1 km", "7.6 Mm".
std::string shortMeasure(double value, const char* unit);

} // namespace vx
