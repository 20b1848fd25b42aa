// The crop of the current picture by a rectangle in picture pixels (batch runs and the
// interactive crop once its selection is mapped), one edit.
#pragma once

struct CropRect;

// Corners in picture pixels from the top-left, in any order; clamped to the picture.
// Returns 0, or -1 after showing "Inappropriate height <%d> or width <%d> calculated for
// cropped area" (caption "Cropping Image") for an empty rectangle, or the allocation
// failure (caption "Crop").
int CropCurrentImage(int left, int top, int right, int bottom);
// The interactive crop of a rectangle already clipped to the picture: one edit, the
// display mode kept. The same failures as above.
int CropCurrentImageTo(const CropRect& r);
