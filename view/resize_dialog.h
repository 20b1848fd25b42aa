// The resize dialog's logic, apart from the dialog: the four fields (width, height and the
// two scale factors) kept consistent with each other as the user types, the texts they
// show, and the request OK makes. The dialog procedure only moves texts between this and
// its controls.
#pragma once

#include <string>

#include "ops/resize.h"

// The fields by their control identifiers.
enum ResizeDialogField {
    RESIZE_FIELD_WIDTH = 123,
    RESIZE_FIELD_HEIGHT = 124,
    RESIZE_FIELD_XSCALE = 125,
    RESIZE_FIELD_YSCALE = 126,
};

struct ResizeFields {
    int width = 0;
    int height = 0;
    double xScale = 1.0;
    double yScale = 1.0;
};

// After the user changed one field (its new value already in `fields`), the others follow
// from the picture's size W x H and the aspect check box:
//   width  -> xScale = w / W (and yScale too when the aspect is kept), h = trunc(H x yScale)
//   height -> yScale = h / H (and xScale too when kept), w = trunc(W x xScale)
//   a scale -> the other scale too when kept; w = trunc(W x xScale), h = trunc(H x yScale)
ResizeFields ResizeFieldsAfterEdit(ResizeFields fields, int changedField, int pictureWidth, int pictureHeight,
                                   bool maintainAspect);

// Puts a field's text into its control. Writing a control makes it report its own change
// to the dialog at once; the busy flag of ResizeDialogState ignores that report.
using ResizeFieldWriter = void (*)(void* context, int field, const std::string& text);

struct ResizeDialogState {
    int pictureWidth = 0;
    int pictureHeight = 0;
    ResizeFields fields;
    bool busy = false;  // the dialog is writing its own fields
    ResizeFieldWriter write = nullptr;
    void* context = nullptr;
};

// Opening: the two scale fields show the remembered factors, the size fields the picture's
// size. Nothing the writes report back is taken as an edit.
void OpenResizeDialog(ResizeDialogState& state, int pictureWidth, int pictureHeight, const ResizeRequest& remembered,
                      ResizeFieldWriter write, void* context);

// The text of `field` changed: the other three fields are rewritten. False when the change
// was ignored (the dialog's own write, or not one of the four fields).
bool ResizeDialogFieldChanged(ResizeDialogState& state, int field, const std::string& text, bool maintainAspect);

// OK: the request for the typed width and height (useSize set). Its factors are the
// dialog's when they give that size, else width / W and height / H, so that the
// interpolation never works from factors that disagree with the size (which happens when
// the remembered factors of an earlier use are left standing). False when a size field
// does not hold a whole number.
bool ResizeDialogRequest(const ResizeDialogState& state, const std::string& widthText, const std::string& heightText,
                         ResizeRequest* request);

// The texts of the fields: sizes as "%d", factors as "%f".
std::string ResizeSizeText(int value);
std::string ResizeScaleText(double value);
// A size field read as a signed whole number (leading blanks allowed): false when it is
// none or does not fit in 32 bits.
bool ParseResizeSize(const std::string& text, int* value);
// A factor field read as a floating-point number; a text that is none, or not finite, gives 0.
double ParseResizeScale(const std::string& text);
