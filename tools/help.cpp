// The four help files, Send Mail and the About box.
#include "tools/tools.h"

#include <stdio.h>

#include "app/app.h"
#include "document/document.h"

#define MAIL_LIBRARY "mapi32.dll"

static struct {
    char mailLibraryName[16];  // empty when the system has none
} Tools;

int FindMailLibrary(void)
{
    Tools.mailLibraryName[0] = '\0';
    OFSTRUCT found;
    if (Sys.OpenFile(MAIL_LIBRARY, &found, OF_EXIST) == HFILE_ERROR)
        return 0;
    snprintf(Tools.mailLibraryName, sizeof Tools.mailLibraryName, "%s", MAIL_LIBRARY);
    return 1;
}

typedef ULONG(WINAPI* SendDocumentsFunction)(ULONG_PTR, LPSTR, LPSTR, LPSTR, ULONG);

void HelpCommand(int commandId)
{
    Sys.ShellExecuteA(Penrik.hwndMain, NULL, "winhlp32.exe", Penrik.Settings.helpFile[commandId - IDM_HELP1], "",
                      SW_SHOW);
}

void SendMailCommand(void)
{
    if (QuerySave(Penrik.hwndMain) == 0)
        return;
    HMODULE library = Tools.mailLibraryName[0] != '\0' ? Sys.LoadLibraryA(Tools.mailLibraryName) : NULL;
    if (library == NULL) {
        Sys.MessageBoxA(Penrik.hwndMain, "The mail library could not be loaded; nothing was sent.", NULL,
                        MB_ICONEXCLAMATION);
        return;
    }
    SendDocumentsFunction send =
        (SendDocumentsFunction)(void*)Sys.GetProcAddress(library, "MAPISendDocuments");
    if (send == NULL) {
        Sys.FreeLibrary(library);
        Sys.MessageBoxA(Penrik.hwndMain, "The mail library offers no way to send documents; nothing was sent.",
                        NULL, MB_ICONEXCLAMATION);
        return;
    }
    char delimiter[] = ";";
    // The library wants writable lists.
    char path[NAME_SIZE], title[NAME_SIZE];
    lstrcpynA(path, DocumentName(), NAME_SIZE);
    lstrcpynA(title, FileTitle(), NAME_SIZE);
    send((ULONG_PTR)Penrik.hwndMain, delimiter, path, title, 0);
    Sys.FreeLibrary(library);
}

static INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    static const int FontControls[] = {IDC_ABOUTVERSION, IDC_ABOUTAUTHOR, IDC_ABOUTPURPOSE, IDOK};
    switch (msg) {
    case WM_INITDIALOG:
        for (int id : FontControls)
            SendMessageA(GetDlgItem(dialog, id), WM_SETFONT, (WPARAM)Penrik.hToolbarFont, TRUE);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

void AboutCommand(void)
{
    DialogBoxParamA(Penrik.hInst, "AboutBox", Penrik.hwndMain, AboutBoxProc, 0);
}
