#include "base/syscalls.h"

#include <shellapi.h>

#include "base/process.h"

SystemCalls Sys;
ProcessRecord Penrik;

// Wine's files keep their Unix mode bits (the execute bit above all) in
// no access list, so no new file replacing one could be given them; nor
// do shares that keep Unix modes or no access lists at all.
static int AccessListsKept(HANDLE file)
{
    if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != NULL)
        return 0;
    DWORD flags = 0;
    return GetVolumeInformationByHandleW(file, NULL, 0, NULL, NULL, &flags, NULL, 0) &&
           (flags & FILE_PERSISTENT_ACLS) != 0;
}

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

typedef HRESULT(WINAPI* DpiForMonitorFunction)(HMONITOR, int, UINT*, UINT*);

// Windows 8.1 and later keep a DPI per display; before, every display
// has the system's.
static UINT MonitorDpi(POINT point)
{
    HMODULE shcore = LoadLibraryA("shcore.dll");
    DpiForMonitorFunction forMonitor =
        shcore != NULL ? (DpiForMonitorFunction)(void*)GetProcAddress(shcore, "GetDpiForMonitor") : NULL;
    UINT x = 0, y = 0;
    const int effectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (forMonitor == NULL || forMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), effectiveDpi, &x, &y) != S_OK)
        y = 0;
    if (shcore != NULL)
        FreeLibrary(shcore);
    return y != 0 ? y : WindowDpi(NULL);
}

void ResetSystemCalls(void)
{
    Sys.MessageBoxA = ::MessageBoxA;
    Sys.MessageBoxW = ::MessageBoxW;
    Sys.GetOpenFileNameW = ::GetOpenFileNameW;
    Sys.GetSaveFileNameW = ::GetSaveFileNameW;
    Sys.ChooseFontA = ::ChooseFontA;
    Sys.ChooseColorA = ::ChooseColorA;
    Sys.PrintDlgA = ::PrintDlgA;
    Sys.CommDlgExtendedError = ::CommDlgExtendedError;
    Sys.ShellExecuteW = ::ShellExecuteW;
    Sys.LoadLibraryA = ::LoadLibraryA;
    Sys.GetProcAddress = ::GetProcAddress;
    Sys.FreeLibrary = ::FreeLibrary;
    Sys.GetVersion = ::GetVersion;
    Sys.GetLocalTime = ::GetLocalTime;
    Sys.OpenFile = ::OpenFile;
    Sys.ReadFile = ::ReadFile;
    Sys.WriteFile = ::WriteFile;
    Sys.ReplaceFileW = ::ReplaceFileW;
    Sys.LocalAlloc = ::LocalAlloc;
    Sys.AccessListsKept = AccessListsKept;
    Sys.WindowDpi = WindowDpi;
    Sys.MonitorDpi = MonitorDpi;
    Sys.GetACP = ::GetACP;
    Sys.WideCharToMultiByte = ::WideCharToMultiByte;
    Sys.GetFinalPathNameByHandleW = ::GetFinalPathNameByHandleW;
}
