#include "core/report.h"

#include "base/appstate.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "base/text.h"
#include "base/settings.h"

void (*QuickViewShowError)(const std::string& text) = nullptr;

namespace {
int quietDepth = 0;
}  // namespace

QuietReports::QuietReports() { ++quietDepth; }
QuietReports::~QuietReports() { --quietDepth; }
bool ReportsAreQuiet() { return quietDepth > 0; }

void ReportFileError(const std::string& message) { InputFile.Report(message); }

void ReportWriteError(const std::string& message) { OutputFile.Report(message); }

int ShowMessage(const std::string& message, const std::string& caption, unsigned flags) {
    if (ReportsAreQuiet()) return kIdOk;
    std::string text = CutToUtf16Units(message, kMaxMessage);
    if (RunMode == RUN_SLIDESHOW) {
        HostSetTitle(text);
        return kIdOk;
    }
    if (RunMode == RUN_QUICKVIEW) {
        HostSetTitle(text);
        ReportFileError(message);
        return kIdOk;
    }
    HostBeep();
    return HostMessageBox(text, caption, flags);
}

int ShowWarning(const std::string& message, const std::string& caption, unsigned flags) {
    if (ReportsAreQuiet()) return kIdOk;
    std::string text = CutToUtf16Units(message, kMaxMessage);
    if (RunMode == RUN_BATCH && !VerboseFlag) {
        // The batch file's name first, then the warning.
        HostPrintStdout(InputFile.fullPath + ": " + message + "\n");
        return kIdOk;
    }
    if (RunMode == RUN_QUICKVIEW || RunMode == RUN_SLIDESHOW) {
        HostSetTitle(text);
        return kIdOk;
    }
    if (!WarningFlag) return kIdOk;
    HostBeep();
    return HostMessageBox(text, caption, flags);
}
