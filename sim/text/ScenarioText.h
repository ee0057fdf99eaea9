// The syntax of a scenario file: the world block and the vessel blocks with their lines.
// What the lines inside a vessel block mean is left to the vessel and to the host's line
// reader (HostLine.h); this layer only checks structure and the world statements.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx {

// One line of a vessel block as the vessel will be served it.
struct SourceLine {
    int number;       // 1-based line number in the file
    std::string text; // indentation and trailing blanks (and a CR) stripped
};

struct WorldBlock {
    double time = 0.0;              // TIME: simulated time at load, s
    std::string bodyName = "Earth"; // BODY name
    double bodyRadius = 6371000.0;  // BODY radius, m
    double bodyGm = 3.986004418e14; // BODY GM, m^3/s^2; 0 means no gravity
    std::string focus;              // FOCUS vessel name; empty: the first vessel
    int focusLine = 0;              // line of the FOCUS statement, for error messages
    int hudWidth = 1024;            // HUDSIZE width, pixels, > 0
    int hudHeight = 768;            // HUDSIZE height, pixels, > 0
};

struct VesselBlock {
    std::string className;         // first word after BEGIN_VESSEL
    std::string name;              // the rest of the BEGIN_VESSEL line, may hold spaces
    int line = 0;                  // line number of BEGIN_VESSEL
    std::vector<SourceLine> lines; // the block's lines between BEGIN and END, in order
};

struct ScenarioDoc {
    std::string source;               // file name used in messages
    WorldBlock world;                 // defaults when the file has no world block
    std::vector<VesselBlock> vessels; // in file order
};

// Reads a whole scenario text. Blank lines and lines whose first non-blank character is '#'
// are skipped everywhere. On failure returns false with error "SOURCE:LINE: reason" and
// leaves doc unspecified. Refused: a statement outside any block that is not BEGIN_WORLD or
// BEGIN_VESSEL; an unknown or malformed statement inside the world block; a second world
// block; BEGIN_VESSEL without class or name; a block not closed before the next BEGIN or the
// end of the file; a vessel name used twice.
bool parseScenarioText(std::string_view text, std::string_view source, ScenarioDoc& doc,
                       std::string& error);

// Appends the world block as the host saves it (BEGIN_WORLD ... END_WORLD, one statement a
// line, two blanks of indentation, numbers in their shortest form). FOCUS is written only
// when focus is not empty.
void appendWorldBlock(std::string& out, const WorldBlock& world);

} // namespace vx
