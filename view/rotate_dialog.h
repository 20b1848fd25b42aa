// The "Rotate Variable Angle" dialog's arithmetic: its scroll bar, its angle and the
// text typed into its edit.
#pragma once

#include <string>

// The dialog's scroll bar: the position a scroll request leads to (line +-1, page +-6,
// top and bottom to the ends, thumb to its position), kept within -180..180.
enum RotateScroll {
    ROTATE_SCROLL_LINE_UP = 0,
    ROTATE_SCROLL_LINE_DOWN = 1,
    ROTATE_SCROLL_PAGE_UP = 2,
    ROTATE_SCROLL_PAGE_DOWN = 3,
    ROTATE_SCROLL_THUMB_POSITION = 4,
    ROTATE_SCROLL_THUMB_TRACK = 5,
    ROTATE_SCROLL_TOP = 6,
    ROTATE_SCROLL_BOTTOM = 7,
};
int RotateScrollPosition(int position, int request, int thumb);
// The angle a scroll position stands for: tenths of a degree with "Fine", else degrees.
double AngleFromScroll(int position, bool fine);
// The angle typed into the dialog's edit, as OK takes it: clamped to -360..360.
double ClampRotateAngle(double degrees);
// The dialog's edit text read as OK reads it: the number it starts with (after blanks),
// clamped by ClampRotateAngle. False when it does not start with a number.
bool ParseRotateAngle(const std::string& text, double* degrees);
