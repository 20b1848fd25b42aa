// libFuzzer entry for the LUM.INI reader: the input is read as a configuration text and
// the text the writer would store from those settings is built. A written text, read
// back, must give the same settings: building from it again must give the same text.
// (The first text written may still differ in its comments, which echo the settings
// the program started with.)
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/settings.h"
#include "settings/config.h"
#include "settings/history.h"

namespace {

// Reads `text` from the built-in settings and empty history lists, as a first start of
// the program does, keeps the opening-bitmap mode as the loader does, and returns the
// text the writer would store.
std::string ReadAndWrite(const std::string& text) {
    ResetSettingsToDefaults();
    ClearHistory(FolderHistory);
    ClearHistory(FileHistory);
    std::string openingPath;
    OpeningBitmap = ReadConfigurationText(text, &openingPath);
    return BuildConfigurationText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string first = ReadAndWrite(std::string(reinterpret_cast<const char*>(data), size));
    const std::string second = ReadAndWrite(first);
    if (ReadAndWrite(second) != second) std::abort();
    return 0;
}
