// Playback of the frame table: frame order and wrap, timer intervals, titles, single
// step and resume, failures, and the settings dialogs' parsing.
#include <gtest/gtest.h>

#include "edit/animation.h"
#include "edit/geometry.h"
#include "ops/resize.h"
#include "base/appstate.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/frames.h"
#include "core/loader.h"
#include "core/save.h"
#include "open/open.h"
#include "platform/host.h"
#include "platform/native/host_native.h"
#include "core/title.h"
#include "test_support.h"

namespace {

TEST(AnimationArithmetic, IntervalsWrapAndTitle) {
    EXPECT_EQ(WrapAnimIndex(3, 3), 0);
    EXPECT_EQ(WrapAnimIndex(-1, 3), 2);
    EXPECT_EQ(WrapAnimIndex(1, 3), 1);
    // Delays are milliseconds; the speed is a percentage of them.
    EXPECT_DOUBLE_EQ(AnimFrameDelay(100, 100), 100.0);
    EXPECT_DOUBLE_EQ(AnimFrameDelay(100, 150), 150.0);
    EXPECT_EQ(AnimTimerInterval(AnimFrameDelay(70, 120)), 84u);
    EXPECT_EQ(AnimTimerInterval(AnimFrameDelay(99, 50)), 49u);  // 49.5 truncated
    // Below 10 ms, and a frame without delay, play at 10 ms.
    EXPECT_EQ(AnimTimerInterval(AnimFrameDelay(5, 100)), 10u);
    EXPECT_EQ(AnimTimerInterval(AnimFrameDelay(0, 100)), 10u);
    EXPECT_EQ(AnimTimerInterval(AnimFrameDelay(100, 0.5)), 10u);
    // Key '3' pressed without end still gives a timer the system takes.
    EXPECT_EQ(AnimTimerInterval(AnimFrameDelay(65535, 1e12)), 0x7FFFFFFFu);
    EXPECT_EQ(AnimFrameTitlePrefix(2, 5, 150.0), "<2>of<5> delay=150.0mS: ");
    EXPECT_EQ(AnimFrameTitlePrefix(1, 3, 49.5), "<1>of<3> delay=49.5mS: ");
}

TEST(AnimationDialogs, SpeedAndColourTexts) {
    double speed = 7;
    EXPECT_TRUE(ParseAnimSpeed("150", &speed));
    EXPECT_EQ(speed, 150.0);
    EXPECT_TRUE(ParseAnimSpeed(" 0 ", &speed));
    EXPECT_EQ(speed, 1.0);  // 0 would stop time: it counts as 1
    EXPECT_TRUE(ParseAnimSpeed("1000000", &speed));
    for (const char* bad : {"", "  ", "-5", "12a", "1.5", "1000001", "99999999999999999999"}) {
        speed = 7;
        EXPECT_FALSE(ParseAnimSpeed(bad, &speed)) << bad;
        EXPECT_EQ(speed, 7.0) << bad;
    }
    RgbColour c{1, 2, 3};
    EXPECT_TRUE(ParseHexColour("ff8000", &c));
    EXPECT_EQ(HexColourText(c), "FF8000");
    EXPECT_TRUE(ParseHexColour(" 0A0b0C ", &c));
    EXPECT_EQ(c.red, 10);
    EXPECT_EQ(c.green, 11);
    EXPECT_EQ(c.blue, 12);
    for (const char* bad : {"", "FF80", "FF80001", "GG0000", "FF 000"}) {
        c = {1, 2, 3};
        EXPECT_FALSE(ParseHexColour(bad, &c)) << bad;
        EXPECT_EQ(HexColourText(c), "010203") << bad;
    }
}

class Playback : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        StopAnimation();
        animIndex = 0;
        showFrameNumbers = true;
        animSpeed = 100;
        animForward = true;
        InputFile.SetPath("/pictures/walk.gif");
        CurrentImage.fileType = FT_GIF;
        titleText = "walk.gif (2x1x8)";
    }
    void TearDown() override {
        StopAnimation();
        ResetEngineState();
    }
    // A table of frames whose one pixel's blue value is the frame number, with these delays.
    void MakeFrames(std::initializer_list<int> delays) {
        int i = 0;
        for (int delay : delays) {
            CreateAnimFrameImage(i, 2, 1);
            animFrames[i].image.FillRGB(0);
            animFrames[i].image.bits[0] = static_cast<uint8_t>(i + 1);
            animFrames[i].delay = static_cast<uint16_t>(delay);
            ++i;
        }
        animFrameCount = i;
        animFramesLoaded = true;
    }
    static int Shown() { return CurrentImage.dib.bits[0] - 1; }
    static std::string Title() { return NativeHost.titles.empty() ? "" : NativeHost.titles.back(); }
};

