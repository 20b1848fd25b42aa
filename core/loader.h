// The one road of every picture to the screen: type from the name, the whole file in
// memory, the reader's header phase, the current image created at that size, the
// reader's pixel phase, conversion to 24 bits, title and histories.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <string>

enum HistoryMode { HISTORY_NONE = 0, HISTORY_FOLDER_AND_FILE = 1, HISTORY_FOLDER = 2 };

// Loads `path` (cleaned in place) into the current image: 0, or negative after reporting.
int LoadImageFile(std::string& path, int historyMode);
// Phase 1: the type's header reader, then the current image is created. 0 or -1.
int ReadImageHeader(const std::string& path);
// Phase 2: the type's pixel decoder. 0 or negative.
int DecodeImagePixels();
// Reads only the header of a picture file: its width, height and depth. Leaves the
// current picture and everything about it untouched and reports nothing. 0 or -1.
int ProbeImageHeader(const std::string& path, uint16_t* width, uint16_t* height, uint16_t* depth);
// A name from the command line or another instance: 1 = load it, 0 = ignore.
int PrepareNameFromOutside(std::string& name);

// Recovery point for readers and libraries that leave by a long jump. No object with a
// destructor may be alive between the reader's entry and the jump.
extern jmp_buf LoadRecovery;
[[noreturn]] void JumpToLoadRecovery();

// Message of a reader that does not exist yet.
extern const char* const kReaderNotBuilt;
