// The four help files, Send Mail and the About box.
#include "penrik.h"

typedef ULONG(WINAPI* SendDocumentsFunction)(ULONG_PTR, LPSTR, LPSTR, LPSTR, ULONG);

void HelpCommand(int commandId)
{
    Sys.ShellExecuteA(hwndMain, NULL, "winhlp32.exe", Settings.helpFile[commandId - IDM_HELP1], "",
                      SW_SHOW);
}

void SendMailCommand(void)
{
    if (QuerySave(hwndMain) == 0)
        return;
    HMODULE library = mailLibraryName[0] != '\0' ? Sys.LoadLibraryA(mailLibraryName) : NULL;
    if (library == NULL) {
        Sys.MessageBoxA(hwndMain, "The mail library could not be loaded; nothing was sent.", NULL,
                        MB_ICONEXCLAMATION);
        return;
    }
    SendDocumentsFunction send =
        (SendDocumentsFunction)(void*)Sys.GetProcAddress(library, "MAPISendDocuments");
    if (send == NULL) {
        Sys.FreeLibrary(library);
        Sys.MessageBoxA(hwndMain, "The mail library offers no way to send documents; nothing was sent.",
                        NULL, MB_ICONEXCLAMATION);
        return;
    }
    char delimiter[] = ";";
    send((ULONG_PTR)hwndMain, delimiter, DocumentName, FileTitle, 0);
    Sys.FreeLibrary(library);
}

static INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    static const int FontControls[] = {101, 102, 103, IDOK};
    switch (msg) {
    case WM_INITDIALOG:
        for (int id : FontControls)
            SendMessageA(GetDlgItem(dialog, id), WM_SETFONT, (WPARAM)hToolbarFont, TRUE);
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
    DialogBoxParamA(hInst, "AboutBox", hwndMain, AboutBoxProc, 0);
}
