// Ranges of the parameters that dialogs, batch options and the engine all check, declared
// once so that they cannot drift apart.
#pragma once

struct IntRange {
    int low;
    int high;
    constexpr bool Contains(long long v) const { return v >= low && v <= high; }
    constexpr int Clamp(int v) const { return v < low ? low : v > high ? high : v; }
};
struct RealRange {
    double low;
    double high;
    constexpr double Clamp(double v) const { return v < low ? low : v > high ? high : v; }
};

// A picture side: pictures are 16-bit in both directions.
constexpr IntRange kPictureSideRange{1, 65535};
// The angle of "Rotate Variable Angle", in degrees, and its dialog's scroll bar.
constexpr RealRange kRotateAngleRange{-360.0, 360.0};
constexpr IntRange kRotateScrollRange{-180, 180};
// JPEG quality.
constexpr IntRange kJpegQualityRange{0, 100};
