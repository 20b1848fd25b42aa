#include "edit/crop.h"

#include "base/appstate.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/report.h"
#include "core/title.h"
#include "edit/edit.h"
#include "ops/crop.h"
#include "platform/host.h"

int CropCurrentImage(int left, int top, int right, int bottom) {
    const CDib& dib = CurrentImage.dib;
    if (dib.Empty()) return 0;
    const CropRect r = ClampCropRect(left, top, right, bottom, dib.width, dib.height);
    if (r.width > 0 && r.height > 0) DisplayMode = MODE_NORMAL;  // a cut-out is shown at its own size
    return CropCurrentImageTo(r);
}

int CropCurrentImageTo(const CropRect& r) {
    if (CurrentImage.dib.Empty()) return 0;
    if (r.width <= 0 || r.height <= 0) {
        ShowMessage(FormatText("Inappropriate height <%d> or width <%d> calculated for cropped area", r.height, r.width),
                    "Cropping Image", kMbOk | kMbIconWarning);
        return -1;
    }
    EditRules rules;
    rules.caption = "Crop";
    return RunEdit(rules, [r](CDib& picture) { return CropImage(picture, r, ShowPercentInTitle); });
}
