#include "shell/info_dialogs.h"

#include <atomic>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

#include "base/appstate.h"
#include "core/colour_count.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"
#include "view/jpeg_dialog.h"
#include "view/metadata_dialogs.h"
#include "shell/dialog_common.h"
#include "shell/filetime.h"
#include "shell/mainwnd.h"
#include "base/ids.h"
#include "shell/wintext.h"

#ifndef LUMORA_VERSION
#define LUMORA_VERSION "unknown"
#endif

namespace {

// ------------------------------------------------------------ colour-count worker

// The one counting thread and the job it works on. The job is a private copy of the
// picture, shared with the thread, so the window thread may load or edit meanwhile.
HANDLE countThread = nullptr;
std::shared_ptr<ColourCountJob> countJob;
// The dialog the worker tells when it is done (null while none is open).
std::atomic<HWND> countDialog{nullptr};
bool countTitleShown = false;

DWORD WINAPI CountColoursThread(LPVOID parameter) {
    auto* job = static_cast<std::shared_ptr<ColourCountJob>*>(parameter);
    try {
        RunColourCount(**job);
    } catch (...) {
    }
    HWND dialog = countDialog.load();
    if (dialog != nullptr) PostMessageW(dialog, WM_COLOUR_COUNT_DONE, 0, 0);
    delete job;
    return 0;
}

bool CountRunning() {
    DWORD code = 0;
    return countThread != nullptr && GetExitCodeThread(countThread, &code) && code == STILL_ACTIVE;
}

// A finished count is stored into the picture if it is still the picture that was counted.
void TakeFinishedCount() {
    if (countJob != nullptr && countJob->done.load()) {
        ApplyColourCount(*countJob);
        countJob.reset();
    }
}

void StartCount() {
    if (countThread != nullptr) CloseHandle(countThread);
    countThread = nullptr;
    countJob = PrepareColourCount();
    if (countJob == nullptr) return;
    auto* parameter = new std::shared_ptr<ColourCountJob>(countJob);
    countThread = CreateThread(nullptr, 0, CountColoursThread, parameter, 0, nullptr);
    if (countThread == nullptr) {
        delete parameter;
        countJob.reset();
        return;
    }
    HostSetTitle("Counting total colours in the image - Please wait!");
    HostSetWaitCursor(true);
    countTitleShown = true;
}

void EndCountTitle() {
    if (!countTitleShown) return;
    countTitleShown = false;
    ShowTitle();
    HostSetWaitCursor(false);
}

// ------------------------------------------------------------ file information


void ShowColourCount(HWND dialog) {
    const int32_t count = CurrentImage.dib.colourCount;
    SetText(dialog, IDC_FD_COLOURS, count > 0 ? FormatThousands(count) : "Calculating");
}

std::string AttributeLetters(uint32_t attributes) {
    struct Letter {
        char letter;
        uint32_t bit;
    };
    static const Letter kLetters[] = {{'A', 0x20}, {'C', 0x800}, {'D', 0x10}, {'H', 0x2},
                                      {'R', 0x1},  {'S', 0x4},   {'T', 0x100}};
    std::string text;
    for (const Letter& l : kLetters) {
        if (!text.empty()) text += ' ';
        text += (attributes & l.bit) ? l.letter : '_';
    }
    return text;
}

std::string CompressionText(const CDib& dib) {
    if (dib.Empty()) return " RGB";
    switch (dib.Header()->biCompression) {
        case 0: return " RGB";
        case 1: return " RLE8";
        case 2: return " RLE4";
        case 3: return " BITFIELDS";
        default: return "JPEG";
    }
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

void FillFileInformation(HWND dialog) {
    const CurrentImageState& image = CurrentImage;
    const CFileOps& file = InputFile;
    if (StartsWith(image.formatNote, "Screen Capture") || StartsWith(image.formatNote, "Pasted Image")) {
        SetText(dialog, IDC_FD_NAME, file.NamePart());
    } else {
        SetText(dialog, IDC_FD_NAME, file.NamePart());
        SetText(dialog, IDC_FD_FOLDER, file.fullPath.substr(0, file.namePart));
        // The whole 64-bit size: files of 4 GiB and more are not shown modulo 2^32.
        SetText(dialog, IDC_FD_SIZE, FormatThousands(static_cast<long long>(file.Size())));
        SetText(dialog, IDC_FD_COMPRESSION, CompressionText(image.dib));
        SetText(dialog, IDC_FD_ATTRIBUTES, AttributeLetters(file.attributes));
        SetText(dialog, IDC_FD_CREATED, file.creationTime == 0 ? "Not Determined" : FileDateText(file.creationTime));
        SetText(dialog, IDC_FD_MODIFIED, FileDateText(file.lastWriteTime));
        if (!image.formatNote.empty()) SetText(dialog, IDC_FD_FORMAT, image.formatNote);
        if (!image.applicationId.empty()) SetText(dialog, IDC_FD_GIF_APP, image.applicationId);
    }
    const uint64_t storedBytes = static_cast<uint64_t>(image.storedHeight) *
                                 ((static_cast<uint64_t>(image.storedWidth) * image.storedBitsPerPixel + 31) / 32 * 4);
    SetText(dialog, IDC_FD_STORED_WIDTH, FormatThousands(image.storedWidth));
    SetText(dialog, IDC_FD_STORED_HEIGHT, FormatThousands(image.storedHeight));
    SetText(dialog, IDC_FD_STORED_DEPTH, FormatThousands(image.storedBitsPerPixel));
    SetText(dialog, IDC_FD_STORED_BYTES, FormatThousands(static_cast<long long>(storedBytes)));
    SetText(dialog, IDC_FD_WIDTH, FormatThousands(image.dib.width));
    SetText(dialog, IDC_FD_HEIGHT, FormatThousands(image.dib.height));
    SetText(dialog, IDC_FD_DEPTH, FormatThousands(image.dib.bitsPerPixel));
    SetText(dialog, IDC_FD_IMAGE_SIZE, FormatThousands(image.dib.imageSize));
    ShowColourCount(dialog);
    // The comment is shown as the program always showed it: at most 1023 characters.
    SetText(dialog, IDC_FD_COMMENT, CutToUtf16Units(ShownComment(), 1023));
    const MetadataButton exif = ExifButton(image), xmp = XmpButton(image);
    SetText(dialog, IDC_FD_EXIF, exif.caption);
    SetText(dialog, IDC_FD_XMP, xmp.caption);
    EnableWindow(GetDlgItem(dialog, IDC_FD_EXIF), exif.enabled ? TRUE : FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_FD_XMP), xmp.enabled ? TRUE : FALSE);
}

INT_PTR FileInformationMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            countDialog.store(dialog);
            TakeFinishedCount();
            if (!CountRunning() && CurrentImage.dib.colourCount == 0) StartCount();
            FillFileInformation(dialog);
            // A count that ended before the dialog could be told is taken here.
            if (countJob != nullptr && countJob->done.load()) PostMessageW(dialog, WM_COLOUR_COUNT_DONE, 0, 0);
            return TRUE;
        case WM_COLOUR_COUNT_DONE:
            TakeFinishedCount();
            ShowColourCount(dialog);
            EndCountTitle();
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: ShowColourCount(dialog); return TRUE;
                case IDCANCEL: EndDialog(dialog, 1); return TRUE;
                case IDC_FD_EXIF: EndDialog(dialog, 2); return TRUE;
                case IDC_FD_XMP: EndDialog(dialog, 3); return TRUE;
                default: return FALSE;
            }
        case WM_DESTROY:
            countDialog.store(nullptr);
            EndCountTitle();
            return FALSE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK FileInformationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return FileInformationMessage(dialog, message, wParam); });
}

