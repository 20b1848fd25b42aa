#include "view/page_dialog.h"

#include <cctype>
#include <cstdlib>

PageDialogValues OpenPageDialog(int page, int pageCount) {
    return {std::to_string(page + 1), std::to_string(pageCount)};
}

int PageFromDialog(const std::string& typed, int pageCount) {
    size_t first = 0, last = typed.size();
    while (first < last && std::isspace(static_cast<unsigned char>(typed[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(typed[last - 1]))) --last;
    // More digits than any page count has would overflow; they are out of range anyway.
    if (first == last || last - first > 9) return -1;
    for (size_t i = first; i < last; ++i)
        if (!std::isdigit(static_cast<unsigned char>(typed[i]))) return -1;
    const long number = std::strtol(typed.c_str() + first, nullptr, 10);
    return number >= 1 && number <= pageCount ? static_cast<int>(number - 1) : -1;
}

int SteppedPage(int page, int pageCount, int step) {
    const int next = page + step;
    return next >= 0 && next < pageCount ? next : -1;
}