TEST_F(Playback, FramesFollowTheTimerAndWrapBothWays) {
    MakeFrames({100, 200, 30});
    ASSERT_EQ(StartAnimation(), 0);
    EXPECT_TRUE(animRunning);
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(NativeHost.frameTimer, 100);
    EXPECT_EQ(Title(), "<1>of<3> delay=100.0mS: walk.gif");
    EXPECT_TRUE(AnimationPlaying());
    OnAnimationTick();
    EXPECT_EQ(Shown(), 1);
    EXPECT_EQ(NativeHost.frameTimer, 200);
    // The speed keys change the interval from the next frame on.
    animSpeed = 50;
    OnAnimationTick();
    EXPECT_EQ(Shown(), 2);
    EXPECT_EQ(NativeHost.frameTimer, 15);
    EXPECT_EQ(Title(), "<3>of<3> delay=15.0mS: walk.gif");
    OnAnimationTick();
    EXPECT_EQ(Shown(), 0);  // past the last frame: the first again
    // Turned round: the index already points past the frame shown, then steps back.
    animForward = false;
    OnAnimationTick();
    EXPECT_EQ(Shown(), 1);
    OnAnimationTick();
    EXPECT_EQ(Shown(), 0);
    OnAnimationTick();
    EXPECT_EQ(Shown(), 2);  // before the first frame: the last
    EXPECT_EQ(NativeHost.timerArms, 7);
}

TEST_F(Playback, SingleStepPausesAndResumeStartsAgain) {
    MakeFrames({100, 100, 100});
    ASSERT_EQ(StartAnimation(), 0);
    OnAnimationTick();
    EXPECT_EQ(animIndex, 2);
    animSpeed = 300;
    AnimationSingleStep();
    EXPECT_TRUE(animPaused);
    EXPECT_EQ(Shown(), 2);
    EXPECT_EQ(animIndex, 3);
    EXPECT_EQ(NativeHost.frameTimer, -1);  // no timer while stepping
    EXPECT_EQ(Title(), "<3>of<3> delay=300.0mS: walk.gif");
    EXPECT_FALSE(AnimationPlaying());
    AnimationSingleStep();
    EXPECT_EQ(Shown(), 0);
    AnimationSingleStep();
    EXPECT_EQ(Shown(), 1);
    AnimationResume();
    EXPECT_FALSE(animPaused);
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(animSpeed, 100.0);
    EXPECT_EQ(NativeHost.frameTimer, 100);
    EXPECT_TRUE(AnimationPlaying());
}

TEST_F(Playback, OneFrameShowsOnceWithTheNormalTitle) {
    MakeFrames({100});
    ASSERT_EQ(StartAnimation(), 0);
    EXPECT_FALSE(animRunning);
    EXPECT_EQ(Shown(), 0);
    EXPECT_EQ(NativeHost.frameTimer, -1);
    EXPECT_EQ(Title(), "walk.gif (2x1x8)");
    EXPECT_FALSE(AnimationPlaying());
}

