// Method '3': the pairwise merging quantiser. Pixels are counted in 6-5-5 histogram cells
// (blue weighted 2.5, so it gets the extra bit); then, as long as there are more cells than
// wanted colours, the pair whose merge moves the pixels least is merged. Every cell keeps
// its best partner among the cells after it, so a merge only repairs the links it touched;
// the cheapest link comes from a tournament tree, and the searches for a partner pass over
// runs of cells that a quick bound rules out, testing several at a time.
// The cost grows with the square of the number of cells; the run pumps window messages and
// stops as soon as the user presses Escape (RunMode leaves RUN_LONG_OPERATION).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "base/appstate.h"
#include "platform/host.h"
#include "core/quantise.h"
#include "core/quantise_internal.h"
#include "base/text.h"

namespace quant {

bool mergeSkipsFarPairs = true;
bool mergeSortsSmallPictures = true;

namespace {

constexpr int kCellCount = 65536;
constexpr uint64_t kNoCost = UINT64_MAX;
constexpr uint32_t kNoCell = UINT32_MAX;

struct ColourCell {
    // Sums over the cell's pixels of trunc(blue x 2.5), green and red. 64 bits: one cell
    // of a large flat picture passes 2^32 after a few million pixels.
    uint64_t sumB;
    uint64_t sumG;
    uint64_t sumR;
    uint32_t count;
    // The cell's rounded mean of each sum, kept with the sums so that a cost needs no
    // division for it.
    int32_t meanB;
    int32_t meanG;
    int32_t meanR;
};

// What the quick test for far-apart cells reads, kept apart from the cells so that a scan
// over all cells touches little memory: the exact means and the pixel count.
struct QuickCell {
    double b;
    double g;
    double r;
    double count;
};

bool Aborted() { return RunMode != RUN_LONG_OPERATION; }

// (sum + n/2) / n for the sums of merged cells. The quotient is at most 637 and n below
// 2^32, so the floating-point quotient is never close enough to the next integer to round
// up to it: truncating it is exact, and much cheaper than a 64-bit division.
inline int RoundedMean(uint64_t sum, uint64_t n, double n64) {
    return static_cast<int>(static_cast<double>(sum + n / 2) / n64);
}

void SetMeans(ColourCell& c) {
    const uint64_t n = c.count;
    c.meanB = static_cast<int>((c.sumB + n / 2) / n);
    c.meanG = static_cast<int>((c.sumG + n / 2) / n);
    c.meanR = static_cast<int>((c.sumR + n / 2) / n);
}

QuickCell QuickOf(const ColourCell& c) {
    const double n = c.count;
    return QuickCell{static_cast<double>(c.sumB) / n, static_cast<double>(c.sumG) / n, static_cast<double>(c.sumR) / n, n};
}

// True when merging two cells cannot cost less than `bound`, decided without the cost
// itself. With A and B the rounded means of the cells, M the rounded merged mean, m the
// smaller count and D the distance of the exact means:
//   cost > na |M - A| + nb |B - M| - 2 >= m (|M - A| + |B - M|) - 2 >= m |B - A| - 2,
// and a rounded mean is less than 1 per component, less than sqrt(3) in all, from its exact
// value, so |B - A| > D - 2 sqrt(3). The pair cannot win once m (D - 2 sqrt(3)) - 2 reaches
// the bound. Squares spare the root; 3.47 and the factor leave room for rounding. Most
// pairs are far apart: only the few that pass have their cost worked out, and the result
// is the same, found several times faster.
inline bool BeyondBound(double smallerCount, double d2, uint64_t bound) {
    const double t = static_cast<double>(bound) + 2.0 + 3.47 * smallerCount;
    return smallerCount * smallerCount * d2 > t * t * (1.0 + 1e-9);
}

inline bool FarApart(const QuickCell& a, const QuickCell& b, uint64_t bound) {
    const double dB = a.b - b.b, dG = a.g - b.g, dR = a.r - b.r;
    return BeyondBound(a.count < b.count ? a.count : b.count, dB * dB + dG * dG + dR * dR, bound);
}

// The same test for a run of kBlock cells at once, from the box around their exact means
// and their smallest count. The bound grows with the distance and, once the distance passes
// 2 sqrt(3) (which a pair must for the test to hold at all), with the smaller count; so the
// nearest point of the box with the run's smallest count bounds every cell of the run.
constexpr uint32_t kBlock = 16;
struct BlockBox {
    double lo[3];
    double hi[3];
    double minCount;
};

void AddToBox(BlockBox* box, const QuickCell& q) {
    const double v[3] = {q.b, q.g, q.r};
    for (int k = 0; k < 3; ++k) {
        if (v[k] < box->lo[k]) box->lo[k] = v[k];
        if (v[k] > box->hi[k]) box->hi[k] = v[k];
    }
    if (q.count < box->minCount) box->minCount = q.count;
}

inline bool BlockFarApart(const QuickCell& a, const BlockBox& box, uint64_t bound) {
    const double v[3] = {a.b, a.g, a.r};
    double d2 = 0;
    for (int k = 0; k < 3; ++k) {
        // At most one of the two is positive. Written without branches, which the scans
        // would mispredict half the time: (x + |x|) / 2 is exactly x when x > 0, else 0.
        const double below = box.lo[k] - v[k], above = v[k] - box.hi[k];
        const double out = below > above ? below : above;
        const double e = (out + std::fabs(out)) * 0.5;
        d2 += e * e;
    }
    return BeyondBound(a.count < box.minCount ? a.count : box.minCount, d2, bound);
}

// How far the pixels of a and b move when the two cells become one: the distance from each
// cell's mean to the merged mean, weighted by its pixel count, each part truncated.
uint64_t MergeCost(const ColourCell& a, const ColourCell& b) {
    const uint64_t n = uint64_t{a.count} + b.count;
    const double nd = static_cast<double>(n);
    const int mB = RoundedMean(a.sumB + b.sumB, n, nd);
    const int mG = RoundedMean(a.sumG + b.sumG, n, nd);
    const int mR = RoundedMean(a.sumR + b.sumR, n, nd);
    const int64_t da = int64_t{mB - a.meanB} * (mB - a.meanB) + int64_t{mG - a.meanG} * (mG - a.meanG) +
                       int64_t{mR - a.meanR} * (mR - a.meanR);
    const int64_t db = int64_t{b.meanB - mB} * (b.meanB - mB) + int64_t{b.meanG - mG} * (b.meanG - mG) +
                       int64_t{b.meanR - mR} * (b.meanR - mR);
    // A square root is an integer on paper only for a perfect square, where it is exact.
    const double partA = std::sqrt(static_cast<double>(da)) * a.count;
    const double partB = std::sqrt(static_cast<double>(db)) * b.count;
    return static_cast<uint64_t>(partA) + static_cast<uint64_t>(partB);
}

// n rounded up to whole runs of kBlock.
inline uint32_t Padded(uint32_t n) { return (n / kBlock + 1) * kBlock; }

// The runs of n cells, rounded up to whole chunks of kChunk runs, and one chunk more: a
// scan tests the kChunk runs from wherever it starts, which need not begin a chunk.
constexpr uint32_t kChunk = 32;
inline uint32_t PaddedRuns(uint32_t n) { return (n / kBlock / kChunk + 2) * kChunk; }

// The merging state apart from the cells themselves, each array one entry per cell.
struct MergeStore {
    std::unique_ptr<QuickCell[]> quick;
    // The boxes of the runs, one array per part (low and high blue, green, red, then the
    // smallest count), for tests of many runs at once.
    std::unique_ptr<double[]> boxParts;
    std::unique_ptr<uint32_t[]> cheapest;  // the tournament of the costs
    uint32_t leaves = 1;                   // its leaves: a power of two, at least n
    std::unique_ptr<uint64_t[]> cost;     // of merging with the best partner, kNoCost for none
    std::unique_ptr<uint32_t[]> partner;  // always greater than the cell's own index
    // The quick cells again, one array per part, for scans that test many cells at once.
    std::unique_ptr<double[]> parts;
    bool Allocate(uint32_t n) {
        quick.reset(new (std::nothrow) QuickCell[n]);
        boxParts.reset(new (std::nothrow) double[7 * static_cast<size_t>(PaddedRuns(n))]());
        while (leaves < n) leaves *= 2;
        cheapest.reset(new (std::nothrow) uint32_t[2 * static_cast<size_t>(leaves)]);
        cost.reset(new (std::nothrow) uint64_t[n]);
        partner.reset(new (std::nothrow) uint32_t[n]);
        parts.reset(new (std::nothrow) double[4 * static_cast<size_t>(Padded(n))]());
        return quick && boxParts && cheapest && cost && partner && parts;
    }
};

class Merger {
public:
    Merger(ColourCell* cells, MergeStore& store, uint32_t n)
        : cells_(cells), quick_(store.quick.get()), cost_(store.cost.get()),
          partner_(store.partner.get()), blue_(store.parts.get()), green_(blue_ + Padded(n)),
          red_(green_ + Padded(n)), count_(red_ + Padded(n)), n_(n) {
        const size_t runs = PaddedRuns(n);
        for (int a = 0; a < 3; ++a) {
            boxLo_[a] = store.boxParts.get() + a * runs;
            boxHi_[a] = store.boxParts.get() + (3 + a) * runs;
        }
        boxMin_ = store.boxParts.get() + 6 * runs;
        cheapest_ = store.cheapest.get();
        leaves_ = store.leaves;
        for (uint32_t i = 0; i < n; ++i) SetQuick(i, QuickOf(cells_[i]));
        for (uint32_t b = 0; b * kBlock < n; ++b) RefreshBox(b);
    }

