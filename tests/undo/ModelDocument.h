// A document for the undo tests: its text is a std::string, its caret the last ScrollToCurrent.
#pragma once

#include "undo/Undo.h"

#include <gtest/gtest.h>

#include <string>

// Refuses positions outside the text, reporting them as test failures, so a wrong replay shows up
// without corrupting memory.
class ModelDocument : public CUndo {
public:
    explicit ModelDocument(long depth = 25) : CUndo(depth, 65536) {}
    virtual ~ModelDocument() = default;

    void Serialize(CArchive&) override {}
    void DeleteContents() override { text.clear(); }
    void Insert(int pos, const char* inserted) override {
        if (pos < 0 || pos > (int)text.size()) return (void)(ADD_FAILURE() << "Insert at " << pos);
        text.insert((size_t)pos, inserted);
    }
    void Delete(int pos, int count) override {
        if (pos < 0 || count < 0 || count > (int)text.size() - pos)
            return (void)(ADD_FAILURE() << "Delete " << count << " at " << pos);
        text.erase((size_t)pos, (size_t)count);
    }
    void ScrollToCurrent(int pos) override {
        caret = pos;
        ++scrolls;
    }

    std::string text;
    int caret = -1;
    int scrolls = 0;
};