TEST_F(Playback, FrameNumbersOffKeepTheNormalTitle) {
    MakeFrames({40, 40});
    showFrameNumbers = false;
    ASSERT_EQ(StartAnimation(), 0);
    OnAnimationTick();
    EXPECT_EQ(Title(), "walk.gif (2x1x8)");
    EXPECT_EQ(NativeHost.frameTimer, 40);
    EXPECT_FALSE(AnimationOwnsTitle());
}

TEST_F(Playback, WhileWritingThePictureStaysOnTheFirstFrame) {
    MakeFrames({40, 40});
    ASSERT_EQ(StartAnimation(), 0);
    EditState = EDIT_WRITING_ANIMATION;
    for (int tick = 0; tick < 2; ++tick) {
        HostKillFrameTimer();  // the window timer is one-shot: a tick ends it
        OnAnimationTick();
        EXPECT_EQ(Shown(), 0);
        EXPECT_EQ(animIndex, 1);
        // Armed again, so that the animation plays on once the write is over.
        EXPECT_EQ(NativeHost.frameTimer, 40);
    }
    EditState = EDIT_NONE;
    HostKillFrameTimer();
    OnAnimationTick();
    EXPECT_EQ(Shown(), 1);
    EXPECT_TRUE(AnimationPlaying());
}

TEST_F(Playback, NoTimerLeftStopsWithAWarning) {
    MakeFrames({40, 40});
    NativeHostTimerFails = true;
    EXPECT_EQ(StartAnimation(), -1);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "Too many timers open for GIF Animation!");
    EXPECT_EQ(NativeHost.captions[0], "GIF Animation");
    EXPECT_FALSE(animRunning);
    EXPECT_EQ(animFrameCount, 0);
    EXPECT_FALSE(AnimationPlaying());
}

TEST_F(Playback, StoppedAnimationReleasesFramesAndBlocksNothing) {
    MakeFrames({40, 40, 40});
    ASSERT_EQ(StartAnimation(), 0);
    StopAnimation();
    EXPECT_EQ(animFrameCount, 0);  // nothing may reach the released pictures
    EXPECT_FALSE(animFramesLoaded);
    EXPECT_TRUE(animFrames[0].image.Empty());
    EXPECT_EQ(NativeHost.frameTimer, -1);
    EXPECT_FALSE(animRunning);
    EXPECT_FALSE(AnimationPlaying());
    EXPECT_EQ(Title(), "walk.gif (2x1x8)");
    // The picture on the screen stays as it was.
    EXPECT_EQ(Shown(), 0);
    // Stepping has nothing to show; resuming says so and leaves nothing running.
    AnimationSingleStep();
    EXPECT_TRUE(NativeHost.boxes.empty());
    AnimationResume();
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "There is no GIF animation file loaded! in file : /pictures/walk.gif\n");
    EXPECT_FALSE(animRunning);
    EXPECT_FALSE(AnimationPlaying());
}

TEST_F(Playback, LoadingAGifPlaysItAndTheNextFileStopsIt) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    std::string gif = CorpusPath("image-rs-image/images/gif/anim/any-disposal.gif");
    ASSERT_EQ(LoadImageFile(gif), 0);
    ASSERT_GT(animFrameCount, 1);
    EXPECT_TRUE(animRunning);
    EXPECT_NE(NativeHost.frameTimer, -1);
    EXPECT_EQ(animIndex, 1);
    EXPECT_EQ(Title().rfind("<1>of<", 0), 0u) << Title();
    const std::string dir = ScratchDir("animation");
    std::string bmp = dir + "/still.bmp";
    WriteBytes(bmp, MakeBmp24(3, 2, 0x40));
    ASSERT_EQ(LoadImageFile(bmp), 0);
    EXPECT_FALSE(animRunning);
    EXPECT_EQ(animFrameCount, 0);
    EXPECT_EQ(NativeHost.frameTimer, -1);
    EXPECT_EQ(Title(), titleText);
}

