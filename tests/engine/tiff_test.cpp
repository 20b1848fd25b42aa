// TIFF files: the test suite's pictures against tiff2rgba and the suite's own PNM files,
// page counts against tiffinfo, a three-page file paged through, fax depth, directory
// loops, and broken files that must end in a message or a picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>

#include <tiffio.h>

#include "core/current_image.h"
#include "core/decode.h"
#include "core/loader.h"
#include "core/title.h"
#include "platform/native/host_native.h"
#include "open/open.h"
#include "ops_test_support.h"
#include "test_support.h"

namespace {

std::vector<std::string> SuiteFiles() {
    const std::string folder = CorpusPath("libtiff-test-images");
    std::vector<std::string> files = ListFiles(folder, ".tif");
    const std::vector<std::string> more = ListFiles(folder, ".tiff");
    files.insert(files.end(), more.begin(), more.end());
    return files;
}

// Decodes a file through the decode entry as the loader does, as top-down RGB.
int Decode(const std::string& path, RgbImage* rgb, ImageFacts* facts = nullptr) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    CDib picture;
    ImageFacts scratch;
    bool headerPassed = false;
    NativeHostReset();
    const int result = DecodeImage(FT_TIFF, bytes.data(), bytes.size(), picture, facts ? *facts : scratch, &headerPassed);
    if (result == 0 && rgb != nullptr) *rgb = DibToRgb(picture);
    CloseKeptFiles();
    return result;
}

bool HasUnassociatedAlpha(const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) return false;
    uint16_t count = 0;
    uint16_t* values = nullptr;
    const bool unassociated = TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &values) && count > 0 &&
                              values[0] == EXTRASAMPLE_UNASSALPHA;
    TIFFClose(tiff);
    return unassociated;
}

// A binary PNM file (P4 bits, P5 grey, P6 RGB; 8-bit samples) as RGB.
RgbImage ReadPnm(const std::string& path) {
    RgbImage image;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    char kind = 0;
    int w = 0, h = 0;
    if (std::sscanf(text.c_str(), "P%c %d %d", &kind, &w, &h) != 3) return image;
    // The header ends with one blank after its last number.
    size_t at = 0;
    for (int numbers = kind == '4' ? 3 : 4; numbers > 0; --numbers) {
        at = text.find_first_of("0123456789", at);
        at = text.find_first_not_of("0123456789", at);
    }
    ++at;
    image.width = w;
    image.height = h;
    image.rgb.resize(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* out = &image.rgb[(static_cast<size_t>(y) * w + x) * 3];
            if (kind == '6') {
                std::memcpy(out, &bytes[at + (static_cast<size_t>(y) * w + x) * 3], 3);
            } else if (kind == '5') {
                out[0] = out[1] = out[2] = bytes[at + static_cast<size_t>(y) * w + x];
            } else {
                const uint8_t byte = bytes[at + static_cast<size_t>(y) * ((w + 7) / 8) + x / 8];
                out[0] = out[1] = out[2] = (byte >> (7 - x % 8) & 1) ? 0 : 255;
            }
        }
    return image;
}

std::string Compare(const RgbImage& got, const RgbImage& want) {
    if (got.width != want.width || got.height != want.height)
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) + " vs " +
               std::to_string(want.width) + "x" + std::to_string(want.height);
    for (size_t i = 0; i < got.rgb.size(); ++i)
        if (got.rgb[i] != want.rgb[i])
            return "byte " + std::to_string(i) + ": " + std::to_string(got.rgb[i]) + " vs " + std::to_string(want.rgb[i]);
    return "";
}

class Tiff : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
        ResetEngineState();
        dir = ScratchDir("tiff");
    }
    void TearDown() override { ResetEngineState(); }
};

