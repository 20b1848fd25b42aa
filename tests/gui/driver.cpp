// lumora-driver: drives the running program from outside, as a user would, with window
// messages only (deterministic, no focus needed). A small command interpreter: the
// arguments are a sequence of steps, each a command name followed by its fixed number of
// arguments, run in order; the first failing step ends the run.
//
//   wait-window MS                  wait until the main window ("Lumorawnd") exists
//   title                           print the main window's title
//   wait-title TEXT MS              wait until the title equals TEXT
//   wait-title-prefix TEXT MS       ... starts with TEXT
//   wait-title-contains TEXT MS     ... contains TEXT
//   wait-title-suffix TEXT MS       ... ends with TEXT
//   command ID                      post WM_COMMAND ID to the main window
//   key KEY                         post a key press (a letter, a digit, a name such as
//                                   ESCAPE/RETURN/SPACE/F1..F12, or a virtual-key number)
//   box-text CAPTION MS             wait for a dialog/message box with that caption, print its text
//   expect-box CAPTION HOW TEXT MS  wait for the box; its text must equal|prefix|contains TEXT
//   click-button CAPTION ID         press button ID of that box (BM_CLICK) and wait until the box is gone
//   press CAPTION ID                press button ID of that box (BM_CLICK) and go on
//   set-edit CAPTION ID TEXT        set the text of control ID of that box
//   select-item CAPTION ID INDEX    choose entry INDEX (0-based) of combo box ID of that box,
//                                   as the user would (CBN_SELCHANGE and CBN_SELENDOK follow)
//   no-box CAPTION                  fail when a box with that caption is open
//   alive                           the main window exists and answers messages
//   capture FILE                    save the main window's client area as a 24-bit BMP
//   close MS                        post WM_CLOSE and wait until the main window is gone
//   wait-gone MS                    wait until the main window is gone
//   send-command ID                 send WM_COMMAND ID and wait until it was handled (for
//                                   commands that open no dialog)
//   settle MS                       wait until the window has painted and stopped moving
//   metrics                         print the screen, work area and frame metrics
//   rects                           print the window rectangle and the client rectangle
//                                   (screen coordinates): "window L T W H client L T W H"
//   resize W H                      give the main window that outer size
//   count-windows N MS              wait until exactly N main windows exist
//   close-all MS                    close every main window in turn, each gone before the next
//   drop N FILE...                  drop N files on the window (the program's test request)
//   mark-changed                    make the program's picture count as changed
//   map-point X Y                   print the picture pixel under client point X, Y
//   wheel DELTA X Y                 post a wheel turn at screen point X, Y (120 = one
//                                   notch forward)
//   click left|right X Y            post a button press and release at client point X, Y
//   scroll h|v REQUEST              post WM_HSCROLL / WM_VSCROLL with an SB_ request number
//   mouse EVENT X Y                 post one mouse message at client point X, Y; EVENT is
//                                   move, left-down, left-up, left-double, shift-left-down,
//                                   middle-down, middle-up or right-double
//   park-pointer                    move the real pointer to the screen's bottom-right
//                                   corner, off the program's window, so that the system
//                                   makes no mouse moves of its own over it
//   dialog-scroll CAPTION ID REQUEST POS
//                                   send that box WM_HSCROLL from its scroll bar ID with
//                                   an SB_ request number and a thumb position
//   item-text CAPTION ID            print the text of control ID of that box
//   expect-item CAPTION ID HOW TEXT MS
//                                   wait until the text of control ID of that box equals|
//                                   prefix|contains|suffix TEXT
//   expect-disabled CAPTION ID      control ID of that box must be disabled
//   expect-enabled CAPTION ID       control ID of that box must be enabled
//   expect-text-fits CAPTION ID     the text of control ID of that box, in the dialogs' font
//                                   (8-point "MS Shell Dlg"), fits inside the control
//   box-pixel CAPTION X Y           print the colour (RRGGBB) at client point X, Y of that box
//   clipboard                       print the clipboard's text (CF_UNICODETEXT)
//   expect-clipboard HOW TEXT MS    wait until the clipboard's text equals|prefix|contains|
//                                   suffix TEXT
//   expect-check CAPTION ID STATE MS
//                                   wait until check box or radio button ID of that box is
//                                   checked (STATE 1) or not (STATE 0)
//   set-check CAPTION ID STATE      click check box or radio button ID of that box when it is
//                                   not in STATE (0 or 1) yet, and wait until it is
//   make-pattern FILE W H           write a W x H 24-bit BMP whose colours encode their own
//                                   coordinates (red = x mod 256, green = y mod 256, blue =
//                                   0x40 | (x / 256) << 3 | y / 256; up to 2048 x 2048
//                                   before they repeat)
//   dump-menu FILE                  the program writes its menu to FILE (UTF-8), as
//                                   prepared for showing (see LUM_REQUEST_DUMP_MENU)
//   expect-layout DX DY DW DH SX SY SW SH BG
//                                   the client area shows picture rectangle SX, SY, SW x SH
//                                   (top-down, of a make-pattern picture) stretched onto
//                                   client rectangle DX, DY, DW x DH, and colour BG (RRGGBB)
//                                   everywhere else
//
// Exit code 0 when every step succeeded, 1 when a step failed, 2 for a usage error.
// Builds as a winelib console program and, with mingw-w64, as a real Windows program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ids.h"

namespace {

using WString = std::basic_string<WCHAR>;

const WCHAR kMainClass[] = TEXT("Lumorawnd");
const WCHAR kDialogClass[] = TEXT("#32770");
// Message boxes show their text in the static control with this identifier.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr DWORD kDefaultWaitMs = 5000;
constexpr UINT kPollMs = 10;

// --- text ---

std::string Narrow(const WString& text) {
    if (text.empty()) return std::string();
    const int units = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), units, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), units, &out[0], bytes, nullptr, nullptr);
    return out;
}

void WriteHandle(DWORD which, const std::string& text) {
    HANDLE out = GetStdHandle(which);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Print(const std::string& text) { WriteHandle(STD_OUTPUT_HANDLE, text); }

struct StepFailure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw StepFailure{message}; }

bool StartsWith(const WString& text, const WString& part) { return text.compare(0, part.size(), part) == 0; }
bool EndsWith(const WString& text, const WString& part) {
    return text.size() >= part.size() && text.compare(text.size() - part.size(), part.size(), part) == 0;
}
bool Contains(const WString& text, const WString& part) { return text.find(part) != WString::npos; }

