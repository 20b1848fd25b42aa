// WebP files: still pictures against the reference decoder (dwebp), transparency,
// animations against their reference frames and their delays, the EXIF chunk, broken
// files, and writing (lossless exact, lossy close, the file accepted by webpinfo).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

#include <webp/decode.h>

#include "base/settings.h"
#include "core/current_image.h"
#include "core/decode.h"
#include "core/frames.h"
#include "core/loader.h"
#include "core/save.h"
#include "platform/native/host_native.h"
#include "open/open.h"
#include "ops_test_support.h"
#include "test_support.h"

namespace {

std::string RunCommand(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    pclose(pipe);
    return text;
}

std::string Md5(const std::vector<uint8_t>& bytes, const std::string& scratch) {
    WriteBytes(scratch, bytes);
    return RunCommand("md5sum '" + scratch + "'").substr(0, 32);
}

// The reference md5 of dwebp's output for each "<file>.webp.<ext>" entry.
std::map<std::string, std::string> ReferenceMd5s(const std::string& listFile) {
    std::map<std::string, std::string> sums;
    const std::vector<uint8_t> bytes = ReadBytes(listFile);
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::string sum, name;
    while (lines >> sum >> name) sums[name] = sum;
    return sums;
}

// Decodes a file through the decode entry as the loader does; the picture before its
// conversion to 24 bits.
int Decode(const std::string& path, CDib& picture, ImageFacts& facts) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    bool headerPassed = false;
    NativeHostReset();
    return DecodeImage(FT_WEBP, bytes.data(), bytes.size(), picture, facts, &headerPassed);
}

// A file says whether it has alpha; a lossless one may still hold transparent pixels
// without saying so, which then show the background colour too.
bool HasAlpha(const std::string& path, const CDib& picture) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK || features.has_alpha) return true;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.Row(y)[4 * x + 3] != 255) return true;
    return false;
}

// The picture's blue, green, red as dwebp's PPM file: "P6\n<w> <h>\n255\n" and RGB rows.
std::vector<uint8_t> AsPpm(const CDib& picture) {
    const std::string head = "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    std::vector<uint8_t> out(head.begin(), head.end());
    const int bytes = picture.bitsPerPixel / 8;
    for (int y = picture.height - 1; y >= 0; --y) {
        const uint8_t* p = picture.Row(y);
        for (int x = 0; x < picture.width; ++x, p += bytes) out.insert(out.end(), {p[2], p[1], p[0]});
    }
    return out;
}

// dwebp's RGBA (its PAM output), top row first.
std::vector<uint8_t> ReferenceRgba(const std::string& file, const std::string& scratch, int* width, int* height) {
    std::vector<uint8_t> pam;
    if (std::system(("dwebp -pam -o '" + scratch + "' '" + file + "' >/dev/null 2>&1").c_str()) != 0) return pam;
    pam = ReadBytes(scratch);
    const std::string text(pam.begin(), pam.end());
    const size_t end = text.find("ENDHDR\n");
    if (end == std::string::npos || std::sscanf(text.c_str(), "P7\nWIDTH %d\nHEIGHT %d", width, height) != 2)
        return {};
    return std::vector<uint8_t>(pam.begin() + static_cast<long>(end + 7), pam.end());
}

// "" when the picture (24 or 32 bits) shows `rgba` (top row first): pixels with alpha
// above 0 (or `minAlpha`) keep their colour within `tolerance`, fully transparent ones
// are white.
std::string CompareRgba(const CDib& picture, const uint8_t* rgba, int width, int height, int minAlpha, int tolerance) {
    if (picture.width != width || picture.height != height) return "size differs";
    const int bytes = picture.bitsPerPixel / 8;
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = picture.Row(height - 1 - y);
        for (int x = 0; x < width; ++x, p += bytes) {
            const uint8_t* want = rgba + (static_cast<size_t>(y) * width + x) * 4;
            if (want[3] != 0 && want[3] < minAlpha) continue;
            for (int c = 0; c < 3; ++c) {
                const int expected = want[3] == 0 ? 255 : want[c];
                if (std::abs(p[2 - c] - expected) > tolerance)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " channel " + std::to_string(c) +
                           ": " + std::to_string(p[2 - c]) + " vs " + std::to_string(expected);
            }
        }
    }
    return "";
}

