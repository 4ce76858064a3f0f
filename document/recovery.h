// Recovery copies of unsaved changes, in %LOCALAPPDATA%\Penrik\Recovery:
// written while the document has changes, offered to the next editor
// that loads the same file after this one ended without saving them.
#ifndef PENRIK_RECOVERY_H
#define PENRIK_RECOVERY_H

#include <windows.h>

#include "document/encoding.h"
#include "document/linebreaks.h"

#define RECOVERY_TIMER 1  // the main window's timer that writes them

// Start-up, before the first document; print mode keeps none.
void StartRecovery(bool enabled);
// The normal end: this editor's copy goes and its writer stops.
void EndRecovery(void);

// The document a copy is made of: the control holds its text.
struct CopiedDocument {
    const wchar_t* name;  // empty when untitled
    LineBreaks breaks;      // its file's, which a save writes
    TextEncoding encoding;  // its file's, which a save writes
    bool modified;          // no copy is made of a document without changes
};

// The text changed: a copy follows at RecoveryTick once the changes
// pause or have gone on for a while.
void NoteRecoveryChange(void);
void RecoveryTick(const CopiedDocument& document);
// A copy of the control's text now; with `wait`, on disk before this
// returns.
void CopyForRecovery(const CopiedDocument& document, bool wait);
// The document has no unsaved changes: this editor's copy goes.
void DropRecoveryCopy(void);

// A copy that an ended editor left, taken up by the user.
struct RecoveredText {
    wchar_t* text;  // zero-terminated; FreeRecoveredText frees it
    LineBreaks breaks;
    TextEncoding encoding;  // a copy of an older editor holds code-page text: ANSI
    char id[40];
};
// The document now holds `name`'s file as it is on disk (empty name: an
// untitled start): this editor's copy goes, and the newest copy that an
// ended editor left for the same file is offered. True when the user
// took it and its text could be read; a copy that could not be read is
// said.
bool TakeRecoveryCopy(const wchar_t* name, RecoveredText* found);
// The taken text is now the control's: the copy becomes this editor's.
void AdoptRecoveryCopy(const RecoveredText& found);
void FreeRecoveredText(RecoveredText* found);

#endif
