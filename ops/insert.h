// Insertion of a second picture: the pixel copy that stamps it onto the current picture,
// and the keeping of the current picture while the second one is loaded over it.
#pragma once

#include "core/dib.h"

// Copies `item` into `picture` (24 bits) with the item's top-left corner at picture point
// (x, y), counted from the top-left; whatever falls outside the picture is left out, so
// the item may hang over any edge or lie wholly outside. An item of another depth is
// converted to 24 bits first. Returns 0, or -1 when either picture is empty or `picture`
// does not have 24 bits. Throws kDibAllocFailure when the conversion cannot be held.
int PasteImageAt(CDib& picture, const CDib& item, int x, int y);

// "Insert Image" loads the second picture through the ordinary loader, which replaces the
// current picture, empties its undo history and takes over its file facts (path, types,
// stored size, notes) and the title. The picture and all of that are set aside first and
// come back afterwards, so the base picture can neither be lost nor saved under the
// inserted file's name.
//
// Sets the current picture and everything known about it aside (the picture on the
// screen stays as it is until the load replaces it).
void SetBasePictureAside();
// The load failed or was given up: the base picture and its facts come back; whatever
// the load left behind is dropped.
void BringBackBasePicture();
// The loaded picture becomes `secondaryImage`; the base picture and its facts come back.
// False (and nothing changed) when no picture was set aside.
bool SwapInBasePicture();
bool BasePictureIsAside();
