#include "settings/config.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/appstate.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "core/outstream.h"
#include "core/report.h"
#include "base/text.h"
#include "settings/history.h"
#include "base/settings.h"

std::string configurationPath;
std::string placementPath;
std::string helpFilePath;
FileType openingBitmapType = FT_BMP;

namespace {

// ---------------------------------------------------------------- value rules

bool StartsWith(const std::string& s, const char* prefix) { return s.compare(0, std::strlen(prefix), prefix) == 0; }

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (AsciiUpper(s[i]) != AsciiUpper(prefix[i])) return false;
    return true;
}

// A leading decimal number as the C library's atol reads it; out-of-range values are
// clamped instead of being undefined.
long long Decimal(const std::string& v) {
    errno = 0;
    long long n = std::strtoll(v.c_str(), nullptr, 10);
    return n;
}

int32_t DecimalInt32(const std::string& v) {
    long long n = Decimal(v);
    if (n > INT32_MAX) return INT32_MAX;
    if (n < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(n);
}

uint16_t DecimalUint16(const std::string& v) { return static_cast<uint16_t>(DecimalInt32(v)); }

bool TRule(const std::string& v) { return !v.empty() && v[0] == 'T'; }

void TOnly(const std::string& v, int* flag) {
    if (TRule(v)) *flag = 1;
}

// Every character that is not a digit becomes a blank, then up to two numbers are read;
// missing numbers leave the old values. A number past INT32_MAX is clamped like
// DecimalInt32's: cast as it stands it would wrap to a negative value, which is written
// back with its '-' and so does not read back as itself.
template <typename T>
void TwoNumbers(const std::string& v, T* first, T* second) {
    std::string digits = v;
    for (char& c : digits)
        if (c < '0' || c > '9') c = ' ';
    const char* p = digits.c_str();
    char* end = nullptr;
    T* targets[2] = {first, second};
    for (T* target : targets) {
        long long n = std::strtoll(p, &end, 10);
        if (end == p) return;
        *target = static_cast<T>(n > INT32_MAX ? INT32_MAX : n);
        p = end;
    }
}

// UTF-8 text of at most 259 UTF-16 units; a longer path keeps the old value.
void PathValue(const std::string& v, std::string* path) {
    std::string p = TrimEnd(v);
    if (PathFits(p)) *path = p;
}

// ---------------------------------------------------------------- the keys

struct ReadState {
    int result = 1;
    std::string* openingPath = nullptr;
};

// Read<kind> takes a key's value text and the key's variable; Write<kind> writes the
// key's line(s). One pair for each kind that settings_keys.def names.

struct Lines {
    std::string text;
    Lines& operator<<(const std::string& line) {
        text += line;
        text += "\r\n";
        return *this;
    }
    // Lines that each end in "\n", written with CR LF.
    void Comment(const char* lines) {
        for (const char* c = lines; *c; ++c) {
            if (*c == '\n') text += '\r';
            text += *c;
        }
    }
};

std::string KeyLine(const char* key, const std::string& value) { return std::string(key) + "=" + value; }

const char* Flag(int v) { return v ? "TRUE" : "FALSE"; }

void ReadFlag(const std::string& v, int& flag, ReadState&) { flag = TRule(v) ? 1 : 0; }
void WriteFlag(Lines& o, const char* key, int flag) { o << KeyLine(key, Flag(flag)); }

// Reading can only switch these on.
void ReadFlagOn(const std::string& v, int& flag, ReadState&) { TOnly(v, &flag); }
void WriteFlagOn(Lines& o, const char* key, int flag) { WriteFlag(o, key, flag); }

void ReadPath(const std::string& v, std::string& path, ReadState&) { PathValue(v, &path); }
void WritePath(Lines& o, const char* key, const std::string& path) { o << KeyLine(key, path); }

void ReadPathIfSet(const std::string& v, std::string& path, ReadState& st) { ReadPath(v, path, st); }
void WritePathIfSet(Lines& o, const char* key, const std::string& path) {
    if (!path.empty()) o << KeyLine(key, path) << ";";
}

void ReadInt(const std::string& v, int32_t& n, ReadState&) { n = DecimalInt32(v); }
void WriteInt(Lines& o, const char* key, int32_t n) { o << FormatText("%s=%d", key, n); }

void ReadShort(const std::string& v, uint16_t& n, ReadState&) { n = DecimalUint16(v); }
void WriteShort(Lines& o, const char* key, uint16_t n) { o << FormatText("%s=%d", key, n); }

void ReadPercent(const std::string& v, int32_t& n, ReadState&) {
    int32_t q = DecimalInt32(v);
    n = q < 0 ? 0 : q > 100 ? 100 : q;
}
void WritePercent(Lines& o, const char* key, int32_t n) { WriteInt(o, key, n); }

// Milliseconds in memory, whole seconds in the file.
void ReadSeconds(const std::string& v, uint32_t& ms, ReadState&) { ms = static_cast<uint32_t>(DecimalInt32(v)) * 1000u; }
void WriteSeconds(Lines& o, const char* key, uint32_t ms) {
    // A sub-second duration is kept as one second rather than written as 0, which would
    // make the next run's slide show fire continuously.
    uint32_t seconds = ms == 0 ? 0 : (ms + 500) / 1000;
    if (ms > 0 && seconds == 0) seconds = 1;
    o << FormatText("%s=%u", key, seconds);
}

// Six hex digits, red green blue, then anything; other text keeps the colour as it was.
void ReadColour(const std::string& v, RgbColour& colour, ReadState&) { HexColourAt(v, 0, &colour); }
void WriteColour(Lines& o, const char* key, const RgbColour& c) { o << KeyLine(key, HexColourText(c)); }

void ReadPair(const std::string& v, Int32Pair& pair, ReadState&) { TwoNumbers(v, &pair[0], &pair[1]); }
void WritePair(Lines& o, const char* key, const Int32Pair& pair) { o << FormatText("%s=%d,%d", key, pair[0], pair[1]); }

// A letter, then two numbers: "A,1024,768".
void ReadLetterPair(const std::string& v, char& letter, Uint16Pair& pair) {
    if (!v.empty()) letter = v[0];
    if (v.size() > 2) TwoNumbers(v.substr(2), &pair[0], &pair[1]);
}
void WriteLetterPair(Lines& o, const char* key, char letter, const Uint16Pair& pair) {
    o << FormatText("%s=%c,%d,%d", key, letter, pair[0], pair[1]);
}
void ReadSheetLetterPair(const std::string& v, Uint16Pair& pair, ReadState&) {
    ReadLetterPair(v, ThumbnailSheetLetter, pair);
}
void WriteSheetLetterPair(Lines& o, const char* key, const Uint16Pair& pair) {
    WriteLetterPair(o, key, ThumbnailSheetLetter, pair);
}
void ReadSizeLetterPair(const std::string& v, Uint16Pair& pair, ReadState&) {
    ReadLetterPair(v, ThumbnailSizeLetter, pair);
}
void WriteSizeLetterPair(Lines& o, const char* key, const Uint16Pair& pair) {
    WriteLetterPair(o, key, ThumbnailSizeLetter, pair);
}

// The mode itself is the read's result (OpeningBitmap is set from it once the file is
// read); the text keeps "none", "default" or the user's path.
void ReadOpeningMode(const std::string& v, int&, ReadState& st) {
    if (StartsWithNoCase(v, "none")) {
        st.result = 0;
        OpeningBitmapText = "none";
    } else if (StartsWithNoCase(v, "default")) {
        st.result = 1;
        OpeningBitmapText = "default";
    } else if (!TrimEnd(v).empty()) {
        std::string path;
        PathValue(v, &path);
        FileType type;
        if (!path.empty() && FileTypeFromName(path, &type) == 0) {
            st.result = 2;
            OpeningBitmapText = path;
            openingBitmapType = type;
            if (st.openingPath) *st.openingPath = path;
        } else {
            st.result = 1;
            OpeningBitmapText = "default";
        }
    }
}
void WriteOpeningMode(Lines& o, const char* key, int mode) {
    const std::string example = std::string(";") + key + "=";
    o << example + "none" << example + "default" << example + OpeningBitmapText
      << example + "d:\\picture\\unicorn\\uni1.gif" << example + "c:\\c\\win\\lum\\puppy5.pcx"
      << example + "c:\\c\\win\\lum\\cat.tif" << example + "c:\\c\\win\\lum\\puppy5.bmp";
    o << KeyLine(key, mode == 0 ? "none" : mode == 2 ? OpeningBitmapText : "default");
}

// "CurrentDir", "LastReadDir", or a user's path whose folder becomes SaveDir.
void ReadSaveDirMode(const std::string& v, int& mode, ReadState&) {
    if (StartsWith(v, "CurrentDir")) {
        mode = SAVEDIR_CURRENT;
    } else if (StartsWith(v, "LastReadDir")) {
        mode = SAVEDIR_LASTREAD;
    } else if (!TrimEnd(v).empty()) {
        mode = SAVEDIR_USER;
        std::string p = TrimEnd(v);
        size_t slash = p.find_last_of('\\');
        p = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
        if (PathFits(p)) SaveDir = p;
    } else {
        mode = SAVEDIR_CURRENT;
    }
}
void WriteSaveDirMode(Lines& o, const char* key, int mode) {
    if (mode == SAVEDIR_USER) o << KeyLine(key, "User") << "SaveDir=" + SaveDir;
    else if (mode == SAVEDIR_LASTREAD) o << KeyLine(key, "LastReadDir");
    else o << KeyLine(key, "CurrentDir");
}

// Read as a path; written by SaveDirType when the folder is the user's.
void ReadSaveDirPath(const std::string& v, std::string& path, ReadState& st) { ReadPath(v, path, st); }
void WriteSaveDirPath(Lines&, const char*, const std::string&) {}

void ReadViewMode(const std::string& v, int& view, ReadState&) {
    switch (v.empty() ? '\0' : v[0]) {
        case 'B': view = VIEW_BIG; break;
        case 'F': view = VIEW_FULL; break;
        case 'H': view = VIEW_HALF; break;
        case 'Q': view = VIEW_QUARTER; break;
        default: view = VIEW_NORMAL; break;
    }
}
void WriteViewMode(Lines& o, const char* key, int view) {
    static const char* const kViews[] = {"NORMAL", "FULL", "BIG", "HALF", "QUARTER"};
    o << KeyLine(key, view >= 0 && view <= 4 ? kViews[view] : "NORMAL");
}

void ReadSortMode(const std::string& v, int& order, ReadState&) {
    switch (v.empty() ? '\0' : v[0]) {
        case 'A':
        case 'F': order = SORT_ALPHA; break;
        case 'E': order = SORT_EXT; break;
        case 'R': order = SORT_RAND; break;
        case 'S': order = SORT_SIZE; break;
        case 'T': order = SORT_TIME; break;
        case 'U': order = SORT_UNSORTED; break;
        case 'W': order = SORT_WIDTH; break;
        default: break;
    }
}
// The file keeps the key of a reversed order; its direction is not written (reading
// assumes forward).
void WriteSortMode(Lines& o, const char* key, int order) {
    static const char* const kSorts[] = {"Unsorted", "Alpha", "Width", "Ext", "Rand", "Size", "Time"};
    o << KeyLine(key, std::abs(order) <= 6 ? kSorts[std::abs(order)] : "Alpha");
}

void ReadHistoryLine(const std::string& v, HistoryList& list) {
    std::string entry = TrimEnd(v);
    if (list.count >= kHistoryEntries || entry.empty() || !PathFits(entry)) return;
    for (int i = 0; i < list.count; ++i)
        if (list.entries[i] == entry) return;
    list.entries[list.count++] = entry;
}

using KeyReader = void (*)(const std::string& value, ReadState& state);

struct Key {
    const char* name;
    KeyReader read;
};

const Key kKeys[] = {
#define LUM_KEY(kind, reset, type, name, value, comment) \
    {#name, [](const std::string& v, ReadState& st) { Read##kind(v, name, st); }},
#define LUM_VALUE(reset, type, name, value)
#include "base/settings_keys.def"
#undef LUM_KEY
#undef LUM_VALUE
    {"DirHistory", [](const std::string& v, ReadState&) { ReadHistoryLine(v, FolderHistory); }},
    {"FileHistory", [](const std::string& v, ReadState&) { ReadHistoryLine(v, FileHistory); }},
};

void ApplyLine(const std::string& line, ReadState& state) {
    if (line.empty() || line[0] == ';') return;
    for (const Key& key : kKeys) {
        size_t n = std::strlen(key.name);
        if (line.size() > n && line[n] == '=' && StartsWithNoCase(line, key.name)) {
            key.read(line.substr(n + 1), state);
            return;
        }
    }
}

// ---------------------------------------------------------------- writing

// The configuration file name with its extension replaced by ".bak".
std::string BackupPath(const std::string& path) { return CutExtension(path) + ".bak"; }

}  // namespace

int ReadConfigurationText(const std::string& text, std::string* openingBitmapPath) {
    ResetSettingsToDefaults(RESET_READ);
    ReadState state;
    state.openingPath = openingBitmapPath;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ApplyLine(line, state);
        pos = end + 1;
    }
    if (SaveDirType == SAVEDIR_LASTREAD) {
        size_t slash = LastFileViewed.find_last_of('\\');
        std::string folder = slash == std::string::npos ? std::string() : LastFileViewed.substr(0, slash + 1);
        SaveDir = folder;
        lastReadFolder = folder;
    }
    return state.result;
}

