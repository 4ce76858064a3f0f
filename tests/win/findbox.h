// The Find and Go To dialogs, driven from inside their own message loop:
// a thread timer takes the next step on each one that opens.
#ifndef PENRIK_TEST_FINDBOX_H
#define PENRIK_TEST_FINDBOX_H

#include <deque>
#include <functional>
#include <string>

#include "harness.h"

using DialogStep = std::function<void(HWND)>;
// What the next Find dialogs are to do, in turn.
extern std::deque<DialogStep> dialogSteps;

// Types into the fields (null leaves one alone), clicks the check box
// when asked, then clicks `button`.
DialogStep Enter(const char* find, const char* replacement = NULL, int button = IDOK, bool clickCase = false);

class FindBoxTest : public PenrikTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the command; the Find dialog it opens takes `step`.
    void WithDialog(int command, DialogStep step);
    // The boxes since the last call: how many "Done" boxes, or the text
    // of another box.
    std::string Boxes();

    UINT_PTR timer = 0;
};

#endif
