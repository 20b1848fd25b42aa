// Colour reduction: turns a 24-bit picture into a palette picture of 1, 4 or 8 bits for
// the palette writers and the "Reduce Colour Depth" command.
//
// Three methods, chosen by ditherMethod:
//   '1'  fixed palettes: ordered dither at 1 and 4 bits, 3-3-2 with one-pass diffusion at 8
//   '2'  adaptive palette from an octree quantiser, then serpentine Floyd-Steinberg
//   '3'  adaptive palette from pairwise merging of histogram cells (slow: cost grows with
//        the square of the distinct colours), then the same serpentine mapping
#pragma once

#include <cstdint>

#include "core/dib.h"

// '1', '2' or '3'; process-wide, not kept in LUM.INI.
extern char ditherMethod;

// Every result lands here; the block stays valid until the next QuantiseImage or
// ReleaseQuantisedImage. Callers never free it themselves.
extern CDib quantisedImage;

// Failure codes of the quantisers, each shown with its own message.
enum QuantiseCode {
    QUANT_INIT_FAILED = -1,     // "Error Initialising Quantisation Table"
    QUANT_USER_ABORT = -2,      // "User Abort"
    QUANT_MAP_FAILED = -3,      // "Error Quantising Image"
    QUANT_DCQ_START = -4,       // "Error Starting DCQ"
    QUANT_DCQ_TABLE = -5,       // "Error Building Quantisation Table"
    QUANT_BAD_BITS = -8,        // "Illegal Quantisation bits per pixel <%d>"
    QUANT_BAD_METHOD = -9,      // "Illegal Dithering Requested"
};

// Converts `image` to 24 bits in place, then reduces it to `bits` (1, 4 or 8) with
// ditherMethod. Returns the packed block of quantisedImage (header, 2^bits colour table
// entries, rows bottom-up padded to 4 bytes) and shows the title with the new depth; or
// null after showing the failure (caption "Quantisation"), with quantisedImage empty.
// A picture buffer that cannot be allocated throws kDibAllocFailure like CDib::Create.
uint8_t* QuantiseImage(int bits, CDib& image);
void ReleaseQuantisedImage();

// The bits-per-pixel number typed into the colour-depth dialog, taken as an unsigned byte
// and snapped: 24 or more -> 24, 8..23 -> 8, 4..7 -> 4, below 4 -> 1.
int SnapColourDepth(int entered);
