// Display arithmetic: sizes per mode, window placement, scroll ranges and requests, the
// mapping of a window point back to the picture, and the wheel zoom.
#include <gtest/gtest.h>

#include <climits>

#include "view/display.h"

namespace {

// A 1920 x 1080 screen whose work area leaves 40 rows for a task bar, with borders 16 x 60.
ScreenMetrics Screen1920() {
    ScreenMetrics m;
    m.work = {0, 0, 1920, 1040};
    m.monitor = {0, 0, 1920, 1080};
    m.screenWidth = 1920;
    m.screenHeight = 1080;
    m.borderWidth = 16;
    m.borderHeight = 60;
    m.frameWidth = m.frameHeight = 4;
    m.captionHeight = 23;
    m.menuHeight = 20;
    m.vScrollWidth = m.hScrollHeight = 17;
    return m;
}

bool Same(const DisplayRect& r, int x, int y, int w, int h) {
    return r.x == x && r.y == y && r.width == w && r.height == h;
}

}  // namespace

TEST(DisplaySizes, ScaledModesMultiplyOrShift) {
    struct Case {
        char mode;
        int w, h, dw, dh;
    } cases[] = {
        {'N', 100, 50, 100, 50},  {'D', 100, 50, 200, 100}, {'4', 100, 50, 400, 200},
        {'H', 101, 51, 50, 25},   {'Q', 101, 51, 25, 12},   {'Q', 3, 3, 0, 0},
        {'4', 65535, 65535, 262140, 262140},
    };
    for (const Case& c : cases) {
        DisplaySize s = ScaledDisplaySize(c.mode, c.w, c.h);
        EXPECT_EQ(s.width, c.dw) << c.mode << " " << c.w;
        EXPECT_EQ(s.height, c.dh) << c.mode << " " << c.h;
    }
}

TEST(DisplaySizes, BestFitUsesTheWorkAreaLessTheBorders) {
    const ScreenMetrics m = Screen1920();
    DisplaySize wide = BestFitSize(4000, 1000, m);
    EXPECT_EQ(wide.width, 1904);
    EXPECT_EQ(wide.height, 476);
    // Too high at full width: full height (1040 - 60), width in proportion.
    DisplaySize tall = BestFitSize(1000, 4000, m);
    EXPECT_EQ(tall.height, 980);
    EXPECT_EQ(tall.width, 245);
    // A small picture is enlarged.
    DisplaySize small = BestFitSize(100, 50, m);
    EXPECT_EQ(small.width, 1904);
    EXPECT_EQ(small.height, 952);
    // The largest pictures do not overflow the products.
    DisplaySize huge = BestFitSize(65535, 65535, m);
    EXPECT_EQ(huge.width, 980);
    EXPECT_EQ(huge.height, 980);
    DisplaySize none = BestFitSize(0, 10, m);
    EXPECT_EQ(none.width, 0);
    EXPECT_EQ(none.height, 0);
    DisplaySize stretch = FullScreenStretchSize(m);
    EXPECT_EQ(stretch.width, 1904);
    EXPECT_EQ(stretch.height, 979);
}

TEST(DisplaySizes, NoBorderKeepsSmallPicturesUnlessTheViewIsFull) {
    const ScreenMetrics m = Screen1920();
    EXPECT_TRUE(Same(NoBorderPictureRect(100, 50, m, false), 910, 515, 100, 50));
    // DefaultViewFull FULL: enlarged to the screen width, then limited by its height.
    EXPECT_TRUE(Same(NoBorderPictureRect(100, 50, m, true), 0, 60, 1920, 960));
    EXPECT_TRUE(Same(NoBorderPictureRect(100, 100, m, true), 420, 0, 1080, 1080));
    // Wider than the screen: fitted to its width.
    EXPECT_TRUE(Same(NoBorderPictureRect(3840, 200, m, false), 0, 490, 1920, 100));
    // Narrow but taller than the screen: fitted to its height.
    EXPECT_TRUE(Same(NoBorderPictureRect(200, 2160, m, false), 910, 0, 100, 1080));
}

