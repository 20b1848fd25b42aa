#include "core/save.h"

#include <new>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/filedate.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "core/outstream.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"
#include "base/settings.h"

std::string outputPath;
int jpegQuality = 75;
float webpQuality = 75;
bool webpLossless = false;

const char* SaveExtension(FileType type) {
    const FormatRow* row = FindFormat(type);
    return row != nullptr && row->saveExtension != nullptr ? row->saveExtension : "jpg";
}

const FileType* SaveFilterOrder(bool tnsBrowsing) { return tnsBrowsing ? kSaveOrderTns : kSaveOrderNormal; }

std::string SaveNameWithType(const std::string& currentPath, FileType type) {
    return CutExtension(currentPath) + "." + SaveExtension(type);
}

std::string ProposeSaveName(const std::string& currentPath) {
    if (SaveDir.empty()) SaveDir = lastReadFolder;
    return CutExtension(SaveDir + currentPath.substr(FileNameOffset(currentPath)));
}

int CompleteSaveName(const std::string& chosen, int filterIndex, bool tnsBrowsing, std::string* path) {
    std::string name = CutExtension(chosen);
    SaveDir = FolderOf(chosen);
    if (filterIndex < 1 || filterIndex > kSaveFilterCount) {
        ReportWriteError(tnsBrowsing ? "Error: Only File types JPG, BMP, GIF, TGA and TNS Supported in file "
                                     : "Error: Only File types JPG, BMP, GIF, WEBP and TGA Supported in file ");
        return -1;
    }
    const FileType type = SaveFilterOrder(tnsBrowsing)[filterIndex - 1];
    CurrentImage.saveType = type;
    *path = name + "." + SaveExtension(type);
    return 0;
}

int ConfirmOverwrite(const std::string& path) {
    HostFileFacts facts;
    if (!HostGetFileFacts(path, &facts)) return 0;
    int answer = HostMessageBox(FormatText("File: <%s> Already exists. Overwrite?", path.c_str()), "SaveAs",
                                kMbYesNo | kMbIconWarning);
    return answer == kIdYes ? 0 : -1;
}

namespace {

// The wait cursor for the whole write, however it ends.
struct WaitWhileWriting {
    WaitWhileWriting() { HostSetWaitCursor(true); }
    ~WaitWhileWriting() { HostSetWaitCursor(false); }
    WaitWhileWriting(const WaitWhileWriting&) = delete;
    WaitWhileWriting& operator=(const WaitWhileWriting&) = delete;
};

void ShowWriteProgress(const std::string& text) { HostSetTitle(CutToUtf16Units(text, kMaxMessage)); }

// What a writer is told besides the picture, from the run's choices and the picture's
// facts.
WriteOptions OptionsForCurrentImage() {
    WriteOptions options;
    options.depth = saveDepth;
    options.jpegQuality = jpegQuality;
    options.webpQuality = webpQuality;
    options.webpLossless = webpLossless;
    options.comment = CurrentImage.comment;
    options.commentKeyword = CurrentImage.commentKeyword;
    if (SaveExifHeaderToFile && !CurrentImage.exif.empty()) {
        options.exif = &CurrentImage.exif;
        options.exifUpright = CurrentImage.appliedOrientation >= 2;
    }
    options.showProgress = ShowWriteProgress;
    options.fileName = OutputFile.NamePart();
    return options;
}

}  // namespace

