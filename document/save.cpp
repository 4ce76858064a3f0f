// How a save writes the file. There are two ways, chosen per file:
//
// - Replace: the text goes to a new file beside the old one, which then
//   takes the old one's place through ReplaceFileW, so that attributes,
//   access list, creation time and streams go with it, the old file going
//   to a backup name of its own until the new one has its name. Until that
//   step the old file is untouched, whatever happens, and whatever the
//   replacement leaves half done is put back before anything is deleted.
//   It is taken only for a plain file with one name (no second name, not
//   itself a link, the file the system's name for it opens), in a folder
//   that lets a new file be made, on a volume whose permissions are the
//   file's access list, which the replacement keeps. Under Wine, and on shares that keep Unix modes,
//   they are not.
//
// - In place, with a copy first: the old contents are copied (beside the
//   file, or in the temporary folder when its folder takes no new file),
//   then the file itself is opened without re-creating it, so that its
//   links, other names and permissions stay, and it is written whole and
//   flushed. If that fails the old contents are written back, and the
//   copy is kept only when even that failed. A link is followed: the file
//   it names is the one written.
#include "document/save.h"

#include <string.h>

#include "base/syscalls.h"

typedef BOOL(WINAPI* WriteFunction)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

// What became of a file that was to be written.
enum Written {
    NOT_OPENED,   // it could not be opened: it is as it was
    WRITE_FAILED, // opened and (perhaps) partly written
    WRITTEN,      // holds the bytes, flushed to the disk
};

// A fresh, empty file, in the folder of `path` when `besidePath` is set
// or else in the temporary folder; its name goes to `name` (MAX_PATH).
static bool MakeTemporaryFile(const wchar_t* path, bool besidePath, wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    if (besidePath) {
        const wchar_t* slash = NULL;
        for (const wchar_t* p = path; *p != 0; ++p)
            if (*p == '\\' || *p == '/' || *p == ':')
                slash = p;
        if (slash == NULL) {
            lstrcpynW(folder, L".", MAX_PATH);
        } else {
            size_t length = (size_t)(slash - path) + 1;
            if (length >= MAX_PATH - 14)
                return false;
            memcpy(folder, path, length * sizeof(wchar_t));
            folder[length] = 0;
        }
    } else {
        DWORD length = GetTempPathW(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH - 14)
            return false;
    }
    return GetTempFileNameW(folder, L"pen", 0, name) != 0;
}

// Writes the bytes over the open file from its start and ends it there.
static Written WriteOpened(HANDLE file, const char* text, DWORD length, WriteFunction write)
{
    if (file == INVALID_HANDLE_VALUE)
        return NOT_OPENED;
    DWORD written = 0;
    BOOL ok = write(file, text, length, &written, NULL) && written == length;
    // The file ends here, if it went on; Wine refuses to set an end the
    // file already has when its disk is full.
    LARGE_INTEGER size;
    if (ok && (!GetFileSizeEx(file, &size) || size.QuadPart != (LONGLONG)length))
        ok = SetEndOfFile(file);
    ok = ok && FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = FALSE;
    return ok ? WRITTEN : WRITE_FAILED;
}

static Written WriteNewFile(const wchar_t* path, const char* text, DWORD length, WriteFunction write)
{
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    return WriteOpened(file, text, length, write);
}

// The existing file, opened as it is: not re-created, so still the same file.
static Written WriteExistingFile(const wchar_t* path, const char* text, DWORD length, WriteFunction write)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    return WriteOpened(file, text, length, write);
}

// The whole of a file, in a block the caller frees.
static bool ReadWholeFile(const wchar_t* path, HLOCAL* block, DWORD* length)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF;
    *block = ok ? LocalAlloc(LMEM_FIXED, (SIZE_T)size.QuadPart + 1) : NULL;
    *length = 0;
    if (*block != NULL)
        ok = ReadFile(file, *block, (DWORD)size.QuadPart, length, NULL) && *length == (DWORD)size.QuadPart;
    CloseHandle(file);
    if (!ok || *block == NULL) {
        if (*block != NULL)
            LocalFree(*block);
        return false;
    }
    return true;
}

// The copy of the old contents that an in-place save makes first.
static bool MakeCopy(const wchar_t* target, const char* old, DWORD length, wchar_t* copy)
{
    for (int beside = 1; beside >= 0; --beside) {
        if (!MakeTemporaryFile(target, beside, copy))
            continue;
        if (WriteNewFile(copy, old, length, WriteFile) == WRITTEN)
            return true;
        DeleteFileW(copy);
    }
    copy[0] = 0;
    return false;
}

static bool SaveInPlace(const wchar_t* target, const char* text, DWORD length, wchar_t* kept)
{
    HLOCAL block;
    DWORD oldLength;
    if (!ReadWholeFile(target, &block, &oldLength))
        return false;
    const char* old = (const char*)block;
    wchar_t copy[MAX_PATH];
    Written result = NOT_OPENED;
    if (MakeCopy(target, old, oldLength, copy)) {
        result = WriteExistingFile(target, text, length, Sys.WriteFile);
        if (result != WRITE_FAILED || WriteExistingFile(target, old, oldLength, WriteFile) == WRITTEN)
            DeleteFileW(copy);
        else
            lstrcpynW(kept, copy, MAX_PATH);
    }
    LocalFree(block);
    return result == WRITTEN;
}

