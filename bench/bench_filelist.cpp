// Collects and sorts the picture files of a folder through the file list, as stepping to
// the next file does. Used by the file-list benchmark.
#include <cstdio>
#include <string>

#include "base/appstate.h"
#include "platform/host.h"
#include "settings/filelist.h"
#include "base/settings.h"

int main(int argc, char** argv) {
    if (argc < 2 || !HostSetCurrentDir(argv[1])) {
        std::fprintf(stderr, "usage: lumora_bench_filelist FOLDER [sort-order]\n");
        return 2;
    }
    SortOrder = argc > 2 ? std::atoi(argv[2]) : SORT_ALPHA;
    RunMode = RUN_STEPPING;
    ResetListPosition();
    BuildFileList();
    SortFileList();
    std::fprintf(stderr, "%d files\n", FileList.Count());
    return FileList.Count() > 0 ? 0 : 1;
}
