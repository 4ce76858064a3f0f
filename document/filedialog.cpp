#include "document/filedialog.h"

#include <cderr.h>
#include <commdlg.h>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"

static const wchar_t FileFilter[] =
    L"All Files (*.*)\0*.*\0"
    L"Executable (*.EXE)\0*.EXE\0"
    L"Text Files (*.TXT)\0*.TXT\0";

static struct {
    wchar_t fileTitle[NAME_SIZE];
    const wchar_t* title;
} Dialog;

const wchar_t* FileTitle(void) { return Dialog.fileTitle; }
const wchar_t* LastDialogTitle(void) { return Dialog.title; }

void ResetFileDialog(void)
{
    Dialog.fileTitle[0] = 0;
    Dialog.title = NULL;
}

// Wine's dialogs leave the current folder alone when a full path is
// typed; the build commands rely on it being the chosen file's.
static bool EnterFolderOf(const wchar_t* path)
{
    wchar_t folder[NAME_SIZE];
    lstrcpynW(folder, path, NAME_SIZE);
    wchar_t* end = NULL;
    for (wchar_t* p = folder; *p != 0; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            end = p + 1;
    if (end == NULL)
        return false;
    *end = 0;
    return SetCurrentDirectoryW(folder) != FALSE;
}

bool ChooseFile(FileDialogKind kind, FileChoice* choice)
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
    lstrcpynW(title, Dialog.fileTitle, NAME_SIZE);
    dialog.lpstrTitle = choice->title;
    dialog.Flags = choice->flags;
    dialog.lpstrDefExt = L"";
    Dialog.title = choice->title;

    BOOL(WINAPI * show)(LPOPENFILENAMEW) = kind == FILE_DIALOG_SAVE ? Sys.GetSaveFileNameW : Sys.GetOpenFileNameW;
    if (show(&dialog)) {
        lstrcpynW(Dialog.fileTitle, title, NAME_SIZE);
        if (!(choice->flags & OFN_NOCHANGEDIR))
            EnterFolderOf(choice->name);
        return true;
    }
    if (Sys.CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        ShowMessage(Penrik.hwndMain, IDS_NAME_TOO_LONG, 0, MB_ICONEXCLAMATION);
    return false;
}
