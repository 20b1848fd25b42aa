// FILETIME <-> the 64-bit count of 100 ns units since 1601 that the platform seam uses.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

inline uint64_t FileTimeValue(const FILETIME& t) {
    return static_cast<uint64_t>(t.dwHighDateTime) << 32 | static_cast<uint64_t>(t.dwLowDateTime);
}

inline FILETIME ToFileTime(uint64_t value) {
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFFu);
    t.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return t;
}

// A file time as the information dialogs show it: "%02d/%02d/%04d  %02d:%02d" (day, month,
// year, hour, minute) in local time; empty when it cannot be converted or is the first of
// January 1980 (a file system's "no date").
std::string FileDateText(uint64_t fileTime);