enum class Match { Equals, Prefix, Contains, Suffix };

bool Matches(const WString& text, const WString& wanted, Match how) {
    switch (how) {
        case Match::Equals: return text == wanted;
        case Match::Prefix: return StartsWith(text, wanted);
        case Match::Contains: return Contains(text, wanted);
        case Match::Suffix: return EndsWith(text, wanted);
    }
    return false;
}

const char* MatchName(Match how) {
    switch (how) {
        case Match::Equals: return "equal";
        case Match::Prefix: return "start with";
        case Match::Contains: return "contain";
        case Match::Suffix: return "end with";
    }
    return "";
}

// --- arguments ---

class Arguments {
public:
    Arguments(int count, WCHAR** values) {
        for (int i = 1; i < count; ++i) args_.push_back(values[i]);
    }
    bool Done() const { return next_ >= args_.size(); }
    WString Text(const char* what) {
        if (Done()) throw UsageError{std::string("missing argument: ") + what};
        return args_[next_++];
    }
    long Number(const char* what) {
        const std::string text = Narrow(Text(what));
        char* end = nullptr;
        const long value = std::strtol(text.c_str(), &end, 0);
        if (text.empty() || *end != '\0') throw UsageError{std::string("not a number for ") + what + ": " + text};
        return value;
    }
    struct UsageError {
        std::string message;
    };

private:
    std::vector<WString> args_;
    size_t next_ = 0;
};

// --- windows ---

ULONGLONG Now() { return GetTickCount64(); }

HWND FindMainWindow() { return FindWindowW(kMainClass, nullptr); }

HWND RequireMainWindow() {
    HWND window = FindMainWindow();
    if (window == nullptr) Fail("the main window does not exist");
    return window;
}

HWND WaitForMainWindow(DWORD ms) {
    const ULONGLONG deadline = Now() + ms;
    for (;;) {
        HWND window = FindMainWindow();
        if (window != nullptr) return window;
        if (Now() >= deadline) Fail("no main window within " + std::to_string(ms) + " ms");
        Sleep(kPollMs);
    }
}

// The title is kept by the system for every top-level window: reading it sends nothing to
// the program, so it works while the program is busy.
WString WindowTitle(HWND window) {
    WCHAR buffer[1024];
    const int length = GetWindowTextW(window, buffer, 1024);
    return WString(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

// Text of a control in another process: WM_GETTEXT is carried across processes.
WString ControlText(HWND control) {
    WCHAR buffer[4096];
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             kDefaultWaitMs, &copied))
        Fail("the control's text cannot be read");
    return WString(buffer, static_cast<size_t>(copied));
}

// Width in pixels of `text` in the font the program's dialog templates name; -1 when the
// font cannot be made. The font of another process's dialog cannot be used here, but the
// same face and size give the same font in the same prefix.
int TextWidthInDialogFont(const WString& text) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return -1;
    const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, TEXT("MS Shell Dlg"));
    int width = -1;
    if (font != nullptr) {
        HGDIOBJ old = SelectObject(screen, font);
        SIZE size;
        if (GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size)) width = size.cx;
        SelectObject(screen, old);
        DeleteObject(font);
    }
    ReleaseDC(nullptr, screen);
    return width;
}

HWND FindBox(const WString& caption) { return FindWindowW(kDialogClass, caption.c_str()); }

HWND WaitForBox(const WString& caption, DWORD ms) {
    const ULONGLONG deadline = Now() + ms;
    for (;;) {
        HWND box = FindBox(caption);
        if (box != nullptr && IsWindowVisible(box)) return box;
        if (Now() >= deadline) Fail("no box captioned \"" + Narrow(caption) + "\" within " + std::to_string(ms) + " ms");
        Sleep(kPollMs);
    }
}

WString BoxText(HWND box) {
    HWND text = GetDlgItem(box, kMessageBoxTextId);
    if (text == nullptr) Fail("the box has no text control");
    return ControlText(text);
}

bool WaitUntilGone(HWND window, DWORD ms) {
    const ULONGLONG deadline = Now() + ms;
    while (IsWindow(window)) {
        if (Now() >= deadline) return false;
        Sleep(kPollMs);
    }
    return true;
}

// Returns once the program has handled everything sent to it before.
void Settle(HWND window) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kDefaultWaitMs, &result))
        Fail("the program does not answer");
}

UINT KeyCode(const WString& key) {
    const std::string name = Narrow(key);
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') return static_cast<UINT>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<UINT>(c);
    }
    struct Named {
        const char* name;
        UINT code;
    };
    static const Named kNames[] = {
        {"ESCAPE", VK_ESCAPE}, {"RETURN", VK_RETURN}, {"SPACE", VK_SPACE}, {"TAB", VK_TAB},
        {"LEFT", VK_LEFT},     {"RIGHT", VK_RIGHT},   {"UP", VK_UP},       {"DOWN", VK_DOWN},
        {"HOME", VK_HOME},     {"END", VK_END},       {"PRIOR", VK_PRIOR}, {"NEXT", VK_NEXT},
        {"DELETE", VK_DELETE}, {"INSERT", VK_INSERT}, {"BACK", VK_BACK},   {"ADD", VK_ADD},
        {"SUBTRACT", VK_SUBTRACT},
    };
    for (const Named& entry : kNames)
        if (name == entry.name) return entry.code;
    if (name.size() >= 2 && name[0] == 'F') {
        const int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 24) return static_cast<UINT>(VK_F1 + n - 1);
    }
    char* end = nullptr;
    const long code = std::strtol(name.c_str(), &end, 0);
    if (!name.empty() && *end == '\0' && code > 0 && code < 256) return static_cast<UINT>(code);
    Fail("unknown key: " + name);
}

// --- capture ---

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A 24-bit bottom-up BMP: 14-byte file header, 40-byte information header, rows padded to 4 bytes.
void SaveBmp(const WString& path, int width, int height, const uint8_t* rows, uint32_t rowBytes) {
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    std::vector<uint8_t> header;
    header.push_back('B');
    header.push_back('M');
    PutLe(header, 54 + pixelBytes, 4);
    PutLe(header, 0, 4);
    PutLe(header, 54, 4);
    PutLe(header, 40, 4);
    PutLe(header, static_cast<uint32_t>(width), 4);
    PutLe(header, static_cast<uint32_t>(height), 4);
    PutLe(header, 1, 2);
    PutLe(header, 24, 2);
    PutLe(header, 0, 4);
    PutLe(header, pixelBytes, 4);
    PutLe(header, 2835, 4);
    PutLe(header, 2835, 4);
    PutLe(header, 0, 4);
    PutLe(header, 0, 4);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot create " + Narrow(path));
    DWORD written = 0;
    const bool ok = WriteFile(file, header.data(), static_cast<DWORD>(header.size()), &written, nullptr) &&
                    written == header.size() && WriteFile(file, rows, pixelBytes, &written, nullptr) &&
                    written == pixelBytes;
    const bool closed = CloseHandle(file) != 0;
    if (!ok || !closed) Fail("cannot write " + Narrow(path));
}

