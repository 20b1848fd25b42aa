// "Select Filter Type" and the user-defined filter dialogs.
#pragma once

#include <windows.h>

// "Select Filter Type": OK stores the boxes and gives the entry chosen; Cancel gives -1.
int AskFilterEntry(HWND owner);
// The user filter dialog of an editable entry (23, 33, 37), after the entry was loaded:
// OK stores the kernel, bias, divisor and channels and gives true; Cancel changes nothing.
// An entry without a dialog gives true at once.
bool AskUserFilter(HWND owner, int entry);
