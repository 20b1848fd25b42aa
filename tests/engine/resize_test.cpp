// Resize: nearest-neighbour and percent-weighted bilinear results worked out by hand, the
// sizes a request leads to, the refusals, and the command around it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/current_image.h"
#include "platform/native/host_native.h"
#include "core/title.h"
#include "ops/resize.h"
#include "view/resize_dialog.h"
#include "ops_test_support.h"
#include "test_support.h"
#include "edit/geometry.h"

namespace {

using opstest::GreyRows;
using opstest::MakeGrey;
using opstest::Rows;

ResizeRequest Factors(double x, double y) {
    ResizeRequest r;
    r.xScale = x;
    r.yScale = y;
    return r;
}

ResizeRequest Size(int w, int h, double x, double y) {
    ResizeRequest r = Factors(x, y);
    r.width = w;
    r.height = h;
    r.useSize = 1;
    return r;
}

class ResizeTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }
};

TEST_F(ResizeTest, RequestsThatLeaveThePictureAlone) {
    CDib dib;
    MakeGrey(dib, {{1, 2, 3}, {4, 5, 6}});
    const uint8_t* block = dib.info;
    // Factors 1.0 and 1.0 win even over an explicit size; factors not above 0 and an
    // explicit side of 0 mean nothing to do as well.
    for (const ResizeRequest& r : {Factors(1.0, 1.0), Size(7, 9, 1.0, 1.0), Factors(0, 2), Factors(2, -1),
                                   Size(0, 5, 2, 2), Size(5, 0, 2, 2)}) {
        EXPECT_EQ(ResizeImage(dib, r, true, nullptr), 0);
        EXPECT_EQ(dib.info, block);
        EXPECT_EQ(GreyRows(dib), (Rows{{1, 2, 3}, {4, 5, 6}}));
    }
}

TEST_F(ResizeTest, TargetSizes) {
    int w = 0, h = 0;
    // 100 x 0.29 is 28.999999999999996 in floating point: it counts as 29.
    EXPECT_EQ(ResizeTargetSize(100, 10, Factors(0.29, 0.5), &w, &h), 1);
    EXPECT_EQ(w, 29);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(ResizeTargetSize(7, 3, Factors(0.5, 1.5), &w, &h), 1);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(ResizeTargetSize(7, 3, Size(65535, 1, 2, 2), &w, &h), 1);
    EXPECT_EQ(w, 65535);
    // Sides outside 1..65535 are refused before anything is allocated.
    EXPECT_EQ(ResizeTargetSize(300, 2, Factors(300, 1.5), &w, &h), -1);   // 90000 wide
    EXPECT_EQ(ResizeTargetSize(2, 300, Factors(1.5, 300), &w, &h), -1);   // 90000 high
    EXPECT_EQ(ResizeTargetSize(1, 9, Factors(0.5, 1.5), &w, &h), -1);     // 0 wide
    EXPECT_EQ(ResizeTargetSize(9, 9, Size(65536, 4, 2, 2), &w, &h), -1);
    EXPECT_EQ(ResizeTargetSize(9, 9, Size(-4, 4, 2, 2), &w, &h), -1);
    EXPECT_EQ(ResizeTargetSize(9, 9, Factors(1e300, 2), &w, &h), -1);
}

TEST_F(ResizeTest, TooLargeResultIsRefusedAndThePictureKept) {
    CDib dib;
    MakeGrey(dib, Rows(2, std::vector<int>(300, 9)));
    EXPECT_EQ(ResizeImage(dib, Factors(300, 1.5), true, nullptr), -1);
    EXPECT_EQ(dib.width, 300);
    EXPECT_EQ(dib.height, 2);
}

