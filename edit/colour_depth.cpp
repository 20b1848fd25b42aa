#include "edit/colour_depth.h"

#include "base/appstate.h"
#include "core/quantise.h"
#include "edit/edit.h"

int ReduceColourDepth() {
    if (saveDepth == 24) return 0;
    EditRules rules;
    rules.caption = "LUM";
    rules.retitle = false;  // the reduction titles the new depth itself
    return RunEdit(rules, [](CDib& dib) {
        const uint8_t* block = QuantiseImage(saveDepth, dib);
        if (block == nullptr) return -1;  // the quantiser has said why
        // The picture keeps 24 bits in memory but holds only the reduced colours.
        dib.ConvertTo24(block, nullptr, quantisedImage.imageSize);
        ReleaseQuantisedImage();
        return 0;
    });
}
