// File types from names.
#include <gtest/gtest.h>

#include "core/filetype.h"

namespace {

TEST(FileTypeFromName, UsesTheLastExtensionInTableOrder) {
    struct { const char* name; int type; } cases[] = {
        {"a.bmp", FT_BMP},        {"C:\\x\\A.RLE", FT_BMP},    {"a.gif", FT_GIF},
        {"a.pcx", FT_PCX},        {"a.jpg", FT_JPEG},          {"a.JPEG", FT_JPEG},
        {"a.jfif", FT_JPEG},      {"a.tga", FT_TGA},           {"x.TiFf", FT_TIFF},
        {"a.tif", FT_TIFF},       {"a.webp", FT_WEBP},         {"a.png", FT_PNG},
        {"a.ico", FT_ICO},        {"a.cur", FT_CUR},           {"a.ani", FT_ANI},
        {"a.nef", FT_RAW},        {"a.CR2", FT_RAW},           {"a.x3f", FT_RAW},
        {"Thumbs.db", FT_THUMBSDB}, {"a.clg", FT_CLG},         {"a.tns", FT_TNS},
        {"a.lst", FT_LIST},       {"a.AIS", FT_LIST},          {"a.mpg", FT_MPEG},
        {"/tmp/dir.jpg/pic.bmp", FT_BMP},
    };
    for (auto c : cases) {
        FileType t = FT_UNSUPPORTED;
        ASSERT_EQ(FileTypeFromName(c.name, &t), 0) << c.name;
        EXPECT_EQ(t, c.type) << c.name;
    }
}

TEST(FileTypeFromName, UnknownNamesLeaveTheTypeAlone) {
    for (const char* name : {"a.bmp.txt", "noextension", "C:\\pics.jpg\\readme", "a.", "a.xyz"}) {
        FileType t = FT_GIF;
        EXPECT_EQ(FileTypeFromName(name, &t), -1) << name;
        EXPECT_EQ(t, FT_GIF);
    }
}

TEST(ContainsNoCase, FoldsOnlyAsciiLetters) {
    const char* text = "c:\\Some\\File.JpG";
    EXPECT_EQ(ContainsNoCase(text, ".jpg"), text + 12);
    EXPECT_EQ(ContainsNoCase(text, "\\"), text + 2);
    EXPECT_EQ(ContainsNoCase(text, "xyz"), nullptr);
    EXPECT_EQ(ContainsNoCase("\xC3\xA9", "\xC3\x89"), nullptr);  // é is not É
}

}  // namespace
