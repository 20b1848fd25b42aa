#include "shell/startup.h"

#include <shellapi.h>

#include <cstring>
#include <string>

#include "base/appstate.h"
#include "core/current_image.h"
#include "view/display.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/loader.h"
#include "open/open.h"
#include "core/report.h"
#include "base/text.h"
#include "settings/config.h"
#include "base/settings.h"
#include "sheets/command_line.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/insert_image.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"

InstanceLink instanceLink;
std::string argumentText;
std::string reopenPath;

namespace {

// The shared block: thread id, allow-multiple flag, then the command line in UTF-16.
constexpr DWORD kBlockBytes = 4104;
constexpr size_t kThreadIdOffset = 0;
constexpr size_t kAllowOffset = 4;
constexpr size_t kCommandLineOffset = 8;
constexpr size_t kCommandLineUnits = 2048;  // including the terminator

uint32_t ReadU32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void WriteU32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, sizeof v); }

int cursorCounter = 0;

// A hand-over that arrived while the program was busy, and how often it looks again.
bool handOverWaiting = false;
constexpr UINT kHandOverRetryMs = 200;

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
    WCHAR name[32] = {};
    if (GetClassNameW(window, name, 32) == 0 || lstrcmpW(name, kMainClassName) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The picture shown before any file: the "Viewer" bitmap, a user's picture, or a black
// 500 x 300 picture.
void ShowOpeningPicture(int choice, std::string& openingPath) {
    if (choice == 2) {
        if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_NORMAL;
        if (LoadImageFile(openingPath) >= 0) RememberPictureSize();
        return;
    }
    CDib& dib = CurrentImage.dib;
    bool shown = false;
    if (choice == 1) {
        HBITMAP bitmap = LoadBitmapW(AppInstance, TEXT(IDR_VIEWER_NAME));
        BITMAP facts;
        if (bitmap != nullptr && GetObjectW(bitmap, sizeof facts, &facts) == sizeof facts) {
            dib.Create(facts.bmWidth, facts.bmHeight, 24);
            HDC screen = GetDC(nullptr);
            shown = screen != nullptr && GetDIBits(screen, bitmap, 0, static_cast<UINT>(facts.bmHeight), dib.bits,
                                                   reinterpret_cast<BITMAPINFO*>(dib.info), DIB_RGB_COLORS) != 0;
            if (screen != nullptr) ReleaseDC(nullptr, screen);
            dib.MakeTrueColour();
            CurrentImage.storedWidth = dib.width;
            CurrentImage.storedHeight = dib.height;
            CurrentImage.storedBitsPerPixel = 24;
        }
        if (bitmap != nullptr) DeleteObject(bitmap);
    }
    if (!shown) {
        // "none", or a program without its bitmap: a black picture of 500 x 300.
        dib.Create(500, 300, 24);
        dib.FillRGB(0);
    }
    displayWidth = dib.width;
    displayHeight = dib.height;
    RememberPictureSize();
    RedrawImage();
}

// Loads a name given from outside (command line, another instance); false after a failure,
// which the loader has reported.
bool LoadNameFromOutside(std::string name, bool setReadFolder) {
    // Surrounding quotes go; "%" stays as it was typed.
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    SetForegroundWindow(MainWindow);
    const std::string folder = FolderOf(name);
    if (!folder.empty()) {
        SetCurrentDirectoryW(Widen(folder).c_str());
        if (setReadFolder) {
            lastReadFolder = folder;
            if (SaveDirType == SAVEDIR_LASTREAD) SaveDir = folder;
        }
    }
    if (LoadImageFile({name, HISTORY_FOLDER_AND_FILE}) < 0) return false;
    RememberPictureSize();
    return true;
}

}  // namespace

// ------------------------------------------------------------ instance link

InstanceLink::~InstanceLink() { Close(); }

