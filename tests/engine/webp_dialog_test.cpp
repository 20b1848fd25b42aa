// "Enter WebP Information": what it opens with, what its OK stores, and the quality rule.
#include <gtest/gtest.h>

#include "core/save.h"
#include "view/webp_dialog.h"

namespace {

TEST(WebpDialog, QualityOutsideOneToHundredOrNoNumberIsSeventyFive) {
    const struct {
        const char* text;
        float quality;
    } cases[] = {
        {"90", 90}, {" 1 ", 1},  {"100", 100}, {"37.5", 37.5f}, {"0", 75},   {"0.5", 75},
        {"101", 75}, {"-5", 75}, {"", 75},     {"abc", 75},     {"50x", 75}, {"1e400", 75},
    };
    for (const auto& c : cases) EXPECT_EQ(WebpQualityFromText(c.text), c.quality) << '"' << c.text << '"';
}

TEST(WebpDialog, OpensWithTheRunsChoicesAndOkStoresThem) {
    webpQuality = 75;
    webpLossless = false;
    WebpDialogValues shown = OpenWebpDialog();
    EXPECT_EQ(shown.quality, "75");
    EXPECT_FALSE(shown.lossless);

    ApplyWebpDialog({"37.5", true});
    EXPECT_EQ(webpQuality, 37.5f);
    EXPECT_TRUE(webpLossless);
    shown = OpenWebpDialog();
    EXPECT_EQ(shown.quality, "37.5");
    EXPECT_TRUE(shown.lossless);

    ApplyWebpDialog({"0", false});  // quality 0 typed: the writer takes 75
    EXPECT_EQ(webpQuality, 75);
    EXPECT_FALSE(webpLossless);
}

}  // namespace
