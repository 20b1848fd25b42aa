#include "open/open.h"

#include "base/appstate.h"
#include "base/display_mode.h"
#include "base/settings.h"
#include "core/current_image.h"
#include "core/fileops.h"
#include "core/filetype.h"
#include "core/report.h"
#include "core/formats.h"
#include "core/frames.h"
#include "core/title.h"
#include "edit/animation.h"
#include "edit/exif_orientation.h"
#include "platform/host.h"
#include "settings/filelist.h"
#include "settings/history.h"

namespace {

// The display mode a newly loaded picture starts in, from DefaultViewFull; the wheel
// zoom starts again from the whole picture.
void ChooseDisplayModeForNewPicture(int width, int height) {
    displayWidth = width;
    displayHeight = height;
    DisplayMode = ModeForNewPicture(DisplayMode, DefaultViewFull, width, height, workAreaWidth, workAreaHeight,
                                    borderWidth, borderHeight);
    ResetWheelZoom();
}

// Playback starts at frame 0; a single frame is shown once and not animated.
int StartPlaybackOfNewPicture() {
    if (!animFramesLoaded || !FormatHasFlag(CurrentImage.fileType, FORMAT_ANIMATED)) return 0;
    if (StartAnimation() < 0) return -1;
    // A playing animation titles its frames itself.
    return AnimationOwnsTitle() ? 1 : 0;
}

// A JPEG camera picture is shown upright when AllowOrientationView asks for it; its
// layout and title follow the turned size.
void TurnUprightByExif(const LoadRequest& request) {
    if (!AllowOrientationView || CurrentImage.fileType != FT_JPEG) return;
    const int orientation = ApplyExifOrientation(CurrentImage.dib, CurrentImage.exif);
    if (orientation < 2) return;
    CurrentImage.appliedOrientation = orientation;
    ChooseDisplayModeForNewPicture(CurrentImage.dib.width, CurrentImage.dib.height);
    RetitleWithNewSize(request.listPosition);
}

int FinishNewPicture(const LoadRequest& request) {
    TurnUprightByExif(request);
    return StartPlaybackOfNewPicture();
}

void FollowLoadInHistories(const LoadRequest& request, int result) {
    // A file chosen from outside the folder list (Open, a drop, a history entry, the
    // command line) means the list must be collected again before the next step.
    if (request.history == HISTORY_FOLDER_AND_FILE) FileList.stale = true;
    if (result < 0 || request.history == HISTORY_NONE) return;
    AddToFolderHistory(HostGetCurrentDir());
    if (request.history == HISTORY_FOLDER_AND_FILE) {
        AddToFileHistory(CurrentImage.fullPath);
        LastFileViewed = CurrentImage.fullPath;
    }
}

}  // namespace

int LoadImageFile(const LoadRequest& request) {
    LoadSteps steps;
    // The frames of an earlier animation belong to the picture being replaced.
    steps.replacing = StopAnimation;
    steps.sizeKnown = ChooseDisplayModeForNewPicture;
    steps.decoded = FinishNewPicture;
    steps.finished = FollowLoadInHistories;
    return LoadPicture(request, steps);
}

int LoadPageOfPicture(int index) {
    LoadSteps steps;
    steps.replacing = StopAnimation;
    steps.sizeKnown = ChooseDisplayModeForNewPicture;
    return LoadPage(index, steps);
}

int LoadBossPicture() {
    if (BossAlert.empty()) return 1;
    FileType type;
    if (FileTypeFromName(BossAlert, &type) < 0) {
        InputFile.SetPath(BossAlert);
        ReportFileError("Error: File type not Supported ");
        return -1;
    }
    DisplayMode = MODE_BEST_FIT_NO_BORDER;
    FileList.stale = true;
    return LoadImageFile(LoadRequest(BossAlert));
}
