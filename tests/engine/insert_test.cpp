// Insertion of a second picture: the clipped pixel copy, and the base picture that a load
// of the second picture must not take away (its pixels, undo history and file facts).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/loader.h"
#include "open/open.h"
#include "core/title.h"
#include "ops/insert.h"
#include "ops_test_support.h"
#include "test_support.h"
#include "edit/insert_session.h"

namespace {

using opstest::At;
using opstest::MakeGrey;
using opstest::MakePattern;

class InsertTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override {
        BringBackBasePicture();
        ResetEngineState();
    }
};

// Pastes a 3 x 2 pattern into a grey 6 x 4 picture at (x, y) and checks every pixel: the
// pattern's pixel where it lands, the grey elsewhere.
void ExpectPasted(int x, int y) {
    CDib picture, item;
    MakeGrey(picture, opstest::Rows(4, std::vector<int>(6, 9)));
    MakePattern(item, 3, 2);
    ASSERT_EQ(PasteImageAt(picture, item, x, y), 0);
    for (int py = 0; py < 4; ++py)
        for (int px = 0; px < 6; ++px) {
            const int ix = px - x, iy = py - y;
            const bool inside = ix >= 0 && ix < 3 && iy >= 0 && iy < 2;
            EXPECT_EQ(At(picture, px, py), inside ? At(item, ix, iy) : 0x090909u)
                << "paste at " << x << "," << y << " pixel " << px << "," << py;
        }
}

TEST_F(InsertTest, PasteCopiesTheItemClippedOnEverySide) {
    ExpectPasted(1, 1);   // wholly inside
    ExpectPasted(0, 0);   // at the corner
    ExpectPasted(4, 3);   // over the right and bottom edges
    ExpectPasted(-2, -1); // over the left and top edges
    ExpectPasted(-3, 0);  // just beside the left edge: nothing
    ExpectPasted(6, 0);   // just beside the right edge: nothing
    ExpectPasted(0, -2);  // just above: nothing
    ExpectPasted(-40000, 40000);
}

TEST_F(InsertTest, PasteTakesOtherDepthsAndRefusesWhatItCannotUse) {
    CDib picture, item, empty;
    MakeGrey(picture, opstest::Rows(2, std::vector<int>(2, 0)));
    std::vector<uint8_t> palette(256 * 3, 0);  // an 8-bit picture holds 256 colours
    const uint8_t used[6] = {10, 20, 30, 200, 100, 50};
    std::copy(used, used + 6, palette.begin());
    item.CreateFromPalette(2, 1, palette.data(), 8);
    item.Row(0)[0] = 1;
    item.Row(0)[1] = 0;
    ASSERT_EQ(PasteImageAt(picture, item, 0, 1), 0);
    EXPECT_EQ(At(picture, 0, 1), 0xC86432u);
    EXPECT_EQ(At(picture, 1, 1), 0x0A141Eu);
    EXPECT_EQ(At(picture, 0, 0), 0u);
    EXPECT_EQ(PasteImageAt(picture, empty, 0, 0), -1);
    EXPECT_EQ(PasteImageAt(empty, picture, 0, 0), -1);
    // The item itself is never changed by the conversion.
    EXPECT_EQ(item.bitsPerPixel, 8);
}

// The second picture is loaded by the real loader; afterwards the base picture is
// current again with its pixels, undo step, path, notes and title, and the loaded one is
// the secondary picture. A failed load brings the base back the same way.
TEST_F(InsertTest, LoadingTheSecondPictureKeepsTheBasePicture) {
    const std::string dir = ScratchDir("insert-base");
    const std::string second = dir + "/second.bmp";
    WriteBytes(second, MakeBmp24(5, 3, 0x77));

    MakePattern(CurrentImage.dib, 8, 6);
    CurrentImage.fullPath = dir + "/base.jpg";
    CurrentImage.fileType = FT_JPEG;
    CurrentImage.formatNote = "base note";
    ASSERT_EQ(PushUndo(), 0);
    CurrentImage.dib.Row(0)[0] ^= 0xFF;  // an edit after the undo step
    CDib edited(CurrentImage.dib);
    titleText = "base title";
    InputFile.SetPath(CurrentImage.fullPath);

    SetBasePictureAside();
    ASSERT_TRUE(BasePictureIsAside());
    std::string path = second;
    ASSERT_EQ(LoadImageFile(path), 0);
    EXPECT_EQ(CurrentImage.dib.width, 5);
    EXPECT_EQ(CurrentImage.undoTop, -1);  // what the loader does to the picture it replaces

    ASSERT_TRUE(SwapInBasePicture());
    EXPECT_FALSE(BasePictureIsAside());
    ASSERT_EQ(CurrentImage.dib.width, 8);
    EXPECT_EQ(DibToRgb(CurrentImage.dib).rgb, DibToRgb(edited).rgb);
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_EQ(CurrentImage.fullPath, dir + "/base.jpg");
    EXPECT_EQ(CurrentImage.fileType, FT_JPEG);
    EXPECT_EQ(CurrentImage.formatNote, "base note");
    EXPECT_EQ(titleText, "base title");
    EXPECT_NE(InputFile.fullPath.find("base.jpg"), std::string::npos);
    EXPECT_EQ(CurrentImage.secondaryImage.width, 5);
    EXPECT_EQ(CurrentImage.secondaryImage.height, 3);
    EXPECT_FALSE(SwapInBasePicture());  // nothing aside any more

    // A load that fails leaves a black stand-in; the base picture comes back instead.
    const std::string broken = dir + "/broken.bmp";
    WriteBytes(broken, {'B', 'M', 1, 2, 3});
    SetBasePictureAside();
    path = broken;
    EXPECT_LT(LoadImageFile(path), 0);
    BringBackBasePicture();
    EXPECT_FALSE(BasePictureIsAside());
    EXPECT_EQ(DibToRgb(CurrentImage.dib).rgb, DibToRgb(edited).rgb);
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_FALSE(CurrentImage.failedLoad);
    EXPECT_EQ(CurrentImage.fullPath, dir + "/base.jpg");
    Undo();
    EXPECT_NE(DibToRgb(CurrentImage.dib).rgb, DibToRgb(edited).rgb);  // the undo step still works
}

}  // namespace
