// PNG files: the suite's files against libpng's own decoding, what the header tells, the
// background for alpha, and writing checked by pngcheck and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/settings.h"
#include "core/current_image.h"
#include "core/decode.h"
#include "core/filemem.h"
#include "core/loader.h"
#include "core/outstream.h"
#include "core/save.h"
#include "libcodecs/png.h"
#include "platform/native/host_native.h"
#include "open/open.h"
#include "ops_test_support.h"
#include "test_support.h"

namespace {

bool HasChunk(const std::vector<uint8_t>& bytes, const char* name) {
    return std::search(bytes.begin(), bytes.end(), name, name + 4) != bytes.end();
}

// "" when the 24-bit picture is the reference composed onto `bg` (c x a / 255 plus the
// background's share) within `tolerance` per channel; with `opaqueOnly` only opaque
// pixels count.
std::string CompareComposed(const CDib& dib, const RgbImage& ref, bool opaqueOnly, RgbColour bg = {0, 0, 0},
                            int tolerance = 1) {
    if (dib.width != ref.width || dib.height != ref.height || dib.bitsPerPixel != 24)
        return "size " + std::to_string(dib.width) + "x" + std::to_string(dib.height) + " vs " +
               std::to_string(ref.width) + "x" + std::to_string(ref.height);
    const int background[3] = {bg.red, bg.green, bg.blue};
    for (int y = 0; y < ref.height; ++y) {
        const uint8_t* row = dib.Row(dib.height - 1 - y);
        for (int x = 0; x < ref.width; ++x) {
            const uint8_t* want = &ref.rgb[(static_cast<size_t>(y) * ref.width + x) * 4];
            const int a = want[3];
            if (opaqueOnly && a != 255) continue;
            for (int c = 0; c < 3; ++c) {
                const int expected = (want[c] * a + background[c] * (255 - a)) / 255;
                const int got = row[3 * x + 2 - c];
                if (std::abs(got - expected) > tolerance)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " channel " + std::to_string(c) +
                           ": " + std::to_string(got) + " vs " + std::to_string(expected);
            }
        }
    }
    return "";
}

class Png : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("png");
    }
    void TearDown() override {
        PNGUserPackground = 0;
        PNGBackgroundColour = {0, 0, 0};
        ResetEngineState();
    }
    static int Load(std::string path) {
        NativeHost.boxes.clear();
        return LoadImageFile(path);
    }
    static std::string Boxes() { return ShownBoxes(); }
    static std::string Suite(const std::string& name) { return CorpusPath("pngsuite/png/" + name); }
    std::string Save(const std::string& name) {
        const std::string out = dir + "/" + name;
        CurrentImage.saveType = FT_PNG;
        EXPECT_EQ(WriteImageFile(out), 0) << Boxes();
        return out;
    }
};

// Every broken file of the suite is refused with one message naming libpng's reason; every
// other file shows libpng's own decoding composed onto black (transparency chunks: the
// opaque pixels).
TEST_F(Png, SuiteDecodesAsLibpngOrIsRefused) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    int compared = 0, refused = 0;
    for (const std::string& file : ListFiles(CorpusPath("pngsuite/png"), ".png")) {
        SCOPED_TRACE(file);
        const std::string name = file.substr(file.rfind('/') + 1);
        const int result = Load(file);
        if (name[0] == 'x') {
            ++refused;
            EXPECT_EQ(result, -1);
            ASSERT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
            EXPECT_EQ(NativeHost.boxes[0].rfind("Error: ", 0), 0u) << Boxes();
            EXPECT_NE(NativeHost.boxes[0].find(" in PNG file "), std::string::npos) << Boxes();
            continue;
        }
        ASSERT_EQ(result, 0) << Boxes();
        EXPECT_TRUE(NativeHost.boxes.empty()) << Boxes();
        const RgbImage ref = ReadPngRgba(file);
        ASSERT_TRUE(ref.Valid());
        const std::vector<uint8_t> bytes = ReadBytes(file);
        EXPECT_EQ(CompareComposed(CurrentImage.dib, ref, HasChunk(bytes, "tRNS")), "");
        ++compared;
    }
    EXPECT_EQ(refused, 14);
    EXPECT_GE(compared, 150);
}

