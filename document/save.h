// Writing the document's bytes to its file.
#ifndef PENRIK_SAVE_H
#define PENRIK_SAVE_H

#include <windows.h>

// Writes `length` bytes of `text` as the whole of the file `target`, so
// that a failure at any point leaves the old file as it was, and a save
// that succeeds leaves it the same file: its links, its other names, its
// permissions. True when the file holds the text. On a failure
// `kept` (MAX_PATH characters) names a copy of the old contents when the file
// itself could not be given them back, and is empty otherwise.
bool SaveFileBytes(const wchar_t* target, const char* text, DWORD length, wchar_t* kept);

#endif
