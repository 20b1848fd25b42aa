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
