// The date of the file a picture came from, given to the first file written from it.
#pragma once

#include <cstdint>
#include <string>

// Last-write time of the file last loaded (FILETIME units); 0 when none is held.
extern uint64_t inputFileTime;

// Remembers the last-write time of `path`: 0, or -1 after reporting.
int ReadFileDate(const std::string& path);

// Gives `path` the held date, once: the date is forgotten afterwards.
void RestoreFileDate(const std::string& path);
