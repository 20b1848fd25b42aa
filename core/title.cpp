#include "core/title.h"

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "core/fileops.h"
#include "core/formats.h"
#include "platform/host.h"
#include "base/text.h"
#include "base/settings.h"

std::string titleText = "Lumora";
std::string titleSizeText;

namespace {
int loadProgressShown = 0;

}  // namespace

void ShowTitle() {
    if (EditState == EDIT_WRITING_ANIMATION) return;
    HostSetTitle(titleText);
}

bool TitleHoldsLoadReport() {
    return CurrentImage.failedLoad && (RunMode == RUN_SLIDESHOW || RunMode == RUN_QUICKVIEW);
}

void ShowZoomInTitle(int drawn, int source) {
    if (TitleHoldsLoadReport()) return;
    if (CurrentFileAnimates()) return;
    std::string text = titleText;
    if (drawn != source && source >= 1) text += FormatText(" (%2d%%)", static_cast<int>(static_cast<long long>(drawn) * 100 / source));
    if (EditState != EDIT_WRITING_ANIMATION) HostSetTitle(CutToUtf16Units(text, kMaxMessage));
}

void ResetLoadProgress() { loadProgressShown = 0; }

void ShowLoadProgress(int tenths) {
    if (tenths <= loadProgressShown) return;
    loadProgressShown = tenths;
    InputFile.ShowProgressTitle("Loading file: ", FormatText(" %d%%", tenths * 10));
}

void ShowPercentInTitle(long long total, long long done, const std::string& label) {
    long long percent = total > 0 ? done * 100 / total : 0;
    HostSetTitle(CutToUtf16Units(FormatText("%s %lld%%", label.c_str(), percent), kMaxMessage));
}

void TitleLoadedPicture(int width, int height, int depth, const std::string& listPosition) {
    InputFile.SetTitleText(listPosition, "", width, height, depth);
    if (CurrentImage.pageCount >= 2)
        titleText = CutToUtf16Units(
            titleText + FormatText(" (TIFF Page %d of %d)", CurrentImage.page + 1, CurrentImage.pageCount), kMaxMessage);
}

void RetitleWithNewSize(const std::string& listPosition) {
    const CDib& dib = CurrentImage.dib;
    TitleLoadedPicture(dib.width, dib.height, dib.bitsPerPixel, listPosition);
    if (!FormatHasFlag(CurrentImage.fileType, FORMAT_ANIMATED)) ShowTitle();
}

std::string FormatThousands(long long number) {
    if (number == 0) return std::string();
    bool negative = number < 0;
    unsigned long long n = negative ? 0ull - static_cast<unsigned long long>(number) : static_cast<unsigned long long>(number);
    std::string digits = std::to_string(n);
    std::string out;
    int count = 0;
    for (size_t i = digits.size(); i-- > 0;) {
        out.insert(out.begin(), digits[i]);
        if (++count % 3 == 0 && i > 0) out.insert(out.begin(), ',');
    }
    return negative ? "-" + out : out;
}
