// libFuzzer entry for the TIFF reader: libtiff over our in-memory client procedures, the
// page count through the chain of directories, the page header and the RGBA decode.
#include "fuzz_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return fuzz::DecodeInput(FT_TIFF, data, size); }
