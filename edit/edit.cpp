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

int RunEdit(const EditRules& rules, const std::function<int(CDib&)>& kernel) {
    CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return 0;
    if (rules.waitCursor) HostSetWaitCursor(true);
    const int undoBefore = CurrentImage.undoTop;
    if (rules.undo) PushUndo();
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
        if (rules.failureText != nullptr && rules.failureIsWarning)
            ShowWarning(rules.failureText, rules.caption, kMbOk | kMbIconWarning);
        else if (rules.failureText != nullptr)
            ShowMessage(rules.failureText, rules.caption, kMbOk | kMbIconWarning);
        else if (thrown != nullptr) ShowMessage(thrown, rules.caption, kMbOk | kMbIconWarning);
        if (rules.waitCursor) HostSetWaitCursor(false);
        return -1;
    }
    if (rules.waitCursor) HostSetWaitCursor(false);
    if (!rules.retitle) {
        HostRedrawImage();
        return 0;
    }
    if (rules.titleAnimatedTypes || !FormatHasFlag(CurrentImage.fileType, FORMAT_ANIMATED)) ShowTitle();
    HostRedrawImage();
    RetitleWithNewSize();
    return 0;
}