TEST(DisplaySizes, FixedWindowDrawsSmallPicturesOneToOneAndFitsOthers) {
    EXPECT_TRUE(Same(FixedWindowPictureRect(100, 50, 400, 300), 150, 125, 100, 50));
    EXPECT_TRUE(Same(FixedWindowPictureRect(800, 200, 400, 300), 0, 100, 400, 100));
    EXPECT_TRUE(Same(FixedWindowPictureRect(300, 600, 400, 300), 125, 0, 150, 300));
    // As wide as the box: not smaller both ways, so fitted (to the same size here).
    EXPECT_TRUE(Same(FixedWindowPictureRect(400, 100, 400, 300), 0, 100, 400, 100));
}

TEST(DisplaySizes, NarrowPicturesAreCentredInTheMinimumWidth) {
    EXPECT_EQ(LeftMarginFor('N', 100, 280), 90);
    EXPECT_EQ(LeftMarginFor('H', 50, 280), 115);
    EXPECT_EQ(LeftMarginFor('I', 245, 280), 17);
    EXPECT_EQ(LeftMarginFor('N', 280, 280), 0);
    EXPECT_EQ(LeftMarginFor('N', 1000, 280), 0);
    // Modes that do not fit the window to the picture draw from the left edge.
    for (char mode : {'B', 'X', 'Z', 'O', 'W'}) EXPECT_EQ(LeftMarginFor(mode, 100, 280), 0) << mode;
}