// ------------------------------------------------------------ system information

const char* DriveTypeName(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE: return "Removable disk drive";
        case DRIVE_FIXED: return "Local hard disk";
        case DRIVE_REMOTE: return "Network drive";
        case DRIVE_CDROM: return "CD-ROM   drive";
        case DRIVE_RAMDISK: return "RAM disk";
        default: return "";
    }
}

std::string DriveLines() {
    std::string text;
    WCHAR previous[MAX_PATH];
    const DWORD kept = GetCurrentDirectoryW(MAX_PATH, previous);
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        const WString wideRoot = Widen(root);
        if (!SetCurrentDirectoryW(wideRoot.c_str())) continue;
        const UINT type = GetDriveTypeW(wideRoot.c_str());
        if (type == DRIVE_UNKNOWN) {
            text += FormatText("Drive %s\tUnknown drive type\n", root.c_str());
            continue;
        }
        if (type == DRIVE_NO_ROOT_DIR) {
            text += FormatText("Drive %s\tNo root directory\n", root.c_str());
            continue;
        }
        ULARGE_INTEGER available, total, free;
        long long totalMb = 0, freeMb = 0;
        if (GetDiskFreeSpaceExW(wideRoot.c_str(), &available, &total, &free)) {
            totalMb = static_cast<long long>(total.QuadPart >> 20);
            freeMb = static_cast<long long>(free.QuadPart >> 20);
        }
        WCHAR volume[MAX_PATH + 1] = {0}, system[MAX_PATH + 1] = {0};
        GetVolumeInformationW(wideRoot.c_str(), volume, MAX_PATH + 1, nullptr, nullptr, nullptr, system, MAX_PATH + 1);
        text += FormatText("Drive %s\tSize: %lldMb, Free: %lldMb,\tType: <%s>\t%s\tName: <%s>\n", root.c_str(), totalMb,
                           freeMb, Narrow(system).c_str(), DriveTypeName(type), Narrow(volume).c_str());
    }
    if (kept > 0 && kept < MAX_PATH) SetCurrentDirectoryW(previous);
    return text;
}

