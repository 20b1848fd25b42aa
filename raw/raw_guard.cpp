#include "raw/raw_guard.h"

#include <cctype>
#include <cstring>

namespace {

// LibRaw keeps the make and the model in 64-byte fields; model texts from this length
// on reach the overrun.
constexpr size_t kLongModel = 60;
constexpr size_t kField = 64;
// Bounds on the walk, far above any camera file's directories.
constexpr int kMaxDirectories = 32;
constexpr unsigned kMaxEntries = 1024;

class TiffWalk {
public:
    TiffWalk(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Run() {
        if (size_ < 8) return false;
        if (data_[0] == 'I' && data_[1] == 'I') little_ = true;
        else if (data_[0] == 'M' && data_[1] == 'M') little_ = false;
        else return false;
        Directory(U32(4), 0);
        return hasselblad_ && longModel_;
    }

private:
    uint32_t U16(size_t at) const {
        if (at + 2 > size_) return 0;
        return little_ ? data_[at] | data_[at + 1] << 8 : data_[at] << 8 | data_[at + 1];
    }
    uint32_t U32(size_t at) const {
        if (at + 4 > size_) return 0;
        const uint32_t a = U16(at), b = U16(at + 2);
        return little_ ? a | b << 16 : a << 16 | b;
    }
    // The length of the text at `at` up to its NUL, the end of the file or the field.
    size_t TextLength(size_t at) const {
        if (at >= size_) return 0;
        const size_t room = size_ - at < kField ? size_ - at : kField;
        const void* nul = std::memchr(data_ + at, 0, room);
        return nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - (data_ + at)) : room;
    }
    // LibRaw finds the maker's name anywhere in the make text, in any case.
    bool IsHasselblad(size_t at) const {
        static const char kName[] = "hasselblad";
        const size_t length = TextLength(at), name = sizeof kName - 1;
        for (size_t start = 0; start + name <= length; ++start) {
            size_t i = 0;
            while (i < name && std::tolower(data_[at + start + i]) == kName[i]) ++i;
            if (i == name) return true;
        }
        return false;
    }

    // Walks the directory at `offset`, the directories it points to and the ones after it.
    void Directory(uint32_t offset, int depth) {
        while (offset != 0 && offset < size_ && depth < 4 && ++walked_ <= kMaxDirectories) {
            const unsigned count = U16(offset);
            if (count > kMaxEntries) return;
            for (unsigned i = 0; i < count; ++i) {
                const size_t entry = size_t{offset} + 2 + 12 * size_t{i};
                if (entry + 12 > size_) return;
                const uint32_t tag = U16(entry), n = U32(entry + 4);
                const size_t value = n <= 4 ? entry + 8 : U32(entry + 8);
                if (tag == 0x010F && IsHasselblad(value)) hasselblad_ = true;
                // The model, and the DNG's unique camera model, which LibRaw also reads.
                if ((tag == 0x0110 || tag == 0xC614) && TextLength(value) >= kLongModel) longModel_ = true;
                // Sub-directories and the EXIF directory.
                if (tag == 0x014A || tag == 0x8769) Directory(U32(entry + 8), depth + 1);
            }
            offset = U32(size_t{offset} + 2 + 12 * size_t{count});
        }
    }

    const uint8_t* data_;
    size_t size_;
    bool little_ = true;
    int walked_ = 0;
    bool hasselblad_ = false;
    bool longModel_ = false;
};

}  // namespace

bool OverrunsLibRawModelName(const uint8_t* data, size_t size) {
    return data != nullptr && TiffWalk(data, size).Run();
}

namespace {

constexpr uint16_t kRepeatDim = 0x828D, kCfaPattern = 0x828E, kKodakPattern = 0xFD09;

// Reads the 16-bit value at `at`, which the caller keeps inside the data.
uint16_t Get16(const uint8_t* at, bool little) {
    return static_cast<uint16_t>(little ? at[0] | at[1] << 8 : at[0] << 8 | at[1]);
}

// Whether the directory entry at `entry` is a repeat dimension of 6 by 6 held in the entry
// itself, as LibRaw reads it: two 16-bit values, whatever the entry's type says, stored in
// place when the values take at most four bytes.
bool SixBySix(const uint8_t* entry, bool little) {
    static const uint8_t kUnitBytes[14] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    const uint16_t type = Get16(entry + 2, little);
    const uint32_t count = uint32_t{Get16(entry + 4, little)} << (little ? 0 : 16) |
                           uint32_t{Get16(entry + 6, little)} << (little ? 16 : 0);
    const uint64_t bytes = uint64_t{count} * kUnitBytes[type < 14 ? type : 0];
    return Get16(entry, little) == kRepeatDim && bytes <= 4 && Get16(entry + 8, little) == 6 &&
           Get16(entry + 10, little) == 6;
}

// Whether a pattern entry of 36 values starts at `entry` in the given byte order, and
// LibRaw would copy it with the endless loop.
bool EndlessCopyAt(const uint8_t* data, size_t entry, bool little) {
    const uint16_t tag = Get16(data + entry, little);
    if (tag == kKodakPattern) return true;
    if (tag != kCfaPattern) return false;
    return entry < 12 || !SixBySix(data + entry - 12, little);
}

}  // namespace

bool EndlessLibRawCfaCopy(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 12) return false;
    // An entry is tag, type, count, value: the count of 36 is the byte 0x24 with three zero
    // bytes after it (little-endian) or before it (big-endian).
    for (size_t from = 0; from < size;) {
        const void* found = std::memchr(data + from, 0x24, size - from);
        if (found == nullptr) break;
        const uint8_t* p = static_cast<const uint8_t*>(found);
        const size_t at = static_cast<size_t>(p - data);
        from = at + 1;
        if (at >= 4 && at + 8 <= size && p[1] == 0 && p[2] == 0 && p[3] == 0 && EndlessCopyAt(data, at - 4, true))
            return true;
        if (at >= 7 && at + 5 <= size && p[-1] == 0 && p[-2] == 0 && p[-3] == 0 &&
            EndlessCopyAt(data, at - 7, false))
            return true;
    }
    return false;
}
