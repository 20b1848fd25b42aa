// The blocking and greying rules of the command table's flags.
#include <gtest/gtest.h>

#include "base/appstate.h"
#include "view/command_rules.h"

namespace {

// Quick view lets only its own commands through (even one not built yet), whatever plays;
// a playing animation holds back only the commands that change the picture; a need greys
// an item only while it is missing, and a blocked item is grey whatever it needs.
TEST(CommandRules, BlockingComesBeforeNeeds) {
    CommandState quick;
    quick.runMode = RUN_QUICKVIEW;
    quick.playbackBlocks = true;
    EXPECT_TRUE(CommandBlocked(0, quick));
    EXPECT_FALSE(CommandBlocked(CMD_QUICK_VIEW | CMD_NOT_BUILT | CMD_CHANGES_PICTURE, quick));

    CommandState playing;
    playing.playbackBlocks = true;
    playing.jpegFile = true;
    playing.undoEmpty = false;
    EXPECT_TRUE(CommandBlocked(CMD_CHANGES_PICTURE, playing));
    EXPECT_TRUE(CommandGreyed(CMD_CHANGES_PICTURE | CMD_NEEDS_JPEG, playing));
    EXPECT_FALSE(CommandGreyed(CMD_NEEDS_JPEG | CMD_NEEDS_UNDO | CMD_NOT_IN_SLIDE_SHOW, playing));

    CommandState show;
    show.runMode = RUN_SLIDESHOW;
    show.firstInstance = false;
    EXPECT_TRUE(CommandGreyed(CMD_NOT_IN_SLIDE_SHOW, show));
    EXPECT_TRUE(CommandGreyed(CMD_NEEDS_UNDO, show));
    EXPECT_TRUE(CommandGreyed(CMD_NEEDS_TIFF, show));
    EXPECT_TRUE(CommandGreyed(CMD_FIRST_INSTANCE_ONLY, show));
    EXPECT_FALSE(CommandGreyed(CMD_CHANGES_PICTURE, show));

    // Long work (a colour reduction, a camera RAW decode) holds back every command.
    for (int mode : {RUN_LONG_OPERATION, RUN_LONG_RAW}) {
        CommandState busy;
        busy.runMode = mode;
        EXPECT_TRUE(CommandBlocked(CMD_QUICK_VIEW, busy));
        EXPECT_TRUE(CommandBlocked(0, busy));
    }
    // So does building or writing an animation.
    CommandState writing;
    writing.busyWriting = true;
    EXPECT_TRUE(CommandBlocked(CMD_QUICK_VIEW, writing));
    EXPECT_TRUE(CommandGreyed(0, writing));
}

// The slide show's tick and a handed-over file start only from a handler that runs alone:
// one below it (a command whose dialog loop dispatched the tick), an open dialog, long work
// or an animation being written each hold them back. A running show is no obstacle.
TEST(CommandRules, WorkArrivingOnItsOwnWaitsForAFreeShell) {
    ShellActivity alone;
    alone.handlerDepth = 1;
    alone.runMode = RUN_SLIDESHOW;
    EXPECT_TRUE(ShellIsFree(alone));
    ShellActivity nested = alone;
    nested.handlerDepth = 2;
    EXPECT_FALSE(ShellIsFree(nested));
    ShellActivity dialog = alone;
    dialog.modalOpen = true;
    EXPECT_FALSE(ShellIsFree(dialog));
    ShellActivity writing = alone;
    writing.busyWriting = true;
    EXPECT_FALSE(ShellIsFree(writing));
    for (int mode : {RUN_LONG_OPERATION, RUN_LONG_RAW}) {
        ShellActivity longWork = alone;
        longWork.runMode = mode;
        EXPECT_FALSE(ShellIsFree(longWork));
    }
}

}  // namespace
