// The neighbourhood filters: the table's loading rules, hand-computed convolutions on
// small pictures (wrap-around borders, the turned kernel, truncation and clamping, channel
// choice), weighted and plain medians, and both against ImageMagick.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "edit/filters.h"
#include "view/filter_dialogs.h"
#include "ops_test_support.h"

namespace {

using opstest::GreyRows;
using opstest::MakeGrey;
using opstest::Rows;

class Filters : public ::testing::Test {
protected:
    void SetUp() override { saved = filterSettings; }
    void TearDown() override { filterSettings = saved; }
    FilterSettings saved;

    // Loads `index` and runs it on `picture`.
    static int Run(int index, CDib& picture) {
        if (SelectFilter(index) < 0) return -1;
        return ApplySelectedFilter(picture, nullptr);
    }
};

TEST_F(Filters, SelectionLoadsTheEntryAndASumForZeroDivisors) {
    const struct {
        int index, side, divisor, offset;
    } cases[] = {
        {0, 3, 20, 0}, {1, 3, 20, 0},  {2, 3, 12, 0},  {3, 3, 9, 0},    {4, 3, 16, 0},  {7, 3, 2, 0},
        {8, 3, 1, 255}, {9, 3, 1, 128}, {12, 3, 4, 0}, {20, 3, 10, 0},  {23, 3, 1, 0},  {24, 5, 13, 0},
        {29, 5, 1, 0},  {32, 5, 1, 128}, {34, 7, 285, 0}, {35, 7, 40, 0}, {38, 3, 0, 0}, {39, 5, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_EQ(SelectFilter(c.index), c.index);
        EXPECT_EQ(filterSettings.side, c.side);
        EXPECT_EQ(filterSettings.divisor, c.divisor);
        EXPECT_EQ(filterSettings.offset, c.offset);
    }
    // The medians' weights count 15 and 81 samples.
    EXPECT_EQ(KernelSum(FilterTable[kMedianFilter3].values, 9), 15);
    EXPECT_EQ(KernelSum(FilterTable[kMedianFilter5].values, 25), 81);
    EXPECT_EQ(SelectFilter(-1), -1);
    EXPECT_EQ(SelectFilter(kFilterCount), -1);

    // A user 3x3 kernel of sum 0 with divisor 0 (a batch run can leave it so) fails.
    const FilterTableEntry kept = FilterTable[kUserFilter3];
    const int16_t edges[9] = {0, -1, 0, -1, 4, -1, 0, -1, 0};
    std::copy(edges, edges + 9, FilterTable[kUserFilter3].values);
    FilterTable[kUserFilter3].divisor = 0;
    EXPECT_EQ(SelectFilter(kUserFilter3), -1);
    FilterTable[kUserFilter3] = kept;
}

TEST_F(Filters, HandComputedConvolutions) {
    CDib picture;
    // Invert: 255 - v in every enabled channel; unticked red keeps its values.
    opstest::MakePattern(picture, 5, 4);
    const CDib original(picture);
    filterSettings.channels = {false, true, true};
    ASSERT_EQ(Run(8, picture), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint8_t* was = original.Row(y) + 3 * x;
            const uint8_t* now = picture.Row(y) + 3 * x;
            EXPECT_EQ(now[0], 255 - was[0]);
            EXPECT_EQ(now[1], 255 - was[1]);
            EXPECT_EQ(now[2], was[2]);
        }
    filterSettings.channels = {};

    // Emboss dark on a flat picture: 128 everywhere.
    MakeGrey(picture, Rows(4, std::vector<int>(6, 77)));
    ASSERT_EQ(Run(9, picture), 0);
    EXPECT_EQ(GreyRows(picture), Rows(4, std::vector<int>(6, 128)));

    // One pixel wide and uniform down each column: every blur leaves it as it was.
    for (int blur : {0, 1, 2, 3, 24, 34}) {
        SCOPED_TRACE(blur);
        MakeGrey(picture, Rows(9, std::vector<int>{90}));
        ASSERT_EQ(Run(blur, picture), 0);
        EXPECT_EQ(GreyRows(picture), Rows(9, std::vector<int>{90}));
    }

    // Rows wrap: the bottom row (storage row 0) is blurred with the top row (row 2).
    // "Blur lots" (1 1 1 / 1 4 1 / 1 1 1, sum 12) on rows 0, 0, 120: 3 x 120 / 12 below
    // and above the top row, 6 x 120 / 12 in it.
    MakeGrey(picture, {{0, 0, 0}, {0, 0, 0}, {120, 120, 120}});
    ASSERT_EQ(Run(2, picture), 0);
    EXPECT_EQ(GreyRows(picture), (Rows{{30, 30, 30}, {30, 30, 30}, {60, 60, 60}}));

    // The kernel is turned by 180 degrees: "Emboss light" (0 -1 0 / 0 0 0 / 0 1 0, offset
    // 192) takes its first row's -1 from the storage row below the pixel (lower on the
    // screen) and its last row's 1 from the row above: 192 - P(i - 1) + P(i + 1).
    MakeGrey(picture, {{10, 10}, {50, 50}, {200, 200}});
    ASSERT_EQ(Run(11, picture), 0);
    EXPECT_EQ(GreyRows(picture), (Rows{{192 - 200 + 50, 192 - 200 + 50}, {255, 255}, {192 - 50 + 10, 192 - 50 + 10}}));

    // "Sharpen max" (-1 around 10, sum 2) on a middle column of 1s: there 10 - 2 = 8,
    // divided 4; beside it -3, clamped to 0.
    MakeGrey(picture, Rows(3, std::vector<int>{0, 1, 0}));
    ASSERT_EQ(Run(7, picture), 0);
    EXPECT_EQ(GreyRows(picture), Rows(3, std::vector<int>({0, 4, 0})));

    // Two pixels wide under a 7x7 kernel: columns wrap many times over. "Diagonal Filter"
    // (1 on the diagonal, / 7) on columns 0 and 255 sums 4 x 255 for column 0, 3 x 255 for
    // column 1.
    MakeGrey(picture, Rows(3, std::vector<int>{0, 255}));
    ASSERT_EQ(Run(36, picture), 0);
    EXPECT_EQ(GreyRows(picture), Rows(3, std::vector<int>({145, 109})));
}

TEST_F(Filters, WeightedMediansCountTheirWeights) {
    // The whole picture is the neighbourhood of its centre pixel. Bright pixels on the
    // centre and corners of a 3x3 picture: 5 of 9 plain samples, 7 of 15 weighted ones.
    CDib picture;
    const Rows three = {{200, 0, 200}, {0, 200, 0}, {200, 0, 200}};
    MakeGrey(picture, three);
    filterSettings.weighted = false;
    ASSERT_EQ(Run(kMedianFilter3, picture), 0);
    EXPECT_EQ(GreyRows(picture)[1][1], 200);
    MakeGrey(picture, three);
    filterSettings.weighted = true;
    ASSERT_EQ(Run(kMedianFilter3, picture), 0);
    EXPECT_EQ(GreyRows(picture)[1][1], 0);

    // The outer ring of a 5x5 picture: 16 of 25 plain samples, 32 of 81 weighted ones.
    Rows five(5, std::vector<int>(5, 0));
    for (int i = 0; i < 5; ++i) five[0][i] = five[4][i] = five[i][0] = five[i][4] = 180;
    MakeGrey(picture, five);
    filterSettings.weighted = false;
    ASSERT_EQ(Run(kMedianFilter5, picture), 0);
    EXPECT_EQ(GreyRows(picture)[2][2], 180);
    MakeGrey(picture, five);
    filterSettings.weighted = true;
    ASSERT_EQ(Run(kMedianFilter5, picture), 0);
    EXPECT_EQ(GreyRows(picture)[2][2], 0);
}

TEST_F(Filters, MediansAndInvertEqualImageMagick) {
    if (!opstest::ToolAvailable("convert")) GTEST_SKIP() << "convert is not installed";
    const std::string dir = ScratchDir("filters");
    const struct {
        int index;
        const char* operation;
    } cases[] = {
        {kMedianFilter3, "-virtual-pixel tile -statistic Median 3x3"},
        {kMedianFilter5, "-virtual-pixel tile -statistic Median 5x5"},
        {8, "-negate"},
    };
    filterSettings.weighted = false;
    filterSettings.channels = {};
    for (const auto& c : cases) {
        for (auto size : {std::pair<int, int>{23, 17}, {4, 3}}) {
            SCOPED_TRACE(std::string(c.operation) + " " + std::to_string(size.first));
            CDib picture;
            opstest::MakePattern(picture, size.first, size.second);
            const RgbImage expected = opstest::ConvertReference(dir, picture, c.operation);
            ASSERT_TRUE(expected.Valid());
            ASSERT_EQ(Run(c.index, picture), 0);
            EXPECT_TRUE(DibToRgb(picture).rgb == expected.rgb);
        }
    }
}

// Every entry on pictures narrower or lower than its kernel (the sanitizer build checks
// every read); the averaging entries and the medians leave a flat picture as it is.
TEST_F(Filters, EveryEntryRunsOnThinPictures) {
    const int averaging[] = {0, 1, 2, 3, 24, 26, 27, 28, 34, 36, kMedianFilter3, kMedianFilter5};
    for (auto size : {std::pair<int, int>{1, 1}, {1, 7}, {7, 1}, {2, 9}, {9, 2}, {8, 8}}) {
        for (int entry = 0; entry < kFilterCount; ++entry) {
            SCOPED_TRACE(std::to_string(entry) + " on " + std::to_string(size.first) + "x" + std::to_string(size.second));
            for (bool weighted : {false, true}) {
                filterSettings.weighted = weighted;
                CDib picture;
                opstest::MakePattern(picture, size.first, size.second);
                EXPECT_EQ(Run(entry, picture), 0);
                if (std::find(std::begin(averaging), std::end(averaging), entry) == std::end(averaging)) continue;
                MakeGrey(picture, Rows(size.second, std::vector<int>(size.first, 61)));
                ASSERT_EQ(Run(entry, picture), 0);
                EXPECT_EQ(GreyRows(picture), Rows(size.second, std::vector<int>(size.first, 61)));
            }
        }
    }
}

// The user filter dialog: it opens with what SelectFilter loaded; an edited kernel
// resets the divisor field; OK's divisor is the typed one, else the kernel's sum, else the
// one loaded before the dialog.
TEST_F(Filters, UserDialogDivisorRules) {
    const FilterTableEntry kept = FilterTable[kUserFilter3];
    ASSERT_EQ(SelectFilter(kUserFilter3), kUserFilter3);
    UserFilterValues v = OpenUserFilterDialog(kUserFilter3);
    EXPECT_EQ(v.kernel, (std::vector<std::string>{"0", "0", "0", "0", "1", "0", "0", "0", "0"}));
    EXPECT_EQ(v.divisor, "1");
    EXPECT_EQ(v.kernelSum, "1");
    EXPECT_EQ(v.bias, "0");

    const struct {
        std::vector<std::string> kernel;
        const char* divisor;
        int wantDivisor;
    } cases[] = {
        {{"0", "-1", "0", "-1", "4", "-1", "0", "-1", "0"}, "0", 1},  // sum 0: the loaded 1 stays
        {{"1", "1", "1", "1", "1", "1", "1", "1", "1"}, "0", 9},      // the sum
        {{"1", "1", "1", "1", "1", "1", "1", "1", "1"}, "3", 3},      // typed
    };
    for (const auto& c : cases) {
        ASSERT_EQ(SelectFilter(kUserFilter3), kUserFilter3);
        v = OpenUserFilterDialog(kUserFilter3);
        v.kernel = c.kernel;
        UserKernelEdited(v);
        EXPECT_EQ(v.divisor, "0");
        v.divisor = c.divisor;
        v.bias = "7";
        ApplyUserFilterDialog(kUserFilter3, v);
        EXPECT_EQ(filterSettings.divisor, c.wantDivisor);
        EXPECT_EQ(FilterTable[kUserFilter3].divisor, c.wantDivisor);
        EXPECT_EQ(filterSettings.offset, 7);
        EXPECT_EQ(filterSettings.kernel[1], FilterTable[kUserFilter3].values[1]);
    }
    FilterTable[kUserFilter3] = kept;
}

}  // namespace
