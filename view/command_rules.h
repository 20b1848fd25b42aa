// What a command needs and what it does, as the flags of its row in the program's command
// table, and the decisions taken from them: whether a command may run now and whether its
// menu item is greyed. Kept free of Win32 so that the engine tests can call them.
#pragma once

enum CommandFlag : unsigned {
    // Changes or writes the picture: waits while an animation plays on its own, because the
    // next frame would replace what it did (or it would write a frame nobody chose).
    CMD_CHANGES_PICTURE = 1u << 0,
    // Greyed unless the picture was read from a JPEG file (the lossless JPEG commands).
    CMD_NEEDS_JPEG = 1u << 1,
    // Greyed unless the picture was read from a TIFF file (the page commands).
    CMD_NEEDS_TIFF = 1u << 2,
    // Greyed while the undo history is empty.
    CMD_NEEDS_UNDO = 1u << 3,
    // Runs in quick view, which blocks every other command.
    CMD_QUICK_VIEW = 1u << 4,
    // Its feature is not in this build yet: it answers with one message.
    CMD_NOT_BUILT = 1u << 5,
    // Greyed while a slide show runs.
    CMD_NOT_IN_SLIDE_SHOW = 1u << 6,
    // Greyed in any instance but the first.
    CMD_FIRST_INSTANCE_ONLY = 1u << 7,
};

// The program's state the decisions depend on.
struct CommandState {
    int runMode = 0;              // RunModeValue
    bool playbackBlocks = false;  // an animation plays on its own
    bool jpegFile = false;        // the picture was read from a JPEG file
    bool tiffFile = false;        // ... from a TIFF file
    bool undoEmpty = true;        // nothing to undo
    bool firstInstance = true;    // this is the first instance
    bool busyWriting = false;     // an animation is being built, or an animation or movie written
};


// True when a command with these flags must do nothing now: long work, and building or
// writing an animation (its messages are handled as it goes, and Escape ends it), block
// every command; quick view blocks all but the commands marked for it; a playing animation
// blocks those that change the picture.
bool CommandBlocked(unsigned flags, const CommandState& state);

// True when the menu item of a command with these flags is greyed: when it is blocked or
// what it needs is missing.
bool CommandGreyed(unsigned flags, const CommandState& state);

// What the program is in the middle of, as seen by the work that arrives on its own: the
// slide show's next picture and a file handed over by another instance.
struct ShellActivity {
    int runMode = 0;           // RunModeValue
    int handlerDepth = 0;      // main-window handlers running, the asking one included
    bool modalOpen = false;    // a dialog or message box holds the main window disabled
    bool busyWriting = false;  // an animation is being built, or an animation or movie written
};

// True when such work may start now. A handler below the asking one is a command, a
// dialog's loop or long work that handles messages as it goes: a picture loaded under it
// would be the one the command then writes or cuts.
bool ShellIsFree(const ShellActivity& activity);
