// The pages of a multi-page file as the user moves through them: the page dialog's boxes
// and what its OK takes, and where Space and Shift+Space go.
#pragma once

#include <string>

// The page dialog's two boxes: the page shown (1-based) and the page count.
struct PageDialogValues {
    std::string page;
    std::string count;
};

PageDialogValues OpenPageDialog(int page, int pageCount);
// OK: the 0-based page for the number typed (blanks around it allowed), or -1 when it is
// not a whole number from 1 to `pageCount`.
int PageFromDialog(const std::string& typed, int pageCount);
// The page one step (+1 or -1) from `page` goes to, or -1 past the first or last page.
int SteppedPage(int page, int pageCount, int step);
