// The keys of the main window: the letter and digit table of view/keys.h sends its
// commands; the other keys scroll, step, exit or send their fixed commands.
#include "shell/command_table.h"
#include "shell/commands.h"
#include "shell/mouse.h"

#include <string>

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/loader.h"
#include "core/report.h"
#include "edit/animation.h"
#include "settings/config.h"
#include "view/display.h"
#include "view/keys.h"
#include "open/open.h"
#include "shell/display.h"
#include "shell/insert_image.h"
#include "shell/startup.h"

namespace {

// Enter and Escape. Shift or AllowExitESC quit at once; otherwise the user is asked.
void OnExitKey(HWND window) {
    EndMouseGesture(window);
    BringBackPendingBase();
    if (GetKeyState(VK_SHIFT) < 0 || AllowExitESC) {
        DestroyWindow(window);
        return;
    }
    if (ImageIsChanged()) {
        if (!AskLeaveChangedPicture()) return;
    } else if (MessageBoxW(window, TEXT("Do you wish to exit LUM?"), TEXT("Leave LUM?"),
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    DestroyWindow(window);
}

void SendCommand(HWND window, int id) { SendMessageW(window, WM_COMMAND, id, 0); }

void ShowBossAlert(HWND window) {
    const int result = LoadBossPicture();
    if (result == 0) RememberPictureSize();
    if (result <= 0) InvalidateRect(window, nullptr, FALSE);
}

// Page and arrow keys scroll a picture taller than the work area, else change the file.
bool ScrollsVertically() {
    return PictureTallerThanWorkArea(DisplayMode, CurrentImage.dib.height, workAreaHeight, borderHeight);
}

}  // namespace

void OnKeyDown(HWND window, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // Long operations take only Escape, which ends them.
    if (LongWorkRunning(RunMode)) {
        if (key == VK_ESCAPE) CancelLongWork();
        return;
    }
    if (EditState == EDIT_WRITING_ANIMATION) {
        if (key == VK_ESCAPE) EditState = EDIT_NONE;
        return;
    }
    if (key != VK_OEM_COMMA) {
        cursorVisibleFlag = true;
        ShowCursorCounted(true);
    }
    if (const int letter = LetterKeyCommand(static_cast<int>(key), shift, ctrl)) {
        SendCommand(window, letter);
        return;
    }
    switch (key) {
        case VK_TAB: SendCommand(window, IDM_SYSTEM_INFO); return;
        case VK_RETURN:
        case VK_ESCAPE: OnExitKey(window); return;
        case VK_PRIOR:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_PAGEUP, 0);
            else SendCommand(window, IDM_LOAD_BACK_FIVE);
            return;
        case VK_NEXT:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_PAGEDOWN, 0);
            else SendCommand(window, IDM_LOAD_FIFTH);
            return;
        case VK_UP:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
            else SendCommand(window, IDM_LOAD_PREVIOUS);
            return;
        case VK_DOWN:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
            else SendCommand(window, IDM_LOAD_NEXT);
            return;
        case VK_LEFT: PostMessageW(window, WM_HSCROLL, SB_LINEUP, 0); return;
        case VK_RIGHT: PostMessageW(window, WM_HSCROLL, SB_LINEDOWN, 0); return;
        case VK_HOME:
            if (ctrl) SendCommand(window, IDM_BEGINNING_OF_LIST);
            else PostMessageW(window, WM_HSCROLL, SB_PAGEUP, 0);
            return;
        case VK_END: PostMessageW(window, WM_HSCROLL, SB_PAGEDOWN, 0); return;
        case VK_F1: PostMessageW(window, WM_COMMAND, IDM_HELP, 0); return;
        case VK_F12:
            if (ctrl && shift) ShowBossAlert(window);
            return;
        case VK_APPS:
            if (RunMode != RUN_QUICKVIEW) SendCommand(window, IDM_FILE_INFO);
            return;
        case VK_OEM_COMMA: SendCommand(window, IDM_SHOW_CURSOR); return;
        case VK_OEM_1: animForward = !animForward; return;  // ';' turns the animation round
        case VK_SPACE:
            // Space steps a running animation, or turns the pages of a multi-page file.
            if (CurrentFileAnimates()) SendCommand(window, ctrl ? IDM_GIF_RESUME : IDM_GIF_SINGLE_STEP);
            else if (CurrentImage.pageCount >= 2 && shift) StepPage(window, -1);
            else if (CurrentImage.pageCount >= 2) SendCommand(window, IDM_TIFF_NEXT_PAGE);
            return;
        case VK_OEM_PLUS:
        case VK_OEM_PERIOD: SendCommand(window, IDM_START_DEVE); return;
        default: break;
    }
    // Digits: '3' and '4' set the animation speed, the others send their commands.
    if (key == '3' || key == '4') {
        animSpeed = AnimSpeedAfterKey(animSpeed, static_cast<int>(key));
        return;
    }
    if (key >= '0' && key <= '9') {
        if (const int command = FixedKeyCommand(static_cast<int>(key))) SendCommand(window, command);
    }
}
