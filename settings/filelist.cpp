#include "settings/filelist.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "base/appstate.h"
#include "core/current_image.h"
#include "platform/host.h"
#include "core/loader.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"
#include "base/settings.h"

FileListState FileList;
int fileListPumpInterval = 50;

const char* const kTypePatterns[kTypePatternCount] = {
    "*.BMP", "*.RLE", "*.GIF", "*.PCX", "*.JPG", "*.JPEG", "*.JFIF", "*.TIF", "*.TGA", "*.PNG", "*.CUR",
    "*.ANI", "*.ICO", "*.TNS", "*.WEBP", "*.RAW", "*.3FR", "*.ARW", "*.CRW", "*.CR2", "*.DCR", "*.DNG",
    "*.KDC", "*.MRW", "*.NEF", "*.NRW", "*.ORF", "*.PEF", "*.RAF", "*.RW2", "*.SR2", "*.X3F", "*.",
};
bool typePatternEnabled[kTypePatternCount] = {
    true, true, true, true, true, true, true, true, true, true, true, true, true, true, true, true, true,
    true, true, true, true, true, true, true, true, true, true, true, true, true, true, true, true,
};
std::string fileSpec;

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(AsciiLower(a[i]));
        const unsigned char y = static_cast<unsigned char>(AsciiLower(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string Extension(const std::string& name) {
    size_t dot = name.rfind('.');
    return dot == std::string::npos || dot < FileNameOffset(name) ? std::string() : name.substr(dot + 1);
}

template <typename T>
int Compare3(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int CompareEntries(int key, const FileListEntry& a, const FileListEntry& b) {
    int c = 0;
    switch (key) {
        case SORT_ALPHA:
            return CompareNoCase(a.name, b.name);
        case SORT_WIDTH:
            c = Compare3(a.width, b.width);
            if (c == 0) c = Compare3(a.height, b.height);
            return c != 0 ? c : CompareNoCase(a.name, b.name);
        case SORT_EXT:
            c = CompareNoCase(Extension(a.name), Extension(b.name));
            return c != 0 ? c : CompareNoCase(a.name, b.name);
        case SORT_SIZE:
            return Compare3(a.size, b.size);
        case SORT_TIME:
            return Compare3(a.lastWrite, b.lastWrite);
        default:
            return 0;
    }
}

// The first enabled type pattern that `name` matches, or -1.
int FirstMatchingPattern(const std::string& name) {
    for (int i = 0; i < kTypePatternCount; ++i)
        if (typePatternEnabled[i] && WildcardMatch(kTypePatterns[i], name.c_str())) return i;
    return -1;
}

bool AnyPatternEnabled() {
    if (FileSpecInUse()) return true;
    return std::any_of(typePatternEnabled, typePatternEnabled + kTypePatternCount, [](bool on) { return on; });
}

void ShowSpinner() {
    static const char kSpinner[] = {'|', '\\', '-', '/'};
    static int turn = 0;
    if (EditState == EDIT_WRITING_ANIMATION) return;
    HostSetTitle(std::string("Loading Files into Memory ") + kSpinner[turn++ % 4]);
}

// Stores one found file in `group`; false when the collection has to end.
bool Store(const HostFoundFile& found, std::vector<FileListEntry>* group) {
    FileListEntry entry;
    entry.name = found.name;
    entry.size = static_cast<uint32_t>(found.size);
    entry.lastWrite = found.lastWriteTime;
    if (std::abs(SortOrder) == SORT_WIDTH) {
        // Only the header is read, without touching the picture on the screen; a file
        // whose header cannot be read is left out.
        uint16_t w = 0, h = 0, d = 0;
        if (ProbeImageHeader(found.name, &w, &h, &d) < 0) return true;
        entry.width = w;
        entry.height = h;
        if (EditState != EDIT_WRITING_ANIMATION) HostSetTitle(FormatText("%s (%dx%d)", found.name.c_str(), w, h));
    }
    try {
        group->push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        ReportFileError(FormatText("Not enough memory for line %d in list file ", FileList.Count()));
        return false;
    }
    return true;
}

}  // namespace

void EnableTypePattern(int index, bool on) {
    if (index < 0 || index > kRawPatternIndex) return;
    typePatternEnabled[index] = on;
    if (index == kRawPatternIndex)
        for (int i = kRawPatternIndex + 1; i < kTypePatternCount; ++i) typePatternEnabled[i] = on;
}

bool FileSpecInUse() {
    return !fileSpec.empty() && static_cast<unsigned char>(fileSpec[0]) > ' ' &&
           fileSpec.find("*.*") == std::string::npos;
}

void ResetListPosition() {
    FileList.position = -1;
    std::srand(static_cast<unsigned>(std::time(nullptr)) & 0xFFFF);
}

namespace {

// Set while a collection runs. It handles pending messages as it goes, and what they
// ask for (a slide-show tick, another step) must neither see the half-built list nor
// start a second collection into it.
bool collecting = false;

struct CollectingGuard {
    CollectingGuard() { collecting = true; }
    ~CollectingGuard() { collecting = false; }
};

}  // namespace

bool FileListCollecting() { return collecting; }

void BuildFileList(bool wholeFolder) {
    if (collecting) return;
    CollectingGuard guard;
    HostSetWaitCursor(true);
    FileList.entries.clear();
    FileList.fromListFile = false;
    if (CurrentImage.fullPath.empty() && !lastReadFolder.empty()) HostSetCurrentDir(lastReadFolder);
    if (!AnyPatternEnabled()) {
        ReportFileError(FormatText("File not found for line %d in list file ", FileList.Count()));
        ShowTitle();
        HostSetWaitCursor(false);
        return;
    }
    // The folder is read once: every name is put with the first enabled type pattern it
    // matches, in the folder's order, and the groups are joined in the patterns' order,
    // which is the list a search pattern by pattern gives, for one read instead of 33. A
    // file pattern the user typed is searched by itself. Only a name's own text counts (a
    // system may also match short aliases, or take "*." for every name); folders, "."
    // and ".." never enter the list.
    const bool bySpec = FileSpecInUse();
    const std::string specName = bySpec ? fileSpec.substr(FileNameOffset(fileSpec)) : std::string();
    std::vector<std::vector<FileListEntry>> groups(bySpec ? 1 : kTypePatternCount);
    ShowSpinner();
    HostFoundFile found;
    uint32_t error = 0;
    HostFind find = HostFindFirst(bySpec ? fileSpec : std::string("*"), &found, &error);
    if (find == nullptr && error != kErrFileNotFound)
        ReportFileError(FormatText("File not found for line %d in list file ", FileList.Count()));
    // Pending messages are handled every 50 ms, so that the window keeps painting; once
    // per file would cost more than the search itself on a large folder.
    auto lastPump = std::chrono::steady_clock::now();
    bool complete = true;
    for (bool have = find != nullptr; have; have = HostFindNext(find, &found)) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastPump >= std::chrono::milliseconds(fileListPumpInterval)) {
            HostPumpMessages();
            ShowSpinner();
            lastPump = now;
        }
        if ((found.attributes & 0x10) != 0 || found.name == "." || found.name == "..") continue;
        const int group = bySpec ? (WildcardMatch(specName.c_str(), found.name.c_str()) ? 0 : -1)
                                 : FirstMatchingPattern(found.name);
        if (group < 0) continue;
        if (!Store(found, &groups[static_cast<size_t>(group)])) {
            complete = false;
            break;
        }
        // In normal run mode only the first file is wanted: a name of the first group
        // cannot be preceded by any other.
        if (RunMode == RUN_NORMAL && !wholeFolder && group == 0) break;
    }
    HostFindClose(find);
    const size_t wanted = (RunMode == RUN_NORMAL && !wholeFolder) ? 1 : static_cast<size_t>(kMaxFileListEntries);
    try {
        for (auto& group : groups)
            for (auto& entry : group) {
                if (FileList.entries.size() >= wanted) break;
                FileList.entries.push_back(std::move(entry));
            }
    } catch (const std::bad_alloc&) {
        if (complete) ReportFileError(FormatText("Not enough memory for line %d in list file ", FileList.Count()));
    }
    ShowTitle();
    HostSetWaitCursor(false);
}

