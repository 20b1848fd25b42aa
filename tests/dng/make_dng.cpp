// make_dng OUT [WIDTH HEIGHT [ORIENTATION]]: writes the RAW tests' DNG file, for the
// end-to-end tests and the fuzz seeds.
#include <cstdio>
#include <cstdlib>

#include "tests/dng/dng_writer.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s OUT [WIDTH HEIGHT [ORIENTATION]]\n", argv[0]);
        return 2;
    }
    TestDng dng;
    if (argc >= 4) {
        dng.width = std::atoi(argv[2]);
        dng.height = std::atoi(argv[3]);
    }
    if (argc == 5) dng.orientation = std::atoi(argv[4]);
    if (dng.width < 2 || dng.height < 2 || dng.width > 4096 || dng.height > 4096) {
        std::fprintf(stderr, "make_dng: size between 2 and 4096\n");
        return 2;
    }
    if (!WriteTestDng(argv[1], dng)) {
        std::fprintf(stderr, "make_dng: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
