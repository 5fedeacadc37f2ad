// Fuzz target: loading a file as the documents do (text-mode conversion read in pieces, NULs,
// the block growing past 64 KiB, the plain buffer's line table built chunk by chunk) against the
// whole-file reading and a line table rebuilt from the loaded text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/framework/TextModeReference.h"
#include "text/BlackString.h"
#include "text/TextLoad.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}

class PieceSource : public CTextSource {
public:
    explicit PieceSource(TextModePieceReader& reader) : m_reader(reader) {}
    unsigned Read(char* buffer, unsigned count) override { return (unsigned)m_reader.Read(buffer, count); }
    bool Failed() const override { return false; }

private:
    TextModePieceReader& m_reader;
};

struct LineFigures {
    int count;
    CSize total;
    std::vector<int> starts;
    bool operator==(const LineFigures& other) const {
        return count == other.count && total == other.total && starts == other.starts;
    }
};

LineFigures FiguresOf(CBlackString& buffer) {
    LineFigures figures{buffer.GetLineCount(), buffer.GetTotalWidth(), {}};
    for (int k = 0; k < figures.count; ++k) figures.starts.push_back(buffer.GetLineOffset(k));
    return figures;
}
} // namespace

// Input: a flags byte (bit 0 keeps NULs as the coloured document's first read does; the rest is
// how many times the body repeats, up to 64, so small inputs reach the block's growth), a byte that
// seeds the refill sizes, a byte for the size the file claimed when opened, then the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    bool keepNul = data[0] & 1;
    int repeats = 1 + (data[0] >> 1) % 64;
    std::string body(reinterpret_cast<const char*>(data + 3), size - 3), file;
    for (int k = 0; k < repeats; ++k) file += body;
    unsigned state = data[1] * 2654435761u + 1;
    auto fill = [&] {
        state = state * 1103515245u + 12345u;
        return (size_t)(1 + (state >> 8) % (data[1] < 128 ? 7 : 70000));
    };
    TextModePieceReader reader(file, fill);
    PieceSource source(reader);

    CBlackString buffer;
    Check(buffer.SetBufferSize(TextBlockSizeFor(file.size() * (data[2] % 5) / 4)) != FALSE);
    long scan = 0;
    int column = 0;
    long total = LoadTextBlocks(buffer, source, keepNul, [&](long end) {
        if (!keepNul) buffer.CalcTextSize(scan, end, column);
    });

    std::string expected = LiteralTextModeRead(file);
    if (!keepNul)
        for (char& c : expected)
            if (c == 0) c = ' ';
    Check(total == (long)expected.size());
    Check(total < buffer.GetCapacity());
    Check(std::memcmp(buffer.GetBuffer(), expected.data(), expected.size()) == 0);
    if (keepNul) return 0;

    buffer.SetLength((int)total + 1);
    buffer.GetBuffer()[total] = 0;
    LineFigures loaded = FiguresOf(buffer);
    buffer.Reset();
    Check(loaded == FiguresOf(buffer));
    return 0;
}
