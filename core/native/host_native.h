// The native implementation of the platform seam records what the engine shows, so that
// tests can check messages and titles; tools print them instead.
#pragma once

#include <string>
#include <vector>

struct NativeHostRecord {
    std::vector<std::string> boxes;     // text of every message box
    std::vector<std::string> captions;  // and its caption
    std::vector<std::string> titles;    // every title set
    std::string stdoutText;             // what went to standard output
    int beeps = 0;
    int redraws = 0;
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
