// The colour dialogs: each shows a reduced copy of the picture with its operation applied
// while its bars move, and touches the picture only on OK (one edit, edit/colour.h).
#include "shell/colour_dialogs.h"

#include <functional>
#include <string>

#include "base/appstate.h"
#include "base/ids.h"
#include "base/settings.h"
#include "core/current_image.h"
#include "core/report.h"
#include "platform/host.h"
#include "edit/colour.h"
#include "ops/colour.h"
#include "ops/preview.h"
#include "shell/dialog_common.h"
#include "shell/mainwnd.h"
#include "shell/wintext.h"
#include "view/colour_dialogs.h"

namespace {

// Where the preview box and the small histogram lie in a dialog's client area, in pixels
// at 100 % scaling.
constexpr int kPreviewX = 10;
constexpr int kPreviewY = 10;
constexpr int kSmallHistogramX = 240;
constexpr int kSmallHistogramY = 10;
constexpr int kFullHistogramX = 10;
constexpr int kFullHistogramY = 10;

int Scaled(int v) { return WindowsScaling == 100 ? v : v * WindowsScaling / 100; }

void SetNumber(HWND dialog, int id, int value) { SetText(dialog, id, std::to_string(value)); }

void PaintDib(HDC dc, const CDib& image, int x, int y) {
    if (image.Empty()) return;
    SetDIBitsToDevice(dc, x, y, image.width, image.height, 0, 0, 0, image.height, image.bits,
                      reinterpret_cast<const BITMAPINFO*>(image.info), DIB_RGB_COLORS);
}

// The state every colour dialog keeps while it is open: the reduced copy of the picture,
// the copy as the operation makes it, and the small brightness histogram of that.
struct ColourDialog {
    CPreview preview;
    CDib shown;
    CHist histogram;
    bool smallHistogram = false;
    bool filling = true;  // the fields are being filled: their notifications mean nothing
    int values[17] = {};  // what the bars stand for, per dialog
    std::function<void(CDib&)> operation;  // applied to the copy
};

ColourDialog* State(HWND dialog) { return reinterpret_cast<ColourDialog*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// The copy is made again from the reduced picture and the operation applied to it.
void Refresh(HWND dialog) {
    ColourDialog* d = State(dialog);
    if (d == nullptr || d->preview.image.Empty()) return;
    d->shown.Assign(d->preview.image);
    if (d->operation) d->operation(d->shown);
    if (d->smallHistogram) {
        d->histogram.Count(d->shown);
        try {
            d->histogram.DrawSmall(WindowsScaling);
        } catch (const char*) {
            d->histogram.drawing.Free();
        }
    }
    InvalidateRect(dialog, nullptr, FALSE);
}

void Paint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    ColourDialog* d = State(dialog);
    if (dc != nullptr && d != nullptr) {
        int x = 0, y = 0;
        d->preview.DrawOrigin(kPreviewX, kPreviewY, &x, &y);
        PaintDib(dc, d->shown, x, y);
        if (d->smallHistogram) PaintDib(dc, d->histogram.drawing, Scaled(kSmallHistogramX), Scaled(kSmallHistogramY));
    }
    EndPaint(dialog, &paint);
}

void Start(HWND dialog, LPARAM lParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    ColourDialog* d = State(dialog);
    try {
        d->preview.Build(CurrentImage.dib);
    } catch (const char* text) {
        ShowMessage(text, "Viewer", kMbOk | kMbIconWarning);
    }
}

void SetBar(HWND dialog, int id, int low, int high, int position) {
    HWND bar = GetDlgItem(dialog, id);
    SetScrollRange(bar, SB_CTL, low, high, FALSE);
    SetScrollPos(bar, SB_CTL, position, TRUE);
}

// A scroll message for a bar of low..high: its new position (set), or false when it is
// not that bar or nothing moved.
bool Scrolled(WPARAM wParam, LPARAM lParam, int id, int low, int high, int* position) {
    HWND bar = reinterpret_cast<HWND>(lParam);
    if (bar == nullptr || GetDlgCtrlID(bar) != id || LOWORD(wParam) == SB_ENDSCROLL) return false;
    const int thumb = static_cast<short>(HIWORD(wParam));
    *position = ColourScrollPosition(GetScrollPos(bar, SB_CTL), LOWORD(wParam), thumb, low, high);
    SetScrollPos(bar, SB_CTL, *position, TRUE);
    return true;
}

INT_PTR Run(HWND owner, LPCWSTR name, DLGPROC proc, ColourDialog& state) {
    return DialogBoxParamW(AppInstance, name, owner, proc, reinterpret_cast<LPARAM>(&state));
}

// The messages every colour dialog answers alike; `handled` false for the others.
INT_PTR Common(HWND dialog, UINT message, bool* handled) {
    *handled = true;
    switch (message) {
        case WM_PAINT: Paint(dialog); return TRUE;
        default: *handled = false; return FALSE;
    }
}

// ------------------------------------------------------------ "Adjust Colours"

const int kOffsetBars[3] = {IDC_COLOURS_RED_BAR, IDC_COLOURS_GREEN_BAR, IDC_COLOURS_BLUE_BAR};
const int kOffsetTexts[3] = {IDC_COLOURS_RED_TEXT, IDC_COLOURS_GREEN_TEXT, IDC_COLOURS_BLUE_TEXT};

INT_PTR ColoursMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR common = Common(dialog, message, &handled);
    if (handled) return common;
    ColourDialog* d = State(dialog);
    switch (message) {
        case WM_INITDIALOG:
            Start(dialog, lParam);
            d = State(dialog);
            for (int c = 0; c < 3; ++c) {
                SetBar(dialog, kOffsetBars[c], kOffsetBarLow, kOffsetBarHigh, 0);
                SetNumber(dialog, kOffsetTexts[c], 0);
            }
            d->operation = [d](CDib& copy) { AdjustRgb(copy, d->values[0], d->values[1], d->values[2]); };
            Refresh(dialog);
            return TRUE;
        case WM_HSCROLL:  // the bar, not the message, tells which moved
        case WM_VSCROLL:
            for (int c = 0; c < 3; ++c) {
                int position = 0;
                if (!Scrolled(wParam, lParam, kOffsetBars[c], kOffsetBarLow, kOffsetBarHigh, &position)) continue;
                d->values[c] = OffsetFromBar(position);
                SetNumber(dialog, kOffsetTexts[c], d->values[c]);
                Refresh(dialog);
            }
            return TRUE;
        case WM_COMMAND: return CloseOnOkOrCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK ColoursProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return ColoursMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Adjust Brightness"

enum BrightAnswer { BRIGHT_CANCEL = 0, BRIGHT_OK = 1, BRIGHT_AUTO = 2 };

INT_PTR BrightMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR common = Common(dialog, message, &handled);
    if (handled) return common;
    ColourDialog* d = State(dialog);
    switch (message) {
        case WM_INITDIALOG:
            Start(dialog, lParam);
            d = State(dialog);
            d->smallHistogram = true;
            SetBar(dialog, IDC_BRIGHT_BAR, kOffsetBarLow, kOffsetBarHigh, 0);
            SetBar(dialog, IDC_CONTRAST_BAR, kOffsetBarLow, kOffsetBarHigh, 0);
            SetNumber(dialog, IDC_BRIGHT_TEXT, 0);
            SetNumber(dialog, IDC_CONTRAST_TEXT, 0);
            d->operation = [d](CDib& copy) { PreviewBrightnessContrast(copy, d->values[0], d->values[1]); };
            Refresh(dialog);
            return TRUE;
        case WM_HSCROLL:  // the bar, not the message, tells which moved
        case WM_VSCROLL: {
            int position = 0;
            if (Scrolled(wParam, lParam, IDC_BRIGHT_BAR, kOffsetBarLow, kOffsetBarHigh, &position)) {
                d->values[0] = OffsetFromBar(position);
                SetNumber(dialog, IDC_BRIGHT_TEXT, d->values[0]);
            } else if (Scrolled(wParam, lParam, IDC_CONTRAST_BAR, kOffsetBarLow, kOffsetBarHigh, &position)) {
                d->values[1] = OffsetFromBar(position);
                SetNumber(dialog, IDC_CONTRAST_TEXT, d->values[1]);
            } else {
                return TRUE;
            }
            Refresh(dialog);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: EndDialog(dialog, BRIGHT_OK); return TRUE;
                case IDC_AUTO_CONTRAST: EndDialog(dialog, BRIGHT_AUTO); return TRUE;
                case IDCANCEL: EndDialog(dialog, BRIGHT_CANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK BrightProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return BrightMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Monochrome"

INT_PTR MonoMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR common = Common(dialog, message, &handled);
    if (handled) return common;
    ColourDialog* d = State(dialog);
    switch (message) {
        case WM_INITDIALOG:
            Start(dialog, lParam);
            d = State(dialog);
            d->values[0] = monochromeLevel;
            SetBar(dialog, IDC_MONO_BAR, 0, 255, d->values[0]);
            SetNumber(dialog, IDC_MONO_TEXT, 255 - d->values[0]);
            d->operation = [d](CDib& copy) { MonochromeImage(copy, d->values[0]); };
            Refresh(dialog);
            return TRUE;
        case WM_HSCROLL:  // the bar, not the message, tells which moved
        case WM_VSCROLL: {
            int position = 0;
            if (!Scrolled(wParam, lParam, IDC_MONO_BAR, 0, 255, &position)) return TRUE;
            d->values[0] = position;
            SetNumber(dialog, IDC_MONO_TEXT, 255 - position);
            Refresh(dialog);
            return TRUE;
        }
        case WM_COMMAND: return CloseOnOkOrCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK MonoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return MonoMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Adjust Hue, Saturation and Value"

struct HslField {
    int bar, edit, low, high, start;
};
const HslField kHslFields[3] = {
    {IDC_HUE_BAR, IDC_HUE_EDIT, kHueLow, kHueHigh, 0},
    {IDC_SATURATION_BAR, IDC_SATURATION_EDIT, kFactorLow, kFactorHigh, 100},
    {IDC_VALUE_BAR, IDC_VALUE_EDIT, kFactorLow, kFactorHigh, 100},
};

INT_PTR HslMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR common = Common(dialog, message, &handled);
    if (handled) return common;
    ColourDialog* d = State(dialog);
    switch (message) {
        case WM_INITDIALOG:
            Start(dialog, lParam);
            d = State(dialog);
            for (int i = 0; i < 3; ++i) {
                const HslField& f = kHslFields[i];
                d->values[i] = f.start;
                SetBar(dialog, f.bar, f.low, f.high, f.start);
                SetNumber(dialog, f.edit, f.start);
            }
            d->operation = [d](CDib& copy) { AdjustHsl(copy, d->values[0], d->values[1], d->values[2]); };
            d->filling = false;
            Refresh(dialog);
            return TRUE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            for (int i = 0; i < 3; ++i) {
                const HslField& f = kHslFields[i];
                int position = 0;
                if (!Scrolled(wParam, lParam, f.bar, f.low, f.high, &position)) continue;
                d->values[i] = position;
                d->filling = true;
                SetNumber(dialog, f.edit, position);
                d->filling = false;
                Refresh(dialog);
            }
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            for (int i = 0; i < 3; ++i) {
                const HslField& f = kHslFields[i];
                if (id != f.edit || HIWORD(wParam) != EN_CHANGE || d == nullptr || d->filling) continue;
                d->values[i] = TypedInRange(DialogItemText(dialog, f.edit), f.low, f.high);
                SetScrollPos(GetDlgItem(dialog, f.bar), SB_CTL, d->values[i], TRUE);
                Refresh(dialog);
                return TRUE;
            }
            return CloseOnOkOrCancel(dialog, wParam);
        }
        default: return FALSE;
    }
}

INT_PTR CALLBACK HslProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return HslMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Colour Histogram"

INT_PTR HistogramMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto* hist = reinterpret_cast<CHist*>(lParam);
            hist->Count(CurrentImage.dib);
            try {
                hist->DrawFull(WindowsScaling);
            } catch (const char* text) {
                hist->drawing.Free();
                ShowMessage(text, "Histogram", kMbOk | kMbIconWarning);
            }
            SetText(dialog, IDC_HISTO_PIXELS, HistogramPixelText(CurrentImage.dib.width, CurrentImage.dib.height));
            SetText(dialog, IDC_HISTO_LARGEST, HistogramLargestText(hist->largestColour));
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(dialog, &paint);
            auto* hist = reinterpret_cast<CHist*>(GetWindowLongPtrW(dialog, DWLP_USER));
            if (dc != nullptr && hist != nullptr)
                PaintDib(dc, hist->drawing, Scaled(kFullHistogramX), Scaled(kFullHistogramY));
            EndPaint(dialog, &paint);
            return TRUE;
        }
        case WM_COMMAND: return CloseOnOkOrCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK HistogramProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return HistogramMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Display Pixel RGB Colour Value"

INT_PTR PixelMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const PixelColourTexts texts = PixelColourDialogTexts(*reinterpret_cast<const RgbColour*>(lParam));
            SetText(dialog, IDC_PIXEL_HEX, texts.hex);
            SetText(dialog, IDC_PIXEL_RED, texts.red);
            SetText(dialog, IDC_PIXEL_GREEN, texts.green);
            SetText(dialog, IDC_PIXEL_BLUE, texts.blue);
            return TRUE;
        }
        case WM_COMMAND: return CloseOnOkOrCancel(dialog, wParam);
        default: return FALSE;
    }
}

