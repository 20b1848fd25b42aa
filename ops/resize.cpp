#include "ops/resize.h"

#include <climits>
#include <memory>
#include <new>



const char* const kResizeProgressLabel = "Resizing Image:";

namespace {

// The per-column facts of one resize, computed once instead of once per row.
struct ColumnTables {
    std::unique_ptr<uint32_t[]> nearest;  // byte offset of the sampled source column
    std::unique_ptr<uint32_t[]> left;     // byte offset of c
    std::unique_ptr<uint32_t[]> right;    // byte offset of c + 1 (c itself at the last column)
    std::unique_ptr<uint8_t[]> fx;        // horizontal weight in percent
};

bool BuildColumnTables(ColumnTables& t, int W, int nw, double xScale, bool interpolate) {
    t.nearest.reset(new (std::nothrow) uint32_t[nw]);
    if (!t.nearest) return false;
    for (int j = 0; j < nw; ++j)
        t.nearest[j] = static_cast<uint32_t>(static_cast<uint64_t>(j) * W / nw * 3);
    if (!interpolate) return true;
    t.left.reset(new (std::nothrow) uint32_t[nw]);
    t.right.reset(new (std::nothrow) uint32_t[nw]);
    t.fx.reset(new (std::nothrow) uint8_t[nw]);
    if (!t.left || !t.right || !t.fx) return false;
    const double sx = 100.0 / xScale;
    for (int j = 0; j < nw; ++j) {
        // c = trunc(3j x sx / 300) and fx = trunc(j x sx) mod 100 are the hundreds and the
        // rest of one truncation, taken together so that the near-integer rule can never
        // move one without the other.
        const long long hundredths = TruncNear(static_cast<double>(j) * sx);
        long long c = hundredths / 100;
        if (c > W - 1) c = W - 1;
        const long long c1 = c + 1 <= W - 1 ? c + 1 : c;
        t.left[j] = static_cast<uint32_t>(c * 3);
        t.right[j] = static_cast<uint32_t>(c1 * 3);
        t.fx[j] = static_cast<uint8_t>(hundredths % 100);
    }
    return true;
}

void SampleRow(const uint8_t* src, const uint32_t* columns, int nw, uint8_t* dst) {
    for (int j = 0; j < nw; ++j, dst += 3) {
        const uint8_t* p = src + columns[j];
        dst[0] = p[0];
        dst[1] = p[1];
        dst[2] = p[2];
    }
}

// A x (100 - fx) + B x fx per component: the horizontal half of the blend. Splitting the
// four-neighbour formula this way gives exactly its integer result, because
// (A(100-fx)(100-fy) + B fx(100-fy) + C(100-fx)fy + D fx fy) / 10000
//   = ((A(100-fx) + B fx)(100-fy) + (C(100-fx) + D fx)fy) / 10000,
// and lets neighbouring destination rows share a blended source row.
void BlendRowHorizontally(const uint8_t* src, const ColumnTables& t, int nw, uint16_t* out) {
    for (int j = 0; j < nw; ++j, out += 3) {
        const uint8_t* a = src + t.left[j];
        const uint8_t* b = src + t.right[j];
        const unsigned wb = t.fx[j];
        const unsigned wa = 100 - wb;
        out[0] = static_cast<uint16_t>(a[0] * wa + b[0] * wb);
        out[1] = static_cast<uint16_t>(a[1] * wa + b[1] * wb);
        out[2] = static_cast<uint16_t>(a[2] * wa + b[2] * wb);
    }
}

void BlendRowsVertically(const uint16_t* upper, const uint16_t* lower, size_t count, unsigned fy, uint8_t* dst) {
    const uint32_t wLower = 100 - fy;  // row r
    const uint32_t wUpper = fy;        // row r + 1
    for (size_t k = 0; k < count; ++k)
        dst[k] = static_cast<uint8_t>((lower[k] * wLower + upper[k] * wUpper) / 10000);
}

// Two horizontally blended source rows, kept while consecutive destination rows need them.
class BlendedRows {
public:
    bool Allocate(size_t count) {
        for (auto& slot : slots_) {
            slot.data.reset(new (std::nothrow) uint16_t[count]);
            if (!slot.data) return false;
        }
        return true;
    }
    // Source row `row` blended horizontally, without evicting row `keep`.
    const uint16_t* Get(const CDib& src, const ColumnTables& t, int nw, int row, int keep) {
        for (auto& slot : slots_)
            if (slot.row == row) return slot.data.get();
        Slot& slot = slots_[0].row == keep ? slots_[1] : slots_[0];
        BlendRowHorizontally(src.Row(row), t, nw, slot.data.get());
        slot.row = row;
        return slot.data.get();
    }

private:
    struct Slot {
        std::unique_ptr<uint16_t[]> data;
        int row = -1;
    };
    Slot slots_[2];
};

}  // namespace

int ResizeTargetSize(int W, int H, const ResizeRequest& rq, int* w, int* h) {
    if (!(rq.xScale > 0) || !(rq.yScale > 0) || (rq.xScale == 1.0 && rq.yScale == 1.0)) return 0;
    long long nw, nh;
    if (rq.useSize) {
        if (rq.width == 0 || rq.height == 0) return 0;
        nw = rq.width;
        nh = rq.height;
    } else {
        nw = TruncNear(W * rq.xScale);
        nh = TruncNear(H * rq.yScale);
    }
    if (!PictureSideFits(nw) || !PictureSideFits(nh)) return -1;
    *w = static_cast<int>(nw);
    *h = static_cast<int>(nh);
    return 1;
}

int ResizeImage(CDib& image, const ResizeRequest& rq, bool interpolate, OpProgress progress) {
    if (image.Empty()) return 0;
    const int W = image.width, H = image.height;
    int nw = 0, nh = 0;
    const int size = ResizeTargetSize(W, H, rq, &nw, &nh);
    if (size <= 0) return size;

    CDib holder;
    const CDib& src = Source24(image, holder);
    ColumnTables columns;
    BlendedRows blended;
    const size_t rowValues = static_cast<size_t>(nw) * 3;
    if (!BuildColumnTables(columns, W, nw, rq.xScale, interpolate)) return -1;
    if (interpolate && !blended.Allocate(rowValues)) return -1;
    CDib out;
    out.Create(nw, nh, 24);

    const double sy = 100.0 / rq.yScale;
    SecondsProgress report(progress, kResizeProgressLabel);
    for (int i = 0; i < nh; ++i) {
        report.Step(nh, i);
        uint8_t* dst = out.Row(i);
        // r = trunc(i / yScale) and fy = trunc(i x sy) mod 100, from one truncation as for
        // the columns.
        const long long hundredths = TruncNear(i * sy);
        const long long r = hundredths / 100;
        if (interpolate && 1 < r && r < H - 1) {
            const unsigned fy = static_cast<unsigned>(hundredths % 100);
            const int row = static_cast<int>(r);
            const uint16_t* lower = blended.Get(src, columns, nw, row, row + 1);
            const uint16_t* upper = blended.Get(src, columns, nw, row + 1, row);
            BlendRowsVertically(upper, lower, rowValues, fy, dst);
        } else {
            const int row = static_cast<int>(static_cast<uint64_t>(i) * H / nh);
            SampleRow(src.Row(row), columns.nearest.get(), nw, dst);
        }
    }
    image.Swap(out);
    return 0;
}

