#include "view/command_rules.h"

#include "base/appstate.h"

bool CommandBlocked(unsigned flags, const CommandState& state) {
    if (LongWorkRunning(state.runMode) || state.busyWriting) return true;
    if (state.runMode == RUN_QUICKVIEW) return (flags & CMD_QUICK_VIEW) == 0;
    return state.playbackBlocks && (flags & CMD_CHANGES_PICTURE) != 0;
}

bool CommandGreyed(unsigned flags, const CommandState& state) {
    if (CommandBlocked(flags, state)) return true;
    if ((flags & CMD_NEEDS_UNDO) && state.undoEmpty) return true;
    if ((flags & CMD_NEEDS_JPEG) && !state.jpegFile) return true;
    if ((flags & CMD_NEEDS_TIFF) && !state.tiffFile) return true;
    if ((flags & CMD_NOT_IN_SLIDE_SHOW) && state.runMode == RUN_SLIDESHOW) return true;
    if ((flags & CMD_FIRST_INSTANCE_ONLY) && !state.firstInstance) return true;
    return false;
}

bool ShellIsFree(const ShellActivity& activity) {
    if (activity.handlerDepth > 1 || activity.modalOpen || activity.busyWriting) return false;
    return !LongWorkRunning(activity.runMode);
}
