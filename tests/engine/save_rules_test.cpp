// What Save and the quick JPEG save may write over, decided from the names.
#include <gtest/gtest.h>

#include "view/save_rules.h"

namespace {

// Only a JPEG file is written over with JPEG bytes; a PNG, TIFF, GIF or camera file goes
// the way of Save, and nothing happens for another save type or without a file.
TEST(SaveRules, QuickJpegSaveWritesOverOnlyAJpegFile) {
    EXPECT_EQ(QuickJpegSaveAction(FT_JPEG, "C:\\p\\photo.jpg"), QUICK_SAVE_OVER_FILE);
    EXPECT_EQ(QuickJpegSaveAction(FT_JPEG, "C:\\p\\photo.JPEG"), QUICK_SAVE_OVER_FILE);
    for (const char* name : {"C:\\p\\photo.png", "C:\\p\\pages.tif", "C:\\p\\moving.gif", "C:\\p\\raw.dng",
                             "C:\\p\\IMG_1.NEF", "C:\\p\\noext"})
        EXPECT_EQ(QuickJpegSaveAction(FT_JPEG, name), QUICK_SAVE_AS_SAVE) << name;
    EXPECT_EQ(QuickJpegSaveAction(FT_PNG, "C:\\p\\photo.jpg"), QUICK_SAVE_NOTHING);
    EXPECT_EQ(QuickJpegSaveAction(FT_JPEG, ""), QUICK_SAVE_NOTHING);
    EXPECT_FALSE(NamesJpegFile("C:\\p.jpg\\photo.png"));
}

// Save's target is the loaded file itself only when the names match, a-z and A-Z alike.
TEST(SaveRules, SaveTargetBesideTheLoadedFileIsAnotherFile) {
    EXPECT_TRUE(SaveTargetIsAnotherFile("C:\\p\\IMG_1.NEF", "C:\\p\\IMG_1.jpg"));
    EXPECT_TRUE(SaveTargetIsAnotherFile("C:\\p\\holiday.png", "C:\\p\\holiday.jpg"));
    EXPECT_TRUE(SaveTargetIsAnotherFile("C:\\p\\a.jpeg", "C:\\p\\a.jpg"));
    EXPECT_FALSE(SaveTargetIsAnotherFile("C:\\p\\IMG_1.JPG", "C:\\p\\IMG_1.jpg"));
    EXPECT_FALSE(SaveTargetIsAnotherFile("C:\\p\\a.bmp", "C:\\p\\a.bmp"));
    // Only a-z fold: other bytes (UTF-8 among them) must match exactly.
    EXPECT_TRUE(SaveTargetIsAnotherFile("C:\\p\\\xc3\xa9.bmp", "C:\\p\\\xc3\x89.bmp"));
}

}  // namespace
