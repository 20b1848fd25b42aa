// "Reduce Colour Depth" on the current picture.
#pragma once

// The command after its dialog was confirmed: nothing when saveDepth is 24; otherwise
// records an undo step and replaces the current picture by its reduction to saveDepth
// bits (kept at 24 bits in memory). Returns -1 when the reduction failed (the picture and
// its undo history as they were), else 0.
int ReduceColourDepth();
