#include "view/resize_dialog.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "base/ranges.h"
#include "base/text.h"
#include "base/numeric.h"

namespace {

int SizeFromScale(int side, double scale) {
    const long long v = TruncNear(side * scale);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : static_cast<int>(v);
}

// Sets the busy flag for the lifetime of one round of writes.
class BusyWhile {
public:
    explicit BusyWhile(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyWhile() { flag_ = false; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    bool& flag_;
};

void Write(const ResizeDialogState& s, int field) {
    if (s.write == nullptr) return;
    const ResizeFields& f = s.fields;
    switch (field) {
        case RESIZE_FIELD_WIDTH: s.write(s.context, field, ResizeSizeText(f.width)); break;
        case RESIZE_FIELD_HEIGHT: s.write(s.context, field, ResizeSizeText(f.height)); break;
        case RESIZE_FIELD_XSCALE: s.write(s.context, field, ResizeScaleText(f.xScale)); break;
        case RESIZE_FIELD_YSCALE: s.write(s.context, field, ResizeScaleText(f.yScale)); break;
        default: break;
    }
}

}  // namespace

ResizeFields ResizeFieldsAfterEdit(ResizeFields f, int changed, int W, int H, bool maintain) {
    if (W <= 0 || H <= 0) return f;
    switch (changed) {
        case RESIZE_FIELD_WIDTH:
            f.xScale = static_cast<double>(f.width) / W;
            if (maintain) f.yScale = f.xScale;
            f.height = SizeFromScale(H, f.yScale);
            break;
        case RESIZE_FIELD_HEIGHT:
            f.yScale = static_cast<double>(f.height) / H;
            if (maintain) f.xScale = f.yScale;
            f.width = SizeFromScale(W, f.xScale);
            break;
        case RESIZE_FIELD_XSCALE:
            if (maintain) f.yScale = f.xScale;
            f.width = SizeFromScale(W, f.xScale);
            f.height = SizeFromScale(H, f.yScale);
            break;
        case RESIZE_FIELD_YSCALE:
            if (maintain) f.xScale = f.yScale;
            f.width = SizeFromScale(W, f.xScale);
            f.height = SizeFromScale(H, f.yScale);
            break;
        default:
            break;
    }
    return f;
}

std::string ResizeSizeText(int value) { return FormatText("%d", value); }

std::string ResizeScaleText(double value) { return FormatText("%f", value); }

bool ParseResizeSize(const std::string& text, int* value) {
    long long v = 0;
    if (!WholeFieldInteger(text, &v) || v < INT_MIN || v > INT_MAX) return false;
    *value = static_cast<int>(v);
    return true;
}

double ParseResizeScale(const std::string& text) {
    const double v = std::strtod(text.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

void OpenResizeDialog(ResizeDialogState& s, int W, int H, const ResizeRequest& remembered, ResizeFieldWriter write,
                      void* context) {
    s.pictureWidth = W;
    s.pictureHeight = H;
    s.fields.width = W;
    s.fields.height = H;
    s.fields.xScale = remembered.xScale;
    s.fields.yScale = remembered.yScale;
    s.write = write;
    s.context = context;
    BusyWhile busy(s.busy);
    for (int field : {RESIZE_FIELD_WIDTH, RESIZE_FIELD_HEIGHT, RESIZE_FIELD_XSCALE, RESIZE_FIELD_YSCALE})
        Write(s, field);
}

bool ResizeDialogFieldChanged(ResizeDialogState& s, int field, const std::string& text, bool maintain) {
    if (s.busy) return false;
    ResizeFields f = s.fields;
    switch (field) {
        case RESIZE_FIELD_WIDTH:
        case RESIZE_FIELD_HEIGHT: {
            // A text that is no number counts as 0, as an empty field does.
            int value = 0;
            if (!ParseResizeSize(text, &value)) value = 0;
            (field == RESIZE_FIELD_WIDTH ? f.width : f.height) = value;
            break;
        }
        case RESIZE_FIELD_XSCALE: f.xScale = ParseResizeScale(text); break;
        case RESIZE_FIELD_YSCALE: f.yScale = ParseResizeScale(text); break;
        default: return false;
    }
    s.fields = ResizeFieldsAfterEdit(f, field, s.pictureWidth, s.pictureHeight, maintain);
    BusyWhile busy(s.busy);
    for (int other : {RESIZE_FIELD_WIDTH, RESIZE_FIELD_HEIGHT, RESIZE_FIELD_XSCALE, RESIZE_FIELD_YSCALE})
        if (other != field) Write(s, other);
    return true;
}

bool ResizeDialogRequest(const ResizeDialogState& s, const std::string& widthText, const std::string& heightText,
                         ResizeRequest* request) {
    int w = 0, h = 0;
    if (!ParseResizeSize(widthText, &w) || !ParseResizeSize(heightText, &h)) return false;
    const int W = s.pictureWidth, H = s.pictureHeight;
    ResizeRequest r;
    r.useSize = 1;
    r.width = w;
    r.height = h;
    r.xScale = s.fields.xScale;
    r.yScale = s.fields.yScale;
    if (W > 0 && SizeFromScale(W, r.xScale) != w) r.xScale = static_cast<double>(w) / W;
    if (H > 0 && SizeFromScale(H, r.yScale) != h) r.yScale = static_cast<double>(h) / H;
    *request = r;
    return true;
}
