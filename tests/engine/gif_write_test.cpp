// The GIF writer: the file's layout as giftext reads it, exact decoding by our reader and
// by convert, the LZW table filling up, delays in hundredths, edits and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "base/appstate.h"
#include "codecs/gif_write.h"
#include "core/current_image.h"
#include "core/frames.h"
#include "core/outstream.h"
#include "core/quantise.h"
#include "core/save.h"
#include "edit/geometry.h"
#include "platform/native/host_native.h"
#include "test_support.h"

namespace {

std::string Shell(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(("cd / && " + command).c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

bool HaveTools() { return std::system("cd / && command -v giftext >/dev/null && command -v convert >/dev/null") == 0; }

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The delays giftext reports, in hundredths, one per image.
std::vector<int> Delays(const std::string& giftext) {
    std::vector<int> delays;
    const std::string key = "DelayTime: ";
    for (size_t at = giftext.find(key); at != std::string::npos; at = giftext.find(key, at + 1))
        delays.push_back(std::atoi(giftext.c_str() + at + key.size()));
    return delays;
}

// w x h pixels; `colours` distinct colours chosen by a small generator (1: one colour).
CDib Picture(int w, int h, int colours, unsigned seed) {
    CDib dib;
    dib.Create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const unsigned c = colours == 1 ? 0 : (seed >> 16) % static_cast<unsigned>(colours);
            uint8_t* p = dib.Row(y) + 3 * x;
            p[0] = static_cast<uint8_t>(c * 7 + 20);
            p[1] = static_cast<uint8_t>(c * 13);
            p[2] = static_cast<uint8_t>(c ^ 0x5A);
        }
    return dib;
}

// What the writer reduces `dib` to, as RGB, and the reduced palette (red, green, blue).
RgbImage Reduced(const CDib& dib, std::vector<uint8_t>* palette = nullptr) {
    CDib copy(dib);
    ditherMethod = '3';
    EXPECT_NE(QuantiseImage(8, copy), nullptr);
    CDib reduced(quantisedImage);
    ReleaseQuantisedImage();
    if (palette) {
        palette->clear();
        for (int i = 0; i < 256; ++i)
            for (int k = 2; k >= 0; --k) palette->push_back(reduced.ColourTable()[4 * i + k]);
    }
    reduced.MakeTrueColour();
    return DibToRgb(reduced);
}

class GifWrite : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("gif_write");
    }
    void TearDown() override {
        NativeHostOnPump = nullptr;
        ResetEngineState();
    }
    static int Write(const std::string& path) {
        CurrentImage.saveType = FT_GIF;
        return WriteImageFile(path);
    }
    // A loaded animation of these frames, as the GIF reader leaves it.
    static void Animation(const std::vector<CDib>& frames, const std::vector<uint16_t>& delaysMs) {
        ReleaseAnimFrames();
        for (size_t i = 0; i < frames.size(); ++i) {
            CreateAnimFrameImage(static_cast<int>(i), frames[i].width, frames[i].height);
            animFrames[i].image.Assign(frames[i]);
            animFrames[i].delay = delaysMs[i];
        }
        animFrameCount = static_cast<int>(frames.size());
        animFramesLoaded = true;
        CurrentImage.fileType = FT_GIF;
        CurrentImage.dib.Assign(frames[0]);
    }
    // Every frame convert decodes from `path`, and ours.
    std::vector<RgbImage> Theirs(const std::string& path) {
        Shell("rm -f '" + dir + "'/f-*.png; convert '" + path + "' '" + dir + "/f-%d.png'");
        std::vector<RgbImage> frames;
        for (int i = 0;; ++i) {
            RgbImage frame = ReadPngRgb(dir + "/f-" + std::to_string(i) + ".png");
            if (!frame.Valid()) break;
            frames.push_back(frame);
        }
        return frames;
    }
    static std::vector<RgbImage> Ours(const std::string& path) {
        std::vector<RgbImage> frames;
        EXPECT_EQ(LoadAfresh(path), 0) << ShownBoxes();
        if (animFrameCount < 2) frames.push_back(DibToRgb(CurrentImage.dib));
        for (int i = 0; animFrameCount >= 2 && i < animFrameCount; ++i) frames.push_back(DibToRgb(animFrames[i].image));
        return frames;
    }
};

