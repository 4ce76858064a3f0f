// Calls that wait on a person, leave the process or depend on the
// machine go through this table, so that the in-process tests can
// answer them. It holds the real functions unless a test replaces them.
#ifndef PENRIK_SYSCALLS_H
#define PENRIK_SYSCALLS_H

#include <windows.h>
#include <commdlg.h>

struct SystemCalls {
    int (WINAPI *MessageBoxA)(HWND, LPCSTR, LPCSTR, UINT);
    BOOL (WINAPI *GetOpenFileNameA)(LPOPENFILENAMEA);
    BOOL (WINAPI *GetSaveFileNameA)(LPOPENFILENAMEA);
    BOOL (WINAPI *ChooseFontA)(LPCHOOSEFONTA);
    BOOL (WINAPI *ChooseColorA)(LPCHOOSECOLORA);
    BOOL (WINAPI *PrintDlgA)(LPPRINTDLGA);
    DWORD (WINAPI *CommDlgExtendedError)(void);
    HINSTANCE (WINAPI *ShellExecuteA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    HMODULE (WINAPI *LoadLibraryA)(LPCSTR);
    FARPROC (WINAPI *GetProcAddress)(HMODULE, LPCSTR);
    BOOL (WINAPI *FreeLibrary)(HMODULE);
    DWORD (WINAPI *GetVersion)(void);
    void (WINAPI *GetLocalTime)(LPSYSTEMTIME);
    HFILE (WINAPI *OpenFile)(LPCSTR, LPOFSTRUCT, UINT);
    BOOL (WINAPI *WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    HLOCAL (WINAPI *LocalAlloc)(UINT, SIZE_T);
};

extern SystemCalls Sys;

// Puts the real functions back.
void ResetSystemCalls();

#endif
