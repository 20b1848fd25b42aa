// The page dialog's model and the page steps of Space and Shift+Space.
#include <gtest/gtest.h>

#include "view/page_dialog.h"

namespace {

TEST(PageDialog, ShowsOneBasedPageAndTakesOnlyANumberInRange) {
    const PageDialogValues shown = OpenPageDialog(1, 3);
    EXPECT_EQ(shown.page, "2");
    EXPECT_EQ(shown.count, "3");
    struct Case {
        const char* typed;
        int page;
    };
    const Case cases[] = {{"1", 0}, {" 3 ", 2}, {"0", -1}, {"4", -1}, {"", -1}, {"2x", -1},
                          {"-1", -1}, {"99999999999999", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(PageFromDialog(c.typed, 3), c.page);
    }
}

TEST(PageDialog, StepsStopAtTheFirstAndLastPage) {
    EXPECT_EQ(SteppedPage(0, 3, 1), 1);
    EXPECT_EQ(SteppedPage(2, 3, 1), -1);
    EXPECT_EQ(SteppedPage(1, 3, -1), 0);
    EXPECT_EQ(SteppedPage(0, 3, -1), -1);
}

}  // namespace
