// The messages the editor's control takes beside the system's own. Every
// part of the program may send them to Penrik.hwndEdit.
#ifndef PENRIK_BASE_EDITOR_MESSAGES_H
#define PENRIK_BASE_EDITOR_MESSAGES_H

#include <windows.h>

// WM_SETTEXT gives the control a new text: nothing before it can be
// undone. This one replaces the whole text by lParam's (zero-terminated
// characters) as one edit that Undo takes back. It returns what
// WM_SETTEXT returns: false when the control could not take the text.
#define EM_SETTEXTASEDIT (WM_APP + 1)

#endif
