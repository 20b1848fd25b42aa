#include "shell/filetime.h"

#include "base/text.h"

std::string FileDateText(uint64_t fileTime) {
    const FILETIME utc = ToFileTime(fileTime);
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &t)) return std::string();
    if (t.wYear == 1980 && t.wMonth == 1 && t.wDay == 1) return std::string();
    return FormatText("%02d/%02d/%04d  %02d:%02d", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute);
}
