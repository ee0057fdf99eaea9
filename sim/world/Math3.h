// Vector and matrix arithmetic of the host's frames: rotations, Euler angles as scenario files
// write them, and keeping a rotation matrix orthonormal while it is integrated.
#pragma once

#include "host/Geometry.h"
#include "sim/world/HostExport.h"

namespace vx {

inline VECTOR3 add(const VECTOR3& a, const VECTOR3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline VECTOR3 sub(const VECTOR3& a, const VECTOR3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline VECTOR3 scale(const VECTOR3& a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline double dot(const VECTOR3& a, const VECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VECTOR3 cross(const VECTOR3& a, const VECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
VXHOST_API double length(const VECTOR3& a);

VXHOST_API MATRIX3 identityMatrix();
// R * v.
VXHOST_API VECTOR3 mul(const MATRIX3& m, const VECTOR3& v);
// R^T * v: the inverse turn of a rotation matrix.
VXHOST_API VECTOR3 tmul(const MATRIX3& m, const VECTOR3& v);
// A * B.
VXHOST_API MATRIX3 mul(const MATRIX3& a, const MATRIX3& b);
// A^T * B.
VXHOST_API MATRIX3 tmul(const MATRIX3& a, const MATRIX3& b);

// Rotation by angle (radians) about a unit axis, right-handed.
VXHOST_API MATRIX3 axisRotation(const VECTOR3& unitAxis, double angle);
// Gram-Schmidt on the columns (the vessel's axes in global coordinates), so that rounding
// from many small turns cannot shear or stretch the frame.
VXHOST_API MATRIX3 orthonormalised(const MATRIX3& m);

// R = Rz(c) * Ry(b) * Rx(a) for the scenario's ORI a b c, in degrees.
VXHOST_API MATRIX3 rotationFromEulerDegrees(const VECTOR3& degrees);
// The inverse of rotationFromEulerDegrees, b within [-90, 90]; at b = +-90 a is taken as 0.
VXHOST_API VECTOR3 eulerDegreesFromRotation(const MATRIX3& m);

VXHOST_API double degreesToRadians(double degrees);
VXHOST_API double radiansToDegrees(double radians);

// True when the two hold the same bits (not merely equal values), so that a stored text form
// is only dropped when the value it stands for has really changed.
VXHOST_API bool sameBits(const VECTOR3& a, const VECTOR3& b);
VXHOST_API bool sameBits(const MATRIX3& a, const MATRIX3& b);

} // namespace vx
