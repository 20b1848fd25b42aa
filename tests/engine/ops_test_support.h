// Small pictures for the operation tests: grey pictures written row by row, coloured
// patterns, and a way to hand a picture to ImageMagick's convert and read its answer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/dib.h"
#include "test_support.h"

namespace opstest {

using Rows = std::vector<std::vector<int>>;

// A 24-bit grey picture from its storage rows (row 0 is the bottom row).
inline void MakeGrey(CDib& dib, const Rows& rows) {
    const int h = static_cast<int>(rows.size());
    const int w = static_cast<int>(rows[0].size());
    dib.Create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = dib.Row(y) + 3 * x;
            p[0] = p[1] = p[2] = static_cast<uint8_t>(rows[y][x]);
        }
}

// The storage rows of a grey picture; a pixel whose channels differ reads as -1.
inline Rows GreyRows(const CDib& dib) {
    Rows rows(dib.height, std::vector<int>(dib.width));
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            const uint8_t* p = dib.Row(y) + 3 * x;
            rows[y][x] = p[0] == p[1] && p[1] == p[2] ? p[0] : -1;
        }
    return rows;
}

// Every pixel a different colour, every channel different from the others.
inline void MakePattern(CDib& dib, int w, int h) {
    dib.Create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = dib.Row(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x * 3 + y * 101);
            p[1] = static_cast<uint8_t>(y * 5 + x * 37 + 1);
            p[2] = static_cast<uint8_t>(x * y + 2 * x + 7 * y + 3);
        }
}

// Pixel (x, y from the top) as 0xRRGGBB.
inline uint32_t At(const CDib& d, int x, int y) {
    const uint8_t* p = d.Row(d.height - 1 - y) + 3 * x;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

inline bool ToolAvailable(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

inline void WritePpm(const std::string& path, const CDib& dib) {
    RgbImage rgb = DibToRgb(dib);
    std::string header = "P6\n" + std::to_string(rgb.width) + " " + std::to_string(rgb.height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), rgb.rgb.begin(), rgb.rgb.end());
    WriteBytes(path, bytes);
}

// Runs `convert in <operation> PNG24:out` on the picture and returns what it made
// (invalid when convert failed).
inline RgbImage ConvertReference(const std::string& dir, const CDib& dib, const std::string& operation) {
    const std::string in = dir + "/in.ppm", out = dir + "/out.png";
    WritePpm(in, dib);
    std::remove(out.c_str());
    const std::string command = "convert '" + in + "' " + operation + " 'PNG24:" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return RgbImage();
    return ReadPngRgb(out);
}

}  // namespace opstest
