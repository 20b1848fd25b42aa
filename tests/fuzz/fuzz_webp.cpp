// libFuzzer entry for the WebP reader: still pictures, animations and the EXIF chunk.
#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzz::DecodeInput(FT_WEBP, data, size); }
