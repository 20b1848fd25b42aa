#include "shell/test_requests.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "base/ids.h"
#include "core/current_image.h"
#include "shell/commands.h"
#include "shell/display.h"
#include "shell/wintext.h"

namespace {

// Whether the test requests are answered. They are for the end-to-end tests only: without
// LUMORA_TEST_REQUESTS=1 in the program's environment at start, no other process can make
// the program write a file, drop files on it or mark its picture changed.
bool testRequestsEnabled = false;

// Read from the Windows environment (a winelib program's C library sees only the Unix one).
bool TestRequestsWanted() {
    WCHAR value[4] = {};
    const DWORD units = GetEnvironmentVariableW(TEXT("LUMORA_TEST_REQUESTS"), value, 4);
    return units == 1 && value[0] == '1';
}

void DumpMenu(HMENU menu, int depth, std::string* out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        WCHAR text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
        if (info.fType & MFT_SEPARATOR) {
            *out += std::to_string(depth) + " sep\n";
            continue;
        }
        *out += std::to_string(depth) + " " + std::to_string(info.wID) + " " + Narrow(text);
        if (info.fState & MFS_GRAYED) *out += " grey";
        if (info.fState & MFS_CHECKED) *out += " checked";
        *out += "\n";
        if (info.hSubMenu != nullptr) {
            OnInitMenuPopup(info.hSubMenu);
            DumpMenu(info.hSubMenu, depth + 1, out);
        }
    }
}

BOOL WriteMenuDump(HWND window, const WCHAR* file) {
    HMENU menu = GetMenu(window);
    if (menu == nullptr) return FALSE;
    OnInitMenu(menu);
    std::string text;
    DumpMenu(menu, 0, &text);
    HANDLE handle = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    const BOOL ok = WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(handle);
    return ok && written == text.size();
}

}  // namespace

LRESULT OnTestRequest(HWND window, const COPYDATASTRUCT* data) {
    if (!testRequestsEnabled || data == nullptr) return FALSE;
    switch (data->dwData) {
        case LUM_REQUEST_DROP_FILES: {
            const size_t units = data->cbData / sizeof(WCHAR);
            if (units < 2 || data->lpData == nullptr) return FALSE;
            // A DROPFILES header and the names, ending with two terminators whatever was sent.
            const size_t bytes = sizeof(DROPFILES) + (units + 2) * sizeof(WCHAR);
            HGLOBAL block = GlobalAlloc(GHND, bytes);
            if (block == nullptr) return FALSE;
            auto* header = static_cast<DROPFILES*>(GlobalLock(block));
            header->pFiles = sizeof(DROPFILES);
            header->fWide = TRUE;
            std::memcpy(reinterpret_cast<uint8_t*>(header) + sizeof(DROPFILES), data->lpData, units * sizeof(WCHAR));
            GlobalUnlock(block);
            if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
                GlobalFree(block);
                return FALSE;
            }
            return TRUE;
        }
        case LUM_REQUEST_MARK_CHANGED: CurrentImage.modified = true; return TRUE;
        case LUM_REQUEST_MAP_POINT: {
            if (data->cbData < 2 * sizeof(int32_t) || data->lpData == nullptr) return FALSE;
            int32_t point[2];
            std::memcpy(point, data->lpData, sizeof point);
            const DisplayPoint p = PictureAtClientPoint(window, point[0], point[1]);
            return 1 + static_cast<LRESULT>(p.x) + 65536 * static_cast<LRESULT>(p.y);
        }
        case LUM_REQUEST_DUMP_MENU: {
            const size_t units = data->cbData / sizeof(WCHAR);
            if (units < 2 || data->lpData == nullptr) return FALSE;
            WString file(static_cast<const WCHAR*>(data->lpData), units);
            file.push_back(0);
            return WriteMenuDump(window, file.c_str());
        }
        default: return FALSE;
    }
}

void EnableTestRequestsIfAsked() { testRequestsEnabled = TestRequestsWanted(); }
