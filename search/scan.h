// The search over a copy of the text, of bytes (char) or of the
// control's characters (wchar_t). Platform-free: the lower-case mapping
// comes in as a table of every code unit value (256 of them for bytes).
#ifndef PENRIK_SCAN_H
#define PENRIK_SCAN_H

#include <stddef.h>

#include <type_traits>

template <typename Char> struct SearchScan {
    typedef typename std::make_unsigned<Char>::type Unit;
    const Char* text;   // the working copy
    size_t length;      // its length in code units
    Char* find;         // lowered in place when case is ignored
    size_t findLength;
    int caseSensitive;
    const Unit* lower;  // lower-case form of every code unit value
};

// 1 when the find text occurs in the text at position p, else 0.
// Ignoring case, it first lowers the find text in place.
template <typename Char> int MatchAt(SearchScan<Char>* scan, size_t p);

// Searches from the selection start: forward from start + 1, backward
// from start - 1. Returns 1 with the match position in *found, or 0 when
// the search ends with "Done" (always so when start is at the end).
template <typename Char> int ScanText(SearchScan<Char>* scan, size_t start, int direction, size_t* found);

#endif
