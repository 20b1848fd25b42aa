#include "shell/animation_dialogs.h"

#include <cmath>
#include <string>

#include "edit/animation.h"
#include "base/appstate.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/frames.h"
#include "core/report.h"
#include "core/loader.h"
#include "view/animation_tools.h"
#include "open/open.h"
#include "base/settings.h"
#include "shell/commands.h"
#include "shell/dialog_common.h"
#include "shell/display.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/startup.h"
#include "shell/wintext.h"

namespace {

constexpr int kFieldUnits = 32;


INT_PTR AnimationSetupMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG: {
            // The speed is shown as a whole percentage; keys 3 and 4 leave fractions.
            const double shown = std::trunc(std::fmin(animSpeed, 1e9));
            SetDlgItemTextW(dialog, IDC_ANIM_SPEED, Widen(std::to_string(static_cast<long long>(shown))).c_str());
            SendDlgItemMessageW(dialog, IDC_ANIM_SPEED, EM_LIMITTEXT, kFieldUnits, 0);
            Check(dialog, IDC_ANIM_ENABLE, GIFAnimation != 0);
            Check(dialog, IDC_ANIM_FRAME_NUMBERS, showFrameNumbers);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                double speed = 0;
                if (!ParseAnimSpeed(ItemText(dialog, IDC_ANIM_SPEED, kFieldUnits), &speed)) {
                    MessageBoxW(dialog, TEXT("The speed must be a whole number of percent (1 to 1000000)."),
                                TEXT("Viewer"), MB_OK | MB_ICONWARNING);
                    return TRUE;
                }
                animSpeed = speed;
                GIFAnimation = Checked(dialog, IDC_ANIM_ENABLE) ? 1 : 0;
                showFrameNumbers = Checked(dialog, IDC_ANIM_FRAME_NUMBERS);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK AnimationSetupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return AnimationSetupMessage(dialog, message, wParam); });
}

INT_PTR GifBackgroundMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_GIFBG_COLOUR, Widen(HexColourText(GIFBackgroundColour)).c_str());
            SendDlgItemMessageW(dialog, IDC_GIFBG_COLOUR, EM_LIMITTEXT, kFieldUnits, 0);
            Check(dialog, IDC_GIFBG_USE, GIFUserPackground != 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                RgbColour colour;
                if (!ParseHexColour(ItemText(dialog, IDC_GIFBG_COLOUR, kFieldUnits), &colour)) {
                    MessageBoxW(dialog, TEXT("Enter the colour as six hex digits RRGGBB, for example FF8000."),
                                TEXT("Viewer"), MB_OK | MB_ICONWARNING);
                    return TRUE;
                }
                GIFBackgroundColour = colour;
                GIFUserPackground = Checked(dialog, IDC_GIFBG_USE) ? 1 : 0;
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK GifBackgroundProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return GifBackgroundMessage(dialog, message, wParam); });
}

INT_PTR BuildAnimationMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_BUILD_DELAY, Widen(std::to_string(buildAnimationOptions.delayMs)).c_str());
            SendDlgItemMessageW(dialog, IDC_BUILD_DELAY, EM_LIMITTEXT, kFieldUnits, 0);
            Check(dialog, IDC_BUILD_ASCENDING, buildAnimationOptions.ascending);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                int delay = 0;
                if (!ParseFrameDelay(ItemText(dialog, IDC_BUILD_DELAY, kFieldUnits), &delay)) {
                    MessageBoxW(dialog, TEXT("The delay must be a whole number of milliseconds (0 to 65535)."),
                                TEXT("Viewer"), MB_OK | MB_ICONWARNING);
                    return TRUE;
                }
                buildAnimationOptions.delayMs = delay;
                buildAnimationOptions.ascending = Checked(dialog, IDC_BUILD_ASCENDING);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK BuildAnimationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return BuildAnimationMessage(dialog, message, wParam); });
}

// The decomposer's choices, from the dialog to its caller.
struct DecomposeChoice {
    std::string base;
    DecomposeType type = DECOMPOSE_JPEG;
};

constexpr int kTypeButtons[] = {IDC_DECOMPOSE_BMP, IDC_DECOMPOSE_JPEG, IDC_DECOMPOSE_TGA, IDC_DECOMPOSE_PNG};

INT_PTR DecomposeMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* choice = reinterpret_cast<const DecomposeChoice*>(lParam);
            SetDlgItemTextW(dialog, IDC_DECOMPOSE_BASE, Widen(choice->base).c_str());
            SendDlgItemMessageW(dialog, IDC_DECOMPOSE_BASE, EM_LIMITTEXT, MAX_PATH, 0);
            CheckRadioButton(dialog, IDC_DECOMPOSE_BMP, IDC_DECOMPOSE_PNG, kTypeButtons[choice->type]);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* choice = reinterpret_cast<DecomposeChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
                WCHAR buffer[MAX_PATH + 1] = {};
                const UINT length = GetDlgItemTextW(dialog, IDC_DECOMPOSE_BASE, buffer, MAX_PATH + 1);
                choice->base = Narrow(buffer, static_cast<int>(length));
                for (int i = 0; i < 4; ++i)
                    if (Checked(dialog, kTypeButtons[i])) choice->type = static_cast<DecomposeType>(i);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK DecomposeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return DecomposeMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void OnBuildAnimation(HWND window) {
    if (DialogBoxParamW(AppInstance, TEXT("CREATEGIFANIMDLG"), window, BuildAnimationProc, 0) != IDOK) return;
    // The build replaces the picture with every picture of the folder in turn: a changed
    // one is offered for saving first.
    if (!ConfirmLeaveImage()) return;
    // A slide show's tick would load its next picture in the middle of the build.
    if (RunMode == RUN_SLIDESHOW) {
        EndSlideShow(window);
        RunMode = RUN_NORMAL;
    }
    BuildAnimation();
    RememberPictureSize();
}

void OnDecompose(HWND window) {
    if (!animFramesLoaded || animFrameCount < 1) {
        ReportFileError("There is no GIF animation file loaded! in file ");
        return;
    }
    DecomposeChoice choice;
    // A built animation has no file of its own: its first picture names the frames.
    choice.base = DecomposeBaseName(CurrentImage.fullPath.empty() ? InputFile.fullPath : CurrentImage.fullPath);
    choice.type = DecomposeTypeFor(CurrentImage.saveType);
    if (DialogBoxParamW(AppInstance, TEXT("DECOMPOSEDLG"), window, DecomposeProc, reinterpret_cast<LPARAM>(&choice)) !=
        IDOK)
        return;
    DecomposeAnimation(choice.base, choice.type);
}

void OnAnimationSetup(HWND window) {
    const int wasAnimating = GIFAnimation;
    if (DialogBoxParamW(AppInstance, TEXT("GIFANIMATIONDLG"), window, AnimationSetupProc, 0) != IDOK) return;
    if (GIFAnimation == wasAnimating || CurrentImage.fileType != FT_GIF || CurrentImage.fullPath.empty()) return;
    // Reading the file again replaces the picture: a changed one is offered for saving
    // first, and a Cancel keeps it (the new setting applies from the next load).
    if (!ConfirmLeaveImage()) return;
    std::string path = CurrentImage.fullPath;
    if (LoadImageFile(path) >= 0) RememberPictureSize();
}

void OnGifBackground(HWND window) {
    DialogBoxParamW(AppInstance, TEXT("GIFBACKGROUNDDLG"), window, GifBackgroundProc, 0);
}
