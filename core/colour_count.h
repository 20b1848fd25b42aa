// Counting the current picture's colours on a worker thread for the information dialog.
// The worker counts a private copy, so loads and edits on the window thread never touch
// what it reads, and its result is stored only into the picture it counted.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/dib.h"

struct ColourCountJob {
    CDib snapshot;              // private copy of the picture
    uint64_t sourceSerial = 0;  // identity of the picture it was copied from
    std::atomic<uint32_t> result{0};
    std::atomic<bool> done{false};
};

// Window thread: a job for the current picture, or null when no copy could be made.
std::shared_ptr<ColourCountJob> PrepareColourCount();
// Worker thread: counts the snapshot, then marks the job done.
void RunColourCount(ColourCountJob& job);
// Window thread: stores a finished count into the current picture if it is still the
// picture that was counted. True when stored.
bool ApplyColourCount(const ColourCountJob& job);
