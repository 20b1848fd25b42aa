// The loading pipeline: names, failures, titles, paths and histories.
#include <gtest/gtest.h>

#include <unistd.h>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/filemem.h"
#include "core/fileops.h"
#include "platform/host.h"
#include "core/loader.h"
#include "core/save.h"
#include "open/open.h"
#include "platform/native/host_native.h"
#include "core/title.h"
#include "settings/filelist.h"
#include "settings/history.h"
#include "sheets/run_load.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

class Loader : public ::testing::Test {
protected:
    std::string dir;
    std::string cwd;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("loader");
        cwd = HostGetCurrentDir();
    }
    void TearDown() override {
        HostSetCurrentDir(cwd);
        ResetEngineState();
    }
    std::string Put(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string path = dir + "/" + name;
        WriteBytes(path, bytes);
        return path;
    }
    int Load(std::string path, int history = 0) {
        NativeHostReset();
        return LoadImageFile({path, static_cast<HistoryMode>(history)});
    }
    static std::string Box() { return NativeHost.boxes.empty() ? "" : NativeHost.boxes[0]; }
};

TEST_F(Loader, LoadsAndTitlesAPicture) {
    std::string path = Put("grey.bmp", MakeBmp24(3, 2, 0x40));
    ASSERT_EQ(Load(path), 0) << Box();
    EXPECT_EQ(CurrentImage.dib.width, 3);
    EXPECT_EQ(CurrentImage.dib.bitsPerPixel, 24);
    EXPECT_EQ(CurrentImage.fileType, FT_BMP);
    EXPECT_EQ(CurrentImage.fullPath, path);
    EXPECT_EQ(titleText, " grey.bmp (3x2x24)");
    EXPECT_EQ(NativeHost.titles.back(), titleText);
    EXPECT_EQ(CurrentImage.undoTop, -1);
    EXPECT_FALSE(CurrentImage.failedLoad);
    // The title showed "Loading file..." before the pixels arrived.
    bool loading = false;
    for (const auto& t : NativeHost.titles) loading |= t == "Loading file...";
    EXPECT_TRUE(loading);
}

TEST_F(Loader, QuotesAndTrailingBlanksAreIgnoredAndBareNamesGetTheFolder) {
    std::string path = Put("q.bmp", MakeBmp24(1, 1, 1));
    ASSERT_EQ(Load("\"" + path + "\" \n"), 0) << Box();
    EXPECT_EQ(CurrentImage.fullPath, path);
    ASSERT_TRUE(HostSetCurrentDir(dir));
    ASSERT_EQ(Load("q.bmp"), 0) << Box();
    EXPECT_EQ(CurrentImage.fullPath, dir + "/q.bmp");
}

TEST_F(Loader, MissingEmptyAndUnsupportedFilesAreReported) {
    EXPECT_LT(Load(dir + "/none.bmp"), 0);
    EXPECT_EQ(Box(), "Can't open file : " + dir + "/none.bmp\n");
    EXPECT_EQ(NativeHost.captions.at(0), "Viewer");
    EXPECT_LT(Load(Put("empty.bmp", {})), 0);
    EXPECT_EQ(Box(), "Is this a genuine *.BMP file? : " + dir + "/empty.bmp\n");
    EXPECT_LT(Load(Put("x.xyz", {1, 2, 3})), 0);
    EXPECT_EQ(Box(), "Error: File type not Supported: " + dir + "/x.xyz\n");
    std::vector<uint8_t> cut = MakeBmp24(20, 20, 3);
    cut.resize(100);
    EXPECT_LT(Load(Put("cut.bmp", cut)), 0);
    EXPECT_EQ(Box(), "File is truncated : " + dir + "/cut.bmp\n");
    EXPECT_EQ(FileMem.data, nullptr);  // the file in memory never outlives a load
}

TEST_F(Loader, ARejectedHeaderBlacksOutTheOldPicture) {
    ASSERT_EQ(Load(Put("a.bmp", MakeBmp24(4, 4, 0x99))), 0);
    std::vector<uint8_t> bad = MakeBmp24(4, 4, 0x99);
    bad[0] = 'X';
    EXPECT_LT(Load(Put("bad.bmp", bad)), 0);
    EXPECT_EQ(CurrentImage.dib.width, 4);
    EXPECT_EQ(CurrentImage.dib.bits[0], 0);
    EXPECT_TRUE(CurrentImage.failedLoad);
    EXPECT_EQ(CurrentImage.fullPath, dir + "/a.bmp");  // the path stays the last good file
}

TEST_F(Loader, ATypeWithoutAReaderChangesNothing) {
    ASSERT_EQ(Load(Put("a.bmp", MakeBmp24(2, 2, 0x55))), 0);
    EXPECT_LT(Load(Put("a.pcx", {0x0A, 5})), 0);
    EXPECT_NE(Box().find("not available yet"), std::string::npos) << Box();
    EXPECT_EQ(CurrentImage.dib.bits[0], 0x55);
}

