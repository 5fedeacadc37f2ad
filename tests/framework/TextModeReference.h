// The text-mode conversion written the obvious way over a whole file, and a reader that runs the
// real conversion piece by piece as CStdioFile does: tests and the loading fuzz target compare them.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "framework/base/TextMode.h"

// The data ends at the first 0x1A; every CR LF in what is left reads as LF.
inline std::string LiteralTextModeRead(const std::string& file) {
    std::string data = file.substr(0, file.find('\x1a')), text;
    for (size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') continue;
        text += data[i];
    }
    return text;
}

// The real decoder run as CStdioFile runs it over `file`: the input buffer is refilled with fill()
// bytes (at least one while the file has more) after what the decoder left unconsumed.
class TextModePieceReader {
public:
    TextModePieceReader(const std::string& file, std::function<size_t()> fill)
        : m_file(file), m_fill(std::move(fill)) {}

    // Up to count converted bytes; 0 once the data has ended.
    size_t Read(char* out, size_t count) {
        bool sourceEnded = false;
        size_t done = 0;
        while (done < count && !m_ended) {
            TextModeStep step = DecodeTextMode(m_input.data() + m_pos, m_input.size() - m_pos, sourceEnded,
                                               out + done, count - done);
            m_pos += step.consumed;
            done += step.produced;
            m_ended = step.ended;
            if (step.produced == 0 && !step.ended) {
                if (sourceEnded) break;
                size_t n = std::min(std::max<size_t>(m_fill(), 1), m_file.size() - m_fed);
                m_input = m_input.substr(m_pos) + m_file.substr(m_fed, n);
                m_pos = 0;
                m_fed += n;
                sourceEnded = n == 0;
            }
        }
        return done;
    }

private:
    const std::string& m_file;
    std::function<size_t()> m_fill;
    std::string m_input;
    size_t m_fed = 0, m_pos = 0;
    bool m_ended = false; // stays: after a 0x1A every read gives nothing
};

// Reads `file` through the piece reader until a read gives nothing, each read asking for ask() bytes.
inline std::string ReadTextModeInPieces(const std::string& file, const std::function<size_t()>& fill,
                                        const std::function<size_t()>& ask) {
    TextModePieceReader reader(file, fill);
    std::string text;
    for (;;) {
        std::string out(std::max<size_t>(ask(), 1), '\0');
        size_t n = reader.Read(&out[0], out.size());
        if (n == 0) return text;
        text.append(out, 0, n);
    }
}

// Writes `text` through the encoder in output pieces of `room()` bytes (at least 2, as CStdioFile's
// buffer always has room for a CR LF after a flush).
inline std::string WriteTextModeInPieces(const std::string& text, const std::function<size_t()>& room) {
    std::string file;
    size_t pos = 0;
    while (pos < text.size()) {
        std::string out(std::max<size_t>(room(), 2), '\0');
        size_t used = 0;
        size_t n = EncodeTextMode(text.data() + pos, text.size() - pos, &out[0], out.size(), used);
        file.append(out, 0, n);
        pos += used;
    }
    return file;
}
