// LUM.INI: reading rules, the exact written text, the file's location and backup.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "platform/native/host_native.h"
#include "base/text.h"
#include "settings/config.h"
#include "settings/history.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

class Config : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        configurationPath.clear();
    }
    void TearDown() override {
        ResetEngineState();
        NativeHostAppData.clear();
        NativeHostProgramFolder = "./";
    }
    static int Read(const std::string& text, std::string* opening = nullptr) {
        std::string ignored;
        return ReadConfigurationText(text, opening ? opening : &ignored);
    }
};

std::string TextOf(const std::string& path) {
    auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(Config, DefaultsAreWrittenExactly) {
    EXPECT_TRUE(BuildConfigurationText() == TextOf(std::string(LUMORA_TESTDATA) + "/data/lum-defaults.ini"));
}

TEST_F(Config, ReadingAndWritingAgainGivesTheSameBytes) {
    SaveHistory = 1;
    AddToFolderHistory("C:\\pics");
    AddToFileHistory("C:\\pics\\a.jpg");
    SaveDirType = SAVEDIR_USER;
    SaveDir = "D:\\out\\";
    ZTreeWinPath = "C:\\zt\\ztw.exe";
    WarningFlag = 1;
    SortOrder = SORT_TIME;
    DefaultViewFull = VIEW_QUARTER;
    BackgroundColour = {1, 0xAB, 0xFF};
    // The first write of a fresh configuration has no stored opening-bitmap text yet;
    // from the second write on the text is stable.
    const std::string first = BuildConfigurationText();
    ResetEngineState();
    Read(first);
    const std::string second = BuildConfigurationText();
    ResetEngineState();
    Read(second);
    EXPECT_TRUE(BuildConfigurationText() == second) << "the text changed on the third write";
    EXPECT_NE(first, second);
}

TEST_F(Config, AReversedOrderKeepsItsKey) {
    // The file has no direction; the key of a reversed order must not turn into "Alpha".
    SortOrder = -SORT_EXT;
    EXPECT_NE(BuildConfigurationText().find("SortOrder=Ext\r\n"), std::string::npos);
}

TEST_F(Config, ReadingRules) {
    struct Case {
        const char* line;
        std::function<bool()> holds;
    };
    const Case cases[] = {
        {"warningflag=TRUE", [] { return WarningFlag == 1; }},           // key names ignore case
        {"WarningFlag=true", [] { return WarningFlag == 0; }},           // values want an upper-case T
        {" WarningFlag=TRUE", [] { return WarningFlag == 0; }},          // a leading blank matches no key
        {"WarningFlag=Trash", [] { return WarningFlag == 1; }},
        {"WarningFlag=\x01\xff", [] { return WarningFlag == 0; }},       // garbage is FALSE
        {"GIFAnimation=FALSE", [] { return GIFAnimation == 1; }},        // T-only: can only switch on
        {"CursorHotSpot=TRUE", [] { return CursorHotSpot == 1; }},
        {"AllowMPEGStats=no", [] { return AllowMPEGStats == 0; }},
        {"DefaultJPEGQuality=250", [] { return DefaultJPEGQuality == 100; }},
        {"DefaultJPEGQuality=-5", [] { return DefaultJPEGQuality == 0; }},
        {"DefaultJPEGQuality=abc", [] { return DefaultJPEGQuality == 0; }},
        {"DefaultJPEGQuality= 42x", [] { return DefaultJPEGQuality == 42; }},
        {"DefaultViewFull=BIG", [] { return DefaultViewFull == VIEW_BIG; }},
        {"DefaultViewFull=full", [] { return DefaultViewFull == VIEW_NORMAL; }},
        {"SlideShowDuration=2", [] { return SlideShowDuration == 2000u; }},
        {"SortOrder=Width", [] { return SortOrder == SORT_WIDTH; }},
        {"SortOrder=Forward", [] { return SortOrder == SORT_ALPHA; }},
        {"SortOrder=xyz", [] { return SortOrder == SORT_ALPHA; }},       // unchanged (default)
        {"CropAspectRatio=16:9", [] { return CropAspectRatio[0] == 16 && CropAspectRatio[1] == 9; }},
        {"CropAspectRatio=-4,3", [] { return CropAspectRatio[0] == 4 && CropAspectRatio[1] == 3; }},
        {"CropAspectRatio=7", [] { return CropAspectRatio[0] == 7 && CropAspectRatio[1] == 0; }},
        {"ThumbnailSheet=Z,800,600", [] { return ThumbnailSheetLetter == 'Z' && ThumbnailSheet[0] == 800 &&
                                                 ThumbnailSheet[1] == 600; }},
        {"ThumbnailSize=C", [] { return ThumbnailSizeLetter == 'C' && ThumbnailSize[0] == 100; }},
        {"MinimumWidth=0", [] { return MinimumWidth == 0; }},
        {"ZTreeThumbnailHorOffset=-12", [] { return ZTreeThumbnailHorOffset == -12; }},
        {"BackgroundColour=aBcDeF", [] { return BackgroundColour.red == 0xAB && BackgroundColour.blue == 0xEF; }},
        {"BackgroundColour=12345G", [] { return BackgroundColour.red == 0x80; }},  // bad colour: kept
        {"GIFBackgroundColour=FF", [] { return GIFBackgroundColour.red == 0; }},
        {"LastFileViewed=C:\\a b\\c.jpg  \r", [] { return LastFileViewed == "C:\\a b\\c.jpg"; }},
        {"SaveDirType=CurrentDirectory", [] { return SaveDirType == SAVEDIR_CURRENT; }},
        {"SaveDirType=", [] { return SaveDirType == SAVEDIR_CURRENT; }},
        {"SaveDirType=D:\\out\\file", [] { return SaveDirType == SAVEDIR_USER && SaveDir == "D:\\out\\"; }},
        {"SaveDirType=LastReadDir\nLastFileViewed=E:\\x\\y.png",
         [] { return SaveDirType == SAVEDIR_LASTREAD && SaveDir == "E:\\x\\"; }},
        {"ThumbnailPercent=70000", [] { return ThumbnailPercent == static_cast<uint16_t>(70000); }},
        {"WarningFlag", [] { return WarningFlag == 0; }},  // no "=": no key
        {"; WarningFlag=TRUE", [] { return WarningFlag == 0; }},
        {"WarningFlag=TRUE\nWarningFlag=FALSE", [] { return WarningFlag == 0; }},  // the last one wins
    };
    for (const Case& c : cases) {
        ResetEngineState();
        Read(c.line);
        EXPECT_TRUE(c.holds()) << c.line;
    }
}

TEST_F(Config, OpeningBitmapModes) {
    std::string path;
    EXPECT_EQ(Read("OpeningBitmap=None", &path), 0);
    EXPECT_EQ(Read("OpeningBitmap=default", &path), 1);
    EXPECT_EQ(Read("OpeningBitmap=C:\\p\\cat.bmp", &path), 2);
    EXPECT_EQ(path, "C:\\p\\cat.bmp");
    EXPECT_EQ(OpeningBitmapText, "C:\\p\\cat.bmp");
    EXPECT_EQ(Read("OpeningBitmap=C:\\p\\cat.xyz", &path), 1);
    EXPECT_EQ(OpeningBitmapText, "default");
    OpeningBitmap = 1;
    EXPECT_NE(BuildConfigurationText().find("\r\nOpeningBitmap=default\r\n"), std::string::npos);
    EXPECT_EQ(Read("OpeningBitmap=", &path), 1);  // empty: nothing changes
}

TEST_F(Config, Histories) {
    std::string text;
    for (int i = 0; i < 37; ++i) text += "FileHistory=C:\\f" + std::to_string(i) + ".jpg\r\n";
    text += "FileHistory=C:\\f3.jpg\r\nDirHistory=C:\\d\r\nDirHistory=C:\\d\r\n";
    Read(text);
    EXPECT_EQ(FileHistory.count, 36);
    EXPECT_EQ(FileHistory.entries[35], "C:\\f35.jpg");
    EXPECT_EQ(FolderHistory.count, 1);
    // Written only with SaveHistory on; the file then ends with SaveHistory=FALSE and ";".
    std::string written = BuildConfigurationText();
    EXPECT_EQ(written.find("FileHistory="), std::string::npos);
    EXPECT_EQ(written.substr(written.size() - 24), "\r\nSaveHistory=FALSE\r\n;\r\n");
    SaveHistory = 1;
    written = BuildConfigurationText();
    EXPECT_NE(written.find("\r\nFileHistory=C:\\f0.jpg\r\nFileHistory=C:\\f1.jpg\r\n"), std::string::npos);
}

TEST(HistoryPush, MovesToTheFrontAndDropsTheOldest) {
    HistoryList list;
    for (int i = 0; i < 6; ++i) PushHistory(list, "p" + std::to_string(i));
    EXPECT_EQ(list.entries[0], "p5");
    PushHistory(list, "p0");  // entry 5 moves to the front, 0-4 shift down
    EXPECT_EQ(list.count, 6);
    EXPECT_EQ(list.entries[0], "p0");
    EXPECT_EQ(list.entries[1], "p5");
    EXPECT_EQ(list.entries[5], "p1");
    for (int i = 0; i < 40; ++i) PushHistory(list, "q" + std::to_string(i));
    EXPECT_EQ(list.count, 36);
    EXPECT_EQ(list.entries[0], "q39");
    EXPECT_EQ(list.entries[35], "q4");
}

TEST_F(Config, LongNonAsciiPathsSurvive) {
    std::string path = "C:\\";
    while (Utf16Length(path) < 200) path += "\xC3\xA9t\xC3\xA9\xE5\x86\x99\xE7\x9C\x9F\\";
    path += "x.jpg";
    ASSERT_LT(Utf16Length(path), 260u);
    ASSERT_GT(path.size(), 400u);  // far more than 259 bytes of UTF-8
    LastFileViewed = path;
    BossAlert = path;
    SaveHistory = 1;
    AddToFileHistory(path);
    std::string text = BuildConfigurationText();
    ResetEngineState();
    Read(text);
    EXPECT_EQ(LastFileViewed, path);
    EXPECT_EQ(BossAlert, path);
    ASSERT_EQ(FileHistory.count, 1);
    EXPECT_EQ(FileHistory.entries[0], path);
    // A path longer than a path buffer is ignored: the old value stays.
    Read("BossAlert=C:\\" + std::string(300, 'a'));
    EXPECT_EQ(BossAlert, "");
}

TEST_F(Config, DamagedFilesAreReadWithoutHarm) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    Read(garbage);
    Read(std::string(10 << 20, 'A'));
    Read("DefaultJPEGQuality=" + std::string(1 << 20, '9'));
    EXPECT_EQ(DefaultJPEGQuality, 100);
    Read(std::string("WarningFlag=TRUE\0zzz", 20) + "\nVerboseFlag=TRUE");
    EXPECT_EQ(WarningFlag, 1);
    EXPECT_EQ(VerboseFlag, 1);
}

