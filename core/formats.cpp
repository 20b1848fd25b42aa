#include "core/formats.h"

#include "base/text.h"

const FileType kOpenFilterOrder[] = {
    FT_BMP, FT_GIF, FT_PCX, FT_JPEG, FT_TGA, FT_TIFF, FT_PNG, FT_WEBP, FT_ICO,
    FT_CUR, FT_ANI, FT_RAW, FT_THUMBSDB, FT_CLG, FT_LIST, FT_TNS,
};
const int kOpenFilterOrderSize = sizeof kOpenFilterOrder / sizeof kOpenFilterOrder[0];

const FileType kSaveOrderNormal[kSaveFilterCount] = {FT_JPEG, FT_BMP, FT_GIF, FT_TGA, FT_PNG, FT_WEBP, FT_MPEG};
const FileType kSaveOrderTns[kSaveFilterCount] = {FT_JPEG, FT_BMP, FT_GIF, FT_TGA, FT_PNG, FT_MPEG, FT_TNS};

const FormatRow* FindFormat(FileType type) {
    for (int i = 0; i < kFormatCount; ++i)
        if (kFormats[i].type == type) return &kFormats[i];
    return nullptr;
}

bool HasReader(FileType type) {
    const FormatRow* row = FindFormat(type);
    return row != nullptr && row->readHeader != nullptr;
}

bool FormatHasFlag(FileType type, FormatFlags flag) {
    const FormatRow* row = FindFormat(type);
    return row != nullptr && (row->flags & flag) != 0;
}

void CloseKeptFiles() {
    for (int i = 0; i < kFormatCount; ++i)
        if (kFormats[i].closeKept != nullptr) kFormats[i].closeKept();
}

namespace {

// "RAW Files (*.RAW,*.3FR,...)" with "*.raw;*.3fr;...": the RAW entry lists the row's
// extensions.
FilterEntry ExtensionsEntry(const FormatRow& row, std::string* description, std::string* patterns) {
    *description = "RAW Files (";
    patterns->clear();
    for (const char* const* p = row.extensions; *p; ++p) {
        if (!patterns->empty()) {
            *description += ",";
            *patterns += ";";
        }
        *description += std::string("*") + *p;
        std::string lower = std::string("*") + *p;
        for (char& c : lower) c = AsciiLower(c);
        *patterns += lower;
    }
    *description += ")";
    return FilterEntry{description->c_str(), patterns->c_str()};
}

}  // namespace

std::string OpenFilterList() {
    std::string list;
    std::string allPatterns;
    auto add = [&](const FilterEntry& entry) {
        list += entry.description;
        list += '\0';
        list += entry.patterns;
        list += '\0';
        if (!allPatterns.empty()) allPatterns += ';';
        allPatterns += entry.patterns;
    };
    for (int i = 0; i < kOpenFilterOrderSize; ++i) {
        const FormatRow* row = FindFormat(kOpenFilterOrder[i]);
        if (row == nullptr) continue;
        if (row->open[0].description == nullptr) {
            std::string description, patterns;
            add(ExtensionsEntry(*row, &description, &patterns));
            continue;
        }
        for (const FilterEntry& entry : row->open)
            if (entry.description != nullptr) add(entry);
    }
    list += "All Supported Files (*.*)";
    list += '\0';
    list += allPatterns;
    list += '\0';
    list += "All Files (*.*)";
    list += '\0';
    list += "*.*";
    list += '\0';
    // The list ends with two null characters: the last entry's and the final one.
    list += '\0';
    return list;
}
