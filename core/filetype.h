// File types decided from a file name's extension (the extensions are in the format
// registry, core/formats.h).
#pragma once

#include <string>

enum FileType : int {
    FT_UNSUPPORTED = -1,
    FT_BMP = 0,
    FT_GIF = 2,
    FT_PCX = 3,
    FT_JPEG = 4,
    FT_TGA = 5,
    FT_TIFF = 6,
    FT_CUR = 7,
    FT_ICO = 8,
    FT_ANI = 9,
    FT_PNG = 10,
    FT_RAW = 11,
    FT_CLG = 19,
    FT_THUMBSDB = 20,
    FT_TNS = 21,
    FT_LIST = 22,
    FT_MPEG = 23,
    FT_WEBP = 24,
};

// First position of `pattern` in `text`, comparing a-z as A-Z; null when absent.
const char* ContainsNoCase(const char* text, const char* pattern);

// Type of a path by its last extension: 0 and *type set, or -1 (type left as it was).
int FileTypeFromName(const std::string& path, FileType* type);
