// libFuzzer entry for the camera RAW reader: LibRaw's identification, unpacking and
// processing behind the header phase, and the copy into the picture. Decoding runs in
// phase 1, so the sensor is limited there to the pixels the other targets decode.
#include "fuzz_decode.h"
#include "raw/raw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RawPixelLimit = fuzz::kMaxPixels;
    return fuzz::DecodeInput(FT_RAW, data, size);
}
