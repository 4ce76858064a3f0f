// Where this editor's recovery copy lives, shared by the writer and the
// offer: the folder, this editor's id and its lock. Inside document/ only.
#ifndef PENRIK_RECOVERY_PLACE_H
#define PENRIK_RECOVERY_PLACE_H

#include <windows.h>

#define COPY_ID_SIZE   40
#define COPY_PATH_SIZE (MAX_PATH + COPY_ID_SIZE)

struct RecoveryPlace {
    bool enabled;                 // not in print mode
    wchar_t folder[MAX_PATH];     // empty when the system names none
    char id[COPY_ID_SIZE];        // this editor's: its process id and start time
    HANDLE lock;                  // this editor's lock, once its place is made
    bool sectionMade;
    CRITICAL_SECTION fileLock;    // held while this editor's copy is written, moved or deleted
};
extern RecoveryPlace Place;

// This process's id and the folder, at start-up.
void FindRecoveryPlace(bool enabled);
// The path of copy `id`'s file with `extension`; false when there is no
// folder or the path would not fit.
bool CopyPath(wchar_t* path, const char* id, const char* extension);
// The folder and this editor's lock, made when first needed. Under fileLock.
bool MakeOwnPlace(void);
// This editor's lock goes (and with it the sign that it runs).
void ReleaseOwnPlace(void);
// An ended editor's copy and what it left beside it.
void DeleteCopy(const char* id);

#endif
