// Recognising the encodings of text files: the Unicode signatures at a file's start, and whether bytes
// are well-formed UTF-8, checked piece by piece so a file is never held whole for it. Portable, so
// that it is tested natively.
#pragma once

#include <cstddef>

// The encodings a text file is read in. Gbk stands for every file read byte for byte.
enum TextEncoding { kEncodingGbk, kEncodingUtf8, kEncodingUtf8Bom, kEncodingUtf16Le, kEncodingUtf16Be };

// The encoding a file's first bytes announce (Gbk when they hold no signature) and, through
// signatureSize, how many bytes that signature takes. UTF-8 without a signature is not told here.
TextEncoding EncodingOfSignature(const unsigned char* bytes, size_t count, size_t& signatureSize);
// The signature bytes written at the start of a file of the encoding (none for Gbk and UTF-8).
size_t SignatureOf(TextEncoding encoding, const unsigned char*& bytes);

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF), fed in pieces that may
// split a sequence anywhere. Once a piece is found bad, the check stays bad.
class CUtf8Check {
public:
    // False once the bytes so far cannot be the start of well-formed UTF-8.
    bool Feed(const unsigned char* bytes, size_t count);
    // Whether everything fed is well-formed and complete (no sequence cut at the end).
    bool Finish() const { return m_valid && m_pending == 0; }
    // Whether any sequence of two or more bytes was seen.
    bool SawMultiByte() const { return m_multiByte; }

private:
    bool m_valid = true;
    bool m_multiByte = false;
    int m_pending = 0;          // continuation bytes still expected
    unsigned char m_low = 0x80; // the range the next continuation byte must fall in
    unsigned char m_high = 0xBF;
};

// The bytes to keep back at the end of a piece of UTF-8 so that the piece ends between characters
// (0 to 3): the start of a sequence the piece does not hold whole.
size_t Utf8CutBack(const unsigned char* bytes, size_t count);