struct ClientPixels {
    int width = 0;
    int height = 0;
    uint32_t rowBytes = 0;
    std::vector<uint8_t> rows;  // bottom-up, 24 bits
};

// Copies the client area from the window's display context; false when it cannot.
bool GrabClient(HWND window, ClientPixels* out) {
    RECT client;
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return false;
    out->width = client.right;
    out->height = client.bottom;
    out->rowBytes = ((static_cast<uint32_t>(out->width) * 24 + 31) / 32) * 4;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = out->width;
    info.bmiHeader.biHeight = out->height;  // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    // A window that reaches past the screen (the borderless display mode pushes its frame
    // off the screen) is read from the screen: Wine's X11 driver keeps such a window's X
    // drawable inside the screen, and reading the window's own context is then offset.
    RECT outer;
    GetWindowRect(window, &outer);
    const bool offScreen = outer.left < 0 || outer.top < 0 || outer.right > GetSystemMetrics(SM_CXSCREEN) ||
                           outer.bottom > GetSystemMetrics(SM_CYSCREEN);
    POINT origin = {0, 0};
    if (offScreen) ClientToScreen(window, &origin);
    HWND from = offScreen ? nullptr : window;
    HDC source = GetDC(from);
    if (source == nullptr) return false;
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP bitmap = memory != nullptr ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool copied = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, out->width, out->height, source, origin.x, origin.y, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (copied) {
        const auto* first = static_cast<const uint8_t*>(bits);
        out->rows.assign(first, first + static_cast<size_t>(out->rowBytes) * static_cast<size_t>(out->height));
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(from, source);
    return copied;
}

// The client area as the screen shows it. A window of another process cannot be asked to
// paint into our context (PrintWindow draws nothing across processes), so its pixels are
// copied from its display context once it has painted: it must have handled everything
// sent to it, have nothing left to paint, and two copies taken a quiet interval apart must
// agree. The interval matters under Wine: the program draws into memory of its own, which
// reaches the X window we read only when the program next waits for messages, and a window
// uncovered (a dialog closed over it) shows the X server's black until the program has
// read the exposure. A program that has only just answered us has done neither yet.
ClientPixels StableClient(HWND window) {
    constexpr DWORD kQuietMs = 100;
    const ULONGLONG deadline = Now() + kDefaultWaitMs;
    for (;;) {
        Settle(window);
        Sleep(kQuietMs);
        Settle(window);
        ClientPixels first, second;
        if (!GetUpdateRect(window, nullptr, FALSE) && GrabClient(window, &first)) {
            Sleep(kQuietMs);
            Settle(window);
            if (!GetUpdateRect(window, nullptr, FALSE) && GrabClient(window, &second) &&
                first.width == second.width && first.height == second.height && first.rows == second.rows)
                return first;
        }
        if (Now() >= deadline) Fail("the client area did not settle within " + std::to_string(kDefaultWaitMs) + " ms");
        Sleep(kPollMs);
    }
}

// Asks the window to repaint, then saves its settled client area.
void Capture(const WString& path) {
    HWND window = RequireMainWindow();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const ClientPixels c = StableClient(window);
    SaveBmp(path, c.width, c.height, c.rows.data(), c.rowBytes);
    Print(std::to_string(c.width) + "x" + std::to_string(c.height) + "\n");
}


// --- the window's layout ---

// Returns once the main window has handled what was sent to it, has nothing left to paint
// and kept its rectangle through a few polls.
void SettleLayout(DWORD ms) {
    const ULONGLONG deadline = Now() + ms;
    RECT previous = {0, 0, 0, 0};
    int stable = 0;
    for (;;) {
        HWND window = RequireMainWindow();
        Settle(window);
        RECT r;
        GetWindowRect(window, &r);
        const bool pending = GetUpdateRect(window, nullptr, FALSE) != 0;
        if (!pending && EqualRect(&r, &previous)) {
            if (++stable >= 3) return;
        } else {
            stable = 0;
        }
        previous = r;
        if (Now() >= deadline) Fail("the window did not settle within " + std::to_string(ms) + " ms");
        Sleep(kPollMs);
    }
}

std::string Rects(HWND window) {
    RECT w, c;
    if (!GetWindowRect(window, &w) || !GetClientRect(window, &c)) Fail("the window's rectangles cannot be read");
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return "window " + std::to_string(w.left) + " " + std::to_string(w.top) + " " + std::to_string(w.right - w.left) +
           " " + std::to_string(w.bottom - w.top) + " client " + std::to_string(origin.x) + " " +
           std::to_string(origin.y) + " " + std::to_string(c.right) + " " + std::to_string(c.bottom);
}

struct WindowList {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectMainWindow(HWND window, LPARAM data) {
    WCHAR name[64];
    if (GetClassNameW(window, name, 64) > 0 && WString(name) == kMainClass)
        reinterpret_cast<WindowList*>(data)->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> MainWindows() {
    WindowList list;
    EnumWindows(CollectMainWindow, reinterpret_cast<LPARAM>(&list));
    return list.windows;
}

// --- the program's test requests (WM_COPYDATA; see shell/mainwnd.h) ---

LRESULT SendRequest(ULONG_PTR kind, const void* data, DWORD bytes) {
    COPYDATASTRUCT request;
    request.dwData = kind;
    request.cbData = bytes;
    request.lpData = const_cast<void*>(data);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(RequireMainWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request),
                             SMTO_ABORTIFHUNG, kDefaultWaitMs, &result))
        Fail("the program does not answer the request");
    return static_cast<LRESULT>(result);
}

// --- the coordinate pattern ---

constexpr int kPatternSide = 2048;

void PatternColour(int x, int y, uint8_t* bgr) {
    bgr[2] = static_cast<uint8_t>(x & 0xFF);
    bgr[1] = static_cast<uint8_t>(y & 0xFF);
    bgr[0] = static_cast<uint8_t>(0x40 | (((x >> 8) & 7) << 3) | ((y >> 8) & 7));
}

void MakePattern(const WString& path, int width, int height) {
    if (width < 1 || height < 1 || width > 65535 || height > 65535) Fail("bad pattern size");
    const uint32_t rowBytes = ((static_cast<uint32_t>(width) * 24 + 31) / 32) * 4;
    std::vector<uint8_t> rows(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &rows[static_cast<size_t>(height - 1 - y) * rowBytes];
        for (int x = 0; x < width; ++x) PatternColour(x % kPatternSide, y % kPatternSide, row + 3 * x);
    }
    SaveBmp(path, width, height, rows.data(), rowBytes);
}

uint32_t ParseColour(const WString& text) {
    const std::string hex = Narrow(text);
    char* end = nullptr;
    const unsigned long value = std::strtoul(hex.c_str(), &end, 16);
    if (hex.size() != 6 || *end != '\0') throw Arguments::UsageError{"BG must be RRGGBB, not " + hex};
    return static_cast<uint32_t>(value);
}

// Checks every client pixel: inside the destination rectangle it must show the pattern
// pixel that the stretch maps it to (within a pixel, or the stretch factor when shrinking),
// outside it the background colour.
void ExpectLayout(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, uint32_t background) {
    const ClientPixels c = StableClient(RequireMainWindow());
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) Fail("empty rectangle");
    const double fx = static_cast<double>(sw) / dw, fy = static_cast<double>(sh) / dh;
    const double tx = (fx > 1 ? fx : 1) + 1, ty = (fy > 1 ? fy : 1) + 1;
    int wrongInside = 0, wrongOutside = 0;
    std::string first;
    for (int y = 0; y < c.height; ++y) {
        const uint8_t* row = &c.rows[static_cast<size_t>(c.height - 1 - y) * c.rowBytes];
        for (int x = 0; x < c.width; ++x) {
            const uint8_t* p = row + 3 * x;
            const uint32_t rgb = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
            const bool inside = x >= dx && x < dx + dw && y >= dy && y < dy + dh;
            bool ok;
            if (inside) {
                const int px = p[2] | ((p[0] >> 3) & 7) << 8, py = p[1] | (p[0] & 7) << 8;
                const double ex = sx + (x - dx + 0.5) * fx, ey = sy + (y - dy + 0.5) * fy;
                const double ax = ex - px, ay = ey - py;
                ok = (p[0] & 0xC0) == 0x40 && ax <= tx && ax >= -tx && ay <= ty && ay >= -ty;
                if (!ok) ++wrongInside;
            } else {
                ok = rgb == background;
                if (!ok) ++wrongOutside;
            }
            if (!ok && first.empty()) {
                char text[160];
                std::snprintf(text, sizeof text, "first at client %d,%d: colour %06X%s", x, y, static_cast<unsigned>(rgb),
                              inside ? " (inside)" : " (outside)");
                first = text;
            }
        }
    }
    if (wrongInside != 0 || wrongOutside != 0)
        Fail("client " + std::to_string(c.width) + "x" + std::to_string(c.height) + ": " +
             std::to_string(wrongInside) + " pixels of the picture and " + std::to_string(wrongOutside) +
             " of the background are wrong; " + first);
    Print("layout ok: client " + std::to_string(c.width) + "x" + std::to_string(c.height) + "\n");
}

