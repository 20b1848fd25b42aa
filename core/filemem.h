// The whole input file in memory during one load, and the read cursor the in-memory
// readers share. Readers read through ByteReader, which never passes the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/host.h"

// Spare zeroed bytes after the data: a last defence only, never relied on.
constexpr size_t kFileMemSlack = 8192;

class CFileMem {
public:
    uint8_t* data = nullptr;
    uint8_t* buffer = nullptr;
    virtual ~CFileMem();
    void Release();
};
extern CFileMem FileMem;

struct FileCursorState {
    const uint8_t* cur = nullptr;
    const uint8_t* start = nullptr;
    const uint8_t* end = nullptr;
    uint64_t size = 0;
    // A reader of a streamed type reads the open file instead (read from its start, up to
    // `size` bytes); the pointers are then null.
    HostFile stream = nullptr;
};
extern FileCursorState FileCursor;

// Reads the whole file into FileMem and sets FileCursor; null after reporting.
const uint8_t* LoadFileToMemory(const std::string& path);
// Opens the file for a reader that reads it as a stream (a large file is then never held
// whole): FileCursor gets the open file and its size. False after reporting. FileMem's
// Release closes it.
bool OpenFileStream(const std::string& path);
// Points FileMem/FileCursor at a copy of `bytes` (tests and fuzzing).
const uint8_t* LoadBytesToMemory(const uint8_t* bytes, size_t size);

// Bounds-checked little-endian reads over [p, end). A read past the end yields 0 and
// clears `ok`; nothing is ever read beyond `end`.
struct ByteReader {
    const uint8_t* p;
    const uint8_t* end;
    bool ok = true;

    ByteReader(const uint8_t* from, const uint8_t* to) : p(from), end(to) {}
    size_t Remaining() const { return p < end ? static_cast<size_t>(end - p) : 0; }
    bool Has(size_t n) const { return Remaining() >= n; }
    uint8_t U8() {
        if (!Has(1)) return Fail<uint8_t>();
        return *p++;
    }
    uint16_t U16() {
        if (!Has(2)) return Fail<uint16_t>();
        uint16_t v = static_cast<uint16_t>(p[0] | p[1] << 8);
        p += 2;
        return v;
    }
    uint32_t U32() {
        if (!Has(4)) return Fail<uint32_t>();
        uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                     static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
        p += 4;
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    bool Skip(size_t n) {
        if (!Has(n)) {
            p = end;
            ok = false;
            return false;
        }
        p += n;
        return true;
    }

private:
    template <typename T>
    T Fail() {
        p = end;
        ok = false;
        return 0;
    }
};
