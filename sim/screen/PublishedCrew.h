// What a vessel publishes on its crew attachment point, read the way any other vessel reads
// it: through the host's attachment queries, never from the vessel's own fields.
#pragma once

#include "host/Vessel.h"

namespace vx {

struct PublishedCrew {
    bool published = false; // the vessel has a point for children with the id "CKit"
    bool open = false;      // the airlock state is not exactly 0.0
    int freeSeats = 0;      // truncated toward zero, as every reader does
    // xmin, xmax, ymin, ymax, zmin, zmax of the airlock box, in the vessel's own frame, m.
    double box[6] = {};
};

// The first crew point among the vessel's points for children, in index order.
PublishedCrew readPublishedCrew(const VESSEL& vessel);

} // namespace vx
