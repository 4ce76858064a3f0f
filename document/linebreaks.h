// The line breaks of a file's text and of the edit control, which ends
// lines only at CR LF. Platform-free; for the bytes of a file and for the
// control's characters alike (char and wchar_t).
#ifndef PENRIK_LINEBREAKS_H
#define PENRIK_LINEBREAKS_H

#include <stddef.h>

enum LineBreaks {
    BREAKS_AS_IS = 0,  // CR LF, none, or a mixture: the text goes to the control unchanged
    BREAKS_LF = 1,     // at least one LF and no CR LF pair
    BREAKS_CR = 2,     // at least one CR and no LF
};

// The kind of `length` characters of text.
template <typename Char> LineBreaks ClassifyLineBreaks(const Char* text, size_t length);

// The length of the text once each of its breaks of `kind` is CR LF.
template <typename Char> size_t ControlLength(const Char* text, size_t length, LineBreaks kind);

// Copies the text to `out` (room for ControlLength characters) with each
// break of `kind` made CR LF; returns the length written.
template <typename Char> size_t ToControlBreaks(const Char* text, size_t length, LineBreaks kind, Char* out);

// Turns each CR LF of the control's text back into the break of `kind`,
// in place; returns the new length. As-is text is left alone.
template <typename Char> size_t FromControlBreaks(Char* text, size_t length, LineBreaks kind);

#endif
