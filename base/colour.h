// A picture colour as the settings and dialogs hold it, and its RRGGBB hex text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct RgbColour {
    uint8_t red, green, blue;
};

// The value of one hex digit (either case), -1 for any other character.
int HexDigitValue(char c);
// Six hex digits RRGGBB starting at `at`; false (and the colour kept) when they are not there.
bool HexColourAt(const std::string& text, size_t at, RgbColour* colour);
// The GIF background colour box: six hex digits RRGGBB (either case), blanks around them
// allowed. False for anything else.
bool ParseHexColour(const std::string& text, RgbColour* colour);
// "%02X%02X%02X": what LUM.INI stores and the box starts with.
std::string HexColourText(const RgbColour& colour);
