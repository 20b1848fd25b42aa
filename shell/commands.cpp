// The command dispatch: one case per command, each calling one named handler. Commands
// whose module is not built yet are listed in kNotBuiltYet and answer with one message.
#include "shell/commands.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <string>

#include "edit/animation.h"
#include "base/appstate.h"
#include "core/colour_count.h"
#include "core/current_image.h"
#include "view/display.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "view/keys.h"
#include "core/loader.h"
#include "view/open.h"
#include "core/quantise.h"
#include "core/report.h"
#include "core/save.h"
#include "base/text.h"
#include "core/title.h"
#include "ops/flip.h"
#include "settings/config.h"
#include "settings/filelist.h"
#include "settings/history.h"
#include "base/settings.h"
#include "shell/animation_dialogs.h"
#include "shell/display.h"
#include "shell/info_dialogs.h"
#include "shell/insert_image.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "shell/open_dialog.h"
#include "shell/resize_dialog.h"
#include "base/ids.h"
#include "shell/rotate_dialog.h"
#include "shell/settings_dialogs.h"
#include "shell/startup.h"
#include "shell/view_setup_dialog.h"
#include "shell/wintext.h"

const WCHAR kWebAddress[] = TEXT("https://lumora.example.org/");
bool cursorVisibleFlag = true;

void EndSlideShow(HWND window) {
    if (RunMode == RUN_SLIDESHOW) KillTimer(window, IDT_SLIDE_SHOW);
}

