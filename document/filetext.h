// A file's bytes as the edit control's text, and the control's text as
// the bytes of a file, in the document's encoding.
#ifndef PENRIK_FILETEXT_H
#define PENRIK_FILETEXT_H

#include <windows.h>

#include "document/encoding.h"
#include "document/linebreaks.h"

// What a file's bytes give the control.
struct ControlText {
    HLOCAL block;           // the characters, zero-terminated, lines in CR LF; the caller frees it
    size_t length;          // up to the first zero character
    TextEncoding encoding;  // what the bytes were, and a save writes again
    LineBreaks breaks;      // the breaks that a save gives back
    bool cutAtZero;         // the file goes on after a zero character
    bool notKept;           // the code page makes no character of some bytes: a save changes them
};

// False, holding nothing, when there is no memory for the text.
bool DecodeFileText(const char* bytes, size_t length, ControlText* text);

// The bytes of `length` characters of the control's text (breaks already
// the file's own) in `encoding`, mark included, in a block the caller
// frees. `lossy` says whether the code page had no byte for a character,
// which was then written as the code page's default character. False
// when there is no memory for them.
bool EncodeFileText(const wchar_t* text, size_t length, TextEncoding encoding, HLOCAL* block, size_t* bytes,
                    bool* lossy);

#endif
