// A document for the undo tests: its text is a std::string, its caret the last ScrollToCurrent.
#pragma once

#include "undo/Undo.h"

#include <gtest/gtest.h>

#include <string>

// Records every callback in a compact log ("D4,3 I4:ab S6") and refuses positions outside the
// text, reporting them as test failures, so a wrong replay shows up without corrupting memory.
class ModelDocument : public CUndo {
public:
    explicit ModelDocument(long depth = 25, long second = 65536) : CUndo(depth, second) {}
    virtual ~ModelDocument() = default;

    void Serialize(CArchive&) override {}
    void DeleteContents() override { text.clear(); }

    void Insert(int pos, const char* inserted) override {
        if (logging) log += "I" + std::to_string(pos) + ":" + inserted + " ";
        if (pos < 0 || pos > static_cast<int>(text.size())) {
            ADD_FAILURE() << "Insert at " << pos << " in a text of " << text.size();
            return;
        }
        text.insert(static_cast<size_t>(pos), inserted);
    }

    void Delete(int pos, int count) override {
        if (logging) log += "D" + std::to_string(pos) + "," + std::to_string(count) + " ";
        if (pos < 0 || count < 0 || count > static_cast<int>(text.size()) - pos) {
            ADD_FAILURE() << "Delete " << count << " at " << pos << " in a text of " << text.size();
            return;
        }
        text.erase(static_cast<size_t>(pos), static_cast<size_t>(count));
    }

    void ScrollToCurrent(int pos) override {
        if (logging) log += "S" + std::to_string(pos) + " ";
        caret = pos;
        ++scrolls;
    }

    // The log since the last call, without its trailing space.
    std::string TakeLog() {
        std::string out = log.empty() ? log : log.substr(0, log.size() - 1);
        log.clear();
        return out;
    }

    std::string text;
    int caret = -1;
    int scrolls = 0;
    bool logging = true;

private:
    std::string log;
};
