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
// The picture changed content but not size (the next frame of an animation): repaint only.
void HostRepaintImage();
// Lay the window out for the current picture again and show it normally.
void HostLayOutWindow();

// --- the animation frame timer ---
// Arms the frame timer to fire once after `milliseconds` (a timer already armed is
// replaced); false when the system has no timer to give.
bool HostArmFrameTimer(unsigned milliseconds);
void HostKillFrameTimer();

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

// --- writing files ---
// Every file is written under a temporary name in its target's folder and replaces the
// target only when complete (see core/outstream.h), so a failed write never destroys
// what was there. System error numbers are the Win32 ones (2 not found, 5 access
// denied, 32 sharing violation, 112 disk full).
enum : uint32_t {
    kErrFileNotFound = 2,
    kErrPathNotFound = 3,
    kErrAccessDenied = 5,
    kErrSharingViolation = 32,
    kErrDiskFull = 112,
};
// Creates a new, empty temporary file in the folder of `targetPath`.
HostFile HostCreateTempBeside(const std::string& targetPath, std::string* tempPath, uint32_t* error);
bool HostWriteFile(HostFile file, const void* data, uint64_t bytes, uint32_t* error);
// Flushes and closes a file being written; false when its data may not be on disk.
bool HostFinishWrite(HostFile file, uint32_t* error);
// Moves `temp` over `target` (replacing it when it exists).
bool HostReplaceFile(const std::string& temp, const std::string& target, uint32_t* error);
bool HostDeleteFile(const std::string& path);
// Copies a file, replacing `to`.
bool HostCopyFile(const std::string& from, const std::string& to, uint32_t* error);
// 1 = created now, 0 = it existed already, -1 = could not be created.
int HostCreateDirectory(const std::string& path);
// The user's application-data folder ("" when the system has none), without a final separator.
std::string HostAppDataFolder();
// The folder of the running program, with its final separator.
std::string HostProgramFolder();
// Sets a file's last-write time (FILETIME units): 0 or -1.
int HostSetFileWriteTime(const std::string& path, uint64_t lastWriteTime);

// --- folder search ---
struct HostFoundFile {
    std::string name;  // file-name part only
    uint32_t attributes = 0;
    uint64_t size = 0;
    uint64_t lastWriteTime = 0;
};
using HostFind = void*;
// First entry matching `pattern` (a folder and a wildcard name, or a wildcard name in the
// current directory; "*" and "?" as in Windows, "*." = names without an extension).
// Null when there is none: *error is kErrFileNotFound when simply nothing matches.
HostFind HostFindFirst(const std::string& pattern, HostFoundFile* found, uint32_t* error);
bool HostFindNext(HostFind find, HostFoundFile* found);
void HostFindClose(HostFind find);