// Whether the name stands for a file that a new one can replace without
// the user losing anything (see the top of this file).
static bool Replaceable(const wchar_t* target)
{
    HANDLE file = CreateFileW(target, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool plain = Sys.AccessListsKept(file) && GetFileInformationByHandle(file, &info) && info.nNumberOfLinks == 1 &&
                (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    // The file the system's own name for it opens must be this one: it
    // is not where a link, junction or substitute in the name led. The
    // spelling may differ (a mapped drive is named by its server), the
    // identity may not.
    wchar_t final[MAX_PATH + 8];
    DWORD finalSize = (DWORD)(sizeof final / sizeof final[0]);
    DWORD finalLength = plain ? Sys.GetFinalPathNameByHandleW(file, final, finalSize, VOLUME_NAME_DOS) : 0;
    CloseHandle(file);
    if (finalLength == 0 || finalLength >= finalSize)
        return false;
    HANDLE same = CreateFileW(final, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (same == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION found;
    bool identical = GetFileInformationByHandle(same, &found) &&
                    found.dwVolumeSerialNumber == info.dwVolumeSerialNumber &&
                    found.nFileIndexHigh == info.nFileIndexHigh && found.nFileIndexLow == info.nFileIndexLow;
    CloseHandle(same);
    return identical;
}

static bool Exists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// What the replace way did.
enum Replaced {
    REPLACED,      // the name holds the new text
    NOT_REPLACED,  // the name holds the old file, whole: the save can go on in place
    NAME_LOST,     // the name holds neither, and `kept` says where the old contents are
};

// After a replacement that failed: puts one whole text, old or new, back
// at the name, and only then deletes what is left over. A replacement
// that was refused (ERROR_UNABLE_TO_REMOVE_REPLACED) left the old file at
// its name; one that could not rename the new file
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT) has the new text whole beside it,
// which is then the one to take the name; one that could not move it
// (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) left the old file under the backup
// name, which it gets back, so that the in-place way can keep it the
// same file.
static Replaced Unwind(const wchar_t* target, const wchar_t* temporary, const wchar_t* backup, DWORD error,
                       wchar_t* kept)
{
    Replaced result = NOT_REPLACED;
    if (!Exists(target)) {
        const wchar_t* first = error == ERROR_UNABLE_TO_MOVE_REPLACEMENT ? temporary : backup;
        const wchar_t* second = first == temporary ? backup : temporary;
        const wchar_t* moved = NULL;
        if (Exists(first) && MoveFileExW(first, target, 0))
            moved = first;
        else if (Exists(second) && MoveFileExW(second, target, 0))
            moved = second;
        if (moved == NULL) {
            // The name holds nothing; both texts stay where they are.
            if (Exists(backup))
                lstrcpynW(kept, backup, MAX_PATH);
            return NAME_LOST;
        }
        result = moved == temporary ? REPLACED : NOT_REPLACED;
    }
    DeleteFileW(temporary);
    DeleteFileW(backup);
    return result;
}

// The replace way, for a file that is there (`exists`) or a new one.
static Replaced SaveByReplacing(const wchar_t* target, const char* text, DWORD length, bool exists, wchar_t* kept)
{
    wchar_t temporary[MAX_PATH], backup[MAX_PATH];
    if (!MakeTemporaryFile(target, 1, temporary))
        return NOT_REPLACED;
    // A text that cannot be written whole here (a full disk) may still
    // fit in place, which needs room only for what it grew by.
    if (WriteNewFile(temporary, text, length, Sys.WriteFile) != WRITTEN) {
        DeleteFileW(temporary);
        return NOT_REPLACED;
    }
    if (!exists) {
        if (MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
            return REPLACED;
        DeleteFileW(temporary);
        return NOT_REPLACED;
    }
    // A fresh name for the old file while it is being replaced, so that
    // it is never without a name the program knows. The name is taken,
    // then left free for the replacement to move the old file to.
    if (!MakeTemporaryFile(target, 1, backup)) {
        DeleteFileW(temporary);
        return NOT_REPLACED;
    }
    DeleteFileW(backup);
    // No merge errors ignored: a replacement that could not keep the
    // old file's access list refuses before it renames anything.
    DWORD attributes = GetFileAttributesW(target);
    Replaced result = Sys.ReplaceFileW(target, temporary, backup, 0, NULL, NULL)
                          ? REPLACED
                          : Unwind(target, temporary, backup, GetLastError(), kept);
    if (result == REPLACED) {
        DeleteFileW(backup);
        // The new text may have reached the name by a plain rename.
        if (attributes != INVALID_FILE_ATTRIBUTES && GetFileAttributesW(target) != attributes)
            SetFileAttributesW(target, attributes);
    }
    return result;
}

bool SaveFileBytes(const wchar_t* target, const char* text, DWORD length, wchar_t* kept)
{
    kept[0] = 0;
    DWORD attributes = GetFileAttributesW(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return SaveByReplacing(target, text, length, false, kept) == REPLACED;  // a new file: nothing to keep
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
        return false;  // a read-only file is not overwritten
    }
    if (Replaceable(target)) {
        // A replacement that was refused (the file is open elsewhere,
        // say) left the file as it was, to be written in place.
        Replaced result = SaveByReplacing(target, text, length, true, kept);
        if (result != NOT_REPLACED)
            return result == REPLACED;
    }
    return SaveInPlace(target, text, length, kept);
}