void SortFileList() {
    const int key = std::abs(SortOrder);
    if (key == SORT_UNSORTED || (ForceListOrder && FileList.fromListFile)) return;
    HostSetWaitCursor(true);
    auto& v = FileList.entries;
    if (key == SORT_RAND) {
        // A coin-toss comparison is no ordering a sort can rely on: shuffle instead, with
        // the generator seeded when the position was reset.
        for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[static_cast<size_t>(std::rand()) % i]);
    } else {
        const bool reversed = SortOrder < 0;
        std::sort(v.begin(), v.end(), [key, reversed](const FileListEntry& a, const FileListEntry& b) {
            const int c = CompareEntries(key, a, b);
            return reversed ? c > 0 : c < 0;
        });
    }
    HostSetWaitCursor(false);
}

void FindInList(const std::string& path) {
    const std::string name = path.substr(FileNameOffset(path));
    FileList.position = -1;
    for (int i = 0; i < FileList.Count(); ++i) {
        if (CompareNoCase(FileList.entries[static_cast<size_t>(i)].name.substr(
                              FileNameOffset(FileList.entries[static_cast<size_t>(i)].name)),
                          name) == 0) {
            FileList.position = i;
            return;
        }
    }
}

int StepInList(int step, std::string* name) {
    if (collecting) return kListBusy;
    const int n = FileList.Count();
    const bool wrap = StartListAgain != 0;
    int& p = FileList.position;
    switch (step) {
        case 1:
            p = p >= n - 1 ? (wrap ? 0 : n - 1) : p + 1;
            break;
        case -1:
            p = p == 0 ? (wrap ? n - 1 : 0) : p - 1;
            break;
        case 5:
            p += 5;
            if (p >= n) p = wrap ? 0 : n - 1;
            break;
        case -5:
            p -= 5;
            if (p < 0) p = wrap ? n - 1 : 0;
            break;
        case 0:
            p = 0;
            break;
        default:
            break;
    }
    if (n < 1) return -1;
    if (p < 0) p = 0;
    *name = FileList.entries[static_cast<size_t>(p)].name;
    return 0;
}

void RefreshStaleList(const std::string& currentPath, bool wholeFolder) {
    if (collecting || !FileList.stale) return;
    ResetListPosition();
    if (!FileList.fromListFile) BuildFileList(wholeFolder);
    SortFileList();
    FindInList(currentPath);
    FileList.stale = false;
}

void RemoveDeletedFile(const std::string& path) {
    if (collecting || FileList.stale) return;
    FindInList(path);
    const int index = FileList.position;
    if (index < 0) return;
    FileList.entries.erase(FileList.entries.begin() + index);
}

int NavigationTarget(int step, const std::string& currentPath, std::string* name) {
    if (collecting) return kListBusy;
    RefreshStaleList(currentPath, false);
    if (StepInList(step, name) == -1) {
        ShowMessage("No file found, change directory or set different file types", "Viewer", kMbOk | kMbIconWarning);
        return -1;
    }
    return 0;
}
