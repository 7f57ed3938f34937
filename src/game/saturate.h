// Whole-number conversions that stay defined for any value a level file or
// an endless run can produce: a double outside the int range, or an int sum
// past INT_MAX, would otherwise be undefined behaviour.
#pragma once

#include <climits>

// The truncated value of v, held to the int range; NaN gives 0.
inline int saturate_int(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

// value + delta, held to the int range (money that can only grow so far).
inline int add_saturating(int value, long long delta) {
    long long sum = static_cast<long long>(value) + delta;
    if (sum > INT_MAX) return INT_MAX;
    if (sum < INT_MIN) return INT_MIN;
    return static_cast<int>(sum);
}
