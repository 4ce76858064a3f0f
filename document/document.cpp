// The one document: its name, its modified flag, the text block through
// which it is read and written, and the File commands.
#include "penrik.h"

#include <cderr.h>
#include <stdio.h>

char DocumentName[NAME_SIZE];
char NameBackup[NAME_SIZE];
char FileTitle[NAME_SIZE];
int Modified;
int LoadFailed;
HLOCAL TextBlock;
OPENFILENAMEA FileDialogData;

#define UNTITLED_CAPTION "penrik- Untitled"

static const char FileFilter[] =
    "All Files (*.*)\0*.*\0"
    "Executable (*.EXE)\0*.EXE\0"
    "Text Files (*.TXT)\0*.TXT\0";

// Messages name the whole file, so they get more room than the shared
// text buffer has.
static char MessageText[NAME_SIZE + 128];

static int ShowFileMessage(const char* format, const char* name, const char* caption, UINT type)
{
    snprintf(MessageText, sizeof MessageText, format, name);
    return Sys.MessageBoxA(hwndMain, MessageText, caption, type);
}

// Wine's dialogs leave the current folder alone when a full path is
// typed; the build commands rely on it being the chosen file's.
static int EnterFolderOf(const char* path)
{
    char folder[NAME_SIZE];
    lstrcpynA(folder, path, NAME_SIZE);
    char* end = NULL;
    for (char* p = folder; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            end = p + 1;
    if (end == NULL)
        return 0;
    *end = '\0';
    return SetCurrentDirectoryA(folder) != FALSE;
}

// Shows an open or save dialog on FileDialogData; the chosen file's folder
// becomes current unless the dialog was told to leave it. A chosen name
// that does not fit DocumentName comes back as a failure; the user is
// told, rather than left to think the dialog was cancelled.
int ChooseFile(BOOL(WINAPI* dialog)(LPOPENFILENAMEA))
{
    if (dialog(&FileDialogData)) {
        if (!(FileDialogData.Flags & OFN_NOCHANGEDIR))
            EnterFolderOf(FileDialogData.lpstrFile);
        return 1;
    }
    if (Sys.CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        Sys.MessageBoxA(hwndMain, "The file name is longer than 255 characters.", NULL, MB_ICONEXCLAMATION);
    return 0;
}

void ResetDocumentState(void)
{
    DocumentName[0] = '\0';
    NameBackup[0] = '\0';
    FileTitle[0] = '\0';
    Modified = 0;
    LoadFailed = 0;
    TextBlock = NULL;
    ZeroMemory(&FileDialogData, sizeof FileDialogData);
}

void InitFileDialogData(void)
{
    ZeroMemory(&FileDialogData, sizeof FileDialogData);
    FileDialogData.lStructSize = sizeof FileDialogData;
    FileDialogData.hwndOwner = hwndMain;
    FileDialogData.lpstrFilter = FileFilter;
    FileDialogData.nFilterIndex = 1;
    FileDialogData.lpstrFile = DocumentName;
    FileDialogData.nMaxFile = NAME_SIZE;
    FileDialogData.lpstrFileTitle = FileTitle;
    FileDialogData.nMaxFileTitle = NAME_SIZE;
    FileDialogData.lpstrDefExt = "";
}

// Replaces TextBlock by a fresh zero-filled block of `size` bytes.
static int ReplaceTextBlock(SIZE_T size)
{
    if (TextBlock != NULL) {
        LocalFree(TextBlock);
        TextBlock = NULL;
    }
    TextBlock = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    return TextBlock != NULL;
}

static void SetEmptyText(void)
{
    if (ReplaceTextBlock(1)) {
        char* text = (char*)LocalLock(TextBlock);
        SendMessageA(hwndEdit, WM_SETTEXT, 0, (LPARAM)text);
        LocalUnlock(TextBlock);
    } else {
        SendMessageA(hwndEdit, WM_SETTEXT, 0, (LPARAM)"");
    }
}


void StartEmptyDocument(void)
{
    SetEmptyText();
}

int QuerySave(HWND owner)
{
    if (!Modified)
        return 1;
    snprintf(MessageText, sizeof MessageText, "Save current changes: %s", DocumentName);
    int answer = Sys.MessageBoxA(owner, MessageText, "penrik",
                                 MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    if (answer == IDCANCEL)
        return 0;
    if (answer == IDNO)
        return IDNO;
    for (;;) {
        if (DocumentName[0] != '\0')
            return WriteDocument(owner);
        if (!ChooseFile(Sys.GetSaveFileNameA)) {
            DocumentName[0] = '\0';  // still untitled, whatever the dialog left
            return 0;
        }
    }
}

// Where the new contents are written before they take the file's place:
// a fresh file in the same folder. Empty when none can be made.
static int MakeTemporaryName(const char* target, char* temporary, size_t size)
{
    char folder[MAX_PATH];
    const char* slash = NULL;
    for (const char* p = target; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            slash = p;
    if (slash == NULL) {
        lstrcpynA(folder, ".", sizeof folder);
    } else {
        size_t length = (size_t)(slash - target) + 1;
        if (length >= sizeof folder - 14)
            return 0;
        memcpy(folder, target, length);
        folder[length] = '\0';
    }
    if (size < MAX_PATH)
        return 0;
    return GetTempFileNameA(folder, "pen", 0, temporary) != 0;
}

// Writes `length` bytes to `path` in full or not at all.
static int WriteWhole(const char* path, const char* text, DWORD length)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL ok = Sys.WriteFile(file, text, length, &written, NULL);
    if (!CloseHandle(file))
        ok = FALSE;
    return ok && written == length;
}

// Saves so that a failure at any point leaves the old file as it was:
// the text goes to a new file beside it, which then replaces it.
static int SafeWrite(const char* target, const char* text, DWORD length)
{
    DWORD attributes = GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return 0;  // a read-only file is not overwritten
    char temporary[MAX_PATH];
    if (!MakeTemporaryName(target, temporary, sizeof temporary))
        return 0;
    if (!WriteWhole(temporary, text, length)) {
        DeleteFileA(temporary);
        return 0;
    }
    if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        DeleteFileA(temporary);
        return 0;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(target, attributes);
    return 1;
}

int WriteDocument(HWND owner)
{
    int result = 0;
    DWORD length = (DWORD)SendMessageA(hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    if (ReplaceTextBlock((SIZE_T)length + 1)) {
        char* text = (char*)LocalLock(TextBlock);
        DWORD copied = (DWORD)SendMessageA(hwndEdit, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)text);
        HCURSOR previous = SetCursor(hWaitCursor);
        result = SafeWrite(DocumentName, text, copied);
        SetCursor(previous);
        LocalUnlock(TextBlock);
    }
    if (result) {
        Modified = 0;
    } else {
        snprintf(MessageText, sizeof MessageText, "Error writing to %s.", DocumentName);
        Sys.MessageBoxA(owner, MessageText, NULL, MB_ICONHAND);
    }
    return result;
}

// After a load that did not put the file's text in the control, the
// document must not keep that file's name, or a later Save would write
// the text on screen over it. Open and a drop go back to the name they
// replaced; the internal load, whose control holds no file's text,
// leaves the document untitled.
static void ForgetFailedLoad(const char* previousName)
{
    if (previousName != NULL) {
        lstrcpynA(DocumentName, previousName, NAME_SIZE);
        return;
    }
    DocumentName[0] = '\0';
    SetWindowTextA(hwndMain, UNTITLED_CAPTION);
}

// Loads DocumentName for Open and a drop (`previousName` is the name
// they replaced) or for the internal load command (NULL).
static int Load(const char* previousName)
{
    HANDLE file = CreateFileA(DocumentName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        // A name with nothing behind it, given at start-up, is a file
        // still to be made: it stays, and Save creates it.
        if (previousName == NULL && GetFileAttributesA(DocumentName) == INVALID_FILE_ATTRIBUTES)
            return 0;
        ShowFileMessage("Cannot open %s.", DocumentName, NULL, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return 0;
    }

    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    DWORD limit = (DWORD)SendMessageA(hwndEdit, EM_GETLIMITTEXT, 0, 0);
    if (high != 0 || size == INVALID_FILE_SIZE || size >= 0x7FFFFFFF || size > limit) {
        CloseHandle(file);
        ShowFileMessage("%s is too large to edit.", DocumentName, NULL, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return 0;
    }

    if (TextBlock != NULL) {
        LocalFree(TextBlock);
        TextBlock = NULL;
    }
    TextBlock = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, (SIZE_T)size + 1);
    if (TextBlock == NULL) {
        Sys.MessageBoxA(hwndMain, "Not enough memory.", NULL, MB_ICONEXCLAMATION);
        CloseHandle(file);
        ForgetFailedLoad(previousName);
        return 0;
    }

    HCURSOR previousCursor = SetCursor(hWaitCursor);
    char* text = (char*)LocalLock(TextBlock);
    DWORD read = 0;
    if (!ReadFile(file, text, size, &read, NULL))
        read = 0;
    CloseHandle(file);
    SendMessageA(hwndEdit, WM_SETTEXT, 0, (LPARAM)text);
    DWORD expected = (DWORD)lstrlenA(text);
    LocalUnlock(TextBlock);

    if (read != size) {
        SetCursor(previousCursor);
        ShowFileMessage("Error reading %s.", DocumentName, NULL, MB_ICONEXCLAMATION);
    }
    if (expected < read) {
        // The control ends the text at the first zero byte. Saving writes
        // only what it shows, so the user must know the rest is not there.
        SetCursor(previousCursor);
        ShowFileMessage("%s contains zero bytes: only the text before the first one is shown, "
                        "and saving it would drop the rest.",
                        DocumentName, NULL, MB_ICONEXCLAMATION);
    }

    if ((DWORD)SendMessageA(hwndEdit, WM_GETTEXTLENGTH, 0, 0) != expected) {
        // The control could not take the text: what it shows is not the
        // file, and the previous text is gone, so it is kept as changed
        // and untitled.
        SetCursor(previousCursor);
        ShowFileMessage("%s is too large to edit.", DocumentName, NULL, MB_ICONEXCLAMATION);
        DocumentName[0] = '\0';
        SetWindowTextA(hwndMain, UNTITLED_CAPTION);
        Modified = 1;
        return 0;
    }

    snprintf(MessageText, sizeof MessageText, "%s - %s", MAIN_TITLE, DocumentName);
    SetWindowTextA(hwndMain, MessageText);
    SetFocus(hwndEdit);
    Modified = 0;
    SetCursor(previousCursor);
    EnableCommand(IDM_COMPILE);
    EnableCommand(IDM_BUILD);
    EnableCommand(IDM_BUILDALL);
    return 1;
}

int LoadDocument(void)
{
    return Load(NULL);
}

static void FileNew(void)
{
    if (QuerySave(hwndMain) == 0)
        return;
    Modified = 0;
    DocumentName[0] = '\0';
    SetEmptyText();
    SetWindowTextA(hwndMain, UNTITLED_CAPTION);
    SetFocus(hwndEdit);
}

static void PrepareDialog(const char* title)
{
    FileDialogData.nFilterIndex = 1;
    FileDialogData.lpstrTitle = title;
    lstrcpynA(NameBackup, DocumentName, NAME_SIZE);
}

static void FileOpen(void)
{
    if (QuerySave(hwndMain) == 0)
        return;
    PrepareDialog("Open File");
    if (!ChooseFile(Sys.GetOpenFileNameA)) {
        lstrcpynA(DocumentName, NameBackup, NAME_SIZE);
        return;
    }
    Load(NameBackup);
}

static void FileOpen2nd(void)
{
    PrepareDialog("Open 2nd File");
    FileDialogData.Flags = OFN_NOCHANGEDIR;
    if (ChooseFile(Sys.GetOpenFileNameA)) {
        // This program's own executable, wherever the current folder is.
        char program[MAX_PATH];
        DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
        if (length > 0 && length < sizeof program)
            Sys.ShellExecuteA(hwndMain, NULL, program, DocumentName, "", SW_SHOW);
    }
    lstrcpynA(DocumentName, NameBackup, NAME_SIZE);
    FileDialogData.Flags = 0;
}

static void FileSaveAs(void)
{
    PrepareDialog("Save File As");
    if (!ChooseFile(Sys.GetSaveFileNameA)) {
        lstrcpynA(DocumentName, NameBackup, NAME_SIZE);
        return;
    }
    snprintf(MessageText, sizeof MessageText, "%s - %s", MAIN_TITLE, FileTitle);
    SetWindowTextA(hwndMain, MessageText);
    WriteDocument(hwndMain);
}

static void FileSave(void)
{
    if (DocumentName[0] == '\0') {
        SetFocus(hwndEdit);
        FileSaveAs();
        return;
    }
    if (Modified)
        WriteDocument(hwndMain);
    SetFocus(hwndEdit);
}

static void FileDelete(void)
{
    PrepareDialog("Delete File");
    if (!ChooseFile(Sys.GetOpenFileNameA)) {
        lstrcpynA(DocumentName, NameBackup, NAME_SIZE);
        return;
    }
    if (ShowFileMessage("DELETE: %s ?", DocumentName, "penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION) ==
        IDYES)
        DeleteFileA(DocumentName);
    lstrcpynA(DocumentName, NameBackup, NAME_SIZE);
}

void FileCommand(int commandId)
{
    switch (commandId) {
    case IDM_NEW:        FileNew(); break;
    case IDM_OPEN:       FileOpen(); break;
    case IDM_OPEN2ND:    FileOpen2nd(); break;
    case IDM_SAVE:       FileSave(); break;
    case IDM_SAVEAS:     FileSaveAs(); break;
    case IDM_DELETEFILE: FileDelete(); break;
    case IDM_LOADFILE:   LoadFailed = !LoadDocument(); break;
    }
}

void DropFiles(HDROP drop)
{
    if (DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0) == 0 || QuerySave(hwndMain) == 0) {
        DragFinish(drop);
        return;
    }
    char previous[NAME_SIZE];
    lstrcpynA(previous, DocumentName, NAME_SIZE);
    UINT length = DragQueryFileA(drop, 0, NULL, 0);
    if (length >= NAME_SIZE) {
        // Cutting the path would name another file.
        DragFinish(drop);
        Sys.MessageBoxA(hwndMain, "The dropped file's path is longer than 255 characters.", NULL,
                        MB_ICONEXCLAMATION);
        return;
    }
    DragQueryFileA(drop, 0, DocumentName, NAME_SIZE);
    DragFinish(drop);
    Load(previous);
}
