// UTF-8 (the engine's text) <-> UTF-16 (the Win32 calls' text).
#pragma once

#include <windows.h>

#include <string>

using WString = std::basic_string<WCHAR>;

WString Widen(const std::string& utf8);
std::string Narrow(const WCHAR* text, int units = -1);
inline std::string Narrow(const WString& text) { return Narrow(text.c_str(), static_cast<int>(text.size())); }
// The whole text of control `id` of `dialog`, however long.
std::string DialogItemText(HWND dialog, int id);
