#include "base/ranges.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

bool IsFieldBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* p) {
    while (IsFieldBlank(*p)) ++p;
    return p;
}

}  // namespace

bool WholeFieldInteger(const std::string& text, long long* value) {
    const char* first = SkipBlanks(text.c_str());
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(first, &end, 10);
    if (end == first || errno == ERANGE || *SkipBlanks(end) != '\0') return false;
    *value = v;
    return true;
}

bool WholeFieldReal(const std::string& text, double* value) {
    const char* first = SkipBlanks(text.c_str());
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(first, &end);
    if (end == first || errno == ERANGE || !std::isfinite(v) || *SkipBlanks(end) != '\0') return false;
    *value = v;
    return true;
}

int IntFromField(const std::string& text, IntRange range, int fallback) {
    long long v = 0;
    return WholeFieldInteger(text, &v) && range.Contains(v) ? static_cast<int>(v) : fallback;
}

double RealFromField(const std::string& text, RealRange range, double fallback) {
    double v = 0;
    return WholeFieldReal(text, &v) && v >= range.low && v <= range.high ? v : fallback;
}

int LeadingIntClamped(const std::string& text, IntRange range) {
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    return v < range.low ? range.low : v > range.high ? range.high : static_cast<int>(v);
}

bool LeadingReal(const std::string& text, double* value) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(start, &end);
    if (end == start || errno != 0 || !std::isfinite(v)) return false;
    *value = v;
    return true;
}