class Webp : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        if (!opstest::ToolAvailable("dwebp") || !opstest::ToolAvailable("img2webp") ||
            !opstest::ToolAvailable("webpinfo"))
            GTEST_SKIP() << "the webp tools are not installed";
        ResetEngineState();
        dir = ScratchDir("webp");
    }
    void TearDown() override {
        ReleaseAnimFrames();
        ResetEngineState();
    }
    static int Load(const std::string& path) { return LoadAfresh(path); }
    static std::string Boxes() { return ShownBoxes(); }
};

// Opaque files give dwebp's exact pixels (the md5 of its PPM output); files with alpha
// give its colours where alpha is above 0 and white where it is 0.
TEST_F(Webp, StillPicturesDecodeAsTheReferenceDecoder) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const std::string suite = CorpusPath("libwebp-test-data");
    const auto sums = ReferenceMd5s(suite + "/libwebp_tests.md5");
    std::vector<std::string> files = ListFiles(suite, ".webp");
    for (const std::string& f : ListFiles(CorpusPath("image-rs-webp/images/gallery2"), ".webp")) files.push_back(f);
    for (const std::string& f : ListFiles(CorpusPath("pillow-tests/webp"), ".webp")) files.push_back(f);
    int byMd5 = 0, byAlpha = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        CDib picture;
        ImageFacts facts;
        ASSERT_EQ(Decode(file, picture, facts), 0) << Boxes();
        if (animFramesLoaded) {
            ReleaseAnimFrames();
            continue;  // the animations are compared frame by frame below
        }
        EXPECT_EQ(picture.bitsPerPixel, 32);
        EXPECT_EQ(facts.storedBitsPerPixel, 32u);
        const std::string name = file.substr(file.rfind('/') + 1);
        const auto sum = sums.find(name + ".ppm");
        if (!HasAlpha(file, picture) && sum != sums.end()) {
            EXPECT_EQ(Md5(AsPpm(picture), dir + "/ours.ppm"), sum->second);
            ++byMd5;
            continue;
        }
        int width = 0, height = 0;
        const std::vector<uint8_t> rgba = ReferenceRgba(file, dir + "/ref.pam", &width, &height);
        ASSERT_FALSE(rgba.empty());
        EXPECT_EQ(CompareRgba(picture, rgba.data(), width, height, 0, 0), "");
        ++byAlpha;
    }
    EXPECT_GE(byMd5, 60);
    EXPECT_GE(byAlpha, 20);
}

TEST_F(Webp, TransparentPixelsTakeTheUserColourWhenAsked) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const std::string file = CorpusPath("pillow-tests/webp/transparent.webp");
    struct Case {
        int user;
        RgbColour colour;
        uint8_t blue, green, red;
    };
    const Case cases[] = {{0, {10, 20, 30}, 255, 255, 255}, {1, {10, 20, 30}, 30, 20, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        WEBPUserPackground = c.user;
        WEBPBackgroundColour = c.colour;
        CDib picture;
        ImageFacts facts;
        ASSERT_EQ(Decode(file, picture, facts), 0) << Boxes();
        int transparent = 0;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                const uint8_t* p = picture.Row(y) + 4 * x;
                if (p[3] != 0) continue;
                ++transparent;
                ASSERT_EQ(p[0], c.blue);
                ASSERT_EQ(p[1], c.green);
                ASSERT_EQ(p[2], c.red);
            }
        EXPECT_GT(transparent, 0);
    }
}

