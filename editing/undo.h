// Undo and Redo: what the edit control's messages do to its text, kept as
// one history of edits. Inside editing/ only.
#ifndef PENRIK_EDITING_UNDO_H
#define PENRIK_EDITING_UNDO_H

#include <windows.h>

// Start-up: an empty history.
void ResetUndo(void);
// A new control: its edits go through the history.
void RecordEdits(HWND edit);
// The control is about to be made again with the same text: the history
// stays if the text it is given next is the text it holds now.
void KeepHistoryThroughReload(void);

void UndoCommand(void);
void RedoCommand(void);


#endif
