// Saving as JPEG: the check before the save, what "Enter JPEG Information" opens with,
// what its OK stores, the comment editor's OK, and the comment as the dialogs show it.
#include <gtest/gtest.h>

#include <string>

#include "base/settings.h"
#include "base/text.h"
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

TEST(CommentTextTest, EscapedFormAndBack) {
    const struct {
        std::string bytes, text;
    } cases[] = {
        {"plain", "plain"},
        {"C:\\Photos\\Caf\xC3\xA9", "C:\\\\Photos\\\\Caf\\303\\251"},
        {std::string("\x01\x7F\xFF", 3), "\\001\\177\\377"},
        {"a\r\nb\rc\nd", "a b c d"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeCommentBytes(c.bytes), c.text);
        if (c.bytes.find_first_of("\r\n") == std::string::npos) {
            EXPECT_EQ(UnescapeCommentText(c.text), c.bytes);
        }
    }
    // Typed text that is not an escape stays as typed: a lone backslash, too few digits,
    // a value past 377, a backslash at the end.
    EXPECT_EQ(UnescapeCommentText("a\\b \\12 \\400 \\"), "a\\b \\12 \\400 \\");
    EXPECT_EQ(UnescapeCommentText("\\\\101"), "\\101");
}

// A JPEG's comment is shown escaped in both dialogs and stored back as bytes; text left as
// shown keeps the bytes it stood for, line ends included. Other files' comments are
// shown and stored as they are.
TEST_F(JpegDialogTest, AJpegCommentIsEditedInItsEscapedForm) {
    CurrentImage.dib.Create(2, 2, 24);
    CurrentImage.fileType = FT_JPEG;
    CurrentImage.comment = "Caf\xC3\xA9\r\nback\\slash";
    const std::string shown = "Caf\\303\\251 back\\\\slash";
    EXPECT_EQ(OpenJpegDialog().comment, shown);
    JpegDialogValues typed = OpenJpegDialog();
    ApplyJpegDialog(typed);
    EXPECT_EQ(CurrentImage.comment, "Caf\xC3\xA9\r\nback\\slash");
    typed.comment = "Caf\\303\\251 and C:\\\\Photos";
    ApplyJpegDialog(typed);
    EXPECT_EQ(CurrentImage.comment, "Caf\xC3\xA9 and C:\\Photos");
    StoreEditedComment(ShownComment());
    EXPECT_EQ(CurrentImage.comment, "Caf\xC3\xA9 and C:\\Photos");
    StoreEditedComment("\\101\\\\");
    EXPECT_EQ(CurrentImage.comment, "A\\");

    CurrentImage.fileType = FT_PNG;
    CurrentImage.comment = "title\nback\\slash";
    EXPECT_EQ(ShownComment(), "title\nback\\slash");
    StoreEditedComment("typed \\101");
    EXPECT_EQ(CurrentImage.comment, "typed \\101");
}

}  // namespace
