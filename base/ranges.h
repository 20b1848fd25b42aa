// Ranges of the parameters that dialogs, batch options and the engine all check, declared
// once so that they cannot drift apart.
#pragma once

#include <string>

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
// The quality typed into the JPEG and WebP dialogs (a WebP quality may have a fraction).
constexpr IntRange kJpegDialogQualityRange{1, 100};
constexpr RealRange kWebpQualityRange{1.0, 100.0};
// The wheel zoom's step: above 1 (a step must zoom), at most 2.
constexpr RealRange kWheelRateRange{1.0, 2.0};
// A kernel value, bias or divisor of the user filter dialogs.
constexpr IntRange kFilterFieldRange{-32768, 32767};

// --- numbers typed into dialog fields ---
// Blanks and tabs may stand around a field's number.

// A field that holds one whole number and nothing else: true with *value; false for no
// number, text after it, or a number beyond 64 bits.
bool WholeFieldInteger(const std::string& text, long long* value);
// The same for a real number (finite only).
bool WholeFieldReal(const std::string& text, double* value);
// The field's number when the field holds one inside `range`, else `fallback`.
int IntFromField(const std::string& text, IntRange range, int fallback);
double RealFromField(const std::string& text, RealRange range, double fallback);
// The number the field begins with, as the C library's strtol reads it (what follows is
// ignored, no number is 0), clamped to `range`.
int LeadingIntClamped(const std::string& text, IntRange range);
// The real number the field begins with (strtod): true with *value; false for no number,
// one out of the double range, or not finite.
bool LeadingReal(const std::string& text, double* value);
