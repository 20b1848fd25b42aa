#include "view/lossless.h"

#include <vector>

#include "base/text.h"
#include "codecs/exif.h"
#include "core/current_image.h"
#include "core/title.h"
#include "core/outstream.h"
#include "core/report.h"
#include "libcodecs/jpeg_transform.h"
#include "platform/host.h"
#include "open/open.h"

namespace {

constexpr uint32_t kReadOnlyAttribute = 1;  // FILE_ATTRIBUTE_READONLY

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    HostFileFacts facts;
    if (!HostGetFileFacts(path, &facts)) return false;
    HostFile file = HostOpenRead(path);
    if (file == nullptr) return false;
    bytes->resize(static_cast<size_t>(facts.size));
    const int64_t got = bytes->empty() ? 0 : HostReadFile(file, bytes->data(), bytes->size());
    HostCloseFile(file);
    return got == static_cast<int64_t>(bytes->size());
}

std::string NamePart(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The orientation of the picture's EXIF block (0 without one).
int PictureOrientation() {
    if (CurrentImage.exif.empty()) return 0;
    Cexif exif;
    if (!exif.ParseExif(CurrentImage.exif.data(), CurrentImage.exif.size())) return 0;
    return exif.orientation;
}

int Finish(int result) {
    HostSetWaitCursor(false);
    return result;
}

}  // namespace

std::string LosslessTemporaryPath(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    const size_t dot = path.rfind('.');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string stem = dot != std::string::npos && dot > nameStart ? path.substr(0, dot) : path;
    return stem + ".$$$";
}

int LosslessTransform(int command, const std::string& path, bool fixOrientation) {
    LosslessOperation operation;
    if (!LosslessOperationOfCommand(command, &operation)) return -1;
    // A picture shown upright is transformed as the user sees it; the file keeps its
    // orientation. The orientation fix works on the file as stored.
    if (!fixOrientation && path == CurrentImage.fullPath)
        operation = StoredOperation(operation, CurrentImage.appliedOrientation);
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, &bytes)) {
        ShowMessage(FormatText("Error in reading %s", path.c_str()), "Lossless Transformations", kMbOk | kMbIconWarning);
        return -1;
    }
    HostFileFacts before;
    HostGetFileFacts(path, &before);
    if (fixOrientation && CurrentImage.fileType == FT_JPEG && !CurrentImage.exif.empty()) SetFileOrientationNormal(bytes);

    HostSetWaitCursor(true);
    const std::string name = NamePart(path);
    // The library does the three steps in one call: the last title stands while it works.
    HostSetTitle("Processing Source File " + name);
    HostSetTitle("Processing Destination File " + name);
    HostSetTitle("Executing Transform in File " + name + " May be slow in large file");
    std::vector<uint8_t> result;
    std::string reason;
    // A source the library can read only with warnings (cut short, damaged) is refused:
    // rewritten, the part past the damage would be lost with the original.
    if (!TransformJpeg(bytes.data(), bytes.size(), operation, nullptr, true, &result, &reason)) {
        ShowMessage(FormatText("JPEG Lossless transform failed: <%s> in filename %s", reason.c_str(), path.c_str()),
                    "Lossless transform", kMbOk | kMbIconWarning);
        ShowTitle();
        return Finish(-1);
    }
    const std::string temporary = LosslessTemporaryPath(path);
    const int written = WriteReplacing(temporary, [&](OutStream& out) {
        return out.Write(result.data(), result.size()) ? 0 : -1;
    });
    if (written != WRITE_OK) {
        ReportWriteError("Error in Saving file: ");
        ShowTitle();
        return Finish(-1);
    }
    // The original is replaced only when it may be: a read-only file keeps its content and
    // the finished copy goes again.
    HostFileFacts target;
    if (HostGetFileFacts(path, &target) && (target.attributes & kReadOnlyAttribute) != 0) {
        HostDeleteFile(temporary);
        ReportFileError("Cannot transform ReadOnly file ");
        ShowTitle();
        return Finish(-1);
    }
    uint32_t error = 0;
    if (!HostReplaceFile(temporary, path, &error)) {
        HostDeleteFile(temporary);
        ReportFileError("Error in renaming ");
        ShowTitle();
        return Finish(-1);
    }
    if (before.lastWriteTime != 0) HostSetFileWriteTime(path, before.lastWriteTime);
    Finish(0);
    std::string reload = path;
    return LoadImageFile({reload, HISTORY_FOLDER_AND_FILE}) < 0 ? -1 : 0;
}

int LosslessCrop(const std::string& outPath, const std::string& sourcePath, const LosslessRegion& region) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(sourcePath, &bytes)) {
        ShowMessage(FormatText("Error in reading %s", sourcePath.c_str()), "Lossless Crop", kMbOk | kMbIconWarning);
        return -1;
    }
    HostSetWaitCursor(true);
    std::vector<uint8_t> result;
    std::string reason;
    bool ok = TransformJpeg(bytes.data(), bytes.size(), LOSSLESS_NONE, &region, true, &result, &reason);
    if (ok) {
        const int written = WriteReplacing(outPath, [&](OutStream& out) {
            return out.Write(result.data(), result.size()) ? 0 : -1;
        });
        if (written == WRITE_CANT_CREATE || written == WRITE_BAD_PATH) {
            ShowMessage(FormatText("Error in Opening %s", outPath.c_str()), "Lossless Crop", kMbOk | kMbIconWarning);
            return Finish(-1);
        }
        ok = written == WRITE_OK;
    }
    if (!ok) {
        ShowMessage(FormatText("Lossless Crop failed in filename %s", sourcePath.c_str()), "Lossless Crop",
                    kMbOk | kMbIconWarning);
        return Finish(-1);
    }
    return Finish(0);
}

int AutoFixOrientation() {
    const int command = AutoFixCommand(PictureOrientation());
    if (command == 0 || CurrentImage.fullPath.empty()) return 0;
    return LosslessTransform(command, CurrentImage.fullPath, true);
}
