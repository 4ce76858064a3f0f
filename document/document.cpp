// The one document: its name, its modified flag, the text block through
// which it is read and written, and the File commands.
#include "document/document.h"

#include <cderr.h>
#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/filetext.h"
#include "document/linebreaks.h"
#include "document/save.h"

#define UNTITLED_CAPTION "penrik- Untitled"
// A caption or a message that names the whole file.
#define MESSAGE_SIZE (NAME_SIZE + 256)

static const wchar_t FileFilter[] =
    L"All Files (*.*)\0*.*\0"
    L"Executable (*.EXE)\0*.EXE\0"
    L"Text Files (*.TXT)\0*.TXT\0";

static struct {
    wchar_t DocumentName[NAME_SIZE];  // in characters: names of any script
    wchar_t FileTitle[NAME_SIZE];
    int Modified;
    LineBreaks breaks;        // the file's own line breaks, which a save gives back
    TextEncoding encoding;    // the file's encoding, which a save writes again
    HLOCAL TextBlock;         // the file's bytes while they are read
    const wchar_t* dialogTitle;  // the last file dialog's, which the unsaved-changes question reuses
} Doc;

void ResetDocument(void)
{
    Doc.DocumentName[0] = 0;
    Doc.FileTitle[0] = 0;
    Doc.Modified = 0;
    Doc.breaks = BREAKS_AS_IS;
    Doc.encoding = ENCODING_ANSI;
    if (Doc.TextBlock != NULL)
        LocalFree(Doc.TextBlock);
    Doc.TextBlock = NULL;
    Doc.dialogTitle = NULL;
}

const wchar_t* DocumentName(void) { return Doc.DocumentName; }
const wchar_t* FileTitle(void) { return Doc.FileTitle; }
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

void SetDocumentName(const wchar_t* name)
{
    lstrcpynW(Doc.DocumentName, name, NAME_SIZE);
}

int ShowFileMessage(const wchar_t* format, const wchar_t* name, const wchar_t* caption, UINT type)
{
    wchar_t text[MESSAGE_SIZE];
    swprintf(text, MESSAGE_SIZE, format, name);
    return Sys.MessageBoxW(Penrik.hwndMain, text, caption, type);
}

// Whether `name` can only mean the file it spells. Windows drops a
// trailing dot or blank (and so reaches another file), takes CON, COM1 and
// their kind in any folder for devices, and passes a \\?\ or \\.\ name
// on unchecked; a lone surrogate is no character at all.
int UsableName(const wchar_t* name)
{
    static const struct { const wchar_t* name; bool numbered; } Devices[] = {
        {L"CON", false}, {L"PRN", false}, {L"AUX", false}, {L"NUL", false}, {L"COM", true}, {L"LPT", true},
    };
    if (name[0] == '\\' && name[1] == '\\' && (name[2] == '?' || name[2] == '.') && name[3] == '\\')
        return 0;
    const wchar_t* last = name;
    size_t length = 0;
    for (const wchar_t* p = name; *p != 0; ++p, ++length) {
        if (*p >= 0xD800 && *p <= 0xDBFF) {
            if (p[1] < 0xDC00 || p[1] > 0xDFFF)
                return 0;
            ++p;
            ++length;
        } else if (*p >= 0xDC00 && *p <= 0xDFFF) {
            return 0;
        }
        if (*p == '\\' || *p == '/' || *p == ':')
            last = p + 1;
    }
    if (length > 0 && (name[length - 1] == '.' || name[length - 1] == ' '))
        return 0;
    // A device's name, alone or before an extension: CON, nul.txt, COM1.
    size_t stem = 0;
    while (last[stem] != 0 && last[stem] != '.')
        ++stem;
    while (stem > 0 && last[stem - 1] == ' ')
        --stem;
    for (const auto& device : Devices) {
        if (stem < 3 || CompareStringOrdinal(last, 3, device.name, 3, TRUE) != CSTR_EQUAL)
            continue;
        if (stem == 3 && !device.numbered)
            return 0;
        if (stem == 4 && device.numbered && last[3] >= '1' && last[3] <= '9')
            return 0;
    }
    return 1;
}

// Says that the name is none of a file's; returns 0.
static int RefuseName(const wchar_t* name)
{
    ShowFileMessage(L"%ls is not the name of a file.", name, NULL, MB_ICONEXCLAMATION);
    return 0;
}

static void SetCaption(const wchar_t* name)
{
    wchar_t caption[MESSAGE_SIZE];
    swprintf(caption, MESSAGE_SIZE, L"%ls - %ls", L"" MAIN_TITLE, name);
    SetWindowTextW(Penrik.hwndMain, caption);
}