int ReadConfigurationFile(const std::string& path, std::string* openingBitmapPath) {
    CFileOps file;
    HostFile handle = file.OpenForRead(path);
    if (handle == nullptr) return 3;
    std::string text;
    uint64_t size = file.Size();
    // A configuration file is a few kilobytes; a huge one is read only in part.
    constexpr uint64_t kMaxRead = 64ull << 20;
    text.resize(static_cast<size_t>(size < kMaxRead ? size : kMaxRead));
    int64_t got = HostReadFile(handle, &text[0], text.size());
    file.Close();
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    configurationPath = path;
    return ReadConfigurationText(text, openingBitmapPath);
}

int LoadConfiguration(std::string* openingBitmapPath) {
    ClearHistory(FolderHistory);
    ClearHistory(FileHistory);
    ResetSettingsToDefaults(RESET_LOAD);
    configurationPath.clear();

    const std::string programFolder = HostProgramFolder();
    helpFilePath = JoinPath(programFolder, "LumHelp.chm");
    const std::string programCandidate = JoinPath(programFolder, "LUM.INI");
    placementPath = JoinPath(programFolder, "LUM.DAT");
    int result = 1;

    const std::string appData = HostAppDataFolder();
    if (appData.empty()) {
        result = ReadConfigurationFile(programCandidate, openingBitmapPath);
    } else {
        const std::string userFolder = JoinPath(appData, "LUM");
        const int created = HostCreateDirectory(userFolder);
        const std::string userFile = JoinPath(userFolder, "LUM.INI");
        placementPath = JoinPath(userFolder, "LUM.DAT");
        if (created == 1) {
            // First run for this user: settings come from beside the program and are
            // written to the user's folder from now on.
            result = ReadConfigurationFile(programCandidate, openingBitmapPath);
            configurationPath = userFile;
        } else {
            result = ReadConfigurationFile(userFile, openingBitmapPath);
            if (result == 3) {
                result = ReadConfigurationFile(programCandidate, openingBitmapPath);
                configurationPath = userFile;
            }
        }
    }
    if (configurationPath.empty()) {
        InputFile.SetPath(programCandidate);
        ReportFileError("LUM.INI could not be found in the path ");
        result = 1;
    }
    if (result == 3) result = 1;
    OpeningBitmap = result;
    return result;
}

