// Camera RAW files: DNG files written here decode exactly as dcraw_emu processes them with
// the reader's options, in both orientations and with an X-Trans filter; the camera lines
// and the EXIF button; files LibRaw does not understand or would not survive, sensors over
// the limit and Escape during decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/loader.h"
#include "platform/native/host_native.h"
#include "raw/raw.h"
#include "raw/raw_guard.h"
#include "tests/dng/dng_writer.h"
#include "view/metadata_dialogs.h"
#include "open/open.h"
#include "test_support.h"

namespace {

// The reader's processing options as dcraw_emu flags.
const char kReferenceFlags[] = "-w -o 1 -q 3";

// dcraw_emu's picture of `dng` as top-down RGB (an invalid image when it fails).
RgbImage ReferenceDecode(const std::string& dng) {
    const std::string ppm = dng + ".ppm";
    const std::string command =
        std::string("dcraw_emu ") + kReferenceFlags + " -Z '" + ppm + "' '" + dng + "' >/dev/null 2>&1";
    RgbImage image;
    std::remove(ppm.c_str());  // dcraw_emu reports some failures with a zero exit code
    if (std::system(command.c_str()) != 0) return image;
    const std::vector<uint8_t> bytes = ReadBytes(ppm);
    int w = 0, h = 0, max = 0, used = 0;
    const std::string text(bytes.begin(), bytes.end());
    if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &w, &h, &max, &used) != 3 || max != 255) return image;
    const size_t start = static_cast<size_t>(used) + 1, size = static_cast<size_t>(w) * h * 3;
    if (bytes.size() < start + size) return image;
    image.width = w;
    image.height = h;
    image.rgb.assign(bytes.begin() + static_cast<long>(start), bytes.begin() + static_cast<long>(start + size));
    return image;
}

class RawTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("raw");
    }
    void TearDown() override {
        NativeHostOnPump = nullptr;
        RawPixelLimit = uint64_t{1} << 28;
        RunMode = RUN_NORMAL;
    }
    std::string Write(const TestDng& dng, const std::string& name = "camera.dng") {
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(WriteTestDng(path, dng));
        return path;
    }
    std::string dir;
};

TEST_F(RawTest, DecodesAsTheReferenceToolDoes) {
    struct Case {
        int width, height, orientation, shownWidth, shownHeight;
        bool xtrans;
    } cases[] = {
        {96, 64, 1, 96, 64, false},
        {64, 64, 1, 64, 64, false},
        {96, 66, 6, 66, 96, false},  // turned a quarter: the picture is portrait
        {512, 512, 1, 512, 512, true},  // 36 values the glue must not refuse; LibRaw needs 512 by 512
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " orientation " << c.orientation
                                         << (c.xtrans ? " X-Trans" : ""));
        TestDng dng;
        dng.width = c.width;
        dng.height = c.height;
        dng.orientation = c.orientation;
        dng.xtrans = c.xtrans;
        const std::string path = Write(dng);
        const RgbImage expected = ReferenceDecode(path);
        ASSERT_TRUE(expected.Valid()) << "dcraw_emu did not process the file";

        uint16_t pw = 0, ph = 0, pd = 0;
        ASSERT_EQ(ProbeImageHeader(path, &pw, &ph, &pd), 0);
        EXPECT_EQ(pw, c.shownWidth);
        EXPECT_EQ(ph, c.shownHeight);
        EXPECT_EQ(pd, 24);

        ASSERT_EQ(LoadAfresh(path), 0) << ShownBoxes();
        EXPECT_EQ(RunMode, RUN_NORMAL);
        EXPECT_EQ(CurrentImage.formatNote, "RAW\n");
        EXPECT_EQ(CurrentImage.storedWidth, static_cast<uint32_t>(c.shownWidth));
        EXPECT_EQ(CurrentImage.storedHeight, static_cast<uint32_t>(c.shownHeight));
        const RgbImage got = DibToRgb(CurrentImage.dib);
        ASSERT_EQ(got.width, expected.width);
        ASSERT_EQ(got.height, expected.height);
        EXPECT_TRUE(got.rgb == expected.rgb) << "the picture differs from dcraw_emu's";
    }
    // The titles of the decoding: the camera first, the interpolation, the conversion.
    const std::vector<std::string>& titles = NativeHost.titles;
    for (const char* title : {"Loading Lumora Test Camera image from ", "Pre-interpolation...",
                              "Begin interpolation...", "Converting to RGB colorspace..."})
        EXPECT_NE(std::find(titles.begin(), titles.end(), title), titles.end()) << title;
}

