// The animation builder over a folder of pictures, the decomposer writing numbered
// frames, and what a movie writer is handed of an animation.
#include <gtest/gtest.h>

#include <functional>

#include "base/appstate.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "core/save.h"
#include "core/title.h"
#include "edit/animation.h"
#include "platform/host.h"
#include "platform/native/host_native.h"
#include "settings/filelist.h"
#include "test_support.h"
#include "view/animation_tools.h"

namespace {

class AnimationTools : public ::testing::Test {
protected:
    std::string dir, cwd;
    void SetUp() override {
        ResetEngineState();
        StopAnimation();
        dir = ScratchDir("animation-tools");
        cwd = HostGetCurrentDir();
        HostSetCurrentDir(dir);
        fileSpec.clear();
        for (int i = 0; i < kTypePatternCount; ++i) typePatternEnabled[i] = true;
        buildAnimationOptions = BuildAnimationOptions();
        NativeHostBoxAnswer = kIdYes;
    }
    void TearDown() override {
        StopAnimation();
        HostSetCurrentDir(cwd);
        FileList = FileListState();
        NativeHostBoxAnswer = kIdOk;
        animFrameMemoryLimit = kDefaultFrameMemoryLimit;
        ResetEngineState();
    }
    // An empty scratch folder, current again (it was made anew).
    void Fresh() {
        ScratchDir("animation-tools");
        HostSetCurrentDir(dir);
    }
    // A picture whose every byte is `fill`; a fill of 0 writes a file no reader takes.
    void Put(const std::string& name, int w, int h, uint8_t fill) {
        WriteBytes(dir + "/" + name, fill ? MakeBmp24(w, h, fill) : std::vector<uint8_t>{'B', 'M', 1});
    }
    static std::vector<int> Fills() {
        std::vector<int> v;
        for (int i = 0; i < animFrameCount; ++i) v.push_back(animFrames[i].image.bits[0]);
        return v;
    }
    static std::vector<std::string> Boxes() { return NativeHost.boxes; }
    // An animation of 2x2 frames whose red is the frame number from 1, shown over a
    // picture of red 200.
    void MakeFrames(int count) {
        for (int i = 0; i < count; ++i) {
            CreateAnimFrameImage(i, 2, 2);
            animFrames[i].image.Fill(static_cast<uint8_t>(i + 1), 0, 0);
            animFrames[i].delay = 50;
        }
        animFrameCount = count;
        animFramesLoaded = true;
        CurrentImage.fileType = FT_GIF;
        CurrentImage.saveType = FT_GIF;
        CurrentImage.dib.Create(2, 2, 24);
        CurrentImage.dib.Fill(200, 0, 0);
        titleText = "walk.gif (2x2x8)";
    }
    static std::vector<std::string> Written() {
        std::vector<std::string> names;
        for (const std::string& path : ListFiles(".", "")) names.push_back(path.substr(path.rfind('/') + 1));
        std::sort(names.begin(), names.end());
        return names;
    }
};
using Decompose = AnimationTools;

const std::string kQuestion = "Faulty frame. Dimensions changed. Continue?";

TEST_F(AnimationTools, BuilderTakesTheFolderInOrderAndAsksAfterAFaultyFrame) {
    struct File {
        const char* name;
        int w;
        uint8_t fill;
    };
    const struct Case {
        const char* what;
        std::vector<File> files;
        bool ascending;
        int answer;
        std::vector<int> fills;
        std::vector<std::string> boxStarts;
    } cases[] = {
        {"ascending", {{"a.bmp", 2, 10}, {"b.bmp", 2, 20}, {"c.bmp", 2, 30}}, true, kIdYes, {10, 20, 30}, {}},
        {"descending", {{"a.bmp", 2, 10}, {"b.bmp", 2, 20}, {"c.bmp", 2, 30}}, false, kIdYes, {30, 20, 10}, {}},
        {"size change, go on", {{"a.bmp", 2, 10}, {"b.bmp", 3, 20}, {"c.bmp", 2, 30}}, true, kIdYes, {10, 30}, {kQuestion}},
        {"size change, stop", {{"a.bmp", 2, 10}, {"b.bmp", 3, 20}, {"c.bmp", 2, 30}}, true, kIdNo, {10}, {kQuestion}},
        {"broken file", {{"a.bmp", 2, 10}, {"b.bmp", 2, 0}, {"c.bmp", 2, 30}}, true, kIdYes, {10, 30},
         {"Can't create GIF frame due to file display fail : " + dir + "/b.bmp", kQuestion}},
        {"faulty last file asks nothing", {{"a.bmp", 2, 10}, {"b.bmp", 3, 20}}, true, kIdYes, {10}, {}},
        {"broken last file", {{"a.bmp", 2, 10}, {"b.bmp", 2, 20}, {"c.bmp", 2, 0}}, true, kIdYes, {10, 20},
         {"Can't create GIF frame due to file display fail : " + dir + "/c.bmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineState();
        FileList = FileListState();
        Fresh();
        for (const File& f : c.files) Put(f.name, f.w, 2, f.fill);
        buildAnimationOptions.ascending = c.ascending;
        buildAnimationOptions.delayMs = 200;
        NativeHostBoxAnswer = c.answer;
        ASSERT_EQ(BuildAnimation(), 0);
        EXPECT_EQ(Fills(), c.fills);
        const std::vector<std::string> boxes = Boxes();
        ASSERT_EQ(boxes.size(), c.boxStarts.size());
        for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i].rfind(c.boxStarts[i], 0), 0u) << boxes[i];
        EXPECT_EQ(EditState, EDIT_NONE);
        EXPECT_EQ(GIFAnimation, 1);
        // The result plays at the typed delay and is saved as a GIF of its own.
        EXPECT_EQ(CurrentImage.fileType, FT_GIF);
        EXPECT_EQ(CurrentImage.saveType, FT_GIF);
        EXPECT_TRUE(CurrentImage.fullPath.empty());
        EXPECT_FALSE(CurrentImage.failedLoad);  // Save takes it
        EXPECT_TRUE(ImageIsChanged());          // leaving it unsaved asks first
        EXPECT_EQ(CurrentImage.dib.bits[0], c.fills[0]);
        EXPECT_EQ(animFrames[0].delay, 200);
        if (c.fills.size() > 1) {
            EXPECT_TRUE(animRunning);
            EXPECT_EQ(animIndex, 1);
            EXPECT_EQ(NativeHost.frameTimer, 200);
            EXPECT_EQ(NativeHost.titles.back(), FormatText("<1>of<%d> delay=200.0mS: %s", static_cast<int>(c.fills.size()),
                                                           c.ascending ? "a.bmp" : "c.bmp"));
        }
        StopAnimation();
    }
}

TEST_F(AnimationTools, BuilderStopsAtEscapeAtTheFrameLimitAndAtTheMemoryLimit) {
    const struct Case {
        const char* what;
        int files;
        std::function<void()> arrange;
        int frames;
        const char* box;
    } cases[] = {
        {"Escape after the second frame", 4, [] {
             NativeHostOnPump = [] {
                 for (const std::string& t : NativeHost.titles)
                     if (t == "Reading Frame: 1 of 4") EditState = EDIT_NONE;
             };
         }, 2, nullptr},
        {"memory for two frames", 4, [] { animFrameMemoryLimit = 2 * (sizeof(DibHeader) + 2 * 8) + 1; }, 2,
         "Not all animation frames could be loaded"},
        {"more files than frames", kMaxAnimFrames + 1, [] {}, kMaxAnimFrames, "Not all animation frames could be loaded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineState();
        FileList = FileListState();
        animFrameMemoryLimit = kDefaultFrameMemoryLimit;
        Fresh();
        for (int i = 0; i < c.files; ++i) Put(FormatText("f%04d.bmp", i), 2, 2, static_cast<uint8_t>(1 + i % 250));
        c.arrange();
        ASSERT_EQ(BuildAnimation(), 0);
        NativeHostOnPump = nullptr;
        EXPECT_EQ(animFrameCount, c.frames);
        EXPECT_EQ(ShownBoxes(), c.box ? std::string(c.box) + "\n" : "");
        EXPECT_EQ(EditState, EDIT_NONE);
        StopAnimation();
        EXPECT_EQ(AnimFrameBytes(), 0u);  // nothing collected is left counted
    }
}

// An animated GIF among the inputs gives its first frame; the table it would fill on
// loading is not the one being built.
TEST_F(AnimationTools, AnimatedInputGivesItsFirstFrame) {
    MakeFrames(2);
    ASSERT_EQ(WriteImageFile(dir + "/b.gif"), 0) << ShownBoxes();
    StopAnimation();
    Put("a.bmp", 2, 2, 10);
    Put("c.bmp", 2, 2, 30);
    ASSERT_EQ(BuildAnimation(), 0) << ShownBoxes();
    ASSERT_EQ(animFrameCount, 3);
    EXPECT_EQ(animFrames[1].image.bits[2], 1);  // red of the GIF's first frame
    EXPECT_EQ(animFrames[1].delay, 10);
    EXPECT_EQ(animFrames[2].image.bits[0], 30);
    EXPECT_EQ(GIFAnimation, 1);
}


TEST_F(Decompose, WritesNumberedFramesOrStopsAtTheFirstFailure) {
    const std::string longBase = std::string(256, 'n');
    const struct Case {
        const char* what;
        std::string base;
        DecomposeType type;
        long long writeBudget;
        int result;
        int written;  // frames written before the failure
        std::string box;
    } cases[] = {
        {"bitmaps", "a", DECOMPOSE_BMP, -1, 0, 12, ""},
        {"PNG", "b", DECOMPOSE_PNG, -1, 0, 12, ""},
        {"name too long", longBase, DECOMPOSE_JPEG, -1, -1, 0, "Error in Opening file: : "},
        {"no TGA writer", "a", DECOMPOSE_TGA, -1, -1, 0, "Error: File type <5> not supported in file: "},
        {"disk full in the second frame", "a", DECOMPOSE_BMP, 100, -1, 1, "Error in Saving file: : "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        MakeFrames(12);
        NativeHostReset();
        NativeHostWriteBudget = c.writeBudget;
        EXPECT_EQ(DecomposeAnimation(c.base, c.type), c.result);
        NativeHostWriteBudget = -1;
        std::vector<std::string> expected;
        for (int i = 0; i < c.written; ++i) expected.push_back(DecomposeFrameName(c.base, i, c.type));
        EXPECT_EQ(Written(), expected);
        if (c.box.empty()) {
            EXPECT_TRUE(NativeHost.boxes.empty()) << ShownBoxes();
        } else {
            ASSERT_EQ(NativeHost.boxes.size(), 1u) << ShownBoxes();
            EXPECT_EQ(NativeHost.boxes[0].rfind(c.box, 0), 0u) << NativeHost.boxes[0];
        }
        // The picture, its title and its save type are those from before.
        EXPECT_EQ(CurrentImage.dib.bits[2], 200);
        EXPECT_EQ(CurrentImage.saveType, FT_GIF);
        EXPECT_EQ(titleText, "walk.gif (2x2x8)");
        StopAnimation();
    }
    EXPECT_EQ(DecomposeFrameName("a", 11, DECOMPOSE_JPEG), "a0011.jpg");
    EXPECT_EQ(DecomposeFrameName("x/a", 3, DECOMPOSE_TGA), "x/a0003.tga");
}

TEST_F(Decompose, FramesWrittenAreTheFramesAndPlaybackGoesOn) {
    MakeFrames(3);
    ASSERT_EQ(StartAnimation(), 0);
    OnAnimationTick();
    ASSERT_EQ(DecomposeAnimation("f", DECOMPOSE_BMP), 0);
    // A playing animation starts again from its first frame, with its timer.
    EXPECT_TRUE(animRunning);
    EXPECT_EQ(animIndex, 1);
    EXPECT_EQ(NativeHost.frameTimer, 50);
    EXPECT_EQ(CurrentImage.dib.bits[2], 1);
    StopAnimation();
    std::string second = dir + "/f0001.bmp";
    ASSERT_EQ(LoadAfresh(second), 0);
    EXPECT_EQ(CurrentImage.dib.bits[2], 2);
    EXPECT_EQ(CurrentImage.dib.bitsPerPixel, 24);

    // No animation: nothing is written.
    NativeHostReset();
    EXPECT_EQ(DecomposeAnimation("g", DECOMPOSE_BMP), -1);
    EXPECT_EQ(ShownBoxes().rfind("There is no GIF animation file loaded! in file ", 0), 0u);
}

TEST_F(Decompose, DialogChoicesFollowTheSaveType) {
    const std::pair<FileType, DecomposeType> types[] = {
        {FT_BMP, DECOMPOSE_BMP}, {FT_JPEG, DECOMPOSE_JPEG}, {FT_TGA, DECOMPOSE_TGA},
        {FT_PNG, DECOMPOSE_PNG}, {FT_GIF, DECOMPOSE_JPEG}, {FT_WEBP, DECOMPOSE_JPEG}};
    for (const auto& t : types) EXPECT_EQ(DecomposeTypeFor(t.first), t.second) << t.first;
    EXPECT_EQ(DecomposeBaseName("/p/walk.gif"), "/p/walk");
    int delay = 7;
    EXPECT_TRUE(ParseFrameDelay(" 200 ", &delay));
    EXPECT_EQ(delay, 200);
    for (const char* bad : {"", "x", "-1", "65536", "1.5"}) {
        delay = 7;
        EXPECT_FALSE(ParseFrameDelay(bad, &delay)) << bad;
        EXPECT_EQ(delay, 7);
    }
}

// A movie writer gets the frame count, frame 0's size and each frame's rows; until there
// is one, writing an .MPG says the type is not supported.
TEST_F(Decompose, MovieHandOverAndMpegWrite) {
    EXPECT_EQ(AnimationForMovie().count, 0);
    MakeFrames(3);
    const MovieFrameSet set = AnimationForMovie();
    EXPECT_EQ(set.count, 3);
    EXPECT_EQ(set.width, 2);
    EXPECT_EQ(set.height, 2);
    uint32_t rowBytes = 0;
    const uint8_t* rows = MovieFrameRows(2, &rowBytes);
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rowBytes, 8u);
    EXPECT_EQ(rows[2], 3);  // red of frame 2, first pixel of the bottom row
    EXPECT_EQ(MovieFrameRows(3, &rowBytes), nullptr);
    EXPECT_EQ(MovieFrameRows(-1, &rowBytes), nullptr);

    CurrentImage.saveType = FT_MPEG;
    EXPECT_EQ(WriteImageFile(dir + "/m.mpg"), -1);
    EXPECT_EQ(ShownBoxes(), "Error: File type <23> not supported in file: " + dir + "/m.mpg\n");
    EXPECT_EQ(EditState, EDIT_NONE);
}

}  // namespace
