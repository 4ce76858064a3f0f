// Each editor writes <id>.copy, its id being its process id and start
// time, and holds <id>.lock open without sharing while it runs: a lock
// that can be opened, or that is gone, says that its writer has ended,
// whoever has the process id now.
#include "document/recovery_place.h"

#include <shlobj.h>
#include <stdio.h>

RecoveryPlace Place;

void FindRecoveryPlace(bool enabled)
{
    if (!Place.sectionMade) {
        InitializeCriticalSection(&Place.fileLock);
        Place.sectionMade = true;
    }
    Place.enabled = enabled;
    FILETIME created, ended, kernel, user;
    ZeroMemory(&created, sizeof created);
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    snprintf(Place.id, sizeof Place.id, "%08lx-%08lx%08lx", (unsigned long)GetCurrentProcessId(),
             (unsigned long)created.dwHighDateTime, (unsigned long)created.dwLowDateTime);

    wchar_t base[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if ((length == 0 || length >= MAX_PATH) && SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA, NULL, 0, base) != S_OK)
        base[0] = 0;
    Place.folder[0] = 0;
    if (base[0] != 0) {
        int made = swprintf(Place.folder, MAX_PATH, L"%ls\\Penrik\\Recovery", base);
        if (made <= 0 || made >= MAX_PATH - COPY_ID_SIZE)
            Place.folder[0] = 0;
    }
}

// Ids and extensions are ASCII: their bytes are their characters.
bool CopyPath(wchar_t* path, const char* id, const char* extension)
{
    if (Place.folder[0] == 0)
        return false;
    int length = swprintf(path, COPY_PATH_SIZE, L"%ls\\", Place.folder);
    if (length <= 0 || length >= COPY_PATH_SIZE)
        return false;
    const char* const parts[] = {id, extension};
    for (const char* part : parts)
        for (const char* c = part; *c != '\0'; ++c) {
            if (length >= COPY_PATH_SIZE - 1)
                return false;
            path[length++] = (wchar_t)(unsigned char)*c;
        }
    path[length] = 0;
    return true;
}

bool MakeOwnPlace(void)
{
    if (Place.lock != NULL)
        return true;
    wchar_t path[COPY_PATH_SIZE];
    if (!CopyPath(path, Place.id, ".lock"))
        return false;
    // The folder's parent first: CreateDirectoryW makes one level only.
    wchar_t parent[MAX_PATH];
    lstrcpynW(parent, Place.folder, MAX_PATH);
    wchar_t* slash = wcsrchr(parent, L'\\');
    if (slash != NULL) {
        *slash = 0;
        CreateDirectoryW(parent, NULL);
    }
    CreateDirectoryW(Place.folder, NULL);
    HANDLE lock = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (lock == INVALID_HANDLE_VALUE)
        return false;
    Place.lock = lock;
    return true;
}

void ReleaseOwnPlace(void)
{
    if (Place.lock != NULL)
        CloseHandle(Place.lock);  // which deletes it
    Place.lock = NULL;
    Place.enabled = false;
}

void DeleteCopy(const char* id)
{
    static const char* const extensions[] = {".copy", ".lock", ".tmp"};
    for (const char* extension : extensions) {
        wchar_t path[COPY_PATH_SIZE];
        if (CopyPath(path, id, extension))
            DeleteFileW(path);
    }
}
