#include "view/animation_tools.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "base/appstate.h"
#include "base/settings.h"
#include "base/text.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/frames.h"
#include "core/report.h"
#include "core/save.h"
#include "core/title.h"
#include "edit/animation.h"
#include "platform/host.h"
#include "settings/filelist.h"
#include "open/open.h"

BuildAnimationOptions buildAnimationOptions;

namespace {

constexpr const char* kBuildCaption = "Create GIF Animation";
constexpr const char* kNotAllFrames = "Not all animation frames could be loaded";

// Makes the program busy for a build (interaction state 12: keys other than Escape do
// nothing, titles of the pictures read are not shown) and GIFs load as their first frame
// only, so that each input gives one picture; both are put back at the end.
class BuildScope {
public:
    BuildScope() : keptAnimation_(GIFAnimation) {
        EditState = EDIT_WRITING_ANIMATION;
        GIFAnimation = 0;
    }
    ~BuildScope() {
        GIFAnimation = keptAnimation_;
        if (EditState == EDIT_WRITING_ANIMATION) EditState = EDIT_NONE;
    }
    BuildScope(const BuildScope&) = delete;
    BuildScope& operator=(const BuildScope&) = delete;
    // False once Escape has ended the busy state.
    static bool Going() { return EditState == EDIT_WRITING_ANIMATION; }

private:
    int keptAnimation_;
};

// The names of the current folder's list, collected afresh, in the order they are read.
std::vector<std::string> BuildInputs(bool ascending) {
    FileList.stale = true;
    RefreshStaleList(CurrentImage.fullPath, true);
    std::vector<std::string> names;
    names.reserve(FileList.entries.size());
    for (const FileListEntry& entry : FileList.entries) names.push_back(entry.name);
    if (!ascending) std::reverse(names.begin(), names.end());
    return names;
}

// The animation is a picture of its own, not any of its inputs: it has no file yet, so
// Save asks for a name instead of writing over (or recycling) one of the inputs. Its title
// names the first input.
void BecomeBuiltAnimation(const std::string& firstInput) {
    CurrentImage.fileType = FT_GIF;
    CurrentImage.saveType = FT_GIF;
    CurrentImage.fullPath.clear();
    CurrentImage.storedWidth = animScreenWidth;
    CurrentImage.storedHeight = animScreenHeight;
    CurrentImage.storedBitsPerPixel = 24;
    CurrentImage.formatNote = FormatText("Animation of %d frames", animFrameCount);
    CurrentImage.comment.clear();
    CurrentImage.exif.clear();
    CurrentImage.xmp.clear();
    CurrentImage.appliedOrientation = 0;
    // The last picture read may have been a broken one: the frames are what is shown now.
    CurrentImage.failedLoad = false;
    // Built, not saved: leaving it asks first, as for an edited picture.
    CurrentImage.modified = true;
    InputFile.SetPath(firstInput);
    InputFile.SetTitleText("", "", animScreenWidth, animScreenHeight, 24);
    // The window is laid out for the frames, not for the last picture read (which may
    // have been one of another size, left out).
    CurrentImage.dib.Assign(animFrames[0].image);
    displayWidth = animScreenWidth;
    displayHeight = animScreenHeight;
}

}  // namespace

bool ParseFrameDelay(const std::string& text, int* delayMs) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t first = i;
    long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10 + (text[i] - '0');
        if (value > 65535) return false;
        ++i;
    }
    if (i == first) return false;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) return false;
    *delayMs = static_cast<int>(value);
    return true;
}

int BuildAnimation() {
    const BuildAnimationOptions options = buildAnimationOptions;
    const uint16_t delay = static_cast<uint16_t>(options.delayMs < 0 ? 0 : options.delayMs > 65535 ? 65535 : options.delayMs);
    StopAnimation();
    FrameCollection frames;
    std::string firstInput;
    {
        BuildScope scope;
        const std::vector<std::string> names = BuildInputs(options.ascending);
        if (names.empty()) {
            ShowMessage("No file found, change directory or set different file types", "Viewer", kMbOk | kMbIconWarning);
            return -1;
        }
        const int count = static_cast<int>(names.size());
        bool faulty = false;
        int width = 0, height = 0;  // of the first frame: every frame has its size
        for (int i = 0; i < count; ++i) {
            if (faulty && ShowMessage("Faulty frame. Dimensions changed. Continue?", kBuildCaption,
                                      kMbYesNo | kMbIconQuestion) != kIdYes)
                break;
            faulty = false;
            HostPumpMessages();
            if (!BuildScope::Going()) break;
            if (frames.Count() >= kMaxAnimFrames) {
                ShowMessage(kNotAllFrames, kBuildCaption, kMbOk | kMbIconWarning);
                break;
            }
            HostSetTitle(FormatText("Reading Frame: %d of %d", i, count));
            std::string path = names[i];
            int loaded;
            {
                // The frame's own message says which file failed; the reader's would be a
                // second box for the same file.
                QuietReports quiet;
                loaded = LoadImageFile(path);
            }
            if (loaded < 0) {
                OutputFile.SetPath(path);
                ReportWriteError("Can't create GIF frame due to file display fail ");
                faulty = true;
                continue;
            }
            const CDib& picture = CurrentImage.dib;
            if (frames.Count() > 0 && (picture.width != width || picture.height != height)) {
                faulty = true;
                continue;
            }
            try {
                frames.Append(picture, delay);
            } catch (const char*) {
                ShowMessage(kNotAllFrames, kBuildCaption, kMbOk | kMbIconWarning);
                break;
            }
            if (frames.Count() == 1) {
                firstInput = path;
                width = picture.width;
                height = picture.height;
            }
        }
    }
    if (frames.Count() == 0) {
        ShowTitle();
        return -1;
    }
    frames.Install();
    BecomeBuiltAnimation(firstInput);
    ResetAnimation();
    animRunning = true;
    if (ShowAnimationFrame() < 0) {
        animRunning = false;
        return -1;
    }
    if (!AnimationOwnsTitle()) ShowTitle();
    HostRedrawImage();
    return 0;
}

