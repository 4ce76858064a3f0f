// The file a recovery copy is: a signature line, "key=value" lines, a
// blank line, then the control's text as UTF-16 little-endian. The name
// is kept in UTF-8, so that any name survives whatever the code page.
// Platform-free.
#ifndef PENRIK_COPYFORMAT_H
#define PENRIK_COPYFORMAT_H

#include <stddef.h>
#include <stdint.h>

#include "document/encoding.h"
#include "document/linebreaks.h"

#define COPY_NAME_UNITS  260                       // a name's UTF-16 units, the terminating zero included
#define COPY_NAME_BYTES  (3 * COPY_NAME_UNITS)     // its UTF-8, at most 3 bytes a unit
#define COPY_HEADER_SIZE (COPY_NAME_BYTES + 192)   // the lines before the text, at most

// What a copy's first lines say about it.
struct CopyHeader {
    char16_t name[COPY_NAME_UNITS];
    // An older editor kept the name in the code page, under `name=`:
    // then `name` is empty and these are its bytes.
    char codePageName[COPY_NAME_BYTES];
    LineBreaks breaks;
    TextEncoding encoding;
    bool textInCodePage;  // an older editor's copy, whose text is the code page's bytes
    uint64_t time;        // UTC, in FILETIME units
    uint32_t headerLength;  // where the text starts
    uint32_t length;        // of the text, in bytes
};

// The lines before a copy's text, into `out` (COPY_HEADER_SIZE bytes);
// returns their length, or 0 for a name that does not fit.
size_t FormatCopyHeader(const char16_t* name, LineBreaks breaks, TextEncoding encoding, uint64_t time,
                        uint32_t length, char* out);

// Reads the first `count` bytes of a copy of `fileSize` bytes; false
// unless its lines are whole and the text after them is as long as they say.
bool ParseCopyHeader(const char* bytes, size_t count, uint64_t fileSize, CopyHeader* header);

// A name's UTF-8 into `size` bytes. A lone surrogate, which a file name
// may hold and UTF-8 may not, takes the same three-byte form as any
// other unit, so that the name comes back as it was. False when `size`
// bytes are too few.
bool NameToUtf8(const char16_t* name, char* out, size_t size);
// The name back from its UTF-8 into `units` units; false for bytes that
// are no such name or a name that does not fit.
bool NameFromUtf8(const char* bytes, char16_t* name, size_t units);

#endif
