// BMP files of the public suites: the good ones decode equal to their reference
// renderings, the bad and questionable ones give a picture or a clean message.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "core/current_image.h"
#include "core/loader.h"
#include "open/open.h"
#include "platform/native/host_native.h"
#include "test_support.h"

namespace {

// Low bits a 16-bit file's channels cannot carry (5-5-5 unless bit fields say otherwise).
struct ChannelBits {
    int red = 8, green = 8, blue = 8;
};

int PopCount(uint32_t v) {
    int n = 0;
    for (; v; v &= v - 1) ++n;
    return n;
}

ChannelBits SixteenBitChannels(const std::vector<uint8_t>& file) {
    ChannelBits bits{5, 5, 5};
    if (file.size() >= 66 && file[30] == 3) {
        auto u32 = [&](size_t o) {
            return static_cast<uint32_t>(file[o] | file[o + 1] << 8 | file[o + 2] << 16 | file[o + 3] << 24);
        };
        bits = {PopCount(u32(54)), PopCount(u32(58)), PopCount(u32(62))};
    }
    return bits;
}

uint8_t ClearLowBits(uint8_t v, int keep) { return keep >= 8 ? v : static_cast<uint8_t>(v & (0xFF << (8 - keep))); }

std::map<std::string, std::vector<std::string>> ReadReferences() {
    std::map<std::string, std::vector<std::string>> refs;
    std::ifstream in(CorpusPath("bmpsuite/REFERENCES.tsv"));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string file, images;
        std::getline(fields, file, '\t');
        std::getline(fields, images, '\t');
        std::istringstream list(images);
        std::string one;
        while (list >> one)
            if (one != "-") refs[file].push_back(one);
    }
    return refs;
}

std::string CompareWith(const RgbImage& got, const RgbImage& ref, const ChannelBits* sixteen) {
    if (got.width != ref.width || got.height != ref.height)
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) + " vs " +
               std::to_string(ref.width) + "x" + std::to_string(ref.height);
    for (size_t i = 0; i < got.rgb.size(); ++i) {
        uint8_t want = ref.rgb[i];
        if (sixteen) {
            int keep = i % 3 == 0 ? sixteen->red : i % 3 == 1 ? sixteen->green : sixteen->blue;
            want = ClearLowBits(want, keep);
        }
        if (got.rgb[i] != want) {
            size_t p = i / 3;
            return "pixel " + std::to_string(p % got.width) + "," + std::to_string(p / got.width) + " channel " +
                   std::to_string(i % 3) + ": " + std::to_string(got.rgb[i]) + " vs " + std::to_string(want);
        }
    }
    return "";
}

class BmpCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CorpusAvailable()) GTEST_SKIP() << "corpus not found at " << CorpusPath("");
        ResetEngineState();
    }
    void TearDown() override { ResetEngineState(); }
};

TEST_F(BmpCorpus, GoodFilesMatchTheirReferences) {
    auto refs = ReadReferences();
    int checked = 0;
    for (const std::string& path : ListFiles(CorpusPath("bmpsuite/g"), ".bmp")) {
        std::string rel = "g/" + path.substr(path.rfind('/') + 1);
        ASSERT_TRUE(refs.count(rel)) << rel;
        NativeHostReset();
        std::string p = path;
        ASSERT_EQ(LoadImageFile(p), 0) << rel << ": " << (NativeHost.boxes.empty() ? "" : NativeHost.boxes[0]);
        EXPECT_TRUE(NativeHost.boxes.empty()) << rel;
        RgbImage got = DibToRgb(CurrentImage.dib);
        std::vector<uint8_t> file = ReadBytes(path);
        ChannelBits sixteen = SixteenBitChannels(file);
        const bool is16 = file.size() > 29 && file[28] == 16;
        std::string firstError;
        bool matched = false;
        for (const std::string& ref : refs[rel]) {
            RgbImage want = ReadPngRgb(CorpusPath("bmpsuite/" + ref));
            ASSERT_TRUE(want.Valid()) << ref;
            std::string diff = CompareWith(got, want, is16 ? &sixteen : nullptr);
            if (diff.empty()) matched = true;
            else if (firstError.empty()) firstError = ref + ": " + diff;
        }
        EXPECT_TRUE(matched) << rel << " " << firstError;
        ++checked;
    }
    EXPECT_EQ(checked, 27);
}

