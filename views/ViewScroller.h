// CViewScroller: the pixel moves behind an editor view's scrolls: bringing a row or a column into
// view, moving the text area's pixels, and repainting instead when the jump is longer than the window.
#pragma once

class CEditScrollView;

// Each move changes the model's first visible line or column and the window's pixels together.
class CViewScroller {
public:
    explicit CViewScroller(CEditScrollView& view) : m_view(view) {}

    // Bring the row at y or the column at x into view; the pixels the text moved (the caret moves
    // with it). A scroll to the right overshoots the cell by the horizontal scroll step.
    int RowsToShow(int y, bool textAreaOnly);
    int ColumnsToShow(int x, bool textAreaOnly);
    // Moves the text area's pixels; the uncovered strip is repainted through OnDraw.
    void MoveTextArea(int dx, int dy);
    // Makes line the first visible line (clamped to the scroll limit), moving the window's pixels by
    // whole lines when the jump is shorter than the window; the caret stays on its character.
    void ToFirstLine(int line);
    // The repaint after the view's own edit: the unchanged lines below it move by pixel scroll when
    // that shows what a full repaint would, and only the edited lines are drawn again.
    void RepaintEdit();

private:
    // A jump too long to scroll: the client area is repainted, or, for the selection scrolls, the
    // text area at once.
    void RepaintForJump(bool textAreaOnly);
    // The pixel move below a single pending edit; false when the window must be repainted instead.
    bool MoveLinesBelowEdit();

    CEditScrollView& m_view;
};
