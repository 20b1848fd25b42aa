#include "edit/colour.h"

#include "edit/edit.h"
#include "ops/colour.h"

int RunColourCommand(int command) {
    switch (command) {
        case COLOUR_NEGATIVE:
        case COLOUR_GREYSCALE:
        case COLOUR_SWAP_RED_BLUE:
        case COLOUR_SWAP_RED_GREEN:
        case COLOUR_SWAP_GREEN_BLUE:
        case COLOUR_ROTATE: break;
        default: return -1;
    }
    EditRules rules;
    rules.caption = "Viewer";
    return RunEdit(rules, [command](CDib& dib) {
        if (command == COLOUR_NEGATIVE) return NegativeImage(dib);
        if (command == COLOUR_GREYSCALE) return GreyscaleImage(dib);
        return SwapChannels(dib, command);
    });
}
