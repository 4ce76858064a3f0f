// The indentation of a freshly opened line. Platform-free.
#ifndef PENRIK_INDENT_H
#define PENRIK_INDENT_H

#include <stddef.h>

// Tabs for a new empty line after `line` (length characters, not
// terminated): its leading tabs, one more after "(", ")", ":" or "{",
// one fewer after "}". For bytes and for the control's characters.
template <typename Char> unsigned int AutoIndentTabs(const Char* line, size_t length);

#endif
