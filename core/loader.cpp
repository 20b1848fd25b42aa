#include "core/loader.h"

#include <algorithm>

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

// Between the phases: the title gets the new size and the caller lays the picture out.
int AfterPictureHeader(int width, int height, int, void* context) {
    const LoadSteps& steps = *static_cast<const LoadSteps*>(context);
    TitleLoadedPicture(width, height, TitleDepth());
    if (steps.sizeKnown != nullptr) steps.sizeKnown(width, height);
    ResetLoadProgress();
    HostSetTitle("Loading file...");
    return 0;
}

// The facts a reader recorded become the current picture's as soon as phase 1 gives
// them: the title between the phases shows the stored depth.
ImageFacts loadFacts;

void CopyFacts(const ImageFacts& facts) {
    CurrentImage.storedWidth = facts.storedWidth;
    CurrentImage.storedHeight = facts.storedHeight;
    CurrentImage.storedBitsPerPixel = facts.storedBitsPerPixel;
    CurrentImage.formatNote = facts.formatNote;
    CurrentImage.comment = facts.comment;
    CurrentImage.commentKeyword = facts.commentKeyword;
    CurrentImage.applicationId = facts.applicationId;
    CurrentImage.exif = facts.exif;
    CurrentImage.xmp = facts.xmp;
    CurrentImage.jpegProcess = facts.jpegProcess;
    CurrentImage.rawCameraText = facts.rawCameraText;
    CurrentImage.pageCount = facts.pageCount;
    CurrentImage.page = facts.page;
    CurrentImage.appliedOrientation = 0;
}

int FactsThenAfterHeader(int width, int height, int depth, void* context) {
    CopyFacts(loadFacts);
    return AfterPictureHeader(width, height, depth, context);
}

void ReportLongJump() {
    if (CurrentImage.fileType == FT_TNS) ReportFileError("Unexpected jump into TNS error buffer");
    else ReportFileError("Unexpected jump into JPEG/PNG error buffer");
}

}  // namespace

std::string WithCurrentDir(const std::string& name) {
    return HasFolderPart(name) ? name : JoinPath(HostGetCurrentDir(), name);
}

int LoadPicture(std::string& path, const LoadSteps& steps) {
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
    // A file an earlier load kept open for its other pages belongs to the picture being
    // replaced.
    CloseKeptFiles();
    CurrentImage.fileType = type;

    HostSetWaitCursor(true);
    ClearUndo();
    if (steps.replacing != nullptr) steps.replacing();
    if (EditState != EDIT_WRITING_ANIMATION) EditState = EDIT_NONE;
    saveDepth = 24;
    animSpeed = 100.0;
    animForward = true;
    loadFacts = ImageFacts();
    CopyFacts(loadFacts);
    if (firstLoadOfRun) {
        firstLoadOfRun = false;
        std::string folder = FolderOf(path);
        if (!folder.empty()) HostSetCurrentDir(folder);
    }
    InputFile.SetPath(path);
    // A streamed type's reader reads the open file; every other reader the whole file in
    // memory.
    const bool streamed = FormatHasFlag(type, FORMAT_READS_STREAM);
    if (streamed ? !OpenFileStream(path) : LoadFileToMemory(path) == nullptr) {
        HostSetWaitCursor(false);
        return -1;
    }
    ReadFileDate(path);
    HostSetWaitCursor(true);

    int result;
    bool headerPassed = false;
    try {
        result = DecodeImage(type, streamed ? nullptr : FileCursor.start, static_cast<size_t>(FileCursor.size),
                             CurrentImage.dib, loadFacts,
                             &headerPassed, FactsThenAfterHeader, const_cast<LoadSteps*>(&steps));
        CopyFacts(loadFacts);
    } catch (const char* text) {
        // Allocation failures inside a reader's phases end the load, never the program.
        CopyFacts(loadFacts);
        FileMem.Release();
        HostSetWaitCursor(false);
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        if (!CurrentImage.dib.Empty()) CurrentImage.dib.FillRGB(0);
        CurrentImage.failedLoad = true;
        HostRedrawImage();
        return -1;
    }
    if (result == DECODE_JUMPED) {
        FileMem.Release();
        ReportLongJump();
        HostSetWaitCursor(false);
        return -1;
    }
    if (!headerPassed) {
        // The header phase failed: it has reported; the old picture is blacked out (a
        // picture that could not be created has nothing to black out).
        if (result != DECODE_NO_MEMORY) CurrentImage.dib.FillRGB(0);
        FileMem.Release();
        HostSetWaitCursor(false);
        CurrentImage.failedLoad = true;
        HostRedrawImage();
        return -1;
    }
    bool titled = false;
    if (result >= 0 && steps.decoded != nullptr) {
        const int step = steps.decoded();
        if (step < 0) result = -1;
        titled = step == 1;
    }
    FileMem.Release();
    HostSetWaitCursor(false);
    try {
        if (CurrentImage.dib.MakeTrueColour() < 0 && result >= 0) result = -1;
    } catch (const char* text) {
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        result = -1;
    }
    if (result < 0 && !CurrentImage.dib.Empty()) CurrentImage.dib.FillRGB(0);
    CurrentImage.failedLoad = result < 0;
    if (!titled) ShowTitle();
    HostRedrawImage();
    if (result >= 0) {
        std::string full = WithCurrentDir(path);
        if (PathFits(full)) CurrentImage.fullPath = full;
    }
    if (steps.finished != nullptr) steps.finished(result);
    return result;
}

int LoadPage(int index, const LoadSteps& steps) {
    const FileType type = CurrentImage.fileType;
    const FormatRow* row = FindFormat(type);
    if (row == nullptr || row->selectPage == nullptr || index < 0 || index >= CurrentImage.pageCount) return -1;
    HostSetWaitCursor(true);
    ClearUndo();
    if (steps.replacing != nullptr) steps.replacing();
    if (EditState != EDIT_WRITING_ANIMATION) EditState = EDIT_NONE;
    saveDepth = 24;
    // The page's facts replace the earlier page's.
    ImageFacts facts;
    facts.pageCount = CurrentImage.pageCount;
    facts.page = CurrentImage.page;
    ResetLoadProgress();
    int result;
    try {
        result = DecodePage(type, index, CurrentImage.dib, facts);
    } catch (const char* text) {
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        result = -1;
    }
    if (result == DECODE_NO_READER) {
        // The file is no longer open (another load closed it): the picture stays.
        HostSetWaitCursor(false);
        return -1;
    }
    if (result < 0 && !CurrentImage.dib.Empty()) CurrentImage.dib.FillRGB(0);
    CopyFacts(facts);
    if (steps.sizeKnown != nullptr && !CurrentImage.dib.Empty())
        steps.sizeKnown(CurrentImage.dib.width, CurrentImage.dib.height);
    try {
        if (CurrentImage.dib.MakeTrueColour() < 0 && result >= 0) result = -1;
    } catch (const char* text) {
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        result = -1;
    }
    HostSetWaitCursor(false);
    CurrentImage.failedLoad = result < 0;
    TitleLoadedPicture(CurrentImage.dib.width, CurrentImage.dib.height, TitleDepth());
    ShowTitle();
    HostRedrawImage();
    return result < 0 ? -1 : 0;
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
    if (DisplayMode != 'X') DisplayMode = 'N';
    name = WithCurrentDir(name);
    return 1;
}
