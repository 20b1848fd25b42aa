// Small pieces every picture operation is built from: the truncation rule for sizes and
// weights computed in floating point (TruncNear, base/numeric.h), the size check before a
// new picture is allocated, the 24-bit view of a source and progress reporting.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "base/numeric.h"
#include "base/ranges.h"
#include "core/dib.h"

// Progress of a long operation: `label done%`, as ShowPercentInTitle shows it. May be null.
using OpProgress = void (*)(long long total, long long done, const std::string& label);

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