TEST_F(Loader, BatchRunsPrintReportsInsteadOfBoxes) {
    RunMode = RUN_BATCH;
    EXPECT_LT(Load(dir + "/none.bmp"), 0);
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_EQ(NativeHost.stdoutText, "Can't open file : " + dir + "/none.bmp\n");
    VerboseFlag = 1;
    EXPECT_LT(Load(dir + "/none.bmp"), 0);
    EXPECT_EQ(NativeHost.boxes.size(), 1u);
    RunMode = RUN_SLIDESHOW;
    EXPECT_LT(Load(dir + "/none.bmp"), 0);
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_EQ(NativeHost.titles.back(), "\n\nCan't open file : none.bmp\n");
}

TEST_F(Loader, HistoriesFollowTheHistoryMode) {
    std::string a = Put("a.bmp", MakeBmp24(1, 1, 1));
    std::string b = Put("b.bmp", MakeBmp24(1, 1, 1));
    ASSERT_EQ(Load(a, HISTORY_NONE), 0);
    EXPECT_EQ(FileHistory.count, 0);
    EXPECT_EQ(FolderHistory.count, 0);
    ASSERT_EQ(Load(a, HISTORY_FOLDER), 0);
    EXPECT_EQ(FileHistory.count, 0);
    EXPECT_EQ(FolderHistory.count, 1);
    ASSERT_EQ(Load(b, HISTORY_FOLDER_AND_FILE), 0);
    ASSERT_EQ(Load(a, HISTORY_FOLDER_AND_FILE), 0);
    EXPECT_EQ(FileHistory.count, 2);
    EXPECT_EQ(FileHistory.entries[0], a);
    EXPECT_EQ(LastFileViewed, a);
    EXPECT_EQ(FolderHistory.count, 1);
}

// The boss picture comes from outside the folder list: the list is collected again
// before the next step, and the histories do not follow it.
TEST_F(Loader, TheBossPictureMarksTheListStale) {
    BossAlert = Put("boss.bmp", MakeBmp24(2, 2, 9));
    FileList.stale = false;
    NativeHostReset();
    ASSERT_EQ(LoadBossPicture(), 0);
    EXPECT_TRUE(FileList.stale);
    EXPECT_EQ(FileHistory.count, 0);
    EXPECT_EQ(CurrentImage.dib.width, 2);
    BossAlert = dir + "/boss.xyz";
    NativeHostReset();
    EXPECT_LT(LoadBossPicture(), 0);
    EXPECT_EQ(Box(), "Error: File type not Supported : " + BossAlert + "\n");
}

TEST_F(Loader, DefaultViewChoosesTheDisplayMode) {
    std::string path = Put("big.bmp", MakeBmp24(50, 40, 1));
    workAreaWidth = 60;
    workAreaHeight = 60;
    borderWidth = 10;
    borderHeight = 20;
    struct { int view; int mode; } cases[] = {
        {VIEW_NORMAL, 'N'}, {VIEW_FULL, 'I'}, {VIEW_HALF, 'H'}, {VIEW_QUARTER, 'Q'}, {VIEW_BIG, 'N'},
    };
    for (auto c : cases) {
        DefaultViewFull = c.view;
        ASSERT_EQ(Load(path), 0);
        EXPECT_EQ(DisplayMode, c.mode) << c.view;
    }
    borderHeight = 21;  // one pixel higher than the work area less the borders
    ASSERT_EQ(Load(path), 0);
    EXPECT_EQ(DisplayMode, 'I');
    DisplayMode = 'X';  // the fixed window keeps its mode
    ASSERT_EQ(Load(path), 0);
    EXPECT_EQ(DisplayMode, 'X');
    workAreaWidth = 1024;
    workAreaHeight = 768;
    borderWidth = borderHeight = 0;
}

// A file that cannot be read leaves the picture shown with everything about it: a later
// Save must still write its EXIF and comment, Undo must still work, and the title and
// path still name its file.
TEST_F(Loader, AFileThatCannotBeReadLeavesThePictureAsItWas) {
    const std::string shown = Put("shown.bmp", MakeBmp24(4, 3, 0x20));
    ASSERT_EQ(Load(shown, HISTORY_FOLDER_AND_FILE), 0);
    CurrentImage.comment = "kept comment";
    CurrentImage.exif = {'E', 'x', 'i', 'f', 0, 0};
    CurrentImage.storedBitsPerPixel = 24;
    ASSERT_EQ(PushUndo(), 0);
    CurrentImage.dib.FillRGB(0x123456);
    const std::string title = titleText;
    for (const char* name : {"missing.bmp", "missing.png"}) {
        EXPECT_LT(Load(dir + "/" + name, HISTORY_FOLDER_AND_FILE), 0) << name;
        EXPECT_EQ(Box(), std::string("Can't open file : ") + dir + "/" + name + "\n") << name;
        EXPECT_EQ(CurrentImage.fileType, FT_BMP) << name;
        EXPECT_EQ(CurrentImage.fullPath, shown) << name;
        EXPECT_EQ(CurrentImage.comment, "kept comment") << name;
        EXPECT_EQ(CurrentImage.exif.size(), 6u) << name;
        EXPECT_EQ(CurrentImage.undoTop, 0) << name;
        EXPECT_FALSE(CurrentImage.failedLoad) << name;
        EXPECT_EQ(FileHistory.count, 1) << name;
        RetitleWithNewSize();
        EXPECT_EQ(titleText, title) << name;
    }
    Undo();
    EXPECT_EQ(CurrentImage.dib.bits[0], 0x20);
}

