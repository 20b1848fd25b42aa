// Saving as WebP, apart from the dialog: what "Enter WebP Information" opens with and
// what its OK stores (the writer's quality and its choice of lossless), both kept for
// the run only.
#pragma once

#include <string>

struct WebpDialogValues {
    std::string quality;    // 1012, the quality as typed
    bool lossless = false;  // 1097 "Save Lossless Image?"
};

// Opening: webpQuality (a whole number shows without decimals) and webpLossless.
WebpDialogValues OpenWebpDialog();
// OK: webpQuality from the typed quality (WebpQualityFromText), webpLossless from the box.
void ApplyWebpDialog(const WebpDialogValues& typed);
// The typed quality: a number (blanks around it allowed, decimals too) in 1..100;
// anything else, below 1, above 100 or no number at all, gives 75.
float WebpQualityFromText(const std::string& text);
