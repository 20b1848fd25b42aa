// Every identifier of the program in one place: commands, dialog controls, timers and the
// test requests. Shared by resources/lumora.rc, the Win32 program, the key table and the
// tests. Plain #defines without windows.h, so that the resource compilers read it too.
// Other parts (and the test driver) post the command numbers as WM_COMMAND.
#ifndef LUMORA_BASE_IDS_H
#define LUMORA_BASE_IDS_H

// Menu, icon and bitmap resources are all named "Viewer".
#define IDR_VIEWER_NAME "Viewer"

// --- commands ---
#define IDM_NOT_IMPLEMENTED 1
#define IDM_OPEN 2
#define IDM_REOPEN 3
#define IDM_SAVE 4
#define IDM_SAVE_AS 5
#define IDM_PRINT 7
#define IDM_EXIT 8
#define IDM_WALLPAPER 9
#define IDM_BEST_FIT 10
#define IDM_ZOOM 11
#define IDM_ZOOM_SAME_ASPECT 12
#define IDM_FULL_SCREEN 13
#define IDM_HALF 14
#define IDM_DOUBLE 15
#define IDM_NORMAL 16
#define IDM_QUADRUPLE 17
#define IDM_QUARTER 18
#define IDM_FLIP_HORIZONTAL 19
#define IDM_FLIP_VERTICAL 20
#define IDM_SLIDE_SHOW 21
#define IDM_LOAD_NEXT 22
#define IDM_LOAD_PREVIOUS 23
#define IDM_LOAD_FIFTH 24
#define IDM_LOAD_BACK_FIVE 25
#define IDM_VIEW_SETUP 26
#define IDM_GIF_SETUP 27
#define IDM_ROTATE_90 28
#define IDM_ROTATE_180 29
#define IDM_ROTATE_270 30
#define IDM_MOSAIC 38
#define IDM_COLOURS_RGB 41
#define IDM_NEGATIVE 42
#define IDM_GREYSCALE 43
#define IDM_MONOCHROME 44
#define IDM_SWAP_RED_BLUE 45
#define IDM_SWAP_RED_GREEN 46
#define IDM_SWAP_GREEN_BLUE 47
#define IDM_ROTATE_COLOURS 48
#define IDM_COLOURS_HSV 49
#define IDM_IMAGE_UNDO 50
#define IDM_IMAGE_REDO 51
#define IDM_START_DEVE 52
#define IDM_BLUR 62
#define IDM_SHARPEN 66
#define IDM_EMBOSS_MEDIUM 70
#define IDM_EMBOSS_COLOUR 76
#define IDM_USER_FILTER 83
#define IDM_COPY 90
#define IDM_PASTE 91
#define IDM_CAPTURE 98
#define IDM_CANCEL 100
#define IDM_HELP 110
#define IDM_ABOUT 112
#define IDM_RESIZE 120
#define IDM_BUILD_THUMBNAILS 134
#define IDM_THUMBNAIL_SETUP 135
#define IDM_PIXEL_COLOUR 137
#define IDM_BUILD_ICON 140
#define IDM_EDIT_UNDO 144
#define IDM_EDIT_REDO 145
#define IDM_BEGINNING_OF_LIST 148
#define IDM_SHOW_CURSOR 150
#define IDM_NO_BORDER 151
#define IDM_ZTREE_COLOUR 152
#define IDM_CROP_ASPECT 153
#define IDM_SAVE_DIRECTORY 154
#define IDM_LOSSLESS_ROTATE_90 156
#define IDM_LOSSLESS_ROTATE_180 157
#define IDM_LOSSLESS_ROTATE_270 158
#define IDM_LOSSLESS_FLIP_H 159
#define IDM_LOSSLESS_FLIP_V 160
#define IDM_LOSSLESS_TRANSPOSE 166
#define IDM_LOSSLESS_TRANSVERSE 167
#define IDM_LOSSLESS_NULL 168
#define IDM_LOSSLESS_CROP 169
#define IDM_ROTATE_ANGLE 170
#define IDM_SAVE_HISTORY 171
#define IDM_HISTOGRAM 176
#define IDM_WHEEL_ZOOM 177
#define IDM_WHEEL_RATE 178
#define IDM_TIFF_NEXT_PAGE 192
#define IDM_EMAIL 196
#define IDM_PRINT_SETUP 300
#define IDM_SYSTEM_INFO 400
#define IDM_COLOUR_DEPTH 516
#define IDM_WEBSITE 600
#define IDM_EDIT_COMMENT 1125
#define IDM_ALLOW_MULTIPLE 1181
#define IDM_ALLOW_EXIT_ESC 1187
#define IDM_GIF_SINGLE_STEP 1209
#define IDM_GIF_RESUME 1210
#define IDM_GAMMA 1300
#define IDM_BRIGHTNESS 1050
#define IDM_FILE_INFO 1800
#define IDM_SAVE_DATE 1860
#define IDM_PREFERENCES 1900
#define IDM_TIFF_PAGE_NUMBER 1910
#define IDM_RUN_BATCH 2000
#define IDM_QUICK_JPEG 4000
#define IDM_AUTO_ORIENTATION 5501
#define IDM_FIXED_SIZE 5502
#define IDM_FIXED_WINDOW 5503
#define IDM_BUILD_ANIMATION 5504
#define IDM_DECOMPOSE 5505
#define IDM_TRAPEZOID 5506
#define IDM_COLOUR_COUNT 5507
#define IDM_BATCH 5508
#define IDM_PAD_ASPECT 5509
#define IDM_COLLAGE 5510
#define IDM_GIF_BACKGROUND 5511
#define IDM_ROTATE_BACKGROUND 5512
#define IDM_OTHER_FILTERS 5513
#define IDM_MAPPING 5514
#define IDM_PARALLELOGRAM 5517
#define IDM_SPHERICAL 5518
// Ctrl+H sends this number; no command answers it.
#define IDM_CTRL_H_UNASSIGNED 5515
#define IDM_PNG_BACKGROUND 40000
#define IDM_DIRECTORY_HISTORY 40001
#define IDM_FILE_HISTORY 40002
#define IDM_BORDERS 40003
#define IDM_ADD_TEXT 40004
#define IDM_INSERT_IMAGE 40005
#define IDM_DELETE_FILE 40006
#define IDM_WEBP_BACKGROUND 40140
// History entries: folders 3000 + i, files 3100 + i (i < 36).
#define IDM_FOLDER_HISTORY_FIRST 3000
#define IDM_FILE_HISTORY_FIRST 3100