void InstanceLink::Open(const WCHAR* name, bool handOver) {
    messageId = RegisterWindowMessageW(name);
    SetLastError(0);
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockBytes, name);
    if (mapping_ == nullptr) {
        // Without the block this instance simply runs on its own.
        isFirst = true;
        return;
    }
    isFirst = GetLastError() != ERROR_ALREADY_EXISTS;
    view_ = static_cast<uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kBlockBytes));
    if (view_ == nullptr) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
        isFirst = true;
        return;
    }
    if (isFirst) {
        WriteU32(view_ + kThreadIdOffset, GetCurrentThreadId());
        WriteU32(view_ + kAllowOffset, 1);
        std::memset(view_ + kCommandLineOffset, 0, sizeof(WCHAR));
        return;
    }
    if (!handOver) return;
    // A later instance: its whole command line, cut to fit with its terminator, then the
    // message to the first instance's thread.
    const WCHAR* line = GetCommandLineW();
    size_t units = static_cast<size_t>(lstrlenW(line));
    if (units > kCommandLineUnits - 1) units = kCommandLineUnits - 1;
    std::memcpy(view_ + kCommandLineOffset, line, units * sizeof(WCHAR));
    std::memset(view_ + kCommandLineOffset + units * sizeof(WCHAR), 0, sizeof(WCHAR));
    // To the window, not the thread: a dialog's loop or long work that handles messages
    // dispatches a thread message to no window, and the name would be lost.
    const DWORD thread = ReadU32(view_ + kThreadIdOffset);
    HWND first = nullptr;
    EnumThreadWindows(thread, FindMainWindow, reinterpret_cast<LPARAM>(&first));
    if (first == nullptr || !PostMessageW(first, messageId, 0, 0)) PostThreadMessageW(thread, messageId, 0, 0);
}

void InstanceLink::Close() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
}

void InstanceLink::SetAllowMultiple(bool allow) {
    if (view_ != nullptr) WriteU32(view_ + kAllowOffset, allow ? 1 : 0);
}

bool InstanceLink::AllowMultiple() const { return view_ == nullptr || ReadU32(view_ + kAllowOffset) != 0; }

std::string InstanceLink::HandedOverCommandLine() const {
    if (view_ == nullptr) return std::string();
    // Another process wrote the block without a lock: read at most the block's characters
    // and end the text there even when its terminator is missing.
    WCHAR line[kCommandLineUnits];
    std::memcpy(line, view_ + kCommandLineOffset, (kCommandLineUnits - 1) * sizeof(WCHAR));
    line[kCommandLineUnits - 1] = 0;
    return Narrow(line);
}

// ------------------------------------------------------------ start-up

int StartUp() {
    std::string openingPath;
    const int choice = LoadConfiguration(&openingPath);
    if (instanceLink.isFirst) instanceLink.SetAllowMultiple(AllowMultipleInstance != 0);
    MeasureScreen();
    if (ReadCommandLineOptions(argumentText) != 0) return 1;

    ShowOpeningPicture(choice, openingPath);
    ClearUndo();
    if (DisplayMode != MODE_FIXED_WINDOW)
        DisplayMode = ModeForNewPicture(DisplayMode, DefaultViewFull, paintWidth, paintHeight, workAreaWidth,
                                        workAreaHeight, borderWidth, borderHeight);

    std::string name = StartupNamePart(argumentText);
    if (PrepareNameFromOutside(name) == 1) {
        if (!LoadNameFromOutside(name, true)) SendMessageW(MainWindow, WM_COMMAND, IDM_OPEN, 0);
    } else {
        reopenPath = LastFileViewed;
    }
    if (StartDeveOption) SendMessageW(MainWindow, WM_COMMAND, IDM_START_DEVE, 0);
    return 1;
}