TEST(DisplaySizes, NewPicturesStartInTheDefaultView) {
    // Work area 60 x 60, borders 10 x 20: BIG fits up to 50 x 40.
    struct Case {
        int view, w, h;
        char mode;
    } cases[] = {
        {0, 500, 500, 'N'}, {1, 5, 5, 'I'},   {2, 50, 40, 'N'}, {2, 51, 40, 'I'},
        {2, 50, 41, 'I'},   {3, 5, 5, 'H'},   {4, 5, 5, 'Q'},   {7, 5, 5, 'N'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ModeForNewPicture('D', c.view, c.w, c.h, 60, 60, 10, 20), c.mode) << c.view << " " << c.w;
    EXPECT_EQ(ModeForNewPicture('B', 1, 5, 5, 60, 60, 10, 20), 'B');
    EXPECT_EQ(ModeForNewPicture('X', 3, 5, 5, 60, 60, 10, 20), 'X');
}

TEST(PlaceWindow, FitsTheDisplayKeepsTheCentreAndStaysInTheWorkArea) {
    const ScreenMetrics m = Screen1920();
    // 100 x 50 at MinimumWidth 280: 280 + 16 wide, 50 + 60 high, around the old centre.
    DisplayRect r = PlaceWindowRect({800, 400, 400, 300}, 100, 50, 280, m);
    EXPECT_TRUE(Same(r, 852, 495, 296, 110)) << r.x << "," << r.y << " " << r.width << "x" << r.height;
    // Placing it again changes nothing: the window does not creep.
    DisplayRect again = PlaceWindowRect(r, 100, 50, 280, m);
    EXPECT_TRUE(Same(again, r.x, r.y, r.width, r.height));
    // Larger than the work area: limited to it and moved to its corner.
    EXPECT_TRUE(Same(PlaceWindowRect({800, 400, 400, 300}, 4000, 3000, 280, m), 0, 0, 1920, 1040));
    // Near the right edge: moved back to the work area's left.
    EXPECT_TRUE(Same(PlaceWindowRect({1700, 10, 100, 100}, 600, 40, 280, m), 0, 10, 616, 100));
    // Above and left of the work area: clamped to its top-left.
    EXPECT_TRUE(Same(PlaceWindowRect({-500, -500, 100, 100}, 300, 200, 280, m), 0, 0, 316, 260));
    // A work area that does not start at 0 (a second monitor, a task bar on the left).
    ScreenMetrics second = m;
    second.work = {1920, 30, 1280, 994};
    EXPECT_TRUE(Same(PlaceWindowRect({0, 0, 100, 100}, 300, 200, 280, second), 1920, 30, 316, 260));
}

TEST(ScrollBars, RangesOnResizeAndAfterModeCommands) {
    ScrollRanges scrolling = ClientScrollRanges('N', 300, 200, 1000, 800);
    EXPECT_EQ(scrolling.horizontal.max, 999);
    EXPECT_EQ(scrolling.horizontal.page, 300);
    EXPECT_EQ(scrolling.vertical.max, 799);
    EXPECT_EQ(scrolling.vertical.page, 200);
    for (char mode : {'B', 'I', 'O', 'W', 'Z'}) {
        ScrollRanges fixed = ClientScrollRanges(mode, 300, 200, 1000, 800);
        EXPECT_EQ(fixed.horizontal.max, 299) << mode;
        EXPECT_EQ(fixed.horizontal.page, 300) << mode;
        EXPECT_EQ(fixed.vertical.max, 199) << mode;
        EXPECT_EQ(fixed.vertical.page, 200) << mode;
    }

    const ScreenMetrics m = Screen1920();
    ScrollRanges big = WorkAreaScrollRanges('D', 4000, 3000, m);
    EXPECT_EQ(big.vertical.max, 3000 + 23 + 20);
    EXPECT_EQ(big.vertical.page, 1040 - 17);
    EXPECT_EQ(big.horizontal.max, 4000);
    EXPECT_EQ(big.horizontal.page, 1920 - 17);
    ScrollRanges exact = WorkAreaScrollRanges('N', 1920, 1040, m);
    EXPECT_EQ(exact.vertical.page, 1041);
    EXPECT_EQ(exact.horizontal.page, 1921);
    ScrollRanges small = WorkAreaScrollRanges('N', 100, 50, m);
    EXPECT_EQ(small.vertical.page, 1040);
    EXPECT_EQ(small.horizontal.page, 1920);
    ScrollRanges none = WorkAreaScrollRanges('I', 4000, 3000, m);
    EXPECT_EQ(none.vertical.max, 1039);
    EXPECT_EQ(none.vertical.page, 1040);
    EXPECT_EQ(none.horizontal.max, 1919);
    EXPECT_EQ(none.horizontal.page, 1920);
}

TEST(ScrollBars, RequestsMoveByLinesAndPagesWithinTheRange) {
    ScrollBarState bar;
    bar.max = 999;
    bar.page = 300;
    bar.pos = 100;
    bar.trackPos = 555;
    const int line = 999 / 16 + 1;  // 63
    EXPECT_EQ(ScrollTarget(bar, SCROLL_LINE_DOWN), 100 + line);
    EXPECT_EQ(ScrollTarget(bar, SCROLL_LINE_UP), 37);
    EXPECT_EQ(ScrollTarget(bar, SCROLL_PAGE_DOWN), 400);
    EXPECT_EQ(ScrollTarget(bar, SCROLL_PAGE_UP), 0);  // clamped at the top
    EXPECT_EQ(ScrollTarget(bar, SCROLL_TOP), 0);
    EXPECT_EQ(ScrollTarget(bar, SCROLL_BOTTOM), 700);  // max - page + 1
    EXPECT_EQ(ScrollTarget(bar, SCROLL_THUMB_TRACK), 555);
    EXPECT_EQ(ScrollTarget(bar, SCROLL_THUMB_POSITION), 555);
    EXPECT_EQ(ScrollTarget(bar, SCROLL_END), 100);
    bar.pos = 690;
    EXPECT_EQ(ScrollTarget(bar, SCROLL_PAGE_DOWN), 700);
    // A page larger than the range: nowhere to go.
    bar.page = 2000;
    EXPECT_EQ(ScrollTarget(bar, SCROLL_LINE_DOWN), 0);
}

TEST(ScreenToPicture, EachModeMapsAndClampsToThePicture) {
    PointMapping p;
    p.pictureWidth = 400;
    p.pictureHeight = 300;
    p.mode = 'D';
    DisplayPoint d = ScreenToPicture(p, 101, 51);
    EXPECT_EQ(d.x, 50);
    EXPECT_EQ(d.y, 25);
    p.scrollX = 100;
    p.scrollY = 50;
    d = ScreenToPicture(p, 101, 51);
    EXPECT_EQ(d.x, 100);
    EXPECT_EQ(d.y, 50);
    p.scrollX = p.scrollY = 0;

    p.mode = 'Q';
    d = ScreenToPicture(p, 10, 20);
    EXPECT_EQ(d.x, 40);
    EXPECT_EQ(d.y, 80);
    p.mode = '4';
    d = ScreenToPicture(p, 10, 21);
    EXPECT_EQ(d.x, 2);
    EXPECT_EQ(d.y, 5);

    // Below and right of the picture: both coordinates stay inside it.
    p.mode = 'N';
    d = ScreenToPicture(p, 1000, 2000);
    EXPECT_EQ(d.x, 399);
    EXPECT_EQ(d.y, 299);
    d = ScreenToPicture(p, -5, -5);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);

    p.mode = 'I';
    p.clientWidth = 800;
    p.clientHeight = 600;
    p.displayWidth = 800;
    p.displayHeight = 600;
    d = ScreenToPicture(p, 401, 301);
    EXPECT_EQ(d.x, 200);
    EXPECT_EQ(d.y, 150);
    // Narrower than MinimumWidth: offset by the margin, scaled by the drawn width.
    p.displayWidth = 100;
    p.leftMargin = 90;
    d = ScreenToPicture(p, 140, 0);
    EXPECT_EQ(d.x, 200);

    p.mode = 'B';
    p.displayWidth = 800;
    p.displayHeight = 600;
    p.drawnX = 100;
    p.drawnY = 50;
    p.frameWidth = 4;
    p.captionHeight = 20;
    d = ScreenToPicture(p, 96 + 400, 70 + 300);
    EXPECT_EQ(d.x, 200);
    EXPECT_EQ(d.y, 150);

    p.mode = 'X';
    p.fixedWidth = 200;
    p.fixedHeight = 150;
    d = ScreenToPicture(p, 100, 75);
    EXPECT_EQ(d.x, 200);
    EXPECT_EQ(d.y, 150);

    // Nothing to scale by: the point is taken as it is.
    p.fixedWidth = 0;
    d = ScreenToPicture(p, 100, 75);
    EXPECT_EQ(d.x, 100);

    for (char mode : {'F', 'Z', 'O', 'W'}) {
        p.mode = mode;
        d = ScreenToPicture(p, 7, 9);
        EXPECT_EQ(d.x, 7) << mode;
        EXPECT_EQ(d.y, 9) << mode;
    }
}

