#include "core/current_image.h"

#include "base/appstate.h"
#include "platform/host.h"
#include "core/formats.h"
#include "core/report.h"
#include "core/title.h"
#include "base/settings.h"

CurrentImageState CurrentImage;

namespace {

bool SlotUsed(int i) { return i >= 0 && i < kUndoSlots && !CurrentImage.undoSlots[i].Empty(); }

void FreeSlotsAbove(int top) {
    for (int i = top + 1; i < kUndoSlots; ++i) CurrentImage.undoSlots[i].Free();
}

}  // namespace

bool AnimationPlaying() {
    return GIFAnimation && animFrameCount > 1 && FormatHasFlag(CurrentImage.fileType, FORMAT_ANIMATED);
}

int PushUndo() {
    // Every edit starts here: whatever was computed from the old pixels is stale.
    CurrentImage.dib.Touch();
    int& top = CurrentImage.undoTop;
    if (top >= kUndoSlots - 1) return -1;
    FreeSlotsAbove(top);  // a new edit discards the redo branch
    try {
        CurrentImage.undoSlots[top + 1].Assign(CurrentImage.dib);
        ++top;
    } catch (const char* text) {
        ShowMessage(text, "Setup Undo", kMbOk | kMbIconWarning);
    }
    return 0;
}

void Undo() {
    int& top = CurrentImage.undoTop;
    if (top < 0) return;
    if (!SlotUsed(top + 1)) {
        // The picture on the screen was never saved: keep it as the redo target.
        if (top == kUndoSlots - 1) {
            // No slot above the newest: drop the oldest snapshot to make room.
            CurrentImage.undoSlots[0].Free();
            for (int i = 1; i < kUndoSlots; ++i) CurrentImage.undoSlots[i - 1].Swap(CurrentImage.undoSlots[i]);
            --top;
            if (top < 0) return;
        }
        try {
            CurrentImage.undoSlots[top + 1].Assign(CurrentImage.dib);
        } catch (const char* text) {
            ShowMessage(text, "Setup Undo", kMbOk | kMbIconWarning);
        }
    }
    RestoreSnapshot(top);
    --top;
}

void Redo() {
    int& top = CurrentImage.undoTop;
    if (top + 2 <= kUndoSlots - 1 && SlotUsed(top + 2)) {
        ++top;
        RestoreSnapshot(top + 1);
    }
}

void ClearUndo() {
    for (CDib& slot : CurrentImage.undoSlots) slot.Free();
    CurrentImage.undoTop = -1;
}

void DropNewestUndo() {
    int& top = CurrentImage.undoTop;
    if (top < 0) return;
    CurrentImage.undoSlots[top].Free();
    --top;
}

void RestoreSnapshot(int index) {
    if (!SlotUsed(index)) return;
    HostSetWaitCursor(true);
    try {
        CurrentImage.dib.Assign(CurrentImage.undoSlots[index]);
    } catch (const char* text) {
        ShowMessage(text, "Setup Undo", kMbOk | kMbIconWarning);
    }
    HostRedrawImage();
    RetitleWithNewSize();
    HostSetWaitCursor(false);
}
