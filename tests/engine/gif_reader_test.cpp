// The GIF reader on small hand-made files: composing frames (interlace, transparency,
// disposal, screen growth), its messages, and the limits that keep broken files safe.
#include <gtest/gtest.h>

#include "codecs/gif.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "core/loader.h"
#include "open/open.h"
#include "platform/native/host_native.h"
#include "base/settings.h"
#include "core/title.h"
#include "test_support.h"

namespace {

// Packs pixel indices as literal codes only, with a clear code before the table would
// widen the codes: simple, and still a valid LZW stream.
std::vector<uint8_t> LzwLiterals(int rootSize, const std::vector<int>& pixels, bool withEnd = true) {
    const int clear = 1 << rootSize, width = rootSize + 1, group = clear - 2;
    std::vector<uint8_t> out;
    uint32_t acc = 0;
    int bits = 0;
    auto put = [&](int code) {
        acc |= static_cast<uint32_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % group == 0) put(clear);
        put(pixels[i]);
    }
    if (withEnd) put(clear + 1);
    if (bits > 0) out.push_back(static_cast<uint8_t>(acc));
    return out;
}

struct GifFile {
    std::vector<uint8_t> b;
    // A GIF89a screen with a global table of `entries` colours: entry i is (i, 2i, 3i) mod 256.
    GifFile(int w, int h, int entries = 4, int background = 0) {
        for (char c : std::string("GIF89a")) b.push_back(static_cast<uint8_t>(c));
        PutU16(b, static_cast<uint32_t>(w));
        PutU16(b, static_cast<uint32_t>(h));
        int bitsMinus1 = 0;
        while ((2 << bitsMinus1) < entries) ++bitsMinus1;
        b.push_back(entries > 0 ? static_cast<uint8_t>(0x80 | bitsMinus1) : 0);
        b.push_back(static_cast<uint8_t>(background));
        b.push_back(0);
        if (entries > 0)
            for (int i = 0; i < (2 << bitsMinus1); ++i)
                for (int k = 1; k <= 3; ++k) b.push_back(static_cast<uint8_t>(i * k));
    }
    GifFile& Control(int disposal, bool transparent, int transparentIndex, int delay) {
        b.insert(b.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(disposal << 2 | (transparent ? 1 : 0))});
        PutU16(b, static_cast<uint32_t>(delay));
        b.insert(b.end(), {static_cast<uint8_t>(transparentIndex), 0});
        return *this;
    }
    GifFile& Image(int left, int top, int w, int h, const std::vector<int>& pixels, bool interlaced = false,
                   int rootSize = 2, bool withEnd = true) {
        b.push_back(',');
        PutU16(b, static_cast<uint32_t>(left));
        PutU16(b, static_cast<uint32_t>(top));
        PutU16(b, static_cast<uint32_t>(w));
        PutU16(b, static_cast<uint32_t>(h));
        b.push_back(interlaced ? 0x40 : 0);
        b.push_back(static_cast<uint8_t>(rootSize));
        std::vector<uint8_t> data = LzwLiterals(rootSize, pixels, withEnd);
        for (size_t at = 0; at < data.size(); at += 255) {
            size_t n = std::min<size_t>(255, data.size() - at);
            b.push_back(static_cast<uint8_t>(n));
            b.insert(b.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
        }
        b.push_back(0);
        return *this;
    }
    GifFile& Comment(const std::vector<std::string>& blocks) {
        b.insert(b.end(), {0x21, 0xFE});
        for (const std::string& s : blocks) {
            b.push_back(static_cast<uint8_t>(s.size()));
            b.insert(b.end(), s.begin(), s.end());
        }
        b.push_back(0);
        return *this;
    }
    std::vector<uint8_t> Done() {
        b.push_back(';');
        return b;
    }
};

// Colour of global entry i as blue, green, red bytes of a 24-bit picture.
std::vector<uint8_t> Entry(int i) {
    return {static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i * 2), static_cast<uint8_t>(i)};
}

std::vector<uint8_t> PixelAt(const CDib& dib, int x, int y) {
    const uint8_t* p = dib.Row(dib.height - 1 - y) + 3 * x;
    return {p[0], p[1], p[2]};
}

class GifReader : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("gif");
    }
    void TearDown() override {
        animFrameMemoryLimit = kDefaultFrameMemoryLimit;
        ReleaseAnimFrames();
        ResetEngineState();
    }
    int Load(const std::vector<uint8_t>& bytes) {
        std::string path = dir + "/t.gif";
        WriteBytes(path, bytes);
        NativeHostReset();
        return LoadImageFile(path);
    }
    std::string Box() const { return NativeHost.boxes.empty() ? "" : NativeHost.boxes[0]; }
};

