// The four help files, Send Mail and the About box.
#include "tools/tools.h"

#include <stdio.h>
#include <wchar.h>
#include <windows.h>
#include <shellapi.h>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"

#define MAIL_LIBRARY "mapi32.dll"
// A document name in the code page: up to four bytes a character.
#define MAIL_NAME_SIZE (NAME_SIZE * 4)

// Characters in a help file's name, the terminating zero included.
static const int HelpNameLength = (int)(sizeof Penrik.settings.helpFile[0] / sizeof Penrik.settings.helpFile[0][0]);

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

static int BeginsWith(const wchar_t* name, const wchar_t* prefix)
{
    wchar_t head[16];
    lstrcpynW(head, name, lstrlenW(prefix) + 1);
    return lstrcmpiW(head, prefix) == 0;
}

// The extension of the file a help name names, dot included, or "" when
// it has none. The file's name ends where WinHelp's ">window" or HTML
// Help's "::topic" begins; only its last component counts, so a dot in a
// folder's name is no extension.
static void HelpExtension(const wchar_t* name, wchar_t* extension, int size)
{
    const wchar_t* dot = NULL;
    const wchar_t* p = name;
    for (; *p != 0 && *p != '>' && !(p[0] == ':' && p[1] == ':'); ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            dot = NULL;
        else if (*p == '.')
            dot = p;
    }
    int length = dot != NULL && p - dot > 1 ? (int)(p - dot) : 0;  // a lone trailing dot is no extension
    lstrcpynW(extension, length > 0 ? dot : L"", length < size ? length + 1 : size);
}

static HelpViewer ViewerFor(const wchar_t* name)
{
    if (BeginsWith(name, L"http://") || BeginsWith(name, L"https://"))
        return VIEWER_ASSOCIATED;
    wchar_t extension[HelpNameLength];
    HelpExtension(name, extension, HelpNameLength);
    if (extension[0] == 0 || lstrcmpiW(extension, L".hlp") == 0)
        return VIEWER_WINHELP;
    if (lstrcmpiW(extension, L".chm") == 0)
        return VIEWER_HTMLHELP;
    return VIEWER_ASSOCIATED;
}

// ShellExecuteW's failures, in words where a user can act on them.
static void FailureReason(INT_PTR result, wchar_t* reason, int size)
{
    UINT id;
    switch (result) {
    case ERROR_FILE_NOT_FOUND: id = IDS_HELP_FILE_NOT_FOUND; break;
    case ERROR_PATH_NOT_FOUND: id = IDS_HELP_FOLDER_NOT_FOUND; break;
    case SE_ERR_ACCESSDENIED:  id = IDS_HELP_ACCESS_DENIED; break;
    case SE_ERR_NOASSOC:       id = IDS_HELP_NO_ASSOCIATION; break;
    default:                   id = IDS_HELP_ERROR_NUMBER; break;
    }
    MessageText(reason, size, id, (int)result);
}

// A viewer that comes with Windows, by its full path: a bare name would be
// looked for in the current folder first, which is wherever the last file
// dialog went. The Windows folder's own comes first, then the system
// folder's.
static int SystemViewer(const wchar_t* program, wchar_t* path, int size)
{
    path[0] = 0;
    for (int system = 0; system <= 1; ++system) {
        wchar_t folder[MAX_PATH], candidate[MAX_PATH];
        UINT length = system ? GetSystemDirectoryW(folder, MAX_PATH) : GetWindowsDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            continue;
        int made = swprintf(candidate, MAX_PATH, L"%ls%ls%ls", folder, folder[length - 1] == '\\' ? L"" : L"\\",
                            program);
        if (made <= 0 || made >= MAX_PATH)
            continue;
        // Where neither folder has it, the Windows folder's name is started
        // and the failure says so.
        int there = GetFileAttributesW(candidate) != INVALID_FILE_ATTRIBUTES;
        if (there || path[0] == 0)
            lstrcpynW(path, candidate, size);
        if (there)
            break;
    }
    return path[0] != 0;
}

void HelpCommand(int commandId)
{
    const wchar_t* name = Penrik.settings.helpFile[commandId - IDM_HELP1];
    HINSTANCE started;
    wchar_t viewer[MAX_PATH];
    switch (ViewerFor(name)) {
    case VIEWER_WINHELP:
        // WinHelp says itself what it cannot show.
        if (SystemViewer(L"winhlp32.exe", viewer, MAX_PATH))
            Sys.ShellExecuteW(Penrik.hwndMain, NULL, viewer, name, L"", SW_SHOW);
        return;
    case VIEWER_HTMLHELP:
        started = SystemViewer(L"hh.exe", viewer, MAX_PATH)
                      ? Sys.ShellExecuteW(Penrik.hwndMain, NULL, viewer, name, L"", SW_SHOW)
                      : (HINSTANCE)ERROR_PATH_NOT_FOUND;
        break;
    default:
        started = Sys.ShellExecuteW(Penrik.hwndMain, L"open", name, NULL, L"", SW_SHOW);
        break;
    }
    INT_PTR result = (INT_PTR)started;
    if (result > 32)
        return;
    wchar_t reason[64];
    FailureReason(result, reason, sizeof reason / sizeof reason[0]);
    ShowMessage(Penrik.hwndMain, IDS_HELP_NOT_OPENED, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION, name, reason);
}

// The document's path and title as the mail library takes them: in the
// code page where they can be spelled there, else their short (8.3)
// forms, which Windows keeps for programs like it. Returns 0 when even
// those cannot be spelled (a volume that makes no short names).
static int MailNames(char* path, char* title, int size)
{
    int pathSpelled = CodePageName(DocumentName(), path, size);
    int titleSpelled = CodePageName(FileTitle(), title, size);
    if (pathSpelled && titleSpelled)
        return 1;
    wchar_t shortPath[NAME_SIZE];
    DWORD length = GetShortPathNameW(DocumentName(), shortPath, NAME_SIZE);
    if (length == 0 || length >= NAME_SIZE)
        return 0;
    const wchar_t* shortTitle = shortPath;
    for (const wchar_t* p = shortPath; *p != 0; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            shortTitle = p + 1;
    return (pathSpelled || CodePageName(shortPath, path, size)) &&
           (titleSpelled || CodePageName(shortTitle, title, size));
}

void SendMailCommand(void)
{
    if (QuerySave(Penrik.hwndMain) == 0)
        return;
    // The library wants writable lists.
    char path[MAIL_NAME_SIZE], title[MAIL_NAME_SIZE];
    if (!MailNames(path, title, MAIL_NAME_SIZE)) {
        ShowMessage(Penrik.hwndMain, IDS_MAIL_NAME_UNSPELLABLE, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION,
                    DocumentName());
        return;
    }
    HMODULE library = Tools.mailLibraryName[0] != '\0' ? Sys.LoadLibraryA(Tools.mailLibraryName) : NULL;
    if (library == NULL) {
        ShowMessage(Penrik.hwndMain, IDS_MAIL_NOT_LOADED, 0, MB_ICONEXCLAMATION);
        return;
    }
    SendDocumentsFunction send =
        (SendDocumentsFunction)(void*)Sys.GetProcAddress(library, "MAPISendDocuments");
    if (send == NULL) {
        Sys.FreeLibrary(library);
        ShowMessage(Penrik.hwndMain, IDS_MAIL_NO_SEND, 0, MB_ICONEXCLAMATION);
        return;
    }
    char delimiter[] = ";";
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
