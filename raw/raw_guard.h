// Inputs that end the process inside the system's LibRaw, recognised before it sees them.
#pragma once

#include <cstddef>
#include <cstdint>

// True for a TIFF-structured file whose camera make names Hasselblad and whose model text,
// read as LibRaw reads it (up to a NUL, whatever the tag's count says), is near the
// 64-byte model field. LibRaw 0.20 normalises such a model name into a fixed buffer and
// overruns it, and the C library's buffer check then ends the process. Genuine model
// names are a few words long, so nothing real is refused.
bool OverrunsLibRawModelName(const uint8_t* data, size_t size);

// True when the bytes hold a TIFF directory entry, anywhere and in either byte order, for
// a CFA pattern (0x828E) or a Kodak CFA pattern (0xFD09) of 36 values that does not
// directly follow a 6 by 6 repeat dimension (0x828D). LibRaw 0.20 copies such a pattern
// with a loop that indexes one row of its 6 by 6 table, and the compiler, free to assume
// the index stays in that row, built it without an end: it writes over the decoder until
// the process faults. After a 6 by 6 repeat dimension LibRaw copies the pattern another,
// sound way, so X-Trans files, whose directories always hold the two entries in that
// order, are read. The whole file is searched because LibRaw also reaches directories
// inside other containers; six fixed bytes make a chance match in pixel data negligible.
bool EndlessLibRawCfaCopy(const uint8_t* data, size_t size);

// True for any input above: the RAW reader refuses it as unsupported.
inline bool EndsLibRaw(const uint8_t* data, size_t size) {
    return OverrunsLibRawModelName(data, size) || EndlessLibRawCfaCopy(data, size);
}
