// libFuzzer entry for the lossless JPEG glue: the input is a JPEG file in memory, turned,
// mirrored or cut as its length picks (so that every operation, the crop and the warning
// rule meet every file), and its EXIF orientation set to normal on a copy. Files whose
// picture is larger than 4 million pixels are passed over: the library holds all of a
// picture's blocks at once, and such an input would measure the allocator, not the glue.
#include <turbojpeg.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "libcodecs/jpeg_transform.h"

namespace {

constexpr long long kPixelBudget = 4 << 20;

bool WithinBudget(const uint8_t* data, size_t size) {
    tjhandle handle = tjInitTransform();
    if (handle == nullptr) return false;
    // The size counts even when the header read fails: a warning (stray bytes before a
    // marker) fails it after the frame's size is known, and the transform goes on past it.
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height, &subsampling, &colourspace);
    tjDestroy(handle);
    return static_cast<long long>(width) * height <= kPixelBudget;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4 || !WithinBudget(data, size)) return 0;
    const auto operation = static_cast<LosslessOperation>(size % 8);
    LosslessRegion region;
    region.x = data[size / 2];
    region.y = data[size / 3];
    region.width = 1 + data[size / 4] * 3;
    region.height = 1 + data[size / 5] * 3;
    const bool crop = (size >> 3) & 1;
    const bool stopOnWarning = (size >> 4) & 1;
    std::vector<uint8_t> out;
    std::string error;
    TransformJpeg(data, size, operation, crop ? &region : nullptr, stopOnWarning, &out, &error);
    std::vector<uint8_t> copy(data, data + size);
    SetFileOrientationNormal(copy);
    return 0;
}