TEST_F(ResizeTest, NearestNeighbourSamplesByIntegerDivision) {
    CDib dib;
    // Storage rows; width 4 -> 6 takes columns j x 4 / 6 = 0 0 1 2 2 3, height 3 -> 2
    // takes rows i x 3 / 2 = 0 1.
    MakeGrey(dib, {{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}});
    ASSERT_EQ(ResizeImage(dib, Size(6, 2, 1.5, 0.66), false, nullptr), 0);
    EXPECT_EQ(GreyRows(dib), (Rows{{10, 10, 20, 30, 30, 40}, {50, 50, 60, 70, 70, 80}}));
    EXPECT_EQ(dib.bitsPerPixel, 24);

    // Channels stay in their places.
    CDib colour;
    opstest::MakePattern(colour, 3, 2);
    const uint32_t right = opstest::At(colour, 2, 0), left = opstest::At(colour, 0, 1);
    ASSERT_EQ(ResizeImage(colour, Factors(2, 1.5), false, nullptr), 0);
    ASSERT_EQ(colour.width, 6);
    ASSERT_EQ(colour.height, 3);
    EXPECT_EQ(opstest::At(colour, 5, 0), right);
    EXPECT_EQ(opstest::At(colour, 0, 2), left);
}

TEST_F(ResizeTest, DoublingBlendsInWholePercent) {
    CDib dib;
    MakeGrey(dib, {{0, 10, 20}, {30, 40, 50}, {1, 2, 4}, {4, 7, 9}, {100, 110, 120}});
    ASSERT_EQ(ResizeImage(dib, Factors(2, 2), true, nullptr), 0);
    // r = i / 2. Rows with r = 0, 1 or the last row 4 are sampled (row i x 5 / 10,
    // column j x 3 / 6). Rows with r = 2, 3 blend: c = j / 2, fx = 50 on odd columns,
    // fy = 50 on odd rows; the last column's right neighbour is itself.
    //   i = 5: (1 + 2 + 4 + 7) / 4 = 3.5 -> 3; (4 + 4 + 9 + 9) / 4 = 6.5 -> 6
    //   i = 7: (4 + 100) / 2 = 52; (4 + 7 + 100 + 110) / 4 = 55.25 -> 55
    EXPECT_EQ(GreyRows(dib), (Rows{
                                 {0, 0, 10, 10, 20, 20},
                                 {0, 0, 10, 10, 20, 20},
                                 {30, 30, 40, 40, 50, 50},
                                 {30, 30, 40, 40, 50, 50},
                                 {1, 1, 2, 3, 4, 4},
                                 {2, 3, 4, 5, 6, 6},
                                 {4, 5, 7, 8, 9, 9},
                                 {52, 55, 58, 61, 64, 64},
                                 {100, 100, 110, 110, 120, 120},
                                 {100, 100, 110, 110, 120, 120},
                             }));
}

TEST_F(ResizeTest, ShrinkingWithInterpolationUsesBothWeights) {
    CDib dib;
    // Width 5 x 0.8 = 4: sx = 125, c = 0 1 2 3, fx = 0 25 50 75. Height 6 x 0.5 = 3:
    // r = 2i = 0 2 4, fy = 0. Row 0 (r = 0) is sampled; rows 1 and 2 (1 < r < 5) blend.
    MakeGrey(dib, {{0, 0, 0, 0, 0},
                   {0, 0, 0, 0, 0},
                   {0, 100, 200, 40, 80},
                   {0, 0, 0, 0, 0},
                   {9, 9, 9, 9, 9},
                   {0, 0, 0, 0, 0}});
    ASSERT_EQ(ResizeImage(dib, Factors(0.8, 0.5), true, nullptr), 0);
    // Row 1:
    //   j=1: c=1, fx=25: 100 x 0.75 + 200 x 0.25 = 125
    //   j=2: c=2, fx=50: (200 + 40) / 2 = 120
    //   j=3: c=3, fx=75: 40 x 0.25 + 80 x 0.75 = 70
    EXPECT_EQ(GreyRows(dib), (Rows{{0, 0, 0, 0}, {0, 125, 120, 70}, {9, 9, 9, 9}}));
}

TEST_F(ResizeTest, ExplicitSizeBeyondTheFactorsStaysInsideThePicture) {
    CDib dib;
    // Factors 0.5 but an explicit 8 x 6: c = trunc(3j x 200 / 300) = 2j runs past the
    // last column and is held there; r = 2i.
    MakeGrey(dib, {{1, 2, 3, 4}, {5, 6, 7, 8}, {10, 20, 30, 40}, {9, 9, 9, 9}, {50, 60, 70, 80}, {0, 0, 0, 0}});
    ASSERT_EQ(ResizeImage(dib, Size(8, 6, 0.5, 0.5), true, nullptr), 0);
    Rows rows = GreyRows(dib);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1], (std::vector<int>{10, 30, 40, 40, 40, 40, 40, 40}));  // r = 2
    EXPECT_EQ(rows[2], (std::vector<int>{50, 70, 80, 80, 80, 80, 80, 80}));  // r = 4
    EXPECT_EQ(rows[3], (std::vector<int>{9, 9, 9, 9, 9, 9, 9, 9}));          // r = 6: row 3 x 6 / 6
}