    uint32_t Count() const { return n_; }

    // The best partner j > i: the smallest cost, the first one on ties. Two likely
    // partners (`hint` and `hint2`, when they are candidates at all) are worked out first,
    // so that the bound is tight from the start; after them a cell ahead of the partner
    // found so far is passed over only when it cannot even tie, so the ties still go to
    // the first. Then the cells are taken a run of kBlock at a time: the quick bound sorts
    // out a whole run against the best cost when the run began, and the few left have their
    // cost worked out in order. A cell passed over that way cannot win at its turn either
    // (the best only falls), so the partner is the one a cell-by-cell scan finds.
    void FindPartner(uint32_t i, uint32_t hint = kNoCell, uint32_t hint2 = kNoCell) {
        const ColourCell& cell = cells_[i];
        uint32_t j = i + 1;
        if (j >= n_) {
            SetLink(i, kNoCost, n_);
            return;
        }
        if (!mergeSkipsFarPairs) {
            uint64_t best = MergeCost(cell, cells_[j]);
            uint32_t partner = j++;
            for (; j < n_; ++j) {
                const uint64_t cost = MergeCost(cell, cells_[j]);
                if (cost < best) {
                    best = cost;
                    partner = j;
                }
            }
            SetLink(i, best, partner);
            return;
        }
        // Until a first cost is known there is no bound.
        uint64_t best = kNoCost;
        uint32_t partner = n_;
        for (const uint32_t h : {hint, hint2, j}) {
            if (h <= i || h >= n_ || h == partner || (h == j && partner != n_)) continue;
            const uint64_t cost = MergeCost(cell, cells_[h]);
            if (partner == n_ || cost < best || (cost == best && h < partner)) {
                best = cost;
                partner = h;
            }
        }
        const QuickCell quick = quick_[i];
        // The rest of the run holding j, then whole runs kChunk at a time: the run bound is
        // tested for all runs of a chunk at once, against the best when the chunk began, and
        // only the runs left are looked at cell by cell.
        if (j % kBlock != 0) {
            ScanRun(cell, quick, j / kBlock, j, &best, &partner);
            j = (j / kBlock + 1) * kBlock;
        }
        const uint32_t runs = (n_ + kBlock - 1) / kBlock;
        for (uint32_t run = j / kBlock; run < runs; run += kChunk) {
            // Cells ahead of the partner must cost more than the best to be passed over.
            const uint64_t bound = run * kBlock < partner ? best + 1 : best;
            int64_t far[kChunk];
            FarRuns(quick, run, bound, far);
            const uint32_t count = runs - run < kChunk ? runs - run : kChunk;
            for (uint32_t k = 0; k < count; ++k)
                if (!far[k]) ScanRun(cell, quick, run + k, (run + k) * kBlock, &best, &partner);
        }
        SetLink(i, best, partner);
    }

