#include "core/filetype.h"

#include <cstring>

#include "base/text.h"
#include "core/formats.h"

const char* ContainsNoCase(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr) return nullptr;
    size_t n = std::strlen(pattern);
    for (const char* t = text; *t; ++t) {
        size_t k = 0;
        while (k < n && t[k] && AsciiUpper(t[k]) == AsciiUpper(pattern[k])) ++k;
        if (k == n) return t;
    }
    return n == 0 ? text : nullptr;
}

int FileTypeFromName(const std::string& path, FileType* type) {
    std::string name = path.substr(FileNameOffset(path));
    size_t dot = name.rfind('.');
    if (dot == std::string::npos) return -1;
    std::string ext = name.substr(dot);
    for (int i = 0; i < kFormatCount; ++i) {
        const FormatRow& row = kFormats[i];
        for (const char* const* p = row.extensions; *p; ++p) {
            if (ContainsNoCase(ext.c_str(), *p)) {
                *type = row.type;
                return 0;
            }
        }
    }
    return -1;
}