HWND DialogItem(const WString& caption, int id) {
    HWND box = WaitForBox(caption, kDefaultWaitMs);
    HWND item = GetDlgItem(box, id);
    if (item == nullptr) Fail("the box has no control " + std::to_string(id));
    return item;
}

// Whether a check box or radio button is checked.
bool ButtonChecked(HWND button) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kDefaultWaitMs, &state))
        Fail("the button's state cannot be read");
    return state == BST_CHECKED;
}

void WaitChecked(HWND button, int id, bool wanted, DWORD ms) {
    const ULONGLONG deadline = Now() + ms;
    for (;;) {
        const bool checked = ButtonChecked(button);
        if (checked == wanted) return;
        if (Now() >= deadline)
            Fail("control " + std::to_string(id) + " is " + (checked ? "checked" : "not checked") + " after " +
                 std::to_string(ms) + " ms");
        Sleep(kPollMs);
    }
}

// --- the clipboard ---

// The clipboard's CF_UNICODETEXT; false when it holds none (or cannot be opened now).
bool ClipboardText(WString* text) {
    if (!OpenClipboard(nullptr)) return false;
    bool found = false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* units = data != nullptr ? static_cast<const WCHAR*>(GlobalLock(data)) : nullptr;
    if (units != nullptr) {
        // Bounded by the block: a text without its terminator is not read past its end.
        const size_t most = GlobalSize(data) / sizeof(WCHAR);
        size_t length = 0;
        while (length < most && units[length] != 0) ++length;
        text->assign(units, length);
        GlobalUnlock(data);
        found = true;
    }
    CloseClipboard();
    return found;
}

// --- steps ---

void WaitTitle(Arguments& args, Match how) {
    const WString wanted = args.Text("text");
    const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
    const ULONGLONG deadline = Now() + ms;
    WString title;
    for (;;) {
        HWND window = FindMainWindow();
        if (window != nullptr) {
            title = WindowTitle(window);
            if (Matches(title, wanted, how)) return;
        }
        if (Now() >= deadline)
            Fail(std::string("the title does not ") + MatchName(how) + " \"" + Narrow(wanted) + "\" within " +
                 std::to_string(ms) + " ms; it is \"" + Narrow(title) + "\"");
        Sleep(kPollMs);
    }
}

Match ParseMatch(const WString& how) {
    const std::string name = Narrow(how);
    if (name == "equals") return Match::Equals;
    if (name == "prefix") return Match::Prefix;
    if (name == "contains") return Match::Contains;
    if (name == "suffix") return Match::Suffix;
    throw Arguments::UsageError{"HOW must be equals, prefix, contains or suffix, not " + name};
}

// --- monkey ---

struct ThreadWindows {
    HWND main;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
    auto* windows = reinterpret_cast<ThreadWindows*>(data);
    WCHAR name[64];
    if (window != windows->main && GetClassNameW(window, name, 64) > 0 && WString(name) == kDialogClass)
        windows->found.push_back(window);
    return TRUE;
}

// Dialogs and message boxes of the program's thread, shown or about to be (a modal dialog
// is shown only once its loop first finds the queue empty).
std::vector<HWND> OpenDialogs(HWND main) {
    ThreadWindows windows{main, {}};
    EnumThreadWindows(GetWindowThreadProcessId(main, nullptr), CollectDialog, reinterpret_cast<LPARAM>(&windows));
    return windows.found;
}