TEST_F(ResizeTest, PaletteSourceIsConverted) {
    CDib dib;
    std::vector<uint8_t> palette(256 * 3, 0);
    palette[0] = 255;  // entry 0 red
    palette[5] = 255;  // entry 1 blue
    dib.CreateFromPalette(2, 1, palette.data(), 8);
    dib.Row(0)[0] = 1;
    dib.Row(0)[1] = 0;
    ASSERT_EQ(ResizeImage(dib, Factors(2, 1), false, nullptr), 0);
    ASSERT_EQ(dib.bitsPerPixel, 24);
    EXPECT_EQ(opstest::At(dib, 1, 0), 0x0000FFu);
    EXPECT_EQ(opstest::At(dib, 2, 0), 0xFF0000u);
}

TEST_F(ResizeTest, CommandRecordsUndoAndRetitles) {
    MakeGrey(CurrentImage.dib, Rows(4, std::vector<int>(6, 77)));
    resizeRequest = Size(3, 2, 0.5, 0.5);
    resizeInterpolate = 1;
    ASSERT_EQ(ResizeCurrentImage(), 0);
    EXPECT_EQ(CurrentImage.dib.width, 3);
    EXPECT_EQ(CurrentImage.dib.height, 2);
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_EQ(CurrentImage.undoSlots[0].width, 6);
    EXPECT_EQ(titleSizeText, "3x2");
    EXPECT_GT(NativeHost.redraws, 0);
    EXPECT_TRUE(NativeHost.boxes.empty());
    Undo();
    EXPECT_EQ(CurrentImage.dib.width, 6);

    // A thumbnail-cache picture is resized without an undo step.
    ClearUndo();
    CurrentImage.fileType = FT_THUMBSDB;
    ASSERT_EQ(ResizeCurrentImage(), 0);
    EXPECT_EQ(CurrentImage.undoTop, -1);
    resizeRequest = ResizeRequest();
}

TEST_F(ResizeTest, CommandRefusesTooLargeAndKeepsThePictureUnchanged) {
    MakeGrey(CurrentImage.dib, Rows(2, std::vector<int>(300, 5)));
    resizeRequest = Factors(300, 300);  // 90000 x 600
    EXPECT_EQ(ResizeCurrentImage(), -1);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "Resize failed!");
    EXPECT_EQ(NativeHost.captions[0], "Viewer");
    EXPECT_EQ(NativeHost.beeps, 1);
    EXPECT_EQ(CurrentImage.dib.width, 300);
    // No undo step is left behind: the picture does not count as changed.
    EXPECT_EQ(CurrentImage.undoTop, -1);
    EXPECT_FALSE(ImageIsChanged());

    // Width 0 with an explicit size changes nothing and records nothing.
    resizeRequest = Size(0, 5, 0.0, 1.0);
    EXPECT_EQ(ResizeCurrentImage(), 0);
    EXPECT_EQ(CurrentImage.undoTop, -1);
    EXPECT_EQ(NativeHost.boxes.size(), 1u);
    resizeRequest = ResizeRequest();
}

// The dialog's fields: an edit control reports every change, also the ones the dialog
// makes itself, at once and from inside the write. This writer plays such a control.
struct FakeDialog {
    ResizeDialogState* state = nullptr;
    std::vector<std::pair<int, std::string>> writes;
    int echoes = 0;         // reports the dialog's own writes caused
    int echoesTaken = 0;    // ... and that were taken as edits
    static void Write(void* context, int field, const std::string& text) {
        auto* d = static_cast<FakeDialog*>(context);
        d->writes.emplace_back(field, text);
        ++d->echoes;
        if (ResizeDialogFieldChanged(*d->state, field, text, true)) ++d->echoesTaken;
    }
};

