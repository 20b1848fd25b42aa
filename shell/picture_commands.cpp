// The picture commands answered here: the fixed transforms, undo and redo, the colour
// count, the colour depth reduction, the filters and the direct colour operations.
#include "shell/command_table.h"

#include <cstdint>
#include <string>

#include "base/ids.h"
#include "base/text.h"
#include "core/colour_count.h"
#include "core/current_image.h"
#include "core/quantise.h"
#include "core/report.h"
#include "platform/host.h"
#include "core/title.h"
#include "edit/colour_depth.h"
#include "edit/colour.h"
#include "edit/filters.h"
#include "edit/geometry.h"
#include "view/lossless.h"
#include "ops/flip.h"
#include "shell/colour_dialogs.h"
#include "shell/filter_dialogs.h"
#include "shell/mouse.h"
#include "shell/startup.h"
#include "base/appstate.h"
#include "shell/settings_dialogs.h"
#include "shell/wintext.h"

LRESULT OnTransform(HWND, int id) {
    switch (id) {
        case IDM_ROTATE_90: RunTransformCommand(TRANSFORM_ROTATE_90); break;
        case IDM_ROTATE_180: RunTransformCommand(TRANSFORM_ROTATE_180); break;
        case IDM_ROTATE_270: RunTransformCommand(TRANSFORM_ROTATE_270); break;
        case IDM_FLIP_HORIZONTAL: RunTransformCommand(TRANSFORM_FLIP_HORIZONTAL); break;
        case IDM_FLIP_VERTICAL: RunTransformCommand(TRANSFORM_FLIP_VERTICAL); break;
        default: break;
    }
    return 0;
}

LRESULT OnUndo(HWND, int) {
    Undo();
    return 0;
}

LRESULT OnRedo(HWND, int) {
    Redo();
    return 0;
}

LRESULT OnColourCount(HWND window, int) {
    const std::string saved = titleText;
    SetWindowTextW(window, TEXT("Counting total colours in the image - Please wait!"));
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    uint32_t total = 0;
    if (auto job = PrepareColourCount()) {
        RunColourCount(*job);
        total = job->result;
    }
    SetCursor(previous);
    titleText = saved;
    ShowTitle();
    ShowMessage(FormatText("Total Colours = %d\n", static_cast<int>(total)), "Image Information",
                kMbOk | kMbIconInformation);
    return 0;
}

// "Reduce Colour Depth": the dialog, then the reduction of the picture (nothing at 24 bits).
LRESULT OnColourDepth(HWND window, int) {
    if (!AskColourDepth(window)) return 0;
    ReduceColourDepth();
    return 0;
}

// The menu's direct filters: their entry loaded and run ("User defined" after its dialog).
LRESULT OnMenuFilter(HWND window, int id) {
    int entry = 0;
    switch (id) {
        case IDM_BLUR: entry = 2; break;            // "Blur lots"
        case IDM_SHARPEN: entry = 6; break;         // "Sharpen lots"
        case IDM_EMBOSS_MEDIUM: entry = 10; break;  // "Emboss medium"
        case IDM_EMBOSS_COLOUR: entry = 16; break;  // "Emboss colour"
        case IDM_USER_FILTER: entry = kUserFilter3; break;
        default: return 0;
    }
    if (LoadFilter(entry) < 0 || !AskUserFilter(window, entry)) return 0;
    ApplyLoadedFilter(FILTER_FROM_MENU);
    return 0;
}

// "Other Filters": the entry chosen in "Select Filter Type", its user dialog for an
// editable entry, then the filter.
LRESULT OnOtherFilters(HWND window, int) {
    const int entry = AskFilterEntry(window);
    if (entry < 0 || LoadFilter(entry) < 0 || !AskUserFilter(window, entry)) return 0;
    ApplyLoadedFilter(FILTER_FROM_DIALOG);
    return 0;
}

// Negative, greyscale and the channel swaps: their command ids are their codes.
LRESULT OnColourCommand(HWND, int id) {
    RunColourCommand(id);
    return 0;
}

static_assert(IDM_NEGATIVE == COLOUR_NEGATIVE && IDM_GREYSCALE == COLOUR_GREYSCALE &&
                  IDM_SWAP_RED_BLUE == COLOUR_SWAP_RED_BLUE && IDM_SWAP_RED_GREEN == COLOUR_SWAP_RED_GREEN &&
                  IDM_SWAP_GREEN_BLUE == COLOUR_SWAP_GREEN_BLUE && IDM_ROTATE_COLOURS == COLOUR_ROTATE,
              "the colour commands' ids are their operation codes");

// The colour dialogs; each changes the picture only on OK.
LRESULT OnColourDialog(HWND window, int id) {
    switch (id) {
        case IDM_COLOURS_RGB: OnAdjustColours(window); break;
        case IDM_COLOURS_HSV: OnAdjustHsl(window); break;
        case IDM_BRIGHTNESS: OnBrightness(window); break;
        case IDM_MONOCHROME: OnMonochrome(window); break;
        case IDM_HISTOGRAM: OnHistogram(window); break;
        case IDM_GAMMA: OnGamma(window); break;
        default: break;
    }
    return 0;
}

// "Get Pixel Colour": the next click on the picture takes a colour, which this command
// then shows; given again while picking, it stops picking.
LRESULT OnPixelColour(HWND window, int) {
    if (pixelColourPicked) {
        pixelColourPicked = false;
        ShowPixelColour(window, pickedColour);
        return 0;
    }
    EditState = EditState == EDIT_PICK_PIXEL ? EDIT_NONE : EDIT_PICK_PIXEL;
    return 0;
}

// The lossless JPEG commands rewrite the file and load it again: a changed picture is
// offered for saving first. Not in the quick view.
LRESULT OnLosslessCommand(HWND, int id) {
    // Greyed in the menu for other files; a command sent all the same does nothing.
    if (CurrentImage.fileType != FT_JPEG || CurrentImage.failedLoad) return 0;
    if (RunMode == RUN_QUICKVIEW || CurrentImage.fullPath.empty() || !ConfirmLeaveImage()) return 0;
    if (id == IDM_AUTO_ORIENTATION) AutoFixOrientation();
    else LosslessTransform(id, CurrentImage.fullPath, false);
    return 0;
}
