/* tessolin.h: the Tessolin editor window for any Windows program, in C.
 *
 * Loading libtessolin.dll registers the window class "TessolinEdit"; a host creates editors with
 * CreateWindowEx, drives them with messages and hears from them through WM_NOTIFY and EN_CHANGE.
 * Nothing but window handles, messages and the plain structure below crosses this interface.
 *
 * Text is GBK (code page 936) bytes. Positions are byte offsets into the text as the editor keeps it,
 * with a single line feed ending each line; WM_GETTEXT and WM_GETTEXTLENGTH give CR LF line ends, as
 * the system's edit control does. The window is an ANSI window: the system converts the W variants
 * of the text messages with the system's ANSI code page, which is 936 on Chinese Windows; the paths
 * of TEM_OPENFILEW and TEM_SAVEFILEW are converted through code page 936 by the editor itself.
 */
#ifndef TESSOLIN_H
#define TESSOLIN_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TESSOLIN_EDIT_CLASSA "TessolinEdit"
#define TESSOLIN_EDIT_CLASSW L"TessolinEdit"
#ifdef UNICODE
#define TESSOLIN_EDIT_CLASS TESSOLIN_EDIT_CLASSW
#else
#define TESSOLIN_EDIT_CLASS TESSOLIN_EDIT_CLASSA
#endif

/* The document kind, in the low two bits of the window style. */
#define TES_PLAIN 0x0000L
#define TES_COLORED 0x0001L
#define TES_DATAFILE 0x0002L     /* the vocabulary of engineering data files */
#define TES_CHECKLISTING 0x0003L /* the vocabulary of check-result listings */
#define TES_KINDMASK 0x0003L

/* Options for TEM_SETOPTION and TEM_GETOPTION (off until switched on, except TEO_DETECTENCODING). */
#define TEO_GBKCHARACTERS 0x0001   /* caret, deletion and search keep GBK characters whole */
#define TEO_WHOLETEXTCOLORS 0x0002 /* colours as a scan of the whole text gives them */
#define TEO_LONGLINES 0x0004       /* lines of megabytes stay quick to edit */
#define TEO_FOLLOWFILE 0x0008      /* bytes appended to the file on disk join the text */
#define TEO_DETECTENCODING 0x0010  /* on: UTF-8 and UTF-16 files are recognised; off: every file is bytes */
#define TEO_DEEPUNDO 0x0080        /* undo bounded by memory, typed characters grouped into words */

/* Encodings for TEM_GETENCODING and TEM_SETENCODING: the encoding the file came in and a save writes. */
#define TEE_GBK 0
#define TEE_UTF8 1    /* UTF-8 without a signature */
#define TEE_UTF8BOM 2 /* UTF-8 with the signature EF BB BF */
#define TEE_UTF16LE 3 /* UTF-16 little-endian with its signature */
#define TEE_UTF16BE 4 /* UTF-16 big-endian with its signature */

/* The editor's own messages. */
#define TEM_FIRST (WM_USER + 0x0600)
#define TEM_OPENFILE (TEM_FIRST + 0)   /* lParam const char* path: 1 opened, 0 failed (after a message box) */
#define TEM_OPENFILEW (TEM_FIRST + 1)  /* lParam const wchar_t* path */
#define TEM_SAVEFILE (TEM_FIRST + 2)   /* lParam path or NULL (the file it was opened from): 1 / 0 */
#define TEM_SAVEFILEW (TEM_FIRST + 3)  /* lParam const wchar_t* path or NULL */
#define TEM_RELOAD (TEM_FIRST + 4)     /* reads the file again: 1 / 0 */
#define TEM_FINDTITLE (TEM_FIRST + 5)  /* wParam title number, lParam const char* title: line shown or -1 */
#define TEM_SETOPTION (TEM_FIRST + 6)  /* wParam TEO_*, lParam nonzero on: the previous state */
#define TEM_GETOPTION (TEM_FIRST + 7)  /* wParam TEO_*: the state */
#define TEM_GOTOLINE (TEM_FIRST + 8)   /* wParam zero-based line: the line the caret went to */
#define TEM_FINDDIALOG (TEM_FIRST + 9) /* wParam 0 find, 1 replace: 1 when the dialog shows */
#define TEM_FINDNEXT (TEM_FIRST + 10)  /* the next hit of the last search: its offset or -1 */
#define TEM_PRINT (TEM_FIRST + 11)     /* wParam 0 with the print dialog, 1 directly: 1 printed */
#define TEM_ADDKEYWORD (TEM_FIRST + 12)  /* wParam COLORREF, lParam const char*: 1 (0 for plain) */
#define TEM_ADDTITLE (TEM_FIRST + 13)    /* wParam COLORREF, lParam const char*: 1 (0 for plain) */
#define TEM_ADDCOMMENT (TEM_FIRST + 14)  /* wParam COLORREF, lParam "start\0end\0": 1 (0 for plain) */
#define TEM_GETPATH (TEM_FIRST + 15)     /* wParam buffer size, lParam char* buffer: the path's length */
#define TEM_REDO (TEM_FIRST + 16)        /* redoes the last undone edit: 1 / 0 */
#define TEM_CANREDO (TEM_FIRST + 17)     /* 1 when there is an edit to redo */
#define TEM_GETENCODING (TEM_FIRST + 18) /* the file's encoding: TEE_* */
#define TEM_SETENCODING (TEM_FIRST + 19) /* wParam TEE_*: the next save writes it; 1, or 0 when refused */

/* Notifications, sent to the parent as WM_NOTIFY with a TESSOLIN_NOTIFY record. */
#define TEN_MODIFIED 2600   /* the modified flag changed: modified */
#define TEN_SELCHANGE 2601  /* the caret or the selection moved: line and column, one-based */
#define TEN_STATUSTEXT 2602 /* a status text for the host's status line: text */
#define TEN_PROGRESS 2603   /* loading progress, 0 to 100: progress */
#define TEN_CLOSING 2604    /* the document closes */

typedef struct TESSOLIN_NOTIFY {
    NMHDR hdr;
    int line;
    int column;
    int modified;
    int progress;
    const char* text; /* valid during the notification only */
} TESSOLIN_NOTIFY;

/* Registers the window class for a host that loads the library late; loading it registers it too. */
#ifndef TESSOLIN_API
#define TESSOLIN_API __declspec(dllimport)
#endif
TESSOLIN_API BOOL WINAPI TessolinRegisterClasses(HINSTANCE instance);

/* Crash recovery. While a document holds unsaved edits, its text is kept in a recovery file under the
 * user's local application data, "Tessolin\Recovery\"; opening the file again after a crash offers
 * the text back. TessolinEnableRecovery(FALSE) switches recovery off for the whole process.
 * TessolinSetRecoveryFolder puts the files in another folder; NULL goes back to the default, which the
 * environment variable TESSOLIN_RECOVERY_DIR replaces when set. */
TESSOLIN_API void WINAPI TessolinEnableRecovery(BOOL on);
TESSOLIN_API void WINAPI TessolinSetRecoveryFolder(const char* folder);

#ifdef __cplusplus
}
#endif

#endif /* TESSOLIN_H */
