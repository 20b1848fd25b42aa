#include "edit/edit.h"

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/formats.h"
#include "core/report.h"
#include "core/title.h"
#include "platform/host.h"

void ShowEditedPicture() {
    ShowTitle();
    HostRedrawImage();
    RetitleWithNewSize();
}

int RunEdit(const EditSpec& spec, const std::function<int(CDib&)>& kernel) {
    CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return 0;
    if (spec.waitCursor) HostSetWaitCursor(true);
    const int undoBefore = CurrentImage.undoTop;
    if (spec.undo) PushUndo();
    int result;
    const char* thrown = nullptr;
    try {
        result = kernel(dib);
    } catch (const char* text) {
        thrown = text;
        result = -1;
    }
    if (result < 0) {
        // The picture is as it was; its undo step would only make it count as changed.
        if (CurrentImage.undoTop > undoBefore) DropNewestUndo();
        ShowTitle();
        if (spec.failureText != nullptr && spec.failureIsWarning)
            ShowWarning(spec.failureText, spec.caption, kMbOk | kMbIconWarning);
        else if (spec.failureText != nullptr)
            ShowMessage(spec.failureText, spec.caption, kMbOk | kMbIconWarning);
        else if (thrown != nullptr) ShowMessage(thrown, spec.caption, kMbOk | kMbIconWarning);
        if (spec.waitCursor) HostSetWaitCursor(false);
        return -1;
    }
    if (spec.waitCursor) HostSetWaitCursor(false);
    if (!spec.retitle) {
        HostRedrawImage();
        return 0;
    }
    if (spec.titleAnimatedTypes || !FormatHasFlag(CurrentImage.fileType, FORMAT_ANIMATED)) ShowTitle();
    HostRedrawImage();
    RetitleWithNewSize();
    return 0;
}
