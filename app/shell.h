// Private to app/: what its files call on each other.
#ifndef PENRIK_APP_SHELL_H
#define PENRIK_APP_SHELL_H

#include "app/app.h"

#define TOOLBAR_BUTTONS 23

// Reads every setting into Penrik.settings and the stored document name
// into `fileName` (`size` characters). Returns 0 when that name was too long to hold: it is
// then empty, since cutting it would name another file.
int LoadSettings(wchar_t* fileName, size_t size);
void SaveSettings(void);

void CreateToolbar(void);
// The buttons' places at the window's DPI, after a change of it.
void PlaceToolbar(void);
// The toolbar's font at the window's DPI, which the status panel and the
// program's dialogs share.
HFONT MakeToolbarFont(void);
void SetToolbarFont(HFONT font);
HWND ToolbarButton(int commandId);
// Enables a command's menu item and toolbar button.
void EnableCommand(int commandId);

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Start-up's print mode: the window is hidden, and ends after printing.
void SetPrintMode(bool on);
// Start-up's "/g": where the caret goes once the document is loaded.
void SetStartPlace(unsigned long line, unsigned long column);

#endif
