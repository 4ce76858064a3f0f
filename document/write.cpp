// Saving the document: the unsaved-changes question and the write of the
// control's text in the file's own encoding and line breaks.
#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/filetext.h"
#include "document/save.h"
#include "document/state.h"

SaveAnswer QuerySave(HWND owner)
{
    if (!Doc.modified)
        return SAVE_DONE;
    int answer = ShowMessage(owner, IDS_SAVE_CHANGES, IDS_CAPTION_PENRIK_LOWER,
                             MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND, Doc.name);
    if (answer == IDNO)
        return SAVE_DROPPED;
    if (answer != IDYES)
        return SAVE_STOPPED;  // Cancel, or a box that could not be shown
    if (Doc.name[0] == 0) {
        // The save dialog of the last file command, as it left it.
        FileChoice choice;
        choice.title = LastDialogTitle();
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
    wchar_t untitled[32];
    MessageText(untitled, 32, IDS_UNTITLED);
    return ShowMessage(owner, IDS_SAVE_AS_UTF8, IDS_CAPTION_PENRIK, MB_YESNOCANCEL | MB_ICONEXCLAMATION,
                       Doc.name[0] != 0 ? Doc.name : untitled);
}

// The control's text as the file's bytes, in a block the caller frees;
// false when the save is not to go on (`stopped` then says whether the
// user stopped it, rather than memory running out).
static bool FileBytesOfText(HWND owner, HLOCAL* bytes, size_t* length, bool* stopped)
{
    *stopped = false;
    DWORD count = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    HLOCAL block = Sys.LocalAlloc(LMEM_MOVEABLE, ((SIZE_T)count + 1) * sizeof(wchar_t));
    if (block == NULL)
        return false;
    wchar_t* text = (wchar_t*)LocalLock(block);
    size_t copied = (size_t)SendMessageW(Penrik.hwndEdit, WM_GETTEXT, (WPARAM)count + 1, (LPARAM)text);
    copied = FromControlBreaks(text, copied, Doc.breaks);
    bool lossy = false;
    bool made = EncodeFileText(text, copied, Doc.encoding, bytes, length, &lossy);
    if (made && lossy) {
        int answer = AskForUtf8(owner);
        if (answer == IDYES) {
            LocalFree(*bytes);
            Doc.encoding = ENCODING_UTF8;
            made = EncodeFileText(text, copied, Doc.encoding, bytes, length, &lossy);
        } else if (answer != IDNO) {
            LocalFree(*bytes);
            *bytes = NULL;
            made = false;
            *stopped = true;
        }
    }
    LocalUnlock(block);
    LocalFree(block);
    return made;
}

bool WriteDocument(HWND owner)
{
    bool saved = false;
    wchar_t kept[MAX_PATH] = L"";
    HLOCAL bytes = NULL;
    size_t length = 0;
    bool stopped = false;
    if (FileBytesOfText(owner, &bytes, &length, &stopped)) {
        HCURSOR previous = SetCursor(LoadCursorA(NULL, IDC_WAIT));
        saved = SaveFileBytes(Doc.name, (const char*)LocalLock(bytes), (DWORD)length, kept);
        SetCursor(previous);
        LocalUnlock(bytes);
        LocalFree(bytes);
    }
    if (saved) {
        Doc.modified = false;
        DropRecoveryCopy();
    } else if (!stopped) {
        if (kept[0] != 0)
            ShowMessage(owner, IDS_WRITE_ERROR_KEPT, 0, MB_ICONHAND, Doc.name, kept);
        else
            ShowMessage(owner, IDS_WRITE_ERROR, 0, MB_ICONHAND, Doc.name);
    }
    return saved;
}
