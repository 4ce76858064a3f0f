// The Find dialog ("FindBox"), searching forward and backward, Replace
// and Replace All.
#ifndef PENRIK_SEARCH_H
#define PENRIK_SEARCH_H

// Start-up: nothing to find yet.
void ResetSearch(void);
// Find, Find Next, Find Previous and Replace.
void SearchCommand(int commandId);

enum ReplaceAllWay {
    REPLACE_ALL_IN_ONE_PASS,   // one new text where it gives what the steps would
    REPLACE_ALL_STEP_BY_STEP,  // one control edit per match
};
void ReplaceAllCommand(ReplaceAllWay way);

// Go To: asks for a line (and column) and puts the caret there.
void GoToCommand(void);

#endif
