// The metadata dialogs apart from Win32: which of the file information dialog's buttons
// work, the EXIF and XMP dialogs' texts, and where the thumbnail goes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/exif.h"
#include "core/current_image.h"
#include "view/metadata_dialogs.h"

namespace {

TEST(MetadataButtonsTest, ExifForJpegAndWebpWithABlockXmpForJpegWithAPacket) {
    const std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
    struct Case {
        FileType type;
        bool exif, xmp;
        bool exifEnabled, xmpEnabled;
    };
    const Case cases[] = {
        {FT_JPEG, true, true, true, true},    {FT_JPEG, false, false, false, false},
        {FT_WEBP, true, true, true, false},   {FT_BMP, true, true, false, false},
        {FT_JPEG, true, false, true, false},  {FT_JPEG, false, true, false, true},
    };
    for (const Case& c : cases) {
        CurrentImageState image;
        image.fileType = c.type;
        if (c.exif) image.exif = block;
        if (c.xmp) image.xmp = block;
        const MetadataButton exif = ExifButton(image), xmp = XmpButton(image);
        EXPECT_EQ(exif.enabled, c.exifEnabled) << c.type;
        EXPECT_STREQ(exif.caption, c.exifEnabled ? "Display EXIF data" : "Disabled - No EXIF data available");
        EXPECT_EQ(xmp.enabled, c.xmpEnabled) << c.type;
        EXPECT_STREQ(xmp.caption, c.xmpEnabled ? "Display XMP data" : "Disabled - No XMP data available");
    }
}

TEST(ExifDialogTextTest, FileLinesThenTheExifLinesWithTheLowSizeBits) {
    EXPECT_EQ(ExifDialogText("a.jpg", 0x100000010ull, "01/02/2003  04:05", "X\r\n"),
              "File name\t\t: a.jpg\r\nFile size\t\t: 16 bytes\r\nFile creation date\t: 01/02/2003  04:05\r\nX\r\n");
    EXPECT_EQ(ExifDialogText("b.jpg", 0xFFFFFFFFull, "", ""),
              "File name\t\t: b.jpg\r\nFile size\t\t: -1 bytes\r\nFile creation date\t: \r\n");
}

TEST(ExifDialogTextTest, ARejectedBlockStillShowsThePictureSizeAndProcess) {
    CurrentImageState image;
    image.fileType = FT_JPEG;
    image.exif = {'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 0, 42};
    image.jpegProcess = 194;
    image.dib.Create(7, 5, 24);
    const std::string text = PictureExifText(image);
    EXPECT_NE(text.find("Resolution\t: 7 x 5\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("JPEG process\t: Progressive\r\n"), std::string::npos) << text;
}

TEST(XmpDialogTextTest, FramesThePacketText) {
    const std::string text = XmpDialogText({});
    EXPECT_EQ(text.rfind("XMP data: \r\n\r\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(ExifThumbnailTest, OnlyAJpegStreamIsAThumbnail) {
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xD9};
    const uint8_t other[] = {0x42, 0x4D, 0, 0};
    struct Case {
        const uint8_t* data;
        uint32_t length;
        bool found;
    };
    const Case cases[] = {{jpeg, 4, true}, {jpeg, 1, false}, {other, 4, false}, {nullptr, 0, false}};
    for (const Case& c : cases) {
        Cexif exif;
        exif.thumbnail = c.data;
        exif.thumbnailLength = c.length;
        const uint8_t* data = nullptr;
        size_t length = 0;
        EXPECT_EQ(ExifJpegThumbnail(exif, &data, &length), c.found);
        if (c.found) {
            EXPECT_EQ(data, c.data);
            EXPECT_EQ(length, c.length);
        }
    }
}

TEST(ThumbnailPlacementTest, ShrunkToFitNeverEnlargedCentredOn660And150) {
    struct Case {
        int width, height;
        ThumbnailRect at;
    };
    const Case cases[] = {
        {160, 120, {580, 90, 160, 120}}, {300, 256, {510, 22, 300, 256}}, {600, 256, {510, 86, 300, 128}},
        {300, 512, {585, 22, 150, 256}}, {900, 300, {510, 100, 300, 100}},
    };
    for (const Case& c : cases) {
        const ThumbnailRect r = ThumbnailPlacement(c.width, c.height);
        EXPECT_EQ(r.x, c.at.x) << c.width << "x" << c.height;
        EXPECT_EQ(r.y, c.at.y) << c.width << "x" << c.height;
        EXPECT_EQ(r.width, c.at.width) << c.width << "x" << c.height;
        EXPECT_EQ(r.height, c.at.height) << c.width << "x" << c.height;
    }
}

}  // namespace
