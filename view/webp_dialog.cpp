#include "view/webp_dialog.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "base/text.h"
#include "core/save.h"

namespace {

constexpr float kFallbackQuality = 75;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

WebpDialogValues OpenWebpDialog() {
    WebpDialogValues values;
    values.quality = FormatText("%g", static_cast<double>(webpQuality));
    values.lossless = webpLossless;
    return values;
}

void ApplyWebpDialog(const WebpDialogValues& typed) {
    webpQuality = WebpQualityFromText(typed.quality);
    webpLossless = typed.lossless;
}

float WebpQualityFromText(const std::string& text) {
    const char* first = text.c_str();
    while (IsBlank(*first)) ++first;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(first, &end);
    if (end == first || errno == ERANGE || !std::isfinite(value)) return kFallbackQuality;
    while (IsBlank(*end)) ++end;
    if (*end != '\0' || value < 1 || value > 100) return kFallbackQuality;
    return static_cast<float>(value);
}
