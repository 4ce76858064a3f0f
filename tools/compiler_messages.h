// Where a line of a build's output points: the file, line and column of
// a compiler's message, and the line (and column) typed into a "go to"
// field. Platform-free.
#ifndef PENRIK_COMPILER_MESSAGES_H
#define PENRIK_COMPILER_MESSAGES_H

#include <stddef.h>

// Numbers stop here instead of wrapping: the largest an unsigned long
// holds on every system the program builds for.
const unsigned long MESSAGE_NUMBER_LIMIT = 0xFFFFFFFFul;

struct CompilerMessage {
    size_t fileStart, fileLength;  // where the file name lies within the line
    unsigned long line;            // as the tool wrote it, from 1 (a 0 stays 0)
    unsigned long column;          // from 1; 0 when the message names none
};

// True when the line (length characters, not terminated) is a compiler
// message; `message` is then filled, and otherwise left alone. After any
// leading blanks and an MSBuild project number ("12>"), the forms are
//   FILE:LINE: TEXT and FILE:LINE:COLUMN: TEXT        (gcc, clang)
//   FILE(LINE): TEXT and FILE(LINE,COLUMN) : TEXT     (Microsoft's tools)
//   In file included from FILE:LINE,  and  from FILE:LINE:   (gcc)
// where the closing colon ends the line or a blank follows it. FILE may
// hold blanks and colons (a drive letter); it ends at the first place
// where a position follows, and needs a character besides digits, blanks
// and colons ("12:3: x" names no file).
bool ParseCompilerMessage(const char16_t* text, size_t length, CompilerMessage* message);

// A "go to" field: "LINE" or "LINE,COLUMN", blanks around each number
// allowed; column is 0 when the field names none. False, with both left
// alone, for an empty field or anything else.
bool ParseLineAndColumn(const char16_t* text, size_t length, unsigned long* line, unsigned long* column);

#endif
