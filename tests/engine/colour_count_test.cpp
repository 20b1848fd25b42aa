// The colour count runs on a worker; its result only ever lands on the picture it counted.
#include <gtest/gtest.h>

#include <thread>

#include "core/colour_count.h"
#include "core/current_image.h"
#include "test_support.h"

namespace {

TEST(ColourCount, StoresOnlyIntoThePictureItCounted) {
    ResetEngineState();
    CurrentImage.dib.Create(8, 8, 24);
    CurrentImage.dib.FillRGB(0x102030);
    CurrentImage.dib.Row(0)[0] = 1;
    auto job = PrepareColourCount();
    ASSERT_TRUE(job);
    std::thread worker(RunColourCount, std::ref(*job));
    worker.join();
    EXPECT_TRUE(ApplyColourCount(*job));
    EXPECT_EQ(CurrentImage.dib.colourCount, 2);

    // An edit or a new load while the count runs: the result is dropped.
    auto second = PrepareColourCount();
    CurrentImage.dib.colourCount = 0;
    PushUndo();
    std::thread w2(RunColourCount, std::ref(*second));
    w2.join();
    EXPECT_FALSE(ApplyColourCount(*second));
    EXPECT_EQ(CurrentImage.dib.colourCount, 0);
    auto third = PrepareColourCount();
    CurrentImage.dib.Create(2, 2, 24);
    RunColourCount(*third);
    EXPECT_FALSE(ApplyColourCount(*third));
    ResetEngineState();
}

}  // namespace