    // Stage 1: every cell's best partner. False when the user stopped it.
    bool LinkAll() {
        ShowQuantiseTitle("Entering Quantisation Stage 1");
        int shown = 0;
        for (uint32_t i = 0; i + 1 < n_; ++i) {
            HostPumpMessages();
            if (Aborted()) return false;
            const int percent = static_cast<int>(uint64_t{i} * 100 / (n_ - 1));
            if (percent > shown) {
                shown = percent;
                ShowQuantiseTitle(FormatText("Quantisation Stage 1: %d%%", percent));
            }
            // Neighbours in histogram order are near in colour: the partner of the cell
            // before is a likely one.
            FindPartner(i, i > 0 ? partner_[i - 1] : kNoCell);
        }
        cost_[n_ - 1] = kNoCost;
        partner_[n_ - 1] = n_;
        return true;
    }

    // Stage 2: merges the cheapest pair until `wanted` cells remain. False when stopped.
    bool Reduce(uint32_t wanted) {
        BuildCheapest();
        while (n_ > wanted) {
            HostPumpMessages();
            if (Aborted()) return false;
            ShowQuantiseTitle(FormatText("Stage 2: Reducing Colours %d Down to %d", static_cast<int>(n_),
                                         static_cast<int>(wanted)));
            MergeCheapest();
        }
        return true;
    }

private:
    // The cells `from` up to the end of run `run`, those that pass the quick bound in order.
    void ScanRun(const ColourCell& cell, const QuickCell& quick, uint32_t run, uint32_t from, uint64_t* best,
                 uint32_t* partner) const {
        const uint32_t base = run * kBlock;
        const uint32_t end = base + kBlock < n_ ? base + kBlock : n_;
        int64_t far[kBlock];
        FarRun(quick, base, base < *partner ? *best + 1 : *best, far);
        for (uint32_t at = from; at < end; ++at) {
            if (far[at - base]) continue;
            const uint64_t cost = MergeCost(cell, cells_[at]);
            if (cost < *best || (cost == *best && at < *partner)) {
                *best = cost;
                *partner = at;
            }
        }
    }

