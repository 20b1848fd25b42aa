// The output stream every writer gets, and the one way files are written: into a
// temporary file beside the target, which replaces the target only after the writer and
// the close succeeded. A failed or cancelled write leaves the old file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"

class OutStream {
public:
    explicit OutStream(HostFile file) : file_(file) {}
    OutStream(const OutStream&) = delete;
    OutStream& operator=(const OutStream&) = delete;

    // Every write is checked; after the first failure all later writes fail too.
    bool Write(const void* data, size_t bytes);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    bool U8(uint8_t v) { return Write(&v, 1); }
    bool U16(uint16_t v);
    bool U32(uint32_t v);
    // Sends what is buffered to the file.
    bool Flush();
    bool Ok() const { return ok_; }
    uint64_t Written() const { return written_; }
    uint32_t Error() const { return error_; }

private:
    HostFile file_;
    std::vector<uint8_t> buffer_;
    bool ok_ = true;
    uint64_t written_ = 0;
    uint32_t error_ = 0;
};

enum WriteResult {
    WRITE_OK = 0,
    WRITE_CANT_CREATE = -1,   // no temporary file could be made in the folder
    WRITE_FAILED = -2,        // a write or the final flush failed (disk full ...)
    WRITE_CANT_REPLACE = -3,  // the finished file could not replace the target
    WRITE_BAD_PATH = -4,      // the path does not fit a path buffer
};

// Runs `writer` on a stream into a temporary file beside `target`, then replaces the
// target. A negative result of the writer (which reported itself) is returned as it is;
// otherwise one of WriteResult. `systemError` receives the system's reason.
// `beforeReplace` (may be empty) runs once the new file is complete, just before it
// replaces the target.
int WriteReplacing(const std::string& target, const std::function<int(OutStream&)>& writer,
                   uint32_t* systemError = nullptr, const std::function<void()>& beforeReplace = {});
