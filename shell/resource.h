// Identifiers shared by resources/lumora.rc and the program's code. Command numbers are
// the program's command table: other parts (and the test driver) post them as WM_COMMAND.
#ifndef LUMORA_SHELL_RESOURCE_H
#define LUMORA_SHELL_RESOURCE_H

// Menu, icon and bitmap resources are all named "Viewer".
#define IDR_VIEWER_NAME "Viewer"

#define IDM_OPEN 2
#define IDM_EXIT 8

#endif
