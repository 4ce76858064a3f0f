// The Open and Save dialogs, for the File commands and for the build
// commands' choice of a program.
#ifndef PENRIK_FILEDIALOG_H
#define PENRIK_FILEDIALOG_H

#include <windows.h>

#define NAME_SIZE 256  // a document name in characters, the terminating zero included

enum FileDialogKind { FILE_DIALOG_OPEN, FILE_DIALOG_SAVE };
// One dialog, its record built for this call.
struct FileChoice {
    const wchar_t* title;     // null: the platform's own title
    DWORD filterIndex;        // 1 all files, 2 executables
    DWORD flags;              // OFN_NOCHANGEDIR leaves the current folder alone
    wchar_t name[NAME_SIZE];  // in: the name field's first text; out: the chosen full path
};
// Shows the dialog; on a choice the chosen file's title becomes FileTitle
// and, unless told otherwise, its folder becomes the current folder. A
// chosen name too long for a document name is refused, in words.
bool ChooseFile(FileDialogKind kind, FileChoice* choice);

// The name without its folder that the last dialog chose.
const wchar_t* FileTitle(void);
// The last dialog's title, which the unsaved-changes question reuses.
const wchar_t* LastDialogTitle(void);
// Start-up: no dialog shown yet.
void ResetFileDialog(void);

#endif
