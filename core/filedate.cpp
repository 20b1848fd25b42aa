#include "core/filedate.h"

#include "platform/host.h"
#include "core/report.h"
#include "base/settings.h"

uint64_t inputFileTime = 0;

int ReadFileDate(const std::string& path) {
    // A date that cannot be read is no date: the previous file's must not reach the next save.
    inputFileTime = 0;
    uint64_t time = 0;
    int result = HostReadFileTime(path, &time);
    if (result == -1) {
        if (WarningFlag) ReportFileError("Error in opening file to read the date in file: ");
        return -1;
    }
    if (result < 0) {
        ReportFileError("Error in Reading the file date in file: ");
        return -1;
    }
    inputFileTime = time;
    return 0;
}

void RestoreFileDate(const std::string& path) {
    if (inputFileTime == 0) return;
    HostSetFileWriteTime(path, inputFileTime);
    inputFileTime = 0;
}
