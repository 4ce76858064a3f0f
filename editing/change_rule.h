// What a change of the edit control's text does to the status panel's
// line text, to the indentation and to the document. Platform-free.
#ifndef PENRIK_CHANGE_RULE_H
#define PENRIK_CHANGE_RULE_H

#include <stddef.h>

// Formats "Line Number  %u        " with lineIndex + 1 into buffer and
// returns the length written (trailing blanks included).
int LineIndicatorText(unsigned int lineIndex, char* buffer, size_t size);

// What the editor keeps between two changes of the text.
struct ChangeState {
    unsigned int lineShown;  // the line whose number the status panel shows
    bool skipIndent;         // the next change of line inserts no indentation
    bool modified;           // the document has unsaved changes
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
