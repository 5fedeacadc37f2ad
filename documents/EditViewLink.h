// CEditViewLink: the calls a document makes on its editor view, which the views implement.
#pragma once

// The documents sit below the views, so they reach a view through this interface: every view of a
// document that implements it is an editor view. A view that does not is treated as no view at all.
class CEditViewLink {
public:
    // Selects the bytes between a and b (either order) and puts the caret at b.
    virtual void SetSelection(int a, int b) = 0;
    // Puts the caret at pos (0 < pos < length; other values are ignored) and scrolls it into view.
    virtual void SetCurrentPosition(int pos) = 0;
    // Asks the next paint to recolour the visible window (no effect in the plain view).
    virtual void UpdateColors() = 0;
    virtual void SetRenderFlag(int flag) = 0;
    // The text changed: removed bytes at pos were replaced by inserted bytes. The view re-lays out,
    // moves its positions behind the change with the text and asks for recolouring.
    // While the document's batch is open (CEditDocument::IsBatching) only the positions follow;
    // OnBatchEnd then re-lays out the view once for all the batch's changes.
    virtual void OnTextChanged(int pos, int removed, int inserted) = 0;
    virtual void OnBatchEnd() = 0;
    // Where the view stands: the caret's line, the caret's byte offset in that line and the first
    // visible line. SetPlace puts a view back after its text was replaced, each figure clamped to
    // the new text.
    struct CPlace {
        int caretLine = 0;
        int caretOffset = 0;
        int firstLine = 0;
    };
    virtual CPlace Place() const = 0;
    virtual void SetPlace(const CPlace& place) = 0;

protected:
    ~CEditViewLink() = default;
};
