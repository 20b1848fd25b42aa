#include "view/save_rules.h"

#include "base/text.h"

bool NamesJpegFile(const std::string& path) {
    FileType type = FT_UNSUPPORTED;
    return FileTypeFromName(path, &type) == 0 && type == FT_JPEG;
}

QuickSaveAction QuickJpegSaveAction(FileType saveType, const std::string& currentPath) {
    if (saveType != FT_JPEG || currentPath.empty()) return QUICK_SAVE_NOTHING;
    return NamesJpegFile(currentPath) ? QUICK_SAVE_OVER_FILE : QUICK_SAVE_AS_SAVE;
}

bool SaveTargetIsAnotherFile(const std::string& loaded, const std::string& target) {
    if (loaded.size() != target.size()) return true;
    for (size_t i = 0; i < loaded.size(); ++i)
        if (AsciiUpper(loaded[i]) != AsciiUpper(target[i])) return true;
    return false;
}