// The runs over many files (sheets/) load as the user does: the new picture's display
// mode, its title and its facts, with the histories left alone and no animation playing.
TEST_F(Loader, ARunLoadsItsFilesAsTheUserDoes) {
    const std::string bmp = Put("first.bmp", MakeBmp24(40, 30, 0x50));
    ASSERT_EQ(Load(bmp), 0);
    CurrentImage.saveType = FT_JPEG;
    const std::string jpeg = dir + "/second.jpg";
    ASSERT_EQ(WriteImageFile(jpeg), 0);
    ResetEngineState();
    DefaultViewFull = VIEW_HALF;
    struct { const std::string& path; FileType type; const char* title; } cases[] = {
        {bmp, FT_BMP, " first.bmp (40x30x24)"},
        {jpeg, FT_JPEG, " second.jpg (40x30x24)"},
    };
    for (const auto& c : cases) {
        DisplayMode = MODE_NORMAL;
        NativeHostReset();
        ASSERT_EQ(LoadRunInput(c.path), 0) << c.path << ": " << Box();
        EXPECT_EQ(CurrentImage.fileType, c.type);
        EXPECT_EQ(CurrentImage.fullPath, c.path);
        EXPECT_EQ(titleText, c.title);
        EXPECT_EQ(NativeHost.titles.back(), c.title);
        EXPECT_EQ(DisplayMode, MODE_HALF);
        EXPECT_EQ(displayWidth, 40);
        EXPECT_EQ(GIFAnimation, 0);
        EXPECT_EQ(FileHistory.count, 0);
        EXPECT_EQ(FolderHistory.count, 0);
    }
    EXPECT_EQ(CurrentImage.jpegProcess, 192);
    EXPECT_LT(LoadRunInput(dir + "/gone.jpg"), 0);
    EXPECT_EQ(CurrentImage.fileType, FT_JPEG);
}

// Stepping through the folder's list puts the file's place before its name, for that
// load only: an edit's new title has no place in the list.
TEST_F(Loader, TheListPositionTitlesOnlyItsLoad) {
    const std::string path = Put("step.bmp", MakeBmp24(3, 2, 1));
    NativeHostReset();
    ASSERT_EQ(LoadImageFile({path, HISTORY_FOLDER, "(2 of 9)"}), 0);
    EXPECT_EQ(titleText, "(2 of 9) step.bmp (3x2x24)");
    EXPECT_EQ(FolderHistory.count, 1);
    RetitleWithNewSize();
    EXPECT_EQ(titleText, " step.bmp (3x2x24)");
}

TEST_F(Loader, NamesFromOutside) {
    std::string name;
    EXPECT_EQ(PrepareNameFromOutside(name), 0);
    name = "pic.txt";
    EXPECT_EQ(PrepareNameFromOutside(name), 0);
    EXPECT_EQ(Box().rfind("Error File type not Supported  : ", 0), 0u) << Box();
    ASSERT_TRUE(HostSetCurrentDir(dir));
    name = "pic.bmp";
    DisplayMode = 'I';
    EXPECT_EQ(PrepareNameFromOutside(name), 1);
    EXPECT_EQ(name, dir + "/pic.bmp");
    EXPECT_EQ(DisplayMode, 'N');
}

}  // namespace

namespace {

TEST_F(Loader, ProbingAHeaderLeavesTheCurrentPictureAlone) {
    ASSERT_EQ(Load(Put("shown.bmp", MakeBmp24(2, 2, 0x77))), 0);
    const std::string note = CurrentImage.formatNote;
    std::string other = Put("other.bmp", MakeBmp24(30, 20, 0x11));
    uint16_t w = 0, h = 0, d = 0;
    ASSERT_EQ(ProbeImageHeader(other, &w, &h, &d), 0);
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 20);
    EXPECT_EQ(d, 24);
    EXPECT_EQ(CurrentImage.dib.width, 2);
    EXPECT_EQ(CurrentImage.dib.bits[0], 0x77);
    EXPECT_EQ(CurrentImage.storedWidth, 2u);
    EXPECT_EQ(CurrentImage.formatNote, note);
    EXPECT_EQ(InputFile.NamePart(), "shown.bmp");
    // A broken or missing file is simply not probed: no box, nothing changed.
    NativeHostReset();
    EXPECT_LT(ProbeImageHeader(Put("bad.bmp", {'X'}), &w, &h, &d), 0);
    EXPECT_LT(ProbeImageHeader(dir + "/missing.bmp", &w, &h, &d), 0);
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_EQ(CurrentImage.dib.bits[0], 0x77);
}

}  // namespace
