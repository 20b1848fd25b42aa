// The window title is the program's status line: file name, size, zoom and progress.
#pragma once

#include <string>

extern std::string titleText;      // starts as "Lumora"
extern std::string titleSizeText;  // "%dx%d" of the last titled picture

// Shows titleText unless an animation or movie is being written.
void ShowTitle();
// titleText followed by " (%2d%%)" when the picture is drawn at another size.
// In the slide show and quick view a failed load reports in the title, and the blacked-out
// picture is repainted after it: the repaint must not put the old picture's title back over
// the report, which stays until the next picture loads.
bool TitleHoldsLoadReport();
void ShowZoomInTitle(int drawn, int source);
// Load progress in tenths; shows only values larger than the last one since the reset.
void ShowLoadProgress(int tenths);
void ResetLoadProgress();
// "label done%" where done% = done * 100 / total.
void ShowPercentInTitle(long long total, long long done, const std::string& label);
// titleText for the picture being loaded: the list position ("(n of m)" or empty), the
// file name, the size and depth given, and for a file of several pages
// " (TIFF Page %d of %d)".
void TitleLoadedPicture(int width, int height, int depth, const std::string& listPosition);
// Rebuilds titleText with the current picture's size after an edit changed it (or, with
// the list position of the load, after the load turned it upright).
void RetitleWithNewSize(const std::string& listPosition = std::string());
// 1234567 -> "1,234,567"; 0 -> "".
std::string FormatThousands(long long number);
