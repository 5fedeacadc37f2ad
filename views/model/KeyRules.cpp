// The editor's keyboard rules: caret moves, Shift selection, insert and overwrite typing, Enter, Tab,
// Backspace, Delete and input-method characters, each made through the text's recorded changes.
#include <algorithm>

#include "framework/base/ByteClass.h"
#include "text/CharBoundaries.h"
#include "text/LineTable.h"
#include "views/model/KeyRules.h"

namespace {
bool IsWordStop(char c) {
    return c == ' ' || c == '\n';
}
} // namespace

CKeyEnding CKeyRules::Key(EditKey key, bool control, bool shift, int pageRows) {
    CKeyEnding ending;
    switch (key) {
    case EditKey::kBack:
        ending = Backspace(control);
        break;
    case EditKey::kDelete:
        ending = DeleteKey(control);
        break;
    case EditKey::kTab:
        ending = TabKey(shift);
        break;
    case EditKey::kReturn:
        ending = EnterKey();
        break;
    case EditKey::kShift:
        if (m_sel.IsEmpty()) m_sel.anchor = m_sel.caret;
        break;
    case EditKey::kInsert:
        m_bOverwrite = !m_bOverwrite;
        break;
    case EditKey::kPageUp:
    case EditKey::kPageDown:
        ending = PageKey(key == EditKey::kPageDown, shift, pageRows);
        break;
    case EditKey::kHome:
    case EditKey::kEnd:
        ending = LineEndKey(key == EditKey::kEnd, control, shift);
        break;
    case EditKey::kLeft:
    case EditKey::kRight:
        ending = SideKey(key == EditKey::kRight, shift);
        break;
    case EditKey::kUp:
    case EditKey::kDown:
        ending = VerticalKey(key == EditKey::kDown, shift);
        break;
    case EditKey::kOther:
        break;
    }
    if (ending.Common()) m_nSearchOrigin = m_sel.caret;
    if (ending.kind == CKeyEnding::kMove || ending.kind == CKeyEnding::kPage) m_model.EndTyping();
    return ending;
}

int CKeyRules::VerticalTarget(int line) const {
    int start = m_text->LineStart(line), length = m_model.LineLength(line);
    if (m_nRememberedColumn >= length - 1) return start + length - 1;
    return start + m_text->CaretColumn(line, m_nRememberedColumn);
}

int CKeyRules::CharWidthBefore(int pos) const {
    if (m_model.GbkCharacters()) return pos - m_model.CharStartAt(pos - 1);
    return byteclass::IsHalfOfPair((unsigned char)m_text->ByteAt(pos - 1)) ? 2 : 1;
}

int CKeyRules::CharWidthAt(int pos) const {
    if (m_model.GbkCharacters()) return gbk::CharLength(m_text->Text(), pos);
    return byteclass::IsHalfOfPair((unsigned char)m_text->ByteAt(pos)) ? 2 : 1;
}

CKeyEnding CKeyRules::MoveOver(int selStartLine, int selEndLine) const {
    CKeyEnding ending;
    ending.kind = CKeyEnding::kMove;
    ending.first = std::min({m_model.CaretLine(), selStartLine, selEndLine});
    ending.last = std::max({m_model.CaretLine(), selStartLine, selEndLine});
    return ending;
}

CKeyEnding CKeyRules::SideKey(bool right, bool shift) {
    int length = m_text->Length();
    if (right ? m_sel.caret >= length - 1 : m_sel.caret <= 0) return {};
    int selStartLine = m_model.LineOf(m_sel.start), selEndLine = m_model.LineOf(m_sel.end);
    int step = right ? CharWidthAt(m_sel.caret) : -CharWidthBefore(m_sel.caret);
    int target = std::clamp(m_sel.caret + step, 0, length - 1);
    if (shift) {
        m_sel.caret = target;
        m_sel.FromAnchor();
    } else {
        m_sel.caret = !m_sel.IsEmpty() ? (right ? m_sel.end : m_sel.start) : target;
        m_sel.Collapse();
    }
    m_model.RememberColumn();
    if (!shift) return MoveOver(selStartLine, selEndLine);
    int line = m_model.CaretLine();
    CKeyEnding ending;
    ending.kind = CKeyEnding::kMove;
    ending.first = right ? std::max(line - 1, 0) : line;
    ending.last = line;
    return ending;
}