class ConfigFiles : public Config {
protected:
    std::string dir, program, appData;
    void SetUp() override {
        Config::SetUp();
        dir = ScratchDir("config");
        program = dir + "/program/";
        appData = dir + "/appdata";
        ::mkdir(program.c_str(), 0755);
        ::mkdir(appData.c_str(), 0755);
        NativeHostProgramFolder = program;
        NativeHostAppData = appData;
    }
};

TEST_F(ConfigFiles, FirstRunReadsBesideTheProgramAndWritesToTheUserFolder) {
    WriteBytes(program + "LUM.INI", {'W', 'a', 'r', 'n', 'i', 'n', 'g', 'F', 'l', 'a', 'g', '=', 'T'});
    std::string opening;
    EXPECT_EQ(LoadConfiguration(&opening), 1);
    EXPECT_EQ(WarningFlag, 1);
    EXPECT_EQ(configurationPath, appData + "/LUM/LUM.INI");
    EXPECT_EQ(placementPath, appData + "/LUM/LUM.DAT");
    EXPECT_TRUE(NativeHost.boxes.empty());
    // The first save has nothing to back up: it says so, then writes the file.
    SaveConfiguration();
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "File: " + appData + "/LUM/LUM.INI not found. Error message = 2");
    EXPECT_EQ(NativeHost.captions[0], "Save LUM.INI");
    EXPECT_NE(TextOf(appData + "/LUM/LUM.INI").find("\r\nWarningFlag=TRUE\r\n"), std::string::npos);
    // The next start reads the user's file; the next save keeps the previous file as .bak.
    ResetEngineState();
    NativeHostReset();
    LoadConfiguration(&opening);
    EXPECT_EQ(WarningFlag, 1);
    WarningFlag = 0;
    SaveConfiguration();
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_NE(TextOf(appData + "/LUM/LUM.bak").find("\r\nWarningFlag=TRUE\r\n"), std::string::npos);
    EXPECT_NE(TextOf(appData + "/LUM/LUM.INI").find("\r\nWarningFlag=FALSE\r\n"), std::string::npos);
}

