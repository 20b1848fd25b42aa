#include "core/native/host_native.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "core/host.h"

NativeHostRecord NativeHost;
bool NativeHostEcho = false;
int NativeHostBoxAnswer = kIdOk;

void NativeHostReset() { NativeHost = NativeHostRecord(); }

namespace {
// FILETIME counts 100 ns units since 1601-01-01.
uint64_t ToFileTime(const struct timespec& t) {
    return (static_cast<uint64_t>(t.tv_sec) + 11644473600ull) * 10000000ull + static_cast<uint64_t>(t.tv_nsec) / 100;
}
}  // namespace

int HostMessageBox(const std::string& text, const std::string& caption, unsigned) {
    NativeHost.boxes.push_back(text);
    NativeHost.captions.push_back(caption);
    if (NativeHostEcho) std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    return NativeHostBoxAnswer;
}

void HostBeep() { ++NativeHost.beeps; }

void HostPrintStdout(const std::string& text) {
    NativeHost.stdoutText += text;
    if (NativeHostEcho) std::fputs(text.c_str(), stdout);
}

void HostSetTitle(const std::string& text) { NativeHost.titles.push_back(text); }
void HostSetWaitCursor(bool) {}
void HostRedrawImage() { ++NativeHost.redraws; }
void HostPumpMessages() {}

bool HostGetFileFacts(const std::string& path, HostFileFacts* facts) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    facts->attributes = S_ISDIR(st.st_mode) ? 0x10 : 0x20;
    if (!(st.st_mode & S_IWUSR)) facts->attributes |= 0x1;
    facts->creationTime = ToFileTime(st.st_ctim);
    facts->lastWriteTime = ToFileTime(st.st_mtim);
    facts->lastAccessTime = ToFileTime(st.st_atim);
    facts->size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool HostFullPath(const std::string& path, std::string* full, size_t* nameOffset) {
    if (path.empty()) return false;
    std::string result;
    if (path[0] == '/') {
        result = path;
    } else {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr) return false;
        result = std::string(cwd) + "/" + path;
    }
    *full = result;
    size_t slash = result.rfind('/');
    *nameOffset = slash == std::string::npos ? 0 : slash + 1;
    return true;
}

HostFile HostOpenRead(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return reinterpret_cast<HostFile>(static_cast<intptr_t>(fd) + 1);
}

int64_t HostReadFile(HostFile file, void* buffer, uint64_t bytes) {
    int fd = static_cast<int>(reinterpret_cast<intptr_t>(file) - 1);
    uint64_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < bytes) {
        size_t chunk = static_cast<size_t>(bytes - done > (1u << 30) ? (1u << 30) : bytes - done);
        ssize_t n = ::read(fd, out + done, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        done += static_cast<uint64_t>(n);
    }
    return static_cast<int64_t>(done);
}

void HostCloseFile(HostFile file) {
    if (file != nullptr) ::close(static_cast<int>(reinterpret_cast<intptr_t>(file) - 1));
}

int HostReadFileTime(const std::string& path, uint64_t* lastWriteTime) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return -1;
    *lastWriteTime = ToFileTime(st.st_mtim);
    return 0;
}

std::string HostGetCurrentDir() {
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) : std::string();
}

bool HostSetCurrentDir(const std::string& path) { return ::chdir(path.c_str()) == 0; }
