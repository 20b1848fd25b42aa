#include "ops/filters.h"

#include <algorithm>
#include <cstring>
#include <vector>

const char kFilterInitFailed[] = "Linear filter initialisation failed!";


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

int KernelSum(const int16_t* values, int count) {
    int sum = 0;
    for (int i = 0; i < count; ++i) sum += values[i];
    return sum;
}

int KernelFromEntry(const FilterTableEntry& entry, bool median, FilterKernel* kernel) {
    FilterKernel& k = *kernel;
    k.side = entry.side;
    k.median = median;
    std::memcpy(k.kernel, entry.values, sizeof k.kernel);
    if (median) {
        k.divisor = 0;
        k.offset = 0;
        return 0;
    }
    k.divisor = entry.divisor;
    k.offset = entry.offset;
    if (entry.side == 3 && k.divisor == 0) k.divisor = KernelSum(entry.values, 9);
    return k.divisor == 0 ? -1 : 0;
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

int ApplyFilterKernel(CDib& image, const FilterKernel& k, OpProgress progress) {
    if (k.median) return MedianImage(image, k.side, k.weighted ? k.kernel : nullptr);
    return ConvolveImage(image, k.side, k.kernel, k.divisor, k.offset, k.channels, progress);
}
