#include "core/filetype.h"

#include <cstring>

#include "core/text.h"

namespace {
const char* const kRle[] = {".RLE", nullptr};
const char* const kGif[] = {".GIF", nullptr};
const char* const kPcx[] = {".PCX", nullptr};
const char* const kJpeg[] = {".JPG", ".JPEG", ".JFIF", nullptr};
const char* const kTga[] = {".TGA", nullptr};
const char* const kTiff[] = {".TIF", ".TIFF", nullptr};
const char* const kBmp[] = {".BMP", nullptr};
const char* const kWebp[] = {".WEBP", nullptr};
const char* const kPng[] = {".PNG", nullptr};
const char* const kIco[] = {".ICO", nullptr};
const char* const kCur[] = {".CUR", nullptr};
const char* const kAni[] = {".ANI", nullptr};
const char* const kRaw[] = {".RAW", ".3FR", ".ARW", ".CRW", ".CR2", ".DCR", ".DNG", ".KDC", ".MRW",
                            ".NEF", ".NRW", ".ORF", ".PEF", ".RAF", ".RW2", ".SR2", ".X3F", nullptr};
const char* const kDb[] = {".DB", nullptr};
const char* const kClg[] = {".CLG", nullptr};
const char* const kTns[] = {".TNS", nullptr};
const char* const kList[] = {".LST", ".AIS", nullptr};
const char* const kMpg[] = {".MPG", nullptr};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

// Tested in this order; the first match wins (".TIFF" already matches ".TIF").
const FileTypePatterns kFileTypeTable[] = {
    {kRle, FT_BMP},  {kGif, FT_GIF},  {kPcx, FT_PCX},       {kJpeg, FT_JPEG}, {kTga, FT_TGA},
    {kTiff, FT_TIFF}, {kBmp, FT_BMP}, {kWebp, FT_WEBP},     {kPng, FT_PNG},   {kIco, FT_ICO},
    {kCur, FT_CUR},  {kAni, FT_ANI},  {kRaw, FT_RAW},       {kDb, FT_THUMBSDB}, {kClg, FT_CLG},
    {kTns, FT_TNS},  {kList, FT_LIST}, {kMpg, FT_MPEG},
};
const int kFileTypeTableSize = sizeof kFileTypeTable / sizeof kFileTypeTable[0];

const char* ContainsNoCase(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr) return nullptr;
    size_t n = std::strlen(pattern);
    for (const char* t = text; *t; ++t) {
        size_t k = 0;
        while (k < n && t[k] && Upper(t[k]) == Upper(pattern[k])) ++k;
        if (k == n) return t;
    }
    return n == 0 ? text : nullptr;
}

int FileTypeFromName(const std::string& path, FileType* type) {
    std::string name = path.substr(FileNameOffset(path));
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return -1;
    std::string ext = name.substr(dot);
    for (const FileTypePatterns& row : kFileTypeTable) {
        for (const char* const* p = row.patterns; *p; ++p) {
            if (ContainsNoCase(ext.c_str(), *p)) {
                *type = row.type;
                return 0;
            }
        }
    }
    return -1;
}
