// The observer interface of coloured buffers, and the update bracket with its observer list.
#pragma once

#include "framework/base/Array.h"

// Implemented by whoever wants to hear from a coloured buffer (the coloured document).
class CColorStringUpdate {
public:
    virtual ~CColorStringUpdate() = default;
    virtual void DoColorStringUpdate(int arg) = 0;
    CColorStringUpdate& operator=(const CColorStringUpdate&) { return *this; }

protected:
    CColorStringUpdate() = default;
    CColorStringUpdate(const CColorStringUpdate&) = default;
};

// Groups edits: Begin/End nest, and the lowest position reported while the bracket is open is kept
// for the close of the outermost one. Unbalanced use is not an error: an extra End drives the nesting
// below zero and the next Begin then starts a fresh bracket. Observers are kept in registration
// order, each once, and are not owned.
class CColorUpdateBracket {
public:
    CColorUpdateBracket() = default;
    CColorUpdateBracket(const CColorUpdateBracket&) = delete;
    CColorUpdateBracket& operator=(const CColorUpdateBracket&) = delete;

    // Opens a bracket over a text of length bytes.
    void Begin(int length);
    // Closes one level after a change at pos; true when the outermost bracket has just closed.
    bool End(int pos);
    int GetNesting() const { return m_nesting; }
    int GetLowest() const { return m_lowest; }

    // Adds target unless it is there already (or null); returns 1 when it is in the list afterwards.
    int AddTarget(CColorStringUpdate* target);
    int GetTargetCount() const { return m_targets.GetSize(); }
    // Calls every target in registration order with arg.
    void Notify(int arg) const;

private:
    int m_nesting = 0;
    int m_lowest = 0;
    CPtrArray m_targets;
};
