// Titles and the routing of reports.
#include <gtest/gtest.h>

#include "base/appstate.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "platform/native/host_native.h"
#include "core/report.h"
#include "base/text.h"
#include "core/title.h"
#include "base/settings.h"
#include "test_support.h"

namespace {

class Reporting : public ::testing::Test {
protected:
    void SetUp() override {
        ResetEngineState();
        InputFile.SetPath("/pics/holiday.jpg");
    }
    void TearDown() override { ResetEngineState(); }
};

TEST_F(Reporting, TitleTexts) {
    InputFile.SetTitleText("(3 of 25)", "", 1024, 768, 24);
    EXPECT_EQ(titleText, "(3 of 25) holiday.jpg (1024x768x24)");
    EXPECT_EQ(titleSizeText, "1024x768");
    InputFile.SetTitleText("LUM", "Clipboard", 10, 20, 24);
    EXPECT_EQ(titleText, "LUM Clipboard (10x20x24)");
    UseShortTitle = 1;
    InputFile.SetTitleText("", "", 10, 20, 24);
    EXPECT_EQ(titleText, "holiday.jpg");
}

TEST_F(Reporting, ZoomAndProgressInTheTitle) {
    titleText = " a.bmp (10x10x24)";
    ShowZoomInTitle(20, 10);
    EXPECT_EQ(NativeHost.titles.back(), " a.bmp (10x10x24) (200%)");
    ShowZoomInTitle(5, 10);
    EXPECT_EQ(NativeHost.titles.back(), " a.bmp (10x10x24) (50%)");
    ShowZoomInTitle(10, 10);
    EXPECT_EQ(NativeHost.titles.back(), " a.bmp (10x10x24)");
    ResetLoadProgress();
    ShowLoadProgress(4);
    EXPECT_EQ(NativeHost.titles.back(), "Loading file: holiday.jpg 40%");
    size_t shown = NativeHost.titles.size();
    ShowLoadProgress(3);  // never backwards
    ShowLoadProgress(4);
    EXPECT_EQ(NativeHost.titles.size(), shown);
    ShowPercentInTitle(200, 50, "Resizing Image:");
    EXPECT_EQ(NativeHost.titles.back(), "Resizing Image: 25%");
    EditState = EDIT_WRITING_ANIMATION;  // no title changes while an animation is written
    shown = NativeHost.titles.size();
    ShowTitle();
    EXPECT_EQ(NativeHost.titles.size(), shown);
}

TEST_F(Reporting, RoutesByRunMode) {
    ReportFileError("File is truncated ");
    ASSERT_EQ(NativeHost.boxes.size(), 1u);
    EXPECT_EQ(NativeHost.boxes[0], "File is truncated : /pics/holiday.jpg\n");
    EXPECT_EQ(NativeHost.captions[0], "Viewer");
    EXPECT_EQ(NativeHost.beeps, 1);

    NativeHostReset();
    ShowWarning("careful", "GIF write", 0);  // WarningFlag off: nothing
    EXPECT_TRUE(NativeHost.boxes.empty());
    WarningFlag = 1;
    ShowWarning("careful", "GIF write", 0);
    EXPECT_EQ(NativeHost.captions.at(0), "GIF write");

    NativeHostReset();
    RunMode = RUN_BATCH;
    ShowWarning("careful", "x", 0);
    ShowMessage("must see", "LUM", 0);
    EXPECT_EQ(NativeHost.stdoutText, "/pics/holiday.jpg: careful\n");
    EXPECT_EQ(NativeHost.boxes, std::vector<std::string>{"must see"});

    NativeHostReset();
    RunMode = RUN_SLIDESHOW;
    ShowMessage("must see", "LUM", 0);
    EXPECT_TRUE(NativeHost.boxes.empty());
    EXPECT_EQ(NativeHost.titles.back(), "must see");
}

TEST_F(Reporting, LongTextsAreCutTo640Units) {
    std::string longText(1000, 'x');
    ShowMessage(longText, "LUM", 0);
    EXPECT_EQ(NativeHost.boxes.at(0).size(), 640u);
    // A cut never splits a character: 400 two-byte letters are 400 units.
    std::string accented;
    for (int i = 0; i < 700; ++i) accented += "\xC3\xA9";
    EXPECT_EQ(Utf16Length(CutToUtf16Units(accented, 640)), 640u);
    EXPECT_EQ(CutToUtf16Units(accented, 640).size(), 1280u);
}

TEST(FormatThousands, GroupsInThrees) {
    EXPECT_EQ(FormatThousands(0), "");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(6000000000000LL), "6,000,000,000,000");
}

TEST(Utf8, RoundTripsAndRepairsBadBytes) {
    std::string text = "Z:\\photos\\\xC3\xA9t\xC3\xA9\\\xE5\x86\x99\xE7\x9C\x9F\\\xF0\x9F\x93\xB7.bmp";
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf16Length(text), Utf8ToUtf16(text).size());
    EXPECT_EQ(Utf8ToUtf16("\xFF" "a"), std::u16string(u"\uFFFDa"));
    EXPECT_EQ(Utf8ToUtf16("\xE5\x86"), std::u16string(u"\uFFFD\uFFFD"));
}

}  // namespace