TEST_F(GifReader, AnimationFramesDelaysAndNotes) {
    std::vector<uint8_t> file = GifFile(2, 1)
                                    .Control(0, false, 0, 7)
                                    .Image(0, 0, 2, 1, {1, 2})
                                    .Control(0, false, 0, 0)
                                    .Image(1, 0, 1, 1, {3})
                                    .Done();
    ASSERT_EQ(Load(file), 0) << Box();
    EXPECT_EQ(animFrameCount, 2);
    EXPECT_EQ(animFrames[0].delay, 70);  // milliseconds
    EXPECT_EQ(animFrames[1].delay, 10);  // a delay of 0 counts as one hundredth
    EXPECT_EQ(CurrentImage.formatNote, "GIF89a, Animated GIF with 2 frames");
    EXPECT_EQ(PixelAt(animFrames[1].image, 0, 0), Entry(1));
    EXPECT_EQ(PixelAt(animFrames[1].image, 1, 0), Entry(3));
    EXPECT_EQ(PixelAt(CurrentImage.dib, 1, 0), Entry(2));  // the picture is frame 0
    EXPECT_EQ(CurrentImage.storedBitsPerPixel, 4u);        // 4 entries
    EXPECT_EQ(CurrentImage.applicationId, "");

    // The looping extension's identifier is kept for the file information.
    std::vector<uint8_t> looping = GifFile(2, 1).Done();
    looping.pop_back();
    const std::string id = "NETSCAPE2.0";
    looping.insert(looping.end(), {0x21, 0xFF, 11});
    looping.insert(looping.end(), id.begin(), id.end());
    looping.insert(looping.end(), {3, 1, 0, 0, 0});
    GifFile rest(0, 0, 0);
    rest.b.clear();
    rest.Image(0, 0, 2, 1, {1, 2});
    looping.insert(looping.end(), rest.b.begin(), rest.b.end());
    looping.push_back(';');
    ASSERT_EQ(Load(looping), 0) << Box();
    EXPECT_EQ(CurrentImage.applicationId, "NETSCAPE2.0");

    GIFAnimation = 0;
    ASSERT_EQ(Load(file), 0);
    EXPECT_EQ(animFrameCount, 1);
    EXPECT_EQ(CurrentImage.formatNote, "GIF89a");
}

TEST_F(GifReader, InterlacedRowsGoThroughTheFourPasses) {
    ASSERT_EQ(Load(GifFile(1, 3).Image(0, 0, 1, 3, {1, 2, 3}, true).Done()), 0) << Box();
    EXPECT_EQ(PixelAt(CurrentImage.dib, 0, 0), Entry(1));
    EXPECT_EQ(PixelAt(CurrentImage.dib, 0, 2), Entry(2));
    EXPECT_EQ(PixelAt(CurrentImage.dib, 0, 1), Entry(3));
    EXPECT_EQ(CurrentImage.formatNote, "GIF89a, Interlaced Image");

    std::vector<int> rows;
    for (int i = 0; i < 10; ++i) rows.push_back(i);
    ASSERT_EQ(Load(GifFile(1, 10, 16).Image(0, 0, 1, 10, rows, true, 4).Done()), 0) << Box();
    const int order[10] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(PixelAt(CurrentImage.dib, 0, order[i]), Entry(i)) << i;
}

TEST_F(GifReader, TransparencyKeepsWhatIsBelowAndDisposalClearsToBackground) {
    std::vector<uint8_t> file = GifFile(3, 1, 4, 3)
                                    .Control(0, true, 0, 1)
                                    .Image(0, 0, 3, 1, {0, 1, 1})
                                    .Control(2, true, 0, 1)
                                    .Image(1, 0, 2, 1, {2, 0})
                                    .Control(1, false, 0, 1)
                                    .Image(0, 0, 1, 1, {2})
                                    .Done();
    ASSERT_EQ(Load(file), 0) << Box();
    ASSERT_EQ(animFrameCount, 3);
    EXPECT_EQ(PixelAt(animFrames[0].image, 0, 0), Entry(3));  // transparent on the background
    EXPECT_EQ(PixelAt(animFrames[1].image, 1, 0), Entry(2));
    EXPECT_EQ(PixelAt(animFrames[1].image, 2, 0), Entry(1));  // transparent: frame 0 shows
    // Frame 1 asked for its rectangle to be cleared: frame 2 starts from that.
    EXPECT_EQ(PixelAt(animFrames[2].image, 0, 0), Entry(2));
    EXPECT_EQ(PixelAt(animFrames[2].image, 1, 0), Entry(3));
    EXPECT_EQ(PixelAt(animFrames[2].image, 2, 0), Entry(3));

    GIFUserPackground = 1;
    GIFBackgroundColour = {10, 20, 30};
    ASSERT_EQ(Load(file), 0);
    EXPECT_EQ(PixelAt(animFrames[0].image, 0, 0), (std::vector<uint8_t>{30, 20, 10}));
}

