// Rotation by any angle: bilinear sampling onto an enlarged canvas filled with the
// background colour, and the rotation dialog's preview.
#pragma once

#include "core/dib.h"
#include "ops/op_support.h"
#include "base/settings.h"

class CPreview;

// Degrees to radians as the rotation computes it.
constexpr double kDegreesPerRadian = 57.29577951;

// Canvas of a W x H picture turned by `degrees`: W' = trunc(|W cos a| + |H sin a|),
// H' = trunc(|W sin a| + |H cos a|). False when a side lies outside 1..65535.
bool RotatedCanvasSize(int W, int H, double degrees, int* w, int* h);

// Fills `dest` (24 bits, already of the canvas size) with `src` (24 bits) turned by
// `degrees` about the centres of both. Destination (x, y) samples the source at
// sx = dx cos a - dy sin a + W/2, sy = dx sin a + dy cos a + H/2 (dx = x - W'/2,
// dy = y - H'/2), blending the four neighbours with weights in whole percent; neighbours
// outside the source take `background`. `progress` (may be null) gets "Rotating Image:"
// in tenths.
void RotateInto(const CDib& src, double degrees, const RgbColour& background, CDib& dest, OpProgress progress);

// Refreshes the dialog's preview from `picture` and turns it by `degrees` within the
// preview's own size, with guide lines when asked for. Throws kDibAllocFailure.
void RotatePreview(CPreview& preview, const CDib& picture, double degrees, bool guideLines);
