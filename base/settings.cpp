#include "base/settings.h"

#define LUM_KEY(kind, reset, type, name, value, comment) type name;
#define LUM_VALUE(reset, type, name, value) type name;
#include "base/settings_keys.def"
#undef LUM_KEY
#undef LUM_VALUE

namespace {

// The default expressions of settings_keys.def.
constexpr RgbColour Rgb(uint8_t red, uint8_t green, uint8_t blue) { return {red, green, blue}; }

struct TwoNumbers {
    long long first, second;
};
constexpr TwoNumbers Pair(long long first, long long second) { return {first, second}; }

template <typename T, typename V>
void SetDefault(T& setting, const V& value) {
    setting = static_cast<T>(value);
}

template <typename T>
void SetDefault(T (&setting)[2], const TwoNumbers& value) {
    setting[0] = static_cast<T>(value.first);
    setting[1] = static_cast<T>(value.second);
}

constexpr SettingsReset kStart = RESET_ALL;
constexpr SettingsReset kLoad = RESET_LOAD;
constexpr SettingsReset kRead = RESET_READ;

}  // namespace

void ResetSettingsToDefaults(SettingsReset which) {
#define LUM_VALUE(reset, type, name, value) \
    if (which == RESET_ALL || which == k##reset) SetDefault(name, value);
#define LUM_KEY(kind, reset, type, name, value, comment) LUM_VALUE(reset, type, name, value)
#include "base/settings_keys.def"
#undef LUM_KEY
#undef LUM_VALUE
}

namespace {
// Defaults hold from program start, before any configuration is read.
struct DefaultsAtStart {
    DefaultsAtStart() { ResetSettingsToDefaults(); }
} defaultsAtStart;
}  // namespace
