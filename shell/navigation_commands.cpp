// Stepping through the folder's list, the slide show, the folder and file histories, and
// the main window's timers.
#include "shell/command_table.h"

#include <string>

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/loader.h"
#include "core/report.h"
#include "edit/animation.h"
#include "settings/filelist.h"
#include "settings/history.h"
#include "view/display.h"
#include "open/open.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/mainwnd.h"
#include "shell/startup.h"
#include "shell/wintext.h"

void EndSlideShow(HWND window) {
    if (RunMode == RUN_SLIDESHOW) KillTimer(window, IDT_SLIDE_SHOW);
}

namespace {

// One step of the show. A changed picture is replaced without the question: the show
// only runs while the user watches, and every picture it shows comes from a file.
void OnSlideShowTick(HWND window) {
    static bool loading = false;
    // A tick while the folder is being collected waits for the next one.
    if (loading || RunMode != RUN_SLIDESHOW || FileListCollecting()) return;
    // Nor does a tick inside a command, a dialog or a question: the command goes on with the
    // picture it started with (Save As writes the one shown under the name chosen for it).
    if (!ShellIsFreeNow()) return;
    loading = true;
    StopAnimation();
    std::string name;
    if (StepInList(FileList.step, &name) < 0) {
        KillTimer(window, IDT_SLIDE_SHOW);
        RunMode = RUN_NORMAL;
        ShowMessage("No file found, change directory or set different file types", "Viewer", kMbOk | kMbIconWarning);
    } else {
        if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = SlideShowBorder ? MODE_NORMAL : MODE_BEST_FIT_NO_BORDER;
        if (LoadImageFile({name, HISTORY_FOLDER}) >= 0) RememberPictureSize();
    }
    loading = false;
}

}  // namespace

// Next, previous, fifth next, back five and the beginning of the folder's list.
LRESULT OnNavigate(HWND window, int command) {
    if (RunMode == RUN_QUICKVIEW) return 0;
    // A step asked for while the folder is being collected (its messages are handled as
    // it goes) is dropped: it would step through a half-built list.
    if (FileListCollecting()) return 0;
    if (!ConfirmLeaveImage()) return 0;
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
    if (NavigationTarget(step, CurrentImage.fullPath, &name) < 0) return 0;
    if (!NextFileBorder && DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_BEST_FIT_NO_BORDER;
    const std::string position = FormatText("(%d of %d)", FileList.position + 1, FileList.Count());
    const int result = LoadImageFile({name, HISTORY_FOLDER, position});
    if (result >= 0) RememberPictureSize();
    return 0;
}

// "Slide Show" starts or ends the show: the folder's list is read again and its timer steps
// through it in the direction of the last navigation step.
LRESULT OnSlideShow(HWND window, int) {
    if (RunMode == RUN_QUICKVIEW) return 0;
    StopAnimation();
    if (RunMode == RUN_SLIDESHOW) {
        KillTimer(window, IDT_SLIDE_SHOW);
        RunMode = RUN_NORMAL;
        ShowCursorCounted(cursorVisibleFlag);
        return 0;
    }
    if (SetTimer(window, IDT_SLIDE_SHOW, SlideShowDuration, nullptr) == 0) {
        ShowMessage("Too many timers open for slide show!", "Viewer", kMbOk | kMbIconWarning);
        return 0;
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
    return 0;
}

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
    ProposeOpenPath(path);
    OnCommand(window, IDM_OPEN);
}

void OnFileHistory(HWND window, int index) {
    if (RunMode == RUN_QUICKVIEW || index >= FileHistory.count) return;
    std::string path = FileHistory.entries[index];
    if (!ConfirmLeaveImage()) return;
    const std::string folder = FolderOf(path);
    if (SaveDirType == SAVEDIR_LASTREAD || SaveDirType == SAVEDIR_CURRENT) SaveDir = folder;
    if (!folder.empty()) SetCurrentDirectoryW(Widen(folder).c_str());
    ShowCursorCounted(true);
    FileType type;
    if (FileTypeFromName(path, &type) < 0) {
        ShowMessage(FormatText("Error File type not Supported: <%s>", path.c_str()), "Lumora", kMbOk | kMbIconWarning);
        return;
    }
    LoadChosenFile(window, path);
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

