#include "core/loader.h"

#include <algorithm>

#include "core/animation.h"
#include "core/appstate.h"
#include "core/current_image.h"
#include "core/display.h"
#include "core/filedate.h"
#include "core/filemem.h"
#include "core/fileops.h"
#include "core/frames.h"
#include "core/host.h"
#include "core/readers.h"
#include "core/report.h"
#include "core/text.h"
#include "core/title.h"
#include "settings/filelist.h"
#include "settings/history.h"
#include "settings/settings.h"

jmp_buf LoadRecovery;
const char* const kReaderNotBuilt = "Reading this type of picture is not available yet in file";

namespace {

constexpr int kJumped = -1000;

bool firstLoadOfRun = true;
const ImageReader* activeReader = nullptr;
uint16_t headerWidth = 0;
uint16_t headerHeight = 0;
bool headerPassed = false;  // phase 1 succeeded in the load under way

// Quotes anywhere and trailing line ends and blanks come from command lines and lists.
void CleanPath(std::string& path) {
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r' || path.back() == ' ')) path.pop_back();
}

bool HasFolderPart(const std::string& path) { return path.find_first_of(":\\/") != std::string::npos; }

std::string WithCurrentDir(const std::string& name) {
    return HasFolderPart(name) ? name : JoinPath(HostGetCurrentDir(), name);
}

// The display mode a newly loaded picture starts in, from DefaultViewFull; the wheel
// zoom starts again from the whole picture.
void ChooseDisplayModeForNewPicture(int width, int height) {
    displayWidth = width;
    displayHeight = height;
    DisplayMode = ModeForNewPicture(DisplayMode, DefaultViewFull, width, height, workAreaWidth, workAreaHeight,
                                    borderWidth, borderHeight);
    ResetWheelZoom();
}

// Both reader phases under the recovery point. A reader may leave by a long jump, so
// nothing with a destructor lives in this frame.
int RunReaderPhases(const std::string& path) {
    if (setjmp(LoadRecovery) != 0) return kJumped;
    if (ReadImageHeader(path) < 0) return -1;
    const int depth = CurrentImage.fileType == FT_GIF ? 8 : static_cast<int>(CurrentImage.storedBitsPerPixel);
    InputFile.SetTitleText(listPositionText, "", headerWidth, headerHeight, depth);
    ChooseDisplayModeForNewPicture(headerWidth, headerHeight);
    ResetLoadProgress();
    int result = DecodeImagePixels();
    return result == kJumped ? -1 : result;
}

// The header phase alone, under the recovery point (a library may jump out of it).
int RunHeaderPhaseOnly(const ImageReader* reader, const std::string& path, uint16_t* height, uint16_t* width,
                       uint16_t* depth) {
    if (setjmp(LoadRecovery) != 0) return -1;
    if (reader->probeHeader != nullptr) return reader->probeHeader(path, height, width, depth);
    return reader->readHeader(path, height, width, depth);
}

void ReportLongJump() {
    if (CurrentImage.fileType == FT_TNS) ReportFileError("Unexpected jump into TNS error buffer");
    else ReportFileError("Unexpected jump into JPEG/PNG error buffer");
}

}  // namespace

void JumpToLoadRecovery() { longjmp(LoadRecovery, 1); }

int ReadImageHeader(const std::string& path) {
    uint16_t h = 0, w = 0, d = 0;
    if (activeReader->readHeader(path, &h, &w, &d) < 0) {
        CurrentImage.dib.FillRGB(0);
        return -1;
    }
    try {
        CurrentImage.dib.Create(w, h, d);
    } catch (const char*) {
        ShowMessage(kDibAllocFailure, "LUM", kMbOk | kMbIconWarning);
        FileMem.Release();
        HostSetWaitCursor(false);
        return -1;
    }
    headerWidth = w;
    headerHeight = h;
    headerPassed = true;
    return 0;
}

int DecodeImagePixels() {
    HostSetTitle("Loading file...");
    return activeReader->decodePixels();
}

