// The Win32 implementation of the engine's platform seam, checked under Wine against the
// contract in core/host.h: files written through a temporary file beside the target,
// file facts and times, names outside ASCII (UTF-8 in the engine, UTF-16 in the calls),
// folders and the current directory. Usage: lumora-seam-test FOLDER (an empty folder).
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/host.h"
#include "core/outstream.h"
#include "shell/wintext.h"

namespace {

int failures = 0;

void Report(const std::string& text) { HostPrintStdout(text); }

#define CHECK(condition) Check((condition), #condition, __LINE__)

void Check(bool ok, const char* what, int line) {
    if (ok) return;
    ++failures;
    Report("seam_test.cpp:" + std::to_string(line) + ": failed: " + what + "\n");
}

std::string ReadAll(const std::string& path) {
    HostFile file = HostOpenRead(path);
    if (file == nullptr) return "<cannot open>";
    std::string data(1 << 20, '\0');
    const int64_t got = HostReadFile(file, &data[0], data.size());
    HostCloseFile(file);
    if (got < 0) return "<cannot read>";
    data.resize(static_cast<size_t>(got));
    return data;
}

int WriteText(const std::string& path, const std::string& text, uint32_t* error = nullptr) {
    return WriteReplacing(
        path, [&](OutStream& out) { return out.Write(text) ? 0 : -1; }, error);
}

bool TempFilesLeft(const std::string& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(folder + "\\~lum*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

void WritingReplacesOnlyWhenComplete(const std::string& folder) {
    const std::string target = folder + "\\out.bin";
    CHECK(WriteText(target, "first") == WRITE_OK);
    CHECK(ReadAll(target) == "first");

    // A writer that fails after writing leaves the old file as it was.
    const int failed = WriteReplacing(target, [](OutStream& out) {
        out.Write(std::string("partial"));
        return -7;
    });
    CHECK(failed == -7);
    CHECK(ReadAll(target) == "first");

    // More than the stream's buffer, so that several writes reach the file.
    std::string big(200000, 'x');
    for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>('a' + i % 26);
    CHECK(WriteText(target, big) == WRITE_OK);
    CHECK(ReadAll(target) == big);
    CHECK(!TempFilesLeft(folder));

    uint32_t error = 0;
    CHECK(WriteText(folder + "\\no-such-folder\\x.bin", "x", &error) == WRITE_CANT_CREATE);
    CHECK(error == kErrPathNotFound);

    // A read-only target is not replaced, and the temporary file goes away.
    const std::string locked = folder + "\\locked.bin";
    CHECK(WriteText(locked, "kept") == WRITE_OK);
    CHECK(SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_READONLY) != 0);
    error = 0;
    CHECK(WriteText(locked, "new", &error) == WRITE_CANT_REPLACE);
    CHECK(error == kErrAccessDenied);
    CHECK(ReadAll(locked) == "kept");
    CHECK(!TempFilesLeft(folder));
    SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string copy = folder + "\\copy.bin";
    error = 0;
    CHECK(HostCopyFile(target, copy, &error));
    CHECK(ReadAll(copy) == big);
    CHECK(HostDeleteFile(copy));
    CHECK(!HostDeleteFile(copy));
}

void FactsAndTimes(const std::string& folder) {
    const std::string path = folder + "\\dated.bin";
    CHECK(WriteText(path, "12345") == WRITE_OK);
    // 2001-02-03 04:05:06 UTC in 100 ns units since 1601.
    const uint64_t when = 126256395060000000ull;
    CHECK(HostSetFileWriteTime(path, when) == 0);
    uint64_t read = 0;
    CHECK(HostReadFileTime(path, &read) == 0);
    CHECK(read == when);
    HostFileFacts facts;
    CHECK(HostGetFileFacts(path, &facts));
    CHECK(facts.size == 5);
    CHECK(facts.lastWriteTime == when);
    CHECK((facts.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0);

    const std::string missing = folder + "\\missing.bin";
    CHECK(!HostGetFileFacts(missing, &facts));
    CHECK(HostReadFileTime(missing, &read) == -1);
    CHECK(HostSetFileWriteTime(missing, when) == -1);
    CHECK(HostOpenRead(missing) == nullptr);
}

void NamesOutsideAscii(const std::string& folder) {
    const std::string sub = folder + "\\Fotos \xC3\xA9t\xC3\xA9";        // "Fotos été"
    const std::string name = "na\xC3\xAFve \xE2\x82\xAC \xF0\x9F\x98\x80.bin";  // "naïve € 😀.bin"
    CHECK(HostCreateDirectory(sub) == 1);
    CHECK(HostCreateDirectory(sub) == 0);
    CHECK(HostCreateDirectory(folder + "\\no-such\\deeper") == -1);
    const std::string path = sub + "\\" + name;
    CHECK(WriteText(path, "utf") == WRITE_OK);
    CHECK(ReadAll(path) == "utf");
    std::string full;
    size_t offset = 0;
    CHECK(HostFullPath(path, &full, &offset));
    CHECK(full == path);
    CHECK(offset <= full.size() && full.substr(offset) == name);
    HostFileFacts facts;
    CHECK(HostGetFileFacts(path, &facts) && facts.size == 3);
}

void CurrentDirectory(const std::string& folder) {
    const std::string before = HostGetCurrentDir();
    CHECK(HostSetCurrentDir(folder));
    CHECK(HostGetCurrentDir() == folder);
    std::string full;
    size_t offset = 0;
    CHECK(HostFullPath("rel.bmp", &full, &offset));
    CHECK(full == folder + "\\rel.bmp");
    CHECK(offset == folder.size() + 1);
    // A folder given with its final separator has an empty name part.
    CHECK(HostFullPath(folder + "\\", &full, &offset));
    CHECK(offset == full.size());
    CHECK(!HostSetCurrentDir(folder + "\\no-such-folder"));
    CHECK(HostGetCurrentDir() == folder);
    HostSetCurrentDir(before);
}

void ProgramAndUserFolders() {
    const std::string program = HostProgramFolder();
    CHECK(!program.empty() && program.back() == '\\');
    const std::string appData = HostAppDataFolder();
    CHECK(!appData.empty() && appData.back() != '\\');
    HostFileFacts facts;
    CHECK(HostGetFileFacts(appData, &facts) && (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
}

}  // namespace

extern "C" int wmain(int argc, WCHAR** argv) {
    if (argc != 2) {
        Report("usage: lumora-seam-test FOLDER\n");
        return 2;
    }
    std::string folder = Narrow(argv[1]);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    WritingReplacesOnlyWhenComplete(folder);
    FactsAndTimes(folder);
    NamesOutsideAscii(folder);
    CurrentDirectory(folder);
    ProgramAndUserFolders();
    Report(failures == 0 ? "seam: all checks passed\n" : "seam: " + std::to_string(failures) + " checks failed\n");
    return failures == 0 ? 0 : 1;
}