TEST_F(ResizeTest, DialogFieldsFollowTheChangedOne) {
    ResizeDialogState state;
    FakeDialog dialog;
    dialog.state = &state;
    ResizeRequest remembered = Factors(0.5, 0.25);
    OpenResizeDialog(state, 600, 400, remembered, FakeDialog::Write, &dialog);
    EXPECT_EQ(dialog.writes, (std::vector<std::pair<int, std::string>>{
                                 {123, "600"}, {124, "400"}, {125, "0.500000"}, {126, "0.250000"}}));
    EXPECT_EQ(dialog.echoes, 4);
    EXPECT_EQ(dialog.echoesTaken, 0);
    EXPECT_FALSE(state.busy);

    // Width typed, aspect kept: both factors follow, the height is truncated.
    dialog.writes.clear();
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_WIDTH, "300", true));
    EXPECT_EQ(dialog.writes, (std::vector<std::pair<int, std::string>>{
                                 {124, "200"}, {125, "0.500000"}, {126, "0.500000"}}));
    EXPECT_EQ(dialog.echoesTaken, 0);

    // Height typed without the aspect: only the height factor follows.
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_HEIGHT, "100", false));
    EXPECT_DOUBLE_EQ(state.fields.yScale, 0.25);
    EXPECT_DOUBLE_EQ(state.fields.xScale, 0.5);
    EXPECT_EQ(state.fields.width, 300);

    // Width factor typed, aspect kept: 600 x 0.29 counts as 174 (not 173.99...).
    dialog.writes.clear();
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_XSCALE, "0.29", true));
    EXPECT_EQ(dialog.writes, (std::vector<std::pair<int, std::string>>{
                                 {123, "174"}, {124, "116"}, {126, "0.290000"}}));

    // Height factor typed without the aspect: the width stays with its own factor.
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_YSCALE, "2", false));
    EXPECT_EQ(state.fields.width, 174);
    EXPECT_EQ(state.fields.height, 800);

    // Nonsense reads as 0; a huge factor gives a size OK will have refused, not a wrap.
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_WIDTH, "abc", true));
    EXPECT_EQ(state.fields.height, 0);
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_XSCALE, "1e300", true));
    EXPECT_EQ(state.fields.width, 2147483647);
    ASSERT_TRUE(ResizeDialogFieldChanged(state, RESIZE_FIELD_XSCALE, "nan", true));
    EXPECT_EQ(state.fields.width, 0);
    EXPECT_FALSE(ResizeDialogFieldChanged(state, 127, "1", true));
    EXPECT_EQ(dialog.echoesTaken, 0);
}

TEST_F(ResizeTest, DialogOkRequestsTheTypedSize) {
    ResizeDialogState state;
    OpenResizeDialog(state, 100, 10, Factors(1, 1), nullptr, nullptr);
    ResizeDialogFieldChanged(state, RESIZE_FIELD_XSCALE, "0.333", true);
    ResizeRequest r;
    ASSERT_TRUE(ResizeDialogRequest(state, "33", "3", &r));
    EXPECT_EQ(r.useSize, 1);
    EXPECT_EQ(r.width, 33);
    EXPECT_EQ(r.height, 3);
    EXPECT_DOUBLE_EQ(r.xScale, 0.333);  // the typed factors give that size: kept
    EXPECT_DOUBLE_EQ(r.yScale, 0.333);

    // Factors remembered from an earlier use, with the picture's own size left in the
    // size fields: the size counts, and factors of 1 leave the picture alone.
    OpenResizeDialog(state, 100, 10, Factors(0.5, 0.5), nullptr, nullptr);
    ASSERT_TRUE(ResizeDialogRequest(state, "100", " 10", &r));
    EXPECT_DOUBLE_EQ(r.xScale, 1.0);
    EXPECT_DOUBLE_EQ(r.yScale, 1.0);
    CDib dib;
    MakeGrey(dib, Rows(10, std::vector<int>(100, 9)));
    ASSERT_EQ(ResizeImage(dib, r, true, nullptr), 0);
    EXPECT_EQ(dib.width, 100);

    EXPECT_FALSE(ResizeDialogRequest(state, "12px", "3", &r));
    EXPECT_FALSE(ResizeDialogRequest(state, "12", "", &r));
    EXPECT_FALSE(ResizeDialogRequest(state, "99999999999", "3", &r));
}

}  // namespace