int LoadImageFile(std::string& path, int historyMode) {
    CleanPath(path);
    FileType type = FT_UNSUPPORTED;
    if (FileTypeFromName(path, &type) < 0) {
        InputFile.SetPath(path);
        ReportFileError("Error: File type not Supported");
        return -1;
    }
    const ImageReader* reader = FindImageReader(type);
    if (reader == nullptr) {
        // Nothing is changed for a type this build cannot read yet.
        InputFile.SetPath(path);
        ReportFileError(kReaderNotBuilt);
        return -1;
    }
    CurrentImage.fileType = type;
    activeReader = reader;

    HostSetWaitCursor(true);
    ClearUndo();
    // The frames of an earlier animation belong to the picture being replaced.
    StopAnimation();
    if (EditState != EDIT_WRITING_ANIMATION) EditState = EDIT_NONE;
    saveDepth = 24;
    animSpeed = 100.0;
    animForward = true;
    CurrentImage.storedWidth = CurrentImage.storedHeight = CurrentImage.storedBitsPerPixel = 0;
    CurrentImage.formatNote.clear();
    CurrentImage.comment.clear();
    if (firstLoadOfRun) {
        firstLoadOfRun = false;
        std::string folder = FolderOf(path);
        if (!folder.empty()) HostSetCurrentDir(folder);
    }
    InputFile.SetPath(path);
    if (reader->fromMemory && LoadFileToMemory(path) == nullptr) {
        HostSetWaitCursor(false);
        return -1;
    }
    ReadFileDate(path);
    HostSetWaitCursor(true);

    int result;
    headerPassed = false;
    try {
        result = RunReaderPhases(path);
    } catch (const char* text) {
        // Allocation failures inside a reader's phases end the load, never the program.
        FileMem.Release();
        HostSetWaitCursor(false);
        ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
        if (!CurrentImage.dib.Empty()) CurrentImage.dib.FillRGB(0);
        CurrentImage.failedLoad = true;
        HostRedrawImage();
        return -1;
    }
    if (result == kJumped) {
        FileMem.Release();
        ReportLongJump();
        HostSetWaitCursor(false);
        return -1;
    }
    if (!headerPassed) {
        // The header phase failed: its reader has reported; the old picture is blacked out.
        FileMem.Release();
        HostSetWaitCursor(false);
        CurrentImage.failedLoad = true;
        HostRedrawImage();
        return result < 0 ? result : -1;
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

    // A playing animation titles its frames itself.
    if (!AnimationOwnsTitle()) ShowTitle();
    HostRedrawImage();

    // A file chosen from outside the folder list (Open, a drop, a history entry, the
    // command line) means the list must be collected again before the next step.
    if (historyMode == HISTORY_FOLDER_AND_FILE) FileList.stale = true;
    if (result >= 0) {
        std::string full = WithCurrentDir(path);
        if (PathFits(full)) CurrentImage.fullPath = full;
        if (historyMode == HISTORY_FOLDER_AND_FILE || historyMode == HISTORY_FOLDER) {
            AddToFolderHistory(HostGetCurrentDir());
            if (historyMode == HISTORY_FOLDER_AND_FILE) {
                AddToFileHistory(CurrentImage.fullPath);
                LastFileViewed = CurrentImage.fullPath;
            }
        }
    }
    return result;
}

int ProbeImageHeader(const std::string& path, uint16_t* width, uint16_t* height, uint16_t* depth) {
    FileType type = FT_UNSUPPORTED;
    if (FileTypeFromName(path, &type) < 0) return -1;
    const ImageReader* reader = FindImageReader(type);
    if (reader == nullptr) return -1;
    // The readers record what they find about the file in the current picture's facts
    // and in the input file: keep those as they were.
    const uint32_t storedW = CurrentImage.storedWidth, storedH = CurrentImage.storedHeight,
                   storedD = CurrentImage.storedBitsPerPixel;
    const std::string note = CurrentImage.formatNote;
    CFileOps input = InputFile;
    input.handle = nullptr;
    int result = -1;
    {
        QuietReports quiet;
        if (!reader->fromMemory || LoadFileToMemory(path) != nullptr)
            result = RunHeaderPhaseOnly(reader, path, height, width, depth);
        FileMem.Release();
    }
    CurrentImage.storedWidth = storedW;
    CurrentImage.storedHeight = storedH;
    CurrentImage.storedBitsPerPixel = storedD;
    CurrentImage.formatNote = note;
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
