// The "Setup Slide Show and View" settings: what the dialog opens with, Restore Defaults,
// the checks OK makes, and the stored settings with the folder list rebuilt for them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/appstate.h"
#include "platform/host.h"
#include "platform/native/host_native.h"
#include "settings/filelist.h"
#include "base/settings.h"
#include "settings/view_setup.h"
#include "test_support.h"

namespace {

class ViewSetupTest : public ::testing::Test {
protected:
    std::string dir, cwd;
    void SetUp() override {
        ResetEngineState();
        dir = ScratchDir("viewsetup");
        cwd = HostGetCurrentDir();
        HostSetCurrentDir(dir);
        AllTypes(true);
        fileSpec.clear();
    }
    void TearDown() override {
        HostSetCurrentDir(cwd);
        fileSpec.clear();
        AllTypes(true);
        FileList = FileListState();
        ResetEngineState();
    }
    static void AllTypes(bool on) {
        for (int i = 0; i < kTypePatternCount; ++i) typePatternEnabled[i] = on;
    }
    void Touch(const std::string& name) { WriteBytes(dir + "/" + name, std::vector<uint8_t>(1, 1)); }
    static std::vector<std::string> Names() {
        std::vector<std::string> v;
        for (const auto& e : FileList.entries) v.push_back(e.name);
        return v;
    }
};

TEST_F(ViewSetupTest, OpensWithTheSettingsAndRestoresTheDefaults) {
    SlideShowDuration = 2500;
    SortOrder = -SORT_EXT;
    fileSpec = "Z:\\pics\\*.png";
    DefaultViewFull = VIEW_HALF;
    EnableTypePattern(2, false);
    NextFileBorder = 1;
    StartListAgain = 0;
    DefaultJPEGQuality = 40;
    ForceListOrder = 1;
    FileList.stale = false;
    ViewSetupValues v = ReadViewSetup();
    EXPECT_EQ(v.duration, "2.50");
    EXPECT_EQ(v.fileSpec, "Z:\\pics\\*.png");
    EXPECT_EQ(v.sortKey, SORT_EXT);
    EXPECT_TRUE(v.reverse);
    EXPECT_EQ(v.defaultView, VIEW_HALF);
    EXPECT_FALSE(v.types[2]);
    EXPECT_TRUE(v.types[15]);
    EXPECT_TRUE(v.nextFileBorder);
    EXPECT_FALSE(v.startListAgain);

    RestoreViewSetupDefaults();
    v = ReadViewSetup();
    EXPECT_EQ(v.duration, "3.00");
    EXPECT_EQ(SortOrder, SORT_ALPHA);
    EXPECT_TRUE(fileSpec.empty());
    EXPECT_EQ(DefaultViewFull, VIEW_BIG);
    for (bool on : typePatternEnabled) EXPECT_TRUE(on);
    EXPECT_EQ(NextFileBorder, 0);
    EXPECT_EQ(StartListAgain, 1);
    EXPECT_EQ(UseShortTitle, 0);
    EXPECT_EQ(DefaultJPEGQuality, 90);
    EXPECT_EQ(ForceListOrder, 1);  // not one of the defaults the button restores
    EXPECT_TRUE(FileList.stale);   // the list follows the restored types and order
}

TEST_F(ViewSetupTest, OkRefusesNoTypesAndDurationsThatAreNoNumber) {
    ViewSetupValues v = ReadViewSetup();
    EXPECT_EQ(CheckViewSetup(v), VIEW_SETUP_OK);
    for (bool& on : v.types) on = false;
    EXPECT_EQ(CheckViewSetup(v), VIEW_SETUP_NO_TYPES);
    v.types[15] = true;
    for (const char* bad : {"", "abc", "3s", "nan", "inf"}) {
        v.duration = bad;
        EXPECT_EQ(CheckViewSetup(v), VIEW_SETUP_BAD_DURATION) << bad;
    }
    EXPECT_EQ(std::string(kNoValidFileTypesText), "There are no valid file types set");

    EXPECT_EQ(DurationFromText("2.5"), 2500);
    EXPECT_EQ(DurationFromText(" 0.29 "), 290);
    EXPECT_EQ(DurationFromText("-4"), 0);
    EXPECT_EQ(DurationFromText("1e12"), 0x7FFFFFFF);
}

TEST_F(ViewSetupTest, OkStoresAndRebuildsTheWholeFolder) {
    for (const char* n : {"a.bmp", "b.BMP", "c.gif", "d.jpg", "e.nef", "noext"}) Touch(n);
    RunMode = RUN_NORMAL;  // a collection in this mode otherwise stops at the first file
    FileList.stale = true;
    FileList.position = 3;
    ViewSetupValues v = ReadViewSetup();
    v.duration = "-1";
    v.types[0] = false;   // BMP
    v.types[15] = false;  // RAW: camera files and names without an extension go too
    v.sortKey = SORT_ALPHA;
    v.reverse = true;
    v.defaultView = VIEW_QUARTER;
    v.slideShowCursor = true;
    v.shortTitle = true;
    ASSERT_EQ(CheckViewSetup(v), VIEW_SETUP_OK);
    StoreViewSetup(v);
    EXPECT_EQ(SlideShowDuration, 0u);
    EXPECT_EQ(SortOrder, -SORT_ALPHA);
    EXPECT_EQ(DefaultViewFull, VIEW_QUARTER);
    EXPECT_EQ(SlideShowCursor, 1);
    EXPECT_EQ(UseShortTitle, 1);
    EXPECT_FALSE(typePatternEnabled[kRawPatternIndex + 1]);
    EXPECT_FALSE(typePatternEnabled[kTypePatternCount - 1]);
    EXPECT_EQ(Names(), (std::vector<std::string>{"d.jpg", "c.gif"}));
    EXPECT_EQ(FileList.position, -1);
    EXPECT_FALSE(FileList.stale);

    // Switched on again, RAW brings back both kinds; the order goes forward.
    v.types[0] = v.types[15] = true;
    v.reverse = false;
    v.duration = "1.5";
    StoreViewSetup(v);
    EXPECT_EQ(SlideShowDuration, 1500u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "b.BMP", "c.gif", "d.jpg", "e.nef", "noext"}));

    // A list read from a list file is kept, not replaced by the folder: in its own order
    // with "Force List Order", else sorted.
    FileList.entries = {{"z.bmp", 0, 0, 0, 0}, {"y.bmp", 0, 0, 0, 0}};
    FileList.fromListFile = true;
    v.forceListOrder = true;
    StoreViewSetup(v);
    EXPECT_EQ(Names(), (std::vector<std::string>{"z.bmp", "y.bmp"}));
    v.forceListOrder = false;
    StoreViewSetup(v);
    EXPECT_EQ(Names(), (std::vector<std::string>{"y.bmp", "z.bmp"}));
}

}  // namespace
