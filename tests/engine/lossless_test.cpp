// Lossless JPEG transforms: each operation gives the pixels jpegtran gives, the crop moves
// to the block grid, the orientation fix turns the file and marks it upright, and the
// in-place rewrite keeps the file's time, refuses read-only and damaged files and leaves no
// "$$$" file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "codecs/exif.h"
#include "core/current_image.h"
#include "core/decode.h"
#include "base/settings.h"
#include "core/save.h"
#include "edit/exif_orientation.h"
#include "libcodecs/jpeg_transform.h"
#include "ops_test_support.h"
#include "platform/host.h"
#include "platform/native/host_native.h"
#include "test_support.h"
#include "view/lossless.h"

namespace {

RgbImage Decoded(const std::vector<uint8_t>& bytes) {
    CDib picture;
    ImageFacts facts;
    bool passed = false;
    if (DecodeImage(FT_JPEG, bytes.data(), bytes.size(), picture, facts, &passed) < 0) return RgbImage();
    return DibToRgb(picture);
}

// A 64 x 32 JPEG of flat 16 x 16 cells, each of its own colour: every block is flat, so
// the lossless transforms move the cells exactly and a wrong axis shows at once. With
// `orientation`, an EXIF block giving it follows the start-of-image marker.
std::vector<uint8_t> CellJpeg(const std::string& dir, int orientation) {
    CurrentImage.dib.Create(64, 32, 24);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = CurrentImage.dib.Row(y) + 3 * x;
            const int cx = x / 16, cy = y / 16;
            p[0] = static_cast<uint8_t>(30 * (cx + cy) + 10);
            p[1] = static_cast<uint8_t>(120 * cy + 40);
            p[2] = static_cast<uint8_t>(60 * cx + 20);
        }
    CurrentImage.saveType = FT_JPEG;
    jpegQuality = 100;
    const std::string path = dir + "/cells.jpg";
    EXPECT_EQ(WriteImageFile(path), 0) << ShownBoxes();
    std::vector<uint8_t> bytes = ReadBytes(path);
    const uint8_t o = static_cast<uint8_t>(orientation);
    const std::vector<uint8_t> app1 = {
        0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0,                          // marker, length 34
        'I', 'I', 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00,                           // little-endian TIFF
        0x01, 0x00, 0x12, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, o, 0x00, 0x00, 0x00,  // one entry
        0x00, 0x00, 0x00, 0x00};                                                // no next directory
    bytes.insert(bytes.begin() + 2, app1.begin(), app1.end());
    return bytes;
}

int MaxDifference(const CDib& a, const CDib& b) {
    if (a.width != b.width || a.height != b.height) return 256;
    int most = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < 3 * a.width; ++x) most = std::max(most, std::abs(a.Row(y)[x] - b.Row(y)[x]));
    return most;
}

bool Exists(const std::string& path) {
    struct stat s;
    return ::stat(path.c_str(), &s) == 0;
}

class Lossless : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }
};

