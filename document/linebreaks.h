// The line breaks of a file on disk and of the edit control, which ends
// lines only at CR LF. Platform-free.
#ifndef PENRIK_LINEBREAKS_H
#define PENRIK_LINEBREAKS_H

#include <stddef.h>

enum LineBreaks {
    BREAKS_AS_IS = 0,  // CR LF, none, or a mixture: the bytes go to the control unchanged
    BREAKS_LF = 1,     // at least one LF and no CR LF pair
    BREAKS_CR = 2,     // at least one CR and no LF
};

// The kind of `length` bytes of text.
LineBreaks ClassifyLineBreaks(const char* text, size_t length);

// The length of the text once each of its breaks of `kind` is CR LF.
size_t ControlLength(const char* text, size_t length, LineBreaks kind);

// Copies the text to `out` (room for ControlLength bytes) with each break
// of `kind` made CR LF; returns the length written.
size_t ToControlBreaks(const char* text, size_t length, LineBreaks kind, char* out);

// Turns each CR LF of the control's text back into the break of `kind`,
// in place; returns the new length. As-is text is left alone.
size_t FromControlBreaks(char* text, size_t length, LineBreaks kind);

#endif
