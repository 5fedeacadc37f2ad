// The plain buffer done the slow, literal way: one contiguous block whose tail moves on every edit
// and a line table rebuilt from the whole text after every multi-byte edit. The reference that the
// fast buffers are checked and measured against.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/base/Mbcs936.h"

class LiteralBuffer {
public:
    static const int kTab = 4;

    // The string.
    std::vector<char> block; // capacity bytes
    int length = 0;
    int capacity = 0;
    // The line table and figures.
    std::vector<int> table = std::vector<int>(1, 0);
    int widest = 0, height = 0, average = 0, searchLines = 0, lineCount = 1;
    int builtLength = 0; // the text length at the last rebuild

    const char* Text() const { return block.data(); }

    void SetBufferSize(int size) {
        std::vector<char> fresh((size_t)size, 0);
        if (length == 0)
            length = 1;
        else
            std::memcpy(fresh.data(), block.data(), (size_t)length);
        block.swap(fresh);
        capacity = size;
    }

    // Extended string edits (no line work).
    bool StrInsert(int pos, const char* s) {
        int n = (int)std::strlen(s);
        if (n == 0) return true;
        if (pos < 0 || pos > length) return false;
        std::string copy(s, (size_t)n); // s may point into the block
        int old = length;
        length = old + n;
        if (length >= capacity) {
            capacity += (n / 65536 + 1) * 65536;
            block.resize((size_t)capacity, 0);
        }
        if (pos < old) std::memmove(block.data() + pos + n, block.data() + pos, (size_t)(old - pos));
        std::memcpy(block.data() + pos, copy.data(), (size_t)n);
        return true;
    }
    void StrDelete(int pos, int count) {
        if (pos >= length || pos < 0) return;
        if (count < 0 || count > length - pos) count = length - pos;
        std::memmove(block.data() + pos, block.data() + pos + count, (size_t)(length - pos - count));
        length -= count;
    }
    bool StrReplace(int pos, int count, const char* s) {
        if (pos < 0 || pos > length) return false;
        std::string copy(s);
        StrDelete(pos, count);
        return StrInsert(pos, copy.c_str());
    }
    int Find(const char* s, int start) const {
        const char* hit = cp936::mbsstr(Text() + start, s);
        return hit ? (int)(hit - Text()) : -1;
    }
    // Each hit searched for in the text as it was before the replacements, after the last hit.
    int FindReplace(const char* find, const char* repl, int all, bool noCase = false) {
        int lf = (int)std::strlen(find), lr = (int)std::strlen(repl);
        if (lf == 0) return 0;
        std::string copy(Text()), key(find);
        if (noCase) {
            cp936::mbslwr(&copy[0]);
            cp936::mbslwr(&key[0]);
        }
        int count = 0, shift = 0;
        for (const char* q = cp936::mbsstr(copy.c_str(), key.c_str()); q != nullptr;
             q = cp936::mbsstr(q + lf, key.c_str())) {
            StrReplace((int)(q - copy.c_str()) + shift, lf, repl);
            shift += lr - lf;
            ++count;
            if (!all) break;
        }
        return count;
    }
    int FindReplaceNoCase(const char* find, const char* repl, int all) {
        return FindReplace(find, repl, all, true);
    }

    // The line table.
    void Reset() {
        table.assign(1, 0);
        widest = 0;
        int w = 0, n = 0;
        for (int i = 0; i < length; ++i) {
            char c = block[(size_t)i];
            if (c == '\n') {
                table.push_back(i + 1);
                ++n;
                widest = std::max(widest, w);
                w = 0;
            } else {
                w += c == '\t' ? kTab : 1;
            }
        }
        int lines = n + 1;
        average = length / lines;
        lineCount = height = searchLines = lines;
        builtLength = length;
    }
    int Entry(int k) const { return (k >= 0 && k < (int)table.size()) ? table[(size_t)k] : 0; }
    int OffsetToLine(int pos) const {
        if (pos < 1) return 0;
        int n = searchLines;
        int g = pos / (average > 0 ? average : 1);
        if (g >= n) g = n - 1;
        if (n < 1) return n - 1;
        if (pos < Entry(g)) {
            for (int k = g - 1; k >= 0; --k)
                if (Entry(k) <= pos && pos < Entry(k + 1)) return k;
            return n - 1;
        }
        for (int k = g + 1; k <= n - 1; ++k)
            if (Entry(k - 1) <= pos && pos < Entry(k)) return k - 1;
        return n - 1;
    }
    int LineSize(int line) const {
        return line < lineCount - 1 ? Entry(line + 1) - Entry(line) : length - Entry(line);
    }
    int LineEndOffset(int line) const { return line < lineCount - 1 ? Entry(line + 1) - 1 : length; }
    int LineWidth(int line) const {
        int s = LineSize(line), start = Entry(line), tabs = 0;
        for (int i = start; i < start + s - 1; ++i) tabs += block[(size_t)i] == '\t';
        return (s - 1) + (kTab - 1) * tabs;
    }
    std::string Line(int line) const {
        if (line < 0 || line >= lineCount) return std::string();
        int start = Entry(line);
        int count = line < lineCount - 1 ? Entry(line + 1) - start - 1 : length - start;
        if (start < 0 || start > length) return std::string();
        count = std::max(0, std::min(count, length - start));
        std::string s(Text() + start, (size_t)count);
        return s.substr(0, s.find('\0'));
    }
    void MoveLineOffset(int line, int delta) {
        for (int k = std::max(line, 0); k < lineCount && k < (int)table.size(); ++k)
            table[(size_t)k] += delta;
    }
    void RecalcLine(int pos) {
        int line = OffsetToLine(pos);
        if (pos < length) {
            for (int i = pos; i < length; ++i) {
                if (block[(size_t)i] != '\n') continue;
                ++line;
                if (line < (int)table.size())
                    table[(size_t)line] = i + 1;
                else
                    table.push_back(i + 1);
            }
        }
        lineCount = height = line + 1;
    }

    // The plain buffer's edits.
    void Insert(int pos, const char* s) {
        StrInsert(pos, s);
        Reset();
    }
    void Insert(int pos, char c) {
        int line = OffsetToLine(pos);
        char one[2] = {c, 0};
        if (c == 0 || !StrInsert(pos, one)) return;
        MoveLineOffset(line + 1, 1);
        widest = std::max(widest, LineWidth(line));
    }
    void Return(int pos) { Insert(pos, "\n"); }
    void Delete(int pos, int count) {
        StrDelete(pos, count);
        Reset();
    }
    void Replace(int pos, int count, const char* s) {
        StrReplace(pos, count, s);
        Reset();
    }
};
