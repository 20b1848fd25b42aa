// Number rules shared by every layer.
#pragma once

#include <cmath>

// Truncation toward zero of a value that on paper may be a whole number: a value within
// 1e-9 of an integer counts as that integer (1000 x 0.29 is 289.99999999999994 in binary
// floating point and is meant as 290). NaN gives 0; values beyond +-2^62 are capped there.
inline long long TruncNear(double v) {
    constexpr double kCap = 4611686018427387904.0;  // 2^62
    if (!(v == v)) return 0;
    if (v >= kCap) return static_cast<long long>(kCap);
    if (v <= -kCap) return -static_cast<long long>(kCap);
    const double t = std::trunc(v);
    const double f = v - t;
    if (f > 1.0 - 1e-9) return static_cast<long long>(t) + 1;
    if (f < -(1.0 - 1e-9)) return static_cast<long long>(t) - 1;
    return static_cast<long long>(t);
}