    // far[k] = BlockFarApart for quick and the box of run first + k, k < kChunk, worked out
    // the same way, two runs at a time (the box parts are padded to whole chunks).
    void FarRuns(const QuickCell& quick, uint32_t first, uint64_t best, int64_t* far) const {
        using Pair = double __attribute__((vector_size(16)));
        using Flags = int64_t __attribute__((vector_size(16)));
        const Pair v[3] = {{quick.b, quick.b}, {quick.g, quick.g}, {quick.r, quick.r}};
        const Pair n = {quick.count, quick.count};
        const Pair zero = {0, 0};
        const Pair bound = Pair{1, 1} * (static_cast<double>(best) + 2.0);
        for (uint32_t k = 0; k < kChunk; k += 2) {
            Pair d2 = zero;
            for (int a = 0; a < 3; ++a) {
                Pair lo, hi;
                std::memcpy(&lo, boxLo_[a] + first + k, sizeof lo);
                std::memcpy(&hi, boxHi_[a] + first + k, sizeof hi);
                const Pair below = lo - v[a], above = v[a] - hi;
                const Pair out = below > above ? below : above;
                const Pair e = out > zero ? out : zero;
                d2 += e * e;
            }
            Pair cn;
            std::memcpy(&cn, boxMin_ + first + k, sizeof cn);
            const Pair m = n < cn ? n : cn;
            const Pair t = bound + 3.47 * m;
            const Flags f = m * m * d2 > t * t * (1.0 + 1e-9);
            std::memcpy(far + k, &f, sizeof f);
        }
    }

    // far[k] = BeyondBound for quick and cell base + k, k < kBlock, worked out the same way.
    void FarRun(const QuickCell& quick, uint32_t base, uint64_t best, int64_t* far) const {
        using Pair = double __attribute__((vector_size(16)));
        using Flags = int64_t __attribute__((vector_size(16)));
        const Pair b = {quick.b, quick.b}, g = {quick.g, quick.g}, r = {quick.r, quick.r};
        const Pair n = {quick.count, quick.count};
        const Pair bound = Pair{1, 1} * (static_cast<double>(best) + 2.0);
        for (uint32_t k = 0; k < kBlock; k += 2) {
            Pair cb, cg, cr, cn;
            std::memcpy(&cb, blue_ + base + k, sizeof cb);
            std::memcpy(&cg, green_ + base + k, sizeof cg);
            std::memcpy(&cr, red_ + base + k, sizeof cr);
            std::memcpy(&cn, count_ + base + k, sizeof cn);
            const Pair dB = b - cb, dG = g - cg, dR = r - cr;
            const Pair m = n < cn ? n : cn;
            const Pair t = bound + 3.47 * m;
            const Flags f = m * m * (dB * dB + dG * dG + dR * dR) > t * t * (1.0 + 1e-9);
            std::memcpy(far + k, &f, sizeof f);
        }
    }

