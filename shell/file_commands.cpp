// The file commands: Open, ReOpen, Save, Save As, quick JPEG save, delete to the recycle
// bin, wallpaper and Exit.
#include "shell/command_table.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/formats.h"
#include "core/loader.h"
#include "core/report.h"
#include "core/save.h"
#include "core/title.h"
#include "edit/animation.h"
#include "platform/host.h"
#include "settings/config.h"
#include "settings/filelist.h"
#include "view/display.h"
#include "view/jpeg_dialog.h"
#include "open/open.h"
#include "view/save_rules.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/jpeg_dialog.h"
#include "shell/webp_dialog.h"
#include "shell/open_dialog.h"
#include "shell/startup.h"
#include "shell/wintext.h"

namespace {

// The Open dialog's file buffer: its text is the next dialog's initial file name.
WCHAR openPathBuffer[MAX_PATH];

constexpr int kSaveBufferUnits = 480;

// The path ReOpen and Save work from.
std::string& CurrentPath() { return CurrentImage.fullPath; }

void ShowCursorNow() { ShowCursorCounted(true); }

bool FileExists(const std::string& path) {
    HostFileFacts facts;
    return HostGetFileFacts(path, &facts);
}

// A file, not a folder, is at `path`: a folder under the name is no file Save could
// replace, and its write fails with the usual report.
bool PlainFileExists(const std::string& path) {
    HostFileFacts facts;
    return HostGetFileFacts(path, &facts) && (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The Save-As filter list for the dialog: description/pattern pairs, then a final null.
WString SaveFilterText(bool tns) {
    const FileType* order = SaveFilterOrder(tns);
    std::string text;
    for (int i = 0; i < kSaveFilterCount; ++i) {
        const FilterEntry& entry = FindFormat(order[i])->save;
        text += entry.description;
        text += '\0';
        text += entry.patterns;
        text += '\0';
    }
    text += '\0';
    return Widen(text);
}

}  // namespace

// The dialog's buffer holds 480 characters, but a path must fit in 259: a longer choice is
// refused as the dialog refuses a name too long for its buffer.
int ChooseSaveName(HWND owner, std::string* path) {
    const bool tns = RunMode == RUN_TNS_BROWSE;
    // The dialog opens on its first entry, JPEG, and so does the type it chooses.
    CurrentImage.saveType = FT_JPEG;
    const std::string proposed = ProposeSaveName(CurrentPath());
    WCHAR buffer[kSaveBufferUnits] = {};
    const WString proposedWide = Widen(proposed);
    if (proposedWide.size() < kSaveBufferUnits) std::copy(proposedWide.begin(), proposedWide.end(), buffer);
    const WString filter = SaveFilterText(tns);
    const WString folder = Widen(SaveDir);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = tns ? 7 : 1;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = kSaveBufferUnits;
    dialog.lpstrDefExt = tns ? TEXT("tns") : TEXT("jpg");
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
    if (!GetSaveFileNameW(&dialog)) {
        ReportOpenDialogError(CommDlgExtendedError());
        return -1;
    }
    if (std::char_traits<WCHAR>::length(buffer) >= MAX_PATH) {
        ReportOpenDialogError(FNERR_BUFFERTOOSMALL);
        return -1;
    }
    if (CompleteSaveName(Narrow(buffer), static_cast<int>(dialog.nFilterIndex), tns, path) < 0) return -1;
    return ConfirmOverwrite(*path);
}

namespace {

// The question before a file goes to the recycle bin, when ConfirmDeleteFileFlag is on:
// true when it may go.
bool AgreeToRecycle(HWND window, const std::string& path) {
    if (!ConfirmDeleteFileFlag) return true;
    const WString question = Widen(FormatText("Do you wish to move file <%s> to recycle bin?", path.c_str()));
    return MessageBoxW(window, question.c_str(), TEXT("Delete file?"), MB_OKCANCEL | MB_DEFBUTTON2) == IDOK;
}

// Moves `path` to the recycle bin: true when it went, else reported.
bool RecycleFile(HWND window, const std::string& path) {
    WString from = Widen(path);
    from.push_back(0);  // the list ends with two nulls
    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = window;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION;
    if (SHFileOperationW(&operation) != 0 || operation.fAnyOperationsAborted) {
        InputFile.SetPath(path);
        ReportFileError("Cannot delete file ");
        return false;
    }
    return true;
}

// Moves `path` to the recycle bin, asking first when ConfirmDeleteFileFlag is on. True
// when the file went.
bool DeleteToRecycleBin(HWND window, const std::string& path) {
    return AgreeToRecycle(window, path) && RecycleFile(window, path);
}

// Save and quick save refuse the black stand-in a failed load leaves: written, it would
// replace the file the picture came from.
bool RefuseStandIn() {
    if (!CurrentImage.failedLoad) return false;
    ShowMessage("There is no loaded picture to save.", "Viewer", kMbOk | kMbIconWarning);
    return true;
}

// Before Save and Save As write in the chosen type: a JPEG of fewer than 8 bits is
// refused with a warning, a JPEG asks for its quality, EXIF, date and comment first, and
// a WebP for its quality and whether it is lossless. True when the write may go on.
bool ReadyForSaveType(HWND window) {
    if (CurrentImage.saveType == FT_WEBP) return AskWebpInformation(window);
    switch (JpegSaveCheck(CurrentImage.saveType, CurrentImage.dib.bitsPerPixel, saveDepth)) {
        case JPEG_SAVE_NOT_JPEG: return true;
        case JPEG_SAVE_POINTLESS: ShowWarning(kJpegPointlessText, "Viewer", kMbOk | kMbIconWarning); return false;
        case JPEG_SAVE_ASK: return AskJpegInformation(window);
    }
    return false;
}

// After a write that changed which file the picture is: the title and path follow.
void BecomeFile(const std::string& path) {
    CurrentPath() = path;
    InputFile.SetPath(path);
    RetitleWithNewSize();
    ShowTitle();
}

}  // namespace

// Loads a file the user chose (Open, ReOpen, a file history entry) in Normal mode, ending
// a slide show; a failed load offers the Open dialog again (posted, so that the handler
// returns first).
void LoadChosenFile(HWND window, std::string path) {
    if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_NORMAL;
    StopAnimation();
    EndSlideShow(window);
    RunMode = RUN_NORMAL;
    if (LoadImageFile({path, HISTORY_FOLDER_AND_FILE}) < 0) PostMessageW(window, WM_COMMAND, IDM_OPEN, 0);
    else RememberPictureSize();
}

LRESULT OnOpen(HWND window, int) {
    if (RunMode == RUN_QUICKVIEW) return 0;
    if (!ConfirmLeaveImage()) return 0;
    ShowCursorCounted(true);
    StopAnimation();
    EndSlideShow(window);
    RunMode = RUN_NORMAL;
    if (ChooseFileToOpen(window, openPathBuffer) < 0) return 0;
    const std::string path = Narrow(openPathBuffer);
    const std::string folder = FolderOf(path);
    if (!folder.empty()) SetCurrentDirectoryW(Widen(folder).c_str());
    LoadChosenFile(window, path);
    return 0;
}

// Save As: 0 after a successful write, -1 otherwise. The picture counts as unchanged and
// its undo history goes only once the file is written, so a cancel or a failed write
// loses nothing.
LRESULT OnSaveAs(HWND window, int) {
    if (RefuseStandIn()) return -1;
    // The show ends as it does for the other commands that choose a file.
    if (RunMode == RUN_SLIDESHOW) {
        EndSlideShow(window);
        RunMode = RUN_NORMAL;
    }
    ShowCursorNow();
    std::string path;
    if (ChooseSaveName(window, &path) < 0) return -1;
    if (!ReadyForSaveType(window)) return -1;
    if (WriteImageFile(path) < 0) return -1;
    CurrentImage.modified = false;
    ClearUndo();
    if (ChangeInputDir) BecomeFile(path);
    return 0;
}

// Save: writes beside the current file under the save type's extension, through the
// write that replaces its target only with a complete file. The old file is offered to
// the recycle bin just before the new one takes its place, and a copy of it is kept
// until the new one is there: on every path the old or the new file is where it was. A
// failed write names its target and keeps the path, the changed state and the undo
// history. A target that is another file than the loaded one (IMG_1.JPG beside the
// IMG_1.NEF shown) is replaced only after the question of Save As.
LRESULT OnSave(HWND window, int) {
    if (RefuseStandIn()) return -1;
    if (CurrentPath().empty()) return OnSaveAs(window, IDM_SAVE_AS);
    const std::string old = CurrentPath();
    const std::string target = SaveNameWithType(old, CurrentImage.saveType);
    if (SaveTargetIsAnotherFile(old, target) && PlainFileExists(target) && ConfirmOverwrite(target) < 0) return -1;
    if (!ReadyForSaveType(window)) return -1;
    const std::string kept = old + ".$$$";
    bool keptCopy = false;
    auto offerOldFile = [&] {
        if (!FileExists(old) || !AgreeToRecycle(window, old)) return;
        // Without a copy the old file stays where it is (the new one may still fail to
        // take its place).
        if (!PathFits(kept) || !CopyFileW(Widen(old).c_str(), Widen(kept).c_str(), FALSE)) return;
        keptCopy = true;
        RecycleFile(window, old);
    };
    const int result = WriteImageFile(target, offerOldFile);
    if (keptCopy) {
        // The new file is in place: the copy goes; it is not: the old file comes back.
        if (result == 0) DeleteFileW(Widen(kept).c_str());
        else if (!FileExists(old)) MoveFileExW(Widen(kept).c_str(), Widen(old).c_str(), MOVEFILE_REPLACE_EXISTING);
        else DeleteFileW(Widen(kept).c_str());
    }
    if (result < 0) return -1;
    CurrentImage.modified = false;
    ClearUndo();
    BecomeFile(target);
    return 0;
}

// Quick save writes JPEG only, at quality 90 and without asking, and so only over a JPEG
// file; the picture of any other file is saved as Save saves it, beside it and asking.
LRESULT OnQuickJpegSave(HWND window, int) {
    const QuickSaveAction action = QuickJpegSaveAction(CurrentImage.saveType, CurrentPath());
    if (action == QUICK_SAVE_NOTHING) return 0;
    if (RefuseStandIn()) return 0;
    if (action == QUICK_SAVE_AS_SAVE) return OnSave(window, IDM_SAVE);
    jpegQuality = 90;
    if (WriteImageFile(CurrentPath()) == 0 && ChangeInputDir) BecomeFile(CurrentPath());
    return 0;
}

LRESULT OnReOpen(HWND window, int) {
    if (RunMode == RUN_QUICKVIEW) return 0;
    std::string path = !CurrentPath().empty() ? CurrentPath() : reopenPath;
    if (path.empty()) {
        OnCommand(window, IDM_OPEN);
        return 0;
    }
    FileType type;
    if (FileTypeFromName(path, &type) < 0) {
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported");
        return 0;
    }
    if (!ConfirmLeaveImage()) return 0;
    ShowCursorNow();
    LoadChosenFile(window, path);
    return 0;
}

LRESULT OnDeleteFile(HWND window, int) {
    if (CurrentPath().empty()) return 0;
    // The list is made current first, so that the deleted file's entry can leave it and
    // "Load Previous File" shows the file before it.
    RefreshStaleList(CurrentPath(), true);
    if (!DeleteToRecycleBin(window, CurrentPath())) return 0;
    RemoveDeletedFile(CurrentPath());
    SendMessageW(window, WM_COMMAND, IDM_LOAD_PREVIOUS, 0);
    return 0;
}

LRESULT OnWallpaper(HWND, int) {
    // The Windows environment's WINDIR (a winelib program's C library sees only the Unix one).
    WCHAR windir[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(TEXT("WINDIR"), windir, MAX_PATH);
    const std::string folder = length > 0 && length < MAX_PATH ? Narrow(windir) : std::string("C:\\windows");
    const std::string path = folder + "\\LUMWallPaper.bmp";
    const FileType saved = CurrentImage.saveType;
    CurrentImage.saveType = FT_BMP;
    const int result = WriteImageFile(path);
    CurrentImage.saveType = saved;
    if (result < 0) return 0;
    WString wide = Widen(path);
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, &wide[0], SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
        InputFile.SetPath(path);
        ReportFileError(FormatText("Error type <%ld> in file ", static_cast<long>(GetLastError())));
    }
    return 0;
}

LRESULT OnExit(HWND window, int) {
    StopAnimation();
    SendMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

void ProposeOpenPath(const std::string& path) {
    const WString wide = Widen(path);
    if (wide.size() < MAX_PATH) std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, openPathBuffer);
}
