// The ground floor's table of the system calls that the in-process
// tests answer.
#ifndef PENRIK_BASE_SYSCALLS_H
#define PENRIK_BASE_SYSCALLS_H

#include <windows.h>
#include <commdlg.h>

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

// Puts the real functions back.
void ResetSystemCalls(void);

#endif