// --- timers of the main window ---
// Steps the slide show.
#define IDT_SLIDE_SHOW 1
// One-shot: each frame of an animation arms it again for the next.
#define IDT_ANIMATION 2
// Closes the window when it fires.
#define IDT_CLOSE 3
// Quick-view polling.
#define IDT_QUICK_VIEW 5
// Looks again, while the program is busy, whether a file handed over by another instance
// can be opened now.
#define IDT_HAND_OVER 6

// --- test requests (WM_COPYDATA dwData; see shell/mainwnd.h) ---
#define LUM_REQUEST_DROP_FILES 0x4C554D44   /* 'LUMD' */
#define LUM_REQUEST_MARK_CHANGED 0x4C554D43 /* 'LUMC' */
#define LUM_REQUEST_MAP_POINT 0x4C554D50    /* 'LUMP' */
#define LUM_REQUEST_DUMP_MENU 0x4C554D4E    /* 'LUMN' */

// The colour-count worker tells the file information dialog it is done (WM_APP + 27).
#define WM_COLOUR_COUNT_DONE 32795

// --- "LUM File Information" (FileDataDlg) ---
#define IDC_FD_EXIF 3
#define IDC_FD_XMP 4
#define IDC_FD_SIZE 37
#define IDC_FD_COMPRESSION 38
#define IDC_FD_ATTRIBUTES 39
#define IDC_FD_MODIFIED 40
#define IDC_FD_FORMAT 41
#define IDC_FD_GIF_APP 42
#define IDC_FD_FOLDER 308
#define IDC_FD_CREATED 309
#define IDC_FD_STORED_DEPTH 315
#define IDC_FD_STORED_HEIGHT 327
#define IDC_FD_STORED_WIDTH 328
#define IDC_FD_STORED_BYTES 329
#define IDC_FD_DEPTH 330
#define IDC_FD_HEIGHT 331
#define IDC_FD_WIDTH 332
#define IDC_FD_IMAGE_SIZE 333
#define IDC_FD_COLOURS 334
#define IDC_FD_NAME 6009
#define IDC_FD_COMMENT 6010