CKeyEnding CKeyRules::VerticalKey(bool down, bool shift) {
    int line = m_model.CaretLine(), last = m_text->LineCount() - 1;
    if (down ? line >= last : line <= 0) return {};
    int selStartLine = m_model.LineOf(m_sel.start), selEndLine = m_model.LineOf(m_sel.end);
    int target = VerticalTarget(down ? line + 1 : line - 1);
    if (shift) {
        m_sel.caret = target;
        m_sel.FromAnchor();
        return MoveOver(line, line);
    }
    m_sel.caret = !m_sel.IsEmpty() ? (down ? m_sel.end : m_sel.start) : target;
    m_sel.Collapse();
    return MoveOver(std::min({line, selStartLine, selEndLine}), std::max({line, selStartLine, selEndLine}));
}

CKeyEnding CKeyRules::LineEndKey(bool end, bool control, bool shift) {
    int selStartLine = m_model.LineOf(m_sel.start), selEndLine = m_model.LineOf(m_sel.end);
    int line = m_model.CaretLine(), start = m_text->LineStart(line);
    if (control) {
        m_sel.caret = end ? m_text->Length() - 1 : 0;
        if (end) m_nRememberedColumn = m_model.LineLength(m_text->LineCount() - 1) - 1;
    } else {
        m_sel.caret = end ? start + m_model.LineLength(line) - 1 : start;
        m_model.RememberColumn();
    }
    if (shift)
        m_sel.FromAnchor();
    else
        m_sel.Collapse();
    if (!shift) return MoveOver(selStartLine, selEndLine);
    CKeyEnding ending = MoveOver(m_model.CaretLine(), m_model.CaretLine());
    ending.wholeWindow = control;
    return ending;
}

CKeyEnding CKeyRules::PageKey(bool down, bool shift, int pageRows) {
    int line = m_model.CaretLine(), last = m_text->LineCount() - 1;
    if (down ? line >= last : line <= 0) return {};
    m_sel.caret = VerticalTarget(down ? std::min(line + pageRows, last) : std::max(line - pageRows, 0));
    if (shift)
        m_sel.FromAnchor();
    else
        m_sel.Collapse();
    CKeyEnding ending;
    ending.kind = CKeyEnding::kPage;
    ending.shift = shift;
    return ending;
}

bool CKeyRules::PageCaret(bool down, int pageRows) {
    int line = m_model.CaretLine(), last = m_text->LineCount() - 1;
    if (down ? line >= last : line <= 0) return false;
    m_model.EndTyping();
    m_sel.CollapseAt(VerticalTarget(down ? std::min(line + pageRows, last) : std::max(line - pageRows, 0)));
    return true;
}

// Overwriting, Tab moves the caret to the next tab stop, behind a character it would split.
CKeyEnding CKeyRules::TabKey(bool shift) {
    int line = m_model.CaretLine(), start = m_text->LineStart(line);
    CKeyEnding ending;
    if (!m_bOverwrite) {
        InsertLineByte('\t', shift);
        m_model.RememberColumn();
        ending.kind = CKeyEnding::kEdit;
        return ending;
    }
    int width = 0, tab = GetTabSize();
    for (int p = start; p < m_sel.caret; ++p) width += m_text->ByteAt(p) == '\t' ? tab : 1;
    int target = start + (width / tab + 1) * tab, high = 0;
    for (int p = start; p < target; ++p)
        high += byteclass::IsHalfOfPair((unsigned char)m_text->ByteAt(p)) ? 1 : 0;
    if (high % 2 == 1) ++target;
    // The stop may lie past the line's end; the caret still stays inside the text.
    m_sel.CollapseAt(std::min(target, m_text->Length() - 1));
    m_model.RememberColumn();
    return MoveOver(line, line);
}

// Overwriting, Enter moves to the next line's start.
CKeyEnding CKeyRules::EnterKey() {
    int line = m_model.CaretLine();
    CKeyEnding ending;
    if (m_bOverwrite) {
        if (line >= m_text->LineCount() - 1) return ending;
        m_sel.CollapseAt(m_text->LineStart(line + 1));
        m_model.RememberColumn();
        ending.kind = CKeyEnding::kMove;
        ending.first = line;
        ending.last = line + 1;
        return ending;
    }
    InsertLineByte('\n', false);
    m_model.RememberColumn();
    ending.kind = CKeyEnding::kEdit;
    return ending;
}

// Tab and Enter insert at the caret and leave a selection where it was (following the text); an
// empty one stays empty at the caret. With growSelection the selection's end takes in the byte.
void CKeyRules::InsertLineByte(char c, bool growSelection) {
    const char text[2] = {c, 0};
    bool wasEmpty = m_sel.IsEmpty();
    int caret = m_sel.caret, end = m_sel.end;
    if (!m_text->TypeAt(caret, 0, text)) return;
    m_sel.caret = caret + 1;
    if (growSelection)
        m_sel.end = std::max(end + 1, m_sel.start);
    else if (wasEmpty)
        m_sel.Collapse();
}