TEST_F(GifWrite, StillsAndAnimationsDecodeToTheReducedFrames) {
    if (!HaveTools()) GTEST_SKIP() << "giftext or convert missing";
    struct Case {
        const char* name;
        std::vector<CDib> frames;  // one: a still from the current picture
    };
    const Case cases[] = {
        {"one colour", {Picture(40, 30, 1, 1)}},
        {"still", {Picture(37, 11, 40, 2)}},
        // 256 colours at random: far more codes than the 12-bit table holds, so the
        // encoder clears and starts again many times.
        {"noise", {Picture(160, 120, 256, 3)}},
        {"three frames", {Picture(20, 10, 5, 4), Picture(20, 10, 200, 5), Picture(20, 10, 1, 6)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool animated = c.frames.size() > 1;
        ResetEngineState();
        if (animated)
            Animation(c.frames, std::vector<uint16_t>(c.frames.size(), 50));
        else
            CurrentImage.dib.Assign(c.frames[0]);
        const std::string path = dir + "/out.gif";
        ASSERT_EQ(Write(path), 0) << ShownBoxes();
        EXPECT_EQ(ditherMethod, '3');
        EXPECT_EQ(saveDepth, 8);

        const std::string text = Shell("giftext '" + path + "'");
        const int n = static_cast<int>(c.frames.size());
        EXPECT_EQ(Count(text, "Image #"), n);
        EXPECT_EQ(Count(text, "application block"), animated ? 1 : 0);
        EXPECT_EQ(Count(text, "Image Has Color Map"), animated ? n : 0) << text;
        EXPECT_EQ(Delays(text), std::vector<int>(c.frames.size(), animated ? 5 : 0));

        std::vector<RgbImage> want;
        std::vector<uint8_t> palette0;
        for (int i = 0; i < n; ++i) want.push_back(Reduced(c.frames[i], i == 0 ? &palette0 : nullptr));
        const std::vector<uint8_t> file = ReadBytes(path);
        ASSERT_GT(file.size(), 13u + 768u);
        EXPECT_EQ(file[10], 0xF7);
        EXPECT_TRUE(std::equal(palette0.begin(), palette0.end(), file.begin() + 13)) << "global table";
        EXPECT_EQ(std::string(file.begin() + 784, file.begin() + 795) == "NETSCAPE2.0", animated);
        if (!animated) {
            // The image data after control (8), descriptor (10) and code size: sub-blocks
            // of 251 or 252 bytes but the last one.
            std::vector<int> sizes;
            for (size_t at = 781 + 8 + 10 + 1; at < file.size() && file[at] != 0; at += file[at] + 1u)
                sizes.push_back(file[at]);
            ASSERT_FALSE(sizes.empty());
            for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_TRUE(sizes[i] == 251 || sizes[i] == 252) << sizes[i];
        }
        if (animated) {  // frame 0's local table after loop (19), control (8) and descriptor (10)
            EXPECT_TRUE(std::equal(palette0.begin(), palette0.end(), file.begin() + 781 + 19 + 8 + 10));
        }

        for (const std::vector<RgbImage>& got : {Theirs(path), Ours(path)}) {
            ASSERT_EQ(got.size(), want.size());
            for (int i = 0; i < n; ++i) EXPECT_TRUE(got[i].rgb == want[i].rgb) << "frame " << i;
        }
    }
}

TEST_F(GifWrite, DelaysAreWrittenInHundredthsAndSurviveSavingAgain) {
    if (!HaveTools()) GTEST_SKIP() << "giftext missing";
    const std::vector<CDib> frames = {Picture(8, 4, 3, 1), Picture(8, 4, 3, 2), Picture(8, 4, 3, 3), Picture(8, 4, 3, 4)};
    Animation(frames, {0, 7, 50, 1000});
    ASSERT_EQ(Write(dir + "/a.gif"), 0) << ShownBoxes();
    EXPECT_EQ(Delays(Shell("giftext '" + dir + "/a.gif'")), (std::vector<int>{0, 0, 5, 100}));
    // Read back (a delay of 0 plays as one hundredth), saved and read again: the same.
    std::vector<int> previous;
    for (const char* name : {"b.gif", "c.gif"}) {
        ASSERT_EQ(LoadAfresh(dir + (name[0] == 'b' ? "/a.gif" : "/b.gif")), 0);
        ASSERT_EQ(animFrameCount, 4);
        EXPECT_EQ(animFrames[2].delay, 50);
        EXPECT_EQ(animFrames[3].delay, 1000);
        ASSERT_EQ(Write(dir + "/" + name), 0) << ShownBoxes();
        const std::vector<int> delays = Delays(Shell("giftext '" + dir + "/" + name + "'"));
        EXPECT_EQ(delays, (std::vector<int>{1, 1, 5, 100}));
        if (!previous.empty()) {
            EXPECT_EQ(delays, previous);
        }
        previous = delays;
    }
}

TEST_F(GifWrite, AnEditedPictureIsWrittenNotTheLoadedFrames) {
    // A one-frame file flipped; an animation flipped while it stands still.
    for (int frames : {1, 3}) {
        SCOPED_TRACE(frames);
        ResetEngineState();
        std::vector<CDib> pictures;
        for (int i = 0; i < frames; ++i) pictures.push_back(Picture(6, 5, 4, 10 + i));
        if (frames > 1) {
            Animation(pictures, std::vector<uint16_t>(pictures.size(), 100));
        } else {
            CurrentImage.dib.Assign(pictures[0]);
        }
        ASSERT_EQ(Write(dir + "/e.gif"), 0);
        ASSERT_EQ(LoadAfresh(dir + "/e.gif"), 0);
        ASSERT_EQ(animFrameCount, frames);
        ASSERT_EQ(RunTransformCommand(TRANSFORM_FLIP_VERTICAL), 0);
        RgbImage flipped = DibToRgb(CurrentImage.dib);
        ASSERT_EQ(Write(dir + "/f.gif"), 0) << ShownBoxes();
        ASSERT_EQ(LoadAfresh(dir + "/f.gif"), 0);
        EXPECT_EQ(animFrameCount, 1);
        EXPECT_TRUE(DibToRgb(CurrentImage.dib).rgb == flipped.rgb);
    }
}

int pumps = 0;
void EscapeAtSecondPump() {
    if (++pumps == 2) RunMode = RUN_NORMAL;
}

TEST_F(GifWrite, FailuresSayWhyAndKeepTheOldFile) {
    const std::string path = dir + "/kept.gif";
    WriteBytes(path, {'o', 'l', 'd'});
    const CDib varied = Picture(30, 20, 60, 7), plain = Picture(30, 20, 1, 8);
    const CDib noise = Picture(400, 300, 256, 9);  // more data than the stream buffers
    const std::string dither = "Can't write GIF file due to dither fail " + path + "\n";
    struct Case {
        const char* what;
        std::vector<CDib> frames;
        std::function<void()> arrange;
        std::string boxes;
        const char* caption;
    } cases[] = {
        {"Escape in frame 0", {varied, varied}, [] { NativeHostOnPump = EscapeAtSecondPump; }, "User Abort\n" + dither, "GIF write"},
        {"Escape in frame 1", {plain, varied}, [] { NativeHostOnPump = EscapeAtSecondPump; }, "User Abort\n" + dither, "GIF write"},
        {"disk full in the image data", {noise}, [] { NativeHostWriteBudget = 1000; },
         "Can't write GIFCompressImage in file " + path + "\n", "GIF write"},
        {"disk full at the end", {plain}, [] { NativeHostWriteBudget = 100; }, "Error in Saving file: : " + path + "\n\n", "Viewer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetEngineState();
        if (c.frames.size() > 1)
            Animation(c.frames, std::vector<uint16_t>(c.frames.size(), 100));
        else
            CurrentImage.dib.Assign(c.frames[0]);
        pumps = 0;
        c.arrange();
        EXPECT_EQ(Write(path), -1);
        NativeHostOnPump = nullptr;
        EXPECT_EQ(ShownBoxes(), c.boxes);
        ASSERT_FALSE(NativeHost.captions.empty());
        EXPECT_EQ(NativeHost.captions.back(), c.caption);
        EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
        EXPECT_EQ(ListFiles(dir, "").size(), 1u);
    }
}

}  // namespace

namespace {

// The LZW codes of one image read as a GIF reader reads them: the code size grows when the
// table entry added after a code reaches it. `bits` is how many bits the codes up to and
// including the end code take; `widerEnd` says the end code was read one bit wider than
// the code before it.
struct CodeWalk {
    bool ended = false;
    bool widerEnd = false;
    size_t bits = 0;
};

CodeWalk WalkCodes(const std::vector<uint8_t>& data, int rootBits) {
    CodeWalk walk;
    const int clear = 1 << rootBits, end = clear + 1;
    int width = rootBits + 1, next = clear + 2, read = 0, lastWidth = width;
    size_t at = 0;
    while (at + width <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < width; ++i, ++at) code |= ((data[at / 8] >> (at % 8)) & 1) << i;
        if (code == end) {
            walk.ended = true;
            walk.widerEnd = width > lastWidth;
            walk.bits = at;
            return walk;
        }
        lastWidth = width;
        if (code == clear) {
            width = rootBits + 1;
            next = clear + 2;
            read = 0;
            continue;
        }
        if (++read > 1 && next < 4096) ++next;
        if (next == 1 << width && width < 12) ++width;
    }
    return walk;
}

// A one-row picture of 1-bit indices from a small generator, and the GIF of it written
// with the encoder alone (global two-colour table: black, white).
CDib OneBitRow(int width, unsigned seed) {
    CDib dib;
    dib.Create(width, 1, 1);
    std::memset(dib.bits, 0, dib.imageSize);
    uint8_t* table = dib.ColourTable();
    std::memset(table, 0, 8);
    table[4] = table[5] = table[6] = 255;
    for (int x = 0; x < width; ++x) {
        seed = seed * 1103515245u + 12345u;
        if ((seed >> 16) % 3 == 0) dib.Row(0)[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    return dib;
}

int WriteEncoderGif(const std::string& path, const CDib& picture) {
    return WriteReplacing(path, [&](OutStream& out) {
        GifCodeTable table;
        if (!table.AllocateRow(picture.width) || !table.AllocateTable()) return -1;
        const uint8_t screen[13 + 6] = {'G', 'I', 'F', '8', '9', 'a', static_cast<uint8_t>(picture.width),
                                        static_cast<uint8_t>(picture.width >> 8), 1, 0, 0x80, 0, 0,
                                        0, 0, 0, 255, 255, 255};
        out.Write(screen, sizeof screen);
        if (!WriteGifImageBlock(out, picture, 0, false) || !CompressGif(out, picture, table)) return -1;
        return out.U8(';') ? 0 : -1;
    });
}

// The image data of such a file: the sub-blocks' bytes joined.
std::vector<uint8_t> ImageData(const std::vector<uint8_t>& file) {
    std::vector<uint8_t> data;
    size_t at = 19 + 8 + 10 + 1;  // screen and table, control, descriptor, code size
    while (at < file.size() && file[at] != 0) {
        data.insert(data.end(), file.begin() + static_cast<long>(at) + 1,
                    file.begin() + static_cast<long>(std::min(file.size(), at + 1 + file[at])));
        at += file[at] + 1u;
    }
    return data;
}

}  // namespace

// A picture whose final code fills the table up to the next code size: the end code is
// written at the larger size, so every reader finds it inside the data, and the data
// holds no byte past it.
TEST_F(GifWrite, EndCodeAfterTheFinalCodeReachesANewCodeSize) {
    if (!HaveTools()) GTEST_SKIP() << "convert missing";
    const std::string path = dir + "/edge.gif";
    // The first width whose written data, read as a reader reads it, either ends with a
    // wider end code whose last bit starts a byte, or does not end at all.
    int width = 0;
    CodeWalk walk;
    for (int w = 2; w < 3000 && width == 0; ++w) {
        ASSERT_EQ(WriteEncoderGif(path, OneBitRow(w, 7)), 0);
        walk = WalkCodes(ImageData(ReadBytes(path)), 2);
        if (!walk.ended || (walk.widerEnd && walk.bits % 8 == 1)) width = w;
    }
    ASSERT_GT(width, 0) << "no such picture found";
    SCOPED_TRACE(width);
    EXPECT_TRUE(walk.ended) << "the end code is not in the data";
    const std::vector<uint8_t> data = ImageData(ReadBytes(path));
    EXPECT_EQ(data.size(), (walk.bits + 7) / 8);

    const CDib picture = OneBitRow(width, 7);
    CDib expanded(picture);
    expanded.MakeTrueColour();
    const RgbImage want = DibToRgb(expanded);
    const std::string errors = Shell("convert '" + path + "' '" + dir + "/edge.png' 2>&1");
    EXPECT_EQ(errors, "");
    EXPECT_TRUE(ReadPngRgb(dir + "/edge.png").rgb == want.rgb) << "convert";
    ASSERT_EQ(LoadAfresh(path), 0) << ShownBoxes();
    EXPECT_TRUE(NativeHost.boxes.empty()) << ShownBoxes();
    EXPECT_TRUE(DibToRgb(CurrentImage.dib).rgb == want.rgb) << "ours";
}
