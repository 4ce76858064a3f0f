// The search over a copy of the text. Platform-free: the lower-case
// mapping comes in as a table of all 256 byte values.
#ifndef PENRIK_SCAN_H
#define PENRIK_SCAN_H

#include <stddef.h>

struct SearchScan {
    const char* text;            // the working copy
    size_t length;               // its length in bytes
    char* find;                  // lowered in place when case is ignored
    size_t findLength;
    int caseSensitive;
    const unsigned char* lower;  // lower-case form of every byte value
};

// 1 when the find text occurs in the text at position p, else 0.
// Ignoring case, it first lowers the find text in place.
int MatchAt(SearchScan* scan, size_t p);

// Searches from the selection start: forward from start + 1, backward
// from start - 1. Returns 1 with the match position in *found, or 0 when
// the search ends with "Done" (always so when start is at the end).
int ScanText(SearchScan* scan, size_t start, int direction, size_t* found);

#endif
