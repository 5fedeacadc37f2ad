// Resource and command identifiers of the demo host, shared by its resource script and its code.
#pragma once

#define IDR_MAINFRAME 128
#define IDR_DATAFILE 129
#define IDR_CHECKFILE 130
#define IDR_LISTING 131
// The editor views draw this arrow beside the title the host navigated to.
#define IDB_TITLE_ARROW 182
// The command the host's own application object answers.
#define ID_HOST_COMMAND 100
// Shows or hides the titles panel.
#define ID_VIEW_TITLES 0x8101
// Switches every option of the editor's documents on for every open document (the 查看 menu's
// items above it switch one option of the active document, 0x8110-0x8113).
#define ID_VIEW_ALL_OPTIONS 0x8120
#define ID_INDICATOR_CARET 0xE710
