// A text as a document holds it, for the model's tests: a real buffer, its undo history, and the
// model told of every change.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text/BlackString.h"
#include "undo/Undo.h"
#include "views/model/EditModel.h"

// The text as a document holds it: a buffer, its undo history, and the model told of every change.
class BufferText : public CEditText, public CUndo {
public:
    virtual ~BufferText() = default;
    explicit BufferText(const std::string& text) : CUndo(100000, 32768) {
        m_buffer.SetBufferSize(1 << 16);
        m_buffer.Reset();
        m_buffer.Insert(0, text.c_str());
    }
    void Attach(CEditModel& model) { m_model = &model; }
    std::string Bytes() const { return std::string(m_buffer.GetBuffer(), (size_t)Length() - 1); }

    int Length() const override { return m_buffer.GetLength(); }
    char ByteAt(int pos) const override { return pos >= 0 && pos < Length() ? m_buffer.GetAt(pos) : 0; }
    int LineCount() const override { return m_buffer.GetLineCount(); }
    int LineStart(int line) const override { return m_buffer.GetLineOffset(line); }
    int LineOfOffset(int pos) const override { return m_buffer.OffsetToLine(pos); }
    const CStringEx& Text() const override { return m_buffer; }
    int CaretColumn(int line, int column) const override {
        int pos = LineStart(line), count = 0;
        while (count < column) {
            int step = (ByteAt(pos) & 0x80) != 0 ? 2 : 1;
            count += step;
            pos += step;
        }
        return column < 1 ? 0 : count;
    }
    bool GbkCharacters() const override { return false; }
    bool LongLines() const override { return false; }

    bool InsertAt(int pos, const char* text) override { return Record(UNDO_INSERT, pos, 0, text); }
    bool DeleteAt(int pos, int count) override { return Record(UNDO_DELETE, pos, count, ""); }
    bool ReplaceAt(int pos, int count, const char* text) override {
        return Record(UNDO_REPLACE, pos, count, text);
    }

    // Made one after the other, each reading the bytes it removes from the text the ones before left.
    bool ChangeEach(const std::vector<CTextChange>& changes) override {
        auto* record = new CListUndoInfo(UNDO_REPLACE);
        for (const CTextChange& change : changes) {
            std::string removed(m_buffer.GetRange(change.pos, change.count), (size_t)change.count);
            record->Add(change.pos, removed.c_str(), change.text.c_str());
            Change(change.pos, change.count, change.text.c_str());
        }
        SetUndoInfo(record);
        return !changes.empty();
    }

    // The undo manager's replays.
    void Insert(int pos, const char* text) override { Change(pos, 0, text); }
    void Delete(int pos, int count) override { Change(pos, count, ""); }
    void ScrollToCurrent(int pos) override { m_model->SetSelection(pos, pos); }
    void Serialize(CArchive&) override {}
    void DeleteContents() override {}

private:
    bool Record(int kind, int pos, int count, const char* text) {
        int length = Length();
        count = std::clamp(count, 0, length - 1 - pos);
        if (pos < 0 || pos > length - 1 || (count == 0 && *text == 0)) return false;
        auto* record = new CUndoInfo;
        std::string removed(m_buffer.GetRange(pos, count), (size_t)count);
        if (kind == UNDO_INSERT)
            record->Add(kind, pos, text);
        else if (kind == UNDO_DELETE)
            record->Add(kind, pos, removed.c_str());
        else
            record->Add(kind, pos, removed.c_str(), text);
        SetUndoInfo(record);
        Change(pos, count, text);
        return true;
    }
    void Change(int pos, int count, const char* text) {
        if (count > 0) m_buffer.Delete(pos, count);
        if (*text != 0) m_buffer.Insert(pos, text);
        if (m_model != nullptr) m_model->TextChanged(pos, count, (int)std::strlen(text));
    }

    CBlackString m_buffer;
    CEditModel* m_model = nullptr;
};
