// The format registry: the lists the dialogs and the folder list take from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "core/formats.h"
#include "core/save.h"
#include "settings/filelist.h"

namespace {

std::vector<std::string> SplitAtNulls(const std::string& list) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] != '\0') continue;
        parts.push_back(list.substr(start, i - start));
        start = i + 1;
    }
    return parts;
}

TEST(FormatRegistry, OpenFilterListsEveryEntryInItsOrder) {
    const std::string list = OpenFilterList();
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list.substr(list.size() - 2), std::string(2, '\0'));
    const std::vector<std::string> parts = SplitAtNulls(list.substr(0, list.size() - 1));
    ASSERT_EQ(parts.size(), 38u);  // 19 entries of description and patterns
    const char* const descriptions[] = {
        "Bitmap Files (*.BMP)", "Compressed Bitmap Files (*.RLE)", "Compuserve Files (*.GIF)", "ZSoft Files (*.PCX)",
        "JPEG Files (*.JPG,*.JPEG,*.JFIF)", "TARGA Files (*.TGA)", "TIFF Files (*.TIF,*.TIFF)", "PNG Files (*.PNG)",
        "WebP Files (*.WEBP)", "ICON Files (*.ICO)", "Cursor Files (*.CUR)", "Animated Cursor Files (*.ANI)",
        "RAW Files (*.RAW,*.3FR,*.ARW,*.CRW,*.CR2,*.DCR,*.DNG,*.KDC,*.MRW,*.NEF,*.NRW,*.ORF,*.PEF,*.RAF,*.RW2,*.SR2,*.X3F)",
        "thumbs.db Files (*.DB)", "Collage Script Files (*.CLG)", "File List (*.LST)", "ThumbNail Files (*.TNS)",
        "All Supported Files (*.*)", "All Files (*.*)",
    };
    for (int i = 0; i < 19; ++i) EXPECT_EQ(parts[2 * i], descriptions[i]) << i;
    EXPECT_EQ(parts[25], "*.raw;*.3fr;*.arw;*.crw;*.cr2;*.dcr;*.dng;*.kdc;*.mrw;*.nef;*.nrw;*.orf;*.pef;*.raf;*.rw2;*.sr2;*.x3f");
    EXPECT_EQ(parts[35].rfind("*.bmp;*.rle;*.gif;*.pcx;*.jpg;*.jpeg;*.jfif;*.tga;", 0), 0u) << parts[35];
    EXPECT_EQ(parts[37], "*.*");
}

TEST(FormatRegistry, SaveListsAndExtensions) {
    const char* const normal[] = {"JPEG Files (*.JPG)", "Bitmap Files (*.BMP)", "GIF Files (*.GIF)",
                                  "Targa Files (*.TGA)", "PiNG Files (*.PNG)", "WebP Files (*.WEBP)",
                                  "MPEG Files (*.MPG)"};
    for (int i = 0; i < kSaveFilterCount; ++i) {
        const FormatRow* row = FindFormat(SaveFilterOrder(false)[i]);
        ASSERT_NE(row, nullptr);
        EXPECT_STREQ(row->save.description, normal[i]);
        // The entry's pattern names the extension the file is written with.
        EXPECT_EQ(std::string(row->save.patterns), std::string("*.") + SaveExtension(row->type));
    }
    EXPECT_EQ(SaveFilterOrder(true)[6], FT_TNS);
    EXPECT_STREQ(SaveExtension(FT_ICO), "ico");
    EXPECT_STREQ(SaveExtension(FT_PCX), "jpg");  // a type without a writer of its own
}

// The folder list's patterns keep their own fixed order (the set-up dialog's check boxes
// follow it), but each must name a type the registry knows, and the camera patterns must
// be the RAW row's extensions.
TEST(FormatRegistry, FolderPatternsNameRegisteredTypes) {
    for (int i = 0; i < kTypePatternCount - 1; ++i) {
        FileType type = FT_UNSUPPORTED;
        const std::string pattern = kTypePatterns[i];
        ASSERT_EQ(FileTypeFromName("x" + pattern.substr(1), &type), 0) << pattern;
        EXPECT_NE(FindFormat(type), nullptr) << pattern;
    }
    EXPECT_STREQ(kTypePatterns[kTypePatternCount - 1], "*.");
    const FormatRow* raw = FindFormat(FT_RAW);
    ASSERT_NE(raw, nullptr);
    int i = kRawPatternIndex;
    for (const char* const* e = raw->extensions; *e; ++e, ++i) {
        ASSERT_LT(i, kTypePatternCount - 1);
        EXPECT_EQ(std::string(kTypePatterns[i]), std::string("*") + *e);
    }
    EXPECT_EQ(i, kTypePatternCount - 1);
}

}  // namespace
