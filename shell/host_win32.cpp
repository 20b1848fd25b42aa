// The engine's platform seam implemented with Win32 calls. Text arrives as UTF-8 and is
// widened here; nothing in this file decides what to show, it only carries it out.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "base/ids.h"
#include "platform/host.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/filetime.h"
#include "shell/mainwnd.h"
#include "shell/startup.h"
#include "shell/wintext.h"

namespace {

void SetError(uint32_t* error, DWORD code) {
    if (error != nullptr) *error = static_cast<uint32_t>(code);
}

std::string Hex8(uint32_t value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = kDigits[value & 0xF];
    return text;
}

// The folder part of a path including its final separator; "" for a bare name.
std::string FolderPart(const std::string& path) {
    const size_t end = path.find_last_of("\\/:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

void WriteToStdHandle(DWORD which, const std::string& text) {
    HANDLE out = GetStdHandle(which);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    size_t done = 0;
    while (done < text.size()) {
        DWORD chunk = static_cast<DWORD>(text.size() - done > 65536 ? 65536 : text.size() - done);
        DWORD written = 0;
        if (!WriteFile(out, text.data() + done, chunk, &written, nullptr) || written == 0) return;
        done += written;
    }
}

}  // namespace

void WriteStandardError(const std::string& text) { WriteToStdHandle(STD_ERROR_HANDLE, text); }

// --- messages and the window ---

int HostMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    const WString wideText = Widen(text);
    const WString wideCaption = Widen(caption);
    return MessageBoxW(MainWindow, wideText.c_str(), wideCaption.c_str(), flags);
}

void HostBeep() { MessageBeep(MB_OK); }

void HostPrintStdout(const std::string& text) { WriteToStdHandle(STD_OUTPUT_HANDLE, text); }

void HostSetTitle(const std::string& text) {
    if (MainWindow == nullptr) return;
    SetWindowTextW(MainWindow, Widen(text).c_str());
}

void HostSetWaitCursor(bool wait) { SetCursor(LoadCursorW(nullptr, wait ? IDC_WAIT : IDC_ARROW)); }

void HostRedrawImage() { RedrawImage(); }

// A frame of an animation has the size of the one before: no new layout, and no erase of
// the background, which would flicker.
void HostRepaintImage() {
    if (MainWindow == nullptr) return;
    InvalidateRect(MainWindow, nullptr, FALSE);
}

void HostLayOutWindow() {
    if (MainWindow == nullptr) return;
    ApplyDisplayMode();
    // A window not shown yet (a start that fails before it appears) stays hidden.
    if (IsWindowVisible(MainWindow)) ShowWindow(MainWindow, SW_SHOWNORMAL);
}

bool HostArmFrameTimer(unsigned milliseconds) {
    if (MainWindow == nullptr) return false;
    return SetTimer(MainWindow, IDT_ANIMATION, milliseconds, nullptr) != 0;
}

void HostKillFrameTimer() {
    if (MainWindow != nullptr) KillTimer(MainWindow, IDT_ANIMATION);
}

void HostPumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the main loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // A hand-over posted to the thread has no window to go to: it is kept until the
        // work pumping here is done.
        if (msg.hwnd == nullptr && msg.message != 0 && msg.message == instanceLink.messageId) {
            KeepHandOver(MainWindow);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// --- files and folders ---

bool HostGetFileFacts(const std::string& path, HostFileFacts* facts) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    facts->attributes = static_cast<uint32_t>(found.dwFileAttributes);
    facts->creationTime = FileTimeValue(found.ftCreationTime);
    facts->lastWriteTime = FileTimeValue(found.ftLastWriteTime);
    facts->lastAccessTime = FileTimeValue(found.ftLastAccessTime);
    facts->size = static_cast<uint64_t>(found.nFileSizeHigh) << 32 | static_cast<uint64_t>(found.nFileSizeLow);
    return true;
}

bool HostFullPath(const std::string& path, std::string* full, size_t* nameOffset) {
    if (path.empty()) return false;
    const WString wide = Widen(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return false;
    WString buffer(static_cast<size_t>(needed) + 1, WCHAR(0));
    WCHAR* namePart = nullptr;
    const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), &buffer[0], &namePart);
    if (length == 0 || length >= buffer.size()) return false;
    buffer.resize(length);
    *full = Narrow(buffer);
    // A path that ends in a separator has no name part: it starts at the end.
    *nameOffset = namePart == nullptr ? full->size() : Narrow(buffer.c_str(), static_cast<int>(namePart - buffer.c_str())).size();
    return true;
}

HostFile HostOpenRead(const std::string& path) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : static_cast<HostFile>(file);
}

