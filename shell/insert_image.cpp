#include "shell/insert_image.h"

#include <string>

#include "edit/animation.h"
#include "base/appstate.h"
#include "core/current_image.h"
#include "view/display.h"
#include "platform/host.h"
#include "core/loader.h"
#include "open/open.h"
#include "core/report.h"
#include "core/title.h"
#include "ops/insert.h"
#include "shell/display.h"
#include "shell/open_dialog.h"
#include "shell/wintext.h"
#include "edit/insert_session.h"

namespace {

WCHAR secondPathBuffer[MAX_PATH];
// True while the undo step taken for the placement is the newest one: Cancel removes it.
bool placementUndoTaken = false;

// First call: choose and load the second picture. It is shown until the second call;
// the base picture waits aside, untouched. A cancelled dialog or a failed load leaves
// everything as it was.
void LoadSecondPicture(HWND window) {
    // A playing animation would go on replacing the picture set aside as the base.
    StopAnimation();
    if (ChooseFileToOpen(window, secondPathBuffer) < 0) return;
    const char mode = DisplayMode;
    HostSetTitle("Loading Image");
    SetBasePictureAside();
    std::string path = Narrow(secondPathBuffer);
    if (LoadImageFile(path) < 0) {
        BringBackBasePicture();
        DisplayMode = mode;
        RunMode = RUN_NORMAL;
        ShowTitle();
        RedrawImage();
        ApplyDisplayMode();
        return;
    }
    // An animated second picture is inserted as its first frame: frames that went on
    // playing would overwrite the base picture once it is swapped back in.
    StopAnimation();
    RememberPictureSize();
    RunMode = RUN_SECONDARY;
}

// Second call: the base picture comes back with the loaded one as the item to place.
void StartPlacing(HWND window) {
    if (!SwapInBasePicture()) {
        RunMode = RUN_NORMAL;
        return;
    }
    const int before = CurrentImage.undoTop;
    PushUndo();
    placementUndoTaken = CurrentImage.undoTop == before + 1;
    const CDib& dib = CurrentImage.dib;
    const bool tooLarge = dib.width > workAreaWidth - borderWidth || dib.height > workAreaHeight - borderHeight;
    DisplayMode = tooLarge ? MODE_BEST_FIT : MODE_NORMAL;
    displayWidth = dib.width;
    displayHeight = dib.height;
    ShowTitle();
    RedrawImage();
    SetScrollRangesForWorkArea(window);
    InvalidateRect(window, nullptr, TRUE);
    EditState = EDIT_PLACE_IMAGE;
}

}  // namespace

void OnInsertImage(HWND window) {
    if (RunMode == RUN_SECONDARY && BasePictureIsAside()) StartPlacing(window);
    else if (EditState == EDIT_NONE) LoadSecondPicture(window);
}

bool PlacementItemSize(int* width, int* height) {
    const CDib& item = CurrentImage.secondaryImage;
    if (item.Empty()) return false;
    *width = item.width;
    *height = item.height;
    return true;
}

void FinishPlacement(HWND window, int x, int y) {
    const int answer =
        MessageBoxW(window, TEXT("Insert image?"), TEXT("LUM"), MB_OKCANCEL | MB_DEFBUTTON2);
    if (answer == IDOK) {
        const DisplayPoint at = ClientToPicture(CurrentPointMapping(window), x, y);
        try {
            PasteImageAt(CurrentImage.dib, CurrentImage.secondaryImage, at.x, at.y);
        } catch (const char* text) {
            ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        }
    } else if (placementUndoTaken) {
        Undo();
    }
    placementUndoTaken = false;
    if (GetCapture() == window) ReleaseCapture();
    EditState = EDIT_NONE;
    RunMode = RUN_NORMAL;
    CurrentImage.secondaryImage.Free();
    InvalidateRect(window, nullptr, TRUE);
}

void BringBackPendingBase() {
    if (RunMode != RUN_SECONDARY || !BasePictureIsAside()) return;
    BringBackBasePicture();
    RunMode = RUN_NORMAL;
    ShowTitle();
    RedrawImage();
    ApplyDisplayMode();
}
