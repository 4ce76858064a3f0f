// The one document: its name, its modified flag, the text block through
// which it is read and written, and the File commands.
#include "document/document.h"

#include <cderr.h>
#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "document/filetext.h"
#include "document/linebreaks.h"
#include "document/save.h"

#define UNTITLED_CAPTION "penrik- Untitled"
// A caption or a message that names the whole file.
#define MESSAGE_SIZE (NAME_SIZE + 128)

static const char FileFilter[] =
    "All Files (*.*)\0*.*\0"
    "Executable (*.EXE)\0*.EXE\0"
    "Text Files (*.TXT)\0*.TXT\0";

static struct {
    char DocumentName[NAME_SIZE];
    char FileTitle[NAME_SIZE];
    int Modified;
    LineBreaks breaks;        // the file's own line breaks, which a save gives back
    TextEncoding encoding;    // the file's encoding, which a save writes again
    HLOCAL TextBlock;         // the file's bytes while they are read
    const char* dialogTitle;  // the last file dialog's, which the unsaved-changes question reuses
} Doc;

void ResetDocument(void)
{
    Doc.DocumentName[0] = '\0';
    Doc.FileTitle[0] = '\0';
    Doc.Modified = 0;
    Doc.breaks = BREAKS_AS_IS;
    Doc.encoding = ENCODING_ANSI;
    if (Doc.TextBlock != NULL)
        LocalFree(Doc.TextBlock);
    Doc.TextBlock = NULL;
    Doc.dialogTitle = NULL;
}

const char* DocumentName(void) { return Doc.DocumentName; }
const char* FileTitle(void) { return Doc.FileTitle; }
int Modified(void) { return Doc.Modified; }
void SetModified(int modified)
{
    Doc.Modified = modified;
    if (modified)
        NoteRecoveryChange();
}
int DocumentBreaks(void) { return Doc.breaks; }
void SetDocumentBreaks(int kind)
{
    Doc.breaks = kind == BREAKS_LF || kind == BREAKS_CR ? (LineBreaks)kind : BREAKS_AS_IS;
}
int DocumentEncoding(void) { return Doc.encoding; }
void SetDocumentEncoding(int encoding)
{
    Doc.encoding = encoding >= ENCODING_ANSI && encoding <= ENCODING_UTF16BE ? (TextEncoding)encoding : ENCODING_ANSI;
}

void SetDocumentName(const char* name)
{
    lstrcpynA(Doc.DocumentName, name, NAME_SIZE);
}

static int ShowFileMessage(const char* format, const char* name, const char* caption, UINT type)
{
    char text[MESSAGE_SIZE];
    snprintf(text, sizeof text, format, name);
    return Sys.MessageBoxA(Penrik.hwndMain, text, caption, type);
}

static void SetCaption(const char* name)
{
    char caption[MESSAGE_SIZE];
    snprintf(caption, sizeof caption, "%s - %s", MAIN_TITLE, name);
    SetWindowTextA(Penrik.hwndMain, caption);
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

int ChooseFile(FileDialogKind kind, FileChoice* choice)
{
    char title[NAME_SIZE];
    OPENFILENAMEA dialog;
    ZeroMemory(&dialog, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Penrik.hwndMain;
    dialog.lpstrFilter = FileFilter;
    dialog.nFilterIndex = choice->filterIndex;
    dialog.lpstrFile = choice->name;
    dialog.nMaxFile = NAME_SIZE;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = NAME_SIZE;
    lstrcpynA(title, Doc.FileTitle, NAME_SIZE);
    dialog.lpstrTitle = choice->title;
    dialog.Flags = choice->flags;
    dialog.lpstrDefExt = "";
    Doc.dialogTitle = choice->title;

    BOOL(WINAPI * show)(LPOPENFILENAMEA) = kind == FILE_DIALOG_SAVE ? Sys.GetSaveFileNameA : Sys.GetOpenFileNameA;
    if (show(&dialog)) {
        lstrcpynA(Doc.FileTitle, title, NAME_SIZE);
        if (!(choice->flags & OFN_NOCHANGEDIR))
            EnterFolderOf(choice->name);
        return 1;
    }
    if (Sys.CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        Sys.MessageBoxA(Penrik.hwndMain, "The file name is longer than 255 characters.", NULL,
                        MB_ICONEXCLAMATION);
    return 0;
}

// A dialog of a File command: it starts from the document's name.
static int ChooseForCommand(FileDialogKind kind, const char* title, DWORD flags, FileChoice* choice)
{
    choice->title = title;
    choice->filterIndex = 1;
    choice->flags = flags;
    lstrcpynA(choice->name, Doc.DocumentName, NAME_SIZE);
    return ChooseFile(kind, choice);
}

// Replaces TextBlock by a fresh zero-filled block of `size` bytes.
static int ReplaceTextBlock(SIZE_T size)
{
    if (Doc.TextBlock != NULL) {
        LocalFree(Doc.TextBlock);
        Doc.TextBlock = NULL;
    }
    Doc.TextBlock = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    return Doc.TextBlock != NULL;
}

static void SetEmptyText(void)
{
    ReplaceTextBlock(1);
    SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)L"");
}

static CopiedDocument Copied(void)
{
    CopiedDocument document = {Doc.DocumentName, Doc.breaks, Doc.encoding, Doc.Modified};
    return document;
}

void RecoveryTimer(void) { RecoveryTick(Copied()); }
void WriteRecoveryCopy(int wait) { CopyForRecovery(Copied(), wait); }

// The document holds `name`'s file as it is on disk: the copy of unsaved
// changes that an ended editor left for it, if the user takes it, becomes
// the control's text, unsaved.
static void OfferRecovery(const char* name)
{
    RecoveredText found;
    if (!TakeRecoveryCopy(name, &found))
        return;
    if (SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)found.text)) {
        SetDocumentBreaks(found.breaks);
        SetDocumentEncoding(found.encoding);
        SetModified(1);
        AdoptRecoveryCopy(found);
    } else {
        // The copy stays for another try.
        Sys.MessageBoxA(Penrik.hwndMain, "The recovered text is too large to edit: nothing was recovered.",
                        "Penrik", MB_ICONEXCLAMATION);
    }
    FreeRecoveredText(&found);
}