    void MergeCheapest() {
        const uint32_t idx = cheapest_[1];
        const uint32_t c = partner_[idx];
        const uint32_t cPartner = partner_[c];  // a likely partner for the merged cell
        ColourCell& into = cells_[c];
        into.sumB += cells_[idx].sumB;
        into.sumG += cells_[idx].sumG;
        into.sumR += cells_[idx].sumR;
        into.count += cells_[idx].count;
        SetMeans(into);
        SetQuick(c, QuickOf(into));

        // The last cell fills the hole; its old index n is now one past the end.
        --n_;
        const uint32_t n = n_;
        cells_[idx] = cells_[n];
        SetQuick(idx, quick_[n]);
        SetLink(idx, cost_[n], partner_[n]);
        Leave(n);
        RefreshBox(idx / kBlock);
        if (c < n) RefreshBox(c / kBlock);
        SetLink(n - 1, kNoCost, n);

        for (uint32_t i = 0; i < idx; ++i)
            if (partner_[i] == n) partner_[i] = idx;
        for (uint32_t i = idx + 1; i < n; ++i)
            if (partner_[i] == n) FindPartner(i, c);
        FindPartner(idx, c);
        for (uint32_t i = 0; i < idx; ++i)
            if (partner_[i] == idx) FindPartner(i, idx, c);
        TakeAsPartner(idx);
        if (c != n) {
            FindPartner(c, cPartner == n ? idx : cPartner);
            for (uint32_t i = 0; i < c; ++i)
                if (partner_[i] == c) FindPartner(i, c);
            TakeAsPartner(c);
        }
    }

    // Every cell before k takes k as its partner when that is cheaper than its own.
    void TakeAsPartner(uint32_t k) {
        if (!mergeSkipsFarPairs) {
            for (uint32_t i = 0; i < k; ++i) TryPartner(i, k);
            return;
        }
        // The quick bound against each cell's own cost, two cells at a time over a run,
        // then the cells left.
        using Pair = double __attribute__((vector_size(16)));
        using Flags = int64_t __attribute__((vector_size(16)));
        const QuickCell& q = quick_[k];
        const Pair b = {q.b, q.b}, g = {q.g, q.g}, r = {q.r, q.r}, n = {q.count, q.count};
        for (uint32_t base = 0; base < k; base += kBlock) {
            int64_t far[kBlock];
            for (uint32_t j = 0; j < kBlock; j += 2) {
                Pair cb, cg, cr, cn;
                std::memcpy(&cb, blue_ + base + j, sizeof cb);
                std::memcpy(&cg, green_ + base + j, sizeof cg);
                std::memcpy(&cr, red_ + base + j, sizeof cr);
                std::memcpy(&cn, count_ + base + j, sizeof cn);
                // Cells past the end read as no cost; they are not looked at.
                const uint64_t c0 = base + j < n_ ? cost_[base + j] : kNoCost;
                const uint64_t c1 = base + j + 1 < n_ ? cost_[base + j + 1] : kNoCost;
                const Pair bound = {static_cast<double>(c0) + 2.0, static_cast<double>(c1) + 2.0};
                const Pair dB = cb - b, dG = cg - g, dR = cr - r;
                const Pair m = cn < n ? cn : n;
                const Pair t = bound + 3.47 * m;
                const Flags f = m * m * (dB * dB + dG * dG + dR * dR) > t * t * (1.0 + 1e-9);
                std::memcpy(far + j, &f, sizeof f);
            }
            const uint32_t end = base + kBlock < k ? base + kBlock : k;
            for (uint32_t i = base; i < end; ++i)
                if (!far[i - base] || cost_[i] == kNoCost) TryPartner(i, k);
        }
    }

