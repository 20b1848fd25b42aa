// Saving as JPEG: the check before the save, what "Enter JPEG Information" opens with,
// what its OK stores, and the comment editor's OK.
#include <gtest/gtest.h>

#include <string>

#include "base/settings.h"
#include "core/current_image.h"
#include "core/save.h"
#include "view/jpeg_dialog.h"
#include "test_support.h"

namespace {

class JpegDialogTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        ResetEngineState();
        CurrentImage.exif.clear();
        jpegQuality = 75;
    }
};

TEST(JpegSaveCheckTest, OnlyJpegAsksAndBelowEightBitsIsRefused) {
    struct Case {
        FileType type;
        int pictureBits, saveDepth;
        JpegSaveStep step;
    };
    const Case cases[] = {
        {FT_BMP, 24, 1, JPEG_SAVE_NOT_JPEG},   {FT_GIF, 24, 24, JPEG_SAVE_NOT_JPEG},
        {FT_JPEG, 24, 1, JPEG_SAVE_POINTLESS}, {FT_JPEG, 24, 4, JPEG_SAVE_POINTLESS},
        {FT_JPEG, 4, 24, JPEG_SAVE_POINTLESS}, {FT_JPEG, 24, 8, JPEG_SAVE_ASK},
        {FT_JPEG, 24, 24, JPEG_SAVE_ASK},      {FT_JPEG, 32, 24, JPEG_SAVE_ASK},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JpegSaveCheck(c.type, c.pictureBits, c.saveDepth), c.step)
            << c.type << " at " << c.pictureBits << "/" << c.saveDepth;
}

TEST(JpegQualityTest, OutsideOneToHundredOrNoNumberIsSeventyFive) {
    const struct {
        const char* text;
        int quality;
    } cases[] = {
        {"90", 90}, {" 1 ", 1}, {"100", 100}, {"+40", 40}, {"0", 75},  {"101", 75},  {"150", 75},
        {"-5", 75}, {"", 75},   {"abc", 75},  {"50x", 75}, {"5 0", 75}, {"99999999999999999999", 75},
    };
    for (const auto& c : cases) EXPECT_EQ(JpegQualityFromText(c.text), c.quality) << '"' << c.text << '"';
}

TEST_F(JpegDialogTest, OpensWithTheSettingsAndTheComment) {
    DefaultJPEGQuality = 42;
    SaveExifHeaderToFile = 1;
    SaveDate = 0;
    DeleteComment = 1;
    CurrentImage.comment = "from the camera";
    const JpegDialogValues v = OpenJpegDialog();
    EXPECT_EQ(v.quality, "42");
    EXPECT_TRUE(v.saveExif);
    EXPECT_FALSE(v.saveDate);
    EXPECT_TRUE(v.deleteComment);
    EXPECT_EQ(v.comment, "from the camera");
}

TEST_F(JpegDialogTest, OkStoresTheChoicesAndTheWriterTakesTheQuality) {
    JpegDialogValues typed;
    typed.quality = "150";
    typed.saveExif = true;
    typed.saveDate = true;
    typed.comment = "typed";
    ApplyJpegDialog(typed);
    EXPECT_EQ(DefaultJPEGQuality, 75);
    EXPECT_EQ(jpegQuality, 75);
    EXPECT_EQ(SaveDate, 1);
    EXPECT_EQ(DeleteComment, 0);
    // Without an EXIF block the box leaves the setting as it was.
    EXPECT_EQ(SaveExifHeaderToFile, 0);
    EXPECT_EQ(CurrentImage.comment, "typed");

    CurrentImage.exif = {'E', 'x', 'i', 'f', 0, 0};
    typed.quality = "60";
    typed.deleteComment = true;
    ApplyJpegDialog(typed);
    EXPECT_EQ(jpegQuality, 60);
    EXPECT_EQ(SaveExifHeaderToFile, 1);
    EXPECT_EQ(DeleteComment, 1);
    EXPECT_EQ(CurrentImage.comment, "");
    typed.saveExif = false;
    ApplyJpegDialog(typed);
    EXPECT_EQ(SaveExifHeaderToFile, 0);
}

TEST(CutCommentTest, KeepsAtMost2048BytesAndWholeCharacters) {
    EXPECT_EQ(CutComment(std::string(2048, 'a')), std::string(2048, 'a'));
    EXPECT_EQ(CutComment(std::string(3000, 'a')), std::string(2048, 'a'));
    // A two-byte character across the limit goes whole.
    const std::string split = std::string(2047, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(CutComment(split), std::string(2047, 'a'));
}

TEST_F(JpegDialogTest, EditedCommentIsOneUndoStep) {
    CurrentImage.dib.Create(2, 2, 24);
    ASSERT_FALSE(ImageIsChanged());
    StoreEditedComment("new words");
    EXPECT_EQ(CurrentImage.comment, "new words");
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_TRUE(ImageIsChanged());
}

}  // namespace