// The margin of a picture narrower than MinimumWidth is left of the picture, not on it;
// points beside the picture map outside it unless clamped, and rounding goes toward
// minus infinity so that nothing left of or above the picture maps onto it.
TEST(ClientToPicture, MarginsAndPointsBesideThePicture) {
    PointMapping p;
    p.pictureWidth = 100;
    p.pictureHeight = 50;
    p.mode = 'N';
    p.leftMargin = 90;
    DisplayPoint d = ClientToPicture(p, 95, 7);
    EXPECT_EQ(d.x, 5);
    EXPECT_EQ(d.y, 7);
    d = ClientToPicture(p, 89, 7);
    EXPECT_EQ(d.x, -1);
    EXPECT_FALSE(PointOnPicture(p, d));
    d = ScreenToPicture(p, 89, 7);
    EXPECT_EQ(d.x, 0);
    EXPECT_TRUE(PointOnPicture(p, ScreenToPicture(p, 400, 400)));
    EXPECT_FALSE(PointOnPicture(p, ClientToPicture(p, 190, 10)));
    EXPECT_TRUE(PointOnPicture(p, ClientToPicture(p, 189, 49)));
    EXPECT_FALSE(PointOnPicture(p, ClientToPicture(p, 189, 50)));

    p.mode = 'D';
    d = ClientToPicture(p, 89, 0);
    EXPECT_EQ(d.x, -1);  // half a pixel left of the picture is still left of it
    d = ClientToPicture(p, 90 + 7, 7);
    EXPECT_EQ(d.x, 3);
    EXPECT_EQ(d.y, 3);
    p.scrollX = 10;
    p.scrollY = 4;
    d = ClientToPicture(p, 90, 0);
    EXPECT_EQ(d.x, 5);
    EXPECT_EQ(d.y, 2);

    // The fitted modes do not shift by the scaled modes' margin.
    p.mode = 'X';
    p.scrollX = p.scrollY = 0;
    p.fixedWidth = 50;
    p.fixedHeight = 25;
    d = ClientToPicture(p, 10, 10);
    EXPECT_EQ(d.x, 20);
    EXPECT_EQ(d.y, 20);
}

