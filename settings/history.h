// The folder and file histories: 36 entries each, most recent first, no duplicates.
#pragma once

#include <cstdint>
#include <string>

constexpr int kHistoryEntries = 36;

struct HistoryList {
    std::string entries[kHistoryEntries];
    uint16_t count = 0;
};
extern HistoryList FolderHistory;
extern HistoryList FileHistory;

// Moves `path` to the front: an equal entry moves up, a new one drops the oldest when full.
void PushHistory(HistoryList& list, const std::string& path);
void AddToFolderHistory(const std::string& path);
void AddToFileHistory(const std::string& path);
void ClearHistory(HistoryList& list);