TEST_F(Png, HeaderTellsFormatAndDepth) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    struct Case {
        const char* file;
        const char* note;
        uint32_t storedDepth;
        int pictureDepth;  // what the header phase asks the picture to be
    };
    const Case cases[] = {
        {"basn2c16.png", "Portable Network Graphics, RGB Colour", 48, 24},
        {"basi3p08.png", "Portable Network Graphics, Palette Colour, Interlaced Image", 8, 24},
        {"basn0g04.png", "Portable Network Graphics, Greyscale", 4, 24},
        {"basn4a08.png", "Portable Network Graphics, Greyscale+Alpha, Alpha Channel", 16, 24},
        {"basn6a16.png", "Portable Network Graphics, RGB+Alpha Colour, Alpha Channel", 64, 24},
        {"tbbn3p08.png", "Portable Network Graphics, Palette Colour", 8, 32},
        {"tbrn2c08.png", "Portable Network Graphics, RGB Colour", 24, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<uint8_t> bytes = ReadBytes(Suite(c.file));
        uint16_t w = 0, h = 0, d = 0;
        ASSERT_EQ(ProbeImage(FT_PNG, bytes.data(), bytes.size(), &w, &h, &d), 0);
        EXPECT_EQ(d, c.pictureDepth);
        CDib picture;
        ImageFacts facts;
        bool passed = false;
        ASSERT_EQ(DecodeImage(FT_PNG, bytes.data(), bytes.size(), picture, facts, &passed), 0);
        EXPECT_EQ(facts.formatNote, c.note);
        EXPECT_EQ(facts.storedBitsPerPixel, c.storedDepth);
        EXPECT_EQ(picture.bitsPerPixel, c.pictureDepth);
        EXPECT_EQ(picture.width, w);
    }
    // The palette file's transparency stays in the fourth byte: its corner is see-through.
    const std::vector<uint8_t> bytes = ReadBytes(Suite("tbbn3p08.png"));
    const RgbImage ref = ReadPngRgba(Suite("tbbn3p08.png"));
    CDib picture;
    ImageFacts facts;
    bool passed = false;
    ASSERT_EQ(DecodeImage(FT_PNG, bytes.data(), bytes.size(), picture, facts, &passed), 0);
    for (int x = 0; x < ref.width; ++x)
        EXPECT_EQ(picture.Row(picture.height - 1)[4 * x + 3], ref.rgb[4 * x + 3]) << x;
}

TEST_F(Png, AlphaIsComposedOntoTheUsersBackground) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const RgbColour bg = {0x20, 0x80, 0xF0};
    PNGBackgroundColour = bg;
    for (const char* file : {"basn6a08.png", "basn6a16.png", "basn4a08.png", "bgan6a16.png"}) {
        SCOPED_TRACE(file);
        // A 16-bit file is composed before its low bytes go; the 8-bit reference adds a
        // rounding step of its own to each share.
        const int tolerance = std::strstr(file, "16") != nullptr ? 2 : 1;
        const RgbImage ref = ReadPngRgba(Suite(file));
        PNGUserPackground = 1;
        ASSERT_EQ(Load(Suite(file)), 0) << Boxes();
        EXPECT_EQ(CompareComposed(CurrentImage.dib, ref, false, bg, tolerance), "");
        PNGUserPackground = 0;  // the colour alone changes nothing
        ASSERT_EQ(Load(Suite(file)), 0) << Boxes();
        EXPECT_EQ(CompareComposed(CurrentImage.dib, ref, false), "");
    }
}