TEST_F(BmpCorpus, GoodFilesTitleWithTheirStoredSize) {
    std::string path = CorpusPath("bmpsuite/g/pal4rle.bmp");
    ASSERT_EQ(LoadImageFile(path), 0);
    EXPECT_EQ(CurrentImage.formatNote, "Windows Bitmap, Compression = RLE4");
    ASSERT_FALSE(NativeHost.titles.empty());
    EXPECT_EQ(NativeHost.titles.back(), " pal4rle.bmp (127x64x4)");
    path = CorpusPath("bmpsuite/g/pal8os2.bmp");
    ASSERT_EQ(LoadImageFile(path), 0);
    EXPECT_EQ(CurrentImage.formatNote, "OS/2 Bitmap, No Compression");
}

// Every other BMP of the corpus: decoded, or refused with one message; never a crash.
TEST_F(BmpCorpus, EveryOtherFileDecodesOrGivesOneMessage) {
    std::vector<std::string> files;
    for (const char* sub : {"bmpsuite/b", "bmpsuite/q", "bmpsuite/x"}) {
        auto more = ListFiles(CorpusPath(sub), ".bmp");
        files.insert(files.end(), more.begin(), more.end());
    }
    for (const std::string& path : ListFiles(CorpusPath(""), ".bmp"))
        if (path.find("/bmpsuite/") == std::string::npos) files.push_back(path);
    ASSERT_GT(files.size(), 100u);
    int refused = 0;
    for (const std::string& path : files) {
        NativeHostReset();
        std::string p = path;
        int result = LoadImageFile(p);
        if (result < 0) {
            ++refused;
            EXPECT_EQ(NativeHost.boxes.size(), 1u) << path;
            EXPECT_NE(NativeHost.boxes.at(0).find(": " + path), std::string::npos) << NativeHost.boxes.at(0);
        } else {
            EXPECT_EQ(CurrentImage.dib.bitsPerPixel, 24) << path;
            EXPECT_TRUE(NativeHost.boxes.empty()) << path << ": " << NativeHost.boxes.at(0);
        }
    }
    EXPECT_GT(refused, 10);
}

TEST_F(BmpCorpus, BadFilesAreRefusedWithTheReadersTexts) {
    struct { const char* file; const char* text; } cases[] = {
        {"b/badbitcount.bmp", "bits per pixel are not supported in file "},
        {"b/badfilesize.bmp", "File is truncated "},
        {"b/badheadersize.bmp", "Invalid BMP file. Bad header length in file "},
        {"b/badplanes.bmp", "Wrong number of planes"},
        {"b/badpalettesize.bmp", "Unsupported BMP colormap format in file. biClrUsed = "},
        {"b/reallybig.bmp", "File is truncated "},
    };
    for (auto c : cases) {
        NativeHostReset();
        std::string p = CorpusPath(std::string("bmpsuite/") + c.file);
        EXPECT_LT(LoadImageFile(p), 0) << c.file;
        ASSERT_EQ(NativeHost.boxes.size(), 1u) << c.file;
        EXPECT_NE(NativeHost.boxes[0].find(c.text), std::string::npos) << NativeHost.boxes[0];
        EXPECT_EQ(NativeHost.captions[0], "Viewer");
    }
}

}  // namespace

namespace {

// Files that once broke the reader (kept under tests/regress) load or are refused cleanly.
TEST(BmpRegressions, LoadOrAreRefused) {
    ResetEngineState();
    for (const std::string& path : ListFiles(std::string(LUMORA_TESTDATA) + "/regress/bmp", "")) {
        NativeHostReset();
        std::string p = path;
        if (LoadImageFile(p) < 0) {
            EXPECT_EQ(NativeHost.boxes.size(), 1u) << path;
        }
    }
    ResetEngineState();
}

}  // namespace
