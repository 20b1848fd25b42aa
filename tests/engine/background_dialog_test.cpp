// The PNG background dialog's model: what it opens with and what its OK takes.
#include <gtest/gtest.h>

#include "base/settings.h"
#include "view/background_dialog.h"

namespace {

TEST(PngBackgroundDialog, OpensWithTheSettingsAndTakesSixHexDigits) {
    PNGBackgroundColour = {0x0A, 0xB0, 0xFF};
    PNGUserPackground = 1;
    const BackgroundDialogValues shown = OpenPngBackgroundDialog();
    EXPECT_EQ(shown.colour, "0AB0FF");
    EXPECT_TRUE(shown.use);

    struct Case {
        const char* typed;
        bool taken;
        RgbColour colour;
    };
    const Case cases[] = {
        {"ff8000", true, {0xFF, 0x80, 0x00}},
        {" 102030 ", true, {0x10, 0x20, 0x30}},
        {"123456   junk", true, {0x12, 0x34, 0x56}},  // past the ninth character nothing counts
        {"12345", false, {}},
        {"12345G", false, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        PNGBackgroundColour = {1, 2, 3};
        PNGUserPackground = 1;
        EXPECT_EQ(ApplyPngBackgroundDialog({c.typed, false}), c.taken);
        const RgbColour want = c.taken ? c.colour : RgbColour{1, 2, 3};
        EXPECT_EQ(PNGBackgroundColour.red, want.red);
        EXPECT_EQ(PNGBackgroundColour.green, want.green);
        EXPECT_EQ(PNGBackgroundColour.blue, want.blue);
        EXPECT_EQ(PNGUserPackground, c.taken ? 0 : 1);
    }
    PNGBackgroundColour = {0, 0, 0};
    PNGUserPackground = 0;
}

}  // namespace
