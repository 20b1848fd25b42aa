// Loads picture files into the current image through the real loading pipeline, once
// each, as a user's Open would. Used by the load benchmark to time the engine natively.
#include <cstdio>
#include <string>

#include "core/current_image.h"
#include "core/loader.h"
#include "open/open.h"
#include "platform/native/host_native.h"

int main(int argc, char** argv) {
    NativeHostEcho = true;
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        std::string path = argv[i];
        if (LoadImageFile(path) < 0) ++failures;
    }
    if (argc > 1)
        std::fprintf(stderr, "%dx%d\n", CurrentImage.dib.width, CurrentImage.dib.height);
    return failures ? 1 : 0;
}
