// The list of pictures to step through: collected from the current folder (or read from a
// list file), sorted in one of seven orders, and walked with or without wrapping.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kMaxFileListEntries = 100000;

struct FileListEntry {
    std::string name;  // as found in the folder (relative to the current directory), or a list path
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint64_t lastWrite = 0;  // FILETIME units
};

struct FileListState {
    std::vector<FileListEntry> entries;  // never more than kMaxFileListEntries
    int position = -1;                   // entry shown, -1 = before the first
    bool stale = true;                   // rebuild before the next step
    int step = 1;                        // last navigation step: +1, -1, +5, -5
    bool fromListFile = false;
    int Count() const { return static_cast<int>(entries.size()); }
};
extern FileListState FileList;

// The type patterns searched, in order, each with its enable flag. The camera RAW
// patterns after "*.RAW" and "*." follow the "*.RAW" flag.
constexpr int kTypePatternCount = 33;
constexpr int kRawPatternIndex = 15;
extern const char* const kTypePatterns[kTypePatternCount];
extern bool typePatternEnabled[kTypePatternCount];
// Sets the flag of one of the first 16 patterns; the RAW flag is copied to the patterns after it.
void EnableTypePattern(int index, bool on);

// The user's own file pattern (a wildcard path); empty = the type patterns.
extern std::string fileSpec;
// True when fileSpec replaces the type patterns (not blank, no "*.*").
bool FileSpecInUse();

void ResetListPosition();
// Collects the folder's matching files; a failure is reported and what was collected stays.
// In the normal run mode only the first file is collected (stepping and the slide show
// collect everything) unless `wholeFolder` asks for all of them.
// Only one collection runs at a time: a call made while one runs (from a message it
// handled) does nothing.
void BuildFileList(bool wholeFolder = false);
// Milliseconds between the collection's rounds of message handling (tests lower it).
extern int fileListPumpInterval;
// True while a collection runs.
bool FileListCollecting();
// What the steps answer while a collection runs: nothing was done, try again later.
constexpr int kListBusy = -2;
void SortFileList();
// position = index of the entry whose name equals the file-name part of `path`
// (without regard to case), else -1.
void FindInList(const std::string& path);
// Moves by `step` (+1, -1, +5, -5 or 0) and gives the entry's name: 0, -1 when empty,
// kListBusy (nothing moved) while a collection runs.
int StepInList(int step, std::string* name);

// When the list is stale: collects it again (the whole folder when asked), sorts it and
// finds the shown file `currentPath` in it.
void RefreshStaleList(const std::string& currentPath, bool wholeFolder);
// The shown file was deleted: a list that is not stale loses its entry, and the position
// stays where the entry was, so that the next step back shows the file before it.
void RemoveDeletedFile(const std::string& path);

// The file a navigation step shows: rebuilds and sorts the list first when it is stale
// (finding the shown file `currentPath` in it), then steps. 0, or -1 after the message
// "No file found, change directory or set different file types"; kListBusy (nothing
// done, nothing shown) while a collection runs.
int NavigationTarget(int step, const std::string& currentPath, std::string* name);
