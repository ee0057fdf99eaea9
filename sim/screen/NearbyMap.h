// The top-down map of the interactive screen: the vessels near the focus vessel and the
// airlock boxes the crew vessels publish, in the focus vessel's own frame (x to the right,
// z up the screen, as the walking crew's arrow keys move them), so that a person can be
// walked into an airlock by eye.
#pragma once

#include <string>
#include <vector>

namespace vx {

class World;

struct NearbyMap {
    std::vector<std::string> lines; // height lines of width characters
    std::string caption;            // scale, and where the nearest airlock is
    double metresPerColumn = 1.0;   // a line is twice as many metres: cells are twice as tall
};

// Draws the map of width by height cells (each at least 3). Vessels are marked by the first
// letter of their class, the focus vessel by '@'; an open airlock's box is '.', a closed one
// ':', edged with '#'. The scale is the smallest of 0.25, 0.5, 1, 2, 5, 10 ... m per column
// that shows the whole of the nearest airlock box, or 10 m per column when none is near.
void drawNearbyMap(const World& world, int width, int height, NearbyMap& map);

} // namespace vx