// Every suite file tiff2rgba converts gives tiff2rgba's colours (its output, without alpha,
// read back by our own reader); files with unassociated alpha are read as associated, which
// tiff2rgba does not do. Two broken fax files tiff2rgba reads past their errors; we stop at
// the first and say libtiff's reason.
TEST_F(Tiff, SuiteDecodesAsTiff2rgba) {
    if (!opstest::ToolAvailable("tiff2rgba")) GTEST_SKIP() << "libtiff-tools not installed";
    const std::map<std::string, std::string> refused = {
        {"testfax3_bug54_1dnoEOL.tif", "Error: Fax3Decode1D: Premature EOL at line 0 of strip 0"},
        {"testfax3_bug_513.tiff", "Error: Fax3Decode1D: Buffer overflow at line 0 of strip 0"},
    };
    int compared = 0;
    for (const std::string& file : SuiteFiles()) {
        SCOPED_TRACE(file);
        const auto reason = refused.find(file.substr(file.rfind('/') + 1));
        if (reason != refused.end()) {
            EXPECT_EQ(Decode(file, nullptr), DECODE_FAILED);
            EXPECT_EQ(ShownBoxes().rfind(reason->second, 0), 0u) << ShownBoxes();
            continue;
        }
        const std::string reference = dir + "/reference.tif";
        std::remove(reference.c_str());
        if (std::system(("tiff2rgba -c none -n '" + file + "' '" + reference + "' >/dev/null 2>&1").c_str()) != 0 ||
            HasUnassociatedAlpha(file))
            continue;
        RgbImage ours, theirs;
        ASSERT_EQ(Decode(file, &ours), 0) << ShownBoxes();
        ASSERT_EQ(Decode(reference, &theirs), 0) << ShownBoxes();
        EXPECT_EQ(Compare(ours, theirs), "");
        ++compared;
    }
    EXPECT_GE(compared, 20);
}

TEST_F(Tiff, SuiteFilesEqualTheirPnmFiles) {
    const char* const names[] = {"rgb-3c-8b.tiff:rgb-3c-8b.ppm", "minisblack-1c-8b.tiff:minisblack-1c-8b.pgm",
                                 "miniswhite-1c-1b.tiff:miniswhite-1c-1b.pbm"};
    for (const char* pair : names) {
        SCOPED_TRACE(pair);
        const std::string text = pair;
        const size_t colon = text.find(':');
        RgbImage ours;
        ASSERT_EQ(Decode(CorpusPath("libtiff-test-images/" + text.substr(0, colon)), &ours), 0) << ShownBoxes();
        const RgbImage want = ReadPnm(CorpusPath("libtiff-test-images/" + text.substr(colon + 1)));
        ASSERT_TRUE(want.Valid());
        EXPECT_EQ(Compare(ours, want), "");
    }
}

// The pages of the main chain, as tiffinfo lists them ("=== TIFF directory n ==="); loops
// end, and sub-directories are no pages.
TEST_F(Tiff, PageCountsAreTiffinfosAndLoopsEnd) {
    if (!opstest::ToolAvailable("tiffinfo")) GTEST_SKIP() << "libtiff-tools not installed";
    int counted = 0;
    for (const std::string& file : SuiteFiles()) {
        SCOPED_TRACE(file);
        ImageFacts facts;
        if (Decode(file, nullptr, &facts) == DECODE_JUMPED || facts.pageCount == 0) continue;
        const std::string listing = RunTool("tiffinfo '" + file + "'", false);
        int pages = 0;
        for (size_t at = 0; (at = listing.find("=== TIFF directory ", at)) != std::string::npos; ++at) ++pages;
        EXPECT_EQ(facts.pageCount, pages);
        ++counted;
    }
    EXPECT_GE(counted, 25);
}