TEST_F(Lossless, OperationsEqualJpegtranAndCropsOnTheGrid) {
    if (!CorpusAvailable() || !opstest::ToolAvailable("jpegtran")) GTEST_SKIP() << "needs the corpus and jpegtran";
    const std::string dir = ScratchDir("lossless");
    const std::string source = CorpusPath("libjpeg-turbo-testimages/testorig.jpg");  // 227 x 149, 4:2:0
    const std::vector<uint8_t> bytes = ReadBytes(source);
    // And 224 x 144 at 4:4:4: no partial blocks at either edge.
    const std::string full = dir + "/444.jpg";
    ASSERT_EQ(std::system(("convert '" + source + "' -crop 224x144+0+0 ppm:- | cjpeg -sample 1x1 -outfile '" + full +
                           "'").c_str()),
              0);
    const struct {
        int command;
        const char* jpegtran;
    } cases[] = {
        {156, "-rotate 90"}, {157, "-rotate 180"}, {158, "-rotate 270"}, {159, "-flip horizontal"},
        {160, "-flip vertical"}, {166, "-transpose"}, {167, "-transverse"}, {168, ""},
    };
    for (const std::string& file : {source, full}) {
        const std::vector<uint8_t> input = ReadBytes(file);
        for (const auto& c : cases) {
            SCOPED_TRACE(file + " " + std::to_string(c.command));
            LosslessOperation operation;
            ASSERT_TRUE(LosslessOperationOfCommand(c.command, &operation));
            std::vector<uint8_t> ours;
            std::string error;
            ASSERT_TRUE(TransformJpeg(input.data(), input.size(), operation, nullptr, true, &ours, &error)) << error;
            const std::string reference = dir + "/ref.jpg";
            const std::string command =
                std::string("jpegtran -copy all ") + c.jpegtran + " '" + file + "' > '" + reference + "'";
            ASSERT_EQ(std::system(command.c_str()), 0);
            // The same library underneath: the same bytes, so every marker is copied as
            // jpegtran copies it and the partial edge blocks are kept as it keeps them.
            EXPECT_TRUE(ours == ReadBytes(reference));
            const RgbImage a = Decoded(ours);
            ASSERT_TRUE(a.Valid());
            const bool turned = c.command == 156 || c.command == 158 || c.command == 166 || c.command == 167;
            const RgbImage original = Decoded(input);
            EXPECT_EQ(a.width, turned ? original.height : original.width);
        }
    }
    // A crop from x = 13 in 16-pixel blocks starts at 0 and is 13 wider; y = 20 in 16-row
    // blocks starts at 16.
    const LosslessRegion region{13, 20, 50, 40};
    std::vector<uint8_t> cut;
    std::string error;
    ASSERT_TRUE(TransformJpeg(bytes.data(), bytes.size(), LOSSLESS_NONE, &region, true, &cut, &error)) << error;
    const RgbImage c = Decoded(cut);
    EXPECT_EQ(c.width, 63);
    EXPECT_EQ(c.height, 44);
    // The same through a file: a damaged source fails and writes nothing.
    const std::string cutPath = dir + "/cut.jpg";
    ASSERT_EQ(LosslessCrop(cutPath, source, region), 0) << ShownBoxes();
    EXPECT_TRUE(ReadBytes(cutPath) == cut);
    const std::string damaged = dir + "/damaged.jpg";
    WriteBytes(damaged, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));
    NativeHost.boxes.clear();
    EXPECT_EQ(LosslessCrop(dir + "/none.jpg", damaged, region), -1);
    EXPECT_EQ(ShownBoxes(), "Lossless Crop failed in filename " + damaged + "\n");
    EXPECT_FALSE(Exists(dir + "/none.jpg"));
    // The null transform keeps the markers: the comment survives.
    std::vector<uint8_t> same;
    ASSERT_TRUE(TransformJpeg(bytes.data(), bytes.size(), LOSSLESS_NONE, nullptr, true, &same, &error));
    Cjpeg before, after;
    before.ScanJpegMarkers(bytes.data(), bytes.size());
    after.ScanJpegMarkers(same.data(), same.size());
    EXPECT_STREQ(before.comment, after.comment);
}

TEST_F(Lossless, InPlaceRewriteAndOrientationFix) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const std::string dir = ScratchDir("lossless-files");
    const std::string path = dir + "/six.jpg";
    WriteBytes(path, ReadBytes(CorpusPath("exif-orientation-examples/Landscape_6.jpg")));
    ASSERT_EQ(HostSetFileWriteTime(path, 130000000000000000ull), 0);
    ASSERT_EQ(LoadAfresh(path), 0) << ShownBoxes();
    const int storedWidth = static_cast<int>(CurrentImage.storedWidth);
    const int storedHeight = static_cast<int>(CurrentImage.storedHeight);
    ASSERT_EQ(AutoFixOrientation(), 0) << ShownBoxes();
    // Reloaded: the file is turned (its stored size exchanged) and upright.
    EXPECT_EQ(static_cast<int>(CurrentImage.storedWidth), storedHeight);
    EXPECT_EQ(static_cast<int>(CurrentImage.storedHeight), storedWidth);
    Cexif exif;
    ASSERT_TRUE(exif.ParseExif(CurrentImage.exif.data(), CurrentImage.exif.size()));
    EXPECT_EQ(exif.orientation, 1);
    HostFileFacts facts;
    ASSERT_TRUE(HostGetFileFacts(path, &facts));
    EXPECT_EQ(facts.lastWriteTime, 130000000000000000ull);
    EXPECT_FALSE(Exists(LosslessTemporaryPath(path)));
    EXPECT_EQ(AutoFixOrientation(), 0);  // orientation 1: nothing to do

    // Read-only: refused, the content kept, no "$$$" left.
    const std::vector<uint8_t> kept = ReadBytes(path);
    ::chmod(path.c_str(), 0444);
    NativeHost.boxes.clear();
    EXPECT_EQ(LosslessTransform(157, path, false), -1);
    EXPECT_NE(ShownBoxes().find("Cannot transform ReadOnly file "), std::string::npos) << ShownBoxes();
    ::chmod(path.c_str(), 0644);
    EXPECT_TRUE(ReadBytes(path) == kept);
    EXPECT_FALSE(Exists(LosslessTemporaryPath(path)));

    // A file cut short makes the library warn: refused, the original kept.
    std::vector<uint8_t> shortened(kept.begin(), kept.begin() + static_cast<long>(kept.size() / 2));
    WriteBytes(path, shortened);
    NativeHost.boxes.clear();
    EXPECT_EQ(LosslessTransform(156, path, false), -1);
    EXPECT_NE(ShownBoxes().find("JPEG Lossless transform failed: <"), std::string::npos) << ShownBoxes();
    EXPECT_TRUE(ReadBytes(path) == shortened);
    EXPECT_EQ(LosslessTemporaryPath("C:\\a.b\\pic.jpeg"), "C:\\a.b\\pic.$$$");
    EXPECT_EQ(AutoFixCommand(3), 157);
    EXPECT_EQ(AutoFixCommand(9), 168);
}

