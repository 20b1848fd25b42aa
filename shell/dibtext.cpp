#include "shell/dibtext.h"

namespace {

// Releases the GDI objects of one drawing on every path.
struct DrawingResources {
    HDC screen = nullptr;
    HDC memory = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    ~DrawingResources() {
        if (memory != nullptr) DeleteDC(memory);
        if (bitmap != nullptr) DeleteObject(bitmap);
        if (font != nullptr) DeleteObject(font);
        if (screen != nullptr) ReleaseDC(nullptr, screen);
    }
};

}  // namespace

int DibDrawText(CDib& dib, HDC dc, const RECT& rect, COLORREF textColour, COLORREF backColour, const LOGFONTW* font,
                int backMode, const WCHAR* text) {
    if (dib.Empty() || text == nullptr) return -1;
    DrawingResources gdi;
    if (dc == nullptr) {
        gdi.screen = GetDC(nullptr);
        dc = gdi.screen;
        if (dc == nullptr) return -1;
    }
    gdi.memory = CreateCompatibleDC(dc);
    if (gdi.memory == nullptr) return -1;
    SetTextColor(gdi.memory, textColour);
    SetBkColor(gdi.memory, backColour);
    SetBkMode(gdi.memory, backMode);
    if (font != nullptr) gdi.font = CreateFontIndirectW(font);
    gdi.bitmap = CreateCompatibleBitmap(dc, dib.width, dib.height);
    if (gdi.bitmap == nullptr) return -1;

    // The bitmap is filled and read back while it is not selected into a context, as
    // SetDIBits and GetDIBits require.
    auto* header = reinterpret_cast<BITMAPINFO*>(dib.info);
    if (SetDIBits(gdi.memory, gdi.bitmap, 0, dib.height, dib.bits, header, DIB_RGB_COLORS) != dib.height) return -1;
    HGDIOBJ oldBitmap = SelectObject(gdi.memory, gdi.bitmap);
    HGDIOBJ oldFont = gdi.font != nullptr ? SelectObject(gdi.memory, gdi.font) : nullptr;
    RECT area = rect;
    DrawTextW(gdi.memory, text, -1, &area, DT_CENTER);
    if (oldFont != nullptr) SelectObject(gdi.memory, oldFont);
    SelectObject(gdi.memory, oldBitmap);
    // GetDIBits may rewrite the header's size field; the picture's header describes the same rows.
    if (GetDIBits(gdi.memory, gdi.bitmap, 0, dib.height, dib.bits, header, DIB_RGB_COLORS) != dib.height) return -1;
    return 0;
}

