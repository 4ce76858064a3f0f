// The status panel's line text, the indentation rule and what a change
// of the edit control's text does. Platform-free.
#ifndef PENRIK_INDENT_H
#define PENRIK_INDENT_H

#include <stddef.h>

// Formats "Line Number  %u        " with lineIndex + 1 into buffer and
// returns the length written (trailing blanks included).
int LineIndicatorText(unsigned int lineIndex, char* buffer, size_t size);

// Tabs for a new empty line after `line` (length characters, not
// terminated): its leading tabs, one more after "(", ")", ":" or "{",
// one fewer after "}". For bytes and for the control's characters.
template <typename Char> unsigned int AutoIndentTabs(const Char* line, size_t length);

// What the editor keeps between two changes of the text.
struct ChangeState {
    unsigned int lineShown;  // the line whose number the status panel shows
    int skipIndent;          // the next change of line inserts no indentation
    int modified;            // the document's modified flag
};

enum ChangeAction {
    CHANGE_SAME_LINE,  // nothing more to do
    CHANGE_NEW_LINE,   // show the new line number
    CHANGE_INDENT,     // show it, and indent the caret line if it is empty
};

// The text changed with the caret on `caretLine`: the document is
// modified, and a caret on another line than the one shown moves the
// indicator and, unless a skip was asked for, asks for indentation.
ChangeAction ApplyChangeRule(ChangeState* state, unsigned int caretLine);

#endif
