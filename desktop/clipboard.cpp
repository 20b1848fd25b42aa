#include "desktop/clipboard.h"

#include <cstring>

namespace {

// Opens the clipboard, waiting a little while another program has it open: clipboard
// viewers and managers open it for a moment each time it changes, and a copy that failed
// on the first try would lose the user's text for a collision of milliseconds.
bool OpenClipboardPatiently(HWND window) {
    constexpr int kTries = 25;
    constexpr DWORD kPauseMs = 20;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (OpenClipboard(window)) return true;
        Sleep(kPauseMs);
    }
    return false;
}

}  // namespace

int CopyTextToClipboard(HWND window, const WCHAR* text) {
    if (text == nullptr) return 0;
    size_t units = 0;
    while (text[units] != 0) ++units;
    const size_t bytes = (units + 1) * sizeof(WCHAR);
    // A movable, shareable block: once it is on the clipboard the clipboard owns it.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
    if (block == nullptr) return -1;
    void* memory = GlobalLock(block);
    if (memory == nullptr) {
        GlobalFree(block);
        return -1;
    }
    std::memcpy(memory, text, bytes);
    GlobalUnlock(block);
    if (!OpenClipboardPatiently(window)) {
        GlobalFree(block);
        return -1;
    }
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!taken) {
        GlobalFree(block);
        return -1;
    }
    return 0;
}
