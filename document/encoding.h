// The encodings of a document's file, and the conversions between its
// bytes and the control's UTF-16 text that need no code page.
// Platform-free.
#ifndef PENRIK_ENCODING_H
#define PENRIK_ENCODING_H

#include <stddef.h>

enum TextEncoding {
    ENCODING_ANSI = 0,       // the system's code page, converted by the platform
    ENCODING_UTF8 = 1,       // UTF-8 without a mark
    ENCODING_UTF8_MARK = 2,  // UTF-8 after EF BB BF
    ENCODING_UTF16LE = 3,    // UTF-16 little-endian after FF FE
    ENCODING_UTF16BE = 4,    // UTF-16 big-endian after FE FF
};

// What a file's bytes are: a mark gives its encoding (a UTF-16 body of an
// odd length is none); bytes that are valid UTF-8 and hold at least one
// multi-byte sequence are UTF-8; anything else is ANSI.
TextEncoding ClassifyEncoding(const unsigned char* bytes, size_t length);

// The bytes of the encoding's mark (none for ANSI and plain UTF-8).
size_t MarkLength(TextEncoding encoding);

// Decodes the `length` bytes after the mark (UTF-8 or UTF-16) into `out`,
// which has room for `length` units; returns the units written. Bytes
// that are not UTF-8 after all become U+FFFD each.
size_t Decode(TextEncoding encoding, const unsigned char* body, size_t length, char16_t* out);

// Room enough for `length` units encoded, the mark included.
inline size_t MaxEncodedLength(size_t length) { return 3 * length + 3; }

// Encodes the text (UTF-8 or UTF-16), mark included, into `out`; returns
// the bytes written. A lone surrogate, which UTF-8 cannot hold, is
// written as U+FFFD.
size_t Encode(TextEncoding encoding, const char16_t* text, size_t length, unsigned char* out);

#endif
