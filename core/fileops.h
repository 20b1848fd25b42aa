// CFileOps: one file as the program sees it: its full path, name part and directory
// facts. It composes titles and the error texts about that file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host.h"

class CFileOps {
public:
    uint32_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t lastWriteTime = 0;
    uint64_t lastAccessTime = 0;
    uint32_t sizeHigh = 0;
    uint32_t sizeLow = 0;
    HostFile handle = nullptr;
    std::string fullPath = "Lumora";
    size_t namePart = 0;  // offset of the file-name part in fullPath

    virtual ~CFileOps();

    // Takes the full form of `name` into fullPath / namePart.
    void SetPath(const std::string& name);
    // Reads the directory entry of fullPath; false when the file does not exist.
    bool ReadDirectoryEntry();
    // Opens an existing file for reading; null when it does not exist or cannot be opened.
    HostFile OpenForRead(const std::string& name);
    void Close();

    uint64_t Size() const { return static_cast<uint64_t>(sizeHigh) << 32 | sizeLow; }
    std::string NamePart() const { return fullPath.substr(namePart); }

    // Composes titleText from the list position (`name`), a text or the file name, and the size.
    void SetTitleText(const std::string& name, const std::string& text, int width, int height, int depth);
    // Window title = prefix + file name + suffix.
    void ShowProgressTitle(const std::string& prefix, const std::string& suffix);
    // Reports a problem with this file, routed by the run mode.
    void Report(const std::string& message);
};

// The file being read (every load, its errors, the title) and the file being written.
extern CFileOps InputFile;
extern CFileOps OutputFile;
