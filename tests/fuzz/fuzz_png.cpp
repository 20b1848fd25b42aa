// libFuzzer entry for the PNG reader: libpng behind the header phase, the pixel phase with
// its conversions (alpha composed, transparency as a fourth byte) and the text chunks.
#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzz::DecodeInput(FT_PNG, data, size); }