std::string TimeText(bool local) {
    const time_t now = time(nullptr);
    const struct tm* parts = local ? localtime(&now) : gmtime(&now);
    const char* text = parts != nullptr ? asctime(parts) : nullptr;
    return text != nullptr ? text : "\n";
}

std::string SystemInformationText() {
    MEMORYSTATUS memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    WCHAR systemFolder[MAX_PATH] = {0};
    GetSystemDirectoryW(systemFolder, MAX_PATH);

    const auto mb = [](SIZE_T bytes) { return static_cast<unsigned long long>(bytes) >> 20; };
    const char* platform = version.dwPlatformId == 2   ? "Microsoft Windows NT"
                           : version.dwPlatformId != 0 ? "Microsoft Windows 95 or 98"
                                                       : "Win32s on Windows 3.1";
    std::string text;
    text += FormatText("Memory in Use:\t\t%lu%%\n", static_cast<unsigned long>(memory.dwMemoryLoad));
    text += FormatText("Physical Memory:\t\t%lluMb\n", mb(memory.dwTotalPhys));
    text += FormatText("Free Physical Memory:\t%lluMb\n", mb(memory.dwAvailPhys));
    text += FormatText("Virtual Memory:\t\t%lluMb\n", mb(memory.dwTotalVirtual));
    text += FormatText("Free Virtual Memory:\t%lluMb\n", mb(memory.dwAvailVirtual));
    text += FormatText("Operating System:\t\t%s %d:%d:%d\nSystem Directory:\t\t", platform,
                       static_cast<int>(version.dwMajorVersion), static_cast<int>(version.dwMinorVersion),
                       static_cast<int>(version.dwBuildNumber & 0xFFFF));
    text += Narrow(systemFolder);
    text += FormatText("\nPage Size:\t\t%dKb\n", static_cast<int>(system.dwPageSize / 1024));
    text += FormatText("Min Application Address:\t%08llX\n",
                       static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(system.lpMinimumApplicationAddress)));
    text += FormatText("Max Application Address:\t%08llX\n",
                       static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(system.lpMaximumApplicationAddress)));
    text += "System Time:\t\t" + TimeText(false);
    text += "Local Time:\t\t" + TimeText(true);
    text += FormatText("Processor Type:\t\t%d\n\nDisk Drive Information:\n", static_cast<int>(system.dwProcessorType));
    text += DriveLines();
    return text;
}

// ------------------------------------------------------------ about box

INT_PTR AboutMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetText(dialog, IDC_ABOUT_PRODUCT, "LUM 64 bit");
            SetText(dialog, IDC_ABOUT_VERSION, "Lumora version " LUMORA_VERSION);
            SetText(dialog, IDC_ABOUT_BUILD, "Built " __DATE__);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return Guarded([&] { return AboutMessage(dialog, message, wParam); });
}

}  // namespace

int ShowFileInformation(HWND owner) {
    const INT_PTR result = DialogBoxParamW(AppInstance, TEXT("FileDataDlg"), owner, FileInformationProc, 0);
    return result == 2 || result == 3 ? static_cast<int>(result) : 1;
}

void ShowSystemInformation(HWND) {
    if (RunMode == RUN_QUICKVIEW || RunMode == RUN_SLIDESHOW) return;
    HostSetTitle("Gathering System Information - Please Wait!!");
    HostSetWaitCursor(true);
    const std::string text = SystemInformationText();
    HostSetWaitCursor(false);
    ShowMessage(text, "System Info", kMbOk | kMbIconInformation);
    ShowTitle();
}

void ShowAboutBox(HWND owner) { DialogBoxParamW(AppInstance, TEXT("AboutBox"), owner, AboutProc, 0); }