CKeyEnding CKeyRules::DeleteSelection(bool backspace) {
    int start = m_sel.start;
    m_text->DeleteAt(start, m_sel.end - start);
    m_sel.CollapseAt(start);
    CKeyEnding ending;
    ending.kind = CKeyEnding::kDeleteSelection;
    ending.backspace = backspace;
    return ending;
}

// Control deletes back to the start of a word (a run ending at a space or a line feed).
CKeyEnding CKeyRules::Backspace(bool control) {
    if (!m_sel.IsEmpty()) return DeleteSelection(true);
    int caret = m_sel.caret;
    if (caret <= 0) return {};
    char before = m_text->ByteAt(caret - 1);
    bool word = control && !IsWordStop(before), pair = !word && CharWidthBefore(caret) == 2 && caret >= 2;
    int start = caret - (pair ? 2 : 1);
    while (word && start > 0 && !IsWordStop(m_text->ByteAt(start - 1))) --start;
    m_text->DeleteAt(start, caret - start);
    m_sel.CollapseAt(start);
    CKeyEnding ending;
    if (!word && !pair && before != '\n') {
        ending.kind = CKeyEnding::kShortDeletion;
        return ending;
    }
    m_model.RememberColumn();
    ending.kind = CKeyEnding::kEdit;
    return ending;
}

CKeyEnding CKeyRules::DeleteKey(bool control) {
    if (!m_sel.IsEmpty()) return DeleteSelection(false);
    int caret = m_sel.caret, length = m_text->Length();
    if (caret < 0 || caret + 1 >= length) return {};
    char at = m_text->ByteAt(caret);
    bool word = control && !IsWordStop(at), pair = !word && CharWidthAt(caret) == 2 && caret + 2 < length;
    int end = caret + (pair ? 2 : 1);
    while (word && end < length - 1 && !IsWordStop(m_text->ByteAt(end))) ++end;
    m_text->DeleteAt(caret, end - caret);
    m_sel.CollapseAt(caret);
    CKeyEnding ending;
    ending.kind = !word && !pair && at != '\n' ? CKeyEnding::kShortDeletion : CKeyEnding::kEdit;
    return ending;
}

TypeResult CKeyRules::Type(unsigned char c) {
    const char typed[2] = {(char)c, 0};
    int caret = m_sel.caret, start = m_sel.start;
    // Overwriting needs a byte at the caret that is neither a line feed nor the terminator.
    bool overwrites = m_bOverwrite && caret < m_text->Length() - 1 && m_text->ByteAt(caret) != '\n';
    TypeResult result = TypeResult::kInserted;
    if (overwrites || (!m_bOverwrite && !m_sel.IsEmpty())) {
        // Overwriting takes the width of the character at the caret, whatever stands at the start.
        int count = overwrites ? CharWidthAt(caret) : m_sel.end - start;
        if (!m_text->TypeAt(start, count, typed)) return TypeResult::kRefused;
        m_sel.CollapseAt(start + 1);
        result = TypeResult::kReplaced;
    } else {
        if (!m_text->TypeAt(caret, 0, typed)) return TypeResult::kRefused;
        m_sel.CollapseAt(caret + 1);
    }
    m_nSearchOrigin = m_sel.caret;
    return result;
}

// An input method's character replaces a selection or is inserted, overwriting or not.
TypeResult CKeyRules::TypePair(char lead, char trail) {
    const char pair[3] = {lead, trail, 0};
    int caret = m_sel.caret, start = m_sel.start;
    if (!m_sel.IsEmpty()) {
        if (!m_text->TypeAt(start, m_sel.end - start, pair)) return TypeResult::kRefused;
        m_sel.CollapseAt(start + 2);
        return TypeResult::kReplaced;
    }
    if (!m_text->TypeAt(caret, 0, pair)) return TypeResult::kRefused;
    m_sel.CollapseAt(caret + 2);
    return TypeResult::kInserted;
}

bool CKeyRules::ReplaceSelection(const char* text) {
    if (m_sel.IsEmpty() || text == nullptr) return false;
    int start = m_sel.start;
    m_text->ReplaceAt(start, m_sel.end - start, text);
    m_sel.CollapseAt(start);
    return true;
}

void CKeyRules::Paste(const char* text) {
    if (!ReplaceSelection(text)) m_text->InsertAt(m_sel.caret, text);
}
