#include "view/filter_dialogs.h"

#include "base/ranges.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// A typed number as the dialogs read it: leading blanks, an optional sign, digits; no
// number is 0.
int FieldNumber(const std::string& text) { return LeadingIntClamped(text, kFilterFieldRange); }

int Side(int entry) { return FilterTable[entry].side; }

int TypedSum(const UserFilterValues& values) {
    int sum = 0;
    for (const std::string& v : values.kernel) sum += FieldNumber(v);
    return sum;
}

}  // namespace

FilterChoice OpenFilterDialog() {
    FilterChoice choice;
    choice.entry = filterSettings.selected;
    choice.channels = filterSettings.channels;
    choice.weighted = filterSettings.weighted;
    return choice;
}

int ApplyFilterDialog(const FilterChoice& choice) {
    filterSettings.channels = choice.channels;
    filterSettings.weighted = choice.weighted;
    return choice.entry;
}

const char* UserFilterDialogName(int entry) {
    switch (entry) {
        case kUserFilter3: return "USERFILTER9DLG";
        case kUserFilter5: return "USERFILTER25DLG";
        case kUserFilter7: return "USERFILTER49DLG";
        default: return nullptr;
    }
}

UserFilterValues OpenUserFilterDialog(int entry) {
    UserFilterValues values;
    const int count = Side(entry) * Side(entry);
    for (int i = 0; i < count; ++i) values.kernel.push_back(std::to_string(FilterTable[entry].values[i]));
    values.bias = std::to_string(filterSettings.offset);
    values.divisor = std::to_string(filterSettings.divisor);
    values.kernelSum = std::to_string(KernelSum(FilterTable[entry].values, count));
    values.channels = filterSettings.channels;
    return values;
}

void UserKernelEdited(UserFilterValues& values) {
    values.kernelSum = std::to_string(TypedSum(values));
    values.divisor = "0";
}

void ApplyUserFilterDialog(int entry, const UserFilterValues& values) {
    FilterTableEntry& e = FilterTable[entry];
    const int count = std::min(Side(entry) * Side(entry), static_cast<int>(values.kernel.size()));
    for (int i = 0; i < count; ++i) e.values[i] = static_cast<int16_t>(FieldNumber(values.kernel[i]));
    FilterSettings& s = filterSettings;
    std::memcpy(s.kernel, e.values, sizeof s.kernel);
    s.side = e.side;
    s.channels = values.channels;
    s.offset = FieldNumber(values.bias);
    e.offset = static_cast<int16_t>(s.offset);
    const int typed = FieldNumber(values.divisor);
    const int sum = KernelSum(e.values, Side(entry) * Side(entry));
    if (typed != 0) s.divisor = typed;
    else if (sum != 0) s.divisor = sum;
    e.divisor = static_cast<int16_t>(s.divisor);
}
