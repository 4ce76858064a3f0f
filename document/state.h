// The document's record and the pieces its files share. Inside document/ only.
#ifndef PENRIK_DOCUMENT_STATE_H
#define PENRIK_DOCUMENT_STATE_H

#include "document/document.h"

#define UNTITLED_CAPTION "penrik- Untitled"
// A caption that names the whole file.
#define CAPTION_SIZE (NAME_SIZE + 256)

struct DocumentState {
    wchar_t name[NAME_SIZE];  // in characters: names of any script
    bool modified;
    LineBreaks breaks;        // the file's own line breaks, which a save gives back
    TextEncoding encoding;    // the file's encoding, which a save writes again
    HLOCAL textBlock;         // the file's bytes while they are read
};
extern DocumentState Doc;

// The main window's caption for a document named `name`.
void SetCaption(const wchar_t* name);
// The document is untitled, its caption says so.
void ForgetName(void);
// Says that the name is none of a file's.
void RefuseName(const wchar_t* name);
// Replaces textBlock by a fresh zero-filled block of `size` bytes.
bool ReplaceTextBlock(SIZE_T size);
// The control empty.
void SetEmptyText(void);
// The document holds `name`'s file as it is on disk: the copy of unsaved
// changes that an ended editor left for it, if the user takes it, becomes
// the control's text, unsaved.
void OfferRecovery(const wchar_t* name);

// Loads Doc.name for Open and a drop (`previousName` is the name they
// replaced) or for the internal load command (NULL).
bool Load(const wchar_t* previousName);
// Saves the control's text as Doc.name; says why when it cannot.
bool WriteDocument(HWND owner);

#endif
