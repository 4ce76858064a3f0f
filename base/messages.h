// The program's message boxes: every text and caption comes from the
// string table (the IDS_ identifiers of resources/resource.h).
#ifndef PENRIK_BASE_MESSAGES_H
#define PENRIK_BASE_MESSAGES_H

#include <windows.h>

// Room for the longest text with its names (a 255-character file name,
// a settings or backup path of MAX_PATH, dates): never cut.
#define MESSAGE_TEXT_SIZE 1024

// Text `id` of the string table, formatted with the arguments that
// follow (wide strings for its %ls), into `text` of `size` characters.
// Returns the length, or -1 when it was cut (or the table lacks it).
int MessageText(wchar_t* text, int size, UINT id, ...);

// A message box over `owner`: text `textId`, formatted with the
// arguments that follow, under caption `captionId` (0: none).
// Returns the box's answer, 0 when it could not be shown.
int ShowMessage(HWND owner, UINT textId, UINT captionId, UINT type, ...);

#endif
