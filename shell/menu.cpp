// The main window's menu as it is about to show: check marks, grey items (from the command
// table's flags) and the two history submenus.
#include "shell/commands.h"

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "settings/history.h"
#include "view/command_rules.h"
#include "shell/command_table.h"
#include "shell/display.h"
#include "shell/startup.h"
#include "shell/wintext.h"

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
    const CommandState state = CurrentCommandState();
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;
        const bool grey = CommandGreyed(CommandFlagsOf(static_cast<int>(id)), state);
        EnableMenuItem(popup, id, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
    }
    if (HMENU folders = SubmenuWithId(popup, IDM_DIRECTORY_HISTORY))
        FillHistoryMenu(folders, FolderHistory, IDM_FOLDER_HISTORY_FIRST);
    if (HMENU files = SubmenuWithId(popup, IDM_FILE_HISTORY)) FillHistoryMenu(files, FileHistory, IDM_FILE_HISTORY_FIRST);
}
