// CEditModel: an editor view's editing state and the rules by which keys, the mouse and edits change
// it, apart from any window. The view turns each answer into scrolling and painting.
#pragma once

#include "text/EditText.h"
#include "text/LineColumns.h"
#include "views/model/TextSelection.h"

// The keys with a rule of their own; any other key only ends as a key does.
enum class EditKey {
    kOther,
    kBack,
    kDelete,
    kTab,
    kReturn,
    kShift,
    kInsert,
    kPageUp,
    kPageDown,
    kHome,
    kEnd,
    kLeft,
    kRight,
    kUp,
    kDown
};

// What a key asks of the view besides the caret.
struct CKeyEnding {
    enum Kind {
        kNone,            // no text or selection changed beyond the state
        kMove,            // the caret moved: scroll to it, repaint lines first ... last or the window
        kPage,            // a page key: the window follows the caret's own move
        kEdit,            // an edit: scroll to the caret and repaint the edit
        kDeleteSelection, // a selection deleted: repaint the edit (Backspace also scrolls to the caret)
        kShortDeletion,   // one byte of a line deleted: repaint that line only
    };
    Kind kind = kNone;
    int first = -1;
    int last = -1;
    bool wholeWindow = false; // kMove: repaint the whole window
    bool shift = false;       // kPage: the selection grows
    bool backspace = false;   // kDeleteSelection
    // Whether the key ends with the caret placed and the search origin at the caret; the short
    // deletions and Backspace over a selection end on their own.
    bool Common() const { return kind != kShortDeletion && !(kind == kDeleteSelection && backspace); }
};

// How typing went: refused (nothing changed), replacing in place (overwrite or a selection), or inserted.
enum class TypeResult { kRefused, kReplaced, kInserted };

// What a press did: acted is false for a second press at the offset of the first, which keeps the
// selection made since; otherwise the selection it collapsed, if there was one, spanned firstLine ...
// lastLine.
struct CPressResult {
    bool acted = false;
    bool hadSelection = false;
    int firstLine = 0;
    int lastLine = 0;
};

// The first visible line and column of the view's window onto the text.
struct CFirstVisible {
    int line = 0;
    int column = 0;
};

// The view's window as the scrolling rules see it: the cell, the client size in pixels, the margin's
// columns and the columns a scroll to the right goes past the cell it shows.
struct CViewGrid {
    int cellWidth = 1;
    int lineHeight = 1;
    int width = 0;
    int height = 0;
    int marginColumns = 0;
    int overshoot = 0;
};

// Invariant: the selection keeps its own invariant against the text's length, the search origin lies
// in the text, and the last click and drag offsets are kNoOffset or offsets of the text as it is now
// (every edit resets them).
class CEditModel {
public:
    static const int kNoOffset = -1;

    explicit CEditModel(CEditText* text = nullptr) : m_text(text) {}
    void Attach(CEditText* text) { m_text = text; }
    bool HasText() const { return m_text != nullptr && m_text->Length() > 0; }

    const CTextSelection& Selection() const { return m_sel; }
    int Caret() const { return m_sel.caret; }
    CFirstVisible& First() { return m_first; }
    const CFirstVisible& First() const { return m_first; }
    int SearchOrigin() const { return m_nSearchOrigin; }
    // Where the next find starts, clamped to the text.
    void SetSearchOrigin(int pos) { m_nSearchOrigin = std::clamp(pos, 0, std::max(m_text->Length() - 1, 0)); }
    bool IsOverwrite() const { return m_bOverwrite; }
    int RememberedColumn() const { return m_nRememberedColumn; }
    // The long-line column checkpoints; the view sets them up with its tab size.
    CLineColumns& Columns() const { return m_columns; }

    // A selection set by a host: offsets outside the text are clamped.
    void SetSelection(int a, int b);
    // The caret to pos; false (nothing changed) outside the text.
    bool SetCaret(int pos);
    void SelectAll();
    // start ... end selected with the caret left where it is (clamped to the text); an empty range
    // collapses the selection at the caret.
    void MarkSelection(int start, int end);

    // The edit path: every change of the text, and a text replaced whole (a load).
    void TextChanged(int pos, int removed, int inserted);
    void TextReplaced();

    // Queries.
    int LineOf(int offset) const { return m_text->LineOfOffset(offset); }
    int CaretLine() const { return LineOf(m_sel.caret); }
    int LineLength(int line) const;
    // The start of the character holding offset, by the GBK option's rule; offset itself when off.
    int CharStartAt(int offset) const;
    // offset, or the end of the character it falls inside.
    int OutsidePair(int offset) const;
    // The word around pos by the double-click rule; false when the byte at pos is white space.
    bool WordBounds(int pos, int& start, int& end) const;
    bool GbkCharacters() const { return m_text->GbkCharacters(); }
    // The cells the bytes of line before offset take, tabs going to their stops; offset is clamped
    // to the line.
    int CellsBefore(int offset, int line) const;

    // The caret's column in its line, kept for vertical moves.
    void RememberColumn();
    // The caret moved other than by typing: the next typed character starts a new undo step.
    void EndTyping() {
        if (m_text != nullptr) m_text->EndTyping();
    }

private:
    // The keyboard and mouse rules change the state the model keeps.
    friend class CKeyRules;
    friend class CMouseRules;
    friend class CColumnSpans;
    friend class CColumnEdits;

    CEditText* m_text = nullptr;
    CTextSelection m_sel;
    CFirstVisible m_first;
    int m_nRememberedColumn = 0;
    int m_nSearchOrigin = 0;
    bool m_bOverwrite = false;
    int m_nLastClick = kNoOffset; // unset, so the first press always acts
    int m_nLastDrag = kNoOffset;
    // The long-line option's column checkpoints, moved with every edit; a cache, filled by const queries.
    mutable CLineColumns m_columns{4};
};

// The first visible line that shows line: unchanged while it is on a whole row; a line above the
// window becomes the first, one on the last partial row or below it the last whole row.
int FirstLineShowing(const CFirstVisible& first, int line, const CViewGrid& grid);
// The first visible column that shows the cell cells from the line's start: unchanged while it is
// inside the text area; a cell left of it becomes the first, one on the right edge or beyond it goes
// the overshoot past the edge.
int FirstColumnShowing(const CFirstVisible& first, int cells, const CViewGrid& grid);
