// Insertion of a second picture: the pixel copy that stamps it onto a picture.
#pragma once

#include "core/dib.h"

// Copies `item` into `picture` (24 bits) with the item's top-left corner at picture point
// (x, y), counted from the top-left; whatever falls outside the picture is left out, so
// the item may hang over any edge or lie wholly outside. An item of another depth is
// converted to 24 bits first. Returns 0, or -1 when either picture is empty or `picture`
// does not have 24 bits. Throws kDibAllocFailure when the conversion cannot be held.
int PasteImageAt(CDib& picture, const CDib& item, int x, int y);
