#include "view/webp_dialog.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "base/ranges.h"
#include "base/text.h"
#include "core/save.h"

namespace {

constexpr float kFallbackQuality = 75;


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
    return static_cast<float>(RealFromField(text, kWebpQualityRange, kFallbackQuality));
}
