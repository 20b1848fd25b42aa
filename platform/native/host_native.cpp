#include "platform/native/host_native.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/time.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/host.h"
#include "base/text.h"

NativeHostRecord NativeHost;
bool NativeHostEcho = false;
int NativeHostBoxAnswer = kIdOk;
void (*NativeHostOnPump)() = nullptr;

void NativeHostReset() {
    NativeHost = NativeHostRecord();
    NativeHostWriteBudget = -1;
    NativeHostCreateError = 0;
    NativeHostReplaceError = 0;
    NativeHostOnPump = nullptr;
    NativeHostTimerFails = false;
}

namespace {
// FILETIME counts 100 ns units since 1601-01-01, 11644473600 s before the Unix epoch.
constexpr uint64_t kUnitsPerSecond = 10000000ull;
constexpr uint64_t kUnixEpochSeconds = 11644473600ull;

uint64_t ToFileTime(const struct timespec& t) {
    return (static_cast<uint64_t>(t.tv_sec) + kUnixEpochSeconds) * kUnitsPerSecond + static_cast<uint64_t>(t.tv_nsec) / 100;
}

struct timespec FromFileTime(uint64_t fileTime) {
    const uint64_t unix100ns = fileTime - kUnixEpochSeconds * kUnitsPerSecond;
    struct timespec t;
    t.tv_sec = static_cast<time_t>(unix100ns / kUnitsPerSecond);
    t.tv_nsec = static_cast<long>(unix100ns % kUnitsPerSecond) * 100;
    return t;
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
void HostRepaintImage() { ++NativeHost.repaints; }
void HostLayOutWindow() { ++NativeHost.layouts; }

bool NativeHostTimerFails = false;
bool HostArmFrameTimer(unsigned milliseconds) {
    if (NativeHostTimerFails) return false;
    NativeHost.frameTimer = static_cast<int>(milliseconds);
    ++NativeHost.timerArms;
    return true;
}
void HostKillFrameTimer() { NativeHost.frameTimer = -1; }
void HostPumpMessages() {
    if (NativeHostOnPump != nullptr) NativeHostOnPump();
}

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

// --- writing ---

namespace {
uint32_t ToWin32Error(int err) {
    switch (err) {
        case ENOENT: return kErrFileNotFound;
        case ENOTDIR: return kErrPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return kErrAccessDenied;
        case EBUSY:
        case ETXTBSY: return kErrSharingViolation;
        case ENOSPC:
        case EDQUOT: return kErrDiskFull;
        default: return 1000u + static_cast<uint32_t>(err);
    }
}
int FdOf(HostFile file) { return static_cast<int>(reinterpret_cast<intptr_t>(file) - 1); }
HostFile FileOf(int fd) { return reinterpret_cast<HostFile>(static_cast<intptr_t>(fd) + 1); }
}  // namespace

uint32_t NativeHostCreateError = 0;
uint32_t NativeHostReplaceError = 0;

HostFile HostCreateTempBeside(const std::string& targetPath, std::string* tempPath, uint32_t* error) {
    if (NativeHostCreateError != 0) {
        *error = NativeHostCreateError;
        return nullptr;
    }
    std::string folder = targetPath.substr(0, targetPath.find_last_of('/') == std::string::npos
                                                  ? 0
                                                  : targetPath.find_last_of('/') + 1);
    std::string pattern = (folder.empty() ? std::string("./") : folder) + ".lum-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        *error = ToWin32Error(errno);
        return nullptr;
    }
    *tempPath = name.data();
    return FileOf(fd);
}

long long NativeHostWriteBudget = -1;

bool HostWriteFile(HostFile file, const void* data, uint64_t bytes, uint32_t* error) {
    if (NativeHostWriteBudget >= 0) {
        if (static_cast<unsigned long long>(NativeHostWriteBudget) < bytes) {
            NativeHostWriteBudget = 0;
            *error = kErrDiskFull;
            return false;
        }
        NativeHostWriteBudget -= static_cast<long long>(bytes);
    }
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
        ssize_t n = ::write(FdOf(file), p, bytes > (1u << 30) ? (1u << 30) : static_cast<size_t>(bytes));
        if (n < 0) {
            if (errno == EINTR) continue;
            *error = ToWin32Error(errno);
            return false;
        }
        p += n;
        bytes -= static_cast<uint64_t>(n);
    }
    return true;
}

