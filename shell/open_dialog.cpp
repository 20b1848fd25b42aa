#include "shell/open_dialog.h"

#include <commdlg.h>

#include <string>

#include "base/appstate.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/formats.h"
#include "core/report.h"
#include "base/text.h"
#include "base/settings.h"
#include "shell/wintext.h"

namespace {

// The filter entry the dialog opens on (1-based): "All Supported Files".
constexpr DWORD kAllSupportedEntry = 18;

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
    static const WString filter = Widen(OpenFilterList());
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

int ChooseFileToOpen(HWND owner, WCHAR* pathBuffer) {
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