TEST(PictureLengthOnClient, InverseOfEachModesScale) {
    PointMapping p;
    p.pictureWidth = 400;
    p.pictureHeight = 300;
    struct Case {
        char mode;
        int across, down;
    } cases[] = {{'N', 40, 30}, {'D', 80, 60}, {'4', 160, 120}, {'H', 20, 15}, {'Q', 10, 7}, {'Z', 40, 30}};
    for (const Case& c : cases) {
        p.mode = c.mode;
        EXPECT_EQ(PictureLengthOnClient(p, 40, true), c.across) << c.mode;
        EXPECT_EQ(PictureLengthOnClient(p, 30, false), c.down) << c.mode;
    }
    p.mode = 'I';
    p.clientWidth = 200;
    p.clientHeight = 150;
    p.displayWidth = 200;
    EXPECT_EQ(PictureLengthOnClient(p, 40, true), 20);
    EXPECT_EQ(PictureLengthOnClient(p, 30, false), 15);
    p.mode = 'X';
    p.fixedWidth = 800;
    p.fixedHeight = 600;
    EXPECT_EQ(PictureLengthOnClient(p, 40, true), 80);
    // Never less than one pixel, whatever the reduction.
    p.mode = 'Q';
    EXPECT_EQ(PictureLengthOnClient(p, 1, true), 1);
}

TEST(WheelZoom, FirstStepCapturesTheCentreLaterStepsMoveIt) {
    ScreenMetrics m = Screen1920();
    WheelZoomState z;
    WheelZoomInputs in;
    in.previousMode = 'N';
    in.pictureWidth = 1000;
    in.pictureHeight = 800;
    in.displayWidth = 1000;
    in.displayHeight = 800;
    // Client point (492, 380): x' = 492 + 8, y' = 380 + 1 - 21; y counted from the bottom.
    WheelZoomStep(z, in, m, 492, 380, true);
    EXPECT_TRUE(z.centreSet);
    EXPECT_EQ(z.centreX, 500);
    EXPECT_EQ(z.centreY, 800 - 360 + 1);
    EXPECT_DOUBLE_EQ(z.factor, 1 / 1.2);
    // dw = trunc(1000 * 1.2) = 1200: width = 1920 * 1000 / 1200; height = 1040 * 800 / 960.
    EXPECT_EQ(z.sourceWidth, 1600);
    EXPECT_EQ(z.sourceHeight, 866);
    EXPECT_EQ(z.sourceX, 500 - 800);
    EXPECT_EQ(z.sourceY, 441 - 433);

    // The same point again: the centre stays.
    WheelZoomStep(z, in, m, 492, 380, false);
    EXPECT_EQ(z.centreX, 500);
    EXPECT_DOUBLE_EQ(z.factor, 1.0);
    // Only x changed: the centre stays.
    WheelZoomStep(z, in, m, 100, 380, true);
    EXPECT_EQ(z.centreX, 500);
    // Both changed: the centre moves to the picture point under the pointer.
    const int x0 = z.sourceX, y0 = z.sourceY, w0 = z.sourceWidth, h0 = z.sourceHeight;
    WheelZoomStep(z, in, m, 960, 520, true);
    EXPECT_EQ(z.centreX, 960 * w0 / 1920 + x0);
    EXPECT_EQ(z.centreY, y0 + h0 - 520 * h0 / 1040);

    ResetWheelZoom();
    EXPECT_FALSE(wheelZoom.centreSet);
    EXPECT_DOUBLE_EQ(wheelZoom.factor, 1.0);
    EXPECT_EQ(wheelZoom.sourceWidth, 0);
}

