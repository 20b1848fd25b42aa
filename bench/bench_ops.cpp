// Loads a picture through the real loading pipeline, runs one operation on it and writes
// the result as a binary PPM (P6), the work the reference tools do in the resize and
// rotation benchmark. Prints the operation's own seconds to stderr.
//
//   lumora_bench_ops resize-bilinear WIDTH HEIGHT in.bmp out.ppm
//   lumora_bench_ops resize-nearest  WIDTH HEIGHT in.bmp out.ppm
//   lumora_bench_ops rotate90 in.bmp out.ppm
//   lumora_bench_ops filter ENTRY in.bmp out.ppm   (an entry of the filter table)
//   lumora_bench_ops crop X Y WIDTH HEIGHT in.bmp out.ppm
//   lumora_bench_ops lossless-rotate90 in.jpg out.jpg   (the file read, turned without
//                                                        decoding and written; no load)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/current_image.h"
#include "core/loader.h"
#include "open/open.h"
#include "platform/native/host_native.h"
#include "libcodecs/jpeg_transform.h"
#include "ops/crop.h"
#include "edit/filters.h"
#include "ops/flip.h"
#include "ops/resize.h"

namespace {

bool WritePpm(const char* path, const CDib& dib) {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", dib.width, dib.height);
    std::vector<uint8_t> row(static_cast<size_t>(dib.width) * 3);
    bool ok = true;
    for (int y = dib.height - 1; y >= 0 && ok; --y) {
        const uint8_t* p = dib.Row(y);
        for (int x = 0; x < dib.width; ++x, p += 3) {
            row[3 * x + 0] = p[2];
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: lumora_bench_ops resize-bilinear|resize-nearest WIDTH HEIGHT in.bmp out.ppm\n"
                 "       lumora_bench_ops rotate90 in.bmp out.ppm\n"
                 "       lumora_bench_ops filter ENTRY in.bmp out.ppm\n"
                 "       lumora_bench_ops crop X Y WIDTH HEIGHT in.bmp out.ppm\n"
                 "       lumora_bench_ops lossless-rotate90 in.jpg out.jpg\n");
    return 2;
}

// The whole file through the lossless transform, as the menu command runs it before the
// reload.
int LosslessRotate(const char* in, const char* out) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(in, "rb");
    if (f == nullptr) return 1;
    uint8_t chunk[1 << 16];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    const auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> result;
    std::string error;
    if (!TransformJpeg(bytes.data(), bytes.size(), LOSSLESS_ROTATE_90, nullptr, false, &result, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "lossless-rotate90 %zu %.6f\n", result.size(), seconds);
    FILE* o = std::fopen(out, "wb");
    if (o == nullptr) return 1;
    const bool ok = std::fwrite(result.data(), 1, result.size(), o) == result.size();
    return std::fclose(o) == 0 && ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    NativeHostEcho = true;
    if (argc < 2) return Usage();
    const std::string op = argv[1];
    if (op == "lossless-rotate90") return argc == 4 ? LosslessRotate(argv[2], argv[3]) : Usage();
    const bool crop = op == "crop";
    if (crop && argc != 8) return Usage();
    CropRect region;
    if (crop) {
        region = CropRect{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])};
        argv += 4;
        argc -= 4;
    }
    const bool resize = op == "resize-bilinear" || op == "resize-nearest";
    const bool filter = op == "filter";
    if (!(resize && argc == 6) && !((op == "rotate90" || crop) && argc == 4) && !(filter && argc == 5)) return Usage();
    std::string in = argv[resize ? 4 : filter ? 3 : 2];
    const char* out = argv[resize ? 5 : filter ? 4 : 3];
    if (filter && SelectFilter(std::atoi(argv[2])) < 0) return Usage();
    if (LoadImageFile(in) < 0) return 1;

    CDib& dib = CurrentImage.dib;
    const auto start = std::chrono::steady_clock::now();
    try {
        if (resize) {
            // The request the resize dialog makes: the typed size, with its factors.
            ResizeRequest request;
            request.width = std::atoi(argv[2]);
            request.height = std::atoi(argv[3]);
            request.xScale = static_cast<double>(request.width) / dib.width;
            request.yScale = static_cast<double>(request.height) / dib.height;
            request.useSize = 1;
            if (ResizeImage(dib, request, op == "resize-bilinear", nullptr) < 0) return 1;
        } else if (filter) {
            if (ApplySelectedFilter(dib, nullptr) < 0) return 1;
        } else if (crop) {
            if (CropImage(dib, region, nullptr) < 0) return 1;
        } else {
            Rotate90Dib(dib, nullptr);
        }
    } catch (const char* text) {
        std::fprintf(stderr, "%s\n", text);
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%s %dx%d %.6f\n", op.c_str(), dib.width, dib.height, seconds);
    return WritePpm(out, dib) ? 0 : 1;
}
