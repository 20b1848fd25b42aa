// The process frame: the single-instance link, the start-up sequence, names handed over by
// later instances, dropped files and the question before a changed picture is left.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The link between running instances: a named shared block of 4104 bytes and a registered
// message of the same name ("LUM_Mapping"). The first instance writes its thread id and
// whether later instances may run on their own; a later instance writes its command line
// and posts the message to the first instance's main window (to its thread while that
// window does not exist yet).
class InstanceLink {
public:
    virtual ~InstanceLink();
    // Creates or opens the block; a later instance hands its command line over.
    // A later instance hands its command line to the first one only when `handOver`.
    void Open(const WCHAR* name, bool handOver);
    void Close();

    void SetAllowMultiple(bool allow);
    bool AllowMultiple() const;
    // The command line a later instance left in the block.
    std::string HandedOverCommandLine() const;

    UINT messageId = 0;
    bool isFirst = true;

private:
    HANDLE mapping_ = nullptr;
    uint8_t* view_ = nullptr;
};
extern InstanceLink instanceLink;

// The text after the program name on the command line ("%" and all, unchanged).
extern std::string argumentText;
// The path ReOpen starts from: LastFileViewed when no file was named at start.
extern std::string reopenPath;

// Configuration, screen, options, opening picture, first file, quick view. Returns 1.
int StartUp();
// A later instance's command line: opens the file it names, or offers the Open dialog.
void OpenFromOtherInstance(const std::string& commandLine);
// The hand-over message: a later instance left its command line in the shared block. It is
// opened at once when the program is free; during a command, a dialog or long work it is
// kept, and opened on timer IDT_HAND_OVER once the program is free again.
void OnHandOver(HWND window);
// The same message met by work that handles messages as it goes: always kept for later.
void KeepHandOver(HWND window);
// Timer IDT_HAND_OVER: opens a kept hand-over when the program has become free.
void OnHandOverTimer(HWND window);
// WM_DROPFILES: loads the first file only.
void OnDropFiles(HWND window, HDROP drop);
// The picture counts as changed: asks whether to save first. True when the program may
// go on and let the picture go.
bool AskLeaveChangedPicture();
// The guard before anything replaces the picture: a picture set aside for Insert Image
// comes back first, then a changed picture gets the question. True: go on.
bool ConfirmLeaveImage();
// Stops the quick-view polling and the slide show when the window goes.
void StopTimersAtExit(HWND window);
// Shows (or hides) the mouse cursor whatever the display counter was.
void ShowCursorCounted(bool show);
