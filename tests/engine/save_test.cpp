// Writing pictures: the dispatcher, BMP output at every depth, names, and writes that
// fail without harming the file that was there.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <sys/stat.h>

#include <functional>
#include <new>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/filedate.h"
#include "platform/host.h"
#include "core/loader.h"
#include "open/open.h"
#include "platform/native/host_native.h"
#include "core/quantise.h"
#include "core/save.h"
#include "core/title.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

class Save : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("save");
        CurrentImage.saveType = FT_BMP;
    }
    void TearDown() override { ResetEngineState(); }
    static int Load(std::string path) { return LoadImageFile(path); }
    static void Picture(int w, int h) {
        CurrentImage.dib.Create(w, h, 24);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint8_t* p = CurrentImage.dib.Row(y) + 3 * x;
                p[0] = static_cast<uint8_t>(x * 37 + y);
                p[1] = static_cast<uint8_t>(y * 11);
                p[2] = static_cast<uint8_t>(x ^ y);
            }
    }
};

bool ToolAvailable(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

TEST_F(Save, GoodCorpusPicturesRoundTripAs24BitBmp) {
    if (!CorpusAvailable()) GTEST_SKIP() << "no corpus";
    const bool haveConvert = ToolAvailable("convert");
    for (const std::string& path : ListFiles(CorpusPath("bmpsuite/g"), ".bmp")) {
        ASSERT_EQ(Load(path), 0) << path;
        RgbImage original = DibToRgb(CurrentImage.dib);
        std::string out = dir + "/rt.bmp";
        CurrentImage.saveType = FT_BMP;
        ASSERT_EQ(WriteImageFile(out), 0) << path;
        ASSERT_EQ(Load(out), 0) << path;
        EXPECT_TRUE(DibToRgb(CurrentImage.dib).rgb == original.rgb) << path;
        if (haveConvert) {
            // An independent reader sees the same pixels.
            std::string png = dir + "/rt.png";
            ASSERT_EQ(std::system(("convert '" + out + "' '" + png + "'").c_str()), 0);
            RgbImage theirs = ReadPngRgb(png);
            EXPECT_TRUE(theirs.rgb == original.rgb) << path;
        }
    }
}

TEST_F(Save, PaletteDepthsReadBackAsTheReducedPicture) {
    for (int depth : {1, 4, 8}) {
        for (char method : {'1', '2'}) {
            Picture(37, 11);
            ditherMethod = method;
            saveDepth = depth;
            CurrentImage.saveType = FT_BMP;
            std::string out = dir + "/p" + std::to_string(depth) + method + ".bmp";
            ASSERT_EQ(WriteImageFile(out), 0) << depth << method;
            // The same reduction, kept for comparison.
            Picture(37, 11);
            ASSERT_NE(QuantiseImage(depth, CurrentImage.dib), nullptr);
            CDib expected(quantisedImage);
            ReleaseQuantisedImage();
            expected.MakeTrueColour();
            std::vector<uint8_t> file = ReadBytes(out);
            ASSERT_GE(file.size(), 54u);
            EXPECT_EQ(file[28], depth);
            const uint32_t colours = depth == 1 ? 2 : depth == 4 ? 16 : 256;
            EXPECT_EQ(file[10] | file[11] << 8, static_cast<int>(54 + 4 * colours));
            EXPECT_EQ(file[46] | file[47] << 8, static_cast<int>(colours));
            ASSERT_EQ(Load(out), 0);
            EXPECT_TRUE(DibToRgb(CurrentImage.dib).rgb == DibToRgb(expected).rgb) << depth << method;
        }
    }
    saveDepth = 24;
}

TEST_F(Save, OneBitPictureNineWideHasTheRightLayout) {
    Picture(9, 3);
    saveDepth = 1;
    ditherMethod = '1';
    ASSERT_EQ(WriteImageFile(dir + "/nine.bmp"), 0);
    std::vector<uint8_t> f = ReadBytes(dir + "/nine.bmp");
    ASSERT_EQ(f.size(), 62u + 4 * 3);  // row bytes 4, pixel offset 62
    EXPECT_EQ(f[10], 62);
    EXPECT_EQ(f[46], 2);
    EXPECT_EQ(f[2] | f[3] << 8, 74);
}

TEST_F(Save, SuccessTitlesTheWrittenFileAndKeepsTheDate) {
    Picture(4, 2);
    SaveDate = 1;
    inputFileTime = (1262304000ull + 11644473600ull) * 10000000ull;  // 2010-01-01
    std::string out = dir + "/dated.bmp";
    ASSERT_EQ(WriteImageFile(out), 0);
    EXPECT_EQ(titleText, " dated.bmp (4x2x24)");
    EXPECT_EQ(CurrentImage.storedWidth, 4u);
    struct stat st;
    ASSERT_EQ(::stat(out.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1262304000);
    // Only the first write after a load gets the date.
    ASSERT_EQ(WriteImageFile(dir + "/second.bmp"), 0);
    ASSERT_EQ(::stat((dir + "/second.bmp").c_str(), &st), 0);
    EXPECT_GT(st.st_mtime, 1262304000);

    // A file whose date cannot be read leaves no date behind for the next save.
    inputFileTime = (1262304000ull + 11644473600ull) * 10000000ull;
    EXPECT_LT(ReadFileDate(dir + "/missing.bmp"), 0);
    ASSERT_EQ(WriteImageFile(dir + "/third.bmp"), 0);
    ASSERT_EQ(::stat((dir + "/third.bmp").c_str(), &st), 0);
    EXPECT_GT(st.st_mtime, 1262304000);
}

// The writers only hand their progress texts over; the dispatch shows them and puts the
// title back when the writer returns, on success and on failure.
TEST_F(Save, TheDispatchShowsEachWritersProgressAndPutsTheTitleBack) {
    Picture(40, 20);
    struct { FileType type; const char* name; const char* progress; } cases[] = {
        {FT_JPEG, "p.jpg", "Saving file 0% p.jpg"},
        {FT_PNG, "p.png", "Writing file data: 0% "},
        {FT_WEBP, "p.webp", "Saving WebP image - please wait"},
    };
    for (const auto& c : cases) {
        NativeHostReset();
        CurrentImage.saveType = c.type;
        ASSERT_EQ(WriteImageFile(dir + "/" + c.name), 0) << c.name;
        const auto& titles = NativeHost.titles;
        EXPECT_NE(std::find(titles.begin(), titles.end(), c.progress), titles.end()) << c.name;
        ASSERT_FALSE(titles.empty());
        EXPECT_EQ(titles.back(), std::string(" ") + c.name + " (40x20x24)");
    }
    const std::string before = titleText;
    NativeHostReset();
    CurrentImage.saveType = FT_JPEG;
    EXPECT_LT(WriteImageFile(dir + "/no-such-folder/p.jpg"), 0);
    ASSERT_FALSE(NativeHost.titles.empty());
    EXPECT_EQ(NativeHost.titles.back(), before);
}

TEST_F(Save, FailedWritesLeaveTheOldFileAndNoLeftovers) {
    std::string target = dir + "/keep.bmp";
    WriteBytes(target, {'o', 'l', 'd'});
    Picture(50, 50);
    struct { const char* what; std::function<void()> arrange; const char* message; } cases[] = {
        {"read-only folder", [] { NativeHostCreateError = 5; }, "Error in Opening output file : "},
        {"file open elsewhere", [] { NativeHostReplaceError = 32; }, "Error in Opening output file : "},
        {"disk full", [] { NativeHostWriteBudget = 100; }, "Error in Saving file: : "},
    };
    for (auto& c : cases) {
        NativeHostReset();
        c.arrange();
        EXPECT_LT(WriteImageFile(target), 0) << c.what;
        ASSERT_EQ(NativeHost.boxes.size(), 1u) << c.what;
        EXPECT_EQ(NativeHost.boxes[0], std::string(c.message) + target + "\n") << c.what;
        EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'})) << c.what;
        EXPECT_EQ(ListFiles(dir, "").size(), 1u) << c.what;
    }
}

// A writer left by an exception (a picture block that cannot be had, memory running out
// in the middle of a GIF) is one failure like the others: one message, the old file as it
// was, no temporary file beside it, and the edit state back so that commands run again.
TEST_F(Save, AWriterThatThrowsLeavesNothingBehind) {
    const std::string target = dir + "/keep.gif";
    WriteBytes(target, {'o', 'l', 'd'});
    struct {
        const char* what;
        void (*pump)();
        const char* message;
    } cases[] = {
        {"a picture block", [] { throw "Can't allocate DIB memory."; }, "Can't allocate DIB memory."},
        {"memory", [] { throw std::bad_alloc(); }, "Not enough memory to write the file "},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        NativeHostReset();
        Picture(50, 50);
        CurrentImage.saveType = FT_GIF;
        EditState = EDIT_NONE;
        NativeHostOnPump = c.pump;  // the GIF writer's colour reduction pumps messages
        EXPECT_LT(WriteImageFile(target), 0);
        NativeHostOnPump = nullptr;
        ASSERT_EQ(NativeHost.boxes.size(), 1u);
        EXPECT_EQ(NativeHost.boxes[0], c.message);
        EXPECT_EQ(NativeHost.captions[0], "File Write");
        EXPECT_EQ(EditState, EDIT_NONE);
        EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
        EXPECT_EQ(ListFiles(dir, "").size(), 1u);
    }
    // The next save of the same picture goes through.
    Picture(50, 50);
    EXPECT_EQ(WriteImageFile(target), 0);
    EXPECT_EQ(ListFiles(dir, "").size(), 1u);
}

TEST_F(Save, TypesWithoutAWriterSaySo) {
    Picture(2, 2);
    CurrentImage.saveType = FT_TGA;
    EXPECT_LT(WriteImageFile(dir + "/x.tga"), 0);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "Error: File type <5> not supported in file: " + dir + "/x.tga");
    EXPECT_EQ(NativeHost.captions[0], "File Write");

    // A batch run is told on standard output and never waits on a box.
    NativeHostReset();
    RunMode = RUN_BATCH;
    EXPECT_LT(WriteImageFile(dir + "/x.tga"), 0);
    RunMode = RUN_NORMAL;
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_EQ(NativeHost.stdoutText, "Error: File type <5> not supported in file: " + dir + "/x.tga\n");
}

TEST_F(Save, AFailingWriterReportsOnce) {
    // The quantiser refuses the depth and says so, the writer says why it stopped; the
    // dispatcher adds nothing (its "could not open" would be wrong).
    Picture(4, 2);
    saveDepth = 2;
    ditherMethod = '1';
    EXPECT_LT(WriteImageFile(dir + "/q.bmp"), 0);
    saveDepth = 24;
    ASSERT_EQ(NativeHost.boxes.size(), 2u);
    EXPECT_EQ(NativeHost.boxes[1], "Can't write BMP file due to dither fail : " + dir + "/q.bmp\n");
}

TEST_F(Save, ProposedNames) {
    EXPECT_EQ(SaveNameWithType("C:\\p\\a.jpg", FT_BMP), "C:\\p\\a.bmp");
    EXPECT_EQ(SaveNameWithType("C:\\p\\a.jpg", FT_WEBP), "C:\\p\\a.webp");
    EXPECT_EQ(SaveNameWithType("C:\\p\\a.jpg", FT_TNS), "C:\\p\\a.tns");
    EXPECT_EQ(SaveNameWithType("C:\\p\\a.bmp", FT_ICO), "C:\\p\\a.ico");
    EXPECT_EQ(SaveNameWithType("C:\\p\\a.bmp", FT_RAW), "C:\\p\\a.jpg");
    EXPECT_EQ(SaveNameWithType("C:\\my.pics\\photo", FT_PNG), "C:\\my.pics\\photo.png");
    SaveDir.clear();
    lastReadFolder = "D:\\in\\";
    EXPECT_EQ(ProposeSaveName("D:\\in\\holiday.tif"), "D:\\in\\holiday");
    SaveDir = "E:\\out.dir\\";
    EXPECT_EQ(ProposeSaveName("D:\\in\\noext"), "E:\\out.dir\\noext");
}

TEST_F(Save, FilterEntryDecidesTheType) {
    std::string path;
    ASSERT_EQ(CompleteSaveName("C:\\out\\pic.bmp", 1, false, &path), 0);  // JPEG entry, .bmp typed
    EXPECT_EQ(path, "C:\\out\\pic.jpg");
    EXPECT_EQ(CurrentImage.saveType, FT_JPEG);
    EXPECT_EQ(SaveDir, "C:\\out\\");
    ASSERT_EQ(CompleteSaveName("C:\\out\\pic", 7, true, &path), 0);
    EXPECT_EQ(path, "C:\\out\\pic.tns");
    ASSERT_EQ(CompleteSaveName("C:\\out\\pic", 6, true, &path), 0);
    EXPECT_EQ(CurrentImage.saveType, FT_MPEG);
    EXPECT_LT(CompleteSaveName("C:\\out\\pic", 8, false, &path), 0);
    EXPECT_EQ(NativeHost.boxes.at(0).rfind("Error: Only File types JPG, BMP, GIF, WEBP and TGA Supported in file ", 0), 0u);
}

TEST_F(Save, OverwriteIsAsked) {
    std::string target = dir + "/exists.bmp";
    EXPECT_EQ(ConfirmOverwrite(target), 0);
    EXPECT_TRUE(NativeHost.boxes.empty());
    WriteBytes(target, {1});
    NativeHostBoxAnswer = kIdNo;
    EXPECT_EQ(ConfirmOverwrite(target), -1);
    EXPECT_EQ(NativeHost.boxes.at(0), "File: <" + target + "> Already exists. Overwrite?");
    NativeHostBoxAnswer = kIdYes;
    EXPECT_EQ(ConfirmOverwrite(target), 0);
    NativeHostBoxAnswer = kIdOk;
}

// The save folder dialog's OK: the typed folder is trimmed and ends with "\"; an empty or
// over-long text keeps the old folder; the other two types take their folder.
TEST(SaveFolder, TypedLastReadAndCurrentChoices) {
    std::string folder = "C:\\old\\";
    EXPECT_TRUE(SaveFolderFromText("D:\\pictures  \r\n", &folder));
    EXPECT_EQ(folder, "D:\\pictures\\");
    EXPECT_TRUE(SaveFolderFromText("D:\\out\\", &folder));
    EXPECT_EQ(folder, "D:\\out\\");
    EXPECT_FALSE(SaveFolderFromText(" \n", &folder));
    EXPECT_FALSE(SaveFolderFromText("D:\\" + std::string(300, 'x'), &folder));
    EXPECT_EQ(folder, "D:\\out\\");

    lastReadFolder = "E:\\read\\";
    ApplySaveFolderChoice(SAVEDIR_LASTREAD, "ignored", "F:\\cwd");
    EXPECT_EQ(SaveDirType, SAVEDIR_LASTREAD);
    EXPECT_EQ(SaveDir, "E:\\read\\");
    ApplySaveFolderChoice(SAVEDIR_CURRENT, "ignored", "F:\\cwd");
    EXPECT_EQ(SaveDir, "F:\\cwd\\");
    ApplySaveFolderChoice(SAVEDIR_USER, "G:\\typed", "F:\\cwd");
    EXPECT_EQ(SaveDirType, SAVEDIR_USER);
    EXPECT_EQ(SaveDir, "G:\\typed\\");
    ApplySaveFolderChoice(SAVEDIR_USER, "", "F:\\cwd");
    EXPECT_EQ(SaveDir, "G:\\typed\\");
}

}  // namespace
