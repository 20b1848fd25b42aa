// Identifiers shared by resources/lumora.rc and the program's code. Command numbers are
// the program's command table: other parts (and the test driver) post them as WM_COMMAND.
#ifndef LUMORA_SHELL_RESOURCE_H
#define LUMORA_SHELL_RESOURCE_H

// Menu, icon and bitmap resources are all named "Viewer".
#define IDR_VIEWER_NAME "Viewer"

// --- commands ---
#define IDM_OPEN 2
#define IDM_EXIT 8
#define IDM_BEST_FIT 10
#define IDM_ZOOM 11
#define IDM_ZOOM_SAME_ASPECT 12
#define IDM_FULL_SCREEN 13
#define IDM_HALF 14
#define IDM_DOUBLE 15
#define IDM_NORMAL 16
#define IDM_QUADRUPLE 17
#define IDM_QUARTER 18
#define IDM_LOAD_NEXT 22
#define IDM_LOAD_PREVIOUS 23
#define IDM_START_DEVE 52
#define IDM_ABOUT 112
#define IDM_NO_BORDER 151
#define IDM_WHEEL_ZOOM 177
#define IDM_WHEEL_RATE 178
#define IDM_SYSTEM_INFO 400
#define IDM_ALLOW_MULTIPLE 1181
#define IDM_FILE_INFO 1800
#define IDM_FIXED_SIZE 5502
#define IDM_FIXED_WINDOW 5503

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

// --- the about box (AboutBox) ---
#define IDC_ABOUT_PRODUCT 1001
#define IDC_ABOUT_VERSION 1002
#define IDC_ABOUT_BUILD 1003

// --- "Fixed Size of Image" (FixedSizeDlg) ---
#define IDC_FIXED_WIDTH 123
#define IDC_FIXED_HEIGHT 124

// --- "Setup Zoom Rate" (ZoomRateDlg) ---
#define IDC_WHEEL_RATE 1201

#endif