// Resizing an animation resizes every frame with the picture shown, and the screen with
// them; frames that would pass the memory limit leave everything as it was.
TEST_F(Playback, ResizeTakesEveryFrameOrNone) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    std::string gif = CorpusPath("image-rs-image/images/gif/anim/any-disposal.gif");
    ASSERT_EQ(LoadImageFile(gif), 0);
    ASSERT_GT(animFrameCount, 1);
    const int w = animScreenWidth, h = animScreenHeight;
    const ResizeRequest kept = resizeRequest;
    resizeRequest = ResizeRequest();
    resizeRequest.useSize = 1;
    resizeRequest.width = w * 2;
    resizeRequest.height = h * 2;
    resizeRequest.xScale = resizeRequest.yScale = 2;

    const uint64_t limit = animFrameMemoryLimit;
    animFrameMemoryLimit = AnimFrameBytes();  // room for the frames as they are only
    NativeHost.boxes.clear();
    EXPECT_EQ(ResizeCurrentImage(), -1);
    EXPECT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(ShownBoxes().rfind("Resize GIF failed in file ", 0), 0u) << ShownBoxes();
    EXPECT_EQ(animScreenWidth, w);
    EXPECT_EQ(animFrames[1].image.width, w);
    EXPECT_EQ(CurrentImage.dib.width, w);
    // A resize that changed nothing leaves no step: the picture is still the file's.
    EXPECT_EQ(CurrentImage.undoTop, -1);
    EXPECT_TRUE(FrameTableIsCurrent());
    animFrameMemoryLimit = limit;

    ASSERT_EQ(ResizeCurrentImage(), 0) << ShownBoxes();
    EXPECT_EQ(animScreenWidth, 2 * w);
    EXPECT_EQ(animScreenHeight, 2 * h);
    for (int i = 0; i < animFrameCount; ++i) {
        EXPECT_EQ(animFrames[i].image.width, 2 * w);
        EXPECT_EQ(animFrames[i].height, 2 * h);
    }
    EXPECT_EQ(CurrentImage.dib.width, 2 * w);
    Undo();
    EXPECT_EQ(CurrentImage.dib.width, w);
    // The frames come back with the picture.
    EXPECT_EQ(animScreenWidth, w);
    EXPECT_EQ(animScreenHeight, h);
    for (int i = 0; i < animFrameCount; ++i) {
        EXPECT_EQ(animFrames[i].image.width, w) << i;
        EXPECT_EQ(animFrames[i].image.height, h) << i;
    }
    resizeRequest = kept;
}

