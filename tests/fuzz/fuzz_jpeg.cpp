// libFuzzer entry for the JPEG reader with its marker hooks (comment, EXIF, XMP).
#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzz::DecodeInput(FT_JPEG, data, size); }
