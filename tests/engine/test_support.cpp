#include "test_support.h"

#include "open/open.h"

#include <dirent.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "codecs/palette.h"
#include "base/appstate.h"
#include "core/current_image.h"
#include "core/formats.h"
#include "core/filemem.h"
#include "platform/native/host_native.h"
#include "core/quantise.h"
#include "core/title.h"
#include "settings/history.h"
#include "base/settings.h"

namespace {
// libpng may long-jump out of the reading function: nothing with a destructor lives here.
bool ReadPngInto(FILE* f, png_bytep* rows, int* w, int* h, std::vector<uint8_t>* out, bool alpha = false) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    if (alpha) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    else png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    *w = static_cast<int>(png_get_image_width(png, info));
    *h = static_cast<int>(png_get_image_height(png, info));
    const size_t channels = alpha ? 4 : 3;
    out->resize(static_cast<size_t>(*w) * *h * channels);
    *rows = static_cast<png_bytep>(std::malloc(sizeof(png_bytep) * static_cast<size_t>(*h)));
    for (int y = 0; y < *h; ++y)
        reinterpret_cast<png_bytep*>(*rows)[y] = out->data() + static_cast<size_t>(y) * *w * channels;
    png_read_image(png, reinterpret_cast<png_bytepp>(*rows));
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}
}  // namespace

RgbImage ReadPngRgb(const std::string& path) {
    RgbImage img;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return img;
    png_bytep rows = nullptr;
    if (!ReadPngInto(f, &rows, &img.width, &img.height, &img.rgb)) img = RgbImage();
    std::free(rows);
    std::fclose(f);
    return img;
}

RgbImage ReadPngRgba(const std::string& path) {
    RgbImage img;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return img;
    png_bytep rows = nullptr;
    if (!ReadPngInto(f, &rows, &img.width, &img.height, &img.rgb, true)) img = RgbImage();
    std::free(rows);
    std::fclose(f);
    return img;
}

RgbImage DibToRgb(const CDib& dib) {
    RgbImage img;
    if (dib.Empty() || dib.bitsPerPixel != 24) return img;
    img.width = dib.width;
    img.height = dib.height;
    img.rgb.resize(static_cast<size_t>(dib.width) * dib.height * 3);
    for (int y = 0; y < dib.height; ++y) {
        const uint8_t* s = dib.Row(dib.height - 1 - y);
        uint8_t* d = img.rgb.data() + static_cast<size_t>(y) * dib.width * 3;
        for (int x = 0; x < dib.width; ++x) {
            d[3 * x + 0] = s[3 * x + 2];
            d[3 * x + 1] = s[3 * x + 1];
            d[3 * x + 2] = s[3 * x + 0];
        }
    }
    return img;
}

std::string CorpusPath(const std::string& relative) {
    const char* env = std::getenv("LUMORA_CORPUS");
    return std::string(env && *env ? env : LUMORA_CORPUS) + "/" + relative;
}

bool CorpusAvailable() {
    struct stat st;
    return ::stat(CorpusPath("bmpsuite").c_str(), &st) == 0;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extensionLower) {
    std::vector<std::string> out;
    DIR* d = ::opendir(folder.c_str());
    if (!d) return out;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string full = folder + "/" + name;
        struct stat st;
        if (::stat(full.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            auto sub = ListFiles(full, extensionLower);
            out.insert(out.end(), sub.begin(), sub.end());
            continue;
        }
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (extensionLower.empty() ||
            (lower.size() >= extensionLower.size() &&
             lower.compare(lower.size() - extensionLower.size(), extensionLower.size(), extensionLower) == 0))
            out.push_back(full);
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchDir(const std::string& name) {
    std::string base = "/tmp/lumora-tests-" + std::to_string(::getpid());
    ::mkdir(base.c_str(), 0755);
    std::string dir = base + "/" + name;
    std::string cmd = "rm -rf '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) return dir;
    ::mkdir(dir.c_str(), 0755);
    return dir;
}

int LoadAfresh(std::string path) {
    NativeHostReset();
    return LoadImageFile(path);
}

std::string ShownBoxes() {
    std::string all;
    for (const std::string& box : NativeHost.boxes) all += box + "\n";
    return all;
}

void ResetEngineState() {
    NativeHostReset();
    ResetSettingsToDefaults();
    ClearUndo();
    CurrentImage.dib.Free();
    CurrentImage.secondaryImage.Free();
    CurrentImage.fileType = FT_UNSUPPORTED;
    CurrentImage.fullPath.clear();
    CurrentImage.formatNote.clear();
    CurrentImage.comment.clear();
    CurrentImage.exif.clear();
    CurrentImage.xmp.clear();
    CurrentImage.jpegProcess = 0;
    CurrentImage.pageCount = CurrentImage.page = 0;
    CloseKeptFiles();
    CurrentImage.appliedOrientation = 0;
    CurrentImage.modified = false;
    CurrentImage.failedLoad = false;
    FileMem.Release();
    RunMode = RUN_NORMAL;
    EditState = EDIT_NONE;
    saveDepth = 24;
    ditherMethod = '2';
    DisplayMode = 'N';
    titleText = "Lumora";
    ClearHistory(FolderHistory);
    ClearHistory(FileHistory);
}

void PutU16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

void PutU32(std::vector<uint8_t>& v, uint32_t x) {
    PutU16(v, x & 0xFFFF);
    PutU16(v, x >> 16);
}

std::vector<uint8_t> MakeBmp24(int w, int h, uint8_t fill) {
    std::vector<uint8_t> f = {'B', 'M'};
    uint32_t row = static_cast<uint32_t>((w * 24 + 31) / 32 * 4);
    PutU32(f, 54 + row * static_cast<uint32_t>(h));
    PutU32(f, 0);
    PutU32(f, 54);
    PutU32(f, 40);
    PutU32(f, static_cast<uint32_t>(w));
    PutU32(f, static_cast<uint32_t>(h));
    PutU16(f, 1);
    PutU16(f, 24);
    for (int i = 0; i < 6; ++i) PutU32(f, 0);
    f.resize(f.size() + row * static_cast<uint32_t>(h), fill);
    return f;
}

std::string RunTool(const std::string& command, bool withErrors) {
    std::string out;
    FILE* p = popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    if (p == nullptr) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
    return out;
}
