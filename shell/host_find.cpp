// Folder search for the engine's file list: FindFirstFileW / FindNextFileW.
#include <windows.h>

#include <string>

#include "platform/host.h"
#include "shell/filetime.h"
#include "shell/wintext.h"

namespace {

void Fill(const WIN32_FIND_DATAW& data, HostFoundFile* found) {
    found->name = Narrow(data.cFileName);
    found->attributes = data.dwFileAttributes;
    found->size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    found->lastWriteTime = FileTimeValue(data.ftLastWriteTime);
}

}  // namespace

HostFind HostFindFirst(const std::string& pattern, HostFoundFile* found, uint32_t* error) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        DWORD e = GetLastError();
        // A folder that exists but holds no match answers "no more files" on some systems.
        *error = (e == ERROR_NO_MORE_FILES || e == ERROR_FILE_NOT_FOUND) ? kErrFileNotFound : static_cast<uint32_t>(e);
        return nullptr;
    }
    Fill(data, found);
    return find;
}

bool HostFindNext(HostFind find, HostFoundFile* found) {
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(static_cast<HANDLE>(find), &data)) return false;
    Fill(data, found);
    return true;
}

void HostFindClose(HostFind find) {
    if (find != nullptr) FindClose(static_cast<HANDLE>(find));
}