// Fax files are 1 bit deep whatever their samples say; the format note and the byte order
// come from the header.
TEST_F(Tiff, HeaderGivesDepthNoteAndByteOrder) {
    struct Case {
        const char* file;
        uint32_t depth;
        const char* note;
    };
    const Case cases[] = {
        {"libtiff-test-images/testfax4.tiff", 1, "TIFF, monochrome stored reversed"},
        {"libtiff-pics/g3test.tif", 1, "TIFF, monochrome stored reversed"},
        {"libtiff-test-images/rgb-3c-16b.tiff", 48, "TIFF, RGB Colour"},
        {"libtiff-test-images/palette-1c-4b.tiff", 4, "TIFF, Palette Colour"},
        {"libtiff-test-images/minisblack-1c-8b.tiff", 8, "TIFF, monochrome stored normal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ImageFacts facts;
        ASSERT_EQ(Decode(CorpusPath(c.file), nullptr, &facts), 0) << ShownBoxes();
        EXPECT_EQ(facts.storedBitsPerPixel, c.depth);
        EXPECT_EQ(facts.formatNote, c.note);
        TIFF* tiff = TIFFOpen(CorpusPath(c.file).c_str(), "r");
        ASSERT_NE(tiff, nullptr);
        EXPECT_EQ(facts.comment, TIFFIsBigEndian(tiff) ? "File stored in Motorola format\n"
                                                       : "File stored in Intel format\n");
        TIFFClose(tiff);
    }
}

// A file of three pages made by tiffcp: the title names the page, LoadPage shows another
// one, a page past the end changes nothing, and the next load closes the file.
TEST_F(Tiff, ThreePagesArePagedThrough) {
    if (!opstest::ToolAvailable("tiffcp")) GTEST_SKIP() << "libtiff-tools not installed";
    const std::string pages[] = {CorpusPath("libtiff-test-images/rgb-3c-8b.tiff"),
                                 CorpusPath("libtiff-test-images/palette-1c-8b.tiff"),
                                 CorpusPath("libtiff-test-images/minisblack-1c-8b.tiff")};
    const std::string file = dir + "/three.tif";
    ASSERT_EQ(std::system(("tiffcp '" + pages[0] + "' '" + pages[1] + "' '" + pages[2] + "' '" + file + "'").c_str()), 0);
    ASSERT_EQ(LoadAfresh(file), 0) << ShownBoxes();
    EXPECT_EQ(CurrentImage.pageCount, 3);
    EXPECT_NE(titleText.find("(TIFF Page 1 of 3)"), std::string::npos) << titleText;

    LoadSteps none;
    ASSERT_EQ(LoadPage(1, none), 0) << ShownBoxes();
    RgbImage second;
    ASSERT_EQ(Decode(pages[1], &second), 0);
    EXPECT_EQ(Compare(DibToRgb(CurrentImage.dib), second), "");
    EXPECT_EQ(CurrentImage.page, 1);
    EXPECT_EQ(CurrentImage.storedBitsPerPixel, 8u);
    EXPECT_EQ(CurrentImage.formatNote, "TIFF, Palette Colour");
    EXPECT_NE(titleText.find("(TIFF Page 2 of 3)"), std::string::npos) << titleText;

    const RgbImage before = DibToRgb(CurrentImage.dib);
    EXPECT_EQ(LoadPage(3, none), -1);
    EXPECT_EQ(LoadPage(-1, none), -1);
    EXPECT_EQ(Compare(DibToRgb(CurrentImage.dib), before), "");
    EXPECT_EQ(CurrentImage.page, 1);

    // Another load (even one that fails) closes the file: a picture that still counts its
    // pages (one set aside while another is inserted) stays as it is.
    EXPECT_LT(LoadAfresh(dir + "/missing.tif"), 0);
    CurrentImage.pageCount = 3;
    const RgbImage kept = DibToRgb(CurrentImage.dib);
    EXPECT_EQ(LoadPage(0, none), -1);
    EXPECT_EQ(Compare(DibToRgb(CurrentImage.dib), kept), "");
}

// Colours stored beside unassociated alpha are shown as stored, not scaled by the alpha.
TEST_F(Tiff, UnassociatedAlphaKeepsTheStoredColours) {
    const std::string file = std::string(LUMORA_TESTDATA) + "/fuzz/seeds/tiff/rgba.tif";
    ASSERT_TRUE(HasUnassociatedAlpha(file));
    RgbImage ours;
    ASSERT_EQ(Decode(file, &ours), 0) << ShownBoxes();
    TIFF* tiff = TIFFOpen(file.c_str(), "r");
    ASSERT_NE(tiff, nullptr);
    std::vector<uint8_t> row(TIFFScanlineSize(tiff));
    RgbImage stored = ours;
    for (int y = 0; y < ours.height; ++y) {
        ASSERT_EQ(TIFFReadScanline(tiff, row.data(), y, 0), 1);
        for (int x = 0; x < ours.width; ++x)
            std::memcpy(&stored.rgb[(static_cast<size_t>(y) * ours.width + x) * 3], &row[4 * x], 3);
    }
    TIFFClose(tiff);
    EXPECT_EQ(Compare(ours, stored), "");
}

// Broken files from other projects' fuzzing give a message or a picture, never a crash.
TEST_F(Tiff, BrokenFilesEndInAMessageOrAPicture) {
    int tried = 0;
    for (const std::string& file : ListFiles(CorpusPath("pillow-tests/tiff"), "")) {
        const std::string name = file.substr(file.rfind('/') + 1);
        if (name.rfind("crash-", 0) != 0 && name.rfind("oom-", 0) != 0) continue;
        SCOPED_TRACE(name);
        // The reader is chosen by the extension: every file is read as a TIFF file.
        const std::string copy = dir + "/" + name + ".tif";
        WriteBytes(copy, ReadBytes(file));
        const int result = LoadAfresh(copy);
        EXPECT_TRUE(result == 0 || !ShownBoxes().empty()) << result;
        ++tried;
    }
    EXPECT_GE(tried, 10);
}

}  // namespace
