#include "core/loader.h"

#include <algorithm>
#include <utility>

#include "base/appstate.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/filedate.h"
#include "core/filemem.h"
#include "core/fileops.h"
#include "core/formats.h"
#include "core/report.h"
#include "core/title.h"
#include "platform/host.h"

const char* const kReaderNotBuilt = "Reading this type of picture is not available yet in file";

namespace {

bool firstLoadOfRun = true;

// Quotes anywhere and trailing line ends and blanks come from command lines and lists.
void CleanPath(std::string& path) {
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    path = TrimEnd(path);
}

bool HasFolderPart(const std::string& path) { return path.find_first_of(":\\/") != std::string::npos; }

// The depth the title gives: the stored depth, or 8 for the types that always say 8.
int TitleDepth() {
    return FormatHasFlag(CurrentImage.fileType, FORMAT_TITLE_DEPTH_8) ? 8
                                                                        : static_cast<int>(CurrentImage.storedBitsPerPixel);
}

// What the between-phases step needs: the caller's steps and the request.
struct LoadContext {
    const LoadRequest& request;
    const LoadSteps& steps;
};

// Between the phases: the title gets the new size and the caller lays the picture out.
int AfterPictureHeader(int width, int height, int, void* context) {
    const LoadContext& load = *static_cast<const LoadContext*>(context);
    TitleLoadedPicture(width, height, TitleDepth(), load.request.listPosition);
    if (load.steps.sizeKnown != nullptr) load.steps.sizeKnown(width, height);
    ResetLoadProgress();
    HostSetTitle("Loading file...");
    return 0;
}

void ReportLongJump() {
    if (CurrentImage.fileType == FT_TNS) ReportFileError("Unexpected jump into TNS error buffer");
    else ReportFileError("Unexpected jump into JPEG/PNG error buffer");
}

// The start every load and page shares, once the new picture's bytes are at hand: what
// belonged to the picture being replaced goes (its undo history, its playback, a pending
// click's meaning, the depth chosen for its save, its facts).
void BeginReplacing(const LoadSteps& steps, ImageFacts facts) {
    HostSetWaitCursor(true);
    ClearUndo();
    if (steps.replacing != nullptr) steps.replacing();
    if (EditState != EDIT_WRITING_ANIMATION) EditState = EDIT_NONE;
    saveDepth = 24;
    static_cast<ImageFacts&>(CurrentImage) = std::move(facts);
    CurrentImage.appliedOrientation = 0;
}

// How a load's end is shown: a failed load blacks out the picture it had begun to replace
// (unless `blackOut` is false: a picture that could not be created has nothing to black
// out), the title is shown when `showTitle`, and the window is redrawn.
void PresentLoad(int result, bool blackOut, bool showTitle) {
    if (result < 0 && blackOut && !CurrentImage.dib.Empty()) CurrentImage.dib.FillRGB(0);
    CurrentImage.failedLoad = result < 0;
    if (showTitle) ShowTitle();
    HostRedrawImage();
}

// The end every decoded load and page shares: the file's bytes go, the picture becomes 24
// bits (a failure there fails the load), and the result is shown.
int FinishDecodedLoad(int result, bool showTitle) {
    FileMem.Release();
    HostSetWaitCursor(false);
    try {
        if (CurrentImage.dib.MakeTrueColour() < 0 && result >= 0) result = -1;
    } catch (const char* text) {
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        result = -1;
    }
    PresentLoad(result, true, showTitle);
    return result;
}

// Reads the named file into memory, or opens it for a streamed type's reader. On failure
// (reported) the input file names the current picture's file again.
bool ReadRequestedFile(const std::string& path, FileType type) {
    const CFileOps before = InputFile;
    InputFile.SetPath(path);
    const bool streamed = FormatHasFlag(type, FORMAT_READS_STREAM);
    if (streamed ? OpenFileStream(path) : LoadFileToMemory(path) != nullptr) return true;
    InputFile.Close();
    InputFile = before;
    InputFile.handle = nullptr;
    return false;
}

}  // namespace

std::string WithCurrentDir(const std::string& name) {
    return HasFolderPart(name) ? name : JoinPath(HostGetCurrentDir(), name);
}

