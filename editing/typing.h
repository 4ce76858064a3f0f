// What typing does beside the control's own work. Inside editing/ only.
#ifndef PENRIK_EDITING_TYPING_H
#define PENRIK_EDITING_TYPING_H

// Start-up: line 1 shown, no skip asked for.
void ResetTyping(void);
// The indicator shows the caret's line, or line `line` (from 0).
void ShowCaretLine(void);
void ShowLineNumber(unsigned int line);
// How many times the control has said its text changed.
unsigned long TextChanges(void);
// Whether the next change of line is to skip its indentation; returns
// what was asked before.
bool AskSkipIndent(bool skip);

#endif
