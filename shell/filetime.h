// FILETIME <-> the 64-bit count of 100 ns units since 1601 that the platform seam uses.
#pragma once

#include <windows.h>

#include <cstdint>

inline uint64_t FileTimeValue(const FILETIME& t) {
    return static_cast<uint64_t>(t.dwHighDateTime) << 32 | static_cast<uint64_t>(t.dwLowDateTime);
}

inline FILETIME ToFileTime(uint64_t value) {
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(value & 0xFFFFFFFFu);
    t.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return t;
}
