// CMouseRules: the editor's mouse rules over an edit model: a press, a drag step, an auto-scroll step
// and a double click, each given the offset under the pointer.
#pragma once

#include "views/model/EditModel.h"

// Made on the spot over a model (it holds references only); the state lives in the model.
class CMouseRules {
public:
    explicit CMouseRules(CEditModel& model)
        : m_model(model), m_sel(model.m_sel), m_nSearchOrigin(model.m_nSearchOrigin),
          m_nLastClick(model.m_nLastClick), m_nLastDrag(model.m_nLastDrag) {}

    CPressResult Press(int pos);
    // The selection from the anchor to pos; false when pos is where the last drag step left it,
    // else first ... last are the lines to repaint.
    bool DragTo(int pos, int& first, int& last);
    // One auto-scroll step: the selection's nearer end goes to pos.
    void AutoScrollTo(int pos);
    // Selects the word at pos; false when the byte there is white space.
    bool DoubleClick(int pos);

private:
    CEditModel& m_model;
    CTextSelection& m_sel;
    int& m_nSearchOrigin;
    int& m_nLastClick;
    int& m_nLastDrag;
};
