// The File commands and a dropped file.
#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/state.h"

// A dialog of a File command: it starts from the document's name.
static bool ChooseForCommand(FileDialogKind kind, const wchar_t* title, DWORD flags, FileChoice* choice)
{
    choice->title = title;
    choice->filterIndex = 1;
    choice->flags = flags;
    lstrcpynW(choice->name, Doc.name, NAME_SIZE);
    return ChooseFile(kind, choice);
}

static void FileNew(void)
{
    if (QuerySave(Penrik.hwndMain) == SAVE_STOPPED)
        return;
    Doc.modified = false;
    Doc.breaks = BREAKS_AS_IS;
    Doc.encoding = ENCODING_ANSI;
    SetEmptyText();
    DropRecoveryCopy();
    ForgetName();
    SetFocus(Penrik.hwndEdit);
}

static bool FileOpen(void)
{
    if (QuerySave(Penrik.hwndMain) == SAVE_STOPPED)
        return false;
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_OPEN, L"Open File", 0, &choice))
        return false;
    wchar_t previous[NAME_SIZE];
    lstrcpynW(previous, Doc.name, NAME_SIZE);
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
    SetCaption(FileTitle());
    WriteDocument(Penrik.hwndMain);
}

static void FileSave(void)
{
    if (Doc.name[0] == 0) {
        SetFocus(Penrik.hwndEdit);
        FileSaveAs();
        return;
    }
    if (Doc.modified)
        WriteDocument(Penrik.hwndMain);
    SetFocus(Penrik.hwndEdit);
}

static void FileDelete(void)
{
    FileChoice choice;
    if (!ChooseForCommand(FILE_DIALOG_OPEN, L"Delete File", 0, &choice))
        return;
    // Only a Yes deletes: a box that could not be shown answers 0.
    if (ShowMessage(Penrik.hwndMain, IDS_DELETE_FILE, IDS_CAPTION_PENRIK_LOWER, MB_YESNOCANCEL | MB_ICONEXCLAMATION,
                    choice.name) == IDYES)
        DeleteFileW(choice.name);
}

bool FileCommand(int commandId)
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
    return false;
}

bool OpenDocument(const wchar_t* name)
{
    if (QuerySave(Penrik.hwndMain) == SAVE_STOPPED)
        return false;
    if (lstrlenW(name) >= NAME_SIZE) {
        RefuseName(name);
        return false;
    }
    wchar_t previous[NAME_SIZE];
    lstrcpynW(previous, Doc.name, NAME_SIZE);
    SetDocumentName(name);
    return Load(previous);
}

bool DropFiles(HDROP drop)
{
    if (DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0) == 0 || QuerySave(Penrik.hwndMain) == SAVE_STOPPED) {
        DragFinish(drop);
        return false;
    }
    UINT length = DragQueryFileW(drop, 0, NULL, 0);
    if (length >= NAME_SIZE) {
        // Cutting the path would name another file.
        DragFinish(drop);
        ShowMessage(Penrik.hwndMain, IDS_DROPPED_NAME_TOO_LONG, 0, MB_ICONEXCLAMATION);
        return false;
    }
    wchar_t previous[NAME_SIZE];
    lstrcpynW(previous, Doc.name, NAME_SIZE);
    DragQueryFileW(drop, 0, Doc.name, NAME_SIZE);
    DragFinish(drop);
    return Load(previous);
}
