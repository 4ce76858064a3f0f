// Undo and Redo: what the edit control's messages do to its text, kept as
// one history of edits. Inside editing/ only.
#ifndef PENRIK_EDITING_UNDO_H
#define PENRIK_EDITING_UNDO_H

#include <windows.h>

#include "editing/history.h"

// Start-up: an empty history.
void ResetUndo(void);
// A new control: its messages go through the editor's procedure first.
void RecordEdits(HWND edit);
// The Edit class's own procedure, which the editor's passes messages
// on to, and its handling of a message.
void KeepControlProc(WNDPROC own);
LRESULT CallControl(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);
// The control is about to be made again with the same text: the history
// stays if the text it is given next is the text it holds now.
void KeepHistoryThroughReload(void);

void UndoCommand(void);
void RedoCommand(void);
bool CanUndo(void);
bool CanRedo(void);

// Hands the message to the control as one edit of `kind`. The characters
// [windowStart, windowEnd) are read first, since it may remove any of
// them; `expected`, when given, is what it inserts.
LRESULT RecordedEdit(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, EditKind kind, DWORD windowStart,
                     DWORD windowEnd, const wchar_t* expected);
// The caret moved or a command ran: the next edit starts a new step
// (unless it comes inside an edit under way).
void EndEditRun(void);
// The edits between these two are one step of `kind`.
void BeginGroup(HWND edit);
void EndGroup(HWND edit, EditKind kind);
// Replaces the whole text by `text` as one edit; false when the control
// could not take it.
bool ReplaceTextAsEdit(const wchar_t* text);
// WM_SETTEXT: a new text, and a new history, unless it is the text a
// reload was to bring back.
LRESULT NewText(HWND edit, WPARAM wParam, LPARAM lParam);
// A text the control was handed some other way: nothing can be undone.
void ForgetHistory(void);

#endif