TEST_F(RawTest, CameraLinesFeedTheExifDialog) {
    TestDng dng;
    dng.artist = "Ann Example";
    ASSERT_EQ(LoadAfresh(Write(dng)), 0) << ShownBoxes();
    const std::string lines =
        "Camera make\t: Lumora\r\nCamera model\t: Test Camera\r\nDate/Time\t: Fri May 17 10:20:30 2024\r\n"
        "Resolution\t: 96 x 64\r\nOwner\t: Ann Example\r\nISO speed\t: 0\r\nAperture\t\t: f/0.0\r\n"
        "Focal length\t: 0.0 mm\r\nEmb ICC profile\t: no\r\nNum raw images\t: 1\r\n"
        "Image full size\t:   96 x 64\r\n";
    EXPECT_EQ(RawCameraText(), lines);
    EXPECT_EQ(CurrentImage.rawCameraText, lines);
    const MetadataButton button = ExifButton(CurrentImage);
    EXPECT_STREQ(button.caption, "Display RAW camera data");
    EXPECT_TRUE(button.enabled);
    EXPECT_EQ(PictureExifText(CurrentImage), lines);

    // The next picture has no camera lines.
    const std::string bmp = dir + "/plain.bmp";
    WriteBytes(bmp, MakeBmp24(4, 4, 0x40));
    ASSERT_EQ(LoadAfresh(bmp), 0);
    EXPECT_TRUE(CurrentImage.rawCameraText.empty());
    EXPECT_FALSE(ExifButton(CurrentImage).enabled);
}

void PressEscape() { RunMode = RUN_NORMAL; }

std::vector<uint8_t> Noise() {
    std::vector<uint8_t> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7919 >> 3);
    return bytes;
}
std::vector<uint8_t> Bitmap() { return MakeBmp24(64, 64, 0x80); }

// The DNG's only strip moved to 100 bytes before the end: identified, but cut short.
void CutStrip(std::vector<uint8_t>& file) {
    auto u16 = [&](size_t at) { return static_cast<unsigned>(file[at] | file[at + 1] << 8); };
    const size_t ifd = file[4] | file[5] << 8 | file[6] << 16 | static_cast<size_t>(file[7]) << 24;
    for (unsigned i = 0, n = u16(ifd); i < n; ++i) {
        const size_t entry = ifd + 2 + 12 * i;
        if (u16(entry) != 273) continue;  // StripOffsets, one LONG
        const uint32_t at = static_cast<uint32_t>(file.size() - 100);
        for (int k = 0; k < 4; ++k) file[entry + 8 + k] = static_cast<uint8_t>(at >> (8 * k));
    }
}

// Fuzzers' inputs on which LibRaw ends the process unless the glue refuses them first.
std::vector<uint8_t> LongHasselbladModel() {
    return ReadBytes(std::string(LUMORA_TESTDATA) + "/regress/raw/hasselblad-model-name-overflow-1");
}
std::vector<uint8_t> CfaPatternWithoutRepeat() {
    return ReadBytes(std::string(LUMORA_TESTDATA) + "/regress/raw/cfa-pattern-36-without-6x6-1");
}

