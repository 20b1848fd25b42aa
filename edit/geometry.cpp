#include "edit/geometry.h"

#include <algorithm>
#include <vector>

#include "base/numeric.h"
#include "base/text.h"

#include "base/appstate.h"
#include "base/settings.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "core/report.h"
#include "core/title.h"
#include "edit/edit.h"
#include "ops/flip.h"
#include "ops/resize.h"
#include "ops/rotate.h"
#include "platform/host.h"

ResizeRequest resizeRequest;
int resizeInterpolate = 1;
int resizeKeepAspect = 1;

double rotateAngle = 0.0;
int rotateFineSteps = 0;
int rotateGuideLines = 0;

namespace {

const char* const kTransformCaption = "Transform";

bool IsQuarterTurn(int command) {
    return command == TRANSFORM_ROTATE_90 || command == TRANSFORM_ROTATE_180 || command == TRANSFORM_ROTATE_270;
}

}  // namespace

int RunTransformCommand(int command) {
    if (!IsQuarterTurn(command) && command != TRANSFORM_FLIP_HORIZONTAL && command != TRANSFORM_FLIP_VERTICAL)
        return -1;
    EditRules rules;
    rules.caption = kTransformCaption;
    if (command == TRANSFORM_FLIP_HORIZONTAL) {
        rules.failureText = "No memory to flip picture";
        rules.failureIsWarning = true;
    }
    return RunEdit(rules, [command](CDib& dib) {
        switch (command) {
            case TRANSFORM_ROTATE_90: Rotate90Dib(dib, ShowPercentInTitle); return 0;
            case TRANSFORM_ROTATE_180: Rotate180Dib(dib); return 0;
            case TRANSFORM_ROTATE_270: Rotate270Dib(dib, ShowPercentInTitle); return 0;
            case TRANSFORM_FLIP_HORIZONTAL: return FlipHorizontal(dib);
            default: return FlipVertical(dib);
        }
    });
}

int Transpose(CDib& image) {
    try {
        TransposeDib(image, ShowPercentInTitle);
    } catch (const char* text) {
        ShowMessage(text, kTransformCaption, kMbOk | kMbIconWarning);
        return -1;
    }
    ShowEditedPicture();
    return 0;
}

int RotateByAngle() {
    const double a = rotateAngle;
    if (a == 0 || a == 360) return 0;
    if (a == 90) return TRANSFORM_ROTATE_90;
    if (a == 180) return TRANSFORM_ROTATE_180;
    if (a == 270) return TRANSFORM_ROTATE_270;
    EditRules rules;
    rules.caption = kTransformCaption;
    rules.waitCursor = false;  // the dialog's OK shows it
    return RunEdit(rules, [a](CDib& dib) {
        int w = 0, h = 0;
        // A canvas over 65535 pixels either way cannot be a picture.
        if (!RotatedCanvasSize(dib.width, dib.height, a, &w, &h)) throw kDibAllocFailure;
        CDib holder;
        const CDib& src = Source24(dib, holder);
        CDib out;
        out.Create(w, h, 24);
        RotateInto(src, a, BackgroundColour, out, ShowPercentInTitle);
        dib.Swap(out);
        return 0;
    });
}

int RotateVariableAngleOk() {
    HostSetWaitCursor(true);
    int result = RotateByAngle();
    if (IsQuarterTurn(result)) result = RunTransformCommand(result);
    EditState = EDIT_NONE;
    HostSetWaitCursor(false);
    return result;
}

int ResizeAnimationFrames(CDib& picture, int nw, int nh, SavedFrameTable* previous) {
    const int count = animFrameCount;
    const double xFactor = static_cast<double>(nw) / std::max<int>(1, animScreenWidth);
    const double yFactor = static_cast<double>(nh) / std::max<int>(1, animScreenHeight);
    // Every frame is resized into a table of its own first: the table changes only when
    // all of them and the picture shown succeeded, and never past the frames' memory limit.
    const uint64_t frameBytes = DibRowBytes(static_cast<uint64_t>(nw), 24) * static_cast<uint64_t>(nh);
    bool ok = frameBytes * static_cast<uint64_t>(count) + AnimFrameBytes() <= animFrameMemoryLimit;
    SavedFrameTable resized;
    CDib shown;
    try {
        if (ok) resized.frames.resize(static_cast<size_t>(count));
        for (int i = 0; ok && i < count; ++i) {
            HostSetTitle(FormatText("Resizing Frame: %d of %d", i, count));
            CDib& image = resized.frames[static_cast<size_t>(i)].image;
            image.Assign(animFrames[i].image);
            ok = image.MakeTrueColour() >= 0 && ResizeImage(image, resizeRequest, resizeInterpolate != 0, nullptr) >= 0;
        }
        if (ok) {
            shown.Assign(picture);
            ok = ResizeImage(shown, resizeRequest, resizeInterpolate != 0, ShowPercentInTitle) >= 0;
        }
    } catch (const char*) {
        ok = false;
    }
    if (!ok) {
        ReportFileError("Resize GIF failed in file ");
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const AnimFrame& from = animFrames[i];
        AnimFrame& f = resized.frames[static_cast<size_t>(i)];
        f.left = static_cast<uint16_t>(TruncNear(from.left * xFactor));
        f.top = static_cast<uint16_t>(TruncNear(from.top * yFactor));
        f.width = static_cast<uint16_t>(f.image.width);
        f.height = static_cast<uint16_t>(f.image.height);
        f.delay = from.delay;
        std::copy(from.palette, from.palette + sizeof from.palette, f.palette);
        f.flags = from.flags;
        f.transparentIndex = from.transparentIndex;
    }
    resized.screenWidth = static_cast<uint16_t>(nw);
    resized.screenHeight = static_cast<uint16_t>(nh);
    ExchangeFrameTable(resized);
    previous->Swap(resized);
    picture.Swap(shown);
    return 0;
}

int ResizeCurrentImage() {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return 0;
    // A request that changes nothing (factors of 1, a width or height of 0) leaves no undo
    // step behind that would make the picture count as changed.
    int nw = 0, nh = 0;
    if (ResizeTargetSize(dib.width, dib.height, resizeRequest, &nw, &nh) == 0) return 0;
    if (CurrentFileIsAnimation()) {
        // An animation has every frame resized, with an undo step that keeps the frames as
        // they were; a failure has reported itself and beeps.
        EditRules rules;
        rules.caption = "Viewer";
        rules.titleAnimatedTypes = false;
        rules.undo = false;  // taken here, so that the old frames go with the step
        const int result = RunEdit(rules, [nw, nh](CDib& picture) {
            const int before = CurrentImage.undoTop;
            PushUndo();
            SavedFrameTable previous;
            if (ResizeAnimationFrames(picture, nw, nh, &previous) < 0) return -1;
            if (CurrentImage.undoTop > before) KeepFramesWithNewestUndo(previous);
            return 0;
        });
        if (result < 0) HostBeep();
        return result;
    }
    EditRules rules;
    rules.caption = "Viewer";
    rules.failureText = "Resize failed!";  // with its beep
    // Windows thumbnail-cache pictures are resized without an undo step.
    rules.undo = CurrentImage.fileType != FT_THUMBSDB;
    rules.titleAnimatedTypes = false;
    return RunEdit(rules, [](CDib& picture) {
        return ResizeImage(picture, resizeRequest, resizeInterpolate != 0, ShowPercentInTitle);
    });
}
