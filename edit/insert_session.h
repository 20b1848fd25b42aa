// The keeping of the current picture while "Insert Image" loads a second one over it.
#pragma once

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
