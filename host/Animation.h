// Mesh-group transforms that a vessel attaches to its animations. The host keeps the
// pointer it is given, so a transform (and its group list) must outlive the vessel.
#pragma once

#include "host/Geometry.h"

struct MGROUP_TRANSFORM {
    enum Type { NULLTRANSFORM, ROTATE };
    Type type;               // which transform this is
    unsigned int mesh;       // mesh index the groups belong to
    const unsigned int* grp; // the mesh groups moved, ngrp entries; kept by pointer
    unsigned int ngrp;       // number of entries in grp
};

// Turns the groups about an axis through a reference point; over the animation's state range
// the turn grows from 0 to angle.
struct MGROUP_ROTATE : MGROUP_TRANSFORM {
    MGROUP_ROTATE(unsigned int meshIndex, const unsigned int* groups, unsigned int groupCount,
                  const VECTOR3& reference, const VECTOR3& rotationAxis, float turnAngle)
        : MGROUP_TRANSFORM{ROTATE, meshIndex, groups, groupCount}, ref(reference),
          axis(rotationAxis), angle(turnAngle) {}
    VECTOR3 ref;  // a point on the axis, mesh frame, m
    VECTOR3 axis; // direction of the axis, unit length
    float angle;  // full turn over the state range, radians
};