// Disposal 3 (back to what was before) clears the rectangle to the background like 2:
// the frame after it never shows the opaque frame below. The depth reported follows the
// size of the global table; the title gives 8 bits for every GIF.
TEST_F(GifReader, DisposalThreeClearsAndDepthFollowsTheTable) {
    std::vector<uint8_t> file = GifFile(2, 1, 4, 3)
                                    .Control(0, false, 0, 1)
                                    .Image(0, 0, 2, 1, {1, 1})
                                    .Control(3, false, 0, 1)
                                    .Image(0, 0, 2, 1, {2, 2})
                                    .Control(0, true, 0, 1)
                                    .Image(0, 0, 2, 1, {0, 1})
                                    .Done();
    ASSERT_EQ(Load(file), 0) << Box();
    ASSERT_EQ(animFrameCount, 3);
    EXPECT_EQ(PixelAt(animFrames[1].image, 0, 0), Entry(2));
    EXPECT_EQ(PixelAt(animFrames[2].image, 0, 0), Entry(3));  // background, not frame 1
    EXPECT_EQ(PixelAt(animFrames[2].image, 1, 0), Entry(1));

    const struct {
        int entries;
        unsigned depth;
    } tables[] = {{2, 1}, {4, 4}, {16, 4}, {32, 8}, {256, 8}};
    for (const auto& t : tables) {
        ASSERT_EQ(Load(GifFile(1, 1, t.entries).Image(0, 0, 1, 1, {1}).Done()), 0) << Box();
        EXPECT_EQ(CurrentImage.storedBitsPerPixel, t.depth) << t.entries;
        // The title names every GIF as 8 bits, the depth it is written with.
        EXPECT_EQ(titleText.substr(titleText.size() - 7), "(1x1x8)") << titleText;
    }
}

TEST_F(GifReader, OddButReadableFiles) {
    // Data that ends before the last pixel: the rest reads as index 0.
    ASSERT_EQ(Load(GifFile(4, 1).Image(0, 0, 4, 1, {2, 3}, false, 2, false).Done()), 0) << Box();
    EXPECT_EQ(PixelAt(CurrentImage.dib, 1, 0), Entry(3));
    EXPECT_EQ(PixelAt(CurrentImage.dib, 3, 0), Entry(0));

    // Stray bytes between blocks are passed over; comments keep the last sub-block.
    GifFile f(1, 1);
    f.b.insert(f.b.end(), {0x00, 0x99});
    f.Comment({"first", "second"}).Image(0, 0, 1, 1, {2});
    ASSERT_EQ(Load(f.Done()), 0) << Box();
    EXPECT_EQ(PixelAt(CurrentImage.dib, 0, 0), Entry(2));
    EXPECT_EQ(CurrentImage.comment, "second");

    // A 9-bit root size gives indices past every table: they show entry 0.
    ASSERT_EQ(Load(GifFile(2, 1).Image(0, 0, 2, 1, {300, 1}, false, 9).Done()), 0) << Box();
    EXPECT_EQ(PixelAt(CurrentImage.dib, 0, 0), Entry(0));
    EXPECT_EQ(PixelAt(CurrentImage.dib, 1, 0), Entry(1));

    // A background index equal to the table size is outside it: grey of that value.
    ASSERT_EQ(Load(GifFile(2, 1, 4, 4).Control(0, true, 0, 1).Image(0, 0, 1, 1, {0}).Done()), 0) << Box();
    EXPECT_EQ(PixelAt(CurrentImage.dib, 0, 0), (std::vector<uint8_t>{4, 4, 4}));
}