// Every frame is the composed canvas, equal to the reference frame where it is opaque
// (within 1: decoders round the blending of a partly transparent frame differently).
TEST_F(Webp, AnimationsFillTheFrameTable) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const struct {
        const char* name;
        int frames;
    } cases[] = {{"random_lossless", 3}, {"random_lossy", 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDib picture;
        ImageFacts facts;
        ASSERT_EQ(Decode(CorpusPath(std::string("image-rs-webp/images/animated/") + c.name + ".webp"), picture, facts),
                  0)
            << Boxes();
        ASSERT_TRUE(animFramesLoaded);
        ASSERT_EQ(animFrameCount, c.frames);
        EXPECT_EQ(facts.formatNote, "WEBP, Animated WebP with " + std::to_string(c.frames) + " frames");
        EXPECT_EQ(picture.bitsPerPixel, 24);
        for (int i = 0; i < c.frames; ++i) {
            SCOPED_TRACE(i);
            const RgbImage ref = ReadPngRgba(
                CorpusPath(std::string("image-rs-webp/reference/animated/") + c.name + "-" + std::to_string(i + 1) + ".png"));
            ASSERT_TRUE(ref.Valid());
            EXPECT_EQ(CompareRgba(animFrames[i].image, ref.rgb.data(), ref.width, ref.height, 255, 1), "");
            EXPECT_GT(animFrames[i].delay, 0);
        }
        ReleaseAnimFrames();
    }
}

// Twelve frames with their own durations keep them, in milliseconds.
TEST_F(Webp, AnimationDelaysAreTheFramesDurations) {
    std::string command = "img2webp -lossless -loop 0";
    std::vector<int> delays;
    for (int i = 0; i < 12; ++i) {
        CDib frame;
        opstest::MakePattern(frame, 20, 16);
        frame.Row(0)[0] = static_cast<uint8_t>(i * 20);
        const std::string in = dir + "/f" + std::to_string(i) + ".ppm";
        opstest::WritePpm(in, frame);
        delays.push_back(40 + 30 * i);
        command += " -d " + std::to_string(delays.back()) + " '" + in + "'";
    }
    ASSERT_EQ(std::system((command + " -o '" + dir + "/anim.webp' >/dev/null 2>&1").c_str()), 0);
    CDib picture;
    ImageFacts facts;
    ASSERT_EQ(Decode(dir + "/anim.webp", picture, facts), 0) << Boxes();
    ASSERT_EQ(animFrameCount, 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(animFrames[i].delay, delays[i]) << i;

    // Frame memory for five frames and a half: the animation is the first five, and the
    // user is told once.
    const uint64_t frameBytes = AnimFrameBytes() / 12;
    ReleaseAnimFrames();
    animFrameMemoryLimit = frameBytes * 5 + frameBytes / 2;
    ASSERT_EQ(Decode(dir + "/anim.webp", picture, facts), 0) << Boxes();
    animFrameMemoryLimit = kDefaultFrameMemoryLimit;
    EXPECT_EQ(animFrameCount, 5);
    EXPECT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
}

// The EXIF chunk becomes the EXIF block; the picture is shown as stored, not turned.
TEST_F(Webp, ExifChunkIsKeptAndThePictureNotTurned) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    for (int orientation = 2; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string file = CorpusPath("pillow-tests/webp/hopper_orientation_" + std::to_string(orientation) + ".webp");
        CDib picture;
        ImageFacts facts;
        ASSERT_EQ(Decode(file, picture, facts), 0) << Boxes();
        ASSERT_GE(facts.exif.size(), 6u);
        EXPECT_EQ(std::memcmp(facts.exif.data(), "Exif\0\0", 6), 0);
        picture.MakeTrueColour();
        NativeHostReset();
        ASSERT_EQ(Load(file), 0) << Boxes();
        EXPECT_EQ(CurrentImage.exif, facts.exif);
        EXPECT_EQ(CurrentImage.appliedOrientation, 0);
        EXPECT_EQ(DibToRgb(CurrentImage.dib).rgb, DibToRgb(picture).rgb);
    }
}

