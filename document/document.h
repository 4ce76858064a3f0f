// The one document: its name, its modified flag, loading and saving,
// the unsaved-changes question, the file dialogs and the File commands.
// Routines return 1 for success and 0 for failure or cancel.
#ifndef PENRIK_DOCUMENT_H
#define PENRIK_DOCUMENT_H

#include <windows.h>
#include <shellapi.h>

#include "document/encoding.h"
#include "document/linebreaks.h"
#include "document/recovery.h"

#define NAME_SIZE 256  // a document name in characters, the terminating zero included

// Start-up: an untitled, unchanged document and no dialog shown yet.
void ResetDocument(void);
// The name start-up found (command line or settings); not loaded yet.
void SetDocumentName(const wchar_t* name);
// Empties the control for an untitled start.
void StartEmptyDocument(void);

// A box over the main window whose text names a file: `format` holds
// one %ls, for the name, and some 250 characters more at the most.
int ShowFileMessage(const wchar_t* format, const wchar_t* name, const wchar_t* caption, UINT type);

// Whether the name can mean only the file it spells: not a device, no
// trailing dot or blank (which Windows drops), no \\?\ or \\.\ form, no
// lone surrogate. Loads and saves refuse any other, in words.
int UsableName(const wchar_t* name);

// A name as an ANSI program takes it, in the system's code page, into
// `out` (`size` bytes; with none, only whether it can). Returns 0 when a
// character has no spelling there: a look-alike would name another file.
int CodePageName(const wchar_t* name, char* out, int size);
// The code page holds every character (UTF-8, GB 18030).
bool CodePageHoldsEverything(UINT codePage);

// The full path of the document; empty when untitled.
const wchar_t* DocumentName(void);
// The name without its folder that the last file dialog chose.
const wchar_t* FileTitle(void);
int Modified(void);
void SetModified(int modified);
// The line breaks of the document's file (a LineBreaks value): the
// control holds CR LF, and a save writes these. New documents are as-is.
int DocumentBreaks(void);
void SetDocumentBreaks(int kind);
// The encoding of the document's file (a TextEncoding value), which a
// save writes. New documents are ANSI.
int DocumentEncoding(void);
void SetDocumentEncoding(int encoding);

// What the unsaved-changes question leaves the caller to do.
enum SaveAnswer {
    SAVE_STOPPED = 0,  // Cancel, a save that failed, a box that could not be shown: stop
    SAVE_DONE = 1,     // nothing to save, or saved: go on
    SAVE_DROPPED = 2,  // the user dropped the changes: go on without them
};
// Asks whether to save unsaved changes.
SaveAnswer QuerySave(HWND owner);

// Loads DocumentName into the edit control (the internal load command).
int LoadDocument(void);
// New, Open, Open 2nd, Save, Save As and Delete. Returns 1 when the
// command loaded a file into the edit control.
int FileCommand(int commandId);
// A file dropped on the window; returns 1 when it was loaded.
int DropFiles(HDROP drop);

// Recovery copies of the document's unsaved changes (see recovery.h for
// the rest): at the main window's RECOVERY_TIMER, once the changes pause
// or have gone on for a while, and now, when the system may end the
// process (with `wait`, on disk before this returns).
void RecoveryTimer(void);
void WriteRecoveryCopy(int wait);

// One file dialog, its record built for this call.
enum FileDialogKind { FILE_DIALOG_OPEN, FILE_DIALOG_SAVE };
struct FileChoice {
    const wchar_t* title;  // null: the platform's own title
    DWORD filterIndex;   // 1 all files, 2 executables
    DWORD flags;         // OFN_NOCHANGEDIR leaves the current folder alone
    wchar_t name[NAME_SIZE];  // in: the name field's first text; out: the chosen full path
};
// Shows the dialog; on a choice the chosen file's title becomes FileTitle
// and, unless told otherwise, its folder becomes the current folder. A
// chosen name too long for a document name is refused, in words.
int ChooseFile(FileDialogKind kind, FileChoice* choice);

#endif
