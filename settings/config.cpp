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

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (Upper(s[i]) != Upper(prefix[i])) return false;
    return true;
}

std::string TrimTrailing(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
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

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Six hex digits, red green blue; anything else keeps the colour as it was.
void Colour(const std::string& v, RgbColour* colour) {
    if (v.size() < 6) return;
    int d[6];
    for (int i = 0; i < 6; ++i)
        if ((d[i] = HexDigit(v[i])) < 0) return;
    *colour = {static_cast<uint8_t>(d[0] * 16 + d[1]), static_cast<uint8_t>(d[2] * 16 + d[3]),
               static_cast<uint8_t>(d[4] * 16 + d[5])};
}

// UTF-8 text of at most 259 UTF-16 units; a longer path keeps the old value.
void PathValue(const std::string& v, std::string* path) {
    std::string p = TrimTrailing(v);
    if (PathFits(p)) *path = p;
}

// ---------------------------------------------------------------- the keys

struct ReadState {
    int result = 1;
    std::string* openingPath = nullptr;
};

using KeyReader = void (*)(const std::string& value, ReadState& state);

void ReadOpeningBitmap(const std::string& v, ReadState& st) {
    if (StartsWithNoCase(v, "none")) {
        st.result = 0;
        OpeningBitmapText = "none";
    } else if (StartsWithNoCase(v, "default")) {
        st.result = 1;
        OpeningBitmapText = "default";
    } else if (!TrimTrailing(v).empty()) {
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

void ReadSaveDirType(const std::string& v, ReadState&) {
    if (StartsWith(v, "CurrentDir")) {
        SaveDirType = SAVEDIR_CURRENT;
    } else if (StartsWith(v, "LastReadDir")) {
        SaveDirType = SAVEDIR_LASTREAD;
    } else if (!TrimTrailing(v).empty()) {
        SaveDirType = SAVEDIR_USER;
        std::string p = TrimTrailing(v);
        size_t slash = p.find_last_of('\\');
        p = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
        if (PathFits(p)) SaveDir = p;
    } else {
        SaveDirType = SAVEDIR_CURRENT;
    }
}

void ReadDefaultView(const std::string& v, ReadState&) {
    switch (v.empty() ? '\0' : v[0]) {
        case 'B': DefaultViewFull = VIEW_BIG; break;
        case 'F': DefaultViewFull = VIEW_FULL; break;
        case 'H': DefaultViewFull = VIEW_HALF; break;
        case 'Q': DefaultViewFull = VIEW_QUARTER; break;
        default: DefaultViewFull = VIEW_NORMAL; break;
    }
}

void ReadSortOrder(const std::string& v, ReadState&) {
    switch (v.empty() ? '\0' : v[0]) {
        case 'A':
        case 'F': SortOrder = SORT_ALPHA; break;
        case 'E': SortOrder = SORT_EXT; break;
        case 'R': SortOrder = SORT_RAND; break;
        case 'S': SortOrder = SORT_SIZE; break;
        case 'T': SortOrder = SORT_TIME; break;
        case 'U': SortOrder = SORT_UNSORTED; break;
        case 'W': SortOrder = SORT_WIDTH; break;
        default: break;
    }
}

void ReadHistoryLine(const std::string& v, HistoryList& list) {
    std::string entry = TrimTrailing(v);
    if (list.count >= kHistoryEntries || entry.empty() || !PathFits(entry)) return;
    for (int i = 0; i < list.count; ++i)
        if (list.entries[i] == entry) return;
    list.entries[list.count++] = entry;
}

struct Key {
    const char* name;
    KeyReader read;
};

#define FLAG_T(key) {#key, [](const std::string& v, ReadState&) { key = TRule(v) ? 1 : 0; }}
#define FLAG_T_ONLY(key) {#key, [](const std::string& v, ReadState&) { TOnly(v, &key); }}
#define PATH(key) {#key, [](const std::string& v, ReadState&) { PathValue(v, &key); }}
#define COLOUR(key) {#key, [](const std::string& v, ReadState&) { Colour(v, &key); }}

const Key kKeys[] = {
    {"OpeningBitmap", ReadOpeningBitmap},
    PATH(LastFileViewed),
    {"SaveDirType", ReadSaveDirType},
    PATH(SaveDir),
    PATH(ZTreeWinPath),
    FLAG_T_ONLY(AllowOrientationView),
    FLAG_T(AllowMPEGStats),
    FLAG_T_ONLY(GIFAnimation),
    FLAG_T_ONLY(CursorHotSpot),
    FLAG_T_ONLY(DEVELabelBig),
    {"DefaultJPEGQuality",
     [](const std::string& v, ReadState&) {
         int32_t q = DecimalInt32(v);
         DefaultJPEGQuality = q < 0 ? 0 : q > 100 ? 100 : q;
     }},
    {"DefaultViewFull", ReadDefaultView},
    {"SlideShowDuration",
     [](const std::string& v, ReadState&) { SlideShowDuration = static_cast<uint32_t>(DecimalInt32(v)) * 1000u; }},
    FLAG_T(WarningFlag),
    FLAG_T(ConfirmDeleteFileFlag),
    FLAG_T(VerboseFlag),
    FLAG_T(AllowExitESC),
    FLAG_T(ChangeInputDir),
    FLAG_T(SlideShowBorder),
    FLAG_T(SlideShowCursor),
    FLAG_T(NextFileBorder),
    FLAG_T(NextFileCursor),
    FLAG_T(SaveExifHeaderToFile),
    FLAG_T(ForceListOrder),
    FLAG_T(SaveDate),
    FLAG_T(StartListAgain),
    FLAG_T(UseShortTitle),
    {"SortOrder", ReadSortOrder},
    {"CropAspectRatio",
     [](const std::string& v, ReadState&) { TwoNumbers(v, &CropAspectRatio[0], &CropAspectRatio[1]); }},
    {"ThumbnailSheet",
     [](const std::string& v, ReadState&) {
         if (!v.empty()) ThumbnailSheetLetter = v[0];
         if (v.size() > 2) TwoNumbers(v.substr(2), &ThumbnailSheet[0], &ThumbnailSheet[1]);
     }},
    {"ThumbnailSize",
     [](const std::string& v, ReadState&) {
         if (!v.empty()) ThumbnailSizeLetter = v[0];
         if (v.size() > 2) TwoNumbers(v.substr(2), &ThumbnailSize[0], &ThumbnailSize[1]);
     }},
    {"ThumbnailPercent", [](const std::string& v, ReadState&) { ThumbnailPercent = DecimalUint16(v); }},
    {"ThumbnailNumAcross", [](const std::string& v, ReadState&) { ThumbnailNumAcross = DecimalUint16(v); }},
    {"WindowsScaling", [](const std::string& v, ReadState&) { WindowsScaling = DecimalUint16(v); }},
    {"MaxPixelSize", [](const std::string& v, ReadState&) { MaxPixelSize = DecimalInt32(v); }},
    FLAG_T(SaveJPEGImmediate),
    COLOUR(ZTreeBGColour),
    {"ZTreeThumbnailHorOffset", [](const std::string& v, ReadState&) { ZTreeThumbnailHorOffset = DecimalInt32(v); }},
    {"ZTreeThumbnailVertOffset",
     [](const std::string& v, ReadState&) { ZTreeThumbnailVertOffset = DecimalInt32(v); }},
    COLOUR(BackgroundColour),
    FLAG_T(GIFUserPackground),
    COLOUR(GIFBackgroundColour),
    FLAG_T(PNGUserPackground),
    COLOUR(PNGBackgroundColour),
    FLAG_T(WEBPUserPackground),
    COLOUR(WEBPBackgroundColour),
    {"MinimumWidth", [](const std::string& v, ReadState&) { MinimumWidth = DecimalInt32(v); }},
    PATH(BossAlert),
    FLAG_T(AllowMultipleInstance),
    FLAG_T(SaveHistory),
    FLAG_T(DeleteComment),
    {"DirHistory", [](const std::string& v, ReadState&) { ReadHistoryLine(v, FolderHistory); }},
    {"FileHistory", [](const std::string& v, ReadState&) { ReadHistoryLine(v, FileHistory); }},
};

#undef FLAG_T
#undef FLAG_T_ONLY
#undef PATH
#undef COLOUR

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

const char* Flag(int v) { return v ? "TRUE" : "FALSE"; }

std::string Hex(const RgbColour& c) { return FormatText("%02X%02X%02X", c.red, c.green, c.blue); }

struct Lines {
    std::string text;
    Lines& operator<<(const std::string& line) {
        text += line;
        text += "\r\n";
        return *this;
    }
};

// The configuration file name with its extension replaced by ".bak".
std::string BackupPath(const std::string& path) {
    size_t name = FileNameOffset(path);
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < name) return path + ".bak";
    return path.substr(0, dot) + ".bak";
}

}  // namespace

int ReadConfigurationText(const std::string& text, std::string* openingBitmapPath) {
    MinimumWidth = 280;
    GIFAnimation = 1;
    WarningFlag = 0;
    VerboseFlag = 0;
    ConfirmDeleteFileFlag = 1;
    ZTreeWinPath.clear();
    BossAlert.clear();
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
    ThumbnailSheetLetter = 'A';
    ThumbnailSheet[0] = 1024;
    ThumbnailSheet[1] = 768;
    ThumbnailSizeLetter = 'B';
    ThumbnailSize[0] = ThumbnailSize[1] = 100;
    ThumbnailPercent = 50;
    ThumbnailNumAcross = 6;
    OpeningBitmap = 1;
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
    static const char* const kViews[] = {"NORMAL", "FULL", "BIG", "HALF", "QUARTER"};
    static const char* const kSorts[] = {"Unsorted", "Alpha", "Width", "Ext", "Rand", "Size", "Time"};
    const std::string rule(74, '=');
    Lines o;
    o << ";" + rule << "; Configuration File for Lumora:" << ";" + rule;
    o << ";" << "; Note the config lines must start at character 0 and are case sensitive" << ";"
      << "; Comments are started with a ; character";
    o << ";" << "; OpeningBitmap can be default, none or \"full-bitmap-path\" (without the \""
      << "; quotes) where bitmap-path is the full path to your opening bitmap. "
      << "; Even if it is in the same directory as LUM, full path is required.";
    o << ";" << "; The opening bitmap must be file type supported by LUM. However it is "
      << "; recommended that a windows bitmap format (.BMP) be used to speed up"
      << "; initial loading time. Here are some examples:";
    o << ";" << ";OpeningBitmap=none" << ";OpeningBitmap=default" << ";OpeningBitmap=" + OpeningBitmapText
      << ";OpeningBitmap=d:\\picture\\unicorn\\uni1.gif" << ";OpeningBitmap=c:\\c\\win\\lum\\puppy5.pcx"
      << ";OpeningBitmap=c:\\c\\win\\lum\\cat.tif" << ";OpeningBitmap=c:\\c\\win\\lum\\puppy5.bmp";
    if (OpeningBitmap == 0) o << "OpeningBitmap=none";
    else if (OpeningBitmap == 2) o << "OpeningBitmap=" + OpeningBitmapText;
    else o << "OpeningBitmap=default";
    o << ";" << "; The default extension for the image can be set by removing the comment"
      << "; character \";\" from the beginning of the line with the required extension.";
    o << ";" << "; GIFAnimation can be set to TRUE as a default for GIF files to be"
      << "; animated if the file supports it." << ";" << std::string("GIFAnimation=") + Flag(GIFAnimation)
      << ";GIFAnimation=TRUE";
    o << ";" << "; DefaultViewFull=NORMAL display all images normally."
      << "; DefaultViewFull=FULL   will force all images to be shown maximised."
      << "; DefaultViewFull=BIG    will force images to be shown maximised only if "
      << ";                        bigger than the screen."
      << "; DefaultViewFull=HALF   will force all images to be shown half size."
      << "; DefaultViewFull=QUARTER will force all images to be shown quarter size." << ";"
      << std::string("DefaultViewFull=") +
             (DefaultViewFull >= 0 && DefaultViewFull <= 4 ? kViews[DefaultViewFull] : "NORMAL");
    o << ";" << "; DefaultJPEGQuality is used to set the quality, in percent, of the "
      << "; JPEG picture. High numbers give better results but produce larger" << "; files." << ";"
      << FormatText("DefaultJPEGQuality=%d", DefaultJPEGQuality);
    o << ";" << "; CursorHotSpot=TRUE will display a cursor hot spot as a red pixel." << ";"
      << std::string("CursorHotSpot=") + Flag(CursorHotSpot);
    o << ";" << "; WarningFlag=TRUE will display a warning message on the screen. "
      << "; Else warnings are inhibited and LUM continues without display" << ";"
      << std::string("WarningFlag=") + Flag(WarningFlag);
    o << ";" << "; VerboseFlag=TRUE will display a error messages during batch processing. " << ";"
      << std::string("VerboseFlag=") + Flag(VerboseFlag);
    o << ";" << "; ConfirmDeleteFileFlag=TRUE will ask user if they want confirmation on delete file. " << ";"
      << std::string("ConfirmDeleteFileFlag=") + Flag(ConfirmDeleteFileFlag);
    // The file keeps the key of a reversed order; its direction is not written (reading
    // assumes forward).
    o << ";" << "; SortOrder is used to tell LUM which order to display images during "
      << "; SlideShow or ViewNextFile. Options include: Unsorted=unsorted, "
      << "; Alpha=alphabetical, Rand=random, Width = image width, Ext=file " << "; extension. Forward order is assumed."
      << ";" << std::string("SortOrder=") + (std::abs(SortOrder) <= 6 ? kSorts[std::abs(SortOrder)] : "Alpha");
    o << ";" << "; Change the input file directory to the SaveAs directory?" << ";"
      << std::string("ChangeInputDir=") + Flag(ChangeInputDir);
    // Whole seconds; a sub-second duration is kept as one second rather than written as 0,
    // which would make the next run's slide show fire continuously.
    uint32_t seconds = SlideShowDuration == 0 ? 0 : (SlideShowDuration + 500) / 1000;
    if (SlideShowDuration > 0 && seconds == 0) seconds = 1;
    o << ";" << "; Change the number of seconds between images in SlideShow" << ";"
      << FormatText("SlideShowDuration=%u", seconds);
    o << ";" << "; During SlideShow, display border, menues or cursor?"
      << std::string("SlideShowBorder=") + Flag(SlideShowBorder)
      << std::string("SlideShowCursor=") + Flag(SlideShowCursor);
    o << ";" << "; During View Next File, display border, menues or cursor?"
      << std::string("NextFileBorder=") + Flag(NextFileBorder) << std::string("NextFileCursor=") + Flag(NextFileCursor);
    o << ";" << "; Last file viewed" << "LastFileViewed=" + LastFileViewed;
    o << ";" << "; SaveAs file directory can be 'CurrentDir' for current directory, "
      << "; 'LastReadDir' for the Last Viewed file from LUM.INI or defined by the user" << ";";
    if (SaveDirType == SAVEDIR_USER) o << "SaveDirType=User" << "SaveDir=" + SaveDir;
    else if (SaveDirType == SAVEDIR_LASTREAD) o << "SaveDirType=LastReadDir";
    else o << "SaveDirType=CurrentDir";
    o << ";" << "; Force the order of viewing files in a *.lst file to be in the "
      << "; same order as they appear in the file independant of sort flags" << ";"
      << std::string("ForceListOrder=") + Flag(ForceListOrder);
    o << ";" << "; Don't rotate through the file list. Stay at end or beginning of the " << "; file list" << ";"
      << std::string("StartListAgain=") + Flag(StartListAgain);
    o << ";" << "; Use the short form of the filename for the title" << ";"
      << std::string("UseShortTitle=") + Flag(UseShortTitle);
    o << ";" << "; Allow MPEG generator to dump stats into a stats.txt file" << ";"
      << std::string("AllowMPEGStats=") + Flag(AllowMPEGStats);
    o << ";" << "; Save the EXIF header information into the JPEG file?" << ";"
      << std::string("SaveExifHeaderToFile=") + Flag(SaveExifHeaderToFile);
    o << ";" << "; Save the aspect ratio for Crop Aspect Ratio" << ";"
      << FormatText("CropAspectRatio=%d,%d", CropAspectRatio[0], CropAspectRatio[1]);
    o << ";" << "; Save JPEG file immediately after crop and exit LUM" << ";"
      << std::string("SaveJPEGImmediate=") + Flag(SaveJPEGImmediate);
    o << ";" << "; Use short or long labels in DEVE thumbnails?" << ";" << std::string("DEVELabelBig=") + Flag(DEVELabelBig);
    o << ";" << "; Save ZTreeWin Thumbnail Background colour" << ";" << "ZTreeBGColour=" + Hex(ZTreeBGColour);
    o << ";" << "; Set offset for ZTreeWin Thumbnail to compensate for image creep" << ";"
      << FormatText("ZTreeThumbnailHorOffset=%d", ZTreeThumbnailHorOffset)
      << FormatText("ZTreeThumbnailVertOffset=%d", ZTreeThumbnailVertOffset);
    o << ";" << "; Manually Define ZTreeWin Path" << ";";
    if (!ZTreeWinPath.empty()) o << "ZTreeWinPath=" + ZTreeWinPath << ";";
    o << "; Allow multiple instances of LUM?" << ";"
      << std::string("AllowMultipleInstance=") + Flag(AllowMultipleInstance);
    o << ";" << "; SizeofThumbnails and Thumbnail Sheet" << ";"
      << FormatText("ThumbnailSheet=%c,%d,%d", ThumbnailSheetLetter, ThumbnailSheet[0], ThumbnailSheet[1])
      << FormatText("ThumbnailSize=%c,%d,%d", ThumbnailSizeLetter, ThumbnailSize[0], ThumbnailSize[1])
      << FormatText("ThumbnailPercent=%d", ThumbnailPercent) << FormatText("ThumbnailNumAcross=%d", ThumbnailNumAcross);
    o << ";" << "; User windows screen scaling" << ";" << FormatText("WindowsScaling=%d", WindowsScaling);
    o << ";" << "; Maximum size of a DIB in pixels" << ";" << FormatText("MaxPixelSize=%d", MaxPixelSize);
    o << ";" << "; Pathname for Boss Alert filename loaded when Ctrl+Shift+F12 pressed" << ";" << "BossAlert=" + BossAlert;
    o << ";" << "; Do we exit immediately when the ESC key is pressed?" << ";"
      << std::string("AllowExitESC=") + Flag(AllowExitESC);
    o << ";" << "; Do we save file with the same date as the opened one?" << ";" << std::string("SaveDate=") + Flag(SaveDate);
    o << ";" << "; Do we save file with the comments removed?" << ";" << std::string("DeleteComment=") + Flag(DeleteComment);
    o << ";"
      << "; Do we automatically adjust the orientation of the JPEG image ; according to the orientation flag in the "
         "EXIF header?"
      << ";" << std::string("AllowOrientationView=") + Flag(AllowOrientationView);
    o << ";" << "; Save background colour used for Parallelogram, trapezoidal correction and rotation" << ";"
      << "BackgroundColour=" + Hex(BackgroundColour);
    o << ";" << "; User defined background colour for GIF files with transparency" << ";"
      << std::string("GIFUserPackground=") + Flag(GIFUserPackground) << "GIFBackgroundColour=" + Hex(GIFBackgroundColour);
    o << ";" << "; User defined background colour for PNG files with transparency" << ";"
      << std::string("PNGUserPackground=") + Flag(PNGUserPackground) << "PNGBackgroundColour=" + Hex(PNGBackgroundColour);
    o << ";" << "; User defined background colour for WEBP files with transparency" << ";"
      << std::string("WEBPUserPackground=") + Flag(WEBPUserPackground)
      << "WEBPBackgroundColour=" + Hex(WEBPBackgroundColour);
    o << ";" << "; Minimum width that LUM uses to prevent multiple line menu" << ";"
      << FormatText("MinimumWidth=%d", MinimumWidth);
    o << ";" << "; Do we save directory and file histories?" << ";" << std::string("SaveHistory=") + Flag(SaveHistory)
      << ";";
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
