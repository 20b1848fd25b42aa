// Small pieces every picture operation is built from: the truncation rule for sizes and
// weights computed in floating point, the size check before a new picture is allocated,
// the 24-bit view of a source and progress reporting.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "base/ranges.h"
#include "core/dib.h"

// Progress of a long operation: `label done%`, as ShowPercentInTitle shows it. May be null.
using OpProgress = void (*)(long long total, long long done, const std::string& label);

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

// A side of a new picture must lie in 1..65535: pictures are 16-bit in both directions.
inline bool PictureSideFits(long long side) { return kPictureSideRange.Contains(side); }

// The source in the working format: `image` itself when it has 24 bits, else its 24-bit
// conversion made in `holder`. The picture itself is left as it is, so a failed operation
// never loses it. Throws kDibAllocFailure when the conversion cannot be held.
const CDib& Source24(const CDib& image, CDib& holder);

// Reports progress at most once per second of the millisecond clock: the start counts as
// the first report, and a report is made whenever the whole-second value changes.
class SecondsProgress {
public:
    SecondsProgress(OpProgress progress, std::string label);
    void Step(long long total, long long done);

private:
    static long long NowSeconds();
    OpProgress progress_;
    std::string label_;
    long long lastSecond_;
};

// Reports 10 x (done x 10 / total) as "label N%" whenever that value rises: the tenths
// that the rotations show.
class TenthsProgress {
public:
    TenthsProgress(OpProgress progress, std::string label) : progress_(progress), label_(std::move(label)) {}
    void Step(long long total, long long done);

private:
    OpProgress progress_;
    std::string label_;
    long long shown_ = 0;
};
