#include "shell/open_dialog.h"

#include <commdlg.h>

#include <string>

#include "core/appstate.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/report.h"
#include "core/text.h"
#include "settings/settings.h"
#include "shell/wintext.h"

namespace {

// The filter entry the dialog opens on (1-based): "All Supported Files".
constexpr DWORD kAllSupportedEntry = 18;

struct FilterEntry {
    const char* description;
    const char* patterns;
};

// Entries 1 to 17; the RAW entry (13) is made from the type table, entry 18 joins all of
// them and entry 19 shows every file.
const FilterEntry kFilterEntries[] = {
    {"Bitmap Files (*.BMP)", "*.bmp"},
    {"Compressed Bitmap Files (*.RLE)", "*.rle"},
    {"Compuserve Files (*.GIF)", "*.gif"},
    {"ZSoft Files (*.PCX)", "*.pcx"},
    {"JPEG Files (*.JPG,*.JPEG,*.JFIF)", "*.jpg;*.jpeg;*.jfif"},
    {"TARGA Files (*.TGA)", "*.tga"},
    {"TIFF Files (*.TIF,*.TIFF)", "*.tif;*.tiff"},
    {"PNG Files (*.PNG)", "*.png"},
    {"WebP Files (*.WEBP)", "*.webp"},
    {"ICON Files (*.ICO)", "*.ico"},
    {"Cursor Files (*.CUR)", "*.cur"},
    {"Animated Cursor Files (*.ANI)", "*.ani"},
    {nullptr, nullptr},  // RAW
    {"thumbs.db Files (*.DB)", "*.db"},
    {"Collage Script Files (*.CLG)", "*.clg"},
    {"File List (*.LST)", "*.lst"},
    {"ThumbNail Files (*.TNS)", "*.tns"},
};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "RAW Files (*.RAW,*.3FR,...)" and "*.raw;*.3fr;..." from the type table's RAW row.
FilterEntry RawEntry(std::string* description, std::string* patterns) {
    *description = "RAW Files (";
    patterns->clear();
    for (int row = 0; row < kFileTypeTableSize; ++row) {
        if (kFileTypeTable[row].type != FT_RAW) continue;
        for (const char* const* p = kFileTypeTable[row].patterns; *p; ++p) {
            if (!patterns->empty()) {
                *description += ",";
                *patterns += ";";
            }
            *description += std::string("*") + *p;
            std::string lower = std::string("*") + *p;
            for (char& c : lower) c = Lower(c);
            *patterns += lower;
        }
    }
    *description += ")";
    return FilterEntry{description->c_str(), patterns->c_str()};
}

WString BuildFilter() {
    std::string rawDescription, rawPatterns;
    const FilterEntry raw = RawEntry(&rawDescription, &rawPatterns);
    std::string list;
    std::string allPatterns;
    for (const FilterEntry& fixed : kFilterEntries) {
        const FilterEntry& entry = fixed.description != nullptr ? fixed : raw;
        list += entry.description;
        list += '\0';
        list += entry.patterns;
        list += '\0';
        if (!allPatterns.empty()) allPatterns += ';';
        allPatterns += entry.patterns;
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
    return Widen(list);
}

struct DialogErrorText {
    DWORD code;
    const char* text;
};

const DialogErrorText kDialogErrorTexts[] = {
    {1, "File Open Error. The initialization structure for the corresponding common dialog box is invalid in file"},
    {2, "File Open Error. Function failed during initialization. Sufficient memory is not available in file"},
    {3, "File Open Error. You failed to provide an appropriate template in file"},
    {4, "File Open Error. You failed to provide a corresponding instance handle in file"},
    {5, "File Open Error. The common dialog box function failed to load a specified string in file"},
    {6, "File Open Error. The common dialog box function failed to find a specified resource in file in file"},
    {7, "File Open Error. The common dialog box function failed to load a specified resource in file"},
    {8, "File Open Error. The common dialog box function failed to lock a specified resource in file"},
    {9, "File Open Error. The common dialog box function was unable to allocate memory for internal structures in file"},
    {10, "File Open Error. The common dialog box function was unable to lock the memory associated with a handle in file"},
    {11, "File Open Error. You failed to provide a pointer to a corresponding hook procedure in file"},
    {12289, "File Open Error. An attempt to subclass a list box failed because sufficient memory was not available in file"},
    {12290, "File Open Error. The filename is invalid in file"},
    {12291, "File Open Error. The buffer is too small for the filename specified by the user in file"},
};

// The filter list of the Open dialog: description/pattern pairs, each ended by a null
// character, the whole list by a second one.
const WCHAR* OpenDialogFilter() {
    static const WString filter = BuildFilter();
    return filter.c_str();
}

}  // namespace

void ReportOpenDialogError(DWORD code) {
    for (const DialogErrorText& entry : kDialogErrorTexts) {
        if (entry.code == code) {
            ReportFileError(entry.text);
            return;
        }
    }
}

int ChooseFileToOpen(HWND owner, WCHAR* pathBuffer, const WCHAR* title) {
    const WString initialFolder = Widen(lastReadFolder);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = OpenDialogFilter();
    dialog.nFilterIndex = kAllSupportedEntry;
    dialog.lpstrFile = pathBuffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = TEXT("*");
    dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    dialog.lpstrTitle = title;
    dialog.Flags = 0;
    if (!GetOpenFileNameW(&dialog)) {
        ReportOpenDialogError(CommDlgExtendedError());
        return -1;
    }
    const std::string path = Narrow(pathBuffer);
    FileType type = FT_UNSUPPORTED;
    if (FileTypeFromName(path, &type) < 0) {
        // The report names the file that was chosen, as the loader's own type report does.
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported");
        return -1;
    }
    const size_t slash = path.rfind('\\');
    lastReadFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    if (SaveDirType == SAVEDIR_LASTREAD) SaveDir = lastReadFolder;
    return 0;
}
