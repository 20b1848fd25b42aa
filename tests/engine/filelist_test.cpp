// The folder file list: collection, the sort orders and stepping with and without wrapping.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "base/appstate.h"
#include "core/current_image.h"
#include "platform/host.h"
#include "platform/native/host_native.h"
#include "settings/filelist.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

class FileListTest : public ::testing::Test {
protected:
    std::string dir, cwd;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("filelist");
        cwd = HostGetCurrentDir();
        HostSetCurrentDir(dir);
        fileSpec.clear();
        for (int i = 0; i < kTypePatternCount; ++i) typePatternEnabled[i] = true;
        RunMode = RUN_STEPPING;
    }
    void TearDown() override {
        HostSetCurrentDir(cwd);
        fileSpec.clear();
        for (int i = 0; i < kTypePatternCount; ++i) typePatternEnabled[i] = true;
        FileList = FileListState();
        ResetEngineState();
    }
    void Touch(const std::string& name, size_t bytes = 1) { WriteBytes(dir + "/" + name, std::vector<uint8_t>(bytes, 1)); }
    static std::vector<std::string> Names() {
        std::vector<std::string> v;
        for (const auto& e : FileList.entries) v.push_back(e.name);
        return v;
    }
    static void Rebuild() {
        ResetListPosition();
        BuildFileList();
        SortFileList();
    }
    static void Fill(int n) {
        FileList.entries.clear();
        for (int i = 0; i < n; ++i) FileList.entries.push_back({"f" + std::to_string(i), 0, 0, 0, 0});
    }
    static int Step(int step) {
        std::string name;
        if (StepInList(step, &name) < 0) return -100;
        return FileList.position;
    }
};

TEST_F(FileListTest, StepsWrapOrStopAtTheEnds) {
    Fill(12);
    StartListAgain = 1;
    FileList.position = 11;
    EXPECT_EQ(Step(1), 0);
    EXPECT_EQ(Step(-1), 11);
    FileList.position = 6;
    EXPECT_EQ(Step(5), 11);
    FileList.position = 7;
    EXPECT_EQ(Step(5), 0);
    FileList.position = 3;
    EXPECT_EQ(Step(-5), 11);
    FileList.position = -1;  // the current file was not found after a rebuild
    EXPECT_EQ(Step(-1), 0);
    FileList.position = 8;
    EXPECT_EQ(Step(0), 0);
    StartListAgain = 0;
    FileList.position = 11;
    EXPECT_EQ(Step(1), 11);
    FileList.position = 0;
    EXPECT_EQ(Step(-1), 0);
    FileList.position = 9;
    EXPECT_EQ(Step(5), 11);
    FileList.position = 2;
    EXPECT_EQ(Step(-5), 0);
    Fill(0);
    EXPECT_EQ(Step(1), -100);
}

TEST_F(FileListTest, CollectsEnabledTypesButNeverFolders) {
    for (const char* n : {"b.bmp", "A.JPG", "c.gif", "notes.txt", "noext", "x.nef"}) Touch(n);
    ::mkdir((dir + "/folder.bmp").c_str(), 0755);
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.JPG", "b.bmp", "c.gif", "noext", "x.nef"}));
    // Unsorted, the files come in the order of the type patterns they match, whatever the
    // folder's own order.
    SortOrder = SORT_UNSORTED;
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "c.gif", "A.JPG", "x.nef", "noext"}));
    SortOrder = SORT_ALPHA;
    // Without RAW: neither camera files nor names without an extension.
    EnableTypePattern(kRawPatternIndex, false);
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A.JPG", "b.bmp", "c.gif"}));
    // A pattern of the user's replaces the type patterns; "*.*" does not.
    fileSpec = dir + "/*.txt";
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"notes.txt"}));
    fileSpec = dir + "/*.*";
    Rebuild();
    EXPECT_EQ(FileList.Count(), 3);
    // In normal run mode the collection stops after the first file.
    fileSpec.clear();
    RunMode = RUN_NORMAL;
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp"}));
}