int WriteImageFile(const std::string& path, const std::function<void()>& beforeReplace) {
    OutputFile.SetPath(path);
    const FileType type = CurrentImage.saveType;
    const FormatRow* format = FindFormat(type);
    if (format == nullptr || format->write == nullptr) {
        // A batch run reports it like every write error, so that it never waits on a box
        // nobody sees; otherwise it is a message of its own.
        if (RunMode == RUN_BATCH && !VerboseFlag)
            ReportWriteError(FormatText("Error: File type <%d> not supported in file", static_cast<int>(type)));
        else
            ShowMessage(FormatText("Error: File type <%d> not supported in file: %s", static_cast<int>(type), path.c_str()),
                        "File Write", kMbOk | kMbIconWarning);
        return -1;
    }
    const bool busy = (format->flags & FORMAT_BUSY_WHILE_WRITING) != 0;
    // Puts the edit state back however the write ends, an exception included.
    struct BusyWhileWriting {
        const bool busy;
        const int saved = EditState;
        explicit BusyWhileWriting(bool b) : busy(b) {
            if (busy) EditState = EDIT_WRITING_ANIMATION;
        }
        ~BusyWhileWriting() {
            if (busy) EditState = saved;
        }
    } busyState(busy);
    int result;
    // A writer that failed has said why; its own negative result must not be read as one
    // of the stream's (it would add a wrong "could not open" report).
    bool writerReported = false;
    try {
        WaitWhileWriting wait;
        const WriteOptions options = OptionsForCurrentImage();
        result = WriteReplacing(path, [&](OutStream& out) {
            const int written = format->write(out, CurrentImage.dib, options);
            writerReported = written < 0;
            return written;
        }, nullptr, beforeReplace);
    } catch (const char* text) {
        ShowMessage(text, "File Write", kMbOk | kMbIconWarning);
        result = -100;
    } catch (const std::bad_alloc&) {
        ShowMessage("Not enough memory to write the file ", "File Write", kMbOk | kMbIconWarning);
        result = -100;
    }
    // The writer's progress leaves the title.
    ShowTitle();
    if (writerReported) return -1;
    switch (result) {
        case WRITE_OK: break;
        case WRITE_CANT_CREATE:
        case WRITE_CANT_REPLACE:
        case WRITE_BAD_PATH:
            ReportWriteError("Error in Opening output file ");
            return -1;
        case WRITE_FAILED:
            ReportWriteError("Error in Saving file: ");
            return -1;
        default:
            return -1;  // the writer has reported
    }
    const CDib& dib = CurrentImage.dib;
    CurrentImage.storedBitsPerPixel = dib.bitsPerPixel;
    CurrentImage.storedHeight = dib.height;
    CurrentImage.storedWidth = dib.width;
    OutputFile.SetTitleText("", "", dib.width, dib.height, (format->flags & FORMAT_TITLE_DEPTH_8) ? 8 : dib.bitsPerPixel);
    ShowTitle();
    HostRedrawImage();
    if (SaveDate) RestoreFileDate(path);
    return 0;
}

int WriteCurrentImageTo(const std::string& path) {
    OutputFile.SetPath(path);
    std::string temp;
    uint32_t error = 0;
    HostFile probe = PathFits(path) ? HostCreateTempBeside(path, &temp, &error) : nullptr;
    if (probe == nullptr) {
        ReportWriteError("Error in Opening file: ");
        return -1;
    }
    HostFinishWrite(probe, &error);
    HostDeleteFile(temp);
    // A failed write has said why ("Error in Saving file: " when the data could not be
    // written): one message for one failure.
    return WriteImageFile(path);
}

bool SaveFolderFromText(const std::string& text, std::string* folder) {
    std::string result = TrimEnd(CutToUtf16Units(text, 260));
    if (result.empty()) return false;
    if (result.back() != '\\') result += '\\';
    if (!PathFits(result)) return false;
    *folder = result;
    return true;
}

void ApplySaveFolderChoice(int type, const std::string& typed, const std::string& currentDirectory) {
    switch (type) {
        case SAVEDIR_LASTREAD:
            SaveDirType = type;
            SaveDir = lastReadFolder;
            break;
        case SAVEDIR_CURRENT:
            SaveDirType = type;
            // A folder always ends with "\": names are appended to it.
            SaveDir = currentDirectory;
            if (!SaveDir.empty() && SaveDir.back() != '\\') SaveDir += '\\';
            break;
        default:
            SaveDirType = SAVEDIR_USER;
            SaveFolderFromText(typed, &SaveDir);
            break;
    }
}
