// Replace All computed in one pass over the text: the outcome of
// replacing each match, searching on from the caret, and of the change
// handler's line indicator and indentation at every step, without asking
// the edit control to do each step. Platform-free.
#ifndef PENRIK_REPLACE_ALL_H
#define PENRIK_REPLACE_ALL_H

#include <stddef.h>

#include <string>

#include "editing/change_rule.h"
#include "search/scan.h"

// 1 when the one-pass computation gives exactly what the edit control
// would: every CR stands before an LF and every LF after a CR (no lone
// breaks, no CR CR LF), and neither the find text nor the replacement
// holds a line break.
template <typename Char>
int ReplaceAllComputable(const Char* text, size_t length, const Char* find, size_t findLength,
                         const Char* replacement, size_t replacementLength);

// Starting with the match at matchStart selected, replaces it and every
// further match found from the caret onwards, exactly as the loop of
// replace, change handler, search forward would. `scan` describes the
// original text and the find text (lowered already when case is
// ignored). `state` goes through the change rule at every replacement.
// Returns the final text in `result`.
template <typename Char>
void ReplaceAllInOnePass(SearchScan<Char>* scan, size_t matchStart, const Char* replacement,
                         size_t replacementLength, ChangeState* state, std::basic_string<Char>* result);

#endif
