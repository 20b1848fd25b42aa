// Playback of the frame table: a one-shot frame timer shows one frame per tick and is
// armed again for the next, with single step, resume, speed and direction.
#pragma once

#include <cstdint>
#include <string>

#include "base/colour.h"
#include "base/settings.h"

extern bool animRunning;       // an animation is being played
extern bool animPaused;        // single-step mode: frames advance only on command
extern int animIndex;          // frame to show next
extern bool showFrameNumbers;  // frame number and delay in the title

// The timer never fires sooner than this, however short a frame's delay.
constexpr int kMinFrameInterval = 10;

// `index` brought back into 0..count-1 after a step: past the end is 0, before the start
// is the last frame.
int WrapAnimIndex(int index, int count);
// How long a frame stays, in milliseconds: its delay scaled by the speed percentage.
double AnimFrameDelay(uint16_t delayMs, double speedPercent);
// The timer interval for that delay: truncated, at least kMinFrameInterval.
unsigned AnimTimerInterval(double delayMs);
// "<n>of<count> delay=x.xmS: ", put before the file name while an animation plays.
std::string AnimFrameTitlePrefix(int number, int count, double delayMs);

// Shows frame animIndex, arms the timer for the next one (unless paused) and steps
// animIndex. 0, or -1 after reporting.
int ShowAnimationFrame();
// Kills the frame timer and releases the frame table.
void StopAnimation();
// Kills the timer, lays the window out again and sets frame 0, forward, speed 100, not paused.
void ResetAnimation();
// A reader's pixel phase for animations: starts playback at frame 0. 0 or -1.
int StartAnimation();
// The frame timer fired.
void OnAnimationTick();
// "Single Step": pauses and shows the next frame.
void AnimationSingleStep();
// "Resume": plays again from frame 0 at speed 100, forward.
void AnimationResume();
// Whether an animation plays on its own (running, not single-stepped, two or more frames):
// commands that change or write the picture wait until it is paused or stopped.
bool AnimationPlaying();
// Whether the title belongs to the playback (frame numbers shown for a running animation).
bool AnimationOwnsTitle();

// The speed box of the animation settings: a whole number of percent, blanks around it
// allowed; 0 counts as 1. False for anything else.
bool ParseAnimSpeed(const std::string& text, double* speed);
// The GIF background colour box reads and shows its colour with ParseHexColour and
// HexColourText (base/colour.h).
