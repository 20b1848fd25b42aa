// libFuzzer entry for the BMP reader.
#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzz::DecodeInput(FT_BMP, data, size); }