int64_t HostReadFile(HostFile file, void* buffer, uint64_t bytes) {
    auto* out = static_cast<char*>(buffer);
    uint64_t done = 0;
    // ReadFile takes 32-bit counts: large files are read in 1 GiB pieces.
    while (done < bytes) {
        const DWORD chunk = static_cast<DWORD>(bytes - done > (1u << 30) ? (1u << 30) : bytes - done);
        DWORD got = 0;
        if (!ReadFile(static_cast<HANDLE>(file), out + done, chunk, &got, nullptr)) return -1;
        if (got == 0) break;
        done += got;
    }
    return static_cast<int64_t>(done);
}

void HostCloseFile(HostFile file) {
    if (file != nullptr) CloseHandle(static_cast<HANDLE>(file));
}

int HostReadFileTime(const std::string& path, uint64_t* lastWriteTime) {
    // Shared: a streamed reader (PNG) holds the file open for reading while its date is read.
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    FILETIME written;
    const BOOL ok = GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    if (!ok) return -2;
    *lastWriteTime = FileTimeValue(written);
    return 0;
}

std::string HostGetCurrentDir() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::string();
    WString buffer(static_cast<size_t>(needed) + 1, WCHAR(0));
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), &buffer[0]);
    if (length == 0 || length >= buffer.size()) return std::string();
    buffer.resize(length);
    return Narrow(buffer);
}

bool HostSetCurrentDir(const std::string& path) { return SetCurrentDirectoryW(Widen(path).c_str()) != 0; }

// --- writing files ---

HostFile HostCreateTempBeside(const std::string& targetPath, std::string* tempPath, uint32_t* error) {
    const std::string folder = FolderPart(targetPath);
    // A new name is tried until one is free; CREATE_NEW never opens someone else's file.
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = folder + "~lum" + Hex8(seed + static_cast<DWORD>(attempt) * 7919u) + ".tmp";
        HANDLE file = CreateFileW(Widen(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *tempPath = candidate;
            return static_cast<HostFile>(file);
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            SetError(error, code);
            return nullptr;
        }
    }
    SetError(error, ERROR_FILE_EXISTS);
    return nullptr;
}

bool HostWriteFile(HostFile file, const void* data, uint64_t bytes, uint32_t* error) {
    const auto* in = static_cast<const char*>(data);
    uint64_t done = 0;
    while (done < bytes) {
        const DWORD chunk = static_cast<DWORD>(bytes - done > (1u << 30) ? (1u << 30) : bytes - done);
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(file), in + done, chunk, &written, nullptr)) {
            SetError(error, GetLastError());
            return false;
        }
        // A short write without an error code means the volume is full.
        if (written == 0) {
            SetError(error, ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return true;
}

bool HostFinishWrite(HostFile file, uint32_t* error) {
    HANDLE handle = static_cast<HANDLE>(file);
    bool ok = FlushFileBuffers(handle) != 0;
    if (!ok) SetError(error, GetLastError());
    if (!CloseHandle(handle) && ok) {
        SetError(error, GetLastError());
        ok = false;
    }
    return ok;
}

bool HostReplaceFile(const std::string& temp, const std::string& target, uint32_t* error) {
    const WString wideTarget = Widen(target);
    // A read-only file is never replaced. Windows' MoveFileExW refuses it by itself; Wine's
    // replaces it, so the check is made here for both.
    const DWORD attributes = GetFileAttributesW(wideTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        SetError(error, ERROR_ACCESS_DENIED);
        return false;
    }
    if (MoveFileExW(Widen(temp).c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    SetError(error, GetLastError());
    return false;
}

bool HostDeleteFile(const std::string& path) { return DeleteFileW(Widen(path).c_str()) != 0; }

bool HostCopyFile(const std::string& from, const std::string& to, uint32_t* error) {
    if (CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE)) return true;
    SetError(error, GetLastError());
    return false;
}

int HostCreateDirectory(const std::string& path) {
    const WString wide = Widen(path);
    if (CreateDirectoryW(wide.c_str(), nullptr)) return 1;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return -1;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) ? 0 : -1;
}

std::string HostAppDataFolder() {
    WCHAR folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder))) return std::string();
    std::string result = Narrow(folder);
    while (!result.empty() && (result.back() == '\\' || result.back() == '/')) result.pop_back();
    return result;
}

std::string HostProgramFolder() {
    WString buffer(MAX_PATH, WCHAR(0));
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        // A full buffer may hold a cut name: try again with a larger one.
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return FolderPart(Narrow(buffer));
}

int HostSetFileWriteTime(const std::string& path, uint64_t lastWriteTime) {
    HANDLE file = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    const FILETIME written = ToFileTime(lastWriteTime);
    const BOOL ok = SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return ok ? 0 : -1;
}
