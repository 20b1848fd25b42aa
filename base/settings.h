// Process-wide settings, named after their LUM.INI keys, with their built-in defaults.
// Every part of the program reads and changes them directly; the configuration file
// reads them at start-up and writes them back at exit.
#pragma once

#include <cstdint>
#include <string>

struct RgbColour {
    uint8_t red, green, blue;
};

enum DefaultView { VIEW_NORMAL = 0, VIEW_FULL = 1, VIEW_BIG = 2, VIEW_HALF = 3, VIEW_QUARTER = 4 };
enum SaveDirMode { SAVEDIR_USER = 0, SAVEDIR_LASTREAD = 1, SAVEDIR_CURRENT = 2 };
enum SortOrderValue {
    SORT_UNSORTED = 0, SORT_ALPHA = 1, SORT_WIDTH = 2, SORT_EXT = 3,
    SORT_RAND = 4, SORT_SIZE = 5, SORT_TIME = 6
};

extern int OpeningBitmap;            // 0 none, 1 default, 2 user file
extern std::string OpeningBitmapText;
extern std::string LastFileViewed;
extern int SaveDirType;
extern std::string SaveDir;
extern std::string ZTreeWinPath;
extern int AllowOrientationView;
extern int AllowMPEGStats;
extern int GIFAnimation;
extern int CursorHotSpot;
extern int DEVELabelBig;
extern int32_t DefaultJPEGQuality;
extern int DefaultViewFull;
extern uint32_t SlideShowDuration;   // milliseconds
extern int WarningFlag;
extern int ConfirmDeleteFileFlag;
extern int VerboseFlag;
extern int AllowExitESC;
extern int ChangeInputDir;
extern int SlideShowBorder;
extern int SlideShowCursor;
extern int NextFileBorder;
extern int NextFileCursor;
extern int SaveExifHeaderToFile;
extern int ForceListOrder;
extern int SaveDate;
extern int StartListAgain;
extern int UseShortTitle;
extern int SortOrder;
extern int32_t CropAspectRatio[2];
extern char ThumbnailSheetLetter;
extern uint16_t ThumbnailSheet[2];
extern char ThumbnailSizeLetter;
extern uint16_t ThumbnailSize[2];
extern uint16_t ThumbnailPercent;
extern uint16_t ThumbnailNumAcross;
extern uint16_t WindowsScaling;
extern int32_t MaxPixelSize;
extern int SaveJPEGImmediate;
extern RgbColour ZTreeBGColour;
extern int32_t ZTreeThumbnailHorOffset;
extern int32_t ZTreeThumbnailVertOffset;
extern RgbColour BackgroundColour;
extern int GIFUserPackground;
extern RgbColour GIFBackgroundColour;
extern int PNGUserPackground;
extern RgbColour PNGBackgroundColour;
extern int WEBPUserPackground;
extern RgbColour WEBPBackgroundColour;
extern int32_t MinimumWidth;
extern std::string BossAlert;
extern int AllowMultipleInstance;
extern int SaveHistory;
extern int DeleteComment;

// Puts every setting back to its built-in default (tests and start-up).
void ResetSettingsToDefaults();