// A resize of every frame is one undo step: Undo brings each frame back as it was loaded,
// Redo the resized ones, and a save writes the animation the user sees, with all its
// frames. An edit of the picture alone still makes the save a still.
class FrameResize : public Playback {
protected:
    void SetUp() override {
        Playback::SetUp();
        kept = resizeRequest;
        resizeRequest = ResizeRequest();
        resizeRequest.useSize = 1;
        resizeRequest.width = 4;
        resizeRequest.height = 2;
        resizeRequest.xScale = resizeRequest.yScale = 2;
        MakeFrames({40, 60, 80});
        for (int i = 0; i < animFrameCount; ++i) {
            animFrames[i].image.bits[4] = static_cast<uint8_t>(0x30 * i + 7);  // pixel 1's green
            animFrames[i].left = static_cast<uint16_t>(i);
            animFrames[i].width = 2;
            animFrames[i].height = 1;
            loaded.push_back(animFrames[i].image);
        }
        animScreenWidth = 2;
        animScreenHeight = 1;
        CurrentImage.dib.Assign(animFrames[0].image);
        dir = ScratchDir("frame-resize");
    }
    void TearDown() override {
        resizeRequest = kept;
        Playback::TearDown();
    }
    void ExpectFramesAt(int w, int h) {
        EXPECT_EQ(animFrameCount, 3);
        EXPECT_EQ(animScreenWidth, w);
        EXPECT_EQ(animScreenHeight, h);
        for (int i = 0; i < animFrameCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(animFrames[i].image.width, w);
            EXPECT_EQ(animFrames[i].image.height, h);
            EXPECT_EQ(animFrames[i].width, w);
            EXPECT_EQ(animFrames[i].height, h);
            EXPECT_EQ(animFrames[i].left, i * w / 2);
            EXPECT_EQ(animFrames[i].delay, 40 + 20 * i);
        }
    }
    void ExpectFramesAsLoaded() {
        ExpectFramesAt(2, 1);
        for (int i = 0; i < animFrameCount; ++i)
            EXPECT_TRUE(std::equal(loaded[i].bits, loaded[i].bits + loaded[i].imageSize, animFrames[i].image.bits)) << i;
    }
    std::string Save(const std::string& name) {
        CurrentImage.saveType = FT_GIF;
        const std::string path = dir + "/" + name;
        EXPECT_EQ(WriteImageFile(path), 0) << ShownBoxes();
        return path;
    }
    // The frames of a written file as the reader gives them: count and size of each.
    static std::vector<std::pair<int, int>> FramesOf(const std::string& path) {
        EXPECT_EQ(LoadAfresh(path), 0) << ShownBoxes();
        std::vector<std::pair<int, int>> sizes;
        if (animFrameCount < 2) sizes.emplace_back(CurrentImage.dib.width, CurrentImage.dib.height);
        for (int i = 0; animFrameCount >= 2 && i < animFrameCount; ++i)
            sizes.emplace_back(animFrames[i].image.width, animFrames[i].image.height);
        return sizes;
    }
    ResizeRequest kept;
    std::vector<CDib> loaded;
    std::string dir;
};

TEST_F(FrameResize, UndoBringsTheFramesBackAndRedoTakesThemAgain) {
    const uint64_t before = AnimFrameBytes();
    ASSERT_EQ(ResizeCurrentImage(), 0) << ShownBoxes();
    ExpectFramesAt(4, 2);
    EXPECT_EQ(CurrentImage.dib.width, 4);
    EXPECT_GT(AnimFrameBytes(), before);  // the old frames are kept for Undo
    Undo();
    ExpectFramesAsLoaded();
    EXPECT_EQ(CurrentImage.dib.width, 2);
    Redo();
    ExpectFramesAt(4, 2);
    EXPECT_EQ(CurrentImage.dib.width, 4);
    // A later edit of the picture alone leaves the frames as they are, and so does its Undo.
    ASSERT_EQ(RunTransformCommand(TRANSFORM_FLIP_HORIZONTAL), 0);
    Undo();
    ExpectFramesAt(4, 2);
    Undo();
    ExpectFramesAsLoaded();
    // An emptied history forgets the kept frames.
    Redo();
    ClearUndo();
    ExpectFramesAt(4, 2);
    EXPECT_EQ(AnimFrameBytes(), 3 * (sizeof(DibHeader) + uint64_t{animFrames[0].image.imageSize}));
}

TEST_F(FrameResize, SaveWritesEveryResizedFrameUnlessThePictureAloneWasEdited) {
    ASSERT_EQ(ResizeCurrentImage(), 0) << ShownBoxes();
    const std::string resized = Save("resized.gif");
    ASSERT_EQ(RunTransformCommand(TRANSFORM_FLIP_HORIZONTAL), 0);
    const std::string flipped = Save("flipped.gif");
    Undo();
    const std::string unflipped = Save("unflipped.gif");
    Undo();
    const std::string original = Save("original.gif");
    const std::vector<std::pair<int, int>> big(3, {4, 2}), small(3, {2, 1});
    EXPECT_EQ(FramesOf(resized), big);
    EXPECT_EQ(FramesOf(flipped), (std::vector<std::pair<int, int>>{{4, 2}}));
    EXPECT_EQ(FramesOf(unflipped), big);
    EXPECT_EQ(FramesOf(original), small);
}