// Closes one dialog the way a cautious user would: Cancel, else No, else OK; a dialog with
// none of them gets IDCANCEL. A message box's caption and text are printed first.
void Dismiss(HWND dialog) {
    HWND text = GetDlgItem(dialog, kMessageBoxTextId);
    if (text != nullptr) Print("box " + Narrow(WindowTitle(dialog)) + ": " + Narrow(ControlText(text)) + "\n");
    else Print("dialog " + Narrow(WindowTitle(dialog)) + "\n");
    for (int id : {IDCANCEL, IDNO, IDOK}) {
        HWND button = GetDlgItem(dialog, id);
        if (button != nullptr && IsWindowEnabled(button)) {
            PostMessageW(button, BM_CLICK, 0, 0);
            return;
        }
    }
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// One mouse gesture at random client points: a click or double click of either button, a
// drag with the left or middle button (with or without Shift), a wheel turn or a move.
// Its messages go one at a time; once one of them opens a dialog the rest are dropped,
// since the user could not reach the main window past a modal dialog either.
template <typename Next>
void MonkeyMouse(HWND main, int step, Next& next) {
    RECT client;
    if (!GetClientRect(main, &client) || client.right < 2 || client.bottom < 2) return;
    auto point = [&] {
        return MAKELPARAM(next(static_cast<uint32_t>(client.right)), next(static_cast<uint32_t>(client.bottom)));
    };
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    Message gesture[4];
    int length = 0;
    auto add = [&](UINT message, WPARAM wParam, LPARAM lParam) { gesture[length++] = {message, wParam, lParam}; };
    const WPARAM shift = next(4) == 0 ? MK_SHIFT : 0;
    const LPARAM at = point();
    const char* name = "";
    switch (next(7)) {
        case 0:
            name = "left click";
            add(WM_LBUTTONDOWN, MK_LBUTTON | shift, at);
            add(WM_LBUTTONUP, shift, at);
            break;
        case 1:
            name = "left drag";
            add(WM_LBUTTONDOWN, MK_LBUTTON | shift, at);
            add(WM_MOUSEMOVE, MK_LBUTTON | shift, point());
            add(WM_MOUSEMOVE, MK_LBUTTON | shift, point());
            add(WM_LBUTTONUP, shift, point());
            break;
        case 2:
            name = "middle drag";
            add(WM_MBUTTONDOWN, MK_MBUTTON, at);
            add(WM_MOUSEMOVE, MK_MBUTTON, point());
            add(WM_MBUTTONUP, 0, point());
            break;
        case 3:
            name = "right click";
            add(WM_RBUTTONDOWN, MK_RBUTTON, at);
            add(WM_RBUTTONUP, 0, at);
            break;
        case 4:
            name = "double click";
            add(WM_LBUTTONDOWN, MK_LBUTTON, at);
            add(WM_LBUTTONUP, 0, at);
            add(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            add(WM_LBUTTONUP, 0, at);
            break;
        case 5: {
            name = "wheel";
            POINT p = {static_cast<LONG>(LOWORD(at)), static_cast<LONG>(HIWORD(at))};
            ClientToScreen(main, &p);
            add(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(next(2) ? 120 : -120)) << 16, MAKELPARAM(p.x, p.y));
            break;
        }
        default:
            name = "move";
            add(WM_MOUSEMOVE, 0, at);
            add(WM_MOUSEMOVE, 0, point());
            break;
    }
    Print("step " + std::to_string(step) + " mouse " + name + "\n");
    for (int k = 0; k < length; ++k) {
        const Message& m = gesture[k];
        SendNotifyMessageW(main, m.message, m.wParam, m.lParam);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result))
            Fail("the program does not answer during step " + std::to_string(step));
        if (!OpenDialogs(main).empty()) break;
    }
}

// Random commands (from `ids`), keys and mouse gestures, one at a time; after each the program must answer
// and every dialog it opened is closed (several rounds for dialogs that lead to others).
void Monkey(int count, unsigned seed, const std::vector<int>& ids) {
    static const UINT kKeys[] = {VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN,
                                 VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_F1, VK_APPS, VK_OEM_COMMA,
                                 VK_OEM_PERIOD, VK_OEM_PLUS, VK_OEM_1};
    uint32_t state = seed ? seed : 1;
    auto next = [&state](uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    for (int i = 0; i < count; ++i) {
        HWND main = RequireMainWindow();
        const uint32_t pick = next(100);
        if (pick < 45 && !ids.empty()) {
            const int id = ids[next(static_cast<uint32_t>(ids.size()))];
            Print("step " + std::to_string(i) + " command " + std::to_string(id) + "\n");
            SendNotifyMessageW(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
        } else if (pick >= 85) {
            MonkeyMouse(main, i, next);
        } else {
            UINT key;
            const uint32_t kind = next(3);
            if (kind == 0) key = 'A' + next(26);
            else if (kind == 1) key = '0' + next(10);
            else key = kKeys[next(sizeof kKeys / sizeof kKeys[0])];
            Print("step " + std::to_string(i) + " key " + std::to_string(key) + "\n");
            const LPARAM down = static_cast<LPARAM>(1 | (MapVirtualKeyW(key, 0) << 16));
            SendNotifyMessageW(main, WM_KEYDOWN, key, down);
            SendNotifyMessageW(main, WM_KEYUP, key, static_cast<LPARAM>(static_cast<uint32_t>(down) | 0xC0000000u));
        }
        // The step is sent, not posted, so that the WM_NULL sent after it is handled only
        // once the step has been handled or has opened a modal dialog. What the step posts
        // in turn is handled later: the program counts as quiet after two empty checks.
        int quiet = 0;
        for (int round = 0; quiet < 2; ++round) {
            if (round > 50) Fail("dialogs keep opening after step " + std::to_string(i));
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result))
                Fail("the program does not answer after step " + std::to_string(i));
            const std::vector<HWND> dialogs = OpenDialogs(main);
            if (dialogs.empty()) {
                ++quiet;
                Sleep(15);
                continue;
            }
            quiet = 0;
            for (HWND dialog : dialogs) {
                // A box caught while it is still being made has no buttons to press yet:
                // it is asked again until it goes.
                bool gone = false;
                for (int attempt = 0; attempt < 10 && !gone; ++attempt) {
                    Dismiss(dialog);
                    gone = WaitUntilGone(dialog, 1000);
                }
                if (!gone) Fail("a dialog does not close after step " + std::to_string(i));
            }
        }
    }
}

