// The find and replace dialog templates of the editor library: the common dialog's controls plus a
// check box for regular expressions.
#pragma once

#define TESSOLIN_FIND_TEMPLATE "TESSOLIN_FIND"
#define TESSOLIN_REPLACE_TEMPLATE "TESSOLIN_REPLACE"
// The "regular expression" check box, outside the range of the common dialogs' own ids (dlgs.h);
// the other controls keep those ids.
#define IDC_FIND_REGEX 0x0501
