#include "edit/insert_session.h"

#include <string>
#include <utility>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/filedate.h"
#include "core/fileops.h"
#include "core/title.h"

namespace {

// Everything a load changes about the current picture, kept while it is aside.
struct BasePicture {
    bool aside = false;
    CurrentImageState image;
    CFileOps input;
    std::string title;
    std::string titleSize;
    uint64_t fileTime = 0;
    int depth = 24;
};
BasePicture base;

// Exchanges the pictures and facts of two states without copying pixels; the second
// picture slot (secondaryImage) is not part of it.
void SwapImageState(CurrentImageState& a, CurrentImageState& b) {
    a.dib.Swap(b.dib);
    std::swap(a.fileType, b.fileType);
    std::swap(a.saveType, b.saveType);
    a.fullPath.swap(b.fullPath);
    std::swap(a.storedWidth, b.storedWidth);
    std::swap(a.storedHeight, b.storedHeight);
    std::swap(a.storedBitsPerPixel, b.storedBitsPerPixel);
    a.formatNote.swap(b.formatNote);
    a.comment.swap(b.comment);
    a.applicationId.swap(b.applicationId);
    a.exif.swap(b.exif);
    a.xmp.swap(b.xmp);
    std::swap(a.jpegProcess, b.jpegProcess);
    a.rawCameraText.swap(b.rawCameraText);
    std::swap(a.appliedOrientation, b.appliedOrientation);
    std::swap(a.modified, b.modified);
    for (int i = 0; i < kUndoSlots; ++i) {
        a.undoSlots[i].Swap(b.undoSlots[i]);
        a.undoFrames[i].Swap(b.undoFrames[i]);
    }
    std::swap(a.undoTop, b.undoTop);
    std::swap(a.failedLoad, b.failedLoad);
}

// Puts the kept state back as the current one; the current one ends in `base.image`.
void ExchangeWithBase() {
    SwapImageState(CurrentImage, base.image);
    // Neither copy may own an open handle: the destructor of a copy would close it.
    InputFile.Close();
    const CFileOps kept = base.input;
    base.input = InputFile;
    InputFile = kept;
    titleText.swap(base.title);
    titleSizeText.swap(base.titleSize);
    std::swap(inputFileTime, base.fileTime);
    std::swap(saveDepth, base.depth);
}

void ForgetBase() {
    base.image.dib.Free();
    for (CDib& slot : base.image.undoSlots) slot.Free();
    for (SavedFrameTable& saved : base.image.undoFrames) saved.Free();
    base.image = CurrentImageState();
    base.input = CFileOps();
    base.aside = false;
}

}  // namespace

void SetBasePictureAside() {
    if (base.aside) ForgetBase();
    // The current state moves into the keeping slot; the current picture keeps a copy of
    // its pixels so the screen has something to show until the load replaces it.
    SwapImageState(CurrentImage, base.image);
    CurrentImage.dib.Assign(base.image.dib);
    CurrentImage.fileType = base.image.fileType;
    CurrentImage.saveType = base.image.saveType;
    base.input = InputFile;
    base.input.handle = nullptr;
    base.title = titleText;
    base.titleSize = titleSizeText;
    base.fileTime = inputFileTime;
    base.depth = saveDepth;
    base.aside = true;
}

void BringBackBasePicture() {
    if (!base.aside) return;
    ExchangeWithBase();
    ForgetBase();
}

bool SwapInBasePicture() {
    if (!base.aside) return false;
    ExchangeWithBase();
    CurrentImage.secondaryImage.Swap(base.image.dib);
    ForgetBase();
    return true;
}

bool BasePictureIsAside() { return base.aside; }