    void TryPartner(uint32_t i, uint32_t k) {
        const uint64_t cost = MergeCost(cells_[i], cells_[k]);
        if (cost < cost_[i]) {
            SetLink(i, cost, k);
        }
    }

    // The box of run b holds cells b x kBlock up to the next run (and the end): refreshed
    // whenever one of its cells changes, so it always contains all of them.
    void RefreshBox(uint32_t b) {
        BlockBox box{{HUGE_VAL, HUGE_VAL, HUGE_VAL}, {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL}, HUGE_VAL};
        const uint32_t end = (b + 1) * kBlock < n_ ? (b + 1) * kBlock : n_;
        for (uint32_t j = b * kBlock; j < end; ++j) AddToBox(&box, quick_[j]);
        for (int a = 0; a < 3; ++a) {
            boxLo_[a][b] = box.lo[a];
            boxHi_[a][b] = box.hi[a];
        }
        boxMin_[b] = box.minCount;
    }

    // The cheapest cell, the first on ties, kept in a tournament tree over the cells: leaf
    // i of `cheapest_` (at leaves_ + i) is cell i or kNoCell past the end, every node the
    // winner of its two children, node 1 the overall winner. Set up for stage 2; in stage 1
    // links only change one by one.
    void BuildCheapest() {
        for (uint32_t i = 0; i < leaves_; ++i) cheapest_[leaves_ + i] = i < n_ ? i : kNoCell;
        for (uint32_t k = leaves_ - 1; k >= 1; --k) cheapest_[k] = Winner(cheapest_[2 * k], cheapest_[2 * k + 1]);
        treeReady_ = true;
    }

    uint32_t Winner(uint32_t a, uint32_t b) const {
        if (a == kNoCell) return b;
        if (b == kNoCell) return a;
        return cost_[b] < cost_[a] ? b : a;  // a < b always: a comes from the left
    }

    void Replay(uint32_t i) {
        for (uint32_t k = (leaves_ + i) / 2; k >= 1; k /= 2) cheapest_[k] = Winner(cheapest_[2 * k], cheapest_[2 * k + 1]);
    }

    void SetLink(uint32_t i, uint64_t cost, uint32_t partner) {
        cost_[i] = cost;
        partner_[i] = partner;
        if (treeReady_) Replay(i);
    }

    // Cell i is past the end now.
    void Leave(uint32_t i) {
        cheapest_[leaves_ + i] = kNoCell;
        Replay(i);
    }

    void SetQuick(uint32_t i, const QuickCell& q) {
        quick_[i] = q;
        blue_[i] = q.b;
        green_[i] = q.g;
        red_[i] = q.r;
        count_[i] = q.count;
    }

