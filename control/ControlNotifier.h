// What an editor window tells its parent: WM_NOTIFY records and EN_CHANGE, as edit controls do.
#pragma once

#include <windows.h>

class CEditControl;

// Invariant: the told values are the ones the parent last heard (the modified flag, the caret's line
// and column, the selection); Flush tells the differences, once per handled message.
class CControlNotifier {
public:
    explicit CControlNotifier(CEditControl& control) : m_control(control) {}

    // Reports of the documents and views, told at once (the text lives only during the call).
    void StatusText(const char* text);
    void Progress(int percent);
    void Closing();
    // Kept for the next Flush.
    void CaretPlace(int line, int column);
    void TextChanged() { m_textChanged = true; }

    // Tells what changed since the last time: EN_CHANGE, then TEN_MODIFIED, then TEN_SELCHANGE.
    void Flush();
    // The current state becomes the told one, without a word (a freshly made or loaded editor).
    void Settle();
    // Nothing more reaches the parent (the window is going).
    void Mute() { m_muted = true; }

private:
    struct CState {
        int modified = 0;
        int line = 1;
        int column = 1;
        int start = 0;
        int end = 0;
        bool operator==(const CState& other) const;
    };
    CState Now() const;
    void Send(UINT code, const CState& state, int progress, const char* text);

    CEditControl& m_control;
    CState m_told;
    int m_line = 1;
    int m_column = 1;
    bool m_textChanged = false;
    bool m_flushing = false;
    bool m_muted = false;
};