std::string BuildConfigurationText() {
    const std::string rule(74, '=');
    Lines o;
    o << ";" + rule << "; Configuration File for Lumora:" << ";" + rule;
    o << ";" << "; Note the config lines must start at character 0 and are case sensitive" << ";"
      << "; Comments are started with a ; character";
#define LUM_KEY(kind, reset, type, name, value, comment) \
    o.Comment(comment);                                   \
    Write##kind(o, #name, name);
#define LUM_VALUE(reset, type, name, value)
#include "base/settings_keys.def"
#undef LUM_KEY
#undef LUM_VALUE
    o << ";";
    if (SaveHistory) {
        o << "; Save Directory History" << ";";
        for (int i = 0; i < FolderHistory.count; ++i)
            if (!FolderHistory.entries[i].empty()) o << "DirHistory=" + FolderHistory.entries[i];
        o << ";" << "; Save File History" << ";";
        for (int i = 0; i < FileHistory.count; ++i)
            if (!FileHistory.entries[i].empty()) o << "FileHistory=" + FileHistory.entries[i];
        o << ";";
    }
    return o.text;
}

void SaveConfiguration() {
    if (!configurationPath.empty()) {
        uint32_t error = 0;
        if (!HostCopyFile(configurationPath, BackupPath(configurationPath), &error) &&
            error != kErrSharingViolation) {
            ShowMessage(FormatText("File: %s not found. Error message = %u", configurationPath.c_str(), error),
                        "Save LUM.INI", kMbOk | kMbIconWarning);
        }
    } else {
        configurationPath = "LUM.INI";
    }
    const std::string text = BuildConfigurationText();
    uint32_t error = 0;
    int result = WriteReplacing(configurationPath, [&](OutStream& out) { return out.Write(text) ? 0 : -1; }, &error);
    if (result < 0 && error != kErrSharingViolation) {
        ShowMessage(FormatText("Can't open file: %s", configurationPath.c_str()), "Save LUM.INI",
                    kMbOk | kMbIconWarning);
    }
}
