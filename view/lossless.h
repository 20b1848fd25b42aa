// The lossless JPEG commands as the user sees them: a JPEG file turned, mirrored or
// rewritten in place without decoding (through a "$$$" file beside it), then loaded again;
// and "Automatically Fix Orientation", which turns it by its EXIF orientation and marks
// the rewritten file upright.
#pragma once

#include <string>

// Runs lossless command 156-160 or 166-168 on the file at `path`; with `fixOrientation`
// (and an EXIF block in the current picture) the orientation is set to normal in the new
// file. The new file keeps the old one's last-write time and is loaded with both
// histories. Returns 0, or -1 after reporting (the file as it was).
int LosslessTransform(int command, const std::string& path, bool fixOrientation);
// The command for the orientation read at the last load, run on the current file; 0
// without doing anything for orientation 0 or 1.
int AutoFixOrientation();

// Writes the region of the JPEG file `sourcePath` (picture pixels from the top-left; moved
// to the block grid and grown by as much) to `outPath` without decoding. A source the
// library warns about fails too. Returns 0, or -1 after showing "Lossless Crop failed in
// filename %s" or the read and open failures (caption "Lossless Crop").
struct LosslessRegion;
int LosslessCrop(const std::string& outPath, const std::string& sourcePath, const LosslessRegion& region);

// The temporary name of a transform: the path with its extension replaced by "$$$".
std::string LosslessTemporaryPath(const std::string& path);