// --- "Enter JPEG Information" (JPEGQualityDlg) ---
#define IDC_JPEG_DELETE_COMMENT 1001
#define IDC_JPEG_QUALITY 1012
#define IDC_JPEG_SAVE_EXIF 1097
#define IDC_JPEG_SAVE_DATE 1098
#define IDC_JPEG_COMMENT 1123
// --- "Select Filter Type" (FILTERDLG: radio buttons 6100..6139 for the filter entries)
// and the user filter dialogs (USERFILTER9DLG, USERFILTER25DLG, USERFILTER49DLG: kernel
// edits from 11 on) ---
#define IDC_FILTER_FIRST_ENTRY 6100
#define IDC_FILTER_RED 6039
#define IDC_FILTER_GREEN 6040
#define IDC_FILTER_BLUE 6041
#define IDC_FILTER_WEIGHTED 6042
#define IDC_USERFILTER_DIVISOR 6036
#define IDC_USERFILTER_BIAS 6037
#define IDC_USERFILTER_SUM 6038
// --- the colour dialogs: "Adjust Colours" (COLORSCRDLG), "Adjust Brightness" (BRIGHTDLG),
// "Monochrome" (MONOSCRDLG), "Adjust Hue, Saturation and Value" (HSVSCRDLG), "Gamma
// Correction" (GAMMADLG), "Manual Gamma Colour Values" (GAMMAUSERDLG), "Colour Histogram"
// (HISTODLG), "Display Pixel RGB Colour Value" (DISPLAYRGBDLG) ---
#define IDC_COLOURS_RED_BAR 10
#define IDC_COLOURS_GREEN_BAR 11
#define IDC_COLOURS_BLUE_BAR 12
#define IDC_COLOURS_RED_TEXT 13
#define IDC_COLOURS_GREEN_TEXT 14
#define IDC_COLOURS_BLUE_TEXT 15
#define IDC_BRIGHT_BAR 1051
#define IDC_CONTRAST_BAR 1052
#define IDC_BRIGHT_TEXT 13
#define IDC_CONTRAST_TEXT 14
#define IDC_AUTO_CONTRAST 3
#define IDC_MONO_BAR 116
#define IDC_MONO_TEXT 117
#define IDC_HUE_BAR 57
#define IDC_SATURATION_BAR 58
#define IDC_VALUE_BAR 59
#define IDC_HUE_EDIT 480
#define IDC_SATURATION_EDIT 55
#define IDC_VALUE_EDIT 56
#define IDC_GAMMA_BAR 1310
#define IDC_GAMMA_EDIT 1043
#define IDC_GAMMA_SIN 1038
#define IDC_GAMMA_TAN 1039
#define IDC_GAMMA_POWER 1040
#define IDC_GAMMA_SIN2 1041
#define IDC_GAMMA_USER 1042
#define IDC_GAMMA_RED 1321
#define IDC_GAMMA_GREEN 1322
#define IDC_GAMMA_BLUE 1323
#define IDC_GAMMA_FIRST_BAR 100
#define IDC_GAMMA_FIRST_VALUE 200
#define IDC_GAMMA_STRAIGHT 1400
#define IDC_HISTO_PIXELS 1121
#define IDC_HISTO_LARGEST 15
#define IDC_PIXEL_HEX 1089
#define IDC_PIXEL_RED 1091
#define IDC_PIXEL_GREEN 1094
#define IDC_PIXEL_BLUE 1095
// --- "Enter WebP Information" (WEBPQualityDlg) ---
#define IDC_WEBP_QUALITY 1012
#define IDC_WEBP_LOSSLESS 1097

