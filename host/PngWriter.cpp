// Minimal PNG encoder: signature, IHDR, one IDAT of stored deflate blocks, IEND.
#include "host/PngWriter.h"

#include <cstdio>

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
    PutBigEndian(out, uint32_t(body.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(out.data() + typeAt, body.size() + 4));
}

// A zlib stream of stored (uncompressed) deflate blocks of at most 65535 bytes each.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t length = raw.size() - at < 65535 ? raw.size() - at : 65535;
        bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(uint8_t(length));
        out.push_back(uint8_t(length >> 8));
        out.push_back(uint8_t(~length));
        out.push_back(uint8_t(~length >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + length);
        at += length;
    } while (at < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const uint8_t* bgra) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (size_t(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter type None
        const uint8_t* row = bgra + size_t(y) * size_t(width) * 4;
        for (int x = 0; x < width; ++x) {
            raw.push_back(row[x * 4 + 2]);
            raw.push_back(row[x * 4 + 1]);
            raw.push_back(row[x * 4 + 0]);
        }
    }
    std::vector<uint8_t> header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no filter set, no interlace
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

bool WritePng(const std::string& path, int width, int height, const uint8_t* bgra) {
    std::vector<uint8_t> png = EncodePng(width, height, bgra);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool complete = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && complete;
}