TEST(WheelZoom, ScaledAndFittedModesMapTheFirstPoint) {
    ScreenMetrics m = Screen1920();
    WheelZoomInputs in;
    in.pictureWidth = 1000;
    in.pictureHeight = 800;
    in.displayWidth = 2000;
    in.displayHeight = 1600;
    struct Case {
        char mode;
        int cx, cy;
    } cases[] = {
        {'D', 250, 800 - 180 + 1},  // (500, 360) halved
        {'H', 1000, 800 - 720 + 1},
        {'I', 250, 800 - 180 + 1},  // scale 0.5
    };
    for (const Case& c : cases) {
        WheelZoomState z;
        in.previousMode = c.mode;
        in.scaleX = in.scaleY = 0.5;
        WheelZoomStep(z, in, m, 492, 380, true);
        EXPECT_EQ(z.centreX, c.cx) << c.mode;
        EXPECT_EQ(z.centreY, c.cy) << c.mode;
    }
}

TEST(WheelZoom, ExtremeFactorsAndWidePicturesStayDefined) {
    ScreenMetrics m = Screen1920();
    WheelZoomInputs in;
    in.pictureWidth = 60000;
    in.pictureHeight = 100;
    in.displayWidth = 60000;
    in.displayHeight = 100;
    WheelZoomState z;
    // Zooming out until the display is less than a pixel: the size stays at least 1.
    for (int i = 0; i < 200; ++i) WheelZoomStep(z, in, m, 1900, 10, false);
    EXPECT_GT(z.sourceWidth, 0);
    EXPECT_GT(z.sourceHeight, 0);
    // Zooming in without end: the source shrinks to nothing rather than overflowing.
    WheelZoomState in2;
    for (int i = 0; i < 400; ++i) WheelZoomStep(in2, in, m, 1900, 10, true);
    EXPECT_GE(in2.sourceWidth, 0);
    // A centre beyond 32767 is kept.
    WheelZoomState wide;
    in.previousMode = 'N';
    WheelZoomInputs far = in;
    far.scrollX = 40000;
    WheelZoomStep(wide, far, m, 100, 10, true);
    EXPECT_EQ(wide.centreX, 40108);
}

TEST(WheelZoom, RateDialogAcceptsAboveOneUpToTwo) {
    EXPECT_DOUBLE_EQ(ParseWheelRate("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(ParseWheelRate("2"), 2.0);
    EXPECT_DOUBLE_EQ(ParseWheelRate("2.5"), 1.2);
    EXPECT_DOUBLE_EQ(ParseWheelRate("1"), 1.2);
    EXPECT_DOUBLE_EQ(ParseWheelRate("-3"), 1.2);
    EXPECT_DOUBLE_EQ(ParseWheelRate("fast"), 1.2);
    EXPECT_DOUBLE_EQ(ParseWheelRate(""), 1.2);
    EXPECT_DOUBLE_EQ(ParseWheelRate("nan"), 1.2);
}

// Painting in a scaled or fitted mode starts the wheel zoom again; the zooms and the
// fixed window keep it.
TEST(WheelZoom, WhichPaintsStartItAgain) {
    const struct {
        char mode;
        bool resets;
    } cases[] = {{MODE_NORMAL, true},      {MODE_DOUBLE, true},         {MODE_QUARTER, true},
                 {MODE_BEST_FIT, true},    {MODE_BEST_FIT_NO_BORDER, true}, {MODE_FULL_SCREEN_STRETCH, true},
                 {MODE_ZOOM, false},       {MODE_ZOOM_SAME_ASPECT, false},  {MODE_FIXED_WINDOW, false},
                 {MODE_WHEEL_ZOOM, false}};
    for (const auto& c : cases) EXPECT_EQ(PaintResetsWheelZoom(c.mode), c.resets) << c.mode;
}
