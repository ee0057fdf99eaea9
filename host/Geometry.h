// The host's vector and matrix types: plain doubles, no behaviour of their own.
#pragma once

struct VECTOR3 {
    double x; // first component; metres, m/s or radians by context
    double y; // second component
    double z; // third component
};

// A 3x3 matrix, row by row: m12 is row 1, column 2. A rotation matrix of a vessel turns
// vessel-frame vectors into the global frame (global = R * local).
struct MATRIX3 {
    double m11, m12, m13; // row 1
    double m21, m22, m23; // row 2
    double m31, m32, m33; // row 3
};
