// The one document: its name, whether it has unsaved changes, loading
// and saving, the unsaved-changes question and the File commands.
#ifndef PENRIK_DOCUMENT_H
#define PENRIK_DOCUMENT_H

#include <windows.h>
#include <shellapi.h>

#include "document/encoding.h"
#include "document/filedialog.h"
#include "document/linebreaks.h"
#include "document/recovery.h"

// Start-up: an untitled, unchanged document and no dialog shown yet.
void ResetDocument(void);
// The name start-up found (command line or settings); not loaded yet.
void SetDocumentName(const wchar_t* name);
// Empties the control for an untitled start.
void StartEmptyDocument(void);

// Whether the name can mean only the file it spells: not a device, no
// trailing dot or blank (which Windows drops), no \\?\ or \\.\ form, no
// lone surrogate. Loads and saves refuse any other, in words.
bool UsableName(const wchar_t* name);

// Whether two names reach the same file, however each is spelled.
bool SameFile(const wchar_t* a, const wchar_t* b);

// A name as an ANSI program takes it, in the system's code page, into
// `out` (`size` bytes; with none, only whether it can). False when a
// character has no spelling there: a look-alike would name another file.
bool CodePageName(const wchar_t* name, char* out, int size);
// The code page holds every character (UTF-8, GB 18030).
bool CodePageHoldsEverything(UINT codePage);

// The full path of the document; empty when untitled.
const wchar_t* DocumentName(void);
bool Modified(void);
void SetModified(bool modified);
// The line breaks of the document's file: the control holds CR LF, and
// a save writes these. New documents are as-is.
LineBreaks DocumentBreaks(void);
// The encoding of the document's file, which a save writes. New
// documents are ANSI.
TextEncoding DocumentEncoding(void);

// What the unsaved-changes question leaves the caller to do.
enum SaveAnswer {
    SAVE_STOPPED = 0,  // Cancel, a save that failed, a box that could not be shown: stop
    SAVE_DONE = 1,     // nothing to save, or saved: go on
    SAVE_DROPPED = 2,  // the user dropped the changes: go on without them
};
// Asks whether to save unsaved changes.
SaveAnswer QuerySave(HWND owner);

// Loads DocumentName into the edit control (the internal load command);
// true when the control holds the file's text.
bool LoadDocument(void);
// New, Open, Open 2nd, Save, Save As and Delete. True when the command
// loaded a file into the edit control.
bool FileCommand(int commandId);
// Asks about unsaved changes, then loads `name`; true when it was loaded.
bool OpenDocument(const wchar_t* name);
// A file dropped on the window; true when it was loaded.
bool DropFiles(HDROP drop);

// Recovery copies of the document's unsaved changes (see recovery.h for
// the rest): at the main window's RECOVERY_TIMER, once the changes pause
// or have gone on for a while, and now, when the system may end the
// process (with `wait`, on disk before this returns).
void RecoveryTimer(void);
void WriteRecoveryCopy(bool wait);

#endif