int LoadPicture(const LoadRequest& request, const LoadSteps& steps) {
    std::string path = request.path;
    CleanPath(path);
    FileType type = FT_UNSUPPORTED;
    if (FileTypeFromName(path, &type) < 0) {
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported");
        return -1;
    }
    if (!HasReader(type)) {
        // Nothing is changed for a type this build cannot read yet.
        InputFile.SetPath(path);
        ReportFileError(kReaderNotBuilt);
        return -1;
    }
    if (firstLoadOfRun) {
        firstLoadOfRun = false;
        std::string folder = FolderOf(path);
        if (!folder.empty()) HostSetCurrentDir(folder);
    }
    // The file is read before anything of the current picture changes: a file that cannot
    // be opened leaves the picture with its facts, its undo history and its kept pages.
    HostSetWaitCursor(true);
    if (!ReadRequestedFile(path, type)) {
        HostSetWaitCursor(false);
        return -1;
    }
    // A file an earlier load kept open for its other pages belongs to the picture being
    // replaced.
    CloseKeptFiles();
    CurrentImage.fileType = type;
    BeginReplacing(steps, ImageFacts());
    animSpeed = 100.0;
    animForward = true;
    ReadFileDate(path);
    HostSetWaitCursor(true);

    const bool streamed = FormatHasFlag(type, FORMAT_READS_STREAM);
    int result;
    bool headerPassed = false;
    LoadContext context{request, steps};
    try {
        result = DecodeImage(type, streamed ? nullptr : FileCursor.start, static_cast<size_t>(FileCursor.size),
                             CurrentImage.dib, CurrentImage, &headerPassed, AfterPictureHeader, &context);
    } catch (const char* text) {
        // Allocation failures inside a reader's phases end the load, never the program.
        FileMem.Release();
        HostSetWaitCursor(false);
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        PresentLoad(-1, true, false);
        return -1;
    }
    if (result == DECODE_JUMPED || !headerPassed) {
        // The header phase failed (it has reported) or a library left by the long jump:
        // the old picture is blacked out.
        FileMem.Release();
        if (result == DECODE_JUMPED) ReportLongJump();
        HostSetWaitCursor(false);
        PresentLoad(-1, result != DECODE_NO_MEMORY, false);
        return -1;
    }
    bool titled = false;
    if (result >= 0 && steps.decoded != nullptr) {
        const int step = steps.decoded(request);
        if (step < 0) result = -1;
        titled = step == 1;
    }
    result = FinishDecodedLoad(result, !titled);
    if (result >= 0) {
        std::string full = WithCurrentDir(path);
        if (PathFits(full)) CurrentImage.fullPath = full;
    }
    if (steps.finished != nullptr) steps.finished(request, result);
    return result;
}

int LoadPage(int index, const LoadSteps& steps) {
    const FileType type = CurrentImage.fileType;
    const FormatRow* row = FindFormat(type);
    if (row == nullptr || row->selectPage == nullptr || index < 0 || index >= CurrentImage.pageCount) return -1;
    // The page's facts replace the earlier page's; the file's page count stays.
    ImageFacts facts;
    facts.pageCount = CurrentImage.pageCount;
    facts.page = CurrentImage.page;
    BeginReplacing(steps, std::move(facts));
    ResetLoadProgress();
    int result;
    try {
        result = DecodePage(type, index, CurrentImage.dib, CurrentImage);
    } catch (const char* text) {
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        result = -1;
    }
    if (result == DECODE_NO_READER) {
        // The file is no longer open (another load closed it): the picture stays.
        HostSetWaitCursor(false);
        return -1;
    }
    if (steps.sizeKnown != nullptr && !CurrentImage.dib.Empty())
        steps.sizeKnown(CurrentImage.dib.width, CurrentImage.dib.height);
    TitleLoadedPicture(CurrentImage.dib.width, CurrentImage.dib.height, TitleDepth(), std::string());
    return FinishDecodedLoad(result, true) < 0 ? -1 : 0;
}

int ProbeImageHeader(const std::string& path, uint16_t* width, uint16_t* height, uint16_t* depth) {
    FileType type = FT_UNSUPPORTED;
    if (FileTypeFromName(path, &type) < 0 || !HasReader(type)) return -1;
    // Only the file in memory is touched: the readers record their facts in a record of
    // their own, so the current picture and the input file stay as they were.
    CFileOps input = InputFile;
    input.handle = nullptr;
    int result = -1;
    {
        QuietReports quiet;
        if (FormatHasFlag(type, FORMAT_READS_STREAM)) {
            if (OpenFileStream(path)) result = ProbeImage(type, nullptr, 0, width, height, depth);
        } else if (LoadFileToMemory(path) != nullptr) {
            result = ProbeImage(type, FileCursor.start, static_cast<size_t>(FileCursor.size), width, height, depth);
        }
        FileMem.Release();
    }
    InputFile.Close();
    InputFile = input;
    return result;
}

int PrepareNameFromOutside(std::string& name) {
    if (name.empty()) return 0;
    FileType type;
    if (FileTypeFromName(name, &type) < 0) {
        InputFile.SetPath(name);
        ReportFileError("Error File type not Supported  ");
        return 0;
    }
    if (DisplayMode != MODE_FIXED_WINDOW) DisplayMode = MODE_NORMAL;
    name = WithCurrentDir(name);
    return 1;
}
