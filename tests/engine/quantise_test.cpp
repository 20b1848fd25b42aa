// Colour reduction: the fixed-palette method, the octree and merging quantisers, the
// serpentine mapping, the packed result, progress titles, Escape and the menu command.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "core/current_image.h"
#include "platform/native/host_native.h"
#include "core/quantise.h"
#include "core/quantise_internal.h"
#include "core/title.h"
#include "test_support.h"
#include "edit/colour_depth.h"

namespace {

struct Bgr {
    int b, g, r;
};

// A 24-bit picture; `colour(x, y)` gives the pixel of column x in storage row y.
CDib MakePicture(int w, int h, const std::function<Bgr(int, int)>& colour) {
    CDib d;
    d.Create(w, h, 24);
    std::memset(d.bits, 0, d.imageSize);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Bgr c = colour(x, y);
            uint8_t* p = d.Row(y) + 3 * x;
            p[0] = static_cast<uint8_t>(c.b);
            p[1] = static_cast<uint8_t>(c.g);
            p[2] = static_cast<uint8_t>(c.r);
        }
    return d;
}

CDib Flat(int w, int h, Bgr c) {
    return MakePicture(w, h, [c](int, int) { return c; });
}

Bgr Grey(int v) { return Bgr{v, v, v}; }

// Smooth gradients with noise: thousands of distinct colours, like a photograph.
CDib Varied(int w, int h) {
    return MakePicture(w, h, [](int x, int y) {
        uint32_t s = static_cast<uint32_t>(x * 73856093u ^ y * 19349663u);
        s = s * 1103515245u + 12345u;
        int noise = static_cast<int>((s >> 16) % 41) - 20;
        auto c = [](int v) { return std::min(255, std::max(0, v)); };
        return Bgr{c(x * 4 + noise), c(y * 4 - noise / 2), c((x + y) * 2 + noise)};
    });
}

// The result block as it is handed to writers.
struct Block {
    const uint8_t* info;
    const DibHeader* Header() const { return reinterpret_cast<const DibHeader*>(info); }
    int Bits() const { return Header()->biBitCount; }
    const uint8_t* Table() const { return info + 40; }
    Bgr Entry(int i) const { return Bgr{Table()[4 * i], Table()[4 * i + 1], Table()[4 * i + 2]}; }
    uint64_t RowBytes() const { return DibRowBytes(static_cast<uint64_t>(Header()->biWidth), Bits()); }
    const uint8_t* Pixels() const { return Table() + 4 * Header()->biClrUsed; }
    int Index(int x, int y) const {
        const uint8_t* row = Pixels() + RowBytes() * static_cast<uint64_t>(y);
        switch (Bits()) {
            case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
            case 4: return x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
            default: return row[x];
        }
    }
    Bgr Colour(int x, int y) const { return Entry(Index(x, y)); }
};

// The size part of the title: "(WxHxbits)".
std::string FormatSize(int w, int h, int bits) {
    return "(" + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bits) + ")";
}

bool Same(const Bgr& a, const Bgr& b) { return a.b == b.b && a.g == b.g && a.r == b.r; }

::testing::AssertionResult EntryIs(const Block& block, int i, Bgr want) {
    Bgr e = block.Entry(i);
    if (Same(e, want)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "entry " << i << " is (" << e.b << "," << e.g << "," << e.r
                                         << "), want (" << want.b << "," << want.g << "," << want.r << ")";
}

const uint8_t kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21},
};

class QuantiseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        ditherMethod = '2';
    }
    void TearDown() override {
        NativeHostOnPump = nullptr;
        quant::mergeSkipsFarPairs = true;
        quant::mergeSortsSmallPictures = true;
        ReleaseQuantisedImage();
        ditherMethod = '2';
        saveDepth = 24;
        ResetEngineState();
    }
    Block Run(char method, int bits, CDib& picture) {
        ditherMethod = method;
        const uint8_t* info = QuantiseImage(bits, picture);
        EXPECT_NE(info, nullptr) << method << " at " << bits << " bits";
        return Block{info};
    }
    // The whole block a reduction of a copy of `picture` gives: palette and indices.
    std::vector<uint8_t> Reduced(char method, int bits, const CDib& picture) {
        CDib copy = picture;
        Block b = Run(method, bits, copy);
        return std::vector<uint8_t>(b.info, b.info + quantisedImage.blockSize);
    }
    static int CountTitles(const std::string& prefix) {
        return static_cast<int>(std::count_if(NativeHost.titles.begin(), NativeHost.titles.end(),
                                              [&](const std::string& t) { return t.rfind(prefix, 0) == 0; }));
    }
};

// --- method '1': fixed palettes ---