bool HostFinishWrite(HostFile file, uint32_t* error) {
    int fd = FdOf(file);
    bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    if (!ok) *error = ToWin32Error(errno);
    if (::close(fd) != 0 && ok) {
        *error = ToWin32Error(errno);
        ok = false;
    }
    return ok;
}

bool HostReplaceFile(const std::string& temp, const std::string& target, uint32_t* error) {
    if (NativeHostReplaceError != 0) {
        *error = NativeHostReplaceError;
        return false;
    }
    // A new file gets the permissions a plain create would give it; a replaced one keeps
    // the old file's.
    struct stat st;
    mode_t mode = 0644;
    if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
    ::chmod(temp.c_str(), mode);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        *error = ToWin32Error(errno);
        return false;
    }
    return true;
}

bool HostDeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool HostCopyFile(const std::string& from, const std::string& to, uint32_t* error) {
    HostFile in = HostOpenRead(from);
    if (in == nullptr) {
        *error = ToWin32Error(errno);
        return false;
    }
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        *error = ToWin32Error(errno);
        HostCloseFile(in);
        return false;
    }
    char buffer[1 << 15];
    bool ok = true;
    for (;;) {
        int64_t n = HostReadFile(in, buffer, sizeof buffer);
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!HostWriteFile(FileOf(out), buffer, static_cast<uint64_t>(n), error)) {
            ok = false;
            break;
        }
    }
    HostCloseFile(in);
    ::close(out);
    return ok;
}

int HostCreateDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) == 0) return 1;
    return errno == EEXIST ? 0 : -1;
}

std::string NativeHostAppData = "";
std::string NativeHostProgramFolder = "./";

std::string HostAppDataFolder() { return NativeHostAppData; }
std::string HostProgramFolder() { return NativeHostProgramFolder; }

int HostSetFileWriteTime(const std::string& path, uint64_t lastWriteTime) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = FromFileTime(lastWriteTime);
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : -1;
}

// --- folder search ---

namespace {
struct NativeFind {
    std::vector<HostFoundFile> entries;
    size_t next = 0;
};
}  // namespace

HostFind HostFindFirst(const std::string& pattern, HostFoundFile* found, uint32_t* error) {
    size_t slash = pattern.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash);
    if (folder.empty()) folder = "/";
    std::string wild = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        *error = ToWin32Error(errno);
        if (*error == kErrFileNotFound) *error = kErrPathNotFound;
        return nullptr;
    }
    auto* find = new NativeFind;
    while (dirent* e = ::readdir(dir)) {
        if (!WildcardMatch(wild.c_str(), e->d_name)) continue;
        HostFileFacts facts;
        HostFoundFile f;
        f.name = e->d_name;
        if (HostGetFileFacts(folder + "/" + f.name, &facts)) {
            f.attributes = facts.attributes;
            f.size = facts.size;
            f.lastWriteTime = facts.lastWriteTime;
        }
        find->entries.push_back(f);
    }
    ::closedir(dir);
    if (find->entries.empty()) {
        delete find;
        *error = kErrFileNotFound;
        return nullptr;
    }
    *found = find->entries[0];
    find->next = 1;
    return find;
}

bool HostFindNext(HostFind handle, HostFoundFile* found) {
    auto* find = static_cast<NativeFind*>(handle);
    if (find->next >= find->entries.size()) return false;
    *found = find->entries[find->next++];
    return true;
}

void HostFindClose(HostFind handle) { delete static_cast<NativeFind*>(handle); }
