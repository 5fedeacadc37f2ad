// The caret's place in the host's status bar: the pane that shows the caret's line and column.
#pragma once

// Writes "line =..., column =..." to the main window's status bar, when it has one; the pane is
// repainted only when its text changes.
void ShowCaretLineAndColumn(int line, int column);
