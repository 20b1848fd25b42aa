// libFuzzer entry for the LUM.INI reader: the input is read as a configuration text and
// the text the writer would store from those settings is built. That text, read back,
// must give the same settings: building again must give the same lines. Comment lines
// are not compared, as one of them echoes the opening bitmap the program started with.
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

// The text without its comment lines (those starting with ';').
std::string SettingLines(const std::string& text) {
    std::string lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        if (text[pos] != ';') lines.append(text, pos, end - pos);
        pos = end;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string written = ReadAndWrite(std::string(reinterpret_cast<const char*>(data), size));
    if (SettingLines(ReadAndWrite(written)) != SettingLines(written)) std::abort();
    return 0;
}
