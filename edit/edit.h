// Edits of the current picture. Every edit has one shape, run by RunEdit: the wait
// cursor, an undo step, the kernel on the picture, the undo step taken back when the
// kernel failed (the picture is then as it was), and the result shown.
#pragma once

#include <functional>

#include "core/dib.h"

struct EditRules {
    // Caption of the box that shows a thrown allocation failure's text.
    const char* caption = "Transform";
    // Shown (with `caption`) for any failure instead of the kernel's own report; null:
    // the kernel has reported, and only a thrown text is shown.
    const char* failureText = nullptr;
    // Whether failureText is a warning the user may switch off (WarningFlag).
    bool failureIsWarning = false;
    // Whether the edit takes an undo step.
    bool undo = true;
    // Whether the edit shows the wait cursor itself (false when its caller does).
    bool waitCursor = true;
    // Whether the plain title is shown after the edit for pictures of animated types
    // (whose playback titles its frames).
    bool titleAnimatedTypes = true;
    // Whether the result is laid out and retitled; false: only repainted (the colour
    // reduction titles the new depth itself).
    bool retitle = true;
};

// Runs `kernel` on the current picture as one edit. The kernel returns 0 when done, a
// negative value after failing (the picture left as it was), or throws kDibAllocFailure
// text. Returns 0, or -1 after the failure was shown; 0 without doing anything when there
// is no picture.
int RunEdit(const EditRules& rules, const std::function<int(CDib&)>& kernel);

// The end of every edit: the title loses its progress text, the window is laid out again
// for the new size and repainted, and the title shows the size.
void ShowEditedPicture();