void OpenFromOtherInstance(const std::string& commandLine) {
    std::string name = CommandLineText(commandLine);
    // A Unix path (as a Unix shell passes it) comes back in its full form, as at start.
    const std::string front = StartupNamePart(name);
    if (!front.empty() && (front[0] == '/' || (front.size() > 1 && front[0] == '"' && front[1] == '/'))) name = front;
    if (PrepareNameFromOutside(name) == 1) {
        // The handed-over file replaces the picture only as every other replacement does:
        // a changed picture asks first (and a base set aside for Insert Image comes back).
        if (!ConfirmLeaveImage()) return;
        if (LoadNameFromOutside(name, false)) return;
    }
    SendMessageW(MainWindow, WM_COMMAND, IDM_OPEN, 0);
}

void OnHandOver(HWND window) {
    handOverWaiting = true;
    OnHandOverTimer(window);
}

void KeepHandOver(HWND window) {
    handOverWaiting = true;
    SetTimer(window, IDT_HAND_OVER, kHandOverRetryMs, nullptr);
}

void OnHandOverTimer(HWND window) {
    if (handOverWaiting && !ShellIsFreeNow()) {
        // Opened now, the file would replace the picture under the command or dialog.
        SetTimer(window, IDT_HAND_OVER, kHandOverRetryMs, nullptr);
        return;
    }
    KillTimer(window, IDT_HAND_OVER);
    if (!handOverWaiting) return;
    handOverWaiting = false;
    // Read now: the block holds the latest later instance's command line.
    if (!instanceLink.AllowMultiple()) OpenFromOtherInstance(instanceLink.HandedOverCommandLine());
}

// ------------------------------------------------------------ dropped files and leaving

bool ConfirmLeaveImage() {
    BringBackPendingBase();
    return !ImageIsChanged() || AskLeaveChangedPicture();
}

bool AskLeaveChangedPicture() {
    const int answer = MessageBoxW(MainWindow,
                                   TEXT("Image has been modified! Do you wish to save before exiting?\n"
                                        "Press <ESC> key to cancel"),
                                   TEXT("Leave LUM?"), MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3);
    if (answer == IDNO) {
        CurrentImage.modified = false;
        return true;
    }
    if (answer != IDYES) return false;
    // Yes saves with Save As first. Only a file actually written lets the picture go: a
    // cancelled or failed Save As stops like Cancel, and the picture stays changed.
    return SendMessageW(MainWindow, WM_COMMAND, IDM_SAVE_AS, 0) == 0;
}

void ShowCursorCounted(bool show) {
    if (show) {
        while (cursorCounter < 0) cursorCounter = ShowCursor(TRUE);
    } else {
        while (cursorCounter >= 0) cursorCounter = ShowCursor(FALSE);
    }
}

void OnDropFiles(HWND window, HDROP drop) {
    if (RunMode == RUN_QUICKVIEW || !ConfirmLeaveImage()) {
        DragFinish(drop);
        return;
    }
    ShowCursorCounted(true);
    if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_NORMAL;
    EndSlideShow(window);
    RunMode = RUN_NORMAL;
    // Only the first file. Its whole name is taken: one longer than a path may be is then
    // refused by the loader instead of being loaded under a cut name.
    const UINT units = DragQueryFileW(drop, 0, nullptr, 0);
    WString name(static_cast<size_t>(units) + 1, WCHAR(0));
    const UINT got = units > 0 ? DragQueryFileW(drop, 0, &name[0], units + 1) : 0;
    name.resize(got);
    DragFinish(drop);
    if (got == 0) return;

    std::string path = Narrow(name);
    FileType type;
    if (FileTypeFromName(path, &type) < 0) {
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported");
        return;
    }
    if (LoadImageFile({path, HISTORY_FOLDER_AND_FILE}) < 0) {
        PostMessageW(window, WM_COMMAND, IDM_OPEN, 0);
        return;
    }
    RememberPictureSize();
}

void StopTimersAtExit(HWND window) {
    KillTimer(window, IDT_QUICK_VIEW);
    EndSlideShow(window);
}
