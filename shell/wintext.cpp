#include "shell/wintext.h"

WString Widen(const std::string& utf8) {
    if (utf8.empty()) return WString();
    const int length = static_cast<int>(utf8.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (units <= 0) return WString();
    WString wide(static_cast<size_t>(units), WCHAR(0));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, &wide[0], units);
    return wide;
}

std::string Narrow(const WCHAR* text, int units) {
    if (text == nullptr) return std::string();
    if (units < 0) units = lstrlenW(text);
    if (units == 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, units, &narrow[0], bytes, nullptr, nullptr);
    return narrow;
}

std::string DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    const int length = item != nullptr ? GetWindowTextLengthW(item) : 0;
    if (length <= 0) return std::string();
    WString text(static_cast<size_t>(length) + 1, WCHAR(0));
    const int copied = GetWindowTextW(item, &text[0], length + 1);
    return Narrow(text.c_str(), copied > 0 ? copied : 0);
}
