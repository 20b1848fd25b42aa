// Program entry: class, window, the file named on the command line, message loop.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "core/appstate.h"
#include "core/current_image.h"
#include "core/loader.h"
#include "core/text.h"
#include "settings/settings.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"

namespace {

// Exit code when the main window cannot exist (no display): a message loop without a
// window would wait forever.
constexpr int kExitNoWindow = 3;

// A root-relative path ("/home/a.bmp", the form Unix shells hand to Wine) names a file, not
// an option, when its first folder exists; "/Resize=50" or "/SaveFile=/tmp/a.jpg" do not.
bool IsRootRelativePath(const WString& arg) {
    if (arg.size() < 2 || arg[0] != '/') return false;
    const size_t second = arg.find('/', 1);
    if (second == WString::npos) return false;
    const DWORD attributes = GetFileAttributesW(arg.substr(0, second).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file named on the command line: the first argument unless it is an option ("/...").
// A root-relative path gets its drive here, so that the loader sees a full path.
std::string StartupFileName() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr) return std::string();
    WString name;
    if (count >= 2 && args[1][0] != 0) {
        const WString first = args[1];
        if (first[0] != '/') {
            name = first;
        } else if (IsRootRelativePath(first)) {
            WCHAR full[MAX_PATH];
            const DWORD length = GetFullPathNameW(first.c_str(), MAX_PATH, full, nullptr);
            name = (length > 0 && length < MAX_PATH) ? WString(full, length) : first;
        }
    }
    LocalFree(args);
    return Narrow(name);
}

void OpenStartupFile() {
    std::string name = StartupFileName();
    if (PrepareNameFromOutside(name) != 1) return;
    std::string folder = FolderOf(name);
    if (!folder.empty()) {
        SetCurrentDirectoryW(Widen(folder).c_str());
        lastReadFolder = folder;
        if (SaveDirType == SAVEDIR_LASTREAD) SaveDir = folder;
    }
    SetForegroundWindow(MainWindow);
    LoadImageFile(name, HISTORY_FOLDER_AND_FILE);
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    if (!RegisterMainClass(instance)) {
        WriteStandardError("Lumora: the main window class cannot be registered\n");
        return kExitNoWindow;
    }
    if (CreateMainWindow(instance, showCommand) == nullptr) {
        WriteStandardError("Lumora: the main window cannot be created (is there a display?)\n");
        return kExitNoWindow;
    }
    try {
        MeasureScreen();
        ClearUndo();
        OpenStartupFile();
    } catch (const char* text) {
        ShowEscapedException(text);
    } catch (...) {
        ShowUnknownException();
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return RunMessageLoop();
}
