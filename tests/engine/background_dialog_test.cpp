// The background dialogs' model: what they open with and what their OK takes, for the
// PNG pair and the WebP pair of settings alike.
#include <gtest/gtest.h>

#include "base/settings.h"
#include "view/background_dialog.h"

namespace {

struct Pair {
    BackgroundKind kind;
    RgbColour* colour;
    int* use;
    RgbColour* other;  // the other kind's colour, which must stay as it was
};

TEST(BackgroundDialogs, OpenWithTheirSettingsAndTakeSixHexDigits) {
    const Pair pairs[] = {
        {BackgroundKind::Png, &PNGBackgroundColour, &PNGUserPackground, &WEBPBackgroundColour},
        {BackgroundKind::Webp, &WEBPBackgroundColour, &WEBPUserPackground, &PNGBackgroundColour},
    };
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
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.kind == BackgroundKind::Png ? "PNG" : "WebP");
        *p.colour = {0x0A, 0xB0, 0xFF};
        *p.use = 1;
        const BackgroundDialogValues shown = OpenBackgroundDialog(p.kind);
        EXPECT_EQ(shown.colour, "0AB0FF");
        EXPECT_TRUE(shown.use);
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            *p.colour = {1, 2, 3};
            *p.use = 1;
            *p.other = {7, 8, 9};
            EXPECT_EQ(ApplyBackgroundDialog(p.kind, {c.typed, false}), c.taken);
            const RgbColour want = c.taken ? c.colour : RgbColour{1, 2, 3};
            EXPECT_EQ(p.colour->red, want.red);
            EXPECT_EQ(p.colour->green, want.green);
            EXPECT_EQ(p.colour->blue, want.blue);
            EXPECT_EQ(*p.use, c.taken ? 0 : 1);
            EXPECT_EQ(p.other->red, 7);
        }
    }
    PNGBackgroundColour = {0, 0, 0};
    PNGUserPackground = 0;
    WEBPBackgroundColour = {0xFF, 0xFF, 0xFF};
    WEBPUserPackground = 0;
}

}  // namespace
