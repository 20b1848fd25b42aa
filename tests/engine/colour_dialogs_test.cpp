// The colour dialogs' bars and fields: scroll requests within their ranges, typed values,
// and the settings the gamma dialogs reset.
#include <gtest/gtest.h>

#include "view/colour_dialogs.h"

namespace {

TEST(ColourDialogs, BarsAndFieldsStayInTheirRanges) {
    const struct {
        int position, request, thumb, want;
    } cases[] = {
        {0, SCROLL_LINE_UP, 0, -1},     {0, SCROLL_LINE_DOWN, 0, 1},   {0, SCROLL_PAGE_UP, 0, -16},
        {120, SCROLL_PAGE_DOWN, 0, 127}, {5, SCROLL_TOP, 0, -127},     {5, SCROLL_BOTTOM, 0, 127},
        {5, SCROLL_THUMB_TRACK, -40, -40}, {5, SCROLL_THUMB_POSITION, 900, 127}, {5, 8, 0, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourScrollPosition(c.position, c.request, c.thumb, kOffsetBarLow, kOffsetBarHigh), c.want)
            << c.position << " " << c.request;
    EXPECT_EQ(OffsetFromBar(-20), 20);  // up is larger
    EXPECT_EQ(TypedInRange("250", kFactorLow, kFactorHigh), 200);
    EXPECT_EQ(TypedInRange("-70", kHueLow, kHueHigh), -50);
    EXPECT_EQ(TypedInRange("x", kFactorLow, kFactorHigh), 0);
    const PixelColourTexts t = PixelColourDialogTexts({130, 160, 11});
    EXPECT_EQ(t.hex, "82A00B");
    EXPECT_EQ(t.blue, "11");
}

TEST(ColourDialogs, GammaResetKeepsTheChannels) {
    gammaSettings.power = 250;
    gammaSettings.function = 'u';
    gammaSettings.controls[3] = 0;
    gammaSettings.red = false;
    EXPECT_EQ(GammaDialogFunction(), 'P');  // the user curve opens as the power function
    EXPECT_EQ(GammaChannelMask(), 3u);
    ResetGammaCurve();
    EXPECT_EQ(gammaSettings.power, 100);
    EXPECT_EQ(gammaSettings.function, 'P');
    EXPECT_EQ(gammaSettings.controls[3], 48);
    EXPECT_EQ(gammaSettings.controls[16], 255);
    EXPECT_FALSE(gammaSettings.red);
    gammaSettings.red = true;
}

}  // namespace
