// The BMP reader on hand-made files: run lengths, odd headers and damaged data.
#include <gtest/gtest.h>

#include "codecs/bmp.h"
#include "core/current_image.h"
#include "core/filemem.h"
#include "core/loader.h"
#include "open/open.h"
#include "platform/native/host_native.h"
#include "test_support.h"

namespace {

// A Windows BMP with a 40-byte header.
std::vector<uint8_t> WindowsBmp(int w, int h, int bits, uint32_t compression, const std::vector<uint32_t>& table,
                                const std::vector<uint8_t>& pixels, int32_t clrUsed = -1) {
    std::vector<uint8_t> f = {'B', 'M'};
    uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(table.size());
    PutU32(f, offset + static_cast<uint32_t>(pixels.size()));
    PutU32(f, 0);
    PutU32(f, offset);
    PutU32(f, 40);
    PutU32(f, static_cast<uint32_t>(w));
    PutU32(f, static_cast<uint32_t>(h));
    PutU16(f, 1);
    PutU16(f, static_cast<uint32_t>(bits));
    PutU32(f, compression);
    PutU32(f, 0);
    PutU32(f, 0);
    PutU32(f, 0);
    PutU32(f, static_cast<uint32_t>(clrUsed < 0 ? static_cast<int32_t>(table.size()) : clrUsed));
    PutU32(f, 0);
    for (uint32_t c : table) PutU32(f, c);
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

std::vector<uint8_t> Os2Bmp(int w, int h, int bits, const std::vector<uint32_t>& table,
                            const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> f = {'B', 'M'};
    uint32_t offset = 14 + 12 + 3 * static_cast<uint32_t>(table.size());
    PutU32(f, 0);
    PutU32(f, 0);
    PutU32(f, offset);
    PutU32(f, 12);
    PutU16(f, static_cast<uint32_t>(w));
    PutU16(f, static_cast<uint32_t>(h));
    PutU16(f, 1);
    PutU16(f, static_cast<uint32_t>(bits));
    for (uint32_t c : table) {
        f.push_back(static_cast<uint8_t>(c));
        f.push_back(static_cast<uint8_t>(c >> 8));
        f.push_back(static_cast<uint8_t>(c >> 16));
    }
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

class BmpReader : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("bmp");
    }
    void TearDown() override { ResetEngineState(); }
    int Load(const std::vector<uint8_t>& bytes) {
        std::string path = dir + "/t.bmp";
        WriteBytes(path, bytes);
        NativeHostReset();
        return LoadImageFile(path);
    }
    std::string Message() const { return NativeHost.boxes.empty() ? "" : NativeHost.boxes[0]; }
    static uint32_t At(int x, int y) {
        const CDib& d = CurrentImage.dib;
        const uint8_t* p = d.Row(d.height - 1 - y) + 3 * x;
        return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
};

const std::vector<uint32_t> kGrey = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555};

TEST_F(BmpReader, Rle8RunsDeltasAndPadding) {
    // Row 0 (bottom): run of 2 x index 1, absolute run of 3 (plus pad byte), end of row.
    // Row 1: a delta that moves nothing, then 5 x index 2, end of bitmap.
    std::vector<uint8_t> rle = {2, 1, 0, 3, 3, 4, 5, 0xEE, 0, 0, 0, 2, 9, 9, 5, 2, 0, 1};
    ASSERT_EQ(Load(WindowsBmp(5, 2, 8, 1, kGrey, rle)), 0) << Message();
    EXPECT_EQ(At(0, 1), 0x111111u);
    EXPECT_EQ(At(2, 1), 0x333333u);
    EXPECT_EQ(At(4, 1), 0x555555u);
    EXPECT_EQ(At(0, 0), 0x222222u);
    EXPECT_EQ(At(4, 0), 0x222222u);
}

TEST_F(BmpReader, Rle8EarlyEndOfBitmapFailsThatRow) {
    std::vector<uint8_t> rle = {2, 1, 0, 1};
    EXPECT_LT(Load(WindowsBmp(5, 2, 8, 1, kGrey, rle)), 0);
    EXPECT_EQ(Message().rfind("BMP RLE8 read failed in line 1 in file : ", 0), 0u) << Message();
    EXPECT_EQ(At(0, 1), 0u);  // the picture is black at the new size
    EXPECT_EQ(CurrentImage.dib.width, 5);
}

TEST_F(BmpReader, Rle4AbsoluteRunsUseTheirBytesAndPad) {
    // Width 7 -> 8 pixels per row. Row: absolute run of 3 (2 bytes, no pad), absolute run
    // of 5 (3 bytes + pad), end of row.
    std::vector<uint8_t> rle = {0, 3, 0x12, 0x30, 0, 5, 0x45, 0x12, 0x30, 0xEE, 0, 0};
    ASSERT_EQ(Load(WindowsBmp(7, 1, 4, 2, kGrey, rle)), 0) << Message();
    uint32_t expect[] = {1, 2, 3, 4, 5, 1, 2};
    for (int x = 0; x < 7; ++x) EXPECT_EQ(At(x, 0), 0x111111u * expect[x]) << x;
}

TEST_F(BmpReader, Rle4EndOfBitmapAfterAFullRow) {
    // Width 5 (8 pixels per stored row): the marker after 5 pixels ends the picture; after
    // 3 pixels it is passed over and the row goes on.
    std::vector<uint8_t> rle = {0, 0, 5, 0x12, 0, 1};
    ASSERT_EQ(Load(WindowsBmp(5, 2, 4, 2, kGrey, rle)), 0) << Message();
    EXPECT_EQ(At(4, 0), 0x111111u);
    std::vector<uint8_t> early = {3, 0x12, 0, 1, 2, 0x33, 0, 0, 0, 0};
    ASSERT_EQ(Load(WindowsBmp(5, 2, 4, 2, kGrey, early)), 0) << Message();
    EXPECT_EQ(At(2, 1), 0x111111u);
    EXPECT_EQ(At(4, 1), 0x333333u);
}

TEST_F(BmpReader, Rle4ShortDataReportsEarlyEof) {
    std::vector<uint8_t> rle = {4, 0x12};
    EXPECT_LT(Load(WindowsBmp(4, 2, 4, 2, kGrey, rle)), 0);
    EXPECT_NE(Message().find("BMP RLE4 read failed in line 1 in file due to early EOF "), std::string::npos);
}

TEST_F(BmpReader, RunLengthsOnlyWithTheirOwnDepth) {
    // RLE8 data in a 24-bit file would be copied as rows three times as wide.
    EXPECT_LT(Load(WindowsBmp(300, 2, 24, 1, {}, std::vector<uint8_t>(50, 0))), 0);
    EXPECT_NE(Message().find("Compression type <1> in BMP in file not yet supported"), std::string::npos);
    EXPECT_LT(Load(WindowsBmp(30, 2, 8, 2, kGrey, std::vector<uint8_t>(50, 0))), 0);
}

TEST_F(BmpReader, TopDownAndNegativeWidthLoadUpright) {
    // 24 bits, height -2: the first stored row is the top.
    std::vector<uint8_t> px = {1, 1, 1, 0, 2, 2, 2, 0};
    auto f = WindowsBmp(1, -2, 24, 0, {}, px);
    ASSERT_EQ(Load(f), 0) << Message();
    EXPECT_EQ(At(0, 0), 0x010101u);
    EXPECT_EQ(At(0, 1), 0x020202u);
    auto g = WindowsBmp(-1, 2, 24, 0, {}, px);
    ASSERT_EQ(Load(g), 0) << Message();
    EXPECT_EQ(CurrentImage.dib.width, 1);
    EXPECT_EQ(At(0, 0), 0x020202u);
}

TEST_F(BmpReader, SidesBeyondTheLimitAreRefused) {
    EXPECT_LT(Load(WindowsBmp(70000, 1, 24, 0, {}, std::vector<uint8_t>(16, 0))), 0);
    EXPECT_EQ(Message().rfind("Image size 70000 x 1 not supported in file ", 0), 0u) << Message();
    EXPECT_LT(Load(WindowsBmp(0, 1, 24, 0, {}, std::vector<uint8_t>(16, 0))), 0);
}

TEST_F(BmpReader, ColourMapSizes) {
    // 16 bits with colours-used 300: refused; with 0: decoded through its masks.
    EXPECT_LT(Load(WindowsBmp(1, 1, 16, 0, {}, {0, 0, 0, 0}, 300)), 0);
    EXPECT_NE(Message().find("biClrUsed = 300"), std::string::npos) << Message();
    ASSERT_EQ(Load(WindowsBmp(1, 1, 16, 0, {}, {0xFF, 0x7F, 0, 0}, 0)), 0) << Message();
    EXPECT_EQ(At(0, 0), 0xF8F8F8u);
    // 8 bits with two entries: indices past them show black.
    ASSERT_EQ(Load(WindowsBmp(3, 1, 8, 0, {0x0000FF, 0x00FF00}, {0, 1, 2, 0})), 0) << Message();
    EXPECT_EQ(At(0, 0), 0x0000FFu);
    EXPECT_EQ(At(1, 0), 0x00FF00u);
    EXPECT_EQ(At(2, 0), 0u);
}

TEST_F(BmpReader, Os2HeadersByDepth) {
    // 8 bits: one block; 1 bit: row by row with 3-byte map entries.
    ASSERT_EQ(Load(Os2Bmp(2, 1, 8, {0xFF0000, 0x00FF00}, {1, 0, 0, 0})), 0) << Message();
    EXPECT_EQ(At(0, 0), 0x00FF00u);
    EXPECT_EQ(At(1, 0), 0xFF0000u);
    EXPECT_EQ(CurrentImage.formatNote, "OS/2 Bitmap, No Compression");
    ASSERT_EQ(Load(Os2Bmp(9, 2, 1, {0x000000, 0xFFFFFF}, {0x80, 0x80, 0, 0})), 0) << Message();
    EXPECT_EQ(At(0, 1), 0xFFFFFFu);
    EXPECT_EQ(At(8, 1), 0xFFFFFFu);
    EXPECT_EQ(At(0, 0), 0u);  // the second row is missing: black
    EXPECT_LT(Load(Os2Bmp(2, 1, 16, {}, {0, 0, 0, 0})), 0);
    EXPECT_NE(Message().find("16 bits per pixel are not supported in file "), std::string::npos);
}

TEST_F(BmpReader, DamagedFilesAreRefusedOrShortened) {
    EXPECT_LT(Load({}), 0);
    EXPECT_EQ(Message().rfind("Is this a genuine *.BMP file? : ", 0), 0u) << Message();
    EXPECT_LT(Load({'B', 'M', 0, 0}), 0);
    EXPECT_EQ(Message().rfind("File is truncated : ", 0), 0u) << Message();
    // A pixel offset past the end of the data.
    auto f = WindowsBmp(2, 2, 24, 0, {}, std::vector<uint8_t>(16, 7));
    f[10] = 0xFF;
    f[11] = 0xFF;
    EXPECT_LT(Load(f), 0);
    EXPECT_EQ(Message().rfind("File is truncated ", 0), 0u);
    // Pixel data cut short (size field zero): the rows present decode, the rest is black.
    auto g = WindowsBmp(2, 2, 24, 0, {}, {9, 9, 9, 8, 8, 8, 0, 0});
    g[2] = g[3] = g[4] = g[5] = 0;
    ASSERT_EQ(Load(g), 0) << Message();
    EXPECT_EQ(At(0, 1), 0x090909u);
    EXPECT_EQ(At(0, 0), 0u);
}

TEST(BmpRleDecoders, NeverWritePastTheRow) {
    // A run far longer than the row keeps counting but stops writing at the width.
    uint8_t data[] = {255, 7, 0, 0};
    LoadBytesToMemory(data, sizeof data);
    uint8_t row[8 + 4] = {};
    ASSERT_EQ(DecodeRle8Row(row, 8), 0);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(row[i], 7);
    for (int i = 8; i < 12; ++i) EXPECT_EQ(row[i], 0);
    uint8_t data4[] = {255, 0x77, 0, 0};
    LoadBytesToMemory(data4, sizeof data4);
    uint8_t row4[4 + 4] = {};
    ASSERT_EQ(DecodeRle4Row(row4, 8, 8), 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(row4[i], 0x77);
    for (int i = 4; i < 8; ++i) EXPECT_EQ(row4[i], 0);
    FileMem.Release();
}

}  // namespace

namespace {

// Uncompressed files show their load progress in tenths, as the run-length ones do.
TEST_F(BmpReader, UncompressedFilesShowProgressInTenths) {
    for (const int bits : {24, 8}) {
        SCOPED_TRACE(bits);
        const int w = bits == 24 ? 4 : 3;  // 4 x 3 bytes needs no padding: the one-copy road
        ASSERT_EQ(Load(WindowsBmp(w, 20, bits, 0, kGrey, std::vector<uint8_t>(DibRowBytes(w, bits) * 20, 1))), 0)
            << Message();
        std::vector<int> percents;
        for (const std::string& title : NativeHost.titles) {
            const size_t at = title.rfind(' ');
            if (title.rfind("Loading file: ", 0) == 0 && at != std::string::npos) percents.push_back(std::stoi(title.substr(at + 1)));
        }
        EXPECT_EQ(percents, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    }
}

}  // namespace