// Wine's dialogs leave the current folder alone when a full path is
// typed; the build commands rely on it being the chosen file's.
static int EnterFolderOf(const wchar_t* path)
{
    wchar_t folder[NAME_SIZE];
    lstrcpynW(folder, path, NAME_SIZE);
    wchar_t* end = NULL;
    for (wchar_t* p = folder; *p != 0; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            end = p + 1;
    if (end == NULL)
        return 0;
    *end = 0;
    return SetCurrentDirectoryW(folder) != FALSE;
}

int ChooseFile(FileDialogKind kind, FileChoice* choice)
{
    wchar_t title[NAME_SIZE];
    OPENFILENAMEW dialog;
    ZeroMemory(&dialog, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Penrik.hwndMain;
    dialog.lpstrFilter = FileFilter;
    dialog.nFilterIndex = choice->filterIndex;
    dialog.lpstrFile = choice->name;
    dialog.nMaxFile = NAME_SIZE;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = NAME_SIZE;
    lstrcpynW(title, Doc.FileTitle, NAME_SIZE);
    dialog.lpstrTitle = choice->title;
    dialog.Flags = choice->flags;
    dialog.lpstrDefExt = L"";
    Doc.dialogTitle = choice->title;

    BOOL(WINAPI * show)(LPOPENFILENAMEW) = kind == FILE_DIALOG_SAVE ? Sys.GetSaveFileNameW : Sys.GetOpenFileNameW;
    if (show(&dialog)) {
        lstrcpynW(Doc.FileTitle, title, NAME_SIZE);
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
static int ChooseForCommand(FileDialogKind kind, const wchar_t* title, DWORD flags, FileChoice* choice)
{
    choice->title = title;
    choice->filterIndex = 1;
    choice->flags = flags;
    lstrcpynW(choice->name, Doc.DocumentName, NAME_SIZE);
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
static void OfferRecovery(const wchar_t* name)
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
    OfferRecovery(L"");
}

static int WriteDocument(HWND owner);

SaveAnswer QuerySave(HWND owner)
{
    if (!Doc.Modified)
        return SAVE_DONE;
    wchar_t text[MESSAGE_SIZE];
    swprintf(text, MESSAGE_SIZE, L"Save current changes: %ls", Doc.DocumentName);
    int answer = Sys.MessageBoxW(owner, text, L"penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND);
    if (answer == IDNO)
        return SAVE_DROPPED;
    if (answer != IDYES)
        return SAVE_STOPPED;  // Cancel, or a box that could not be shown
    if (Doc.DocumentName[0] == 0) {
        // The save dialog of the last file command, as it left it.
        FileChoice choice;
        choice.title = Doc.dialogTitle;
        choice.filterIndex = 1;
        choice.flags = 0;
        choice.name[0] = 0;
        if (!ChooseFile(FILE_DIALOG_SAVE, &choice))
            return SAVE_STOPPED;
        if (!UsableName(choice.name)) {
            RefuseName(choice.name);
            return SAVE_STOPPED;
        }
        SetDocumentName(choice.name);
    }
    return WriteDocument(owner) ? SAVE_DONE : SAVE_STOPPED;
}

// A document in the code page holds characters that the code page lacks:
// the user says whether to save it as UTF-8 instead (IDYES, and it is
// UTF-8 from then on), in the code page with those characters replaced
// (IDNO), or not at all (anything else).
static int AskForUtf8(HWND owner)
{
    wchar_t text[MESSAGE_SIZE];
    swprintf(text, MESSAGE_SIZE, L"%ls contains characters that the ANSI code page cannot hold. Save it as UTF-8?",
             Doc.DocumentName[0] != 0 ? Doc.DocumentName : L"Untitled");
    return Sys.MessageBoxW(owner, text, L"Penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
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
    wchar_t kept[MAX_PATH] = L"";
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
        wchar_t message[MESSAGE_SIZE + MAX_PATH];
        if (kept[0] != 0)
            swprintf(message, MESSAGE_SIZE + MAX_PATH, L"Error writing to %ls. Its old contents are in %ls.",
                     Doc.DocumentName, kept);
        else
            swprintf(message, MESSAGE_SIZE + MAX_PATH, L"Error writing to %ls.", Doc.DocumentName);
        Sys.MessageBoxW(owner, message, NULL, MB_ICONHAND);
    }
    return result;
}

// After a load that did not put the file's text in the control, the
// document must not keep that file's name, or a later Save would write
// the text on screen over it. Open and a drop go back to the name they
// replaced; the internal load, whose control holds no file's text,
// leaves the document untitled.
static void ForgetFailedLoad(const wchar_t* previousName)
{
    if (previousName != NULL) {
        SetDocumentName(previousName);
        return;
    }
    Doc.DocumentName[0] = 0;
    SetWindowTextA(Penrik.hwndMain, UNTITLED_CAPTION);
}

// Loads DocumentName for Open and a drop (`previousName` is the name
// they replaced) or for the internal load command (NULL).
static int Load(const wchar_t* previousName)
{
    if (!UsableName(Doc.DocumentName)) {
        RefuseName(Doc.DocumentName);
        ForgetFailedLoad(previousName);
        return 0;
    }
    HANDLE file = CreateFileW(Doc.DocumentName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        // A name with nothing behind it, given at start-up, is a file
        // still to be made: it stays, and Save creates it.
        if (previousName == NULL && GetFileAttributesW(Doc.DocumentName) == INVALID_FILE_ATTRIBUTES) {
            if (Doc.DocumentName[0] != 0)
                OfferRecovery(Doc.DocumentName);
            return 0;
        }
        ShowFileMessage(L"Cannot open %ls.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
        ForgetFailedLoad(previousName);
        return 0;
    }

    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    DWORD limit = (DWORD)SendMessageA(Penrik.hwndEdit, EM_GETLIMITTEXT, 0, 0);
    if (high != 0 || size == INVALID_FILE_SIZE || size >= 0x7FFFFFFF || size > limit) {
        CloseHandle(file);
        ShowFileMessage(L"%ls is too large to edit.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
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
        ShowFileMessage(L"Error reading %ls.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }
    if (decoded.cutAtZero) {
        // The control ends the text at the first zero character. Saving
        // writes only what it shows, so the user must know the rest is not there.
        SetCursor(previousCursor);
        ShowFileMessage(L"%ls contains zero bytes: only the text before the first one is shown, "
                        L"and saving it would drop the rest.",
                        Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }

    if (decoded.notKept) {
        // Bytes that the code page makes no character of (a stray lead
        // byte of a double-byte code page, or a byte it leaves unassigned)
        // would come back as other bytes.
        SetCursor(previousCursor);
        ShowFileMessage(L"%ls contains bytes that this system's code page cannot show: they are shown as "
                        L"other characters, and saving the file would change those bytes.",
                        Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }

    int refused = shown == 0 && decoded.length != 0;
    if (refused) {
        // The control could not take the text, and the previous text is gone.
        SetCursor(previousCursor);
        ShowFileMessage(L"%ls is too large to edit.", Doc.DocumentName, NULL, MB_ICONEXCLAMATION);
    }
    if (refused || read != size) {
        // What the control shows is not the file: it is kept as changed
        // and untitled, so that no save can cut the file to it unless the
        // user names the file again.
        SetCursor(previousCursor);
        Doc.DocumentName[0] = 0;
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
    Doc.DocumentName[0] = 0;
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
    if (!ChooseForCommand(FILE_DIALOG_OPEN, L"Open File", 0, &choice))
        return 0;
    wchar_t previous[NAME_SIZE];
    lstrcpynW(previous, Doc.DocumentName, NAME_SIZE);
    SetDocumentName(choice.name);
    return Load(previous);
}

static void FileOpen2nd(void)
{
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_OPEN, L"Open 2nd File", OFN_NOCHANGEDIR, &choice))
        return;
    // This program's own executable, wherever the current folder is.
    wchar_t program[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, program, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        Sys.ShellExecuteW(Penrik.hwndMain, NULL, program, choice.name, L"", SW_SHOW);
}

static void FileSaveAs(void)
{
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_SAVE, L"Save File As", 0, &choice))
        return;
    if (!UsableName(choice.name)) {
        RefuseName(choice.name);
        return;
    }
    SetDocumentName(choice.name);
    SetCaption(Doc.FileTitle);
    WriteDocument(Penrik.hwndMain);
}

static void FileSave(void)
{
    if (Doc.DocumentName[0] == 0) {
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
    if (!ChooseForCommand(FILE_DIALOG_OPEN, L"Delete File", 0, &choice))
        return;
    // Only a Yes deletes: a box that could not be shown answers 0.
    if (ShowFileMessage(L"DELETE: %ls ?", choice.name, L"penrik", MB_YESNOCANCEL | MB_ICONEXCLAMATION) == IDYES)
        DeleteFileW(choice.name);
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
    if (DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0) == 0 || QuerySave(Penrik.hwndMain) == 0) {
        DragFinish(drop);
        return 0;
    }
    UINT length = DragQueryFileW(drop, 0, NULL, 0);
    if (length >= NAME_SIZE) {
        // Cutting the path would name another file.
        DragFinish(drop);
        Sys.MessageBoxA(Penrik.hwndMain, "The dropped file's path is longer than 255 characters.", NULL,
                        MB_ICONEXCLAMATION);
        return 0;
    }
    wchar_t previous[NAME_SIZE];
    lstrcpynW(previous, Doc.DocumentName, NAME_SIZE);
    DragQueryFileW(drop, 0, Doc.DocumentName, NAME_SIZE);
    DragFinish(drop);
    return Load(previous);
}
