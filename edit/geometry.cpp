#include "edit/geometry.h"

#include "base/appstate.h"
#include "base/settings.h"
#include "core/current_image.h"
#include "core/report.h"
#include "core/title.h"
#include "edit/edit.h"
#include "ops/flip.h"
#include "ops/resize.h"
#include "ops/rotate.h"
#include "platform/host.h"

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

int ResizeCurrentImage() {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return 0;
    // A request that changes nothing (factors of 1, a width or height of 0) leaves no undo
    // step behind that would make the picture count as changed.
    int nw = 0, nh = 0;
    if (ResizeTargetSize(dib.width, dib.height, resizeRequest, &nw, &nh) == 0) return 0;
    // An animated GIF or ANI file has every frame resized by the animation's own frame
    // resize (with an undo step, and a beep when it fails); that branch belongs here once
    // the frame tools exist. Until then the first frame on the screen is resized.
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