void StartEmptyDocument(void)
{
    SetEmptyText();
    OfferRecovery("");
}

static int WriteDocument(HWND owner);

int QuerySave(HWND owner)
{
    if (!Doc.Modified)
        return 1;
    char text[MESSAGE_SIZE];
    snprintf(text, sizeof text, "Save current changes: %s", Doc.DocumentName);
    int answer = Sys.MessageBoxA(owner, text, "penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    if (answer == IDNO)
        return IDNO;
    if (answer != IDYES)
        return 0;  // Cancel, or a box that could not be shown
    if (Doc.DocumentName[0] == '\0') {
        // The save dialog of the last file command, as it left it.
        FileChoice choice;
        choice.title = Doc.dialogTitle;
        choice.filterIndex = 1;
        choice.flags = 0;
        choice.name[0] = '\0';
        if (!ChooseFile(FILE_DIALOG_SAVE, &choice))
            return 0;
        SetDocumentName(choice.name);
    }
    return WriteDocument(owner);
}

// A document in the code page holds characters that the code page lacks:
// the user says whether to save it as UTF-8 instead (IDYES, and it is
// UTF-8 from then on), in the code page with those characters replaced
// (IDNO), or not at all (anything else).
static int AskForUtf8(HWND owner)
{
    char text[MESSAGE_SIZE];
    snprintf(text, sizeof text, "%s contains characters that the ANSI code page cannot hold. Save it as UTF-8?",
             Doc.DocumentName[0] != '\0' ? Doc.DocumentName : "Untitled");
    return Sys.MessageBoxA(owner, text, "Penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
}

// The control's text as the file's bytes, in a block the caller frees;
// 0 when the save is not to go on (`stopped` then says whether the user
// stopped it, rather than memory running out).
static int FileBytesOfText(HWND owner, HLOCAL* bytes, size_t* length, int* stopped)
{
    *stopped = 0;
    DWORD count = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    HLOCAL block = Sys.LocalAlloc(LMEM_MOVEABLE, ((SIZE_T)count + 1) * sizeof(wchar_t));
    if (block == NULL)
        return 0;
    wchar_t* text = (wchar_t*)LocalLock(block);
    size_t copied = (size_t)SendMessageW(Penrik.hwndEdit, WM_GETTEXT, (WPARAM)count + 1, (LPARAM)text);
    copied = FromControlBreaks(text, copied, Doc.breaks);
    int lossy = 0;
    int made = EncodeFileText(text, copied, Doc.encoding, bytes, length, &lossy);
    if (made && lossy) {
        int answer = AskForUtf8(owner);
        if (answer == IDYES) {
            LocalFree(*bytes);
            Doc.encoding = ENCODING_UTF8;
            made = EncodeFileText(text, copied, Doc.encoding, bytes, length, &lossy);
        } else if (answer != IDNO) {
            LocalFree(*bytes);
            *bytes = NULL;
            made = 0;
            *stopped = 1;
        }
    }
    LocalUnlock(block);
    LocalFree(block);
    return made;
}

static int WriteDocument(HWND owner)
{
    int result = 0;
    char kept[MAX_PATH] = "";
    HLOCAL bytes = NULL;
    size_t length = 0;
    int stopped = 0;
    if (FileBytesOfText(owner, &bytes, &length, &stopped)) {
        HCURSOR previous = SetCursor(LoadCursorA(NULL, IDC_WAIT));
        result = SaveFileBytes(Doc.DocumentName, (const char*)LocalLock(bytes), (DWORD)length, kept);
        SetCursor(previous);
        LocalUnlock(bytes);
        LocalFree(bytes);
    }
    if (result) {
        Doc.Modified = 0;
        DropRecoveryCopy();
    } else if (!stopped) {
        char message[MESSAGE_SIZE + MAX_PATH];
        if (kept[0] != '\0')
            snprintf(message, sizeof message, "Error writing to %s. Its old contents are in %s.", Doc.DocumentName,
                     kept);
        else
            snprintf(message, sizeof message, "Error writing to %s.", Doc.DocumentName);
        Sys.MessageBoxA(owner, message, NULL, MB_ICONHAND);
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
        SetDocumentName(previousName);
        return;
    }
    Doc.DocumentName[0] = '\0';
    SetWindowTextA(Penrik.hwndMain, UNTITLED_CAPTION);
}

// Loads DocumentName for Open and a drop (`previousName` is the name
// they replaced) or for the internal load command (NULL).
static int Load(const char* previousName)
{
    HANDLE file = CreateFileA(Doc.DocumentName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        // A name with nothing behind it, given at start-up, is a file
        // still to be made: it stays, and Save creates it.
        if (previousName == NULL && GetFileAttributesA(Doc.DocumentName) == INVALID_FILE_ATTRIBUTES) {
            if (Doc.DocumentName[0] != '\0')
                OfferRecovery(Doc.DocumentName);
            return 0;
        }
        ShowFileMessage("Cannot open %s.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return 0;
    }

    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    DWORD limit = (DWORD)SendMessageA(Penrik.hwndEdit, EM_GETLIMITTEXT, 0, 0);
    if (high != 0 || size == INVALID_FILE_SIZE || size >= 0x7FFFFFFF || size > limit) {
        CloseHandle(file);
        ShowFileMessage("%s is too large to edit.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return 0;
    }

    if (!ReplaceTextBlock((SIZE_T)size + 1)) {
        Sys.MessageBoxA(Penrik.hwndMain, "Not enough memory.", NULL, MB_ICONEXCLAMATION);
        CloseHandle(file);
        ForgetFailedLoad(previousName);
        return 0;
    }

    HCURSOR previousCursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    char* bytes = (char*)LocalLock(Doc.TextBlock);
    DWORD read = 0;
    if (!Sys.ReadFile(file, bytes, size, &read, NULL) && read > size)
        read = 0;
    CloseHandle(file);
    ControlText decoded;
    int made = DecodeFileText(bytes, read, &decoded);
    LocalUnlock(Doc.TextBlock);
    LocalFree(Doc.TextBlock);  // the bytes are not needed once they are characters
    Doc.TextBlock = NULL;
    if (!made) {
        SetCursor(previousCursor);
        Sys.MessageBoxA(Penrik.hwndMain, "Not enough memory.", NULL, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return 0;
    }
    SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)LocalLock(decoded.block));
    LocalUnlock(decoded.block);
    LocalFree(decoded.block);
    DWORD shown = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    LineBreaks breaks = decoded.breaks;

    if (read != size) {
        SetCursor(previousCursor);
        ShowFileMessage("Error reading %s.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }
    if (decoded.cutAtZero) {
        // The control ends the text at the first zero character. Saving
        // writes only what it shows, so the user must know the rest is not there.
        SetCursor(previousCursor);
        ShowFileMessage("%s contains zero bytes: only the text before the first one is shown, "
                        "and saving it would drop the rest.",
                        Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }

    if (decoded.notKept) {
        // Bytes that the code page makes no character of (a stray lead
        // byte of a double-byte code page, or a byte it leaves unassigned)
        // would come back as other bytes.
        SetCursor(previousCursor);
        ShowFileMessage("%s contains bytes that this system's code page cannot show: they are shown as "
                        "other characters, and saving the file would change those bytes.",
                        Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }

    int refused = shown == 0 && decoded.length != 0;
    if (refused) {
        // The control could not take the text, and the previous text is gone.
        SetCursor(previousCursor);
        ShowFileMessage("%s is too large to edit.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }
    if (refused || read != size) {
        // What the control shows is not the file: it is kept as changed
        // and untitled, so that no save can cut the file to it unless the
        // user names the file again.
        SetCursor(previousCursor);
        Doc.DocumentName[0] = '\0';
        SetWindowTextA(Penrik.hwndMain, UNTITLED_CAPTION);
        Doc.breaks = refused ? BREAKS_AS_IS : breaks;
        Doc.encoding = refused ? ENCODING_ANSI : decoded.encoding;
        DropRecoveryCopy();
        SetModified(1);
        return 0;
    }

    Doc.breaks = breaks;
    Doc.encoding = decoded.encoding;
    SetCaption(Doc.DocumentName);
    SetFocus(Penrik.hwndEdit);
    Doc.Modified = 0;
    SetCursor(previousCursor);
    OfferRecovery(Doc.DocumentName);
    return 1;
}

int LoadDocument(void)
{
    return Load(NULL);
}

static void FileNew(void)
{
    if (QuerySave(Penrik.hwndMain) == 0)
        return;
    Doc.Modified = 0;
    Doc.DocumentName[0] = '\0';
    Doc.breaks = BREAKS_AS_IS;
    Doc.encoding = ENCODING_ANSI;
    SetEmptyText();
    DropRecoveryCopy();
    SetWindowTextA(Penrik.hwndMain, UNTITLED_CAPTION);
    SetFocus(Penrik.hwndEdit);
}

static int FileOpen(void)
{
    if (QuerySave(Penrik.hwndMain) == 0)
        return 0;
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_OPEN, "Open File", 0, &choice))
        return 0;
    char previous[NAME_SIZE];
    lstrcpynA(previous, Doc.DocumentName, NAME_SIZE);
    SetDocumentName(choice.name);
    return Load(previous);
}

static void FileOpen2nd(void)
{
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_OPEN, "Open 2nd File", OFN_NOCHANGEDIR, &choice))
        return;
    // This program's own executable, wherever the current folder is.
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, program, sizeof program);
    if (length > 0 && length < sizeof program)
        Sys.ShellExecuteA(Penrik.hwndMain, NULL, program, choice.name, "", SW_SHOW);
}

static void FileSaveAs(void)
{
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_SAVE, "Save File As", 0, &choice))
        return;
    SetDocumentName(choice.name);
    SetCaption(Doc.FileTitle);
    WriteDocument(Penrik.hwndMain);
}

static void FileSave(void)
{
    if (Doc.DocumentName[0] == '\0') {
        SetFocus(Penrik.hwndEdit);
        FileSaveAs();
        return;
    }
    if (Doc.Modified)
        WriteDocument(Penrik.hwndMain);
    SetFocus(Penrik.hwndEdit);
}

static void FileDelete(void)
{
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_OPEN, "Delete File", 0, &choice))
        return;
    // Only a Yes deletes: a box that could not be shown answers 0.
    if (ShowFileMessage("DELETE: %s ?", choice.name, "penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION) == IDYES)
        DeleteFileA(choice.name);
}

int FileCommand(int commandId)
{
    switch (commandId) {
    case IDM_NEW:        FileNew(); break;
    case IDM_OPEN:       return FileOpen();
    case IDM_OPEN2ND:    FileOpen2nd(); break;
    case IDM_SAVE:       FileSave(); break;
    case IDM_SAVEAS:     FileSaveAs(); break;
    case IDM_DELETEFILE: FileDelete(); break;
    case IDM_LOADFILE:   return LoadDocument();
    }
    return 0;
}

int DropFiles(HDROP drop)
{
    if (DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0) == 0 || QuerySave(Penrik.hwndMain) == 0) {
        DragFinish(drop);
        return 0;
    }
    UINT length = DragQueryFileA(drop, 0, NULL, 0);
    if (length >= NAME_SIZE) {
        // Cutting the path would name another file.
        DragFinish(drop);
        Sys.MessageBoxA(Penrik.hwndMain, "The dropped file's path is longer than 255 characters.", NULL,
                        MB_ICONEXCLAMATION);
        return 0;
    }
    char previous[NAME_SIZE];
    lstrcpynA(previous, Doc.DocumentName, NAME_SIZE);
    DragQueryFileA(drop, 0, Doc.DocumentName, NAME_SIZE);
    DragFinish(drop);
    return Load(previous);
}