TEST_F(GifReader, ScreenGrowsForTheFirstImageOnly) {
    std::vector<uint8_t> file =
        GifFile(2, 2).Image(1, 1, 3, 2, {1, 1, 1, 1, 1, 1}).Image(0, 0, 1, 1, {2}).Image(4, 0, 1, 1, {2}).Image(0, 0, 1, 1, {3}).Done();
    ASSERT_EQ(Load(file), 0) << Box();
    EXPECT_EQ(animScreenWidth, 4);
    EXPECT_EQ(animScreenHeight, 3);
    EXPECT_EQ(CurrentImage.dib.width, 4);
    // The third image lies outside the grown screen: the animation is the two before it.
    EXPECT_EQ(animFrameCount, 2);
    EXPECT_TRUE(NativeHost.boxes.empty());

    // Edges beyond the largest picture side are refused rather than cut to 16 bits.
    ASSERT_LT(Load(GifFile(2, 2).Image(65535, 0, 2, 1, {1, 1}).Done()), 0);
    EXPECT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_NE(Box().find("Image size 65537 x 1 not supported in file "), std::string::npos) << Box();
    ASSERT_LT(Load(GifFile(0, 0).Image(0, 0, 0, 5, {}).Done()), 0);
    EXPECT_NE(Box().find("Image size 0 x 5 not supported in file "), std::string::npos) << Box();
}

TEST_F(GifReader, BrokenFilesGiveOneMessage) {
    struct Case {
        std::vector<uint8_t> bytes;
        const char* text;
    };
    std::vector<uint8_t> screenOnly = GifFile(2, 2).b;
    std::vector<uint8_t> cutMap(screenOnly.begin(), screenOnly.begin() + 16);
    std::vector<uint8_t> badRoot = GifFile(1, 1).Image(0, 0, 1, 1, {1}, false, 12).Done();
    std::vector<uint8_t> descriptorOnly = screenOnly;
    descriptorOnly.push_back(',');
    descriptorOnly.push_back(0);
    std::vector<uint8_t> cutControl = screenOnly;
    cutControl.insert(cutControl.end(), {0x21, 0xF9, 4, 0});
    const Case cases[] = {
        {{'G', 'I', 'F', '8', '9', 'a'}, "File is too short for GIF header : "},
        {{'G', 'I', 'F', '9', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0}, "GIF99a: Is this a genuine *.GIF file : "},
        {cutMap, "File is too short for GIF colour map : "},
        {badRoot, "Bad code size: 12 in GIF file : "},
        {GifFile(2, 2).Done(), "No GIF frames loaded: "},
        {descriptorOnly, "No GIF frames loaded: "},
        {cutControl, "File is too short for GIF Extension Control Block : "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_LT(Load(c.bytes), 0);
        ASSERT_EQ(NativeHost.boxes.size(), 1u);
        EXPECT_EQ(Box().rfind(c.text, 0), 0u) << Box();
        EXPECT_EQ(animFrameCount, 0);
    }
    // With animation off, a descriptor cut short still leaves no frame to show.
    GIFAnimation = 0;
    std::vector<uint8_t> shortImage = screenOnly;
    shortImage.insert(shortImage.end(), {',', 0, 0, 0, 0, 1});
    EXPECT_LT(Load(shortImage), 0);
    EXPECT_EQ(Box().rfind("No GIF frames loaded: ", 0), 0u) << Box();
}

TEST_F(GifReader, FrameMemoryIsBounded) {
    // Each 100 x 100 frame takes 30,040 bytes: room for two.
    animFrameMemoryLimit = 70000;
    GifFile f(100, 100);
    for (int i = 0; i < 4; ++i) f.Image(0, 0, 1, 1, {i});
    ASSERT_EQ(Load(f.Done()), 0);
    EXPECT_EQ(animFrameCount, 2);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(Box(), "Can't allocate DIB memory.");
    EXPECT_EQ(NativeHost.captions[0], "LUM");

    // Not even the first frame fits: the load fails with the same one message.
    animFrameMemoryLimit = 20000;
    EXPECT_LT(Load(GifFile(100, 100).Image(0, 0, 1, 1, {1}).Done()), 0);
    EXPECT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(Box(), "Can't allocate DIB memory.");
    EXPECT_EQ(animFrameCount, 0);
    EXPECT_EQ(AnimFrameBytes(), 0u);
}

TEST_F(GifReader, ProbingAHeaderLeavesTheFramesAlone) {
    ASSERT_EQ(Load(GifFile(3, 1).Image(0, 0, 1, 1, {1}).Image(0, 0, 1, 1, {2}).Done()), 0);
    WriteBytes(dir + "/other.gif", GifFile(7, 5).Image(0, 0, 1, 1, {1}).Done());
    uint16_t w = 0, h = 0, d = 0;
    EXPECT_EQ(ProbeImageHeader(dir + "/other.gif", &w, &h, &d), 0);
    EXPECT_EQ(w, 7);
    EXPECT_EQ(h, 5);
    EXPECT_EQ(animFrameCount, 2);
    EXPECT_EQ(animScreenWidth, 3);
}

}  // namespace
