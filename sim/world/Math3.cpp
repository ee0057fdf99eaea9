#include "sim/world/Math3.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vx {

double length(const VECTOR3& a) {
    return std::sqrt(dot(a, a));
}

MATRIX3 identityMatrix() {
    return {1, 0, 0, 0, 1, 0, 0, 0, 1};
}

VECTOR3 mul(const MATRIX3& m, const VECTOR3& v) {
    return {m.m11 * v.x + m.m12 * v.y + m.m13 * v.z, m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
            m.m31 * v.x + m.m32 * v.y + m.m33 * v.z};
}

VECTOR3 tmul(const MATRIX3& m, const VECTOR3& v) {
    return {m.m11 * v.x + m.m21 * v.y + m.m31 * v.z, m.m12 * v.x + m.m22 * v.y + m.m32 * v.z,
            m.m13 * v.x + m.m23 * v.y + m.m33 * v.z};
}

MATRIX3 mul(const MATRIX3& a, const MATRIX3& b) {
    return {a.m11 * b.m11 + a.m12 * b.m21 + a.m13 * b.m31,
            a.m11 * b.m12 + a.m12 * b.m22 + a.m13 * b.m32,
            a.m11 * b.m13 + a.m12 * b.m23 + a.m13 * b.m33,
            a.m21 * b.m11 + a.m22 * b.m21 + a.m23 * b.m31,
            a.m21 * b.m12 + a.m22 * b.m22 + a.m23 * b.m32,
            a.m21 * b.m13 + a.m22 * b.m23 + a.m23 * b.m33,
            a.m31 * b.m11 + a.m32 * b.m21 + a.m33 * b.m31,
            a.m31 * b.m12 + a.m32 * b.m22 + a.m33 * b.m32,
            a.m31 * b.m13 + a.m32 * b.m23 + a.m33 * b.m33};
}

MATRIX3 tmul(const MATRIX3& a, const MATRIX3& b) {
    const MATRIX3 at{a.m11, a.m21, a.m31, a.m12, a.m22, a.m32, a.m13, a.m23, a.m33};
    return mul(at, b);
}

MATRIX3 axisRotation(const VECTOR3& u, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double t = 1.0 - c;
    return {t * u.x * u.x + c,       t * u.x * u.y - s * u.z, t * u.x * u.z + s * u.y,
            t * u.x * u.y + s * u.z, t * u.y * u.y + c,       t * u.y * u.z - s * u.x,
            t * u.x * u.z - s * u.y, t * u.y * u.z + s * u.x, t * u.z * u.z + c};
}

MATRIX3 orthonormalised(const MATRIX3& m) {
    VECTOR3 x{m.m11, m.m21, m.m31};
    VECTOR3 y{m.m12, m.m22, m.m32};
    x = scale(x, 1.0 / length(x));
    y = sub(y, scale(x, dot(x, y)));
    y = scale(y, 1.0 / length(y));
    const VECTOR3 z = cross(x, y);
    return {x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z};
}

double degreesToRadians(double degrees) {
    return degrees * (std::numbers::pi / 180.0);
}

double radiansToDegrees(double radians) {
    return radians * (180.0 / std::numbers::pi);
}

MATRIX3 rotationFromEulerDegrees(const VECTOR3& degrees) {
    const double a = degreesToRadians(degrees.x);
    const double b = degreesToRadians(degrees.y);
    const double c = degreesToRadians(degrees.z);
    const MATRIX3 rx{1, 0, 0, 0, std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a)};
    const MATRIX3 ry{std::cos(b), 0, std::sin(b), 0, 1, 0, -std::sin(b), 0, std::cos(b)};
    const MATRIX3 rz{std::cos(c), -std::sin(c), 0, std::sin(c), std::cos(c), 0, 0, 0, 1};
    return mul(rz, mul(ry, rx));
}

VECTOR3 eulerDegreesFromRotation(const MATRIX3& m) {
    const double sb = std::clamp(-m.m31, -1.0, 1.0);
    double a = 0.0;
    double c = 0.0;
    if (std::abs(sb) < 1.0 - 1e-12) {
        a = std::atan2(m.m32, m.m33);
        c = std::atan2(m.m21, m.m11);
    } else {
        c = std::atan2(-m.m12, m.m22);
    }
    // Adding 0 turns a negative zero into zero, which a scenario file writes as "0".
    return {radiansToDegrees(a) + 0.0, radiansToDegrees(std::asin(sb)) + 0.0,
            radiansToDegrees(c) + 0.0};
}

bool sameBits(const VECTOR3& a, const VECTOR3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameBits(const MATRIX3& a, const MATRIX3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace vx
