// Program entry: the single-instance link, class, window, start-up and message loop.
#include <windows.h>

#include <string>

#include "sheets/command_line.h"
#include "shell/mainwnd.h"
#include "shell/startup.h"
#include "shell/wintext.h"

namespace {

// Exit code when the main window cannot exist (no display): a message loop without a
// window would wait forever.
constexpr int kExitNoWindow = 3;

// `watched` is the instance link's message (0 in a later instance): a later instance's
// command line to open. It comes to the main window; posted to the thread (before the
// window existed) it has no window to be dispatched to and is handled here.
int RunMessageLoop(UINT watched) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (watched != 0 && msg.message == watched && msg.hwnd == nullptr) {
            const HandlerScope scope;
            try {
                OnHandOver(MainWindow);
            } catch (const char* text) {
                ShowEscapedException(text);
            } catch (...) {
                ShowUnknownException();
            }
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int Run(HINSTANCE instance, int showCommand) {
    // The argument text reaches the option reader and the loader as typed: "%" is not
    // doubled anywhere, so names and options with "%" work.
    argumentText = CommandLineText(Narrow(GetCommandLineW()));
    // The link comes first, before any window: a later instance that may not run on its
    // own has handed its command line over and ends here, having shown nothing. A batch
    // command line (one with options) always runs here: handed over it would be read as
    // a file name, and the batch lost.
    const bool batch = !CommandLineOptions(argumentText).empty();
    instanceLink.Open(TEXT("LUM_Mapping"), !batch);
    const UINT watched = instanceLink.isFirst ? instanceLink.messageId : 0;
    if (!instanceLink.isFirst && !instanceLink.AllowMultiple() && !batch) return 0;

    if (!RegisterMainClass(instance)) {
        WriteStandardError("Lumora: the main window class cannot be registered\n");
        return kExitNoWindow;
    }
    if (CreateMainWindow(instance, showCommand) == nullptr) {
        WriteStandardError("Lumora: the main window cannot be created (is there a display?)\n");
        return kExitNoWindow;
    }
    try {
        const HandlerScope scope;
        StartUp();
    } catch (const char* text) {
        ShowEscapedException(text);
    } catch (...) {
        ShowUnknownException();
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return RunMessageLoop(watched);
}

}  // namespace

extern "C" int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
    const int code = Run(instance, showCommand);
    // Closed here rather than by the static destructor: under Wine, unmapping the block
    // while the process is already ending (after the display could not be opened) turns
    // the exit code into 0.
    instanceLink.Close();
    return code;
}
