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

// The control said its text changed; false when no recorded edit was
// under way (the history then no longer matches and is dropped).
bool NoteTextChanged(void);
// Replaces the whole text by `text` as one edit; false when the control
// could not take it.
bool ReplaceTextAsEdit(const wchar_t* text);

#endif
