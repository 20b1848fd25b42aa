// Reduces a binary PPM (P6) to a palette picture with the engine's colour reduction, the way
// a palette writer does, and writes the result back as PPM. Used by bench-quantise.sh.
//
//   lumora_bench_quantise reduce METHOD BITS in.ppm out.ppm
//       read, reduce, write: the work the reference tool does; prints the reduction's seconds
//   lumora_bench_quantise psnr original.ppm reduced.ppm
//       prints "colours=<distinct in reduced> psnr=<dB>", for our output and the reference's alike
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/dib.h"
#include "platform/native/host_native.h"
#include "core/quantise.h"

namespace {

struct Ppm {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // top-down rows, red, green, blue
};

bool ReadToken(FILE* f, std::string* out) {
    out->clear();
    int c;
    for (;;) {
        c = std::fgetc(f);
        if (c == '#') {
            while (c != '\n' && c != EOF) c = std::fgetc(f);
        }
        if (c == EOF) return false;
        if (!std::isspace(c)) break;
    }
    while (c != EOF && !std::isspace(c)) {
        out->push_back(static_cast<char>(c));
        c = std::fgetc(f);
    }
    return true;
}

bool ReadPpm(const char* path, Ppm* ppm) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    std::string magic, w, h, max;
    bool ok = ReadToken(f, &magic) && magic == "P6" && ReadToken(f, &w) && ReadToken(f, &h) &&
              ReadToken(f, &max) && max == "255";
    if (ok) {
        ppm->width = std::atoi(w.c_str());
        ppm->height = std::atoi(h.c_str());
        ok = ppm->width > 0 && ppm->height > 0 && ppm->width <= 65535 && ppm->height <= 65535;
    }
    if (ok) {
        ppm->rgb.resize(static_cast<size_t>(ppm->width) * ppm->height * 3);
        ok = std::fread(ppm->rgb.data(), 1, ppm->rgb.size(), f) == ppm->rgb.size();
    }
    std::fclose(f);
    return ok;
}

bool WritePpm(const char* path, const Ppm& ppm) {
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", ppm.width, ppm.height);
    bool ok = std::fwrite(ppm.rgb.data(), 1, ppm.rgb.size(), f) == ppm.rgb.size();
    return std::fclose(f) == 0 && ok;
}

void PpmToDib(const Ppm& ppm, CDib* dib) {
    dib->Create(ppm.width, ppm.height, 24);
    for (int y = 0; y < ppm.height; ++y) {
        const uint8_t* s = ppm.rgb.data() + static_cast<size_t>(y) * ppm.width * 3;
        uint8_t* d = dib->Row(ppm.height - 1 - y);
        for (int x = 0; x < ppm.width; ++x, s += 3, d += 3) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
}

void DibToPpm(const CDib& dib, Ppm* ppm) {
    ppm->width = dib.width;
    ppm->height = dib.height;
    ppm->rgb.resize(static_cast<size_t>(dib.width) * dib.height * 3);
    for (int y = 0; y < dib.height; ++y) {
        const uint8_t* s = dib.Row(dib.height - 1 - y);
        uint8_t* d = ppm->rgb.data() + static_cast<size_t>(y) * dib.width * 3;
        for (int x = 0; x < dib.width; ++x, s += 3, d += 3) {
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    }
}

// Peak signal-to-noise ratio over all three components, in dB.
double Psnr(const Ppm& a, const Ppm& b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) {
        const double d = static_cast<double>(a.rgb[i]) - b.rgb[i];
        sum += d * d;
    }
    const double mse = sum / static_cast<double>(a.rgb.size());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

size_t DistinctColours(const Ppm& p) {
    std::unordered_set<uint32_t> seen;
    for (size_t i = 0; i < p.rgb.size(); i += 3)
        seen.insert(static_cast<uint32_t>(p.rgb[i]) << 16 | static_cast<uint32_t>(p.rgb[i + 1]) << 8 | p.rgb[i + 2]);
    return seen.size();
}

int Usage() {
    std::fprintf(stderr,
                 "usage: lumora_bench_quantise reduce METHOD BITS in.ppm out.ppm\n"
                 "       lumora_bench_quantise psnr original.ppm reduced.ppm\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    NativeHostEcho = true;
    if (argc >= 2 && std::strcmp(argv[1], "psnr") == 0) {
        if (argc != 4) return Usage();
        Ppm a, b;
        if (!ReadPpm(argv[2], &a) || !ReadPpm(argv[3], &b) || a.width != b.width || a.height != b.height) {
            std::fprintf(stderr, "cannot read two PPM pictures of one size\n");
            return 1;
        }
        std::printf("colours=%zu psnr=%.2f\n", DistinctColours(b), Psnr(a, b));
        return 0;
    }
    if (argc != 6 || std::strcmp(argv[1], "reduce") != 0) return Usage();
    Ppm original;
    if (!ReadPpm(argv[4], &original)) {
        std::fprintf(stderr, "cannot read %s\n", argv[4]);
        return 1;
    }
    CDib picture;
    PpmToDib(original, &picture);
    ditherMethod = argv[2][0];
    const auto start = std::chrono::steady_clock::now();
    const uint8_t* block = QuantiseImage(std::atoi(argv[3]), picture);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (block == nullptr) return 1;
    CDib reduced;
    reduced.ConvertTo24(block, nullptr, quantisedImage.imageSize);
    ReleaseQuantisedImage();
    Ppm result;
    DibToPpm(reduced, &result);
    if (!WritePpm(argv[5], result)) {
        std::fprintf(stderr, "cannot write %s\n", argv[5]);
        return 1;
    }
    std::printf("seconds=%.3f\n", seconds);
    return 0;
}
