// Numbers that other vessels publish arrive as doubles of any value; the crew manager reads
// them as whole numbers the way a cast would, but never with undefined behaviour for a value
// out of range.
#pragma once

#include <cstdint>

// Truncates toward zero; values beyond the 32-bit range stop at its ends, NaN reads as 0.
inline int32_t TruncateToInt32(double value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}
