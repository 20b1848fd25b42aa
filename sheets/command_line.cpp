#include "sheets/command_line.h"

#include "base/text.h"
#include "platform/host.h"

bool StartDeveOption = false;

namespace {

constexpr uint32_t kDirectoryAttribute = 0x10;

// True for "/folder/..." whose first folder exists.
bool IsRootRelativePath(const std::string& text) {
    if (text.size() < 2 || text[0] != '/') return false;
    const size_t second = text.find('/', 1);
    if (second == std::string::npos) return false;
    HostFileFacts facts;
    return HostGetFileFacts(text.substr(0, second), &facts) && (facts.attributes & kDirectoryAttribute) != 0;
}

}  // namespace

int ReadCommandLineOptions(const std::string&) { return 0; }

std::string CommandLineText(const std::string& commandLine) {
    size_t i = commandLine.find_first_not_of(' ');
    if (i == std::string::npos) return std::string();
    size_t end;
    if (commandLine[i] == '"') {
        end = commandLine.find('"', i + 1);
        if (end == std::string::npos) return std::string();
        ++end;
    } else {
        end = commandLine.find(' ', i);
        if (end == std::string::npos) return std::string();
    }
    const size_t rest = commandLine.find_first_not_of(' ', end);
    return rest == std::string::npos ? std::string() : commandLine.substr(rest);
}

std::string StartupNamePart(const std::string& argumentText) {
    const size_t start = argumentText.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    const std::string text = argumentText.substr(start);
    std::string name;
    bool unixPath = false;
    if (text[0] == '"') {
        const size_t close = text.find('"', 1);
        name = close == std::string::npos ? text : text.substr(0, close + 1);
        unixPath = IsRootRelativePath(name.substr(1));
    } else if (IsRootRelativePath(text)) {
        const size_t option = text.find(" /");
        name = text.substr(0, option);
        unixPath = true;
    } else {
        name = text.substr(0, text.find('/'));
    }
    name = TrimEnd(name, " ");
    if (unixPath) {
        const bool quoted = name[0] == '"';
        std::string bare = quoted ? name.substr(1, name.size() - (name.back() == '"' ? 2 : 1)) : name;
        std::string full;
        size_t nameOffset = 0;
        if (HostFullPath(bare, &full, &nameOffset)) name = quoted ? "\"" + full + "\"" : full;
    }
    return name;
}

std::string CommandLineOptions(const std::string& argumentText) {
    const size_t start = argumentText.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    const std::string text = argumentText.substr(start);
    size_t from = 0;
    if (text[0] == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos) return std::string();
        from = close + 1;
    } else if (IsRootRelativePath(text)) {
        from = text.find(" /");
        if (from == std::string::npos) return std::string();
    }
    const size_t slash = text.find('/', from);
    return slash == std::string::npos ? std::string() : text.substr(slash);
}
