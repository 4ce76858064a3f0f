// The edit control and everything done to its text from the keyboard,
// the mouse and the Edit menu: the line indicator, indentation, word
// wrap, the editor font and the colours.
#ifndef PENRIK_EDITING_H
#define PENRIK_EDITING_H

#include <windows.h>

#include "editing/change_rule.h"

// The two styles of the edit control: lines as long as they are, or
// wrapped at the window's edge.
#define EDIT_STYLE_PLAIN                                                                          \
    (WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | \
     ES_MULTILINE)
#define EDIT_STYLE_WRAP (WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_NOHIDESEL | ES_AUTOVSCROLL | ES_MULTILINE)
static_assert(EDIT_STYLE_PLAIN == 0x503001C4L, "the plain edit style word");
static_assert(EDIT_STYLE_WRAP == 0x50200144L, "the word-wrap edit style word");

// Start-up, before the edit control exists.
void ResetEditing(void);
// Makes the edit control in the style the word-wrap setting asks for,
// into Penrik.hwndEdit. False when it could not be made.
bool CreateEditor(void);
// After the window is shown: the editor font and the colours.
void ApplyEditorLook(void);
void ReleaseEditorLook(void);
// The main window's client area is now width by height.
void FitEditor(int width, int height);

void EditCommand(int commandId);
void WordWrapCommand(void);
void SetFontCommand(void);
// The window's DPI changed: the editor font again, at the new one.
void ScaleEditor(void);
void SetColorCommand(void);

// A mouse message over the edit control: a right-button release cuts
// the selection or, with none, pastes; any message moves the indicator.
void CutOrPasteOnRightButton(UINT mouseMessage);
// The control's notifications (the main window's WM_COMMAND from it).
LRESULT EditNotification(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The control's colours (WM_CTLCOLOREDIT).
HBRUSH EditColors(HDC dc, HWND control);
// Draws the indicator's text into the status panel.
void PaintLineIndicator(HDC dc);

// The editor font's fields but its height, for the printer's font.
void CopyFontAttributes(LOGFONTA* record);

// For edits made without the control's own notifications: the state the
// change rule works on, and the control's new whole text together with
// the state that the edits leading to it left. False, with the text
// unchanged, when the control could not take it.
ChangeState CurrentChangeState(void);
bool SetEditedText(const wchar_t* text, const ChangeState& after);

// Puts the caret on line `line` at character `column` (both from 1; a
// column of 0 is the line's start), the last line for a line past it and
// the line's end for a column past it, and shows it. False when there was
// no memory to find it.
bool PlaceCaret(unsigned long line, unsigned long column);

// The edits made between these two are one step for Undo.
void BeginEditGroup(void);
void EndEditGroup(void);
// What the edit history holds, in bytes of text.
size_t UndoHistoryBytes(void);

#endif