// Cut or damaged files fail in either phase with one message, and the next file loads.
TEST_F(Png, BrokenFilesGiveLibpngsReason) {
    CDib picture;
    opstest::MakePattern(picture, 64, 48);
    CurrentImage.dib = picture;
    const std::vector<uint8_t> whole = ReadBytes(Save("whole.png"));
    std::vector<uint8_t> badCrc = whole;
    badCrc[40] ^= 0xFF;  // inside the image data
    // After the header chunk, a text chunk claiming 2 GB: refused at its head, before
    // libpng makes a buffer for it.
    std::vector<uint8_t> hugeChunk(whole.begin(), whole.begin() + 33);
    const uint8_t head[] = {0x7F, 0xFF, 0xFF, 0xF0, 't', 'E', 'X', 't'};
    hugeChunk.insert(hugeChunk.end(), head, head + sizeof head);
    hugeChunk.insert(hugeChunk.end(), whole.begin() + 33, whole.end());
    const struct {
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {{}, "Error: Read Error in PNG file "},
        {{'B', 'M', 0, 0, 0, 0, 0, 0}, "Error: Not a PNG file in PNG file "},
        {std::vector<uint8_t>(whole.begin(), whole.begin() + 8), "Error: Read Error in PNG file "},
        {std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)), " in PNG file "},
        {badCrc, " in PNG file "},
        {hugeChunk, "Error: Read Error in PNG file "},
    };
    // The loader streams the file; the same bytes from memory must fail alike.
    for (const auto& c : cases) {
        WriteBytes(dir + "/bad.png", c.bytes);
        EXPECT_EQ(Load(dir + "/bad.png"), -1);
        ASSERT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
        EXPECT_NE(NativeHost.boxes[0].find(c.message), std::string::npos) << Boxes();
        EXPECT_EQ(NativeHost.boxes[0].rfind("Error: ", 0), 0u) << Boxes();
        const std::string streamed = NativeHost.boxes[0];
        NativeHost.boxes.clear();
        CDib scratch;
        ImageFacts facts;
        bool passed = false;
        EXPECT_LT(DecodeImage(FT_PNG, c.bytes.data(), c.bytes.size(), scratch, facts, &passed), 0);
        ASSERT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
        EXPECT_EQ(NativeHost.boxes[0], streamed);
    }
    EXPECT_EQ(Load(dir + "/whole.png"), 0) << Boxes();
    EXPECT_EQ(opstest::At(CurrentImage.dib, 5, 7), opstest::At(picture, 5, 7));
}

TEST_F(Png, WrittenFilesPassPngcheckAndReadBack) {
    if (!opstest::ToolAvailable("pngcheck")) GTEST_SKIP() << "pngcheck is not installed";
    CDib picture;
    opstest::MakePattern(picture, 33, 17);
    CurrentImage.dib = picture;
    CurrentImage.comment = "made here";
    const std::string rgb = Save("rgb.png");
    std::string check = RunTool("pngcheck -vt '" + rgb + "'");
    EXPECT_NE(check.find("24-bit RGB"), std::string::npos) << check;
    EXPECT_NE(check.find("keyword: Comment"), std::string::npos) << check;
    EXPECT_NE(check.find("made here"), std::string::npos) << check;
    EXPECT_NE(check.find("No errors"), std::string::npos) << check;
    ASSERT_EQ(Load(rgb), 0) << Boxes();
    EXPECT_EQ(DibToRgb(CurrentImage.dib).rgb, DibToRgb(picture).rgb);
    EXPECT_EQ(CurrentImage.comment, "made here");
    if (opstest::ToolAvailable("convert")) {
        const std::string ppm = dir + "/rgb.ppm";
        ASSERT_EQ(std::system(("convert '" + rgb + "' '" + ppm + "'").c_str()), 0);
        const std::vector<uint8_t> bytes = ReadBytes(ppm);
        const std::vector<uint8_t>& want = DibToRgb(picture).rgb;
        ASSERT_GE(bytes.size(), want.size());
        EXPECT_TRUE(std::equal(want.begin(), want.end(), bytes.end() - static_cast<long>(want.size())));
    }

    // An 8-bit picture keeps its palette, all 256 entries.
    std::vector<uint8_t> triples(256 * 3);
    for (int i = 0; i < 256; ++i) {
        triples[3 * i] = static_cast<uint8_t>(i);
        triples[3 * i + 1] = static_cast<uint8_t>(255 - i);
        triples[3 * i + 2] = static_cast<uint8_t>(i * 7);
    }
    CurrentImage.dib.CreateFromPalette(20, 10, triples.data(), 8);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) CurrentImage.dib.Row(y)[x] = static_cast<uint8_t>(x * 13 + y * 3);
    CDib palette = CurrentImage.dib;
    const std::string indexed = Save("palette.png");
    check = RunTool("pngcheck -vt '" + indexed + "'");
    EXPECT_NE(check.find("8-bit palette"), std::string::npos) << check;
    EXPECT_NE(check.find("256 palette entries"), std::string::npos) << check;
    ASSERT_EQ(Load(indexed), 0) << Boxes();
    palette.MakeTrueColour();
    EXPECT_EQ(DibToRgb(CurrentImage.dib).rgb, DibToRgb(palette).rgb);
}