TEST_F(QuantiseTest, OrderedGreyFollowsTheMatrixByStorageRow) {
    // Grey 0 is black everywhere.
    CDib black = Flat(16, 16, Grey(0));
    Block b = Run('1', 1, black);
    EXPECT_TRUE(EntryIs(b, 0, Grey(0)));
    EXPECT_TRUE(EntryIs(b, 1, Grey(255)));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(b.Index(x, y), 0);

    // White: c = 63, so only where the matrix holds 63 (row 7, column 0) stays black.
    CDib white = Flat(16, 16, Grey(255));
    b = Run('1', 1, white);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(b.Index(x, y), y % 8 == 7 && x % 8 == 0 ? 0 : 1) << x << "," << y;

    // Red 90 alone is grey 27; the stretch makes that exactly 32 (c = 8), even though the
    // running sum of 27 steps of 32/27 lands a hair below 32.
    CDib dim = Flat(11, 9, Bgr{0, 0, 90});
    b = Run('1', 1, dim);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 11; ++x) ASSERT_EQ(b.Index(x, y), kBayer[y % 8][x % 8] < 8 ? 1 : 0) << x << "," << y;
    // Grey 100 (30 + 59 + 11): stretched to 118, c = 29.
    CDib mid = Flat(9, 10, Grey(100));
    b = Run('1', 1, mid);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(b.Index(x, y), kBayer[y % 8][x % 8] < 29 ? 1 : 0) << x << "," << y;
}

