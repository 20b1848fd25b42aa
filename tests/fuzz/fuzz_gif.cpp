// libFuzzer entry for the GIF reader: every frame is composed in the header phase.
#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzz::DecodeInput(FT_GIF, data, size); }