// --- "Edit Comment" (EditCommentDlg) ---
#define IDC_COMMENT_TEXT 1123

// --- "LUM JPEG Exif File Information" (ExifThumbDlg) and "LUM JPEG XMP Information"
// (XMPThumbDlg) ---
#define IDC_META_TEXT 113
#define IDC_META_THUMB_NOTE 114
#define IDC_META_COPY 115

// --- the about box (AboutBox) ---
#define IDC_ABOUT_PRODUCT 1001
#define IDC_ABOUT_VERSION 1002
#define IDC_ABOUT_BUILD 1003

// --- "Fixed Size of Image" (FixedSizeDlg) ---
#define IDC_FIXED_WIDTH 123
#define IDC_FIXED_HEIGHT 124

// --- "Set Up Write Directory" (SavePathDlg) ---
#define IDC_SAVE_FOLDER 1085
#define IDC_SAVE_TYPED 1103
#define IDC_SAVE_LAST_READ 1105
#define IDC_SAVE_CURRENT 1106

// --- "Setup Zoom Rate" (ZoomRateDlg) ---
#define IDC_WHEEL_RATE 1201

// --- "Enter Required Bits Per Pixel" (COLOURDEPTHDLG) ---
#define IDC_DEPTH_BITS 130
#define IDC_DEPTH_FAST_GROUP 505
#define IDC_DEPTH_SLOW_GROUP 506
#define IDC_DEPTH_BITS_GROUP 507
#define IDC_DITHER_ONE_PASS 600
#define IDC_DITHER_TWO_PASS 601
#define IDC_DITHER_OPTIMAL 602

// --- "Preferences" (PreferenceDlg) ---
#define IDC_PREF_ZTREE_PATH 1002
#define IDC_PREF_SCALING 1005
#define IDC_PREF_MAX_PIXELS 1007
#define IDC_PREF_DEVE_HORIZONTAL 1009
#define IDC_PREF_DEVE_VERTICAL 1010
#define IDC_PREF_SAVE_EXIF 1097
#define IDC_PREF_OPENING_NONE 1127
#define IDC_PREF_OPENING_DEFAULT 1128
#define IDC_PREF_OPENING_USER 1129
#define IDC_PREF_OPENING_PATH 1130
#define IDC_PREF_MINIMUM_WIDTH 1131
#define IDC_PREF_BOSS_FILE 1134
#define IDC_PREF_JPEG_AFTER_CROP 1136
#define IDC_PREF_HOT_SPOT 1137
#define IDC_PREF_CHANGE_INPUT_DIR 1138
#define IDC_PREF_ORIENTATION 1139
#define IDC_PREF_MPEG_STATS 1001
#define IDC_PREF_WARNINGS 1003
#define IDC_PREF_BATCH_MESSAGES 1004
#define IDC_PREF_CONFIRM_DELETE 1006


// --- "Resize Image" (RESIZEDLG) ---
#define IDC_RESIZE_INTERPOLATE 122
#define IDC_RESIZE_WIDTH 123
#define IDC_RESIZE_HEIGHT 124
#define IDC_RESIZE_XSCALE 125
#define IDC_RESIZE_YSCALE 126
#define IDC_RESIZE_ASPECT 127

