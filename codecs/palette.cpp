#include "codecs/palette.h"

uint8_t filePalette[256 * 3];
int filePaletteCount = 0;
