// CEditViewLink: the calls a document makes on its editor view, which the views implement.
#pragma once

// The documents sit below the views, so they reach a view through this interface: they find the
// view by run-time class name and cast it to the link. A view that does not implement the link is
// treated as no view at all.
class CEditViewLink {
public:
    // Selects the bytes between a and b (either order) and puts the caret at b.
    virtual void SetSelection(int a, int b) = 0;
    // Puts the caret at pos (0 < pos < length; other values are ignored) and scrolls it into view.
    virtual void SetCurrentPosition(int pos) = 0;
    // Asks the next paint to recolour the visible window (no effect in the plain view).
    virtual void UpdateColors() = 0;
    virtual void SetRenderFlag(int flag) = 0;

protected:
    ~CEditViewLink() = default;
};