// A little-endian TIFF header and one directory holding a make and a model, each stored
// after the directory, unterminated when `terminated` is false.
std::vector<uint8_t> CameraTiff(const std::string& make, const std::string& model, bool terminated) {
    std::vector<uint8_t> b = {'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0};
    auto u16 = [&](uint32_t v) { b.push_back(v & 255), b.push_back(v >> 8 & 255); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
    const uint32_t makeAt = 8 + 2 + 24 + 4, modelAt = makeAt + static_cast<uint32_t>(make.size()) + 1;
    u16(0x010F), u16(2), u32(static_cast<uint32_t>(make.size()) + 1), u32(makeAt);
    u16(0x0110), u16(2), u32(static_cast<uint32_t>(model.size()) + terminated), u32(modelAt);
    u32(0);
    b.insert(b.end(), make.begin(), make.end());
    b.push_back(0);
    b.insert(b.end(), model.begin(), model.end());
    if (terminated) b.push_back(0);
    return b;
}

TEST(RawGuard, RefusesOnlyLongHasselbladModelNames) {
    const std::string longName(62, 'd');
    struct Case {
        const char* make;
        std::string model;
        bool terminated, refused;
    } cases[] = {
        {"Hasselblad", "CFV II 50C", true, false},
        {"Hasselblad", std::string(59, 'd'), false, false},
        {"Hasselblad", longName, true, true},
        {"HASSELBLAD", longName, false, true},
        {"\x07)Hasselblad\x07", longName, true, true},
        {"Canon", longName, true, false},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> file = CameraTiff(c.make, c.model, c.terminated);
        EXPECT_EQ(OverrunsLibRawModelName(file.data(), file.size()), c.refused) << c.make << " " << c.model.size();
    }
    // Cut anywhere, the walk stays inside the bytes it is given.
    const std::vector<uint8_t> file = CameraTiff("Hasselblad", longName, true);
    for (size_t n = 0; n < file.size(); ++n) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(n));
        OverrunsLibRawModelName(cut.data(), cut.size());
    }
}

// A TIFF directory of the given entries (tag, type, count, value held in place) after some
// pixel-like bytes, in either byte order.
struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
};
std::vector<uint8_t> Directory(const std::vector<Entry>& entries, bool little) {
    std::vector<uint8_t> b(40, 0x24);
    auto put = [&](uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) b.push_back(static_cast<uint8_t>(v >> 8 * (little ? k : bytes - 1 - k)));
    };
    put(static_cast<uint32_t>(entries.size()), 2);
    for (const Entry& e : entries) {
        put(e.tag, 2), put(e.type, 2), put(e.count, 4);
        if (e.type == 3) put(e.value >> 16, 2), put(e.value & 0xFFFF, 2);
        else put(e.value, 4);
    }
    put(0, 4);
    return b;
}

TEST(RawGuard, RefusesThirtySixValuePatternsOutsideASixBySixRepeat) {
    const Entry sixBySix{0x828D, 3, 2, 6 << 16 | 6}, twoByTwo{0x828D, 3, 2, 2 << 16 | 2};
    const Entry xtrans{0x828E, 1, 36, 200}, bayer{0x828E, 1, 4, 0x00010102}, kodak{0xFD09, 1, 36, 200};
    struct Case {
        const char* name;
        std::vector<Entry> entries;
        bool refused;
    } cases[] = {
        {"an X-Trans pattern after its 6 by 6 repeat", {sixBySix, xtrans}, false},
        {"a Bayer pattern", {twoByTwo, bayer}, false},
        {"36 values after a 2 by 2 repeat", {twoByTwo, xtrans}, true},
        {"36 values with no repeat", {xtrans}, true},
        {"36 values with the repeat after them", {xtrans, sixBySix}, true},
        {"a 6 by 6 repeat stored elsewhere", {{0x828D, 4, 2, 8}, xtrans}, true},
        {"a Kodak pattern of 36 values", {sixBySix, kodak}, true},
        {"a Kodak pattern of 4 values", {{0xFD09, 1, 4, 0x00010102}}, false},
    };
    for (const Case& c : cases) {
        for (bool little : {true, false}) {
            const std::vector<uint8_t> file = Directory(c.entries, little);
            EXPECT_EQ(EndlessLibRawCfaCopy(file.data(), file.size()), c.refused) << c.name << (little ? " II" : " MM");
            EXPECT_EQ(EndsLibRaw(file.data(), file.size()), c.refused) << c.name;
        }
    }
    // Cut anywhere, the search stays inside the bytes it is given.
    const std::vector<uint8_t> file = Directory({xtrans}, false);
    for (size_t n = 0; n < file.size(); ++n) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<long>(n));
        EndlessLibRawCfaCopy(cut.data(), cut.size());
    }
}

