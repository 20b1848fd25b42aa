#include "base/appstate.h"

int RunMode = RUN_NORMAL;

bool CancelLongWork() {
    if (!LongWorkRunning(RunMode)) return false;
    RunMode = RUN_NORMAL;
    return true;
}
int EditState = EDIT_NONE;
char DisplayMode = MODE_NORMAL;
int displayWidth = 0;
int displayHeight = 0;
int workAreaWidth = 1024;
int workAreaHeight = 768;
int borderWidth = 0;
int borderHeight = 0;
int saveDepth = 24;
std::string lastReadFolder;
int animFrameCount = 0;
double animSpeed = 100.0;
bool animForward = true;