INT_PTR CALLBACK PixelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return PixelMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Gamma Correction"

enum GammaAnswer { GAMMA_CANCEL = 0, GAMMA_OK = 1, GAMMA_USER = 2 };

struct GammaButton {
    int id;
    char function;
};
const GammaButton kGammaButtons[4] = {
    {IDC_GAMMA_SIN, 'S'}, {IDC_GAMMA_TAN, 'T'}, {IDC_GAMMA_POWER, 'P'}, {IDC_GAMMA_SIN2, 's'}};

void ApplyGammaToCopy(CDib& copy) {
    uint8_t table[256];
    GammaTable(gammaSettings.function, gammaSettings.power, gammaSettings.controls, table);
    ApplyTable(copy, table, GammaChannelMask());
}

void ReadGammaChannels(HWND dialog) {
    gammaSettings.red = IsDlgButtonChecked(dialog, IDC_GAMMA_RED) == BST_CHECKED;
    gammaSettings.green = IsDlgButtonChecked(dialog, IDC_GAMMA_GREEN) == BST_CHECKED;
    gammaSettings.blue = IsDlgButtonChecked(dialog, IDC_GAMMA_BLUE) == BST_CHECKED;
}

INT_PTR GammaMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR common = Common(dialog, message, &handled);
    if (handled) return common;
    ColourDialog* d = State(dialog);
    switch (message) {
        case WM_INITDIALOG: {
            Start(dialog, lParam);
            d = State(dialog);
            d->smallHistogram = true;
            gammaSettings.function = GammaDialogFunction();
            SetBar(dialog, IDC_GAMMA_BAR, 0, kGammaPowerHigh, gammaSettings.power);
            SetNumber(dialog, IDC_GAMMA_EDIT, gammaSettings.power);
            for (const GammaButton& b : kGammaButtons)
                CheckDlgButton(dialog, b.id, b.function == gammaSettings.function ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_GAMMA_RED, gammaSettings.red ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_GAMMA_GREEN, gammaSettings.green ? BST_CHECKED : BST_UNCHECKED);
            CheckDlgButton(dialog, IDC_GAMMA_BLUE, gammaSettings.blue ? BST_CHECKED : BST_UNCHECKED);
            d->operation = ApplyGammaToCopy;
            d->filling = false;
            Refresh(dialog);
            return TRUE;
        }
        case WM_HSCROLL:
        case WM_VSCROLL: {
            int position = 0;
            if (!Scrolled(wParam, lParam, IDC_GAMMA_BAR, 0, kGammaPowerHigh, &position)) return TRUE;
            gammaSettings.power = position;
            d->filling = true;
            SetNumber(dialog, IDC_GAMMA_EDIT, position);
            d->filling = false;
            Refresh(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDC_GAMMA_EDIT) {
                if (HIWORD(wParam) != EN_CHANGE || d == nullptr || d->filling) return FALSE;
                gammaSettings.power = TypedInRange(DialogItemText(dialog, IDC_GAMMA_EDIT), 0, kGammaPowerHigh);
                SetScrollPos(GetDlgItem(dialog, IDC_GAMMA_BAR), SB_CTL, gammaSettings.power, TRUE);
                Refresh(dialog);
                return TRUE;
            }
            for (const GammaButton& b : kGammaButtons)
                if (id == b.id) {
                    gammaSettings.function = b.function;
                    Refresh(dialog);
                    return TRUE;
                }
            switch (id) {
                case IDC_GAMMA_RED:
                case IDC_GAMMA_GREEN:
                case IDC_GAMMA_BLUE: ReadGammaChannels(dialog); Refresh(dialog); return TRUE;
                case IDC_GAMMA_USER:
                    gammaSettings.function = 'u';
                    EndDialog(dialog, GAMMA_USER);
                    return TRUE;
                case IDOK:
                    gammaSettings.power = TypedInRange(DialogItemText(dialog, IDC_GAMMA_EDIT), 0, kGammaPowerHigh);
                    EndDialog(dialog, GAMMA_OK);
                    return TRUE;
                case IDCANCEL: EndDialog(dialog, GAMMA_CANCEL); return TRUE;
                default: return FALSE;
            }
        }
        default: return FALSE;
    }
}

