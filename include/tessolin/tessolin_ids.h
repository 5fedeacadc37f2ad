/* tessolin_ids.h: the command and resource ids a framework host puts in its resource script, as plain
 * #defines for resource compilers and C. C++ code takes the same ids from the framework's and the
 * library's headers (as typed constants), so under C++ this header defines nothing. */
#ifndef TESSOLIN_IDS_H
#define TESSOLIN_IDS_H

#if defined(RC_INVOKED) || !defined(__cplusplus)

/* The framework's standard commands. */
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT 0xE107
#define ID_FILE_PRINT_DIRECT 0xE108
#define ID_FILE_PRINT_PREVIEW 0xE109
#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_FIND 0xE124
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_REPLACE 0xE129
#define ID_EDIT_UNDO 0xE12B
#define ID_EDIT_REDO 0xE12C
#define ID_WINDOW_ARRANGE 0xE130
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_SEPARATOR 0

/* The status bar: its window id, the idle text and the overwrite pane (whose text, "OVR", the
 * library supplies when the host's string table has none). */
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDS_IDLEMESSAGE 0xE001
#define ID_INDICATOR_OVR 0xE704
/* The pane that shows the active document's encoding (GBK, UTF-8, UTF-8 BOM, UTF-16 LE, UTF-16 BE). */
#define ID_INDICATOR_ENCODING 0xE711

/* The editor's own commands (application ids). */
#define ID_EDIT_SELECTALL 0x80E3
#define ID_EDIT_FINDNEXT 0x8090
#define ID_OPTION_GBK_CHARACTERS 0x8110
#define ID_OPTION_WHOLE_TEXT_COLORS 0x8111
#define ID_OPTION_LONG_LINES 0x8112
#define ID_OPTION_FOLLOW_FILE 0x8113
#define ID_OPTION_NO_RECOVERY 0x8114 /* crash recovery off for the whole process, and on again */
#define ID_OPTION_DETECT_ENCODING 0x8115 /* on from the start */
#define ID_OPTION_DEEP_UNDO 0x811C
/* Save As writing the text in an encoding (refused for a file that lost characters when read). */
#define ID_FILE_SAVE_AS_GBK 0x8130
#define ID_FILE_SAVE_AS_UTF8 0x8131
#define ID_FILE_SAVE_AS_UTF8_BOM 0x8132
#define ID_FILE_SAVE_AS_UTF16LE 0x8133
#define ID_FILE_SAVE_AS_UTF16BE 0x8134

/* What the library routes to the application when a document closes. */
#define ID_TESSOLIN_DOCUMENT_CLOSING 100
/* The margin arrow the views draw beside the title found last: BITMAP 182 in the host's resources. */
#define IDB_TESSOLIN_TITLE_ARROW 182

#endif

#endif /* TESSOLIN_IDS_H */
