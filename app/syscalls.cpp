#include "app/app.h"

#include <shellapi.h>

#include "document/document.h"

SystemCalls Sys;

typedef UINT(WINAPI* DpiForWindowFunction)(HWND);

// Windows 10 1607 and later tell each window's DPI; before, every window
// has the system's, which the screen gives.
static UINT WindowDpi(HWND window)
{
    DpiForWindowFunction forWindow =
        (DpiForWindowFunction)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    UINT dpi = window != NULL && forWindow != NULL ? forWindow(window) : 0;
    if (dpi == 0) {
        HDC screen = GetDC(NULL);
        int logical = screen != NULL ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != NULL)
            ReleaseDC(NULL, screen);
        dpi = logical > 0 ? (UINT)logical : BASE_DPI;
    }
    return dpi;
}

void ResetSystemCalls(void)
{
    Sys.MessageBoxA = ::MessageBoxA;
    Sys.GetOpenFileNameA = ::GetOpenFileNameA;
    Sys.GetSaveFileNameA = ::GetSaveFileNameA;
    Sys.ChooseFontA = ::ChooseFontA;
    Sys.ChooseColorA = ::ChooseColorA;
    Sys.PrintDlgA = ::PrintDlgA;
    Sys.CommDlgExtendedError = ::CommDlgExtendedError;
    Sys.ShellExecuteA = ::ShellExecuteA;
    Sys.LoadLibraryA = ::LoadLibraryA;
    Sys.GetProcAddress = ::GetProcAddress;
    Sys.FreeLibrary = ::FreeLibrary;
    Sys.GetVersion = ::GetVersion;
    Sys.GetLocalTime = ::GetLocalTime;
    Sys.OpenFile = ::OpenFile;
    Sys.ReadFile = ::ReadFile;
    Sys.WriteFile = ::WriteFile;
    Sys.ReplaceFileA = ::ReplaceFileA;
    Sys.LocalAlloc = ::LocalAlloc;
    Sys.AccessListsKept = AccessListsKept;
    Sys.WindowDpi = WindowDpi;
}
