// The editor's font for the control. Inside editing/ only.
#ifndef PENRIK_EDITING_LOOK_H
#define PENRIK_EDITING_LOOK_H

// Start-up: no font, no brush, no choice made yet.
void ResetEditorLook(void);
// Gives the control the editor font's face and height at the window's
// DPI (a new control, before any font choice is applied).
void GiveEditorFont(void);

#endif
