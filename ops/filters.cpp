#include "ops/filters.h"

#include <algorithm>
#include <cstring>
#include <vector>

const char kFilterInitFailed[] = "Linear filter initialisation failed!";

// clang-format off
FilterTableEntry FilterTable[kFilterCount] = {
    // 3x3 entries; a divisor of 0 is the kernel's sum.
    {"Blur slightly", "Low pass - low power", 3, {0, 1, 0, 1, 16, 1, 0, 1, 0}, 0, 0},
    {"Blur more", "Low pass", 3, {1, 1, 1, 1, 12, 1, 1, 1, 1}, 0, 0},
    {"Blur lots", "Low pass", 3, {1, 1, 1, 1, 4, 1, 1, 1, 1}, 0, 0},
    {"Blur average", "Low pass - high power", 3, {1, 1, 1, 1, 1, 1, 1, 1, 1}, 0, 0},
    {"Sharpen slightly", "High pass - low power", 3, {0, -1, 0, -1, 20, -1, 0, -1, 0}, 0, 0},
    {"Sharpen more", "High pass", 3, {0, -1, 0, -1, 10, -1, 0, -1, 0}, 0, 0},
    {"Sharpen lots", "High pass", 3, {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 0, 0},
    {"Sharpen max", "High pass - high power", 3, {-1, -1, -1, -1, 10, -1, -1, -1, -1}, 0, 0},
    {"Invert", "Invert", 3, {0, 0, 0, 0, -1, 0, 0, 0, 0}, 1, 255},
    {"Emboss dark", "Emboss dark", 3, {-1, -2, -1, 0, 0, 0, 1, 2, 1}, 1, 128},
    {"Emboss medium", "Emboss medium", 3, {-1, -2, -1, 0, 0, 0, 1, 2, 1}, 1, 192},
    {"Emboss light", "Emboss light", 3, {0, -1, 0, 0, 0, 0, 0, 1, 0}, 1, 192},
    {"Unsharp Mask", "Unsharp mask", 3, {-1, -2, -1, -2, 16, -2, -1, -2, -1}, 0, 0},
    {"Edges strong", "Edges strong", 3, {1, 3, 1, 3, -16, 3, 1, 3, 1}, 1, 100},
    {"Edges weak", "Edges weak", 3, {0, 1, 0, 1, -4, 1, 0, 1, 0}, 1, 100},
    {"Prewitt edge detection", "Pewitt", 3, {1, 1, 1, 1, -2, 1, -1, -1, -1}, 1, 0},
    {"Emboss colour", "Emboss colour", 3, {-2, 0, 0, 0, 1, 0, 0, 0, 2}, 1, 0},
    {"Sobel-pass", "Sobel-pass", 3, {1, 2, 1, 0, 0, 0, -1, -2, -1}, 1, 0},
    {"Laplacian", "Laplacian", 3, {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1, 100},
    {"Laplacian hor/vert", "Laplacian hor/vert", 3, {0, -1, 0, -1, 4, -1, 0, -1, 0}, 1, 100},
    {"Directional sharpen", "Directional sharpen", 3, {-3, -3, -3, 0, 16, 0, 1, 1, 1}, 0, 0},
    {"Enhance edges", "Enhance edges", 3, {-1, -2, -1, -2, 16, -2, -1, -2, -1}, 0, 0},
    {"Etch", "Etch", 3, {-6, -2, -6, -1, 32, -1, -6, -2, -6}, 1, 100},
    {"User defined", "User defined", 3, {0, 0, 0, 0, 1, 0, 0, 0, 0}, 1, 0},
    // 5x5 entries.
    {"Blur", nullptr, 5, {0, 0, 1, 0, 0,  0, 1, 1, 1, 0,  1, 1, 1, 1, 1,  0, 1, 1, 1, 0,  0, 0, 1, 0, 0}, 13, 0},
    {"Sharpen", nullptr, 5,
     {-1, -1, -1, -1, -1,  -1, 2, 2, 2, -1,  -1, 2, 8, 2, -1,  -1, 2, 2, 2, -1,  -1, -1, -1, -1, -1}, 8, 0},
    {"Motion blur diagonally", nullptr, 5,
     {1, 0, 0, 0, 0,  0, 1, 0, 0, 0,  0, 0, 1, 0, 0,  0, 0, 0, 1, 0,  0, 0, 0, 0, 1}, 5, 0},
    {"Motion blur vertically", nullptr, 5,
     {0, 0, 1, 0, 0,  0, 0, 1, 0, 0,  0, 0, 1, 0, 0,  0, 0, 1, 0, 0,  0, 0, 1, 0, 0}, 5, 0},
    {"Motion blur horizontally", nullptr, 5,
     {0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  1, 1, 1, 1, 1,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 5, 0},
    {"Edge diagonal", nullptr, 5,
     {0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  -1, -1, 2, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 1, 0},
    {"Edge vertical", nullptr, 5,
     {0, 0, -1, 0, 0,  0, 0, -1, 0, 0,  0, 0, 4, 0, 0,  0, 0, -1, 0, 0,  0, 0, -1, 0, 0}, 1, 0},
    {"Edge horizontal", nullptr, 5,
     {-1, 0, 0, 0, 0,  0, -2, 0, 0, 0,  0, 0, 6, 0, 0,  0, 0, 0, -2, 0,  0, 0, 0, 0, -1}, 5, 0},
    {"Emboss strong", nullptr, 5,
     {-1, -1, -1, -1, 0,  -1, -1, -1, 0, 1,  -1, -1, 0, 1, 1,  -1, 0, 1, 1, 1,  0, 1, 1, 1, 1}, 1, 128},
    {"User defined", nullptr, 5,
     {0, 0, 0, 0, 0,  0, 0, 0, 0, 0,  0, 0, 1, 0, 0,  0, 0, 0, 0, 0,  0, 0, 0, 0, 0}, 1, 0},
    // 7x7 entries.
    {"Blur", nullptr, 7,
     {0, 0, 1, 1, 1, 0, 0,  0, 1, 4, 7, 4, 1, 0,  1, 4, 16, 26, 16, 4, 1,  1, 7, 26, 41, 26, 7, 1,
      1, 4, 16, 26, 16, 4, 1,  0, 1, 4, 7, 4, 1, 0,  0, 0, 1, 1, 1, 0, 0}, 285, 0},
    {"Sharpen", nullptr, 7,
     {-2, -4, -5, -5, -5, -4, -2,  -4, -5, -3, 0, -3, -5, -4,  -5, -3, 12, 24, 12, -3, -5,
      -5, 0, 24, 40, 24, 0, -5,  -5, -3, 12, 24, 12, -3, -5,  -4, -5, -3, 0, -3, -5, -4,
      -2, -4, -5, -5, -5, -4, -2}, 40, 0},
    {"Diagonal Filter", nullptr, 7,
     {1, 0, 0, 0, 0, 0, 0,  0, 1, 0, 0, 0, 0, 0,  0, 0, 1, 0, 0, 0, 0,  0, 0, 0, 1, 0, 0, 0,
      0, 0, 0, 0, 1, 0, 0,  0, 0, 0, 0, 0, 1, 0,  0, 0, 0, 0, 0, 0, 1}, 7, 0},
    {"User defined", nullptr, 7,
     {0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 1, 0, 0, 0,
      0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0}, 1, 0},
    // Medians: the weights counted when weighting is on.
    {"3 * 3", nullptr, 3, {1, 2, 1, 2, 3, 2, 1, 2, 1}, 0, 0},
    {"5 * 5", nullptr, 5,
     {1, 2, 3, 2, 1,  2, 4, 6, 4, 2,  3, 6, 9, 6, 3,  2, 4, 6, 4, 2,  1, 2, 3, 2, 1}, 0, 0},
};
// clang-format on

FilterSettings filterSettings;

namespace {

const char kFilterProgressLabel[] = "Processing Filter:";

bool KernelSideOk(int side) { return side == 3 || side == 5 || side == 7; }

// a mod m for any a, m > 0: never negative, however far a lies below 0.
int Wrap(long a, int m) {
    const long r = a % m;
    return static_cast<int>(r < 0 ? r + m : r);
}

// For each kernel offset d (0..side-1) and position p, the wrapped position p + d - side/2:
// table[d * count + p].
std::vector<int> WrappedPositions(int count, int side) {
    std::vector<int> table(static_cast<size_t>(side) * count);
    for (int d = 0; d < side; ++d)
        for (int p = 0; p < count; ++p) table[static_cast<size_t>(d) * count + p] = Wrap(long{p} + d - side / 2, count);
    return table;
}

uint8_t Clamp255(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

}  // namespace

bool IsMedianFilter(int index) { return index == kMedianFilter3 || index == kMedianFilter5; }

int KernelSum(const int16_t* values, int count) {
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += values[i];
    return sum;
}

int SelectFilter(int index) {
    if (index < 0 || index >= kFilterCount) return -1;
    const FilterTableEntry& entry = FilterTable[index];
    FilterSettings& s = filterSettings;
    s.selected = index;
    s.side = entry.side;
    std::memcpy(s.kernel, entry.values, sizeof s.kernel);
    if (IsMedianFilter(index)) {
        s.divisor = 0;
        s.offset = 0;
        return index;
    }
    s.divisor = entry.divisor;
    s.offset = entry.offset;
    if (entry.side == 3 && s.divisor == 0) s.divisor = KernelSum(entry.values, 9);
    return s.divisor == 0 ? -1 : index;
}

namespace {

// The picture's rows as they were before the filter, while it writes its results into
// the picture row by row from the bottom: a row not yet written is read in place, the
// `half` rows below the current one from a ring of copies, and the first `half` rows
// (which the last rows reach by wrapping around) from copies made at the start. A
// picture too low for that is copied whole. The memory is a few rows, not a second
// picture.
class OriginalRows {
public:
    OriginalRows(const CDib& image, int half) : image_(image), half_(half) {
        const size_t bytes = image.rowBytes;
        if (image.height <= 2 * half + 1) {
            whole_.assign(image.bits, image.bits + bytes * image.height);
            return;
        }
        head_.assign(image.bits, image.bits + bytes * half);
        ring_.resize(bytes * half);
    }
    // The original storage row y while row i is being computed.
    const uint8_t* Row(int y, int i) const {
        const size_t bytes = image_.rowBytes;
        if (!whole_.empty()) return whole_.data() + bytes * y;
        if (y >= i) return image_.Row(y);
        if (i - y <= half_) return ring_.data() + bytes * (y % half_);
        return head_.data() + bytes * y;  // a wrap from the top rows to the first ones
    }
    // Row i is about to be overwritten: its original goes into the ring.
    void Keep(int i) {
        if (whole_.empty() && half_ > 0)
            std::memcpy(ring_.data() + image_.rowBytes * (i % half_), image_.Row(i), image_.rowBytes);
    }

private:
    const CDib& image_;
    int half_;
    std::vector<uint8_t> whole_, head_, ring_;
};

// The median of nine values by a fixed network of exchanges.
inline void Order(uint8_t& a, uint8_t& b) {
    const uint8_t lo = std::min(a, b), hi = std::max(a, b);
    a = lo;
    b = hi;
}

uint8_t MedianOfNine(uint8_t* p) {
    Order(p[1], p[2]); Order(p[4], p[5]); Order(p[7], p[8]);
    Order(p[0], p[1]); Order(p[3], p[4]); Order(p[6], p[7]);
    Order(p[1], p[2]); Order(p[4], p[5]); Order(p[7], p[8]);
    Order(p[0], p[3]); Order(p[5], p[8]); Order(p[4], p[7]);
    Order(p[3], p[6]); Order(p[1], p[4]); Order(p[2], p[5]);
    Order(p[4], p[7]); Order(p[4], p[2]); Order(p[6], p[4]);
    Order(p[4], p[2]);
    return p[4];
}

}  // namespace

int ConvolveImage(CDib& image, int side, const int16_t* kernel, int divisor, int offset, ChannelMask channels,
                  OpProgress progress) {
    if (divisor == 0 || !KernelSideOk(side) || image.bitsPerPixel != 24 || image.Empty()) return -1;
    const int w = image.width, h = image.height;
    OriginalRows source(image, side / 2);
    const std::vector<int> xs = WrappedPositions(w, side);
    const std::vector<int> ys = WrappedPositions(h, side);
    const bool enabled[3] = {channels.blue, channels.green, channels.red};
    std::vector<uint8_t> result(image.rowBytes);
    std::vector<const uint8_t*> rows(static_cast<size_t>(side));
    TenthsProgress tenths(progress, kFilterProgressLabel);
    for (int i = 0; i < h; ++i) {
        tenths.Step(h, i);
        for (int l = 0; l < side; ++l) rows[static_cast<size_t>(l)] = source.Row(ys[static_cast<size_t>(l) * h + i], i);
        std::memcpy(result.data(), image.Row(i), image.rowBytes);  // disabled channels keep their values
        uint8_t* out = result.data();
        for (int j = 0; j < w; ++j) {
            int sum[3] = {0, 0, 0};
            for (int l = 0; l < side; ++l) {
                const uint8_t* row = rows[static_cast<size_t>(l)];
                const int16_t* kernelRow = kernel + l * side;
                for (int k = 0; k < side; ++k) {
                    const int weight = kernelRow[side - 1 - k];
                    if (weight == 0) continue;
                    const uint8_t* p = row + 3 * xs[static_cast<size_t>(k) * w + j];
                    sum[0] += weight * p[0];
                    sum[1] += weight * p[1];
                    sum[2] += weight * p[2];
                }
            }
            for (int c = 0; c < 3; ++c)
                if (enabled[c]) out[3 * j + c] = Clamp255((sum[c] + offset) / divisor);
        }
        source.Keep(i);
        std::memcpy(image.Row(i), result.data(), image.rowBytes);
    }
    image.Touch();
    return 0;
}

int MedianImage(CDib& image, int side, const int16_t* weights) {
    if ((side != 3 && side != 5) || image.bitsPerPixel != 24 || image.Empty()) return -1;
    const int w = image.width, h = image.height;
    OriginalRows source(image, side / 2);
    const std::vector<int> xs = WrappedPositions(w, side);
    const std::vector<int> ys = WrappedPositions(h, side);
    // How often each neighbour counts, in the order they are gathered (k across, l up).
    std::vector<int> counts(static_cast<size_t>(side) * side, 1);
    if (weights != nullptr)
        for (size_t p = 0; p < counts.size(); ++p) counts[p] = std::max(0, static_cast<int>(weights[p]));
    size_t total = 0;
    for (int c : counts) total += static_cast<size_t>(c);
    if (total == 0) return -1;
    const bool network = total == 9;  // 3 x 3 unweighted
    std::vector<uint8_t> samples[3];
    for (auto& s : samples) s.resize(total);
    std::vector<uint8_t> result(image.rowBytes);
    std::vector<const uint8_t*> rows(static_cast<size_t>(side));
    for (int i = 0; i < h; ++i) {
        for (int l = 0; l < side; ++l) rows[static_cast<size_t>(l)] = source.Row(ys[static_cast<size_t>(l) * h + i], i);
        std::memcpy(result.data(), image.Row(i), image.rowBytes);
        uint8_t* out = result.data();
        for (int j = 0; j < w; ++j) {
            size_t n = 0;
            for (int k = 0; k < side; ++k) {
                const int x = 3 * xs[static_cast<size_t>(k) * w + j];
                for (int l = 0; l < side; ++l) {
                    const uint8_t* p = rows[static_cast<size_t>(l)] + x;
                    for (int r = counts[static_cast<size_t>(k) * side + l]; r > 0; --r, ++n) {
                        samples[0][n] = p[0];
                        samples[1][n] = p[1];
                        samples[2][n] = p[2];
                    }
                }
            }
            // Sorting the samples by a channel and taking sample total / 2 gives that
            // channel's order statistic: found without sorting all of them.
            for (int c = 0; c < 3; ++c) {
                if (network) {
                    out[3 * j + c] = MedianOfNine(samples[c].data());
                    continue;
                }
                auto middle = samples[c].begin() + static_cast<long>(total / 2);
                std::nth_element(samples[c].begin(), middle, samples[c].end());
                out[3 * j + c] = *middle;
            }
        }
        source.Keep(i);
        std::memcpy(image.Row(i), result.data(), image.rowBytes);
    }
    image.Touch();
    return 0;
}

int ApplySelectedFilter(CDib& image, OpProgress progress) {
    const FilterSettings& s = filterSettings;
    if (IsMedianFilter(s.selected)) return MedianImage(image, s.side, s.weighted ? s.kernel : nullptr);
    return ConvolveImage(image, s.side, s.kernel, s.divisor, s.offset, s.channels, progress);
}
