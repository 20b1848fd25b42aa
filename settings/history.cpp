#include "settings/history.h"

#include <utility>

HistoryList FolderHistory;
HistoryList FileHistory;

void PushHistory(HistoryList& list, const std::string& path) {
    int found = -1;
    for (int k = 0; k < list.count; ++k) {
        if (list.entries[k] == path) {
            found = k;
            break;
        }
    }
    int last;  // the entry that is overwritten by the shift
    if (found >= 0) {
        last = found;
    } else if (list.count >= kHistoryEntries) {
        last = kHistoryEntries - 1;
    } else {
        last = list.count;
        ++list.count;
    }
    for (int k = last; k > 0; --k) list.entries[k] = std::move(list.entries[k - 1]);
    list.entries[0] = path;
}

void AddToFolderHistory(const std::string& path) { PushHistory(FolderHistory, path); }
void AddToFileHistory(const std::string& path) { PushHistory(FileHistory, path); }

void ClearHistory(HistoryList& list) {
    for (std::string& e : list.entries) e.clear();
    list.count = 0;
}
