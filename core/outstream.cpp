#include "core/outstream.h"

#include <cstring>
#include <utility>

#include "base/text.h"

namespace {
constexpr size_t kBufferSize = 1 << 16;
}

bool OutStream::Write(const void* data, size_t bytes) {
    if (!ok_) return false;
    const auto* p = static_cast<const uint8_t*>(data);
    if (buffer_.size() + bytes > kBufferSize) {
        if (!Flush()) return false;
        if (bytes >= kBufferSize) {
            if (!HostWriteFile(file_, p, bytes, &error_)) return ok_ = false;
            written_ += bytes;
            return true;
        }
    }
    buffer_.insert(buffer_.end(), p, p + bytes);
    written_ += bytes;
    return true;
}

bool OutStream::U16(uint16_t v) {
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    return Write(b, 2);
}

bool OutStream::U32(uint32_t v) {
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                    static_cast<uint8_t>(v >> 24)};
    return Write(b, 4);
}

bool OutStream::Flush() {
    if (!ok_) return false;
    if (!buffer_.empty()) {
        if (!HostWriteFile(file_, buffer_.data(), buffer_.size(), &error_)) return ok_ = false;
        buffer_.clear();
    }
    return true;
}

namespace {

// The temporary file of one write: closed and deleted on every way out, a writer's
// exception included, unless it has replaced the target.
class TempFile {
public:
    TempFile(HostFile file, std::string path) : file_(file), path_(std::move(path)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        uint32_t ignored = 0;
        if (file_ != nullptr) HostFinishWrite(file_, &ignored);
        if (!kept_) HostDeleteFile(path_);
    }
    // Closes the file; false (with the system's reason) when the close failed.
    bool Close(uint32_t* error) {
        HostFile file = file_;
        file_ = nullptr;
        return HostFinishWrite(file, error);
    }
    const std::string& Path() const { return path_; }
    // The file has become the target: nothing is left to delete.
    void Keep() { kept_ = true; }

private:
    HostFile file_;
    std::string path_;
    bool kept_ = false;
};

}  // namespace

int WriteReplacing(const std::string& target, const std::function<int(OutStream&)>& writer, uint32_t* systemError,
                   const std::function<void()>& beforeReplace) {
    uint32_t error = 0;
    if (systemError) *systemError = 0;
    if (!PathFits(target)) return WRITE_BAD_PATH;
    std::string path;
    HostFile file = HostCreateTempBeside(target, &path, &error);
    if (file == nullptr) {
        if (systemError) *systemError = error;
        return WRITE_CANT_CREATE;
    }
    TempFile temp(file, path);
    int result;
    bool streamOk;
    {
        OutStream out(file);
        result = writer(out);
        streamOk = out.Flush();
        if (!streamOk) error = out.Error();
    }
    uint32_t closeError = 0;
    const bool closed = temp.Close(&closeError);
    if (streamOk && !closed) error = closeError;
    if (result >= 0 && (!streamOk || !closed)) result = WRITE_FAILED;
    if (result >= 0 && beforeReplace) beforeReplace();
    if (result >= 0 && !HostReplaceFile(temp.Path(), target, &error)) result = WRITE_CANT_REPLACE;
    if (result >= 0) temp.Keep();
    if (systemError && result < 0) *systemError = error;
    return result < 0 ? result : WRITE_OK;
}