// A save empties the history (Save and Save As do), but the picture keeps its edit: a
// second save of a picture edited alone writes the still again, never the loaded frames.
TEST_F(FrameResize, AStillSavedFromAnEditedAnimationStaysAStill) {
    ASSERT_EQ(RunTransformCommand(TRANSFORM_FLIP_HORIZONTAL), 0);
    const std::string first = Save("first.gif");
    ClearUndo();
    const std::string second = Save("second.gif");
    const std::vector<std::pair<int, int>> still{{2, 1}};
    EXPECT_EQ(FramesOf(first), still);
    EXPECT_EQ(FramesOf(second), still);
}

// An edit the history cannot hold (it is full) may have changed the picture alone: the
// frames are no longer what a save writes, until the table is filled again.
TEST_F(FrameResize, AnEditPastAFullHistoryMakesTheSaveAStill) {
    for (int i = 0; i < kUndoSlots; ++i) ASSERT_EQ(PushUndo(), 0);
    EXPECT_FALSE(FrameTableIsCurrent());  // steps of the picture alone
    ClearUndo();
    EXPECT_FALSE(FrameTableIsCurrent());  // the picture keeps what those steps changed
    ReleaseAnimFrames();                   // until the table is filled again
    MakeFrames({40, 60, 80});
    EXPECT_TRUE(FrameTableIsCurrent());
    for (int i = 0; i < kUndoSlots; ++i) {
        // Every frame resized, to twice the size and back.
        resizeRequest.width = i % 2 == 0 ? 4 : 2;
        resizeRequest.height = i % 2 == 0 ? 2 : 1;
        resizeRequest.xScale = resizeRequest.yScale = i % 2 == 0 ? 2 : 0.5;
        ASSERT_EQ(ResizeCurrentImage(), 0) << i << ShownBoxes();
    }
    EXPECT_TRUE(FrameTableIsCurrent());
    EXPECT_EQ(PushUndo(), -1);
    EXPECT_FALSE(FrameTableIsCurrent());
    ClearUndo();
    EXPECT_FALSE(FrameTableIsCurrent());
    ReleaseAnimFrames();
    EXPECT_TRUE(FrameTableIsCurrent());
}

// Halving an animation halves every frame's place on the screen with the screen itself.
TEST_F(Playback, ResizeByHalfMovesFramesWithTheScreen) {
    const struct {
        int left, top;
    } places[] = {{0, 0}, {5, 3}, {7, 1}};
    int i = 0;
    for (const auto& p : places) {
        CreateAnimFrameImage(i, 8, 4);
        animFrames[i].image.FillRGB(0);
        animFrames[i].left = static_cast<uint16_t>(p.left);
        animFrames[i].top = static_cast<uint16_t>(p.top);
        animFrames[i].delay = 40;
        ++i;
    }
    animFrameCount = i;
    animFramesLoaded = true;
    animScreenWidth = 8;
    animScreenHeight = 4;
    CurrentImage.dib.Assign(animFrames[0].image);
    const ResizeRequest kept = resizeRequest;
    resizeRequest = ResizeRequest();
    resizeRequest.useSize = 1;
    resizeRequest.width = 4;
    resizeRequest.height = 2;
    resizeRequest.xScale = resizeRequest.yScale = 0.5;
    ASSERT_EQ(ResizeCurrentImage(), 0) << ShownBoxes();
    EXPECT_EQ(animScreenWidth, 4);
    EXPECT_EQ(animScreenHeight, 2);
    for (int k = 0; k < animFrameCount; ++k) {
        EXPECT_EQ(animFrames[k].left, places[k].left / 2) << k;
        EXPECT_EQ(animFrames[k].top, places[k].top / 2) << k;
        EXPECT_EQ(animFrames[k].image.width, 4) << k;
        EXPECT_EQ(animFrames[k].image.height, 2) << k;
    }
    resizeRequest = kept;
}

}  // namespace
