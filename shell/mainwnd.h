// The main window: its class, creation, screen measurement and window procedure.
#pragma once

#include <windows.h>

#include <string>

extern HWND MainWindow;
extern HINSTANCE AppInstance;
// The main window's class, by which a later instance finds the first one's window.
extern const WCHAR kMainClassName[];

// Registers the "Lumorawnd" class; false when the system refuses it.
bool RegisterMainClass(HINSTANCE instance);
// Creates and shows the main window; null when it cannot be created (no display).
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
// Refreshes the work area, monitor, screen and border sizes of the window's monitor.
void MeasureScreen();

// The main window's handlers running now, nested ones included: a dialog's loop, or long
// work that handles messages as it goes, runs inside the handler that started it. The
// start-up sequence counts as one. `HandlerScope` counts one for its lifetime.
extern int handlerDepth;
struct HandlerScope {
    HandlerScope() { ++handlerDepth; }
    ~HandlerScope() { --handlerDepth; }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
};
// True when work that arrives on its own (the slide show's next picture, a handed-over
// file) may start from the handler asking: nothing else runs below it and no dialog is
// open (view/command_rules.h).
bool ShellIsFreeNow();

// Every Win32 callback ends in these when the code it runs throws: an exception must never
// leave a callback, because unwinding through the system's dispatcher ends the process.
void ShowEscapedException(const char* text);
void ShowUnknownException();

// Writes to the process's standard error (used before any window exists).
void WriteStandardError(const std::string& text);

// Test requests carried by WM_COPYDATA (dwData, numbered in base/ids.h). The end-to-end
// tests use them for what another process cannot do directly. The program answers them
// only when LUMORA_TEST_REQUESTS=1 is in its environment at start; otherwise each request
// returns FALSE and does nothing.
//   LUM_REQUEST_DROP_FILES    a file drop needs an HDROP of this process, so the program
//                             builds one from the names (UTF-16, each NUL-terminated, a
//                             final NUL) and posts itself WM_DROPFILES, which runs the real
//                             DragQueryFileW path
//   LUM_REQUEST_MARK_CHANGED  the picture counts as changed
//   LUM_REQUEST_MAP_POINT     two int32, a client point; the answer is 1 + x + 65536 * y of
//                             the picture pixel under it
//   LUM_REQUEST_DUMP_MENU     a file name (UTF-16, NUL-terminated); the menu is prepared as
//                             for showing and written there, one line per item: "DEPTH ID
//                             TEXT", " grey" and " checked" appended; separators "DEPTH sep"
