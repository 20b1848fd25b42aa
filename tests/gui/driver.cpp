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
//   set-edit CAPTION ID TEXT        set the text of control ID of that box
//   no-box CAPTION                  fail when a box with that caption is open
//   alive                           the main window exists and answers messages
//   capture FILE                    save the main window's client area as a 24-bit BMP
//   close MS                        post WM_CLOSE and wait until the main window is gone
//   wait-gone MS                    wait until the main window is gone
//
// Exit code 0 when every step succeeded, 1 when a step failed, 2 for a usage error.
// Builds as a winelib console program and, with mingw-w64, as a real Windows program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

    HDC source = GetDC(window);
    if (source == nullptr) return false;
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP bitmap = memory != nullptr ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool copied = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, out->width, out->height, source, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (copied) {
        const auto* first = static_cast<const uint8_t*>(bits);
        out->rows.assign(first, first + static_cast<size_t>(out->rowBytes) * static_cast<size_t>(out->height));
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(window, source);
    return copied;
}

// The client area as the screen shows it. A window of another process cannot be asked to
// paint into our context (PrintWindow draws nothing across processes), so its pixels are
// copied from its display context once it has painted: it is asked to repaint, it must
// have handled everything sent to it and have nothing left to paint, and two copies in a
// row must agree.
void Capture(const WString& path) {
    HWND window = RequireMainWindow();
    const ULONGLONG deadline = Now() + kDefaultWaitMs;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (;;) {
        Settle(window);
        ClientPixels first, second;
        if (!GetUpdateRect(window, nullptr, FALSE) && GrabClient(window, &first)) {
            Settle(window);
            if (GrabClient(window, &second) && first.width == second.width && first.height == second.height &&
                first.rows == second.rows) {
                SaveBmp(path, first.width, first.height, first.rows.data(), first.rowBytes);
                Print(std::to_string(first.width) + "x" + std::to_string(first.height) + "\n");
                return;
            }
        }
        if (Now() >= deadline) Fail("the client area did not settle within " + std::to_string(kDefaultWaitMs) + " ms");
        Sleep(kPollMs);
    }
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

void RunStep(const std::string& name, Arguments& args) {
    if (name == "wait-window") {
        WaitForMainWindow(static_cast<DWORD>(args.Number("milliseconds")));
    } else if (name == "title") {
        Print(Narrow(WindowTitle(RequireMainWindow())) + "\n");
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
    } else if (name == "set-edit") {
        const WString caption = args.Text("caption");
        const int id = static_cast<int>(args.Number("control id"));
        const WString text = args.Text("text");
        HWND box = WaitForBox(caption, kDefaultWaitMs);
        if (!SetDlgItemTextW(box, id, text.c_str())) Fail("control " + std::to_string(id) + " cannot be set");
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
    } else if (name == "wait-gone") {
        const DWORD ms = static_cast<DWORD>(args.Number("milliseconds"));
        HWND window = FindMainWindow();
        if (window != nullptr && !WaitUntilGone(window, ms))
            Fail("the main window is still there after " + std::to_string(ms) + " ms");
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
    try {
        while (!args.Done()) {
            step = Narrow(args.Text("command"));
            RunStep(step, args);
        }
    } catch (const Arguments::UsageError& error) {
        WriteHandle(STD_ERROR_HANDLE, "lumora-driver: " + error.message + "\n");
        return 2;
    } catch (const StepFailure& failure) {
        WriteHandle(STD_ERROR_HANDLE, "lumora-driver: " + step + ": " + failure.message + "\n");
        return 1;
    }
    return 0;
}
