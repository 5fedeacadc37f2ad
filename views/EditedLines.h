// CEditedLines: the edits an editor view has heard of but not yet repainted for, and, for a single
// edit, where the unchanged lines below it went, so that they can be moved instead of drawn again.
#pragma once

#include "views/model/EditModel.h"

// first ... last are the lines that hold the last edit's text (numbered after it); the lines after
// last moved down by shift (up when negative); scrolledTo is the scroll position the edit found.
// Only a single edit, made outside a batch with the line count known before it, tells where the
// unchanged lines went.
class CEditedLines {
public:
    struct CEdit {
        int first = 0;
        int last = 0;
        int shift = 0;
        CFirstVisible scrolledTo;
    };

    // An edit of lines first ... last, after which the text has lines lines.
    void Note(int first, int last, int lines, bool batching, CFirstVisible scrolledTo) {
        ++m_nSerial;
        ++m_nEdits;
        m_bKnown = !batching && m_nKnownLines >= 0;
        m_edit = CEdit{first, last, lines - m_nKnownLines, scrolledTo};
        m_nKnownLines = batching ? -1 : lines;
    }
    // The whole text was replaced, or a batch ended: the window is repainted whole.
    void Reset(int lines, bool replaced) {
        if (replaced) ++m_nSerial;
        m_nEdits = 0;
        m_bKnown = false;
        m_nKnownLines = lines;
    }
    bool Pending() const { return m_nEdits != 0; }
    void Repainted() { m_nEdits = 0; }
    // The pending edit when it is a single one whose moved lines are known; null otherwise.
    const CEdit* Single() const { return m_nEdits == 1 && m_bKnown ? &m_edit : nullptr; }
    // Counts every change of the text the view heard of.
    unsigned Serial() const { return m_nSerial; }

private:
    CEdit m_edit;
    int m_nEdits = 0;
    bool m_bKnown = false;
    int m_nKnownLines = -1; // the line count the view last laid out for; -1 inside a batch
    unsigned m_nSerial = 0;
};