INT_PTR CALLBACK GammaProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return GammaMessage(dialog, message, wParam, lParam); });
}

// ------------------------------------------------------------ "Manual Gamma Colour Values"

void ShowControls(HWND dialog) {
    for (int k = 0; k < kGammaControls; ++k) {
        SetBar(dialog, IDC_GAMMA_FIRST_BAR + k, 0, 255, 255 - gammaSettings.controls[k]);
        SetNumber(dialog, IDC_GAMMA_FIRST_VALUE + k, gammaSettings.controls[k]);
    }
}

INT_PTR GammaUserMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR common = Common(dialog, message, &handled);
    if (handled) return common;
    switch (message) {
        case WM_INITDIALOG:
            Start(dialog, lParam);
            State(dialog)->operation = ApplyGammaToCopy;
            ShowControls(dialog);
            Refresh(dialog);
            return TRUE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            for (int k = 0; k < kGammaControls; ++k) {
                int position = 0;
                if (!Scrolled(wParam, lParam, IDC_GAMMA_FIRST_BAR + k, 0, 255, &position)) continue;
                gammaSettings.controls[k] = ControlFromBar(position);
                SetNumber(dialog, IDC_GAMMA_FIRST_VALUE + k, gammaSettings.controls[k]);
                Refresh(dialog);
            }
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_GAMMA_STRAIGHT:
                    StraightGammaLine(gammaSettings.controls);
                    ShowControls(dialog);
                    Refresh(dialog);
                    return TRUE;
                case IDOK: EndDialog(dialog, IDOK); return TRUE;
                case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

INT_PTR CALLBACK GammaUserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded([&] { return GammaUserMessage(dialog, message, wParam, lParam); });
}

}  // namespace

