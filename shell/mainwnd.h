// The main window: its class, creation, screen measurement and window procedure.
#pragma once

#include <windows.h>

#include <string>

extern HWND MainWindow;
extern HINSTANCE AppInstance;

// Registers the "Lumorawnd" class; false when the system refuses it.
bool RegisterMainClass(HINSTANCE instance);
// Creates and shows the main window; null when it cannot be created (no display).
HWND CreateMainWindow(HINSTANCE instance, int showCommand);
// Refreshes the work area, monitor, screen and border sizes of the window's monitor.
void MeasureScreen();

// Every Win32 callback ends in these when the code it runs throws: an exception must never
// leave a callback, because unwinding through the system's dispatcher ends the process.
void ShowEscapedException(const char* text);
void ShowUnknownException();

// Writes to the process's standard error (used before any window exists).
void WriteStandardError(const std::string& text);
