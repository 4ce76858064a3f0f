// Reading the edit control's text. Inside editing/ only.
#ifndef PENRIK_EDITING_CONTROL_TEXT_H
#define PENRIK_EDITING_CONTROL_TEXT_H

#include <windows.h>

// The characters [from, to) of the control's text, zero-terminated, in
// local memory that FreeControlText frees; null when there is no room.
wchar_t* ReadControlText(HWND edit, DWORD from, DWORD to);
// The whole text, likewise; *length takes its length.
wchar_t* ReadAllControlText(HWND edit, DWORD* length);
void FreeControlText(wchar_t* text);

#endif
