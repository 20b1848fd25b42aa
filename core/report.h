// The three reporting routines every part uses. Where a report goes depends on the run
// mode: standard output in batch runs, the title in the slide show and quick view, a
// message box otherwise.
#pragma once

#include <string>

// A problem with the file being read; the text is followed by ": " and its path.
void ReportFileError(const std::string& message);
// A problem with the file being written.
void ReportWriteError(const std::string& message);
// An error that must be seen. Returns the message box answer (kIdOk when none was shown).
int ShowMessage(const std::string& message, const std::string& caption, unsigned flags);
// A warning the user may switch off with WarningFlag.
int ShowWarning(const std::string& message, const std::string& caption, unsigned flags);

// Quick view paints file errors into its own pane; it installs this while it runs.
extern void (*QuickViewShowError)(const std::string& text);

// While one of these lives, reports are dropped: for reading many files' headers at once
// (sorting a folder by width), where one box per broken file would be useless.
struct QuietReports {
    QuietReports();
    ~QuietReports();
    QuietReports(const QuietReports&) = delete;
    QuietReports& operator=(const QuietReports&) = delete;
};
bool ReportsAreQuiet();
