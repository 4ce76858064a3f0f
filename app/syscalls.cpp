#include "app/app.h"

#include <shellapi.h>

#include "document/document.h"

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
    Sys.ReadFile = ::ReadFile;
    Sys.WriteFile = ::WriteFile;
    Sys.ReplaceFileA = ::ReplaceFileA;
    Sys.LocalAlloc = ::LocalAlloc;
    Sys.AccessListsKept = AccessListsKept;
}
