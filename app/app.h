// The program's process-wide state and the start-up, message loop and
// main window that own it. Every part of the program may read this
// record; its handles are set by start-up (the edit control also by Word
// Wrap) and its settings by start-up and the commands that change them.
#ifndef PENRIK_APP_H
#define PENRIK_APP_H

#include <windows.h>
#include <commdlg.h>

#include "resources/resource.h"

#define MAIN_TITLE "PENRIK"
// The program's pixel sizes, stored font heights and window geometry are
// given for a display of this DPI, and scaled to the window's own.
#define BASE_DPI 96

struct SettingsRecord {
    int x, y, width, height;  // outer window geometry, in BASE_DPI pixels
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
    int platformV4;       // the platform's major version is 4
    int dpi;              // the main window's DPI
    SettingsRecord Settings;
};

extern ProcessRecord Penrik;

// Calls that wait on a person, leave the process or depend on the
// machine go through this table, so that the in-process tests can
// answer them. It holds the real functions unless a test replaces them.
struct SystemCalls {
    int (WINAPI *MessageBoxA)(HWND, LPCSTR, LPCSTR, UINT);
    // A box whose text names a file, in characters.
    int (WINAPI *MessageBoxW)(HWND, LPCWSTR, LPCWSTR, UINT);
    BOOL (WINAPI *GetOpenFileNameW)(LPOPENFILENAMEW);
    BOOL (WINAPI *GetSaveFileNameW)(LPOPENFILENAMEW);
    BOOL (WINAPI *ChooseFontA)(LPCHOOSEFONTA);
    BOOL (WINAPI *ChooseColorA)(LPCHOOSECOLORA);
    BOOL (WINAPI *PrintDlgA)(LPPRINTDLGA);
    DWORD (WINAPI *CommDlgExtendedError)(void);
    HINSTANCE (WINAPI *ShellExecuteW)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    HMODULE (WINAPI *LoadLibraryA)(LPCSTR);
    FARPROC (WINAPI *GetProcAddress)(HMODULE, LPCSTR);
    BOOL (WINAPI *FreeLibrary)(HMODULE);
    DWORD (WINAPI *GetVersion)(void);
    void (WINAPI *GetLocalTime)(LPSYSTEMTIME);
    HFILE (WINAPI *OpenFile)(LPCSTR, LPOFSTRUCT, UINT);
    BOOL (WINAPI *ReadFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL (WINAPI *WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL (WINAPI *ReplaceFileW)(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID);
    HLOCAL (WINAPI *LocalAlloc)(UINT, SIZE_T);
    // The window's DPI; for no window, the system's.
    UINT (*WindowDpi)(HWND);
    // The DPI of the display under a point of the screen (the nearest
    // one); the system's where the platform has no DPI per display.
    UINT (*MonitorDpi)(POINT);
    // The code page conversions of a save, whose flags each code page
    // restricts differently on Windows.
    UINT (WINAPI *GetACP)(void);
    int (WINAPI *WideCharToMultiByte)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
    // The name the system has for an open file (a mapped drive's is the
    // server's).
    DWORD (WINAPI *GetFinalPathNameByHandleW)(HANDLE, LPWSTR, DWORD, DWORD);
    // Whether the open file's permissions are all in its access list, so
    // that a new file replacing it can be given them (AccessListsKept).
    int (*AccessListsKept)(HANDLE);
};

extern SystemCalls Sys;

// A size in BASE_DPI pixels at the main window's DPI, rounded, and back.
inline int Scaled(int pixels) { return MulDiv(pixels, Penrik.dpi, BASE_DPI); }
inline int Unscaled(int pixels) { return MulDiv(pixels, BASE_DPI, Penrik.dpi); }

// Puts the real functions back.
void ResetSystemCalls(void);

// Start-up: returns 0 when the main window could not be made. Start-up
// may run again in the same process after ShutDown.
// The command line is what follows the program's name.
int StartUp(HINSTANCE instance, const wchar_t* commandLine, int showCommand);
// One message through the accelerator table, then to its window.
// Returns 1 when the accelerator table took it.
int DispatchWithAccelerators(MSG* msg);
int RunMessageLoop(void);
void ShutDown(void);

#endif
