// The engine's only way to reach the platform. The Win32 program implements these
// functions in shell/ with the Win32 calls; the native build (tests, benchmarks, tools)
// implements them with POSIX files and records messages in memory.
//
// All text crossing this boundary is UTF-8. Paths are whatever the platform accepts
// (under Wine "Z:\home\a.bmp", natively "/home/a.bmp").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Message box styles and answers carry the Win32 values, so the shell passes them through.
enum : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNoCancel = 0x3,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
};
enum { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// File facts as a directory entry gives them; times are FILETIME values (100 ns units since 1601).
struct HostFileFacts {
    uint32_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t lastWriteTime = 0;
    uint64_t lastAccessTime = 0;
    uint64_t size = 0;
};

// --- messages and the window ---
int HostMessageBox(const std::string& text, const std::string& caption, unsigned flags);
void HostBeep();
void HostPrintStdout(const std::string& text);
void HostSetTitle(const std::string& text);
void HostSetWaitCursor(bool wait);
// The current picture changed size or content: lay the window out again and repaint.
void HostRedrawImage();
// Dispatch pending window messages during long work.
void HostPumpMessages();

// --- files and folders ---
// Facts of an existing file (FindFirstFileW); false when it does not exist.
bool HostGetFileFacts(const std::string& path, HostFileFacts* facts);
// Full form of a path (GetFullPathNameW) and the offset of its file-name part.
bool HostFullPath(const std::string& path, std::string* full, size_t* nameOffset);

using HostFile = void*;
// Opens an existing file for sequential reading, sharing read and write; null on failure.
HostFile HostOpenRead(const std::string& path);
// Reads up to `bytes`; returns the count read, or -1 on error.
int64_t HostReadFile(HostFile file, void* buffer, uint64_t bytes);
void HostCloseFile(HostFile file);
// Last-write time of a file opened without sharing: 0, -1 when it cannot be opened,
// -2 when its time cannot be read.
int HostReadFileTime(const std::string& path, uint64_t* lastWriteTime);

std::string HostGetCurrentDir();
bool HostSetCurrentDir(const std::string& path);
