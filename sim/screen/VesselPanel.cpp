#include "sim/screen/VesselPanel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sim/world/Math3.h"
#include "sim/world/VesselRecord.h"
#include "sim/world/World.h"

namespace vx {

namespace {

constexpr int kColumns = 7;
constexpr std::size_t kMark = 2; // "> " on the focus vessel's line

struct Column {
    const char* header;
    bool right;  // a number, aligned to the right
    bool shrink; // text that may be cut when the panel is narrow
};

constexpr Column kLayout[kColumns] = {
    {"VESSEL", false, true},  {"CLASS", false, true}, {"DIST", true, false},
    {"REL VEL", true, false}, {"DOCKS", false, true}, {"AIRLOCK", false, false},
    {"SEATS", true, false},
};

using Cells = std::array<std::string, kColumns>;

Cells cellsOf(const VesselRow& vessel) {
    const PublishedCrew& crew = vessel.crew;
    return {vessel.name,
            vessel.className,
            vessel.focus ? "-" : shortMeasure(vessel.distance, "m"),
            vessel.focus ? "-" : shortMeasure(vessel.speed, "m/s"),
            vessel.docks.empty() ? "-" : vessel.docks,
            !crew.published ? "-"
            : crew.open     ? "open"
                            : "shut",
            crew.published ? std::to_string(crew.freeSeats) : "-"};
}

std::string line(const char* mark, const Cells& cells, const std::size_t (&widths)[kColumns],
                 int width) {
    std::string text = mark;
    for (int c = 0; c < kColumns; ++c) {
        const std::string cell = cells[c].substr(0, widths[c]);
        const std::string pad(widths[c] - cell.size(), ' ');
        text += (c == 0 ? "" : " ") + (kLayout[c].right ? pad + cell : cell + pad);
    }
    text.resize(std::min(text.find_last_not_of(' ') + 1, static_cast<std::size_t>(width)));
    return text;
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

std::vector<std::string> vesselPanelLines(const std::vector<VesselRow>& rows, int width) {
    Cells header;
    std::size_t widths[kColumns];
    for (int c = 0; c < kColumns; ++c) {
        header[c] = kLayout[c].header;
        widths[c] = header[c].size();
    }
    std::vector<Cells> cells;
    for (const VesselRow& row : rows) {
        cells.push_back(cellsOf(row));
        for (int c = 0; c < kColumns; ++c) {
            widths[c] = std::max(widths[c], cells.back()[c].size());
        }
    }
    std::size_t total = kMark + kColumns - 1;
    for (const std::size_t columnWidth : widths) {
        total += columnWidth;
    }
    // One character at a time from the widest text column, so that none is cut much more.
    for (; total > static_cast<std::size_t>(std::max(width, 0)); --total) {
        int widest = -1;
        for (int c = 0; c < kColumns; ++c) {
            if (kLayout[c].shrink && widths[c] > std::strlen(kLayout[c].header) &&
                (widest < 0 || widths[c] > widths[widest])) {
                widest = c;
            }
        }
        if (widest < 0) {
            break;
        }
        --widths[widest];
    }
    std::vector<std::string> lines{line("  ", header, widths, width)};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        lines.push_back(line(rows[i].focus ? "> " : "  ", cells[i], widths, width));
    }
    return lines;
}

} // namespace vx