    ColourCell* cells_;
    QuickCell* quick_;
    double* boxLo_[3];
    double* boxHi_[3];
    double* boxMin_;
    uint32_t* cheapest_;
    uint32_t leaves_;
    bool treeReady_ = false;
    uint64_t* cost_;
    uint32_t* partner_;
    double* blue_;
    double* green_;
    double* red_;
    double* count_;
    uint32_t n_;
};

}  // namespace

namespace {
ColourCell CellOf(const CellSums& s) {
    ColourCell c{};
    c.sumB = s.blue;
    c.sumG = s.green;
    c.sumR = s.red;
    c.count = s.count;
    SetMeans(c);
    return c;
}
}  // namespace

uint64_t MergePairCost(const CellSums& a, const CellSums& b) { return MergeCost(CellOf(a), CellOf(b)); }

bool MergePairRuledOut(const CellSums& a, const CellSums& b, uint64_t bound) {
    return FarApart(QuickOf(CellOf(a)), QuickOf(CellOf(b)), bound);
}

bool MergeRunRuledOut(const CellSums& a, const CellSums* run, int count, uint64_t bound) {
    BlockBox box{{HUGE_VAL, HUGE_VAL, HUGE_VAL}, {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL}, HUGE_VAL};
    for (int j = 0; j < count; ++j) AddToBox(&box, QuickOf(CellOf(run[j])));
    return BlockFarApart(QuickOf(CellOf(a)), box, bound);
}

namespace {

// The histogram cell of a pixel: blue's top six bits, green's and red's top five.
inline uint32_t CellKey(const uint8_t* p) { return (p[0] >> 2) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3); }

inline void AddPixel(ColourCell& cell, const uint8_t* p) {
    cell.sumB += static_cast<uint64_t>(p[0]) * 5 / 2;  // trunc(blue x 2.5)
    cell.sumG += p[1];
    cell.sumR += p[2];
    ++cell.count;
}

// Pictures with fewer pixels than this are counted by sorting their pixels, not in a table
// of every cell: zeroing and scanning 65,536 cells would take longer than the whole rest.
constexpr uint64_t kSortedCountLimit = kCellCount / 4;

// Counts the pixels into the cells they fill, in ascending cell order as the table scan
// gives them, with their means set, and sets *n to how many there are; null when memory
// runs out.
std::unique_ptr<ColourCell[]> CountCells(const PixelRows& pixels, uint32_t* n) {
    const uint64_t pixelCount = static_cast<uint64_t>(pixels.width) * static_cast<uint64_t>(pixels.height);
    *n = 0;
    if (mergeSortsSmallPictures && pixelCount < kSortedCountLimit) {
        // Each pixel as its cell key above its bytes, sorted: a cell's pixels lie together.
        std::unique_ptr<uint64_t[]> keys(new (std::nothrow) uint64_t[pixelCount + 1]);
        std::unique_ptr<ColourCell[]> cells(new (std::nothrow) ColourCell[pixelCount + 1]());
        if (!keys || !cells) return nullptr;
        size_t k = 0;
        for (int y = 0; y < pixels.height; ++y) {
            const uint8_t* p = pixels.Row(y);
            for (int x = 0; x < pixels.width; ++x, p += 3)
                keys[k++] = uint64_t{CellKey(p)} << 24 | uint64_t{p[0]} << 16 | uint64_t{p[1]} << 8 | p[2];
        }
        std::sort(keys.get(), keys.get() + k);
        for (size_t i = 0; i < k; ++i) {
            if (i > 0 && (keys[i] >> 24) != (keys[i - 1] >> 24)) ++*n;
            const uint8_t p[3] = {static_cast<uint8_t>(keys[i] >> 16), static_cast<uint8_t>(keys[i] >> 8),
                                  static_cast<uint8_t>(keys[i])};
            AddPixel(cells[*n], p);
        }
        if (k > 0) ++*n;
        for (uint32_t i = 0; i < *n; ++i) SetMeans(cells[i]);
        return cells;
    }
    std::unique_ptr<ColourCell[]> cells(new (std::nothrow) ColourCell[kCellCount]());
    if (!cells) return nullptr;
    for (int y = 0; y < pixels.height; ++y) {
        const uint8_t* p = pixels.Row(y);
        for (int x = 0; x < pixels.width; ++x, p += 3) AddPixel(cells[CellKey(p)], p);
    }
    for (uint32_t i = 0; i < kCellCount; ++i) {
        if (cells[i].count == 0) continue;
        cells[*n] = cells[i];
        SetMeans(cells[*n]);
        ++*n;
    }
    return cells;
}

}  // namespace

int MergeQuantise(const PixelRows& pixels, int wanted, Palette* palette, uint8_t* indices) {
    uint32_t n = 0;
    std::unique_ptr<ColourCell[]> cells = CountCells(pixels, &n);
    if (!cells) return QUANT_INIT_FAILED;
    Tables();

    MergeStore store;
    if (!store.Allocate(n)) return QUANT_INIT_FAILED;
    Merger merger(cells.get(), store, n);
    if (!merger.LinkAll()) return QUANT_USER_ABORT;
    if (!merger.Reduce(static_cast<uint32_t>(wanted))) return QUANT_USER_ABORT;

    palette->count = static_cast<int>(merger.Count());
    for (int i = 0; i < palette->count; ++i) {
        const ColourCell& cell = cells[i];
        const double count = cell.count;
        const long long blue = TruncNear((static_cast<double>(cell.sumB) / 2.5 + (cell.count / 2)) / count);
        const uint64_t n64 = cell.count;
        palette->blue[i] = static_cast<uint8_t>(blue > 255 ? 255 : blue);
        palette->green[i] = static_cast<uint8_t>((cell.sumG + n64 / 2) / n64);
        palette->red[i] = static_cast<uint8_t>((cell.sumR + n64 / 2) / n64);
    }
    return MapSerpentine(pixels, *palette, indices);
}

}  // namespace quant