TEST_F(FileListTest, NoPatternEnabledIsReported) {
    for (int i = 0; i <= kRawPatternIndex; ++i) EnableTypePattern(i, false);
    Rebuild();
    EXPECT_EQ(FileList.Count(), 0);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0].rfind("File not found for line 0 in list file : ", 0), 0u);
}

TEST_F(FileListTest, SortOrdersAndTheirReversal) {
    Touch("a.bmp", 30);
    Touch("b.bmp", 10);
    Touch("A2.gif", 20);
    SortOrder = SORT_EXT;
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "b.bmp", "A2.gif"}));
    SortOrder = -SORT_EXT;
    SortFileList();
    EXPECT_EQ(Names(), (std::vector<std::string>{"A2.gif", "b.bmp", "a.bmp"}));
    SortOrder = SORT_SIZE;
    SortFileList();
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.bmp", "A2.gif", "a.bmp"}));
    SortOrder = SORT_ALPHA;
    SortFileList();
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "A2.gif", "b.bmp"}));
    // Random: every file once, whatever the order.
    SortOrder = SORT_RAND;
    SortFileList();
    auto names = Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A2.gif", "a.bmp", "b.bmp"}));
    // A list read from a list file keeps its order when ForceListOrder is on.
    FileList.fromListFile = true;
    ForceListOrder = 1;
    SortOrder = -SORT_ALPHA;
    auto before = Names();
    SortFileList();
    EXPECT_EQ(Names(), before);
}

TEST_F(FileListTest, WidthOrderReadsHeadersAndKeepsThePictureShown) {
    WriteBytes(dir + "/wide.bmp", MakeBmp24(30, 2, 0x44));
    WriteBytes(dir + "/narrow.bmp", MakeBmp24(5, 9, 0x44));
    WriteBytes(dir + "/tall.bmp", MakeBmp24(5, 3, 0x44));
    Touch("broken.bmp", 10);
    CurrentImage.dib.Create(7, 7, 24);
    CurrentImage.dib.FillRGB(0x123456);
    SortOrder = SORT_WIDTH;
    Rebuild();
    EXPECT_EQ(Names(), (std::vector<std::string>{"tall.bmp", "narrow.bmp", "wide.bmp"}));
    EXPECT_EQ(CurrentImage.dib.width, 7);
    EXPECT_EQ(CurrentImage.dib.bits[0], 0x56);
    EXPECT_TRUE(NativeHost.boxes.empty());
}

TEST_F(FileListTest, FindsTheShownFileByName) {
    Touch("one.bmp");
    Touch("Two.bmp");
    Rebuild();
    FindInList("C:\\somewhere\\two.BMP");
    EXPECT_EQ(FileList.position, 1);
    FindInList("three.bmp");
    EXPECT_EQ(FileList.position, -1);
}

}  // namespace

namespace {

// What a slide-show tick or a repeated key does while the collection handles messages.
int busyAnswers = 0;
void StepWhileCollecting() {
    std::string name;
    if (StepInList(1, &name) == kListBusy) ++busyAnswers;
    if (NavigationTarget(1, "", &name) == kListBusy) ++busyAnswers;
    FileList.stale = true;
    BuildFileList();  // dropped: one collection at a time
}

TEST_F(FileListTest, OneCollectionAtATime) {
    for (const char* n : {"a.bmp", "b.bmp", "c.gif"}) Touch(n);
    busyAnswers = 0;
    NativeHostOnPump = StepWhileCollecting;
    fileListPumpInterval = 0;  // messages are handled at every file
    Rebuild();
    fileListPumpInterval = 50;
    NativeHostOnPump = nullptr;
    EXPECT_GE(busyAnswers, 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "b.bmp", "c.gif"}));
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_FALSE(FileListCollecting());
}

}  // namespace