namespace {

// The Open dialog's file buffer: its text is the next dialog's initial file name.
WCHAR openPathBuffer[MAX_PATH];

// Loads a file the user chose (Open, ReOpen, a file history entry) in Normal mode, ending
// a slide show; a failed load offers the Open dialog again (posted, so that the handler
// returns first).
void LoadChosenFile(HWND window, std::string path) {
    if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_NORMAL;
    StopAnimation();
    EndSlideShow(window);
    RunMode = RUN_NORMAL;
    if (LoadImageFile(path, HISTORY_FOLDER_AND_FILE) < 0) PostMessageW(window, WM_COMMAND, IDM_OPEN, 0);
    else RememberPictureSize();
}

void OnOpen(HWND window) {
    if (RunMode == RUN_QUICKVIEW) return;
    if (!ConfirmLeaveImage()) return;
    ShowCursorCounted(true);
    StopAnimation();
    EndSlideShow(window);
    RunMode = RUN_NORMAL;
    if (ChooseFileToOpen(window, openPathBuffer) < 0) return;
    const std::string path = Narrow(openPathBuffer);
    const std::string folder = FolderOf(path);
    if (!folder.empty()) SetCurrentDirectoryW(Widen(folder).c_str());
    LoadChosenFile(window, path);
}

// Next, previous, fifth next, back five and the beginning of the folder's list.
void OnNavigate(HWND window, int command) {
    if (RunMode == RUN_QUICKVIEW) return;
    if (!ConfirmLeaveImage()) return;
    // Stepping by hand ends a running show: its timer would otherwise go on firing unseen
    // while the menu no longer marks the show as running.
    EndSlideShow(window);
    StopAnimation();
    RunMode = RUN_STEPPING;
    int step = 0;
    switch (command) {
        case IDM_LOAD_NEXT: step = 1; break;
        case IDM_LOAD_PREVIOUS: step = -1; break;
        case IDM_LOAD_FIFTH: step = 5; break;
        case IDM_LOAD_BACK_FIVE: step = -5; break;
        default: ResetListPosition(); break;  // the beginning: the step in force stays
    }
    if (step != 0) FileList.step = step;
    if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_BEST_FIT;
    ShowCursorCounted(NextFileCursor != 0);
    std::string name;
    if (NavigationTarget(step, CurrentImage.fullPath, &name) < 0) return;
    if (!NextFileBorder && DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_BEST_FIT_NO_BORDER;
    listPositionText = FormatText("(%d of %d)", FileList.position + 1, FileList.Count());
    const int result = LoadImageFile(name, HISTORY_FOLDER);
    listPositionText.clear();
    if (result >= 0) RememberPictureSize();
}

// "Slide Show" starts or ends the show: the folder's list is read again and timer 1 steps
// through it in the direction of the last navigation step.
void OnSlideShow(HWND window) {
    if (RunMode == RUN_QUICKVIEW) return;
    StopAnimation();
    if (RunMode == RUN_SLIDESHOW) {
        KillTimer(window, IDT_SLIDE_SHOW);
        RunMode = RUN_NORMAL;
        ShowCursorCounted(cursorVisibleFlag);
        return;
    }
    if (SetTimer(window, IDT_SLIDE_SHOW, SlideShowDuration, nullptr) == 0) {
        ShowMessage("Too many timers open for slide show!", "Viewer", kMbOk | kMbIconWarning);
        return;
    }
    ShowCursorCounted(SlideShowCursor != 0);
    RunMode = RUN_SLIDESHOW;
    if (!FileList.fromListFile) {
        ResetListPosition();
        BuildFileList();
    }
    SortFileList();
    FindInList(CurrentImage.fullPath);
    FileList.stale = false;
}

// One step of the show. A changed picture is replaced without the question: the show
// only runs while the user watches, and every picture it shows comes from a file.
void OnSlideShowTick(HWND window) {
    static bool loading = false;
    if (loading || RunMode != RUN_SLIDESHOW) return;
    loading = true;
    StopAnimation();
    std::string name;
    if (StepInList(FileList.step, &name) < 0) {
        KillTimer(window, IDT_SLIDE_SHOW);
        RunMode = RUN_NORMAL;
        ShowMessage("No file found, change directory or set different file types", "Viewer", kMbOk | kMbIconWarning);
    } else {
        if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = SlideShowBorder ? MODE_NORMAL : MODE_BEST_FIT_NO_BORDER;
        if (LoadImageFile(name, HISTORY_FOLDER) >= 0) RememberPictureSize();
    }
    loading = false;
}

// Commands of the menu and keys whose feature this build does not have yet. The list
// shrinks as features land; each of them answers with kNotBuiltText.
const int kNotBuiltYet[] = {
    IDM_PRINT,
    IDM_MOSAIC, IDM_COLOURS_RGB, IDM_NEGATIVE, IDM_GREYSCALE, IDM_MONOCHROME, IDM_SWAP_RED_BLUE,
    IDM_SWAP_RED_GREEN, IDM_SWAP_GREEN_BLUE, IDM_ROTATE_COLOURS, IDM_COLOURS_HSV,
    IDM_START_DEVE, IDM_BLUR, IDM_SHARPEN, IDM_EMBOSS_MEDIUM, IDM_EMBOSS_COLOUR, IDM_USER_FILTER, IDM_COPY,
    IDM_PASTE, IDM_CAPTURE, IDM_CANCEL, IDM_HELP, IDM_BUILD_THUMBNAILS, IDM_THUMBNAIL_SETUP,
    IDM_PIXEL_COLOUR, IDM_BUILD_ICON, IDM_ZTREE_COLOUR,
    IDM_CROP_ASPECT, IDM_LOSSLESS_ROTATE_90, IDM_LOSSLESS_ROTATE_180, IDM_LOSSLESS_ROTATE_270,
    IDM_LOSSLESS_FLIP_H, IDM_LOSSLESS_FLIP_V, IDM_LOSSLESS_TRANSPOSE, IDM_LOSSLESS_TRANSVERSE, IDM_LOSSLESS_NULL,
    IDM_LOSSLESS_CROP, IDM_HISTOGRAM, IDM_TIFF_NEXT_PAGE, IDM_EMAIL, IDM_PRINT_SETUP,
    IDM_EDIT_COMMENT, IDM_GAMMA, IDM_BRIGHTNESS,
    IDM_TIFF_PAGE_NUMBER, IDM_RUN_BATCH, IDM_AUTO_ORIENTATION, IDM_BUILD_ANIMATION,
    IDM_DECOMPOSE, IDM_TRAPEZOID, IDM_BATCH, IDM_PAD_ASPECT, IDM_COLLAGE,
    IDM_ROTATE_BACKGROUND, IDM_OTHER_FILTERS, IDM_MAPPING, IDM_PARALLELOGRAM, IDM_SPHERICAL, IDM_PNG_BACKGROUND,
    IDM_BORDERS, IDM_ADD_TEXT,
};
const char kNotBuiltText[] = "This command is not available yet.";

// Commands that change or write the picture. While an animation plays on its own the
// next frame would replace what they did (or they would write a frame nobody chose), so
// they wait until it is single-stepped or stopped; viewing, files and settings go on.
const int kBlockedWhileAnimating[] = {
    IDM_SAVE, IDM_QUICK_JPEG, IDM_FLIP_HORIZONTAL, IDM_FLIP_VERTICAL, IDM_ROTATE_90, IDM_ROTATE_180,
    IDM_ROTATE_270, IDM_ROTATE_ANGLE, IDM_MOSAIC, IDM_COLOURS_RGB, IDM_NEGATIVE, IDM_GREYSCALE, IDM_MONOCHROME,
    IDM_SWAP_RED_BLUE, IDM_SWAP_RED_GREEN, IDM_SWAP_GREEN_BLUE, IDM_ROTATE_COLOURS, IDM_COLOURS_HSV,
    IDM_IMAGE_UNDO, IDM_IMAGE_REDO, IDM_EDIT_UNDO, IDM_EDIT_REDO, IDM_BLUR, IDM_SHARPEN, IDM_EMBOSS_MEDIUM,
    IDM_EMBOSS_COLOUR, IDM_USER_FILTER, IDM_BUILD_ICON, IDM_CROP_ASPECT, IDM_LOSSLESS_ROTATE_90,
    IDM_LOSSLESS_ROTATE_180, IDM_LOSSLESS_ROTATE_270, IDM_LOSSLESS_FLIP_H, IDM_LOSSLESS_FLIP_V,
    IDM_LOSSLESS_TRANSPOSE, IDM_LOSSLESS_TRANSVERSE, IDM_LOSSLESS_NULL, IDM_LOSSLESS_CROP, IDM_HISTOGRAM,
    IDM_COLOUR_DEPTH, IDM_GAMMA, IDM_BRIGHTNESS, IDM_AUTO_ORIENTATION, IDM_BUILD_ANIMATION, IDM_TRAPEZOID,
    IDM_PAD_ASPECT, IDM_OTHER_FILTERS, IDM_MAPPING, IDM_PARALLELOGRAM, IDM_SPHERICAL, IDM_BORDERS,
    IDM_ADD_TEXT, IDM_PIXEL_COLOUR,
};

constexpr int kSaveBufferUnits = 480;

// The path ReOpen and Save work from.
std::string& CurrentPath() { return CurrentImage.fullPath; }

void ShowCursorNow() { ShowCursorCounted(true); }

bool FileExists(const std::string& path) {
    HostFileFacts facts;
    return HostGetFileFacts(path, &facts);
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

// The picture Save-As dialog: 0 with the path to write (saveType set), -1 when cancelled
// or refused. The dialog's buffer holds 480 characters, but a path must fit in 259: a
// longer choice is refused as the dialog refuses a name too long for its buffer.
int ChooseSaveName(HWND owner, std::string* path) {
    const bool tns = RunMode == RUN_TNS_BROWSE;
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

// Moves `path` to the recycle bin, asking first when ConfirmDeleteFileFlag is on. True
// when the file went.
bool DeleteToRecycleBin(HWND window, const std::string& path) {
    if (ConfirmDeleteFileFlag) {
        const WString question = Widen(FormatText("Do you wish to move file <%s> to recycle bin?", path.c_str()));
        if (MessageBoxW(window, question.c_str(), TEXT("Delete file?"), MB_OKCANCEL | MB_DEFBUTTON2) != IDOK)
            return false;
    }
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

// After a write that changed which file the picture is: the title and path follow.
void BecomeFile(const std::string& path) {
    CurrentPath() = path;
    InputFile.SetPath(path);
    RetitleWithNewSize();
    ShowTitle();
}

// Save As: 0 after a successful write, -1 otherwise. The picture counts as unchanged and
// its undo history goes only once the file is written, so a cancel or a failed write
// loses nothing.
LRESULT OnSaveAs(HWND window) {
    ShowCursorNow();
    std::string path;
    if (ChooseSaveName(window, &path) < 0) return -1;
    if (WriteImageFile(path) < 0) return -1;
    CurrentImage.modified = false;
    ClearUndo();
    if (ChangeInputDir) BecomeFile(path);
    return 0;
}

// Save: writes beside the current file under the save type's extension. The new file is
// written under a temporary name first; only when that worked is the old file offered to
// the recycle bin and the new one put in place, so a failed write keeps the file, the
// path, the changed state and the undo history.
LRESULT OnSave(HWND window) {
    if (CurrentPath().empty()) return OnSaveAs(window);
    const std::string target = SaveNameWithType(CurrentPath(), CurrentImage.saveType);
    const std::string temporary = target + ".$$$";
    if (!PathFits(temporary)) {
        InputFile.SetPath(target);
        ReportFileError("Error in Opening output file ");
        return -1;
    }
    if (WriteImageFile(temporary) < 0) return -1;
    if (FileExists(CurrentPath())) DeleteToRecycleBin(window, CurrentPath());
    if (!MoveFileExW(Widen(temporary).c_str(), Widen(target).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(Widen(temporary).c_str());
        InputFile.SetPath(target);
        ReportFileError("Error in Saving file: ");
        BecomeFile(CurrentPath());
        return -1;
    }
    CurrentImage.modified = false;
    ClearUndo();
    BecomeFile(target);
    return 0;
}

void OnQuickJpegSave() {
    // Quick save writes JPEG only; this build has no JPEG writer, so the write dispatcher
    // reports the type as not supported.
    if (CurrentImage.saveType != FT_JPEG || CurrentPath().empty()) return;
    jpegQuality = 90;
    if (WriteImageFile(CurrentPath()) == 0 && ChangeInputDir) BecomeFile(CurrentPath());
}

void OnReOpen(HWND window) {
    if (RunMode == RUN_QUICKVIEW) return;
    std::string path = !CurrentPath().empty() ? CurrentPath() : reopenPath;
    if (path.empty()) {
        OnCommand(window, IDM_OPEN);
        return;
    }
    FileType type;
    if (FileTypeFromName(path, &type) < 0) {
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported");
        return;
    }
    if (!ConfirmLeaveImage()) return;
    ShowCursorNow();
    LoadChosenFile(window, path);
}

void OnDeleteFile(HWND window) {
    if (CurrentPath().empty()) return;
    if (!DeleteToRecycleBin(window, CurrentPath())) return;
    // The folder's list is read again so that the deleted file is not shown again.
    if (!FileList.fromListFile) FileList.stale = true;
    SendMessageW(window, WM_COMMAND, IDM_LOAD_PREVIOUS, 0);
}

void OnWallpaper() {
    // The Windows environment's WINDIR (a winelib program's C library sees only the Unix one).
    WCHAR windir[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(TEXT("WINDIR"), windir, MAX_PATH);
    const std::string folder = length > 0 && length < MAX_PATH ? Narrow(windir) : std::string("C:\\windows");
    const std::string path = folder + "\\LUMWallPaper.bmp";
    const FileType saved = CurrentImage.saveType;
    CurrentImage.saveType = FT_BMP;
    const int result = WriteImageFile(path);
    CurrentImage.saveType = saved;
    if (result < 0) return;
    WString wide = Widen(path);
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, &wide[0], SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
        InputFile.SetPath(path);
        ReportFileError(FormatText("Error type <%ld> in file ", static_cast<long>(GetLastError())));
    }
}

void OnWebsite(HWND window) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window, TEXT("open"), kWebAddress, nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        ShowMessage("Connection to the Web failed!", "Viewer", kMbOk | kMbIconWarning);
        MessageBeep(MB_OK);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
}

void OnColourCount(HWND window) {
    const std::string saved = titleText;
    SetWindowTextW(window, TEXT("Counting total colours in the image - Please wait!"));
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    uint32_t total = 0;
    if (auto job = PrepareColourCount()) {
        RunColourCount(*job);
        total = job->result;
    }
    SetCursor(previous);
    titleText = saved;
    ShowTitle();
    ShowMessage(FormatText("Total Colours = %d\n", static_cast<int>(total)), "Image Information",
                kMbOk | kMbIconInformation);
}

void Toggle(int* flag) { *flag = *flag ? 0 : 1; }

void OnAllowMultiple() {
    if (!instanceLink.isFirst) return;
    Toggle(&AllowMultipleInstance);
    instanceLink.SetAllowMultiple(AllowMultipleInstance != 0);
}

void OnShowHideCursor() {
    cursorVisibleFlag = !cursorVisibleFlag;
    ShowCursorCounted(cursorVisibleFlag);
}

// "Set Up Write Directory" (SavePathDlg): the save folder and where it comes from.
INT_PTR SavePathMessage(HWND dialog, UINT message, WPARAM wParam) {
    constexpr int kRadios[] = {IDC_SAVE_TYPED, IDC_SAVE_LAST_READ, IDC_SAVE_CURRENT};
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextW(dialog, IDC_SAVE_FOLDER, Widen(SaveDir).c_str());
            SendDlgItemMessageW(dialog, IDC_SAVE_FOLDER, EM_LIMITTEXT, 260, 0);
            CheckRadioButton(dialog, IDC_SAVE_TYPED, IDC_SAVE_CURRENT, kRadios[std::clamp(SaveDirType, 0, 2)]);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                int type = SAVEDIR_USER;
                if (IsDlgButtonChecked(dialog, IDC_SAVE_LAST_READ) == BST_CHECKED) type = SAVEDIR_LASTREAD;
                if (IsDlgButtonChecked(dialog, IDC_SAVE_CURRENT) == BST_CHECKED) type = SAVEDIR_CURRENT;
                WCHAR typed[262] = {};
                GetDlgItemTextW(dialog, IDC_SAVE_FOLDER, typed, 262);
                WCHAR current[MAX_PATH] = {};
                const DWORD units = GetCurrentDirectoryW(MAX_PATH, current);
                ApplySaveFolderChoice(type, Narrow(typed), units > 0 && units < MAX_PATH ? Narrow(current) : "");
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return CloseOnCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK SavePathProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return SavePathMessage(dialog, message, wParam); });
}

void OnSaveDirectory(HWND window) { DialogBoxParamW(AppInstance, TEXT("SavePathDlg"), window, SavePathProc, 0); }

// "Reduce Colour Depth": the dialog, then the reduction of the picture (nothing at 24 bits).
void OnColourDepth(HWND window) {
    if (!AskColourDepth(window)) return;
    ReduceColourDepth();
}

void OnNotBuilt(HWND) { ShowMessage(kNotBuiltText, "Viewer", kMbOk | kMbIconWarning); }

// The folder (3000 + i) and file (3100 + i) history entries.
void OnFolderHistory(HWND window, int index) {
    if (index >= FolderHistory.count) return;
    const std::string folder = FolderHistory.entries[index];
    if (!SetCurrentDirectoryW(Widen(folder).c_str())) {
        ShowMessage(FormatText("Folder: <%s> no longer exists", folder.c_str()), "Folder History",
                    kMbOk | kMbIconWarning);
        return;
    }
    // The Open dialog starts on the folder's first picture. The list is collected in the
    // folder itself even when no picture is shown yet.
    lastReadFolder = folder;
    ResetListPosition();
    BuildFileList();
    SortFileList();
    FileList.stale = true;
    std::string first;
    if (FileList.Count() < 1 || StepInList(0, &first) < 0) {
        ShowMessage(FormatText("Folder: <%s> has no supported files", folder.c_str()), "Folder History",
                    kMbOk | kMbIconWarning);
        return;
    }
    std::string path = folder;
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    path += first;
    const WString wide = Widen(path);
    if (wide.size() < MAX_PATH) std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, openPathBuffer);
    OnCommand(window, IDM_OPEN);
}

void OnFileHistory(HWND window, int index) {
    if (RunMode == RUN_QUICKVIEW || index >= FileHistory.count) return;
    std::string path = FileHistory.entries[index];
    if (!ConfirmLeaveImage()) return;
    const std::string folder = FolderOf(path);
    if (SaveDirType == SAVEDIR_LASTREAD || SaveDirType == SAVEDIR_CURRENT) SaveDir = folder;
    if (!folder.empty()) SetCurrentDirectoryW(Widen(folder).c_str());
    ShowCursorNow();
    FileType type;
    if (FileTypeFromName(path, &type) < 0) {
        ShowMessage(FormatText("Error File type not Supported: <%s>", path.c_str()), "Lumora", kMbOk | kMbIconWarning);
        return;
    }
    LoadChosenFile(window, path);
}

// Enter and Escape. Shift or AllowExitESC quit at once; otherwise the user is asked.
void OnExitKey(HWND window) {
    BringBackPendingBase();
    if (GetKeyState(VK_SHIFT) < 0 || AllowExitESC) {
        DestroyWindow(window);
        return;
    }
    if (ImageIsChanged()) {
        if (!AskLeaveChangedPicture()) return;
    } else if (MessageBoxW(window, TEXT("Do you wish to exit LUM?"), TEXT("Leave LUM?"),
                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    DestroyWindow(window);
}

void SendCommand(HWND window, int id) { SendMessageW(window, WM_COMMAND, id, 0); }

void ShowBossAlert(HWND window) {
    if (BossAlert.empty()) return;
    std::string path = BossAlert;
    FileType type;
    if (FileTypeFromName(path, &type) < 0) {
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported ");
        return;
    }
    DisplayMode = MODE_BEST_FIT_NO_BORDER;
    if (LoadImageFile(path, HISTORY_NONE) == 0) RememberPictureSize();
    InvalidateRect(window, nullptr, FALSE);
}

// Page and arrow keys scroll a picture taller than the work area, else change the file.
bool ScrollsVertically() {
    return PictureTallerThanWorkArea(DisplayMode, CurrentImage.dib.height, workAreaHeight, borderHeight);
}

}  // namespace

bool CommandIsBlocked(int id) {
    if (RunMode == RUN_QUICKVIEW) return id != IDM_EXIT && id != IDM_START_DEVE;
    if (!AnimationBlocksCommands()) return false;
    return std::find(std::begin(kBlockedWhileAnimating), std::end(kBlockedWhileAnimating), id) !=
           std::end(kBlockedWhileAnimating);
}

bool CommandNotBuiltYet(int id) {
    return std::find(std::begin(kNotBuiltYet), std::end(kNotBuiltYet), id) != std::end(kNotBuiltYet);
}

LRESULT OnCommand(HWND window, int id) {
    // The cursor follows "Show/Hide Cursor", except while the slide show decides it.
    if (RunMode != RUN_SLIDESHOW) ShowCursorCounted(cursorVisibleFlag);
    // Blocked commands do nothing.
    if (CommandIsBlocked(id)) return 0;
    if (OnDisplayCommand(window, id)) return 0;
    if (id >= IDM_FOLDER_HISTORY_FIRST && id < IDM_FOLDER_HISTORY_FIRST + kHistoryEntries) {
        OnFolderHistory(window, id - IDM_FOLDER_HISTORY_FIRST);
        return 0;
    }
    if (id >= IDM_FILE_HISTORY_FIRST && id < IDM_FILE_HISTORY_FIRST + kHistoryEntries) {
        OnFileHistory(window, id - IDM_FILE_HISTORY_FIRST);
        return 0;
    }
    if (CommandNotBuiltYet(id)) {
        OnNotBuilt(window);
        return 0;
    }
    switch (id) {
        case IDM_NOT_IMPLEMENTED:
            ShowWarning("This File Menu Option Not Yet Implemented!", "Viewer", kMbOk | kMbIconWarning);
            return 0;
        case IDM_OPEN: OnOpen(window); return 0;
        case IDM_REOPEN: OnReOpen(window); return 0;
        case IDM_SAVE: return OnSave(window);
        case IDM_SAVE_AS: return OnSaveAs(window);
        case IDM_QUICK_JPEG: OnQuickJpegSave(); return 0;
        case IDM_DELETE_FILE: OnDeleteFile(window); return 0;
        case IDM_WALLPAPER: OnWallpaper(); return 0;
        case IDM_SAVE_DIRECTORY: OnSaveDirectory(window); return 0;
        case IDM_EXIT:
            StopAnimation();
            SendMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        case IDM_FILE_INFO: ShowFileInformation(window); return 0;
        case IDM_SYSTEM_INFO: ShowSystemInformation(window); return 0;
        case IDM_ABOUT: ShowAboutBox(window); return 0;
        case IDM_COLOUR_COUNT: OnColourCount(window); return 0;
        case IDM_COLOUR_DEPTH: OnColourDepth(window); return 0;
        case IDM_SLIDE_SHOW: OnSlideShow(window); return 0;
        case IDM_LOAD_NEXT:
        case IDM_LOAD_PREVIOUS:
        case IDM_LOAD_FIFTH:
        case IDM_LOAD_BACK_FIVE:
        case IDM_BEGINNING_OF_LIST: OnNavigate(window, id); return 0;
        case IDM_ROTATE_90: RunTransformCommand(TRANSFORM_ROTATE_90); return 0;
        case IDM_ROTATE_180: RunTransformCommand(TRANSFORM_ROTATE_180); return 0;
        case IDM_ROTATE_270: RunTransformCommand(TRANSFORM_ROTATE_270); return 0;
        case IDM_FLIP_HORIZONTAL: RunTransformCommand(TRANSFORM_FLIP_HORIZONTAL); return 0;
        case IDM_FLIP_VERTICAL: RunTransformCommand(TRANSFORM_FLIP_VERTICAL); return 0;
        case IDM_ROTATE_ANGLE: OnRotateVariableAngle(window); return 0;
        case IDM_INSERT_IMAGE: OnInsertImage(window); return 0;
        case IDM_EDIT_UNDO:
        case IDM_IMAGE_UNDO: Undo(); return 0;
        case IDM_EDIT_REDO:
        case IDM_IMAGE_REDO: Redo(); return 0;
        case IDM_PREFERENCES: ShowPreferences(window); return 0;
        case IDM_RESIZE: OnResizeCommand(window); return 0;
        case IDM_VIEW_SETUP: OnViewSetupCommand(window); return 0;
        case IDM_SHOW_CURSOR: OnShowHideCursor(); return 0;
        case IDM_WEBSITE: OnWebsite(window); return 0;
        case IDM_ALLOW_MULTIPLE: OnAllowMultiple(); return 0;
        case IDM_SAVE_HISTORY: Toggle(&SaveHistory); return 0;
        case IDM_SAVE_DATE: Toggle(&SaveDate); return 0;
        case IDM_ALLOW_EXIT_ESC: Toggle(&AllowExitESC); return 0;
        case IDM_GIF_SINGLE_STEP: AnimationSingleStep(); return 0;
        case IDM_GIF_RESUME: AnimationResume(); return 0;
        case IDM_GIF_SETUP: OnAnimationSetup(window); return 0;
        case IDM_GIF_BACKGROUND: OnGifBackground(window); return 0;
        default: return 0;
    }
}

void OnKeyDown(HWND window, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // Long operations take only Escape, which ends them.
    if (RunMode == RUN_LONG_OPERATION || RunMode == RUN_LONG_RAW) {
        if (key == VK_ESCAPE) RunMode = RUN_NORMAL;
        return;
    }
    if (EditState == EDIT_WRITING_ANIMATION) {
        if (key == VK_ESCAPE) EditState = EDIT_NONE;
        return;
    }
    if (key != VK_OEM_COMMA) {
        cursorVisibleFlag = true;
        ShowCursorCounted(true);
    }
    if (const int letter = LetterKeyCommand(static_cast<int>(key), shift, ctrl)) {
        SendCommand(window, letter);
        return;
    }
    switch (key) {
        case VK_TAB: SendCommand(window, IDM_SYSTEM_INFO); return;
        case VK_RETURN:
        case VK_ESCAPE: OnExitKey(window); return;
        case VK_PRIOR:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_PAGEUP, 0);
            else SendCommand(window, IDM_LOAD_BACK_FIVE);
            return;
        case VK_NEXT:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_PAGEDOWN, 0);
            else SendCommand(window, IDM_LOAD_FIFTH);
            return;
        case VK_UP:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
            else SendCommand(window, IDM_LOAD_PREVIOUS);
            return;
        case VK_DOWN:
            if (ScrollsVertically()) PostMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
            else SendCommand(window, IDM_LOAD_NEXT);
            return;
        case VK_LEFT: PostMessageW(window, WM_HSCROLL, SB_LINEUP, 0); return;
        case VK_RIGHT: PostMessageW(window, WM_HSCROLL, SB_LINEDOWN, 0); return;
        case VK_HOME:
            if (ctrl) SendCommand(window, IDM_BEGINNING_OF_LIST);
            else PostMessageW(window, WM_HSCROLL, SB_PAGEUP, 0);
            return;
        case VK_END: PostMessageW(window, WM_HSCROLL, SB_PAGEDOWN, 0); return;
        case VK_F1: PostMessageW(window, WM_COMMAND, IDM_HELP, 0); return;
        case VK_F12:
            if (ctrl && shift) ShowBossAlert(window);
            return;
        case VK_APPS:
            if (RunMode != RUN_QUICKVIEW) SendCommand(window, IDM_FILE_INFO);
            return;
        case VK_OEM_COMMA: SendCommand(window, IDM_SHOW_CURSOR); return;
        case VK_OEM_1: animForward = !animForward; return;  // ';' turns the animation round
        case VK_SPACE:
            // Space steps a running animation; a multi-page file would turn its pages here,
            // which needs the page reader.
            if (AnimationPlaying()) SendCommand(window, ctrl ? IDM_GIF_RESUME : IDM_GIF_SINGLE_STEP);
            return;
        case VK_OEM_PLUS:
        case VK_OEM_PERIOD: SendCommand(window, IDM_START_DEVE); return;
        default: break;
    }
    // Digits: '3' and '4' set the animation speed, the others send their commands.
    if (key == '3' || key == '4') {
        animSpeed = AnimSpeedAfterKey(animSpeed, static_cast<int>(key));
        return;
    }
    if (key >= '0' && key <= '9') {
        if (const int command = FixedKeyCommand(static_cast<int>(key))) SendCommand(window, command);
    }
}

void OnInitMenu(HMENU menu) {
    ShowCursorCounted(true);
    auto check = [menu](int id, bool on) { CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); };
    check(IDM_SLIDE_SHOW, RunMode == RUN_SLIDESHOW);
    check(IDM_START_DEVE, RunMode == RUN_QUICKVIEW);
    check(IDM_SAVE_DATE, SaveDate != 0);
    check(IDM_SAVE_HISTORY, SaveHistory != 0);
    check(IDM_ALLOW_EXIT_ESC, AllowExitESC != 0);
    check(IDM_ALLOW_MULTIPLE, AllowMultipleInstance != 0);
}

