// The messages between the editor's control and its parent beside the
// system's own.
#ifndef PENRIK_BASE_EDITOR_MESSAGES_H
#define PENRIK_BASE_EDITOR_MESSAGES_H

#include <windows.h>

// WM_SETTEXT gives the control a new text: nothing before it can be
// undone. This one replaces the whole text by lParam's (zero-terminated
// characters) as one edit that Undo takes back. It returns what
// WM_SETTEXT returns: false when the control could not take the text.
#define EM_SETTEXTASEDIT (WM_APP + 1)

// Sent by the control to its parent on a double-click, the caret at the
// place clicked: nonzero when the parent took it, and the control then
// selects no word.
#define WM_EDITORDOUBLECLICK (WM_APP + 2)

#endif