TEST_F(Png, CommentKeywordIsWrittenBack) {
    if (!CorpusAvailable() || !opstest::ToolAvailable("pngcheck")) GTEST_SKIP() << "needs the corpus and pngcheck";
    struct Case {
        const char* file;
        const char* keyword;
    };
    for (const Case& c : {Case{"ct1n0g04.png", "keyword: Title\n"}, Case{"basn2c08.png", "keyword: Comment\n"}}) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(Load(Suite(c.file)), 0) << Boxes();
        const std::string comment = CurrentImage.comment;
        const std::string out = Save("again.png");
        const std::string check = RunTool("pngcheck -vt '" + out + "'");
        EXPECT_NE(check.find(c.keyword), std::string::npos) << check;
        ASSERT_EQ(Load(out), 0) << Boxes();
        EXPECT_EQ(CurrentImage.comment, comment);
    }
}

TEST_F(Png, ThumbnailDatabaseTextComesFirstBothWays) {
    if (!opstest::ToolAvailable("pngcheck")) GTEST_SKIP() << "pngcheck is not installed";
    CDib picture;
    opstest::MakePattern(picture, 12, 9);
    WriteOptions options;
    options.comment = "sheet";
    const std::string path = dir + "/sheet.tns";
    ASSERT_EQ(WriteReplacing(path, [&](OutStream& out) { return WritePngTns(out, picture, options, "3 entries"); }),
              WRITE_OK);
    const std::string check = RunTool("pngcheck -vt '" + path + "'");
    const size_t tns = check.find("keyword: TNS Data"), comment = check.find("keyword: Comment");
    ASSERT_NE(tns, std::string::npos) << check;
    ASSERT_NE(comment, std::string::npos) << check;
    EXPECT_LT(tns, comment);

    const std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_NE(LoadBytesToMemory(bytes.data(), bytes.size()), nullptr);
    ImageFacts facts;
    uint16_t w = 0, h = 0, d = 0;
    ASSERT_EQ(ReadPngHeader(facts, &h, &w, &d), 0);
    CDib read;
    read.Create(w, h, d);
    std::string description;
    ASSERT_EQ(ReadPngPixelsTns(read, facts, description), 0);
    EXPECT_EQ(description, "3 entries");
    EXPECT_EQ(DibToRgb(read).rgb, DibToRgb(picture).rgb);

    // A file without any text is no database.
    CurrentImage.dib = picture;
    const std::vector<uint8_t> plain = ReadBytes(Save("plain.png"));
    std::vector<uint8_t> untexted;
    for (size_t at = 8; at + 12 <= plain.size();) {  // every chunk but tEXt
        const size_t length = static_cast<size_t>(plain[at]) << 24 | plain[at + 1] << 16 | plain[at + 2] << 8 | plain[at + 3];
        if (std::memcmp(&plain[at + 4], "tEXt", 4) != 0)
            untexted.insert(untexted.end(), plain.begin() + static_cast<long>(at), plain.begin() + static_cast<long>(at + 12 + length));
        at += 12 + length;
    }
    untexted.insert(untexted.begin(), plain.begin(), plain.begin() + 8);
    ASSERT_NE(LoadBytesToMemory(untexted.data(), untexted.size()), nullptr);
    ASSERT_EQ(ReadPngHeader(facts, &h, &w, &d), 0);
    read.Create(w, h, d);
    NativeHost.boxes.clear();
    EXPECT_EQ(ReadPngPixelsTns(read, facts, description), -1);
    EXPECT_NE(Boxes().find("Can't read TNS database info from file "), std::string::npos) << Boxes();
}

}  // namespace
