// JPEG files: decoding against the system's reference decoder (djpeg), what the header
// tells, comments, cut and broken files, and writing against the reference encoder (cjpeg).
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "base/settings.h"
#include "codecs/exif.h"
#include "core/title.h"
#include "core/current_image.h"
#include "core/loader.h"
#include "core/save.h"
#include "libcodecs/jpeg.h"
#include "view/jpeg_dialog.h"
#include "view/metadata_dialogs.h"
#include "platform/native/host_native.h"
#include "open/open.h"
#include "ops_test_support.h"
#include "test_support.h"

namespace {

// A binary PPM (P6) or PGM (P5) as djpeg writes it.
struct Pnm {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> samples;
};

Pnm ReadPnm(const std::string& path) {
    Pnm image;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < 3 || bytes[0] != 'P' || (bytes[1] != '5' && bytes[1] != '6')) return image;
    size_t at = 2;
    int fields[3] = {0, 0, 0};
    for (int& field : fields) {
        while (at < bytes.size() && std::isspace(bytes[at])) ++at;
        while (at < bytes.size() && std::isdigit(bytes[at])) field = field * 10 + (bytes[at++] - '0');
    }
    ++at;  // the one blank after the maximum value
    image.channels = bytes[1] == '5' ? 1 : 3;
    const size_t need = static_cast<size_t>(fields[0]) * fields[1] * image.channels;
    if (fields[2] != 255 || at + need > bytes.size()) return image;
    image.width = fields[0];
    image.height = fields[1];
    image.samples.assign(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + need));
    return image;
}

// djpeg's exit status: 0 clean, 2 with warnings, 1 failed; the picture in `out`.
int RunDjpeg(const std::string& file, const std::string& out) {
    const int status = std::system(("djpeg -ppm -outfile '" + out + "' '" + file + "' 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// "" when the 24-bit picture equals the reference within `tolerance` per channel; a
// greyscale reference must give equal blue, green and red.
std::string CompareWithPnm(const CDib& dib, const Pnm& ref, int tolerance) {
    if (dib.width != ref.width || dib.height != ref.height || dib.bitsPerPixel != 24)
        return "size " + std::to_string(dib.width) + "x" + std::to_string(dib.height) + " vs " +
               std::to_string(ref.width) + "x" + std::to_string(ref.height);
    for (int y = 0; y < ref.height; ++y) {
        const uint8_t* row = dib.Row(dib.height - 1 - y);
        for (int x = 0; x < ref.width; ++x) {
            const uint8_t* want = &ref.samples[(static_cast<size_t>(y) * ref.width + x) * ref.channels];
            for (int c = 0; c < 3; ++c) {
                const int expected = ref.channels == 1 ? want[0] : want[c];
                const int got = row[3 * x + 2 - c];
                if (std::abs(got - expected) > tolerance)
                    return "pixel " + std::to_string(x) + "," + std::to_string(y) + " channel " + std::to_string(c) +
                           ": " + std::to_string(got) + " vs " + std::to_string(expected);
            }
        }
    }
    return "";
}

class Jpeg : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        if (!opstest::ToolAvailable("djpeg") || !opstest::ToolAvailable("cjpeg"))
            GTEST_SKIP() << "djpeg and cjpeg (libjpeg-turbo-progs) are not installed";
        ResetEngineState();
        dir = ScratchDir("jpeg");
    }
    void TearDown() override { ResetEngineState(); }

    static int Load(const std::string& path) { return LoadAfresh(path); }
    static std::string Boxes() { return ShownBoxes(); }
    // A file made by cjpeg from a small coloured picture.
    std::string Made(const std::string& name, const std::string& options) {
        CDib picture;
        opstest::MakePattern(picture, 40, 24);
        opstest::WritePpm(dir + "/in.ppm", picture);
        const std::string out = dir + "/" + name;
        EXPECT_EQ(std::system(("cjpeg " + options + " -outfile '" + out + "' '" + dir + "/in.ppm'").c_str()), 0);
        return out;
    }
    // The file with `segments` (whole markers) put right after its start-of-image marker.
    std::string WithMarkers(const std::string& file, const std::vector<std::vector<uint8_t>>& segments) {
        std::vector<uint8_t> bytes = ReadBytes(file);
        size_t at = 2;
        for (const auto& segment : segments) {
            bytes.insert(bytes.begin() + static_cast<long>(at), segment.begin(), segment.end());
            at += segment.size();
        }
        const std::string out = file + ".marked.jpg";
        WriteBytes(out, bytes);
        return out;
    }
};

std::vector<uint8_t> Marker(uint8_t code, const std::string& payload) {
    std::vector<uint8_t> m(payload.size() + 4);
    m[0] = 0xFF;
    m[1] = code;
    m[2] = static_cast<uint8_t>((payload.size() + 2) >> 8);
    m[3] = static_cast<uint8_t>(payload.size() + 2);
    std::copy(payload.begin(), payload.end(), m.begin() + 4);
    return m;
}

// Every JPEG of the suites that the reference decoder shows is shown with the same
// pixels; the ones it refuses are refused with the library's reason.
TEST_F(Jpeg, CorpusDecodesAsTheReferenceDecoder) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    std::vector<std::string> files;
    for (const char* folder : {"libjpeg-turbo-testimages", "image-rs-image/images/jpg",
                               "image-rs-image/images/jpg/progressive", "pillow-tests/jpeg"})
        for (const std::string& f : ListFiles(CorpusPath(folder), ".jpg")) files.push_back(f);
    int compared = 0, refused = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const int status = RunDjpeg(file, dir + "/ref.ppm");
        const int result = Load(file);
        if (status == 1) {
            ++refused;
            EXPECT_EQ(result, -1);
            ASSERT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
            EXPECT_EQ(NativeHost.boxes[0].rfind("Error: ", 0), 0u) << Boxes();
            EXPECT_NE(NativeHost.boxes[0].find(" in JPEG file"), std::string::npos) << Boxes();
            continue;
        }
        // Files the reference decodes with warnings (cut short, junk before a marker)
        // are shown without a word.
        ASSERT_EQ(result, 0) << Boxes();
        EXPECT_TRUE(NativeHost.boxes.empty()) << Boxes();
        const Pnm ref = ReadPnm(dir + "/ref.ppm");
        ASSERT_GT(ref.width, 0);
        const bool cmyk = CurrentImage.formatNote == "JPEG, C/M/Y/K Colour";
        EXPECT_EQ(CompareWithPnm(CurrentImage.dib, ref, cmyk ? 1 : 0), "");
        ++compared;
    }
    EXPECT_GE(compared, 30);
    EXPECT_EQ(refused, 1);  // the 12-bit file
}