TEST_F(RawTest, RefusedFilesSayWhy) {
    struct Case {
        const char* name;
        int startMode;
        std::vector<uint8_t> (*other)();  // bytes of another kind; null: a DNG file
        void (*damage)(std::vector<uint8_t>&);  // done to the DNG file
        void (*onPump)();
        uint64_t pixelLimit;
        const char* box;      // its text, the path for "%s"
        const char* caption;
    } cases[] = {
        {"random bytes", RUN_NORMAL, Noise, nullptr, nullptr, uint64_t{1} << 28,
         "The format of this RAW file is unsupported: %s\n", "Viewer"},
        {"a bitmap", RUN_NORMAL, Bitmap, nullptr, nullptr, uint64_t{1} << 28,
         "The format of this RAW file is unsupported: %s\n", "Viewer"},
        {"escape", RUN_NORMAL, nullptr, nullptr, PressEscape, uint64_t{1} << 28, "Terminated at user's request: %s\n",
         "Viewer"},
        {"escape while stepping", RUN_STEPPING, nullptr, nullptr, PressEscape, uint64_t{1} << 28,
         "Terminated at user's request: %s\n", "Viewer"},
        {"sensor over the limit", RUN_NORMAL, nullptr, nullptr, nullptr, 96 * 64 - 1,
         "Image size 96 x 64 not supported in file: %s\n", "Viewer"},
        {"a Hasselblad model name that LibRaw overruns", RUN_NORMAL, LongHasselbladModel, nullptr, nullptr,
         uint64_t{1} << 28, "The format of this RAW file is unsupported: %s\n", "Viewer"},
        {"a CFA pattern that LibRaw copies without end", RUN_NORMAL, CfaPatternWithoutRepeat, nullptr, nullptr,
         uint64_t{1} << 28, "The format of this RAW file is unsupported: %s\n", "Viewer"},
        {"pixels cut short", RUN_NORMAL, nullptr, CutStrip, nullptr, uint64_t{1} << 28, "Processing fail in RAW file: %s",
         "Process RAW File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path;
        if (c.other == nullptr) {
            path = Write(TestDng());
            if (c.damage != nullptr) {
                std::vector<uint8_t> bytes = ReadBytes(path);
                c.damage(bytes);
                WriteBytes(path, bytes);
            }
        } else {
            path = dir + "/other.dng";
            WriteBytes(path, c.other());
        }
        NativeHostReset();
        NativeHostOnPump = c.onPump;
        RawPixelLimit = c.pixelLimit;
        RunMode = c.startMode;
        EXPECT_EQ(LoadImageFile(path), -1);
        EXPECT_EQ(RunMode, c.startMode);
        std::string box = c.box;
        box.replace(box.find("%s"), 2, path);
        EXPECT_EQ(ShownBoxes(), box + "\n");
        EXPECT_EQ(NativeHost.captions, std::vector<std::string>{c.caption});
        NativeHostOnPump = nullptr;
        RawPixelLimit = uint64_t{1} << 28;
        RunMode = RUN_NORMAL;
    }
}

}  // namespace
