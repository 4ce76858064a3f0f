// The four help files, Send Mail and the About box.
#include "tools/tools.h"

#include <stdio.h>
#include <windows.h>
#include <shellapi.h>

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

// What shows a help file, by the form of its name.
enum HelpViewer {
    VIEWER_WINHELP,    // winhlp32.exe, for .hlp and names without an extension
    VIEWER_HTMLHELP,   // hh.exe, for .chm
    VIEWER_ASSOCIATED  // whatever the user has for web addresses and other kinds of file
};

static int BeginsWith(const char* name, const char* prefix)
{
    char head[16];
    lstrcpynA(head, name, lstrlenA(prefix) + 1);
    return lstrcmpiA(head, prefix) == 0;
}

// The extension of the file a help name names, dot included, or "" when
// it has none. The file's name ends where WinHelp's ">window" or HTML
// Help's "::topic" begins; only its last component counts, so a dot in a
// folder's name is no extension. Walked by characters, since a second
// byte of a double-byte character can look like a backslash.
static void HelpExtension(const char* name, char* extension, int size)
{
    const char* dot = NULL;
    const char* p = name;
    for (; *p != '\0' && *p != '>' && !(p[0] == ':' && p[1] == ':'); p = CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            dot = NULL;
        else if (*p == '.')
            dot = p;
    }
    int length = dot != NULL && p - dot > 1 ? (int)(p - dot) : 0;  // a lone trailing dot is no extension
    lstrcpynA(extension, length > 0 ? dot : "", length < size ? length + 1 : size);
}

static HelpViewer ViewerFor(const char* name)
{
    if (BeginsWith(name, "http://") || BeginsWith(name, "https://"))
        return VIEWER_ASSOCIATED;
    char extension[sizeof Penrik.Settings.helpFile[0]];
    HelpExtension(name, extension, sizeof extension);
    if (extension[0] == '\0' || lstrcmpiA(extension, ".hlp") == 0)
        return VIEWER_WINHELP;
    if (lstrcmpiA(extension, ".chm") == 0)
        return VIEWER_HTMLHELP;
    return VIEWER_ASSOCIATED;
}

// ShellExecuteA's failures, in words where a user can act on them.
static void FailureReason(INT_PTR result, char* reason, size_t size)
{
    switch (result) {
    case ERROR_FILE_NOT_FOUND:
        snprintf(reason, size, "the file was not found");
        break;
    case ERROR_PATH_NOT_FOUND:
        snprintf(reason, size, "its folder was not found");
        break;
    case SE_ERR_ACCESSDENIED:
        snprintf(reason, size, "access was denied");
        break;
    case SE_ERR_NOASSOC:
        snprintf(reason, size, "no program is associated with that kind of file");
        break;
    default:
        snprintf(reason, size, "error %d", (int)result);
        break;
    }
}

// A viewer that comes with Windows, by its full path: a bare name would be
// looked for in the current folder first, which is wherever the last file
// dialog went. The Windows folder's own comes first, then the system
// folder's.
static int SystemViewer(const char* program, char* path, size_t size)
{
    path[0] = '\0';
    for (int system = 0; system <= 1; ++system) {
        char folder[MAX_PATH], candidate[MAX_PATH];
        UINT length = system ? GetSystemDirectoryA(folder, MAX_PATH) : GetWindowsDirectoryA(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            continue;
        int made = snprintf(candidate, sizeof candidate, "%s%s%s", folder, folder[length - 1] == '\\' ? "" : "\\",
                            program);
        if (made <= 0 || made >= (int)sizeof candidate)
            continue;
        // Where neither folder has it, the Windows folder's name is started
        // and the failure says so.
        int there = GetFileAttributesA(candidate) != INVALID_FILE_ATTRIBUTES;
        if (there || path[0] == '\0')
            lstrcpynA(path, candidate, (int)size);
        if (there)
            break;
    }
    return path[0] != '\0';
}

void HelpCommand(int commandId)
{
    const char* name = Penrik.Settings.helpFile[commandId - IDM_HELP1];
    HINSTANCE started;
    char viewer[MAX_PATH];
    switch (ViewerFor(name)) {
    case VIEWER_WINHELP:
        // WinHelp says itself what it cannot show.
        if (SystemViewer("winhlp32.exe", viewer, sizeof viewer))
            Sys.ShellExecuteA(Penrik.hwndMain, NULL, viewer, name, "", SW_SHOW);
        return;
    case VIEWER_HTMLHELP:
        started = SystemViewer("hh.exe", viewer, sizeof viewer)
                      ? Sys.ShellExecuteA(Penrik.hwndMain, NULL, viewer, name, "", SW_SHOW)
                      : (HINSTANCE)ERROR_PATH_NOT_FOUND;
        break;
    default:
        started = Sys.ShellExecuteA(Penrik.hwndMain, "open", name, NULL, "", SW_SHOW);
        break;
    }
    INT_PTR result = (INT_PTR)started;
    if (result > 32)
        return;
    char reason[64];
    FailureReason(result, reason, sizeof reason);
    char text[sizeof Penrik.Settings.helpFile[0] + sizeof reason + 32];
    snprintf(text, sizeof text, "Cannot open the help file %s: %s.", name, reason);
    Sys.MessageBoxA(Penrik.hwndMain, text, "Penrik", MB_ICONEXCLAMATION);
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
