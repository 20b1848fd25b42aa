#include "core/filemem.h"

#include <cstdlib>
#include <cstring>

#include "core/bigalloc.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "core/report.h"
#include "base/text.h"

CFileMem FileMem;
FileCursorState FileCursor;

CFileMem::~CFileMem() { Release(); }

void CFileMem::Release() {
    if (FileCursor.stream != nullptr) InputFile.Close();
    std::free(buffer);
    buffer = nullptr;
    data = nullptr;
    FileCursor = FileCursorState();
}

namespace {
uint8_t* AllocateWithSlack(uint64_t size) {
    if (size > SIZE_MAX - kFileMemSlack) return nullptr;
    auto* p = static_cast<uint8_t*>(AllocateBlock(static_cast<size_t>(size) + kFileMemSlack));
    if (p != nullptr) std::memset(p + size, 0, kFileMemSlack);
    return p;
}

void SetCursor(uint64_t bytes) {
    FileCursor.start = FileCursor.cur = FileMem.data;
    FileCursor.end = FileMem.data + bytes;
    FileCursor.size = bytes;
}
}  // namespace

const uint8_t* LoadFileToMemory(const std::string& path) {
    FileMem.Release();
    HostFile file = InputFile.OpenForRead(path);
    if (file == nullptr) {
        ReportFileError("Can't open file ");
        return nullptr;
    }
    const uint64_t size = InputFile.Size();
    uint8_t* buffer = AllocateWithSlack(size);
    if (buffer == nullptr) {
        InputFile.Close();
        ShowMessage(FormatText("Can't allocate memory for %llu bytes in file", static_cast<unsigned long long>(size)),
                    "File to memory", kMbOk | kMbIconWarning);
        return nullptr;
    }
    int64_t got = HostReadFile(file, buffer, size);
    InputFile.Close();
    if (got < 0) {
        std::free(buffer);
        ReportFileError("Can't open file ");
        return nullptr;
    }
    FileMem.buffer = FileMem.data = buffer;
    SetCursor(static_cast<uint64_t>(got));
    return FileMem.data;
}

bool OpenFileStream(const std::string& path) {
    FileMem.Release();
    HostFile file = InputFile.OpenForRead(path);
    if (file == nullptr) {
        ReportFileError("Can't open file ");
        return false;
    }
    FileCursor.stream = file;
    FileCursor.size = InputFile.Size();
    return true;
}

const uint8_t* LoadBytesToMemory(const uint8_t* bytes, size_t size) {
    FileMem.Release();
    uint8_t* buffer = AllocateWithSlack(size);
    if (buffer == nullptr) return nullptr;
    if (size) std::memcpy(buffer, bytes, size);
    FileMem.buffer = FileMem.data = buffer;
    SetCursor(size);
    return FileMem.data;
}
