// The ground floor: the process record that every part of the program
// may read. Its handles are set by start-up (the edit control also by
// Word Wrap) and its settings by start-up and the commands that change
// them. It includes nothing of the program.
#ifndef PENRIK_BASE_PROCESS_H
#define PENRIK_BASE_PROCESS_H

#include <windows.h>

#define MAIN_TITLE "PENRIK"
// The program's pixel sizes, stored font heights and window geometry are
// given for a display of this DPI, and scaled to the window's own.
#define BASE_DPI 96

struct SettingsRecord {
    int x, y;                 // the outer window's place, in screen pixels
    int width, height;        // its size, in BASE_DPI pixels
    COLORREF textColor;
    COLORREF backColor;
    LOGFONTA font;            // the editor font record, its height in BASE_DPI pixels
    int wordWrap;
    wchar_t helpFile[4][128];  // names of any script
    char helpName[4][12];     // 8 characters, then the "\tF1" suffix
    char buildName[4][9];
};

struct ProcessRecord {
    HINSTANCE hInst;
    HWND hwndMain;
    HWND hwndEdit;        // made again by Word Wrap
    HMENU hMenu;
    HFONT hToolbarFont;   // the toolbar, the status panel and the program's dialogs
    bool platformV4;      // the platform's major version is 4
    int dpi;              // the main window's DPI
    SettingsRecord settings;
};

extern ProcessRecord Penrik;

// A size in BASE_DPI pixels at the main window's DPI, rounded, and back.
inline int Scaled(int pixels) { return MulDiv(pixels, Penrik.dpi, BASE_DPI); }
inline int Unscaled(int pixels) { return MulDiv(pixels, BASE_DPI, Penrik.dpi); }

#endif