void RunStep(const std::string& name, Arguments& args) {
    if (name == "wait-window") {
        WaitForMainWindow(static_cast<DWORD>(args.Number("milliseconds")));
    } else if (name == "title") {
        Print(Narrow(WindowTitle(RequireMainWindow())) + "\n");
    } else if (name == "dump-menu") {
        // Another process cannot read the window's menu: the program writes it itself.
        WString file = args.Text("file");
        file.push_back(0);
        COPYDATASTRUCT data = {LUM_REQUEST_DUMP_MENU, static_cast<DWORD>(file.size() * sizeof(WCHAR)), &file[0]};
        if (!SendMessageW(RequireMainWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)))
            Fail("the menu was not written");
    } else if (name == "wait-title") {
        WaitTitle(args, Match::Equals);
    } else if (name == "wait-title-prefix") {
        WaitTitle(args, Match::Prefix);
    } else if (name == "wait-title-contains") {
        WaitTitle(args, Match::Contains);
    } else if (name == "wait-title-suffix") {
        WaitTitle(args, Match::Suffix);
    } else if (name == "command") {
        const WPARAM id = static_cast<WPARAM>(args.Number("command id"));
        // Posted: the command may open a modal dialog, and a sent message would wait for it.
        if (!PostMessageW(RequireMainWindow(), WM_COMMAND, id, 0)) Fail("the command cannot be posted");
    } else if (name == "key") {
        const UINT key = KeyCode(args.Text("key"));
        HWND window = RequireMainWindow();
        const UINT scan = MapVirtualKeyW(key, 0);
        const LPARAM down = static_cast<LPARAM>(1 | (scan << 16));
        const LPARAM up = static_cast<LPARAM>(static_cast<uint32_t>(down) | 0xC0000000u);
        if (!PostMessageW(window, WM_KEYDOWN, key, down) || !PostMessageW(window, WM_KEYUP, key, up))
            Fail("the key cannot be posted");
    } else if (name == "box-text") {
        const WString caption = args.Text("caption");
        HWND box = WaitForBox(caption, static_cast<DWORD>(args.Number("milliseconds")));
        Print(Narrow(BoxText(box)) + "\n");
    } else if (name == "expect-box") {
        const WString caption = args.Text("caption");
        const Match how = ParseMatch(args.Text("how"));
        const WString wanted = args.Text("text");
        HWND box = WaitForBox(caption, static_cast<DWORD>(args.Number("milliseconds")));
        const WString text = BoxText(box);
        if (!Matches(text, wanted, how))
            Fail(std::string("the box text does not ") + MatchName(how) + " \"" + Narrow(wanted) + "\"; it is \"" +
                 Narrow(text) + "\"");
    } else if (name == "click-button") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("button id"));
        HWND box = WaitForBox(caption, kDefaultWaitMs);
        HWND button = GetDlgItem(box, id);
        if (button == nullptr) Fail("the box has no button " + std::to_string(id));
        // Posted: the click may start another modal loop in the program.
        if (!PostMessageW(button, BM_CLICK, 0, 0)) Fail("the click cannot be posted");
        if (!WaitUntilGone(box, kDefaultWaitMs)) Fail("the box is still open after the click");
    } else if (name == "press") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("button id"));
        if (!PostMessageW(DialogItem(caption, id), BM_CLICK, 0, 0)) Fail("the click cannot be posted");
    } else if (name == "set-edit") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const WString text = args.Text("text");
        HWND box = WaitForBox(caption, kDefaultWaitMs);
        if (!SetDlgItemTextW(box, id, text.c_str())) Fail("control " + std::to_string(id) + " cannot be set");
    } else if (name == "select-item") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const int index = static_cast<int>(args.Number("index"));
        HWND box = WaitForBox(caption, kDefaultWaitMs);
        HWND list = GetDlgItem(box, id);
        if (list == nullptr || SendMessageW(list, CB_SETCURSEL, index, 0) != index)
            Fail("entry " + std::to_string(index) + " of control " + std::to_string(id) + " cannot be chosen");
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        SendMessageW(box, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
    } else if (name == "no-box") {
        const WString caption = args.Text("caption");
        HWND box = FindBox(caption);
        if (box != nullptr) {
            HWND text = GetDlgItem(box, kMessageBoxTextId);
            Fail("a box captioned \"" + Narrow(caption) + "\" is open" +
                 (text != nullptr ? ": \"" + Narrow(ControlText(text)) + "\"" : std::string()));
        }
    } else if (name == "alive") {
        Settle(RequireMainWindow());
    } else if (name == "capture") {
        Capture(args.Text("file"));
    } else if (name == "close") {
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        HWND window = RequireMainWindow();
        if (!PostMessageW(window, WM_CLOSE, 0, 0)) Fail("WM_CLOSE cannot be posted");
        if (!WaitUntilGone(window, ms)) Fail("the main window is still there after " + std::to_string(ms) + " ms");
    } else if (name == "stopwatch") {
        // The first call starts it; every later one prints the microseconds since the one
        // before (benchmarks time the program from inside one driver run).
        static LARGE_INTEGER last = {};
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        if (last.QuadPart != 0)
            Print(std::to_string((now.QuadPart - last.QuadPart) * 1000000 / frequency.QuadPart) + "\n");
        last = now;
    } else if (name == "close-saying-no") {
        // WM_CLOSE; a question about a changed picture is answered No (leave without saving).
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        HWND window = RequireMainWindow();
        if (!PostMessageW(window, WM_CLOSE, 0, 0)) Fail("WM_CLOSE cannot be posted");
        const ULONGLONG deadline = Now() + ms;
        while (IsWindow(window)) {
            HWND box = FindBox(TEXT("Leave LUM?"));
            if (box != nullptr && IsWindowVisible(box)) PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
            if (Now() >= deadline) Fail("the main window is still there after " + std::to_string(ms) + " ms");
            Sleep(50);
        }
    } else if (name == "wait-gone") {
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        HWND window = FindMainWindow();
        if (window != nullptr && !WaitUntilGone(window, ms))
            Fail("the main window is still there after " + std::to_string(ms) + " ms");
    } else if (name == "send-command") {
        const WPARAM id = static_cast<WPARAM>(args.Number("command id"));
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(RequireMainWindow(), WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 20000, &result))
            Fail("the command was not handled");
    } else if (name == "settle") {
        SettleLayout(static_cast<DWORD>(args.Number("milliseconds")));
    } else if (name == "metrics") {
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        Print("screen " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
              std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " work " + std::to_string(work.left) + " " +
              std::to_string(work.top) + " " + std::to_string(work.right - work.left) + " " +
              std::to_string(work.bottom - work.top) + " frame " + std::to_string(GetSystemMetrics(SM_CXFRAME)) + " " +
              std::to_string(GetSystemMetrics(SM_CYFRAME)) + " caption " +
              std::to_string(GetSystemMetrics(SM_CYCAPTION)) + " menu " + std::to_string(GetSystemMetrics(SM_CYMENU)) +
              " scroll " + std::to_string(GetSystemMetrics(SM_CXVSCROLL)) + " " +
              std::to_string(GetSystemMetrics(SM_CYHSCROLL)) + "\n");
    } else if (name == "rects") {
        Print(Rects(RequireMainWindow()) + "\n");
    } else if (name == "resize") {
        const int width = static_cast<int>(args.Number("width"));
        const int height = static_cast<int>(args.Number("height"));
        if (!SetWindowPos(RequireMainWindow(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
            Fail("the window cannot be resized");
    } else if (name == "count-windows") {
        const size_t wanted = static_cast<size_t>(args.Number("count"));
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        const ULONGLONG deadline = Now() + ms;
        for (;;) {
            const size_t count = MainWindows().size();
            if (count == wanted) break;
            if (Now() >= deadline)
                Fail(std::to_string(count) + " main windows, not " + std::to_string(wanted) + ", after " +
                     std::to_string(ms) + " ms");
            Sleep(kPollMs);
        }
    } else if (name == "close-all") {
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        // One after the other: each writes LUM.INI as it closes.
        for (HWND window : MainWindows()) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            if (!WaitUntilGone(window, ms)) Fail("a main window is still there after " + std::to_string(ms) + " ms");
        }
    } else if (name == "drop") {
        const long count = args.Number("file count");
        WString names;
        for (long i = 0; i < count; ++i) {
            names += args.Text("file");
            names.push_back(0);
        }
        names.push_back(0);
        if (!SendRequest(LUM_REQUEST_DROP_FILES, names.data(), static_cast<DWORD>(names.size() * sizeof(WCHAR))))
            Fail("the program refused the drop");
    } else if (name == "mark-changed") {
        if (!SendRequest(LUM_REQUEST_MARK_CHANGED, "", 1)) Fail("the program refused the request");
    } else if (name == "map-point") {
        int32_t point[2];
        point[0] = static_cast<int32_t>(args.Number("x"));
        point[1] = static_cast<int32_t>(args.Number("y"));
        const LRESULT answer = SendRequest(LUM_REQUEST_MAP_POINT, point, sizeof point);
        if (answer <= 0) Fail("the program refused the request");
        Print(std::to_string((answer - 1) % 65536) + " " + std::to_string((answer - 1) / 65536) + "\n");
    } else if (name == "wheel") {
        const int delta = static_cast<int>(args.Number("delta"));
        const int x = static_cast<int>(args.Number("x"));
        const int y = static_cast<int>(args.Number("y"));
        const WPARAM w = static_cast<WPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16);
        const LPARAM l = static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16 |
                                             static_cast<uint16_t>(x));
        if (!PostMessageW(RequireMainWindow(), WM_MOUSEWHEEL, w, l)) Fail("the wheel cannot be posted");
    } else if (name == "click") {
        const std::string button = Narrow(args.Text("button"));
        const int x = static_cast<int>(args.Number("x"));
        const int y = static_cast<int>(args.Number("y"));
        const LPARAM l = static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16 |
                                             static_cast<uint16_t>(x));
        UINT down = WM_LBUTTONDOWN, up = WM_LBUTTONUP;
        WPARAM flag = MK_LBUTTON;
        if (button == "right") {
            down = WM_RBUTTONDOWN;
            up = WM_RBUTTONUP;
            flag = MK_RBUTTON;
        } else if (button != "left") {
            throw Arguments::UsageError{"the button is left or right, not " + button};
        }
        HWND window = RequireMainWindow();
        if (!PostMessageW(window, down, flag, l) || !PostMessageW(window, up, 0, l)) Fail("the click cannot be posted");
    } else if (name == "mouse") {
        struct MouseEvent {
            const char* name;
            UINT message;
            WPARAM keys;
        };
        const MouseEvent events[] = {
            {"move", WM_MOUSEMOVE, 0},
            {"left-down", WM_LBUTTONDOWN, MK_LBUTTON},
            {"left-up", WM_LBUTTONUP, 0},
            {"left-double", WM_LBUTTONDBLCLK, MK_LBUTTON},
            {"shift-left-down", WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT},
            {"middle-down", WM_MBUTTONDOWN, MK_MBUTTON},
            {"middle-up", WM_MBUTTONUP, 0},
            {"right-double", WM_RBUTTONDBLCLK, MK_RBUTTON},
        };
        const std::string event = Narrow(args.Text("event"));
        const int x = static_cast<int>(args.Number("x"));
        const int y = static_cast<int>(args.Number("y"));
        const MouseEvent* found = nullptr;
        for (const MouseEvent& e : events)
            if (event == e.name) found = &e;
        if (found == nullptr) throw Arguments::UsageError{"unknown mouse event: " + event};
        const LPARAM l = static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16 |
                                             static_cast<uint16_t>(x));
        if (!PostMessageW(RequireMainWindow(), found->message, found->keys, l)) Fail("the mouse message cannot be posted");
    } else if (name == "park-pointer") {
        if (!SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1))
            Fail("the pointer cannot be moved");
    } else if (name == "dialog-scroll") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const int request = static_cast<int>(args.Number("request"));
        const int position = static_cast<int>(args.Number("position"));
        HWND box = WaitForBox(caption, kDefaultWaitMs);
        HWND bar = GetDlgItem(box, id);
        if (bar == nullptr) Fail("the box has no control " + std::to_string(id));
        const WPARAM w = MAKEWPARAM(request, static_cast<uint16_t>(static_cast<int16_t>(position)));
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(box, WM_HSCROLL, w, reinterpret_cast<LPARAM>(bar), SMTO_ABORTIFHUNG, 5000, &result))
            Fail("the scroll request was not handled");
    } else if (name == "scroll") {
        const std::string bar = Narrow(args.Text("bar"));
        const WPARAM request = static_cast<WPARAM>(args.Number("request"));
        if (bar != "h" && bar != "v") throw Arguments::UsageError{"the bar is h or v, not " + bar};
        if (!PostMessageW(RequireMainWindow(), bar == "h" ? WM_HSCROLL : WM_VSCROLL, request, 0))
            Fail("the scroll request cannot be posted");
    } else if (name == "item-text") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        Print(Narrow(ControlText(DialogItem(caption, id))) + "\n");
    } else if (name == "expect-item") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const Match how = ParseMatch(args.Text("how"));
        const WString wanted = args.Text("text");
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        const ULONGLONG deadline = Now() + ms;
        HWND item = DialogItem(caption, id);
        for (;;) {
            const WString text = ControlText(item);
            if (Matches(text, wanted, how)) break;
            if (Now() >= deadline)
                Fail("control " + std::to_string(id) + " does not " + MatchName(how) + " \"" + Narrow(wanted) +
                     "\" within " + std::to_string(ms) + " ms; it is \"" + Narrow(text) + "\"");
            Sleep(kPollMs);
        }
    } else if (name == "expect-disabled") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        if (IsWindowEnabled(DialogItem(caption, id))) Fail("control " + std::to_string(id) + " is enabled");
    } else if (name == "expect-enabled") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        if (!IsWindowEnabled(DialogItem(caption, id))) Fail("control " + std::to_string(id) + " is disabled");
    } else if (name == "expect-text-fits") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        HWND item = DialogItem(caption, id);
        const WString text = ControlText(item);
        RECT client;
        if (!GetClientRect(item, &client)) Fail("control " + std::to_string(id) + " has no client area");
        const int width = TextWidthInDialogFont(text);
        // A push button draws its text inside its frame: two edges and a pixel of room each side.
        const int room = client.right - client.left - 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
        if (width < 0) Fail("the dialogs' font cannot measure text");
        if (width > room)
            Fail("\"" + Narrow(text) + "\" needs " + std::to_string(width) + " pixels, control " + std::to_string(id) +
                 " has " + std::to_string(room));
    } else if (name == "box-pixel") {
        const WString caption = args.Text("caption");
        const int x = static_cast<int>(args.Number("x"));
        const int y = static_cast<int>(args.Number("y"));
        HWND box = WaitForBox(caption, kDefaultWaitMs);
        // Read once the box has painted: it has handled what was sent and has nothing
        // left to paint.
        const ULONGLONG deadline = Now() + kDefaultWaitMs;
        for (;;) {
            Settle(box);
            if (!GetUpdateRect(box, nullptr, FALSE)) break;
            if (Now() >= deadline) Fail("the box did not paint within " + std::to_string(kDefaultWaitMs) + " ms");
            Sleep(kPollMs);
        }
        HDC dc = GetDC(box);
        const COLORREF colour = dc != nullptr ? GetPixel(dc, x, y) : CLR_INVALID;
        if (dc != nullptr) ReleaseDC(box, dc);
        if (colour == CLR_INVALID) Fail("the box's pixel cannot be read");
        char text[16];
        std::snprintf(text, sizeof text, "%02X%02X%02X\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        Print(text);
    } else if (name == "clipboard") {
        WString text;
        if (!ClipboardText(&text)) Fail("the clipboard holds no text");
        Print(Narrow(text) + "\n");
    } else if (name == "expect-clipboard") {
        const Match how = ParseMatch(args.Text("how"));
        const WString wanted = args.Text("text");
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        const ULONGLONG deadline = Now() + ms;
        WString text;
        for (;;) {
            const bool found = ClipboardText(&text);
            if (found && Matches(text, wanted, how)) break;
            if (Now() >= deadline)
                Fail(std::string("the clipboard's text does not ") + MatchName(how) + " \"" + Narrow(wanted) +
                     "\" within " + std::to_string(ms) + " ms; " +
                     (found ? "it is \"" + Narrow(text) + "\"" : std::string("it holds no text")));
            Sleep(kPollMs);
        }
    } else if (name == "expect-check") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const bool wanted = args.Number("state") != 0;
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        WaitChecked(DialogItem(caption, id), id, wanted, ms);
    } else if (name == "set-check") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const bool wanted = args.Number("state") != 0;
        HWND button = DialogItem(caption, id);
        if (ButtonChecked(button) != wanted) {
            // Posted like a press: the program sees the click as the user's.
            if (!PostMessageW(button, BM_CLICK, 0, 0)) Fail("the click cannot be posted");
            WaitChecked(button, id, wanted, kDefaultWaitMs);
        }
    } else if (name == "make-pattern") {
        const WString path = args.Text("file");
        const int width = static_cast<int>(args.Number("width"));
        MakePattern(path, width, static_cast<int>(args.Number("height")));
    } else if (name == "expect-layout") {
        int v[8];
        const char* names[8] = {"DX", "DY", "DW", "DH", "SX", "SY", "SW", "SH"};
        for (int i = 0; i < 8; ++i) v[i] = static_cast<int>(args.Number(names[i]));
        ExpectLayout(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], ParseColour(args.Text("background")));
    } else if (name == "monkey") {
        const int count = static_cast<int>(args.Number("count"));
        const unsigned seed = static_cast<unsigned>(args.Number("seed"));
        std::vector<int> ids;
        const std::string list = Narrow(args.Text("command ids"));
        for (size_t at = 0; at < list.size();) {
            const size_t comma = list.find(',', at);
            ids.push_back(std::atoi(list.substr(at, comma == std::string::npos ? std::string::npos : comma - at).c_str()));
            at = comma == std::string::npos ? list.size() : comma + 1;
        }
        Monkey(count, seed, ids);
    } else {
        throw Arguments::UsageError{"unknown command: " + name};
    }
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    Arguments args(argc, argv);
    if (args.Done()) {
        WriteHandle(STD_ERROR_HANDLE, "usage: lumora-driver COMMAND [ARGS...] [COMMAND [ARGS...]]...\n");
        return 2;
    }
    std::string step;
    int steps = 0;
    try {
        while (!args.Done()) {
            step = Narrow(args.Text("command"));
            RunStep(step, args);
            ++steps;
        }
        // The last line says the run went through to its end (the scripts check for it).
        Print("lumora-driver: " + std::to_string(steps) + " steps done\n");
    } catch (const Arguments::UsageError& error) {
        WriteHandle(STD_ERROR_HANDLE, "lumora-driver: " + error.message + "\n");
        return 2;
    } catch (const StepFailure& failure) {
        WriteHandle(STD_ERROR_HANDLE, "lumora-driver: " + step + ": " + failure.message + "\n");
        return 1;
    }
    return 0;
}