FileType DecomposeFileType(DecomposeType type) {
    switch (type) {
        case DECOMPOSE_BMP: return FT_BMP;
        case DECOMPOSE_TGA: return FT_TGA;
        case DECOMPOSE_PNG: return FT_PNG;
        case DECOMPOSE_JPEG: break;
    }
    return FT_JPEG;
}

DecomposeType DecomposeTypeFor(FileType saveType) {
    switch (saveType) {
        case FT_BMP: return DECOMPOSE_BMP;
        case FT_TGA: return DECOMPOSE_TGA;
        case FT_PNG: return DECOMPOSE_PNG;
        default: return DECOMPOSE_JPEG;
    }
}

std::string DecomposeBaseName(const std::string& currentPath) { return CutExtension(currentPath); }

std::string DecomposeFrameName(const std::string& base, int index, DecomposeType type) {
    static const char* const kExtensions[] = {".bmp", ".jpg", ".tga", ".png"};
    return FormatText("%s%04d%s", base.c_str(), index, kExtensions[type]);
}

namespace {

// What a write changes that belongs to the picture shown: it comes back as it was after
// the frames were written.
struct ShownPicture {
    CDib dib;
    FileType saveType = FT_JPEG;
    std::string title;
    uint32_t storedWidth = 0, storedHeight = 0, storedBitsPerPixel = 0;
    int depth = 24;

    ShownPicture() {
        dib.Swap(CurrentImage.dib);
        saveType = CurrentImage.saveType;
        title = titleText;
        storedWidth = CurrentImage.storedWidth;
        storedHeight = CurrentImage.storedHeight;
        storedBitsPerPixel = CurrentImage.storedBitsPerPixel;
        depth = saveDepth;
    }
    ~ShownPicture() {
        CurrentImage.dib.Swap(dib);
        CurrentImage.saveType = saveType;
        titleText = title;
        CurrentImage.storedWidth = storedWidth;
        CurrentImage.storedHeight = storedHeight;
        CurrentImage.storedBitsPerPixel = storedBitsPerPixel;
        saveDepth = depth;
    }
    ShownPicture(const ShownPicture&) = delete;
    ShownPicture& operator=(const ShownPicture&) = delete;
};

}  // namespace

int DecomposeAnimation(const std::string& base, DecomposeType type) {
    if (!animFramesLoaded || animFrameCount < 1) {
        ReportFileError("There is no GIF animation file loaded! in file ");
        return -1;
    }
    const bool playing = AnimationPlaying();
    // No frame may replace the picture being written.
    HostKillFrameTimer();
    int result = 0;
    {
        ShownPicture shown;
        CurrentImage.saveType = DecomposeFileType(type);
        // The frames are full colour pictures and are written as such, whatever depth the
        // last write used.
        saveDepth = 24;
        const int count = animFrameCount;
        for (int i = 0; i < count && result == 0; ++i) {
            const std::string name = DecomposeFrameName(base, i, type);
            try {
                const CDib& frame = animFrames[i].image;
                if (frame.Empty()) {
                    ReportFileError("There is no GIF image loaded! in file ");
                    result = -1;
                    break;
                }
                CurrentImage.dib.Assign(frame);
                if (CurrentImage.dib.bitsPerPixel != 24 && CurrentImage.dib.MakeTrueColour() < 0) throw kDibAllocFailure;
                OutputFile.SetPath(name);
                OutputFile.ShowProgressTitle(FormatText("Writing <%d>of<%d>: ", i + 1, count), "");
                result = WriteCurrentImageTo(name);
            } catch (const char* text) {
                ShowMessage(text, "LUM", kMbOk | kMbIconWarning);
                result = -1;
            }
        }
    }
    if (playing) {
        animIndex = 0;
        if (ShowAnimationFrame() < 0) animRunning = false;
    } else {
        if (!AnimationOwnsTitle()) ShowTitle();
        HostRepaintImage();
    }
    return result;
}