// --- "Setup Slide Show and View" (ViewSetupDlg) ---
#define IDC_SETUP_REVERSE 31
#define IDC_SETUP_SORT_ALPHA 32
#define IDC_SETUP_SORT_RANDOM 33
#define IDC_SETUP_SORT_EXT 35
#define IDC_SETUP_SORT_DATE 36
#define IDC_SETUP_SORT_SIZE 37
#define IDC_SETUP_SORT_WIDTH 40
#define IDC_SETUP_SORT_UNSORTED 41
#define IDC_SETUP_FILE_SPEC 42
// The 16 type check boxes, "BMP Files" to "RAW Files", in the order of the type patterns.
#define IDC_SETUP_TYPE_FIRST 1010
#define IDC_SETUP_TYPE_LAST 1025
#define IDC_SETUP_DURATION 1026
#define IDC_SETUP_VIEW_NORMAL 1037
#define IDC_SETUP_VIEW_FULL 1038
#define IDC_SETUP_VIEW_BIG 1039
#define IDC_SETUP_VIEW_HALF 1040
#define IDC_SETUP_VIEW_QUARTER 1041
#define IDC_SETUP_FORCE_ORDER 1042
#define IDC_SETUP_ALL_ON 1067
#define IDC_SETUP_ALL_OFF 1068
#define IDC_SETUP_SLIDE_CURSOR 1099
#define IDC_SETUP_SLIDE_BORDER 1100
#define IDC_SETUP_DEFAULTS 1101
#define IDC_SETUP_NEXT_CURSOR 1102
#define IDC_SETUP_NEXT_BORDER 1103
#define IDC_SETUP_START_AGAIN 1104
#define IDC_SETUP_SHORT_TITLE 1105
// --- "Rotate by variable angle" (ROTATEDLG) ---
#define IDC_ROTATE_GET_COLOUR 3
#define IDC_ROTATE_ANGLE 1106
#define IDC_ROTATE_SCROLL 6021
#define IDC_ROTATE_FINE 6022
#define IDC_ROTATE_GUIDE 6023
// --- "Animation Control" (GIFANIMATIONDLG) ---
#define IDC_ANIM_SPEED 1201
#define IDC_ANIM_ENABLE 1202
#define IDC_ANIM_FRAME_NUMBERS 1203
// --- "Change GIF Background Colour" (GIFBACKGROUNDDLG) ---
#define IDC_GIFBG_COLOUR 1211
#define IDC_GIFBG_USE 1212
// --- "Create GIF Animation" (CREATEGIFANIMDLG) ---
#define IDC_BUILD_DELAY 1221
#define IDC_BUILD_ASCENDING 1222
// --- "Decompose Animation Frames" (DECOMPOSEDLG); the four type buttons in their order ---
#define IDC_DECOMPOSE_BASE 1231
#define IDC_DECOMPOSE_BMP 1232
#define IDC_DECOMPOSE_JPEG 1233
#define IDC_DECOMPOSE_TGA 1234
#define IDC_DECOMPOSE_PNG 1235
// --- "Change PNG Background Colour" (PNGBACKGROUNDDLG) and "Change WebP Background Colour"
// (WEBPBACKGROUNDDLG) ---
#define IDC_BACKGROUND_COLOUR 1107
#define IDC_BACKGROUND_USE 6020
// --- "Enter Page in multipage TIFF File" (TIFFPAGEDLG) ---
#define IDC_TIFF_PAGE 1129
#define IDC_TIFF_PAGE_COUNT 1013
// --- "Crop Image" (CROPMAINDLG) and "Crop Aspect Ratio" (CROPOPTDLG) ---
#define IDC_CROP_WIDTH 1098
#define IDC_CROP_HEIGHT 115
#define IDC_CROP_MOVE 1095
#define IDC_CROP_RED_EYE 1097
#define IDC_CROPOPT_WIDTH 1101
#define IDC_CROPOPT_HEIGHT 1102
#define IDC_CROPOPT_WHOLE 600
#define IDC_CROPOPT_ZERO 1115

#endif
