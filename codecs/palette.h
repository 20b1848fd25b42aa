// The palette read by the last palette reader: up to 256 red, green, blue triples.
#pragma once

#include <cstdint>

extern uint8_t filePalette[256 * 3];
extern int filePaletteCount;