TEST_F(QuantiseTest, OrderedColourIndexesTheMatrixColumnFirst) {
    CDib pic = Flat(9, 10, Bgr{255, 0, 100});
    Block b = Run('1', 4, pic);
    ASSERT_EQ(b.Bits(), 4);
    const Bgr primaries[8] = {{0, 0, 0},     {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
                              {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(EntryIs(b, i, primaries[i % 8]));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 9; ++x) {
            // Blue 255 beats every threshold; red 100 only thresholds below 100.
            int want = 4 | (4 * kBayer[x % 8][y % 8] < 100 ? 1 : 0);
            ASSERT_EQ(b.Index(x, y), want) << x << "," << y;
        }
}

TEST_F(QuantiseTest, Diffuse332DarkestEntryAndDiffusionDirection) {
    CDib black = Flat(5, 3, Grey(0));
    Block b = Run('1', 8, black);
    EXPECT_TRUE(EntryIs(b, 0, Bgr{64, 32, 32}));  // no pure black in this palette
    EXPECT_TRUE(EntryIs(b, 255, Bgr{255, 255, 255}));
    EXPECT_TRUE(EntryIs(b, 32 + 8 + 2, Bgr{192, 96, 64}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(b.Index(x, y), 0);

    // Red 40 is level 64 (index 32), error (40 - 64) >> 4 = -2: the next pixel along the row
    // gets 7 x -2 and drops to level 32.
    CDib row = Flat(2, 1, Bgr{0, 0, 40});
    b = Run('1', 8, row);
    EXPECT_EQ(b.Index(0, 0), 32);
    EXPECT_EQ(b.Index(1, 0), 0);
    // Rows run upward in storage order: row 0 first, its 5 x -2 pushes row 1 down.
    CDib column = Flat(1, 2, Bgr{0, 0, 40});
    b = Run('1', 8, column);
    EXPECT_EQ(b.Index(0, 0), 32);
    EXPECT_EQ(b.Index(0, 1), 0);
}

// --- method '2': octree ---

TEST_F(QuantiseTest, OctreeKeepsFewColoursAndEmitsChildrenFromSevenDown) {
    // Three cell centres (each component 4 mod 8): no pruning, every pixel keeps its colour.
    const Bgr colours[3] = {{4, 4, 4}, {252, 252, 252}, {100, 20, 180}};
    CDib pic = MakePicture(7, 5, [&](int x, int y) { return colours[(x + 2 * y) % 3]; });
    Block b = Run('2', 8, pic);
    ASSERT_EQ(b.Bits(), 8);
    // The walk visits child 7 (blue, green, red high) first: brightest first.
    EXPECT_TRUE(EntryIs(b, 0, colours[1]));
    EXPECT_TRUE(EntryIs(b, 1, colours[2]));
    EXPECT_TRUE(EntryIs(b, 2, colours[0]));
    for (int i = 3; i < 256; ++i) ASSERT_TRUE(EntryIs(b, i, Bgr{0, 0, 0}));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_TRUE(Same(b.Colour(x, y), colours[(x + 2 * y) % 3])) << x << "," << y;
}

TEST_F(QuantiseTest, OctreePrunesTheSmallestSubtreeIntoItsParent) {
    // 15 separate colours of 20 pixels, and two neighbouring cells of one pixel each that
    // share a parent: one prune folds them into the parent, whose colour is their mean.
    std::vector<Bgr> pixels;
    for (int i = 0; i < 15; ++i)
        for (int k = 0; k < 20; ++k) pixels.push_back(Bgr{4 + 16 * i, 252 - 16 * i, 132});
    pixels.push_back(Bgr{4, 4, 4});
    pixels.push_back(Bgr{4, 4, 12});
    CDib pic = MakePicture(static_cast<int>(pixels.size()), 1, [&](int x, int) { return pixels[x]; });
    Block b = Run('2', 4, pic);
    std::vector<std::string> entries;
    bool merged = false, original = false;
    for (int i = 0; i < 16; ++i) {
        merged |= Same(b.Entry(i), Bgr{4, 4, 8});
        original |= Same(b.Entry(i), Bgr{4, 4, 4}) || Same(b.Entry(i), Bgr{4, 4, 12});
    }
    EXPECT_TRUE(merged);
    EXPECT_FALSE(original);
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(Same(b.Colour(20 * i, 0), pixels[20 * i])) << i;
}

TEST_F(QuantiseTest, SerpentineMappingRunsOddRowsRightToLeft) {
    // Two cells, greys 6 and 7 (centre 4) and grey 12, so the palette is {12, 4}. Row 0 runs
    // left to right: the 6 passes (7 x 2 + 8) >> 4 = 1 on and the 7 after it becomes 8, cell
    // 12. Row 1 runs right to left and the +3 errors pile up on its leftmost pixel.
    const int rows[2][4] = {{6, 7, 12, 12}, {7, 7, 7, 7}};
    CDib pic = MakePicture(4, 2, [&](int x, int y) { return Grey(rows[y][x]); });
    Block b = Run('2', 8, pic);
    EXPECT_TRUE(EntryIs(b, 0, Grey(12)));
    EXPECT_TRUE(EntryIs(b, 1, Grey(4)));
    const int want[2][4] = {{1, 0, 0, 0}, {0, 1, 1, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(b.Index(x, y), want[y][x]) << x << "," << y;
}

TEST_F(QuantiseTest, OctreeProgressTitles) {
    CDib pic = Varied(40, 30);
    Run('2', 4, pic);
    const std::vector<std::string>& t = NativeHost.titles;
    ASSERT_GE(t.size(), 5u);
    EXPECT_EQ(t[0], "Quantisation Initialisation");
    EXPECT_EQ(t[1], "Building Quantisation Table");
    // Pruning shows whole tens, rising, ending at 90% (16 of many cells remain).
    std::vector<std::string> percents(t.begin() + 2, t.end() - 2);
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), "Quantisation: 90%");
    for (size_t i = 0; i < percents.size(); ++i)
        EXPECT_EQ(percents[i], "Quantisation: " + std::to_string(90 - 10 * (percents.size() - 1 - i)) + "%");
    EXPECT_EQ(t[t.size() - 2], "Quantising Image");
    EXPECT_NE(t.back().find("(40x30x4)"), std::string::npos) << t.back();

    // While an animation is written its frames are reduced without progress titles.
    NativeHostReset();
    EditState = EDIT_WRITING_ANIMATION;
    Run('2', 4, pic);
    EXPECT_TRUE(NativeHost.titles.empty());
}

// --- methods '2' and '3' ---

TEST_F(QuantiseTest, AdaptiveOneBitIsPureBlackAndWhite) {
    CDib pic = Varied(50, 40);
    for (char method : {'2', '3'}) {
        Block b = Run(method, 1, pic);
        Bgr e0 = b.Entry(0), e1 = b.Entry(1);
        EXPECT_TRUE((Same(e0, Grey(0)) && Same(e1, Grey(255))) || (Same(e0, Grey(255)) && Same(e1, Grey(0))))
            << method;
        // The dark corner (storage row 0 is the bottom, x small) ends up black.
        int black = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) black += Same(b.Colour(x, y), Grey(0));
        EXPECT_EQ(black, 16) << method;
    }
    // A single colour has nothing to compare with: dark turns black, light white.
    for (char method : {'2', '3'}) {
        CDib dark = Flat(6, 3, Grey(0));
        EXPECT_TRUE(Same(Run(method, 1, dark).Colour(5, 2), Grey(0))) << method;
        CDib darkish = Flat(6, 3, Bgr{60, 200, 100});
        EXPECT_TRUE(Same(Run(method, 1, darkish).Colour(0, 0), Grey(0))) << method;
        CDib light = Flat(6, 3, Bgr{200, 120, 120});
        EXPECT_TRUE(Same(Run(method, 1, light).Colour(3, 1), Grey(255))) << method;
    }
}

TEST_F(QuantiseTest, EveryMethodStaysWithinTheColourBudgetAndLaysOutTheBlock) {
    const int w = 45, h = 37;
    for (char method : {'1', '2', '3'})
        for (int bits : {1, 4, 8}) {
            CDib pic = Varied(w, h);
            Block b = Run(method, bits, pic);
            if (b.info == nullptr) continue;
            const DibHeader* hdr = b.Header();
            EXPECT_EQ(hdr->biSize, 40u);
            EXPECT_EQ(hdr->biWidth, w);
            EXPECT_EQ(hdr->biHeight, h);
            EXPECT_EQ(hdr->biBitCount, bits);
            EXPECT_EQ(hdr->biClrUsed, 1u << bits);
            EXPECT_EQ(hdr->biSizeImage, b.RowBytes() * h);
            EXPECT_EQ(quantisedImage.blockSize, 40 + 4 * (1u << bits) + hdr->biSizeImage);
            std::set<uint32_t> used;
            int highest = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    Bgr c = b.Colour(x, y);
                    used.insert(static_cast<uint32_t>(c.b << 16 | c.g << 8 | c.r));
                    highest = std::max(highest, b.Index(x, y));
                }
            EXPECT_LE(used.size(), 1u << bits) << method << bits;
            EXPECT_GE(used.size(), bits == 1 ? 2u : bits == 4 ? 4u : 32u) << method << bits;
            for (uint32_t i = 0; i < (1u << bits); ++i) EXPECT_EQ(b.Table()[4 * i + 3], 0) << i;
            if (method != '1') {
                // Adaptive palettes fill from entry 0; the entries after the last used are black.
                for (int i = highest + 1; i < (1 << bits); ++i) ASSERT_TRUE(EntryIs(b, i, Bgr{0, 0, 0}));
            }
            // The title names the new depth.
            EXPECT_NE(NativeHost.titles.back().find(FormatSize(w, h, bits)), std::string::npos);
        }
}

// --- method '3': merging ---

TEST_F(QuantiseTest, MergingJoinsTheCheapestPair) {
    // Fifteen far-apart colours of two pixels, and two close cells: three pixels of grey 100
    // and one with red 108. Merging those two costs 2 x 3 + 6 x 1 = 12, far below any other
    // pair, so they become one entry: red (300 + 108 + 2) / 4 = 102.
    std::vector<Bgr> pixels;
    const int reds[5] = {0, 64, 128, 192, 248}, greens[3] = {0, 128, 248};
    std::vector<Bgr> far;
    for (int g : greens)
        for (int r : reds) far.push_back(Bgr{0, g, r});
    for (const Bgr& c : far) pixels.insert(pixels.end(), 2, c);
    pixels.insert(pixels.end(), 3, Grey(100));
    pixels.push_back(Bgr{100, 100, 108});
    CDib pic = MakePicture(static_cast<int>(pixels.size()), 1, [&](int x, int) { return pixels[x]; });
    Block b = Run('3', 4, pic);
    // Cells stay in histogram order (blue is the highest part): the far colours first, by
    // green then red; the merged cell takes the place of the first of the pair.
    std::vector<Bgr> order;
    for (int g : greens)
        for (int r : reds) order.push_back(Bgr{0, g, r});
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(EntryIs(b, i, order[i]));
    EXPECT_TRUE(EntryIs(b, 15, Bgr{100, 100, 102}));
    for (int x = 30; x < 34; ++x) EXPECT_EQ(b.Index(x, 0), 15) << x;
}

TEST_F(QuantiseTest, MergingTakesTheFirstPartnerOnTies) {
    // Grey 100 is as far from red 108 as from green 108 (cost 4 + 4 each); the red one comes
    // first in histogram order, so it is the one merged; the last cell (green 108) moves into
    // the place grey 100 leaves.
    std::vector<Bgr> pixels;
    const int reds[5] = {0, 64, 128, 192, 248}, greens[3] = {0, 128, 248};
    for (int g : greens)
        for (int r : reds)
            if (pixels.size() < 28) pixels.insert(pixels.end(), 2, Bgr{0, g, r});
    pixels.push_back(Grey(100));
    pixels.push_back(Bgr{100, 100, 108});
    pixels.push_back(Bgr{100, 108, 100});
    CDib pic = MakePicture(static_cast<int>(pixels.size()), 1, [&](int x, int) { return pixels[x]; });
    Block b = Run('3', 4, pic);
    EXPECT_TRUE(EntryIs(b, 14, Bgr{100, 108, 100}));
    EXPECT_TRUE(EntryIs(b, 15, Bgr{100, 100, 104}));
}

// The merging quantiser done the slow way: every step recomputes every cell's best partner
// from scratch. The real one repairs only the links a merge touched; both must agree.
std::vector<Bgr> MergeFromScratch(const CDib& pic, size_t wanted) {
    struct Cell {
        int64_t s[3];
        int64_t n;
    };
    std::vector<Cell> cells(65536, Cell{{0, 0, 0}, 0});
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const uint8_t* p = pic.Row(y) + 3 * x;
            Cell& c = cells[(p[0] >> 2) << 10 | (p[1] >> 3) << 5 | (p[2] >> 3)];
            c.s[0] += p[0] * 5 / 2;
            c.s[1] += p[1];
            c.s[2] += p[2];
            ++c.n;
        }
    cells.erase(std::remove_if(cells.begin(), cells.end(), [](const Cell& c) { return c.n == 0; }), cells.end());
    auto cost = [](const Cell& a, const Cell& b) {
        const int64_t n = a.n + b.n;
        int64_t da = 0, db = 0;
        for (int k = 0; k < 3; ++k) {
            const int64_t m = (a.s[k] + b.s[k] + n / 2) / n;
            const int64_t ma = (a.s[k] + a.n / 2) / a.n, mb = (b.s[k] + b.n / 2) / b.n;
            da += (m - ma) * (m - ma);
            db += (mb - m) * (mb - m);
        }
        return static_cast<uint64_t>(std::sqrt(static_cast<double>(da)) * a.n) +
               static_cast<uint64_t>(std::sqrt(static_cast<double>(db)) * b.n);
    };
    while (cells.size() > wanted) {
        size_t bestI = 0, bestJ = 1;
        uint64_t best = UINT64_MAX;
        for (size_t i = 0; i + 1 < cells.size(); ++i) {
            size_t partner = i + 1;
            uint64_t own = cost(cells[i], cells[i + 1]);
            for (size_t j = i + 2; j < cells.size(); ++j) {
                uint64_t c = cost(cells[i], cells[j]);
                if (c < own) own = c, partner = j;
            }
            if (own < best) best = own, bestI = i, bestJ = partner;
        }
        for (int k = 0; k < 3; ++k) cells[bestJ].s[k] += cells[bestI].s[k];
        cells[bestJ].n += cells[bestI].n;
        cells[bestI] = cells.back();
        cells.pop_back();
    }
    std::vector<Bgr> palette;
    for (const Cell& c : cells)
        palette.push_back(Bgr{static_cast<int>((c.s[0] / 2.5 + c.n / 2) / c.n), static_cast<int>((c.s[1] + c.n / 2) / c.n),
                              static_cast<int>((c.s[2] + c.n / 2) / c.n)});
    return palette;
}

TEST_F(QuantiseTest, MergingRepairsAgreeWithRecomputingEverything) {
    // Colours in clusters, so that merges touch many partner links. (Cells of one pixel
    // each: costs rarely tie, so the order of equal choices does not come into it.)
    CDib pic = MakePicture(23, 19, [](int x, int y) {
        uint32_t s = static_cast<uint32_t>(x * 2654435761u ^ y * 40503u) * 2246822519u;
        int cluster = static_cast<int>(s >> 29);
        int jitter = static_cast<int>((s >> 8) % 37);
        return Bgr{(cluster * 37 + jitter * 3) % 256, (cluster * 91 + jitter * 5) % 256, (cluster * 53 + jitter) % 256};
    });
    for (int bits : {4, 8}) {
        std::vector<Bgr> want = MergeFromScratch(pic, static_cast<size_t>(1) << bits);
        Block b = Run('3', bits, pic);
        for (size_t i = 0; i < want.size(); ++i) ASSERT_TRUE(EntryIs(b, static_cast<int>(i), want[i])) << bits;
    }
}

TEST_F(QuantiseTest, MergingSkipsOnlyPairsThatCannotWin) {
    // Smooth gradients with noise: near and far cells of very different pixel counts. The
    // result with the quick bounds must be the result without them, byte for byte.
    for (CDib pic : {Varied(64, 48)})
        for (int bits : {4, 8}) {
            quant::mergeSkipsFarPairs = false;
            const std::vector<uint8_t> want = Reduced('3', bits, pic);
            quant::mergeSkipsFarPairs = true;
            ASSERT_EQ(Reduced('3', bits, pic), want) << bits;
        }
}

TEST_F(QuantiseTest, OctreeRunsLeaveNoTraceForTheNextPicture) {
    // The octree's nodes are kept between runs and cleared where a run touched them: a
    // picture gives the same result before and after others, small ones (whose leaves are
    // found by sorting) and large ones (found by a scan of every leaf) alike.
    const CDib pictures[] = {Varied(20, 15), Varied(128, 96), Flat(3, 2, Grey(77))};
    std::vector<std::vector<uint8_t>> first;
    for (int round = 0; round < 2; ++round)
        for (size_t i = 0; i < 3; ++i)
            for (int bits : {4, 8}) {
                CDib pic = pictures[i];
                Block b = Run('2', bits, pic);
                std::vector<uint8_t> got(b.info, b.info + quantisedImage.blockSize);
                ReleaseQuantisedImage();
                if (round == 0)
                    first.push_back(got);
                else
                    ASSERT_EQ(got, first[2 * i + (bits == 8)]) << i << " at " << bits;
            }
}

TEST_F(QuantiseTest, MergingCountsSmallPicturesAsTheFullTableDoes) {
    // Small pictures are counted by sorting their pixels: the cells, and so the palette
    // and every index, must be those of the table of all cells. One pixel, one colour in
    // many pixels, and many cells of few pixels each.
    for (CDib pic : {Flat(1, 1, Bgr{9, 200, 31}), Flat(40, 30, Bgr{255, 0, 128}), Varied(64, 48)})
        for (int bits : {1, 4, 8}) {
            quant::mergeSortsSmallPictures = false;
            const std::vector<uint8_t> want = Reduced('3', bits, pic);
            quant::mergeSortsSmallPictures = true;
            ASSERT_EQ(Reduced('3', bits, pic), want) << pic.width << "x" << pic.height << " at " << bits;
        }
}

// Smooth value noise in integers only (the same on every platform): two octaves of a
// seeded lattice, bilinear between the knots, and a little pixel noise. Thousands of
// 6-5-5 cells of one to a few dozen pixels, so that reducing it takes thousands of merges
// with many equal costs along the way.
CDib Plasma(int w, int h, uint32_t seed) {
    auto knot = [seed](int x, int y, int k) {
        uint32_t s = (static_cast<uint32_t>(x) * 73856093u) ^ (static_cast<uint32_t>(y) * 19349663u) ^
                     (seed + static_cast<uint32_t>(k) * 83492791u);
        s = s * 1103515245u + 12345u;
        return static_cast<int>((s >> 16) & 255);
    };
    auto smooth = [&](int x, int y, int k, int step) {
        const int gx = x / step, gy = y / step, fx = x % step, fy = y % step;
        const int top = knot(gx, gy, k) * (step - fx) + knot(gx + 1, gy, k) * fx;
        const int bottom = knot(gx, gy + 1, k) * (step - fx) + knot(gx + 1, gy + 1, k) * fx;
        return (top * (step - fy) + bottom * fy) / (step * step);
    };
    return MakePicture(w, h, [&](int x, int y) {
        auto c = [&](int k) {
            const int noise = knot(x, y, k + 7) % 7 - 3;
            return std::min(255, std::max(0, (3 * smooth(x, y, k, 64) + smooth(x, y, k + 3, 8)) / 4 + noise));
        };
        return Bgr{c(0), c(1), c(2)};
    });
}

uint64_t Fnv1a(const uint8_t* p, size_t n) {
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

TEST_F(QuantiseTest, MergingResultsStayExactlyTheSame) {
    // The whole packed block (colour table and indices) of known pictures, pinned: any
    // change to the order of merges, ties included, shows here. Pictures of thousands of
    // cells down to 256 and 16 colours; one of few colours, all of equal pixel counts.
    const std::vector<Bgr> few = {Grey(10), Grey(14), Bgr{200, 30, 30}, Bgr{204, 30, 34}, Bgr{30, 200, 30},
                                  Bgr{30, 204, 30}, Bgr{90, 90, 180}, Bgr{94, 90, 176}, Bgr{250, 250, 250},
                                  Bgr{120, 60, 240}, Bgr{124, 64, 236}, Bgr{60, 120, 10}, Bgr{64, 116, 14},
                                  Bgr{180, 180, 20}, Bgr{10, 180, 180}, Bgr{14, 184, 176}, Bgr{140, 140, 140},
                                  Bgr{144, 136, 140}, Bgr{220, 100, 60}, Bgr{40, 40, 90}};
    struct {
        CDib picture;
        int bits;
        uint64_t hash;
    } cases[] = {
        {Plasma(256, 256, 7), 8, 16777004076879699755ull},
        {Plasma(96, 96, 3), 4, 1658195495928616115ull},
        {MakePicture(20, 9, [&](int x, int y) { return few[(x + 3 * y) % few.size()]; }), 4, 16432098024673165432ull},
        // 121 colours: the partner scans start in the middle of their chunks of runs.
        {MakePicture(11, 11,
                     [](int x, int y) {
                         const int i = 36 * y + 3 * x;
                         return Bgr{i % 256, (i + 1) % 256, (i + 2) % 256};
                     }),
         8, 1564960504704866467ull},
    };
    for (auto& c : cases) {
        Block b = Run('3', c.bits, c.picture);
        ASSERT_NE(b.info, nullptr);
        EXPECT_EQ(Fnv1a(b.info, quantisedImage.blockSize), c.hash) << c.bits << " bits";
    }
}

TEST(QuantiseMergeBound, NeverRulesOutAPairThatWouldWin) {
    // Pairs near and far, of one pixel up to a million, with means anywhere inside their
    // rounding: the quick bound may rule a pair out for a bound only when its exact cost
    // reaches that bound. It must also rule out plenty, or it is no use.
    uint64_t state = 12345;
    auto next = [&state](uint64_t range) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % range;
    };
    auto cell = [&](double b, double g, double r) {
        static const uint32_t sizes[] = {1, 2, 3, 5, 8, 40, 300, 5000, 1000000};
        quant::CellSums c;
        c.count = sizes[next(9)];
        c.blue = static_cast<uint64_t>(b * c.count) + next(c.count);
        c.green = static_cast<uint64_t>(g * c.count) + next(c.count);
        c.red = static_cast<uint64_t>(r * c.count) + next(c.count);
        return c;
    };
    int ruledOut = 0, runsRuledOut = 0;
    for (int trial = 0; trial < 200000; ++trial) {
        double b = next(600), g = next(250), r = next(250);
        double reach = trial % 2 ? 12 : 300;
        auto near = [&](double v, double top) { return std::min(top, std::max(0.0, v + next(2 * reach + 1) - reach)); };
        quant::CellSums a = cell(b, g, r);
        quant::CellSums o = cell(near(b, 600), near(g, 250), near(r, 250));
        const uint64_t cost = quant::MergePairCost(a, o);
        ASSERT_FALSE(quant::MergePairRuledOut(a, o, cost + 1)) << trial;
        ruledOut += quant::MergePairRuledOut(a, o, cost / 2);
        if (trial % 16 == 0) {
            // A run of cells around one point, near or far.
            const double cb = near(b, 600), cg = near(g, 250), cr = near(r, 250);
            auto around = [&](double v, double top) { return std::min(top, std::max(0.0, v + next(13) - 6.0)); };
            quant::CellSums run[16];
            uint64_t cheapest = UINT64_MAX;
            for (auto& c : run) {
                c = cell(around(cb, 600), around(cg, 250), around(cr, 250));
                cheapest = std::min(cheapest, quant::MergePairCost(a, c));
            }
            ASSERT_FALSE(quant::MergeRunRuledOut(a, run, 16, cheapest + 1)) << trial;
            runsRuledOut += quant::MergeRunRuledOut(a, run, 16, cheapest / 2);
        }
    }
    EXPECT_GT(ruledOut, 50000) << ruledOut;
    EXPECT_GT(runsRuledOut, 2000) << runsRuledOut;
}

TEST_F(QuantiseTest, MergingPaletteBlueComesBackFromTwoAndAHalf) {
    // trunc(255 x 2.5) = 637 loses half a step: one pixel gives 637 / 2.5 = 254.8 -> 254,
    // two give (1274 / 2.5 + 1) / 2 = 255.3 -> 255.
    std::vector<Bgr> pixels = {Bgr{255, 0, 0}, Bgr{255, 255, 0}, Bgr{255, 255, 0}};
    CDib pic = MakePicture(3, 1, [&](int x, int) { return pixels[x]; });
    Block b = Run('3', 8, pic);
    EXPECT_TRUE(EntryIs(b, 0, Bgr{254, 0, 0}));
    EXPECT_TRUE(EntryIs(b, 1, Bgr{255, 255, 0}));
    EXPECT_TRUE(EntryIs(b, 2, Bgr{0, 0, 0}));
}

TEST_F(QuantiseTest, MergingProgressTitles) {
    // 101 cells: stage 1 shows every percent from 1 to 99, stage 2 counts down to 16.
    CDib pic = MakePicture(101, 1, [](int x, int) { return Bgr{4 * (x % 64), x < 64 ? 0 : 8, 0}; });
    Run('3', 4, pic);
    std::vector<std::string> want = {"Entering Quantisation Stage 1"};
    for (int i = 1; i < 100; ++i) want.push_back("Quantisation Stage 1: " + std::to_string(i) + "%");
    for (int n = 101; n > 16; --n) want.push_back("Stage 2: Reducing Colours " + std::to_string(n) + " Down to 16");
    ASSERT_EQ(NativeHost.titles.size(), want.size() + 1);
    for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(NativeHost.titles[i], want[i]) << i;
    EXPECT_NE(NativeHost.titles.back().find("(101x1x4)"), std::string::npos);
}

int pumps = 0;
int abortAtPump = 0;
std::vector<int> runModeSeen;
void PressEscapeAtPump() {
    runModeSeen.push_back(RunMode);
    if (++pumps == abortAtPump) RunMode = RUN_NORMAL;
}

TEST_F(QuantiseTest, EscapeAbortsMerging) {
    CDib pic = Varied(30, 20);
    NativeHostOnPump = PressEscapeAtPump;
    // Once in stage 1, once in stage 2 (stage 1 pumps once per cell but the last).
    pumps = 0;
    abortAtPump = 1 << 30;
    Run('3', 4, pic);
    const int stage1Pumps = pumps - CountTitles("Stage 2");
    ASSERT_GT(stage1Pumps, 10);
    for (int at : {5, stage1Pumps + 3}) {
        NativeHostReset();
        NativeHostOnPump = PressEscapeAtPump;
        runModeSeen.clear();
        pumps = 0;
        abortAtPump = at;
        ditherMethod = '3';
        EXPECT_EQ(QuantiseImage(4, pic), nullptr);
        EXPECT_EQ(pumps, at);
        for (int mode : runModeSeen) EXPECT_EQ(mode, RUN_LONG_OPERATION);
        ASSERT_EQ(NativeHost.boxes.size(), 1u);
        EXPECT_EQ(NativeHost.boxes[0], "User Abort");
        EXPECT_EQ(NativeHost.captions[0], "Quantisation");
        EXPECT_TRUE(quantisedImage.Empty());
        EXPECT_EQ(RunMode, RUN_NORMAL);
        EXPECT_EQ(CountTitles("Stage 2"), at > stage1Pumps ? at - stage1Pumps - 1 : 0);
    }
    // A run that is not stopped puts back the mode it started in.
    NativeHostOnPump = nullptr;
    RunMode = RUN_BATCH;
    Run('3', 4, pic);
    EXPECT_EQ(RunMode, RUN_BATCH);
}

CDib* pictureToDrop = nullptr;
void DropThePicture() {
    if (pictureToDrop != nullptr) pictureToDrop->Create(3, 2, 24);
    pictureToDrop = nullptr;
}

TEST_F(QuantiseTest, MergingSurvivesThePictureChangingWhileItPumps) {
    // A message handled during the pumps replaces the picture (another file opened, say):
    // the reduction goes on with the pixels it started with.
    CDib pic = Varied(30, 20);
    CDib ref = pic;
    Block want = Run('3', 4, ref);
    std::vector<int> wantIndices;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) wantIndices.push_back(want.Index(x, y));
    pictureToDrop = &pic;
    NativeHostOnPump = DropThePicture;
    Block b = Run('3', 4, pic);
    ASSERT_EQ(b.Header()->biWidth, 30);
    ASSERT_EQ(b.Header()->biHeight, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(b.Index(x, y), wantIndices[y * 30 + x]);
}

// --- dispatch, failures and the command ---

TEST_F(QuantiseTest, FailuresReportOnceAndLeaveNoResult) {
    // A palette picture handed in is 24-bit afterwards, whatever happens.
    const uint8_t grey[2 * 3] = {10, 20, 30, 200, 210, 220};
    CDib pic;
    pic.CreateFromPalette(4, 3, grey, 1);
    std::memset(pic.bits, 0x5A, pic.imageSize);
    CDib flat = Flat(4, 3, Grey(9));
    Run('2', 4, flat);  // a previous result must not survive a failure
    struct { char method; int bits; const char* text; } cases[] = {
        {'1', 2, "Illegal Quantisation bits per pixel <2>"},
        {'1', 24, "Illegal Quantisation bits per pixel <24>"},
        {'2', 16, "Illegal Quantisation bits per pixel <16>"},
        {'3', 0, "Illegal Quantisation bits per pixel <0>"},
        {'7', 8, "Illegal Dithering Requested"},
    };
    for (auto c : cases) {
        NativeHostReset();
        titleText = "kept title";
        ditherMethod = c.method;
        EXPECT_EQ(QuantiseImage(c.bits, pic), nullptr);
        EXPECT_EQ(pic.bitsPerPixel, 24);
        EXPECT_TRUE(quantisedImage.Empty());
        ASSERT_EQ(NativeHost.boxes.size(), 1u);
        EXPECT_EQ(NativeHost.boxes[0], c.text);
        EXPECT_EQ(NativeHost.captions[0], "Quantisation");
        ASSERT_FALSE(NativeHost.titles.empty());
        EXPECT_EQ(NativeHost.titles.back(), "kept title");
    }
}

TEST_F(QuantiseTest, ExtremeShapes) {
    for (char method : {'1', '2', '3'})
        for (int bits : {1, 4, 8}) {
            CDib wide = MakePicture(65535, 1, [](int x, int) { return Grey((x / 300) & 0xF0); });
            Block b = Run(method, bits, wide);
            ASSERT_NE(b.info, nullptr);
            EXPECT_EQ(b.RowBytes(), DibRowBytes(65535, bits));
            CDib tall = MakePicture(1, 65535, [](int, int y) { return Grey((y / 300) & 0xF0); });
            b = Run(method, bits, tall);
            ASSERT_NE(b.info, nullptr);
            EXPECT_EQ(b.Header()->biHeight, 65535);
        }
}

TEST_F(QuantiseTest, ReduceColourDepthReplacesThePictureWithUndo) {
    CurrentImage.dib = Varied(33, 21);
    CDib before = CurrentImage.dib;
    saveDepth = 24;
    EXPECT_EQ(ReduceColourDepth(), 0);
    EXPECT_EQ(CurrentImage.undoTop, -1);
    EXPECT_EQ(NativeHost.redraws, 0);
    EXPECT_EQ(std::memcmp(CurrentImage.dib.bits, before.bits, before.imageSize), 0);

    saveDepth = 4;
    ditherMethod = '2';
    EXPECT_EQ(ReduceColourDepth(), 0);
    EXPECT_EQ(CurrentImage.undoTop, 0);
    EXPECT_EQ(CurrentImage.dib.bitsPerPixel, 24);
    EXPECT_EQ(CurrentImage.dib.width, 33);
    EXPECT_LE(CurrentImage.dib.CountColours(), 16u);
    EXPECT_EQ(NativeHost.redraws, 1);
    EXPECT_TRUE(quantisedImage.Empty());
    EXPECT_NE(titleText.find("(33x21x4)"), std::string::npos) << titleText;
    Undo();
    EXPECT_EQ(std::memcmp(CurrentImage.dib.bits, before.bits, before.imageSize), 0);

    // A failed reduction keeps the picture and says so.
    NativeHostReset();
    CurrentImage.dib = before;
    ditherMethod = '1';
    saveDepth = 2;
    EXPECT_EQ(ReduceColourDepth(), -1);
    EXPECT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.redraws, 0);
    EXPECT_EQ(std::memcmp(CurrentImage.dib.bits, before.bits, before.imageSize), 0);
}

TEST(QuantiseDialog, SnapsTheEnteredDepth) {
    struct { int entered, depth; } cases[] = {
        {2, 1}, {16, 8}, {30, 24}, {0, 1}, {3, 1}, {4, 4}, {7, 4}, {8, 8}, {23, 8}, {24, 24},
        {255, 24}, {256, 1}, {264, 8}, {-1, 24},
    };
    for (auto c : cases) EXPECT_EQ(SnapColourDepth(c.entered), c.depth) << c.entered;
}

}  // namespace
