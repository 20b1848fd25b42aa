#include "edit/animation.h"

#include <cctype>
#include <cmath>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/frames.h"
#include "platform/host.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"

bool animRunning = false;
bool animPaused = false;
int animIndex = 0;
bool showFrameNumbers = true;

namespace {

// Set while a tick or a step command is being handled, so that a tick arriving meanwhile
// (a message box pumps messages) does not show a frame in the middle of it.
bool handlingFrame = false;

struct FrameGuard {
    FrameGuard() { handlingFrame = true; }
    ~FrameGuard() { handlingFrame = false; }
};

// The largest interval a window timer takes.
constexpr double kMaxTimerInterval = 0x7FFFFFFF;
constexpr int kMaxSpeedPercent = 1000000;

}  // namespace

int WrapAnimIndex(int index, int count) {
    if (index >= count) return 0;
    if (index < 0) return count - 1;
    return index;
}

double AnimFrameDelay(uint16_t delayMs, double speedPercent) { return delayMs * speedPercent / 100.0; }

unsigned AnimTimerInterval(double delayMs) {
    if (!(delayMs >= kMinFrameInterval)) return kMinFrameInterval;  // also NaN
    if (delayMs >= kMaxTimerInterval) return static_cast<unsigned>(kMaxTimerInterval);
    return static_cast<unsigned>(delayMs);
}

std::string AnimFrameTitlePrefix(int number, int count, double delayMs) {
    return FormatText("<%d>of<%d> delay=%.1fmS: ", number, count, delayMs);
}

int ShowAnimationFrame() {
    if (!animFramesLoaded || animFrameCount <= 0) {
        ReportFileError("There is no GIF animation file loaded! in file ");
        return -1;
    }
    // While an animation or movie is written the picture stays on the first frame, but
    // the timer is armed again: it is one-shot, and a tick that armed nothing would leave
    // the animation marked as playing, with no frame ever coming and commands blocked.
    if (EditState == EDIT_WRITING_ANIMATION) {
        CurrentImage.dib.Assign(animFrames[0].image);
        HostRepaintImage();
        if (animFrameCount == 1) {
            animRunning = false;
        } else if (animRunning && !animPaused) {
            const AnimFrame& next = animFrames[WrapAnimIndex(animIndex, animFrameCount)];
            HostKillFrameTimer();
            if (!HostArmFrameTimer(AnimTimerInterval(AnimFrameDelay(next.delay, animSpeed)))) {
                ShowMessage("Too many timers open for GIF Animation!", "GIF Animation", kMbOk | kMbIconWarning);
                StopAnimation();
                return -1;
            }
        }
        return 0;
    }
    animIndex = WrapAnimIndex(animIndex, animFrameCount);
    if (animFrameCount == 1 || !showFrameNumbers) ShowTitle();
    const AnimFrame& frame = animFrames[animIndex];
    if (!frame.image.Empty()) {
        CurrentImage.dib.Assign(frame.image);
        HostRepaintImage();
    } else {
        ReportFileError("There is no GIF image loaded! in file ");
    }
    if (animFrameCount == 1) {
        animRunning = false;
        return 0;
    }
    const double delay = AnimFrameDelay(frame.delay, animSpeed);
    // Single steps number their frames too: stepping is how one finds a frame.
    if (showFrameNumbers) InputFile.ShowProgressTitle(AnimFrameTitlePrefix(animIndex + 1, animFrameCount, delay), "");
    if (!animPaused) {
        HostKillFrameTimer();
        if (!HostArmFrameTimer(AnimTimerInterval(delay))) {
            ShowMessage("Too many timers open for GIF Animation!", "GIF Animation", kMbOk | kMbIconWarning);
            StopAnimation();
            return -1;
        }
    } else {
        HostKillFrameTimer();
    }
    animIndex += animForward ? 1 : -1;
    return 0;
}

void StopAnimation() {
    animPaused = false;
    // Nothing is left to play: a running flag left on would keep commands blocked.
    animRunning = false;
    HostKillFrameTimer();
    if (!animFramesLoaded) return;
    ReleaseAnimFrames();
    ShowTitle();
}

void ResetAnimation() {
    HostKillFrameTimer();
    if (RunMode != RUN_BATCH && RunMode != RUN_QUICKVIEW) HostLayOutWindow();
    animIndex = 0;
    animForward = true;
    animSpeed = 100.0;
    animPaused = false;
}

int StartAnimation() {
    ResetAnimation();
    animRunning = true;
    if (ShowAnimationFrame() < 0) {
        animRunning = false;
        return -1;
    }
    return 0;
}

void OnAnimationTick() {
    if (handlingFrame) return;
    FrameGuard guard;
    if (animRunning) {
        if (ShowAnimationFrame() < 0) {
            animRunning = false;
            StopAnimation();
        }
    } else {
        StopAnimation();
    }
}

void AnimationSingleStep() {
    FrameGuard guard;
    animPaused = true;
    if (animRunning) ShowAnimationFrame();
    else StopAnimation();
}

void AnimationResume() {
    FrameGuard guard;
    animPaused = false;
    animRunning = true;
    ResetAnimation();
    // With nothing to play (the frames were released) the animation must not stay marked
    // as running, or every blocked command would stay blocked.
    if (ShowAnimationFrame() < 0) animRunning = false;
}

bool AnimationPlaying() { return animRunning && !animPaused && animFrameCount > 1; }

bool AnimationOwnsTitle() { return AnimationPlaying() && showFrameNumbers; }

bool ParseAnimSpeed(const std::string& text, double* speed) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t first = i;
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        if (value > kMaxSpeedPercent) return false;
        ++i;
    }
    if (i == first) return false;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    *speed = value == 0 ? 1.0 : static_cast<double>(value);
    return true;
}

