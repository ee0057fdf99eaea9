// The host's own lines inside a vessel block: POS, VEL, ORI, AVEL, STATUS and DOCK.
#pragma once

#include <string>
#include <string_view>

#include "host/Geometry.h"

namespace vx {

enum class HostLineKind { Pos, Vel, Ori, Avel, Status, Dock };

struct HostLine {
    HostLineKind kind = HostLineKind::Pos;
    VECTOR3 value{};       // POS m, VEL m/s, ORI degrees (a, b, c), AVEL degrees/s
    int status = 0;        // STATUS: 0 FLIGHT, 1 LANDED
    int ownPort = 0;       // DOCK: own port index, >= 0
    int otherPort = 0;     // DOCK: the other vessel's port index, >= 0
    std::string otherName; // DOCK: the rest of the line, may hold spaces
};

enum class HostLineResult {
    NotHost, // the first word is none of the host's keys: the line is nobody's
    Parsed,  // one of the host's lines, read into the HostLine
    Bad      // one of the host's keys with a missing, extra or malformed value
};

// Reads one line (indentation already stripped). Keys are matched exactly (upper case) as
// the first blank-separated word. For Bad, reason says what is wrong ("POS: 'two' is not a
// number").
HostLineResult parseHostLine(std::string_view line, HostLine& out, std::string& reason);

// The value part of a host line as the host writes it: "x y z" for the vectors, "FLIGHT" or
// "LANDED", "OWN OTHER NAME" for a dock.
std::string formatHostValue(const HostLine& line);
// The key of a host line: "POS", "VEL", ...
const char* hostLineKey(HostLineKind kind);

} // namespace vx
