#include "base/colour.h"

#include "base/text.h"

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool HexColourAt(const std::string& text, size_t at, RgbColour* colour) {
    if (at > text.size() || text.size() - at < 6) return false;
    int d[6];
    for (int i = 0; i < 6; ++i)
        if ((d[i] = HexDigitValue(text[at + i])) < 0) return false;
    *colour = {static_cast<uint8_t>(d[0] * 16 + d[1]), static_cast<uint8_t>(d[2] * 16 + d[3]),
               static_cast<uint8_t>(d[4] * 16 + d[5])};
    return true;
}

bool ParseHexColour(const std::string& text, RgbColour* colour) {
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos || last - first + 1 != 6) return false;
    return HexColourAt(text, first, colour);
}

std::string HexColourText(const RgbColour& colour) {
    return FormatText("%02X%02X%02X", colour.red, colour.green, colour.blue);
}