// Broken and cut files give a message or a picture, never more than one message.
TEST_F(Webp, BrokenFilesGiveAMessageOrAPicture) {
    std::vector<std::string> files;
    if (CorpusAvailable()) {
        files = ListFiles(CorpusPath("image-rs-image/regression/webp"), ".webp");
        const std::string whole = CorpusPath("libwebp-test-data/lossy_alpha1.webp");
        const std::vector<uint8_t> bytes = ReadBytes(whole);
        for (const size_t keep : {size_t{0}, size_t{11}, size_t{30}, bytes.size() / 2, bytes.size() - 1}) {
            const std::string cut = dir + "/cut" + std::to_string(keep) + ".webp";
            WriteBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(keep)));
            files.push_back(cut);
        }
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        NativeHostReset();
        const int result = Load(file);
        if (result == 0) EXPECT_FALSE(CurrentImage.dib.Empty());
        else EXPECT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
    }
}

class WebpWrite : public Webp {
protected:
    std::string Write(bool lossless, float quality) {
        CurrentImage.saveType = FT_WEBP;
        webpLossless = lossless;
        webpQuality = quality;
        const std::string out = dir + "/out.webp";
        EXPECT_EQ(WriteImageFile(out), 0) << Boxes();
        return out;
    }
    void TearDown() override {
        webpLossless = false;
        webpQuality = 75;
        Webp::TearDown();
    }
};

// A binary PPM (P6, maximum 255) into a 24-bit picture.
bool ReadPpm(const std::string& path, CDib& picture) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    int width = 0, height = 0, maximum = 0, used = 0;
    const std::string head(bytes.begin(), bytes.begin() + static_cast<long>(std::min<size_t>(bytes.size(), 64)));
    if (std::sscanf(head.c_str(), "P6 %d %d %d%n", &width, &height, &maximum, &used) != 3 || maximum != 255) return false;
    const size_t at = static_cast<size_t>(used) + 1;
    if (at + static_cast<size_t>(width) * height * 3 > bytes.size()) return false;
    picture.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture.Row(height - 1 - y);
        const uint8_t* src = &bytes[at + static_cast<size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            row[3 * x] = src[3 * x + 2];
            row[3 * x + 1] = src[3 * x + 1];
            row[3 * x + 2] = src[3 * x];
        }
    }
    return true;
}

double Psnr(const RgbImage& a, const RgbImage& b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += (a.rgb[i] - b.rgb[i]) * double(a.rgb[i] - b.rgb[i]);
    const double mse = sum / static_cast<double>(a.rgb.size());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

TEST_F(WebpWrite, LosslessIsExactAndLossyClose) {
    opstest::MakePattern(CurrentImage.dib, 61, 37);
    RgbImage before = DibToRgb(CurrentImage.dib);
    std::string out = Write(true, 5);
    EXPECT_NE(RunCommand("webpinfo '" + out + "' 2>&1").find("No error detected"), std::string::npos);
    ASSERT_EQ(Load(out), 0) << Boxes();
    EXPECT_EQ(DibToRgb(CurrentImage.dib).rgb, before.rgb);

    if (!CorpusAvailable()) return;
    ASSERT_TRUE(ReadPpm(CorpusPath("libjpeg-turbo-testimages/testorig.ppm"), CurrentImage.dib));
    before = DibToRgb(CurrentImage.dib);
    out = Write(false, 75);
    EXPECT_NE(RunCommand("webpinfo '" + out + "' 2>&1").find("No error detected"), std::string::npos);
    ASSERT_EQ(Load(out), 0) << Boxes();
    const RgbImage after = DibToRgb(CurrentImage.dib);
    ASSERT_EQ(after.rgb.size(), before.rgb.size());
    EXPECT_GE(Psnr(before, after), 30.0);
}

}  // namespace
