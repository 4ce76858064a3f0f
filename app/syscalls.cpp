#include "app/app.h"

#include <shellapi.h>

SystemCalls Sys;

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
    Sys.WriteFile = ::WriteFile;
    Sys.LocalAlloc = ::LocalAlloc;
}