void OnAdjustColours(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    ColourDialog state;
    if (Run(window, TEXT("COLORSCRDLG"), ColoursProc, state) == IDOK)
        AdjustColoursOk(state.values[0], state.values[1], state.values[2]);
}

void OnBrightness(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    ColourDialog state;
    switch (Run(window, TEXT("BRIGHTDLG"), BrightProc, state)) {
        case BRIGHT_OK: BrightnessContrastOk(state.values[0], state.values[1]); break;
        case BRIGHT_AUTO: BrightnessAutoContrastOk(state.values[0]); break;
        default: break;
    }
}

void OnMonochrome(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    ColourDialog state;
    if (Run(window, TEXT("MONOSCRDLG"), MonoProc, state) != IDOK) return;
    monochromeLevel = state.values[0];
    MonochromeOk(monochromeLevel);
}

void OnAdjustHsl(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    ColourDialog state;
    if (Run(window, TEXT("HSVSCRDLG"), HslProc, state) == IDOK)
        HslOk(state.values[0], state.values[1], state.values[2]);
}

void OnHistogram(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    CHist hist;
    DialogBoxParamW(AppInstance, TEXT("HISTODLG"), window, HistogramProc, reinterpret_cast<LPARAM>(&hist));
}

void ShowPixelColour(HWND window, const RgbColour& colour) {
    RgbColour shown = colour;
    DialogBoxParamW(AppInstance, TEXT("DISPLAYRGBDLG"), window, PixelProc, reinterpret_cast<LPARAM>(&shown));
    EditState = EDIT_NONE;
}

void OnGamma(HWND window) {
    if (CurrentImage.dib.Empty()) return;
    INT_PTR answer;
    {
        ColourDialog state;
        answer = Run(window, TEXT("GAMMADLG"), GammaProc, state);
    }
    if (answer == GAMMA_OK) GammaOk(gammaSettings.function, gammaSettings.power, gammaSettings.controls, GammaChannelMask());
    if (answer != GAMMA_USER) {
        // The power and the function are chosen again every time.
        ResetGammaCurve();
        return;
    }
    ColourDialog state;
    if (Run(window, TEXT("GAMMAUSERDLG"), GammaUserProc, state) == IDOK) {
        // The user curve's control values stay for the next time; the power does not.
        GammaOk('u', gammaSettings.power, gammaSettings.controls, GammaChannelMask());
        gammaSettings.power = 100;
        gammaSettings.function = 'P';
    } else {
        ResetGammaCurve();
    }
}