TEST_F(Lossless, OrientationFixEqualsJpegtranForEveryOrientation) {
    if (!CorpusAvailable() || !opstest::ToolAvailable("jpegtran")) GTEST_SKIP() << "needs the corpus and jpegtran";
    const std::string dir = ScratchDir("lossless-orientations");
    const char* operations[] = {"-flip horizontal", "-rotate 180", "-flip vertical", "-transpose",
                                "-rotate 90",       "-transverse", "-rotate 270"};
    for (int orientation = 2; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string original = CorpusPath("exif-orientation-examples/Landscape_" + std::to_string(orientation) + ".jpg");
        const std::string path = dir + "/landscape.jpg", reference = dir + "/ref.jpg";
        WriteBytes(path, ReadBytes(original));
        const std::string command = std::string("jpegtran -copy all ") + operations[orientation - 2] + " '" + original +
                                    "' > '" + reference + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_EQ(LoadAfresh(path), 0) << ShownBoxes();
        ASSERT_EQ(AutoFixOrientation(), 0) << ShownBoxes();
        EXPECT_TRUE(Decoded(ReadBytes(path)).rgb == Decoded(ReadBytes(reference)).rgb);
        Cexif exif;
        ASSERT_TRUE(exif.ParseExif(CurrentImage.exif.data(), CurrentImage.exif.size()));
        EXPECT_EQ(exif.orientation, 1);
    }
}

// What the user sees is transformed as the command says, however the file is stored and
// whether or not it is shown upright; the file keeps its orientation.
TEST_F(Lossless, CommandsActOnThePictureAsShown) {
    const std::string dir = ScratchDir("lossless-shown");
    const std::string path = dir + "/shown.jpg";
    // Each command with the orientation that does the same to a picture.
    const struct {
        int command;
        int asOrientation;
    } commands[] = {{156, 6}, {157, 3}, {158, 8}, {159, 2}, {160, 4}, {166, 5}, {167, 7}, {168, 1}};
    for (int view = 0; view <= 1; ++view) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const std::vector<uint8_t> file = CellJpeg(dir, orientation);
            for (const auto& c : commands) {
                SCOPED_TRACE("view " + std::to_string(view) + " orientation " + std::to_string(orientation) +
                             " command " + std::to_string(c.command));
                WriteBytes(path, file);
                AllowOrientationView = view;
                ASSERT_EQ(LoadAfresh(path), 0) << ShownBoxes();
                EXPECT_EQ(CurrentImage.appliedOrientation, view == 1 && orientation >= 2 ? orientation : 0);
                CDib expected = CurrentImage.dib;
                ApplyOrientation(expected, c.asOrientation);
                ASSERT_EQ(LosslessTransform(c.command, path, false), 0) << ShownBoxes();
                EXPECT_LE(MaxDifference(CurrentImage.dib, expected), 2);
                Cexif exif;
                ASSERT_TRUE(exif.ParseExif(CurrentImage.exif.data(), CurrentImage.exif.size()));
                EXPECT_EQ(exif.orientation, orientation);
            }
        }
    }
    // The operation on the stored file, worked out: a mirrored file turned a quarter on
    // the screen is turned the other way in the file.
    EXPECT_EQ(StoredOperation(LOSSLESS_ROTATE_90, 2), LOSSLESS_ROTATE_270);
    EXPECT_EQ(StoredOperation(LOSSLESS_FLIP_HORIZONTAL, 6), LOSSLESS_FLIP_VERTICAL);
    EXPECT_EQ(StoredOperation(LOSSLESS_TRANSPOSE, 6), LOSSLESS_TRANSVERSE);
    EXPECT_EQ(StoredOperation(LOSSLESS_ROTATE_90, 6), LOSSLESS_ROTATE_90);
    EXPECT_EQ(StoredOperation(LOSSLESS_FLIP_VERTICAL, 1), LOSSLESS_FLIP_VERTICAL);
    EXPECT_EQ(StoredOperation(LOSSLESS_FLIP_VERTICAL, 9), LOSSLESS_FLIP_VERTICAL);
}

}  // namespace