namespace {

// Empties `submenu` and lists `history` in it, identifiers first + i.
void FillHistoryMenu(HMENU submenu, const HistoryList& history, int first) {
    while (GetMenuItemCount(submenu) > 0) DeleteMenu(submenu, 0, MF_BYPOSITION);
    for (int i = 0; i < history.count && i < kHistoryEntries; ++i)
        AppendMenuW(submenu, MF_STRING, first + i, Widen(history.entries[i]).c_str());
}

HMENU SubmenuWithId(HMENU menu, UINT id) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (GetMenuItemInfoW(menu, i, TRUE, &info) && info.wID == id && info.hSubMenu != nullptr)
            return info.hSubMenu;
    }
    return nullptr;
}

}  // namespace

void OnInitMenuPopup(HMENU popup) {
    const int count = GetMenuItemCount(popup);
    const bool jpeg = CurrentImage.fileType == FT_JPEG;
    const bool tiff = CurrentImage.fileType == FT_TIFF;
    const bool noUndo = CurrentImage.undoTop < 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;
        bool grey = CommandIsBlocked(static_cast<int>(id));
        if (id == IDM_EDIT_UNDO || id == IDM_IMAGE_UNDO || id == IDM_IMAGE_REDO) grey = grey || noUndo;
        if ((id >= IDM_LOSSLESS_ROTATE_90 && id <= IDM_LOSSLESS_CROP) || id == IDM_AUTO_ORIENTATION)
            grey = grey || !jpeg;
        if (id == IDM_TIFF_NEXT_PAGE || id == IDM_TIFF_PAGE_NUMBER) grey = grey || !tiff;
        if (id == IDM_VIEW_SETUP) grey = grey || RunMode == RUN_SLIDESHOW;
        if (id == IDM_ALLOW_MULTIPLE) grey = grey || !instanceLink.isFirst;
        EnableMenuItem(popup, id, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
    }
    if (HMENU folders = SubmenuWithId(popup, IDM_DIRECTORY_HISTORY))
        FillHistoryMenu(folders, FolderHistory, IDM_FOLDER_HISTORY_FIRST);
    if (HMENU files = SubmenuWithId(popup, IDM_FILE_HISTORY)) FillHistoryMenu(files, FileHistory, IDM_FILE_HISTORY_FIRST);
}

void OnTimer(HWND window, UINT_PTR id) {
    // Timer 5 (quick-view polling) belongs to a module not built yet.
    if (id == IDT_SLIDE_SHOW) OnSlideShowTick(window);
    if (id == IDT_ANIMATION) {
        // Window timers repeat: the frame timer is one-shot, each frame arms it anew.
        KillTimer(window, IDT_ANIMATION);
        OnAnimationTick();
    }
    if (id == IDT_CLOSE) DestroyWindow(window);
}
