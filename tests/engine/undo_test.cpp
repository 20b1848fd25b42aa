// The undo history of the current picture.
#include <gtest/gtest.h>

#include "core/current_image.h"
#include "test_support.h"

namespace {

class UndoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        Show(0);
    }
    void TearDown() override { ResetEngineState(); }
    // The picture on the screen: a 1x1 picture whose red value names it.
    static void Show(int name) {
        CurrentImage.dib.Create(1, 1, 24);
        CurrentImage.dib.FillRGB(static_cast<uint32_t>(name) << 16);
    }
    static int Shown() { return CurrentImage.dib.bits[2]; }
    static void Edit(int name) {
        PushUndo();
        Show(name);
    }
};

TEST_F(UndoTest, StepsBackAndForward) {
    Edit(1);
    Edit(2);
    Undo();
    EXPECT_EQ(Shown(), 1);
    Undo();
    EXPECT_EQ(Shown(), 0);
    Undo();  // nothing older
    EXPECT_EQ(Shown(), 0);
    Redo();
    EXPECT_EQ(Shown(), 1);
    Redo();
    EXPECT_EQ(Shown(), 2);
    Redo();
    EXPECT_EQ(Shown(), 2);
    Undo();
    EXPECT_EQ(Shown(), 1);
}

TEST_F(UndoTest, ANewEditDiscardsTheRedoBranch) {
    Edit(1);
    Edit(2);
    Undo();
    Undo();
    Edit(5);
    Redo();
    EXPECT_EQ(Shown(), 5);
    Undo();
    EXPECT_EQ(Shown(), 0);
}

TEST_F(UndoTest, AFullHistoryKeepsWorking) {
    for (int i = 1; i <= 24; ++i) Edit(i);
    EXPECT_EQ(CurrentImage.undoTop, 23);
    EXPECT_EQ(PushUndo(), -1);  // the 25th edit is made but not recorded
    Show(25);
    // Undo with every slot taken drops the oldest snapshot and keeps the screen for redo.
    Undo();
    EXPECT_EQ(Shown(), 23);
    Redo();
    EXPECT_EQ(Shown(), 25);
    for (int i = 0; i < 30; ++i) Undo();
    EXPECT_EQ(Shown(), 1);  // the very first picture was dropped to make room
    for (int i = 0; i < 30; ++i) Redo();
    EXPECT_EQ(Shown(), 25);
}

TEST_F(UndoTest, RedoNeverLooksPastTheLastSlot) {
    for (int i = 1; i <= 23; ++i) Edit(i);
    Undo();  // stores 23 in the last slot, shows 22, undoTop 21
    EXPECT_EQ(Shown(), 22);
    Redo();
    EXPECT_EQ(Shown(), 23);
    Redo();  // undoTop is 22: slot 24 does not exist
    EXPECT_EQ(Shown(), 23);
}

TEST_F(UndoTest, ClearEmptiesEverySlot) {
    Edit(1);
    Edit(2);
    ClearUndo();
    EXPECT_EQ(CurrentImage.undoTop, -1);
    for (const CDib& slot : CurrentImage.undoSlots) EXPECT_TRUE(slot.Empty());
    Undo();
    EXPECT_EQ(Shown(), 2);
}

}  // namespace
