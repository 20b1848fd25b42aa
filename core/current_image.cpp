#include "core/current_image.h"

#include <utility>

#include "base/appstate.h"
#include "platform/host.h"
#include "core/report.h"
#include "core/title.h"

CurrentImageState CurrentImage;

namespace {

bool SlotUsed(int i) { return i >= 0 && i < kUndoSlots && !CurrentImage.undoSlots[i].Empty(); }

void FreeSlotsAbove(int top) {
    for (int i = top + 1; i < kUndoSlots; ++i) {
        CurrentImage.undoSlots[i].Free();
        CurrentImage.undoFrames[i].Free();
    }
}

// Undo or Redo crosses the edit after slot `index`: an edit of every frame brings its
// other table back. A table loaded since cannot take it; the frames then no longer
// show the picture.
void CrossFrameEdit(int index) {
    SavedFrameTable& saved = CurrentImage.undoFrames[index];
    if (!saved.Holds()) return;
    if (!animFramesLoaded || !ExchangeFrameTable(saved)) {
        saved.Free();
        MarkFramesBehindPicture();
    }
}

}  // namespace

int PushUndo() {
    // Every edit starts here: whatever was computed from the old pixels is stale.
    CurrentImage.dib.Touch();
    int& top = CurrentImage.undoTop;
    if (top >= kUndoSlots - 1) {
        MarkFramesBehindPicture();
        return -1;
    }
    FreeSlotsAbove(top);  // a new edit discards the redo branch
    try {
        CurrentImage.undoSlots[top + 1].Assign(CurrentImage.dib);
        ++top;
    } catch (const char* text) {
        MarkFramesBehindPicture();
        ShowMessage(text, "Setup Undo", kMbOk | kMbIconWarning);
    }
    return 0;
}

void KeepFramesWithNewestUndo(SavedFrameTable& previous) {
    const int top = CurrentImage.undoTop;
    if (top < 0) {
        previous.Free();
        return;
    }
    CurrentImage.undoFrames[top] = std::move(previous);
}

bool FrameTableIsCurrent() {
    if (FramesBehindPicture()) return false;
    for (int i = 0; i <= CurrentImage.undoTop && i < kUndoSlots; ++i) {
        const SavedFrameTable& saved = CurrentImage.undoFrames[i];
        if (!saved.Holds() || !saved.BelongsToTable()) return false;
    }
    return true;
}

void Undo() {
    int& top = CurrentImage.undoTop;
    if (top < 0) return;
    if (!SlotUsed(top + 1)) {
        // The picture on the screen was never saved: keep it as the redo target.
        if (top == kUndoSlots - 1) {
            // No slot above the newest: drop the oldest snapshot to make room. An edit of
            // the picture alone that goes with it is no longer in the history.
            CurrentImage.undoSlots[0].Free();
            if (!CurrentImage.undoFrames[0].Holds()) MarkFramesBehindPicture();
            CurrentImage.undoFrames[0].Free();
            for (int i = 1; i < kUndoSlots; ++i) {
                CurrentImage.undoSlots[i - 1].Swap(CurrentImage.undoSlots[i]);
                CurrentImage.undoFrames[i - 1].Swap(CurrentImage.undoFrames[i]);
            }
            --top;
            if (top < 0) return;
        }
        try {
            CurrentImage.undoSlots[top + 1].Assign(CurrentImage.dib);
        } catch (const char* text) {
            ShowMessage(text, "Setup Undo", kMbOk | kMbIconWarning);
        }
    }
    CrossFrameEdit(top);
    RestoreSnapshot(top);
    --top;
}

void Redo() {
    int& top = CurrentImage.undoTop;
    if (top + 2 <= kUndoSlots - 1 && SlotUsed(top + 2)) {
        ++top;
        CrossFrameEdit(top);
        RestoreSnapshot(top + 1);
    }
}

void ClearUndo() {
    // The history goes, but the picture keeps its edits: an edit of the picture alone
    // among them leaves the frames behind it until the table is filled again (after a
    // save, the next save must not write the frames as they were loaded).
    if (!FrameTableIsCurrent()) MarkFramesBehindPicture();
    for (CDib& slot : CurrentImage.undoSlots) slot.Free();
    for (SavedFrameTable& saved : CurrentImage.undoFrames) saved.Free();
    CurrentImage.undoTop = -1;
}

void DropNewestUndo() {
    int& top = CurrentImage.undoTop;
    if (top < 0) return;
    CurrentImage.undoSlots[top].Free();
    CurrentImage.undoFrames[top].Free();
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
