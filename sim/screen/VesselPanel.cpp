#include "sim/screen/VesselPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/world/Math3.h"
#include "sim/world/VesselRecord.h"
#include "sim/world/World.h"

namespace vx {

namespace {

constexpr int kMark = 2; // "> " on the focus vessel's row
constexpr int kClass = 7;
constexpr int kDistance = 8;
constexpr int kSpeed = 9;
constexpr int kDocks = 8;
constexpr int kCrew = 7;
constexpr int kFixed = kMark + kClass + kDistance + kSpeed + kDocks + kCrew + 5; // 5 gaps

std::string fitted(std::string text, int width) {
    text.resize(static_cast<std::size_t>(width), ' ');
    return text;
}

std::string crewColumn(const PublishedCrew& crew) {
    if (!crew.published) {
        return "-";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%s %d", crew.open ? "open" : "shut", crew.freeSeats);
    return text;
}

std::string row(int width, const std::string& mark, const std::string& name,
                const std::string& className, const std::string& distance, const std::string& speed,
                const std::string& docks, const std::string& crew) {
    const int nameWidth = std::max(4, width - kFixed);
    char line[512];
    std::snprintf(line, sizeof line, "%s%-*.*s %-*.*s %*.*s %*.*s %-*.*s %-*.*s", mark.c_str(),
                  nameWidth, nameWidth, name.c_str(), kClass, kClass, className.c_str(), kDistance,
                  kDistance, distance.c_str(), kSpeed, kSpeed, speed.c_str(), kDocks, kDocks,
                  docks.c_str(), kCrew, kCrew, crew.c_str());
    return fitted(line, width);
}

} // namespace

std::string shortMeasure(double value, const char* unit) {
    char text[32];
    const double size = std::fabs(value);
    if (size < 1000.0) {
        std::snprintf(text, sizeof text, "%.1f %s", value, unit);
    } else if (size < 1e6) {
        std::snprintf(text, sizeof text, "%.1f k%s", value / 1e3, unit);
    } else {
        std::snprintf(text, sizeof text, "%.1f M%s", value / 1e6, unit);
    }
    return text;
}

void collectVesselRows(const World& world, std::vector<VesselRow>& rows) {
    rows.clear();
    const VesselRecord* focus = world.focus();
    for (const VesselRecord* vessel : world.vessels()) {
        VesselRow& out = rows.emplace_back();
        out.name = vessel->name;
        out.className = vessel->className;
        out.focus = vessel == focus;
        if (focus != nullptr) {
            out.distance = length(sub(vessel->pos(), focus->pos()));
            out.speed = length(sub(vessel->vel(), focus->vel()));
        }
        for (const auto& port : vessel->docks) {
            if (port->mate == nullptr) {
                continue;
            }
            if (!out.docks.empty()) {
                out.docks += ' ';
            }
            out.docks += std::to_string(port->index) + '>' + port->mate->owner->name;
        }
        if (vessel->iface != nullptr) {
            out.crew = readPublishedCrew(*vessel->iface);
        }
    }
}

std::string vesselPanelHeader(int width) {
    return row(width, "  ", "VESSEL", "CLASS", "DIST", "REL VEL", "DOCKS", "AIRLOCK");
}

std::string formatVesselRow(const VesselRow& vessel, int width) {
    return row(width, vessel.focus ? "> " : "  ", vessel.name, vessel.className,
               vessel.focus ? "-" : shortMeasure(vessel.distance, "m"),
               vessel.focus ? "-" : shortMeasure(vessel.speed, "m/s"),
               vessel.docks.empty() ? "-" : vessel.docks, crewColumn(vessel.crew));
}

} // namespace vx
