#include "core/fileops.h"

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"
#include "base/settings.h"

CFileOps InputFile;
CFileOps OutputFile;

CFileOps::~CFileOps() { Close(); }

void CFileOps::SetPath(const std::string& name) {
    std::string full;
    size_t offset = 0;
    if (HostFullPath(name, &full, &offset)) {
        fullPath = full;
        namePart = offset;
    } else {
        fullPath = name;
        namePart = FileNameOffset(name);
    }
}

bool CFileOps::ReadDirectoryEntry() {
    HostFileFacts facts;
    if (!HostGetFileFacts(fullPath, &facts)) return false;
    attributes = facts.attributes;
    creationTime = facts.creationTime;
    lastWriteTime = facts.lastWriteTime;
    lastAccessTime = facts.lastAccessTime;
    sizeHigh = static_cast<uint32_t>(facts.size >> 32);
    sizeLow = static_cast<uint32_t>(facts.size);
    return true;
}

HostFile CFileOps::OpenForRead(const std::string& name) {
    Close();
    SetPath(name);
    // An over-long path cannot be held: treat it as a file that cannot be opened.
    if (!PathFits(fullPath) || !ReadDirectoryEntry()) return nullptr;
    handle = HostOpenRead(fullPath);
    return handle;
}

void CFileOps::Close() {
    if (handle != nullptr) HostCloseFile(handle);
    handle = nullptr;
}

void CFileOps::SetTitleText(const std::string& name, const std::string& text, int width, int height,
                            int depth) {
    if (UseShortTitle) {
        titleText = NamePart();
    } else if (!text.empty()) {
        titleText = FormatText("%s %s (%dx%dx%d)", name.c_str(), text.c_str(), width, height, depth);
    } else {
        titleText = FormatText("%s %s (%dx%dx%d)", name.c_str(), NamePart().c_str(), width, height, depth);
    }
    titleText = CutToUtf16Units(titleText, kMaxMessage);
    titleSizeText = FormatText("%dx%d", width, height);
}

void CFileOps::ShowProgressTitle(const std::string& prefix, const std::string& suffix) {
    HostSetTitle(CutToUtf16Units(prefix + NamePart() + suffix, kMaxMessage));
}

void CFileOps::Report(const std::string& message) {
    if (ReportsAreQuiet()) return;
    if (RunMode == RUN_BATCH && !VerboseFlag) {
        HostPrintStdout(message + ": " + fullPath + "\n");
        return;
    }
    if (RunMode == RUN_QUICKVIEW) {
        std::string text = CutToUtf16Units("\n\n" + message + ": " + NamePart() + "\n", kMaxMessage);
        HostBeep();
        if (QuickViewShowError) QuickViewShowError(text);
        else HostSetTitle(text);
        return;
    }
    if (RunMode == RUN_SLIDESHOW) {
        HostSetTitle(CutToUtf16Units("\n\n" + message + ": " + NamePart() + "\n", kMaxMessage));
        return;
    }
    HostBeep();
    HostMessageBox(CutToUtf16Units(message + ": " + fullPath + "\n", kMaxMessage), "Viewer",
                   kMbOk | kMbIconWarning);
}