TEST_F(ConfigFiles, WithoutAnyPlaceTheMissingFileIsReportedOnce) {
    NativeHostAppData.clear();
    std::string opening;
    EXPECT_EQ(LoadConfiguration(&opening), 1);
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0].rfind("LUM.INI could not be found in the path : ", 0), 0u);
    EXPECT_EQ(configurationPath, "");
    // With only the program's copy, that one is used and written back.
    NativeHostReset();
    WriteBytes(program + "LUM.INI", {});
    LoadConfiguration(&opening);
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_EQ(configurationPath, program + "LUM.INI");
}

TEST_F(ConfigFiles, AFailedWriteKeepsTheOldFile) {
    std::string opening;
    ::mkdir((appData + "/LUM").c_str(), 0755);
    WriteBytes(appData + "/LUM/LUM.INI", {'S', 'a', 'v', 'e', 'D', 'a', 't', 'e', '=', 'T'});
    LoadConfiguration(&opening);
    ASSERT_EQ(SaveDate, 1);
    // The disk fills up half-way through the text: the old file stays whole.
    NativeHostWriteBudget = 100;
    SaveConfiguration();
    NativeHostWriteBudget = -1;
    ASSERT_FALSE(NativeHost.boxes.empty());
    EXPECT_EQ(NativeHost.boxes.back().rfind("Can't open file: ", 0), 0u) << NativeHost.boxes.back();
    EXPECT_EQ(TextOf(appData + "/LUM/LUM.INI"), "SaveDate=T");
    EXPECT_EQ(ListFiles(appData + "/LUM", "").size(), 2u);  // LUM.INI and LUM.bak, no leftovers
}

}  // namespace
