// Helpers shared by the engine tests: reference decodings, corpus paths, picture access.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/dib.h"

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top-down rows, red, green, blue
    bool Valid() const { return width > 0 && height > 0; }
};

// Decodes a PNG with libpng to 8-bit RGB (palette expanded, alpha dropped).
RgbImage ReadPngRgb(const std::string& path);
// The same with alpha kept: four bytes a pixel, red, green, blue, alpha (255 when the
// file has none).
RgbImage ReadPngRgba(const std::string& path);
// A 24-bit CDib as top-down RGB.
RgbImage DibToRgb(const CDib& dib);

std::string CorpusPath(const std::string& relative);
bool CorpusAvailable();
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extensionLower);
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// A fresh scratch folder for one test.
std::string ScratchDir(const std::string& name);
// What a shell command prints: its standard output, with its error output too when
// `withErrors` (else that is dropped); empty when it cannot be run.
std::string RunTool(const std::string& command, bool withErrors = true);

// Loads `path` as a user's Open would, with the messages of earlier loads forgotten.
int LoadAfresh(std::string path);
// Every message box shown since, one a line.
std::string ShownBoxes();

// Puts the program state the loader touches back to its start-up values.
void ResetEngineState();

// A 24-bit Windows bitmap file of w x h pixels, every byte of its rows `fill`.
std::vector<uint8_t> MakeBmp24(int w, int h, uint8_t fill);

// Little-endian builders for hand-made files.
void PutU16(std::vector<uint8_t>& v, uint32_t x);
void PutU32(std::vector<uint8_t>& v, uint32_t x);
