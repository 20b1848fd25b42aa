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
