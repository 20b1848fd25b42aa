// LUM.INI: where it lives, how it is read into the settings, and its exact written form.
#pragma once

#include <string>

#include "core/filetype.h"

// Path of the configuration file in use ("" until one is found or chosen).
extern std::string configurationPath;
// Path of the quick-view placement file LUM.DAT.
extern std::string placementPath;
// Path of the help file, beside the program.
extern std::string helpFilePath;
// Type of the user's opening bitmap, remembered for the start-up load.
extern FileType openingBitmapType;

// Locates and reads the configuration; returns the opening-bitmap mode (0 none,
// 1 default, 2 user file, whose path goes to `openingBitmapPath`).
int LoadConfiguration(std::string* openingBitmapPath);
// Backs up and rewrites the configuration file. Called once, when the window is destroyed.
void SaveConfiguration();

// Reads one configuration text (step by step as the file is read): resets the values a
// read always starts from, then applies each line. Returns the opening-bitmap mode.
int ReadConfigurationText(const std::string& text, std::string* openingBitmapPath);
// Reads the file at `path`: the mode, or 3 when the file cannot be opened.
int ReadConfigurationFile(const std::string& path, std::string* openingBitmapPath);
// The whole text the writer stores, CR LF line ends.
std::string BuildConfigurationText();
