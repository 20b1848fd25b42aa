// Loads one picture file through the real loading pipeline and writes it in the type of
// an output name's extension, as Save As would: bench_save IN OUT [JPEG quality].
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/current_image.h"
#include "core/filetype.h"
#include "core/save.h"
#include "platform/native/host_native.h"
#include "open/open.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN OUT [quality]\n", argv[0]);
        return 2;
    }
    NativeHostEcho = true;
    std::string in = argv[1];
    if (LoadImageFile(in) < 0) return 1;
    FileType type;
    if (FileTypeFromName(argv[2], &type) < 0) return 1;
    CurrentImage.saveType = type;
    jpegQuality = argc > 3 ? std::atoi(argv[3]) : 75;
    return WriteImageFile(argv[2]) < 0 ? 1 : 0;
}
