// What the main window's procedure calls: WM_COMMAND (shell/command_table.cpp), the keys
// (shell/key_commands.cpp), the menu's check marks and grey items (shell/menu.cpp) and the
// timers (shell/navigation_commands.cpp).
#pragma once

#include <windows.h>

// WM_COMMAND: 0, or -1 when Save As was cancelled or failed (the changed-picture question
// relies on it).
LRESULT OnCommand(HWND window, int id);
// WM_KEYDOWN.
void OnKeyDown(HWND window, WPARAM virtualKey);
// WM_INITMENU: the check marks.
void OnInitMenu(HMENU menu);
// WM_INITMENUPOPUP: grey items and, on the File menu, the two history submenus.
void OnInitMenuPopup(HMENU popup);
// WM_TIMER.
void OnTimer(HWND window, UINT_PTR id);

// Ends a running slide show (Open, ReOpen, the histories and a dropped file do): its timer
// is killed. The caller sets the run mode that follows.
void EndSlideShow(HWND window);

// True when command `id` must do nothing now (and its menu item is greyed): quick view
// blocks all but Exit and its own toggle; an animation playing on its own blocks the
// commands that change or write the picture. Both follow from the command's row.
bool CommandIsBlocked(int id);

// Whether the mouse cursor is shown ("Show/Hide Cursor").
extern bool cursorVisibleFlag;

// The address "Connect to LUM Website" opens.
extern const WCHAR kWebAddress[];
