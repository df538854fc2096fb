// Line-range arithmetic that cannot wrap: a range given as first line and count may reach
// past the 32-bit line numbers (a count of 2147483647 means "to the end").
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tintmark {

// A 64-bit value held to the 32-bit range.
inline int32_t Saturated(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// a + b, held to the 32-bit range instead of wrapping.
inline int32_t SaturatedAdd(int32_t a, int32_t b) { return Saturated(int64_t{a} + b); }

// The last line of first .. first + count - 1, held to the 32-bit range.
inline int32_t LastLineOf(int32_t first, int32_t count) { return Saturated(int64_t{first} + count - 1); }

}  // namespace tintmark
