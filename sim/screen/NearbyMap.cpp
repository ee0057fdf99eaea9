#include "sim/screen/NearbyMap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "sim/screen/PublishedCrew.h"
#include "sim/world/Math3.h"
#include "sim/world/VesselRecord.h"
#include "sim/world/World.h"

namespace vx {

namespace {

// Airlocks further away than this are not looked for.
constexpr double kNearby = 1000.0;
constexpr double kFallbackScale = 10.0;

struct Airlock {
    const VesselRecord* owner;
    PublishedCrew crew;
    VECTOR3 low, high; // bounds of the box's corners in the focus frame
    VECTOR3 centre;    // in the focus frame
};

VECTOR3 inFocusFrame(const VESSEL& focus, const VESSEL& owner, const VECTOR3& local) {
    VECTOR3 global{};
    owner.Local2Rel(local, global);
    VECTOR3 seen{};
    focus.Global2Local(global, seen);
    return seen;
}

Airlock airlockOf(const VESSEL& focus, const VesselRecord& owner, const PublishedCrew& crew) {
    const auto corner = [&](int index) {
        const VECTOR3 local{crew.box[(index & 1) != 0 ? 1 : 0], crew.box[(index & 2) != 0 ? 3 : 2],
                            crew.box[(index & 4) != 0 ? 5 : 4]};
        return inFocusFrame(focus, *owner.iface, local);
    };
    const VECTOR3 first = corner(0);
    Airlock airlock{&owner, crew, first, first, {}};
    for (int index = 1; index < 8; ++index) {
        const VECTOR3 seen = corner(index);
        airlock.low = {std::min(airlock.low.x, seen.x), std::min(airlock.low.y, seen.y),
                       std::min(airlock.low.z, seen.z)};
        airlock.high = {std::max(airlock.high.x, seen.x), std::max(airlock.high.y, seen.y),
                        std::max(airlock.high.z, seen.z)};
    }
    const VECTOR3 middle{(crew.box[0] + crew.box[1]) / 2, (crew.box[2] + crew.box[3]) / 2,
                         (crew.box[4] + crew.box[5]) / 2};
    airlock.centre = inFocusFrame(focus, *owner.iface, middle);
    return airlock;
}

bool strictlyInside(const PublishedCrew& crew, const VECTOR3& local) {
    return local.x > crew.box[0] && local.x < crew.box[1] && local.y > crew.box[2] &&
           local.y < crew.box[3] && local.z > crew.box[4] && local.z < crew.box[5];
}

double fittingScale(const Airlock& airlock, int width, int height) {
    const double reachX = std::max(std::fabs(airlock.low.x), std::fabs(airlock.high.x));
    const double reachZ = std::max(std::fabs(airlock.low.z), std::fabs(airlock.high.z));
    // Half the map, less the edge cell, in columns and lines.
    const double columns = (width - 1) / 2.0 - 0.5;
    const double lines = (height - 1) / 2.0 - 0.5;
    const auto fits = [&](double scale) {
        return reachX <= columns * scale && reachZ <= lines * 2.0 * scale;
    };
    for (double scale : {0.25, 0.5}) {
        if (fits(scale)) {
            return scale;
        }
    }
    for (double decade = 1.0; decade < 1e7; decade *= 10.0) {
        for (double step : {1.0, 2.0, 5.0}) {
            if (fits(step * decade)) {
                return step * decade;
            }
        }
    }
    return kFallbackScale;
}

} // namespace

void drawNearbyMap(const World& world, int width, int height, NearbyMap& map) {
    width = std::max(width, 3);
    height = std::max(height, 3);
    map.lines.assign(static_cast<std::size_t>(height), std::string(width, ' '));
    map.caption.clear();
    const VesselRecord* focus = world.focus();
    if (focus == nullptr || focus->iface == nullptr) {
        map.caption = "no focus vessel";
        return;
    }
    const VESSEL& eye = *focus->iface;

    std::vector<Airlock> airlocks;
    const Airlock* nearest = nullptr;
    for (const VesselRecord* vessel : world.vessels()) {
        if (vessel->iface == nullptr || length(sub(vessel->pos(), focus->pos())) > kNearby) {
            continue;
        }
        const PublishedCrew crew = readPublishedCrew(*vessel->iface);
        if (crew.published) {
            airlocks.push_back(airlockOf(eye, *vessel, crew));
        }
    }
    for (const Airlock& airlock : airlocks) {
        if (nearest == nullptr || length(airlock.centre) < length(nearest->centre)) {
            nearest = &airlock;
        }
    }
    const double scale =
        nearest != nullptr ? fittingScale(*nearest, width, height) : kFallbackScale;
    map.metresPerColumn = scale;

    const int midColumn = width / 2;
    const int midLine = height / 2;
    const auto cellCentre = [&](int column, int line) {
        return VECTOR3{(column - midColumn) * scale, 0.0, (midLine - line) * 2.0 * scale};
    };
    // A cell belongs to a box when its centre, on the focus vessel's own level, lies in it.
    // Each cell is looked at once a box; the edges are read off those answers.
    std::vector<char> inside(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto at = [&](int column, int line) {
        return column >= 0 && column < width && line >= 0 && line < height &&
               inside[static_cast<std::size_t>(line) * width + column] != 0;
    };
    for (const Airlock& airlock : airlocks) {
        const PublishedCrew& crew = airlock.crew;
        for (int line = 0; line < height; ++line) {
            for (int column = 0; column < width; ++column) {
                VECTOR3 global{};
                eye.Local2Rel(cellCentre(column, line), global);
                VECTOR3 local{};
                airlock.owner->iface->Global2Local(global, local);
                inside[static_cast<std::size_t>(line) * width + column] =
                    local.x >= crew.box[0] && local.x <= crew.box[1] && local.z >= crew.box[4] &&
                    local.z <= crew.box[5];
            }
        }
        for (int line = 0; line < height; ++line) {
            for (int column = 0; column < width; ++column) {
                if (!at(column, line)) {
                    continue;
                }
                const bool edge = !at(column - 1, line) || !at(column + 1, line) ||
                                  !at(column, line - 1) || !at(column, line + 1);
                map.lines[line][column] = edge ? '#' : (crew.open ? '.' : ':');
            }
        }
    }
    for (const VesselRecord* vessel : world.vessels()) {
        if (vessel == focus) {
            continue;
        }
        VECTOR3 seen{};
        eye.Global2Local(vessel->pos(), seen);
        const long column = std::lround(seen.x / scale) + midColumn;
        const long line = midLine - std::lround(seen.z / (2.0 * scale));
        if (column >= 0 && column < width && line >= 0 && line < height) {
            map.lines[line][column] = vessel->className.empty() ? '?' : vessel->className[0];
        }
    }
    map.lines[midLine][midColumn] = '@';

    char caption[256];
    int used =
        std::snprintf(caption, sizeof caption, "1 col = %g m, 1 line = %g m", scale, 2.0 * scale);
    if (nearest != nullptr && used > 0 && used < static_cast<int>(sizeof caption)) {
        VECTOR3 local{};
        nearest->owner->iface->Global2Local(focus->pos(), local);
        if (nearest->owner != focus && strictlyInside(nearest->crew, local)) {
            std::snprintf(caption + used, sizeof caption - used, "; inside %s's airlock",
                          nearest->owner->name.c_str());
        } else {
            // Rounded first, so that a hair below zero reads 0.0 and not -0.0.
            const auto tenths = [](double value) {
                const double rounded = std::round(value * 10.0) / 10.0;
                return rounded == 0.0 ? 0.0 : rounded;
            };
            std::snprintf(caption + used, sizeof caption - used,
                          "; %s airlock (%s) at x %.1f y %.1f z %.1f m",
                          nearest->owner->name.c_str(), nearest->crew.open ? "open" : "closed",
                          tenths(nearest->centre.x), tenths(nearest->centre.y),
                          tenths(nearest->centre.z));
        }
    }
    map.caption = caption;
}

} // namespace vx
