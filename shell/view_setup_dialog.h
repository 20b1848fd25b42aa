// "Setup &View and SlideShow": the "Setup Slide Show and View" dialog (ViewSetupDlg).
#pragma once

#include <windows.h>

// Shows the dialog (not while the slide show runs). OK stores the settings and rebuilds
// the folder list for them; Cancel keeps what "Restore Defaults" already changed and
// nothing else.
void OnViewSetupCommand(HWND window);
