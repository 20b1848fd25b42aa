// libFuzzer entry: a filter entry, or a kernel of any values, run over a small picture
// made from the input bytes. The bytes give the entry, the channels and weighting, the
// picture's size, optionally a kernel with its divisor and offset, then the pixels.
// Every result must keep the picture's size.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>

#include "edit/filters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const int entry = data[0] % kFilterCount;
    ChannelMask channels{(data[1] & 1) != 0, (data[1] & 2) != 0, (data[1] & 4) != 0};
    const bool weighted = (data[1] & 8) != 0;
    const bool ownKernel = (data[1] & 16) != 0;
    const int w = 1 + data[2] % 20, h = 1 + data[3] % 20;
    const int side = 3 + 2 * (data[4] % 3);
    data += 5;
    size -= 5;

    FilterSettings& s = filterSettings;
    if (SelectFilter(entry) < 0) return 0;
    s.channels = channels;
    s.weighted = weighted;
    int16_t kernel[kMaxKernelValues] = {};
    int divisor = 1, offset = 0;
    if (ownKernel) {
        const size_t values = static_cast<size_t>(side) * side;
        for (size_t i = 0; i < values && 2 * i + 1 < size; ++i)
            kernel[i] = static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
        const size_t used = std::min(size, 2 * values);
        data += used;
        size -= used;
        if (size >= 4) {
            divisor = static_cast<int16_t>(data[0] | data[1] << 8);
            offset = static_cast<int16_t>(data[2] | data[3] << 8);
            data += 4;
            size -= 4;
        }
    }
    CDib picture;
    picture.Create(w, h, 24);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = picture.Row(y);
        for (int x = 0; x < 3 * w; ++x) row[x] = size > 0 ? data[(static_cast<size_t>(y) * 3 * w + x) % size] : 0;
    }
    int result;
    if (ownKernel) result = ConvolveImage(picture, side, kernel, divisor, offset, channels, nullptr);
    else result = ApplySelectedFilter(picture, nullptr);
    if (result == 0 && (picture.width != w || picture.height != h)) std::abort();
    if (ownKernel && divisor != 0 && result != 0) std::abort();
    return 0;
}