TEST_F(Jpeg, BrokenFilesGiveTheLibrarysReason) {
    struct Case {
        std::vector<uint8_t> bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{0x42, 0x4D, 0, 0}, "Error: Not a JPEG file: starts with 0x42 0x4d in JPEG file"},
        {{}, "Error: Empty input file in JPEG file"},
        {{0xFF, 0xD8, 0xFF, 0xD9}, "Error: JPEG datastream contains no image in JPEG file"},
    };
    for (const Case& c : cases) {
        WriteBytes(dir + "/bad.jpg", c.bytes);
        CurrentImage.dib.Create(8, 8, 24);
        EXPECT_EQ(Load(dir + "/bad.jpg"), -1);
        ASSERT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
        EXPECT_NE(NativeHost.boxes[0].find(c.message), std::string::npos) << Boxes();
        EXPECT_TRUE(CurrentImage.failedLoad);
    }
    if (CorpusAvailable()) {
        EXPECT_EQ(Load(CorpusPath("libjpeg-turbo-testimages/monkey12.jpg")), -1);
        EXPECT_NE(Boxes().find("Error: Unsupported JPEG data precision 12 in JPEG file"), std::string::npos) << Boxes();
        // A fuzzer's find: a message or a picture, nothing worse.
        const int result = Load(CorpusPath("image-rs-image/regression/jpg/oss-fuzz-36829.jpeg"));
        EXPECT_TRUE(result == 0 || NativeHost.boxes.size() == 1) << Boxes();
    }
}

std::string RegressFile(const std::string& name) { return std::string(LUMORA_TESTDATA) + "/regress/jpeg/" + name; }

// The JPEG thumbnail of an EXIF block kept under regress/exif is found and refused.
bool ExpectThumbnailRefused(const std::string& name) {
    const std::vector<uint8_t> block = ReadBytes(std::string(LUMORA_TESTDATA) + "/regress/exif/" + name);
    Cexif exif;
    const uint8_t* data = nullptr;
    size_t length = 0;
    const bool found = exif.ParseExif(block.data(), block.size()) && ExifJpegThumbnail(exif, &data, &length);
    EXPECT_TRUE(found) << name;
    CDib picture;
    const bool refused = found && DecodeJpegBytes(data, length, picture) == -1;
    EXPECT_TRUE(refused) << name;
    return refused;
}

