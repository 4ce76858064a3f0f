// The one document: its name, whether it has unsaved changes, the text
// block through which it is read, and its recovery copies.
#include "document/document.h"

#include <stdio.h>

#include "base/editor_messages.h"
#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/state.h"

DocumentState Doc;

void ResetDocument(void)
{
    Doc.name[0] = 0;
    Doc.modified = false;
    Doc.breaks = BREAKS_AS_IS;
    Doc.encoding = ENCODING_ANSI;
    if (Doc.textBlock != NULL)
        LocalFree(Doc.textBlock);
    Doc.textBlock = NULL;
    ResetFileDialog();
}

const wchar_t* DocumentName(void) { return Doc.name; }
bool Modified(void) { return Doc.modified; }
void SetModified(bool modified)
{
    Doc.modified = modified;
    if (modified)
        NoteRecoveryChange();
}
LineBreaks DocumentBreaks(void) { return Doc.breaks; }
TextEncoding DocumentEncoding(void) { return Doc.encoding; }

void SetDocumentName(const wchar_t* name)
{
    lstrcpynW(Doc.name, name, NAME_SIZE);
}

void RefuseName(const wchar_t* name)
{
    ShowMessage(Penrik.hwndMain, IDS_NOT_A_FILE_NAME, 0, MB_ICONEXCLAMATION, name);
}

void SetCaption(const wchar_t* name)
{
    wchar_t caption[CAPTION_SIZE];
    swprintf(caption, CAPTION_SIZE, L"%ls - %ls", L"" MAIN_TITLE, name);
    SetWindowTextW(Penrik.hwndMain, caption);
}

void ForgetName(void)
{
    Doc.name[0] = 0;
    SetWindowTextA(Penrik.hwndMain, UNTITLED_CAPTION);
}

bool ReplaceTextBlock(SIZE_T size)
{
    if (Doc.textBlock != NULL) {
        LocalFree(Doc.textBlock);
        Doc.textBlock = NULL;
    }
    Doc.textBlock = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, size);
    return Doc.textBlock != NULL;
}

void SetEmptyText(void)
{
    ReplaceTextBlock(1);
    SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)L"");
}

static CopiedDocument Copied(void)
{
    CopiedDocument document = {Doc.name, Doc.breaks, Doc.encoding, Doc.modified};
    return document;
}

void RecoveryTimer(void) { RecoveryTick(Copied()); }
void WriteRecoveryCopy(bool wait) { CopyForRecovery(Copied(), wait); }

void OfferRecovery(const wchar_t* name)
{
    RecoveredText found;
    if (!TakeRecoveryCopy(name, &found))
        return;
    // Taken as an edit: Undo shows the file's own text again.
    if (SendMessageW(Penrik.hwndEdit, EM_SETTEXTASEDIT, 0, (LPARAM)found.text)) {
        Doc.breaks = found.breaks;
        Doc.encoding = found.encoding;
        SetModified(true);
        AdoptRecoveryCopy(found);
    } else {
        // The copy stays for another try.
        ShowMessage(Penrik.hwndMain, IDS_RECOVERED_TOO_LARGE, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION);
    }
    FreeRecoveredText(&found);
}

void StartEmptyDocument(void)
{
    SetEmptyText();
    OfferRecovery(L"");
}
