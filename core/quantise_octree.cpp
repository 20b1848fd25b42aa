// Method '2': the octree quantiser (its messages call it DCQ). A histogram of 15-bit cells
// forms the leaves of a six-level octree; the smallest subtrees are folded into their
// parents until at most the wanted number of colours remain.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "base/appstate.h"
#include "core/quantise.h"
#include "core/quantise_internal.h"
#include "base/text.h"

namespace quant {
namespace {

constexpr int kLevels = 6;
constexpr int kLeafLevel = kLevels - 1;
constexpr int kLeafCount = 32768;

struct OctreeNode {
    // Sums of blue, green and red over the node's pixels (leaves: cell centre x count).
    // 64 bits: a picture of a billion pixels of one colour overflows 32.
    uint64_t sum0;
    uint64_t sum1;
    uint64_t sum2;
    uint32_t count;         // pixels this node stands for itself
    uint32_t subtreeCount;  // pixels in the whole subtree, fixed after the build: the heap key
    uint8_t childMask;      // bit n set while child n is still a colour of its own
};

struct HeapEntry {
    uint32_t key;  // the node's subtreeCount
    uint16_t index;
    uint8_t level;
};

// A 1-based binary min-heap on subtreeCount. The right child is taken only when strictly
// smaller, and an entry stops on an equal key, so equal counts keep their order.
struct PruneHeap {
    std::unique_ptr<HeapEntry[]> entries;
    int size = 0;