// Rows of one, three or four samples are all the reader turns into colour: a file of two
// components is refused with a message, as a picture and as a thumbnail, before any row
// is read from its narrower buffer.
TEST_F(Jpeg, OnlyOneThreeOrFourComponentsAreRead) {
    const std::string file = RegressFile("two-components.jpg");
    CurrentImage.dib.Create(8, 8, 24);
    EXPECT_EQ(Load(file), -1);
    ASSERT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
    EXPECT_NE(Boxes().find("Error: Unsupported number of colour components 2 in JPEG file"), std::string::npos)
        << Boxes();
    uint16_t w = 0, h = 0, d = 0;
    EXPECT_EQ(ProbeImageHeader(file, &w, &h, &d), -1);
    const std::vector<uint8_t> bytes = ReadBytes(file);
    CDib thumbnail;
    EXPECT_EQ(DecodeJpegBytes(bytes.data(), bytes.size(), thumbnail), -1);
    ExpectThumbnailRefused("thumbnail-two-components.exif");
    // The reader still reads the files it should after a refusal.
    EXPECT_EQ(Load(Made("after.jpg", "")), 0) << Boxes();
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Runs `work` in a child process limited to 1 GiB of address space (not under the
// address sanitizer, whose shadow memory needs more) and 20 seconds; true when it
// returned true within both.
template <typename Work>
bool WithinMemoryLimit(Work work) {
    const pid_t child = fork();
    if (child == 0) {
        if (!kAddressSanitizer) {
            const rlimit limit{1ull << 30, 1ull << 30};
            setrlimit(RLIMIT_AS, &limit);
        }
        alarm(20);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A small progressive file that claims 40000 x 40000 pixels is refused from its header,
// as a picture and as a thumbnail, without the library taking the memory it claims.
TEST_F(Jpeg, ClaimedSizeBeyondAPictureIsRefusedFromTheHeader) {
    const std::string file = RegressFile("progressive-40000x40000.jpg");
    EXPECT_TRUE(WithinMemoryLimit([&] {
        return Load(file) == -1 && NativeHost.boxes.size() == 1 &&
               Boxes().find("Image size 40000 x 40000 not supported in file") != std::string::npos;
    }));
    EXPECT_TRUE(WithinMemoryLimit([&] {
        const std::vector<uint8_t> bytes = ReadBytes(file);
        CDib thumbnail;
        return DecodeJpegBytes(bytes.data(), bytes.size(), thumbnail) == -1;
    }));
    EXPECT_TRUE(WithinMemoryLimit([&] { return ExpectThumbnailRefused("thumbnail-progressive-40000x40000.exif"); }));
}

// A file cut anywhere after its header still shows what it holds, silently.
TEST_F(Jpeg, CutFilesShowWhatTheyHold) {
    const std::string whole = Made("whole.jpg", "-quality 90");
    const std::vector<uint8_t> bytes = ReadBytes(whole);
    for (size_t keep : {bytes.size() / 2, bytes.size() - 2, bytes.size() * 3 / 4}) {
        WriteBytes(dir + "/cut.jpg", std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(keep)));
        EXPECT_EQ(Load(dir + "/cut.jpg"), 0) << keep;
        EXPECT_TRUE(NativeHost.boxes.empty()) << Boxes();
        EXPECT_EQ(CurrentImage.dib.width, 40);
    }
}

TEST_F(Jpeg, HeaderFactsOfEachProcess) {
    struct Case {
        const char* options;
        int process;
        const char* note;
        uint32_t storedDepth;
    };
    const Case cases[] = {
        {"", 192, "JPEG, RGB Colour", 24},
        {"-progressive", 194, "JPEG, RGB Colour", 24},
        {"-arithmetic", 201, "JPEG, RGB Colour", 24},
        {"-progressive -arithmetic", 202, "JPEG, RGB Colour", 24},
        {"-grayscale", 192, "JPEG, Greyscale Colour", 8},
        {"-rgb", 192, "JPEG, RGB Colour", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const std::string file = Made("facts.jpg", c.options);
        ASSERT_EQ(Load(file), 0) << Boxes();
        EXPECT_EQ(CurrentImage.jpegProcess, c.process);
        EXPECT_EQ(CurrentImage.formatNote, c.note);
        EXPECT_EQ(CurrentImage.storedBitsPerPixel, c.storedDepth);
        EXPECT_EQ(CurrentImage.dib.bitsPerPixel, 24);
        EXPECT_EQ(CurrentImage.storedWidth, 40u);
        EXPECT_EQ(RunDjpeg(file, dir + "/ref.ppm"), 0);
        EXPECT_EQ(CompareWithPnm(CurrentImage.dib, ReadPnm(dir + "/ref.ppm"), 0), "");
        uint16_t w = 0, h = 0, d = 0;
        CurrentImage.comment = "kept";
        EXPECT_EQ(ProbeImageHeader(file, &w, &h, &d), 0);
        EXPECT_EQ(w, 40);
        EXPECT_EQ(h, 24);
        EXPECT_EQ(CurrentImage.comment, "kept");  // the probe leaves the picture alone
    }
}

TEST_F(Jpeg, CommentsBecomeText) {
    const std::string plain = Made("plain.jpg", "-quality 80");
    struct Case {
        std::vector<std::string> comments;
        std::string expected;
    };
    const std::string longest(300, 'x');
    // Past byte 250 of a comment an end-of-image marker must not end the picture.
    const std::string withEnd = std::string(252, 'y') + "\xFF\xD9" + "zz";
    const std::vector<Case> cases = {
        {{"a\r\nb"}, "a b"},
        {{"a\rb\nc"}, "a b c"},
        {{std::string("\x01", 1)}, "\\001"},
        {{"back\\slash"}, "back\\\\slash"},
        {{longest}, std::string(250, 'x')},
        {{"first", "last"}, "last"},
        {{withEnd}, std::string(250, 'y')},
        {{""}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::vector<std::vector<uint8_t>> markers;
        for (const std::string& text : c.comments) markers.push_back(Marker(0xFE, text));
        ASSERT_EQ(Load(WithMarkers(plain, markers)), 0) << Boxes();
        // Shown as text; kept as the last marker's first 250 bytes.
        EXPECT_EQ(ShownComment(), c.expected);
        EXPECT_EQ(CurrentImage.comment, c.comments.back().substr(0, 250));
        EXPECT_EQ(CurrentImage.dib.height, 24);
        EXPECT_EQ(RunDjpeg(plain, dir + "/ref.ppm"), 0);
        EXPECT_EQ(CompareWithPnm(CurrentImage.dib, ReadPnm(dir + "/ref.ppm"), 0), "");
    }
}

// The bytes of the file's COM marker: its payload, or "(none)".
std::string CommentMarker(const std::vector<uint8_t>& file) {
    for (size_t at = 2; at + 4 <= file.size() && file[at] == 0xFF && file[at + 1] != 0xDA;) {
        const size_t length = static_cast<size_t>(file[at + 2]) << 8 | file[at + 3];
        if (file[at + 1] == 0xFE && at + 2 + length <= file.size())
            return std::string(file.begin() + static_cast<long>(at) + 4, file.begin() + static_cast<long>(at + 2 + length));
        at += 2 + length;
    }
    return "(none)";
}

// A comment with a backslash, a line end and a non-ASCII letter keeps its bytes through
// loads and saves (the title shown between them included); only the dialogs show it
// escaped.
TEST_F(Jpeg, CommentBytesSurviveLoadAndSave) {
    const std::string bytes = "C:\\Photos\\Caf\xC3\xA9\r\nline two";
    std::string file = RegressFile("comment-backslash-e-acute.jpg");
    ASSERT_EQ(CommentMarker(ReadBytes(file)), bytes);
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(Load(file), 0) << Boxes();
        ShowZoomInTitle(40, 20);
        EXPECT_EQ(CurrentImage.comment, bytes);
        EXPECT_EQ(ShownComment(), "C:\\\\Photos\\\\Caf\\303\\251 line two");
        CurrentImage.saveType = FT_JPEG;
        file = dir + "/round" + std::to_string(round) + ".jpg";
        ASSERT_EQ(WriteImageFile(file), 0) << Boxes();
        EXPECT_EQ(CommentMarker(ReadBytes(file)), bytes);
    }
}

TEST_F(Jpeg, MetadataBlocksAreKeptPerFile) {
    const std::string plain = Made("plain.jpg", "");
    const std::string exif = std::string("Exif\0\0MM\0*\0\0\0\x08\0\0", 16);
    const std::string xmp = std::string("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 41);
    ASSERT_EQ(Load(WithMarkers(plain, {Marker(0xE1, exif), Marker(0xE1, xmp), Marker(0xE1, "Exif\0\0second")})), 0);
    EXPECT_EQ(std::string(CurrentImage.exif.begin(), CurrentImage.exif.end()), exif);  // the first block counts
    ASSERT_EQ(CurrentImage.xmp.size(), xmp.size() + 4);  // the whole marker
    EXPECT_EQ(CurrentImage.xmp[0], 0xFF);
    EXPECT_EQ(std::string(CurrentImage.xmp.begin() + 4, CurrentImage.xmp.end()), xmp);
    // The next file has none: nothing of the last one is left.
    ASSERT_EQ(Load(plain), 0);
    EXPECT_TRUE(CurrentImage.exif.empty());
    EXPECT_TRUE(CurrentImage.xmp.empty());
    // A marker claiming more bytes than the file holds is looked at only as far as the
    // file goes (the file then has no picture).
    std::vector<uint8_t> cut = ReadBytes(plain);
    cut.resize(2);
    const std::vector<uint8_t> big = {0xFF, 0xE1, 0xFF, 0xF0, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I'};
    cut.insert(cut.end(), big.begin(), big.end());
    WriteBytes(dir + "/cut.jpg", cut);
    EXPECT_EQ(Load(dir + "/cut.jpg"), -1);
    EXPECT_EQ(NativeHost.boxes.size(), 1u) << Boxes();
}

class JpegWrite : public Jpeg {
protected:
    std::string Write(int quality, const std::string& name = "out.jpg") {
        CurrentImage.saveType = FT_JPEG;
        jpegQuality = quality;
        const std::string out = dir + "/" + name;
        EXPECT_EQ(WriteImageFile(out), 0) << Boxes();
        return out;
    }
};

// Our file decodes to the same pixels as the reference encoder's at the same quality.
TEST_F(JpegWrite, EqualsTheReferenceEncoder) {
    for (const int quality : {10, 75, 90, 100}) {
        SCOPED_TRACE(quality);
        opstest::MakePattern(CurrentImage.dib, 61, 37);
        opstest::WritePpm(dir + "/in.ppm", CurrentImage.dib);
        const std::string ours = Write(quality);
        ASSERT_EQ(std::system(("cjpeg -quality " + std::to_string(quality) + " -baseline -outfile '" + dir +
                               "/ref.jpg' '" + dir + "/in.ppm'").c_str()),
                  0);
        ASSERT_EQ(RunDjpeg(ours, dir + "/ours.ppm"), 0);
        ASSERT_EQ(RunDjpeg(dir + "/ref.jpg", dir + "/ref.ppm"), 0);
        EXPECT_EQ(ReadBytes(dir + "/ours.ppm"), ReadBytes(dir + "/ref.ppm"));
    }
}

TEST_F(JpegWrite, CommentAndExifMarkers) {
    opstest::MakePattern(CurrentImage.dib, 16, 16);
    const std::string exif = std::string("Exif\0\0II*\0\x08\0\0\0\0\0", 16);
    CurrentImage.exif.assign(exif.begin(), exif.end());
    struct Case {
        std::string comment;
        int saveExif;
        bool exifWritten;
    };
    const Case cases[] = {{"", 0, false}, {"a note", 1, true}, {std::string(2048, 'c'), 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment.size());
        CurrentImage.comment = c.comment;
        SaveExifHeaderToFile = c.saveExif;
        const std::vector<uint8_t> bytes = ReadBytes(Write(75));
        // The COM marker is always there, holding exactly the comment.
        const std::string text(bytes.begin(), bytes.end());
        const std::string com = std::string("\xFF\xFE", 2) + static_cast<char>((c.comment.size() + 2) >> 8) +
                                static_cast<char>((c.comment.size() + 2) & 0xFF) + c.comment;
        EXPECT_NE(text.find(com), std::string::npos);
        EXPECT_EQ(text.find(exif) != std::string::npos, c.exifWritten);
        ASSERT_EQ(Load(dir + "/out.jpg"), 0);
        EXPECT_EQ(CurrentImage.comment, c.comment.substr(0, 250));
        opstest::MakePattern(CurrentImage.dib, 16, 16);
        CurrentImage.exif.assign(exif.begin(), exif.end());
    }
}

// Palette pictures go through their palette; a grey ramp gives a greyscale file.
TEST_F(JpegWrite, PalettePictures) {
    uint8_t palette[256 * 3];
    for (int i = 0; i < 256; ++i) palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = static_cast<uint8_t>(i);
    CurrentImage.dib.CreateFromPalette(8, 8, palette, 8);
    std::memset(CurrentImage.dib.bits, 200, CurrentImage.dib.imageSize);
    ASSERT_EQ(Load(Write(95)), 0);
    EXPECT_EQ(CurrentImage.formatNote, "JPEG, Greyscale Colour");
    EXPECT_NEAR(opstest::At(CurrentImage.dib, 3, 3) & 0xFF, 200, 1);

    palette[3 * 7] = 250;  // red
    palette[3 * 7 + 1] = palette[3 * 7 + 2] = 0;
    for (const int depth : {8, 4}) {
        SCOPED_TRACE(depth);
        CurrentImage.dib.CreateFromPalette(8, 8, palette, depth);
        std::memset(CurrentImage.dib.bits, depth == 8 ? 7 : 0x77, CurrentImage.dib.imageSize);
        ASSERT_EQ(Load(Write(95)), 0);
        EXPECT_EQ(CurrentImage.formatNote, "JPEG, RGB Colour");
        const uint32_t pixel = opstest::At(CurrentImage.dib, 4, 4);
        EXPECT_NEAR(static_cast<int>(pixel >> 16), 250, 4);
        EXPECT_LT(pixel & 0xFFFF, 0x0808u);
    }
}

}  // namespace

namespace {

double MeanDifference(const CDib& a, const CDib& b) {
    if (a.width != b.width || a.height != b.height) return 1e9;
    double sum = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < 3 * a.width; ++x) sum += std::abs(a.Row(y)[x] - b.Row(y)[x]);
    return sum / (3.0 * a.width * a.height);
}

// The camera suite's eight orientations of one picture: upright when the setting asks,
// as stored otherwise; a file written from an upright picture says "normal".
TEST_F(JpegWrite, ExifOrientationOnLoadAndSave) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const std::string folder = CorpusPath("exif-orientation-examples/");
    ASSERT_EQ(Load(folder + "Landscape_1.jpg"), 0);
    const CDib upright = CurrentImage.dib;
    for (int orientation = 2; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string file = folder + "Landscape_" + std::to_string(orientation) + ".jpg";
        AllowOrientationView = 0;
        ASSERT_EQ(Load(file), 0);
        EXPECT_EQ(CurrentImage.appliedOrientation, 0);
        EXPECT_EQ(CurrentImage.dib.width == upright.width, orientation < 5);
        AllowOrientationView = 1;
        ASSERT_EQ(Load(file), 0);
        EXPECT_EQ(CurrentImage.appliedOrientation, orientation);
        EXPECT_LT(MeanDifference(CurrentImage.dib, upright), 8.0);
        EXPECT_NE(titleText.find(std::to_string(upright.width) + "x"), std::string::npos) << titleText;
    }
    // Orientation 6 saved with its EXIF block: the block now says 1, and the file is not
    // turned again when it is read back.
    SaveExifHeaderToFile = 1;
    const std::string out = Write(90);
    Cexif written;
    ASSERT_EQ(Load(out), 0);
    ASSERT_FALSE(CurrentImage.exif.empty());
    ASSERT_TRUE(written.ParseExif(CurrentImage.exif.data(), CurrentImage.exif.size()));
    EXPECT_EQ(written.orientation, 1);
    EXPECT_EQ(CurrentImage.appliedOrientation, 0);
    EXPECT_LT(MeanDifference(CurrentImage.dib, upright), 8.0);
    if (opstest::ToolAvailable("exiftool")) {
        // Another reader of the file sees the same: orientation 1 and the (empty) comment.
        FILE* p = popen(("exiftool -n -s3 -Orientation -Comment '" + out + "' 2>&1").c_str(), "r");
        char text[256] = {};
        const size_t n = fread(text, 1, sizeof text - 1, p);
        pclose(p);
        EXPECT_EQ(std::string(text, n), "1\n\n");
    }
}

}  // namespace
