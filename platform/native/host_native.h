// The native implementation of the platform seam records what the engine shows, so that
// tests can check messages and titles; tools print them instead.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct NativeHostRecord {
    std::vector<std::string> boxes;     // text of every message box
    std::vector<std::string> captions;  // and its caption
    std::vector<std::string> titles;    // every title set
    std::string stdoutText;             // what went to standard output
    int beeps = 0;
    int redraws = 0;
    int repaints = 0;
    int layouts = 0;
    int frameTimer = -1;  // interval of the armed frame timer, -1 when none is armed
    int timerArms = 0;    // how often it was armed
};
extern NativeHostRecord NativeHost;
// Forget everything recorded.
void NativeHostReset();
// When true, message boxes and standard output are also printed to stderr/stdout (tools).
extern bool NativeHostEcho;
// Answer given by every message box.
extern int NativeHostBoxAnswer;
// What HostAppDataFolder and HostProgramFolder answer ("" = no application-data folder).
extern std::string NativeHostAppData;
extern std::string NativeHostProgramFolder;
// When not negative: writes fail with "disk full" once this many more bytes were written.
extern long long NativeHostWriteBudget;
// Called by every HostPumpMessages when set: lets a test act as the user would while long
// work pumps messages (press Escape, for instance).
extern void (*NativeHostOnPump)();
// When not 0: creating a file fails with this system error (a read-only folder: 5).
extern uint32_t NativeHostCreateError;
// When not 0: replacing a file fails with this system error (a file open elsewhere: 32).
extern uint32_t NativeHostReplaceError;
// When true, arming the frame timer fails as when the system has no timer left.
extern bool NativeHostTimerFails;
