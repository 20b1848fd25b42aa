#include "core/outstream.h"

#include <cstring>

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

int WriteReplacing(const std::string& target, const std::function<int(OutStream&)>& writer, uint32_t* systemError,
                   const std::function<void()>& beforeReplace) {
    uint32_t error = 0;
    if (systemError) *systemError = 0;
    if (!PathFits(target)) return WRITE_BAD_PATH;
    std::string temp;
    HostFile file = HostCreateTempBeside(target, &temp, &error);
    if (file == nullptr) {
        if (systemError) *systemError = error;
        return WRITE_CANT_CREATE;
    }
    int result;
    bool streamOk;
    {
        OutStream out(file);
        result = writer(out);
        streamOk = out.Flush();
        if (!streamOk) error = out.Error();
    }
    uint32_t closeError = 0;
    const bool closed = HostFinishWrite(file, &closeError);
    if (streamOk && !closed) error = closeError;
    if (result >= 0 && (!streamOk || !closed)) result = WRITE_FAILED;
    if (result >= 0 && beforeReplace) beforeReplace();
    if (result >= 0 && !HostReplaceFile(temp, target, &error)) result = WRITE_CANT_REPLACE;
    if (result < 0) HostDeleteFile(temp);
    if (systemError && result < 0) *systemError = error;
    return result < 0 ? result : WRITE_OK;
}
