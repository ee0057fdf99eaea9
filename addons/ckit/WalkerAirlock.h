// Leaving an airlock: a person created inside the airlock box another vessel publishes walks
// out of it along its own +z, so that the intake of that vessel does not take it straight back.
#pragma once

class VESSEL;

namespace ckit {

// An airlock box in the publishing vessel's frame.
struct AirlockBox {
    double xmin, xmax; // x bounds, xmin < xmax for a usable box
    double ymin, ymax; // y bounds
    double zmin, zmax; // z bounds
};

// The box a crew attachment point carries: position (xmin, xmax, ymin), direction
// (ymax, zmin, zmax).
AirlockBox BoxFromPoint(const double pos[3], const double dir[3]);

// True when p lies strictly inside the box (a point on a face is outside).
bool InsideBox(const AirlockBox& box, const double p[3]);

// How far from p, inside the box, along the unit direction u the box's surface lies.
double DistanceToExit(const AirlockBox& box, const double p[3], const double u[3]);

// Looks through every other vessel's crew attachment points (points for children with the id
// "CKit"); when walker stands strictly inside one's box, moves it along its own +z to 1 m
// past that box's surface. Returns true when it moved.
bool StepOutOfAirlock(const VESSEL& walker);

} // namespace ckit
