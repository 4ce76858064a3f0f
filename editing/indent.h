// The status panel's line text and the indentation rule. Platform-free.
#ifndef PENRIK_INDENT_H
#define PENRIK_INDENT_H

#include <stddef.h>

// Formats "Line Number  %u        " with lineIndex + 1 into buffer and
// returns the length written (trailing blanks included).
int LineIndicatorText(unsigned int lineIndex, char* buffer, size_t size);

// Tabs for a new empty line after `line` (length characters, not
// terminated): its leading tabs, one more after "(", ")", ":" or "{",
// one fewer after "}".
unsigned int AutoIndentTabs(const char* line, size_t length);

#endif