    void SiftDown(int pos) {
        const HeapEntry moving = entries[pos];
        for (;;) {
            int child = 2 * pos;
            if (child > size) break;
            if (child + 1 <= size && entries[child + 1].key < entries[child].key) ++child;
            if (entries[child].key >= moving.key) break;
            entries[pos] = entries[child];
            pos = child;
        }
        entries[pos] = moving;
    }
};

// The animation builder writes its own titles while it runs.
void OctreeTitle(const std::string& text) {
    if (EditState != EDIT_WRITING_ANIMATION) ShowQuantiseTitle(text);
}

// Cell centre of one component from a leaf code: the five code bits of the component
// (the highest at `top`, every third bit below it) with bits 2..0 set to 4.
int CellCentre(uint32_t code, int top) {
    int v = 0;
    for (int k = 0; k < 5; ++k) v = v << 1 | static_cast<int>((code >> (top - 3 * k)) & 1);
    return (v << 3) + 4;
}

// Gives palette indices in a walk from the root, children from 7 down to 0 before the node.
void EmitPalette(OctreeNode* const* levels, int level, uint32_t index, Palette* palette) {
    OctreeNode& node = levels[level][index];
    if (level < kLeafLevel) {
        for (int child = 7; child >= 0; --child)
            if (node.childMask & (1u << child)) EmitPalette(levels, level + 1, 8 * index + child, palette);
    }
    if (node.count > 0 && palette->count < 256) {
        const uint64_t n = node.count;
        const int i = palette->count++;
        palette->blue[i] = static_cast<uint8_t>((node.sum0 + n / 2) / n);
        palette->green[i] = static_cast<uint8_t>((node.sum1 + n / 2) / n);
        palette->red[i] = static_cast<uint8_t>((node.sum2 + n / 2) / n);
    }
}

// The nodes of all six levels, allocated and zeroed once per process and handed back
// zeroed after each run: only the nodes a run touched (its leaves and their ancestors)
// are cleared, so a small picture does not pay for the whole 1.5 MB tree.
class OctreeStore {
public:
    // Null when the tree cannot be allocated.
    static OctreeStore* Get() {
        static OctreeStore store;
        if (!store.nodes_) {
            size_t total = 0;
            for (int d = 0; d < kLevels; ++d) total += size_t{1} << (3 * d);
            store.nodes_.reset(new (std::nothrow) OctreeNode[total]());
            if (!store.nodes_) return nullptr;
            size_t at = 0;
            for (int d = 0; d < kLevels; ++d) {
                store.levels_[d] = store.nodes_.get() + at;
                at += size_t{1} << (3 * d);
            }
        }
        return &store;
    }
    OctreeNode** Levels() { return levels_; }
    // Zeroes the given leaves and every ancestor of theirs.
    void Clear(const uint16_t* codes, int count) {
        for (int i = 0; i < count; ++i) {
            uint32_t n = codes[i];
            for (int d = kLeafLevel; d >= 0; --d, n >>= 3) levels_[d][n] = OctreeNode{};
        }
    }

private:
    std::unique_ptr<OctreeNode[]> nodes_;
    OctreeNode* levels_[kLevels] = {};
};

// Pictures with fewer pixels than this find their filled leaves by sorting the pixels'
// codes rather than by looking at all 32,768 leaves.
constexpr uint64_t kSortedLeavesLimit = kLeafCount / 4;

}  // namespace

int OctreeQuantise(const PixelRows& pixels, int wanted, Palette* palette, uint8_t* indices) {
    OctreeTitle("Quantisation Initialisation");
    const SharedTables& tables = Tables();

    OctreeStore* store = OctreeStore::Get();
    if (!store) return QUANT_DCQ_START;
    OctreeNode** levels = store->Levels();

    OctreeTitle("Building Quantisation Table");
    PruneHeap heap;
    heap.entries.reset(new (std::nothrow) HeapEntry[kLeafCount + 1]);
    const uint64_t pixelCount = static_cast<uint64_t>(pixels.width) * static_cast<uint64_t>(pixels.height);
    const size_t codeSlots = pixelCount < kSortedLeavesLimit ? static_cast<size_t>(pixelCount) : size_t{kLeafCount};
    std::unique_ptr<uint16_t[]> codes(new (std::nothrow) uint16_t[codeSlots + 1]);
    if (!heap.entries || !codes) return QUANT_DCQ_TABLE;
    OctreeNode* leaves = levels[kLeafLevel];
    int filled = 0;
    for (int y = 0; y < pixels.height; ++y) {
        const uint8_t* p = pixels.Row(y);
        for (int x = 0; x < pixels.width; ++x, p += 3) {
            const int code = tables.code0[p[0]] + tables.code1[p[1]] + tables.code2[p[2]];
            ++leaves[code].count;
            if (codeSlots < kLeafCount) codes[filled++] = static_cast<uint16_t>(code);
        }
    }
    // The filled leaves in ascending order of code, as the heap is built from them.
    if (codeSlots < kLeafCount) {
        std::sort(codes.get(), codes.get() + filled);
        filled = static_cast<int>(std::unique(codes.get(), codes.get() + filled) - codes.get());
    } else {
        for (uint32_t code = 0; code < kLeafCount; ++code)
            if (leaves[code].count != 0) codes[filled++] = static_cast<uint16_t>(code);
    }
    // Whatever way this run ends, the tree goes back zeroed.
    struct Clearer {
        OctreeStore* store;
        const uint16_t* codes;
        int count;
        ~Clearer() { store->Clear(codes, count); }
    } clearer{store, codes.get(), filled};

    for (int i = 0; i < filled; ++i) {
        const uint32_t code = codes[i];
        OctreeNode& leaf = leaves[code];
        ++heap.size;
        heap.entries[heap.size] = HeapEntry{leaf.count, static_cast<uint16_t>(code), kLeafLevel};
        leaf.subtreeCount = leaf.count;
        leaf.sum0 = uint64_t{leaf.count} * static_cast<uint64_t>(CellCentre(code, 14));
        leaf.sum1 = uint64_t{leaf.count} * static_cast<uint64_t>(CellCentre(code, 13));
        leaf.sum2 = uint64_t{leaf.count} * static_cast<uint64_t>(CellCentre(code, 12));
        uint32_t n = code;
        for (int d = kLeafLevel - 1; d >= 0; --d) {
            OctreeNode& ancestor = levels[d][n >> 3];
            ancestor.subtreeCount += leaf.count;
            ancestor.childMask = static_cast<uint8_t>(ancestor.childMask | 1u << (n & 7));
            n >>= 3;
        }
    }
    for (int pos = heap.size; pos >= 1; --pos) heap.SiftDown(pos);

    const int64_t cellsAtStart = heap.size;
    int shownPercent = 0;
    while (heap.size > wanted) {
        const HeapEntry top = heap.entries[1];
        // The root holds every pixel: with two or more colours wanted it is never on top.
        if (top.level == 0) break;
        const int parentLevel = top.level - 1;
        const uint32_t parentIndex = top.index >> 3u;
        OctreeNode& node = levels[top.level][top.index];
        OctreeNode& parent = levels[parentLevel][parentIndex];
        if (parent.count != 0) {
            // The parent already stands for a colour of its own and is in the heap.
            heap.entries[1] = heap.entries[heap.size];
            --heap.size;
        } else {
            heap.entries[1] = HeapEntry{parent.subtreeCount, static_cast<uint16_t>(parentIndex),
                                        static_cast<uint8_t>(parentLevel)};
        }
        parent.count += node.count;
        parent.sum0 += node.sum0;
        parent.sum1 += node.sum1;
        parent.sum2 += node.sum2;
        parent.childMask = static_cast<uint8_t>(parent.childMask & ~(1u << (top.index & 7u)));
        heap.SiftDown(1);
        const int percent = static_cast<int>(10 * (10 * (cellsAtStart - heap.size) / cellsAtStart));
        if (percent > shownPercent) {
            shownPercent = percent;
            OctreeTitle(FormatText("Quantisation: %d%%", percent));
        }
    }

    palette->count = 0;
    EmitPalette(levels, 0, 0, palette);

    OctreeTitle("Quantising Image");
    return MapSerpentine(pixels, *palette, indices);
}

}  // namespace quant
