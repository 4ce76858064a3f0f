// Recovery copies: while the document has unsaved changes, a copy of the
// control's text lies in %LOCALAPPDATA%\Penrik\Recovery, so that a crash
// or a killed process loses nothing. The next editor that loads the same
// file (or starts untitled) after this one ended without saving offers it.
//
// Each editor writes <id>.copy, its id being its process id and start
// time, and holds <id>.lock open without sharing while it runs: a lock
// that can be opened, or that is gone, says that its writer has ended,
// whoever has the process id now. The window's thread only copies the
// text out of the control; a writer thread puts it on disk, through a
// new file and a rename, so that a copy is whole or absent.
#include "document/recovery.h"

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/process.h"
#include "base/syscalls.h"

#define RECOVERY_TICK     500    // how often waiting changes are looked at, ms
#define RECOVERY_QUIET    2000   // a pause this long after a change writes a copy
#define RECOVERY_LONGEST  25000  // changes that go on are copied at least this often
#define COPY_SIGNATURE    "Penrik recovery copy"
#define NAME_BYTES        (3 * MAX_PATH)    // a name's UTF-8, at most 3 bytes a unit
#define HEADER_SIZE       (NAME_BYTES + 192)  // the lines before the text, at most
#define ID_SIZE           40
#define PATH_SIZE         (MAX_PATH + ID_SIZE)
#define QUESTION_SIZE     (MAX_PATH + 256)

// One copy on its way to the disk.
struct CopyJob {
    wchar_t* text;
    DWORD length;  // in bytes
    wchar_t name[MAX_PATH];
    int breaks;
    int encoding;
    ULONGLONG time;  // UTC, in FILETIME units
};

// What a copy's first lines say about it.
struct CopyHeader {
    wchar_t name[MAX_PATH];
    int breaks;
    int encoding;   // -1: a copy of an older editor, whose text is in the code page
    ULONGLONG time;
    DWORD headerLength;  // where the text starts
    DWORD length;        // of the text
};

static struct {
    int enabled;                  // not in print mode
    int pending;                  // changes that no copy holds yet
    DWORD firstChange, lastChange;
    wchar_t folder[MAX_PATH];     // empty when the system names none
    char id[ID_SIZE];
    HANDLE lock;                  // this editor's lock, once its place is made
    HANDLE thread, wake;          // the writer and its signal
    int quit;
    int sectionsMade;
    CRITICAL_SECTION jobLock;     // guards job and quit
    CRITICAL_SECTION fileLock;    // held while this editor's copy is written, moved or deleted
    CopyJob* job;                 // the newest copy the writer has not taken
} Recovery;

// Ids and extensions are ASCII: their bytes are their characters.
static int CopyPath(wchar_t* path, const char* id, const char* extension)
{
    if (Recovery.folder[0] == 0)
        return 0;
    int length = swprintf(path, PATH_SIZE, L"%ls\\", Recovery.folder);
    if (length <= 0 || length >= PATH_SIZE)
        return 0;
    const char* const parts[] = {id, extension};
    for (const char* part : parts)
        for (const char* c = part; *c != '\0'; ++c) {
            if (length >= PATH_SIZE - 1)
                return 0;
            path[length++] = (wchar_t)(unsigned char)*c;
        }
    path[length] = 0;
    return 1;
}

// A document's name as a copy keeps it: UTF-8, so that any name survives
// whatever the code page. A lone surrogate, which a file name may hold
// and UTF-8 may not, takes the same three-byte form as any other unit,
// so that the name comes back as it was. 0 when `size` bytes are too few.
static int NameToBytes(const wchar_t* name, char* bytes, size_t size)
{
    size_t used = 0;
    for (size_t i = 0; name[i] != 0; ++i) {
        unsigned long code = name[i];
        unsigned long low = name[i + 1];
        if (code >= 0xD800 && code < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        unsigned char unit[4];
        size_t count;
        if (code < 0x80) {
            unit[0] = (unsigned char)code;
            count = 1;
        } else if (code < 0x800) {
            unit[0] = (unsigned char)(0xC0 | (code >> 6));
            count = 2;
        } else if (code < 0x10000) {
            unit[0] = (unsigned char)(0xE0 | (code >> 12));
            count = 3;
        } else {
            unit[0] = (unsigned char)(0xF0 | (code >> 18));
            count = 4;
        }
        for (size_t k = 1; k < count; ++k)
            unit[k] = (unsigned char)(0x80 | ((code >> (6 * (count - 1 - k))) & 0x3F));
        if (used + count >= size)
            return 0;
        memcpy(bytes + used, unit, count);
        used += count;
    }
    bytes[used] = '\0';
    return 1;
}

// The name back from a copy's UTF-8; 0 for bytes that are no such name
// or a name longer than MAX_PATH allows.
static int NameFromBytes(const char* bytes, wchar_t* name)
{
    const unsigned char* p = (const unsigned char*)bytes;
    size_t used = 0;
    while (*p != 0) {
        unsigned long code;
        int follow;
        if (*p < 0x80) {
            code = *p;
            follow = 0;
        } else if (*p >= 0xC2 && *p < 0xE0) {
            code = *p & 0x1F;
            follow = 1;
        } else if (*p >= 0xE0 && *p < 0xF0) {
            code = *p & 0x0F;
            follow = 2;
        } else if (*p >= 0xF0 && *p < 0xF5) {
            code = *p & 0x07;
            follow = 3;
        } else {
            return 0;
        }
        ++p;
        for (int k = 0; k < follow; ++k, ++p) {
            if ((*p & 0xC0) != 0x80)
                return 0;  // the terminating zero included
            code = (code << 6) | (*p & 0x3F);
        }
        // No longer form than the shortest, nothing beyond U+10FFFF.
        if ((follow == 2 && code < 0x800) || (follow == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return 0;
        if (used + (code >= 0x10000 ? 2 : 1) >= MAX_PATH)
            return 0;
        if (code >= 0x10000) {
            name[used++] = (wchar_t)(0xD800 + ((code - 0x10000) >> 10));
            name[used++] = (wchar_t)(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            name[used++] = (wchar_t)code;
        }
    }
    name[used] = 0;
    return 1;
}

static void FreeJob(CopyJob* job)
{
    if (job == NULL)
        return;
    HeapFree(GetProcessHeap(), 0, job->text);
    HeapFree(GetProcessHeap(), 0, job);
}

static CopyJob* TakeJob(int* quit)
{
    EnterCriticalSection(&Recovery.jobLock);
    CopyJob* job = Recovery.job;
    Recovery.job = NULL;
    if (quit != NULL)
        *quit = Recovery.quit;
    LeaveCriticalSection(&Recovery.jobLock);
    return job;
}

// The folder and this editor's lock, made when first needed. Under fileLock.
static int MakeOwnPlace(void)
{
    if (Recovery.lock != NULL)
        return 1;
    wchar_t path[PATH_SIZE];
    if (!CopyPath(path, Recovery.id, ".lock"))
        return 0;
    // The folder's parent first: CreateDirectoryW makes one level only.
    wchar_t parent[MAX_PATH];
    lstrcpynW(parent, Recovery.folder, MAX_PATH);
    wchar_t* slash = wcsrchr(parent, L'\\');
    if (slash != NULL) {
        *slash = 0;
        CreateDirectoryW(parent, NULL);
    }
    CreateDirectoryW(Recovery.folder, NULL);
    HANDLE lock = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    if (lock == INVALID_HANDLE_VALUE)
        return 0;
    Recovery.lock = lock;
    return 1;
}

static int WriteAll(HANDLE file, const char* data, DWORD length)
{
    DWORD written = 0;
    return WriteFile(file, data, length, &written, NULL) && written == length;
}

// Writes the job's copy in full, or leaves the previous one. Under fileLock.
static void WriteJob(CopyJob* job)
{
    wchar_t temporary[PATH_SIZE], copy[PATH_SIZE];
    char name[NAME_BYTES];
    if (!MakeOwnPlace() || !CopyPath(temporary, Recovery.id, ".tmp") || !CopyPath(copy, Recovery.id, ".copy") ||
        !NameToBytes(job->name, name, sizeof name))
        return;
    char header[HEADER_SIZE];
    // The text is the control's characters, UTF-16 little-endian. The
    // name has a key of its own, so that an earlier editor, which wrote
    // and read `name=` in the code page, passes this copy over rather than
    // misread its name.
    int headerLength = snprintf(header, sizeof header,
                                "%s\r\nutf8name=%s\r\nbreaks=%d\r\nencoding=%d\r\ntime=%llu\r\nlength=%lu\r\n\r\n",
                                COPY_SIGNATURE, name, job->breaks, job->encoding, (unsigned long long)job->time,
                                (unsigned long)job->length);
    if (headerLength <= 0 || headerLength >= (int)sizeof header)
        return;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // On the disk before the rename, or a power cut could leave a copy
    // that has its name but not its text.
    int ok = WriteAll(file, header, (DWORD)headerLength) && WriteAll(file, (const char*)job->text, job->length) &&
             FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = 0;
    if (!ok || !MoveFileExW(temporary, copy, MOVEFILE_REPLACE_EXISTING))
        DeleteFileW(temporary);
}

static DWORD WINAPI WriterThread(LPVOID)
{
    for (;;) {
        WaitForSingleObject(Recovery.wake, INFINITE);
        int quit = 0;
        EnterCriticalSection(&Recovery.fileLock);
        CopyJob* job = TakeJob(&quit);
        if (job != NULL)
            WriteJob(job);
        LeaveCriticalSection(&Recovery.fileLock);
        FreeJob(job);
        if (quit)
            return 0;
    }
}

// Writes here and now whatever the writer has not taken yet, after the
// copy it may be writing.
static void WriteWaitingJob(void)
{
    EnterCriticalSection(&Recovery.fileLock);
    CopyJob* job = TakeJob(NULL);
    if (job != NULL)
        WriteJob(job);
    LeaveCriticalSection(&Recovery.fileLock);
    FreeJob(job);
}

static void HandToWriter(CopyJob* job)
{
    EnterCriticalSection(&Recovery.jobLock);
    CopyJob* older = Recovery.job;
    Recovery.job = job;
    LeaveCriticalSection(&Recovery.jobLock);
    FreeJob(older);
    if (Recovery.thread == NULL) {
        if (Recovery.wake == NULL)
            Recovery.wake = CreateEventA(NULL, FALSE, FALSE, NULL);
        if (Recovery.wake != NULL)
            Recovery.thread = CreateThread(NULL, 0, WriterThread, NULL, 0, NULL);
    }
    if (Recovery.thread != NULL)
        SetEvent(Recovery.wake);
    else
        WriteWaitingJob();
}

static void StopWaiting(void)
{
    if (Recovery.pending && Penrik.hwndMain != NULL)
        KillTimer(Penrik.hwndMain, RECOVERY_TIMER);
    Recovery.pending = 0;
}

void StartRecovery(int enabled)
{
    if (!Recovery.sectionsMade) {
        InitializeCriticalSection(&Recovery.jobLock);
        InitializeCriticalSection(&Recovery.fileLock);
        Recovery.sectionsMade = 1;
    }
    EndRecovery();  // what an earlier start in this process left
    Recovery.quit = 0;
    Recovery.enabled = enabled;

    FILETIME created, ended, kernel, user;
    ZeroMemory(&created, sizeof created);
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    snprintf(Recovery.id, sizeof Recovery.id, "%08lx-%08lx%08lx", (unsigned long)GetCurrentProcessId(),
             (unsigned long)created.dwHighDateTime, (unsigned long)created.dwLowDateTime);

    wchar_t base[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if ((length == 0 || length >= MAX_PATH) && SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA, NULL, 0, base) != S_OK)
        base[0] = 0;
    Recovery.folder[0] = 0;
    if (base[0] != 0) {
        int made = swprintf(Recovery.folder, MAX_PATH, L"%ls\\Penrik\\Recovery", base);
        if (made <= 0 || made >= MAX_PATH - ID_SIZE)
            Recovery.folder[0] = 0;
    }
}

void NoteRecoveryChange(void)
{
    if (!Recovery.enabled)
        return;
    DWORD now = GetTickCount();
    Recovery.lastChange = now;
    if (Recovery.pending)
        return;
    Recovery.pending = 1;
    Recovery.firstChange = now;
    SetTimer(Penrik.hwndMain, RECOVERY_TIMER, RECOVERY_TICK, NULL);
}

void RecoveryTick(const CopiedDocument& document)
{
    DWORD now = GetTickCount();
    if (!Recovery.pending || !document.modified)
        StopWaiting();
    else if (now - Recovery.lastChange >= RECOVERY_QUIET || now - Recovery.firstChange >= RECOVERY_LONGEST)
        CopyForRecovery(document, 0);
}

void CopyForRecovery(const CopiedDocument& document, int wait)
{
    StopWaiting();
    if (!Recovery.enabled || !document.modified || Recovery.folder[0] == 0)
        return;
    // A copy that cannot be made is given up quietly: the next change tries again.
    HANDLE heap = GetProcessHeap();
    CopyJob* job = (CopyJob*)HeapAlloc(heap, 0, sizeof *job);
    if (job == NULL)
        return;
    DWORD length = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    job->text = length < 0x3FFFFFFF ? (wchar_t*)HeapAlloc(heap, 0, ((SIZE_T)length + 1) * sizeof(wchar_t)) : NULL;
    if (job->text == NULL) {
        HeapFree(heap, 0, job);
        return;
    }
    DWORD copied = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)job->text);
    job->length = copied * (DWORD)sizeof(wchar_t);
    lstrcpynW(job->name, document.name, MAX_PATH);
    job->breaks = document.breaks;
    job->encoding = document.encoding;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    job->time = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
    HandToWriter(job);
    if (wait)
        WriteWaitingJob();
}

void DropRecoveryCopy(void)
{
    StopWaiting();
    if (!Recovery.sectionsMade)
        return;
    EnterCriticalSection(&Recovery.fileLock);
    FreeJob(TakeJob(NULL));
    wchar_t copy[PATH_SIZE];
    if (Recovery.lock != NULL && CopyPath(copy, Recovery.id, ".copy"))
        DeleteFileW(copy);
    LeaveCriticalSection(&Recovery.fileLock);
}

void EndRecovery(void)
{
    DropRecoveryCopy();
    if (Recovery.thread != NULL) {
        EnterCriticalSection(&Recovery.jobLock);
        Recovery.quit = 1;
        LeaveCriticalSection(&Recovery.jobLock);
        SetEvent(Recovery.wake);
        WaitForSingleObject(Recovery.thread, INFINITE);
        CloseHandle(Recovery.thread);
        Recovery.thread = NULL;
    }
    if (Recovery.wake != NULL)
        CloseHandle(Recovery.wake);
    Recovery.wake = NULL;
    if (Recovery.lock != NULL)
        CloseHandle(Recovery.lock);  // which deletes it
    Recovery.lock = NULL;
    Recovery.enabled = 0;
}

// Whether the editor that wrote copy `id` has ended: its lock is gone or
// can be opened. Any other answer counts as running.
static int WriterEnded(const char* id)
{
    wchar_t path[PATH_SIZE];
    if (!CopyPath(path, id, ".lock"))
        return 0;
    HANDLE lock = CreateFileW(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (lock != INVALID_HANDLE_VALUE) {
        CloseHandle(lock);
        return 1;
    }
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Reads the first lines of a copy of `size` bytes; 0 unless they are
// whole and the text after them is as long as they say.
static int ReadHeader(const wchar_t* path, ULONGLONG size, CopyHeader* header)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    char text[HEADER_SIZE];
    DWORD read = 0;
    if (!ReadFile(file, text, sizeof text - 1, &read, NULL))
        read = 0;
    CloseHandle(file);
    text[read] = '\0';
    char* end = strstr(text, "\r\n\r\n");
    size_t signature = strlen(COPY_SIGNATURE);
    if (end == NULL || strncmp(text, COPY_SIGNATURE "\r\n", signature + 2) != 0)
        return 0;
    end[2] = '\0';
    header->headerLength = (DWORD)(end + 4 - text);
    header->encoding = -1;
    int fields = 0;
    int inCharacters = 0;  // the UTF-8 name came: a code-page one is not taken
    for (char* line = text + signature + 2; *line != '\0';) {
        char* next = strstr(line, "\r\n");
        if (next == NULL)
            return 0;
        *next = '\0';
        if (strncmp(line, "utf8name=", 9) == 0) {
            if (!NameFromBytes(line + 9, header->name))
                return 0;
            fields |= 1;
            inCharacters = 1;
        } else if (strncmp(line, "name=", 5) == 0 && !inCharacters) {
            // An earlier editor's copy: the name in the code page.
            if (MultiByteToWideChar(CP_ACP, 0, line + 5, -1, header->name, MAX_PATH) == 0)
                return 0;
            fields |= 1;
        } else if (strncmp(line, "breaks=", 7) == 0) {
            header->breaks = atoi(line + 7);
            fields |= 2;
        } else if (strncmp(line, "encoding=", 9) == 0) {
            header->encoding = atoi(line + 9);
        } else if (strncmp(line, "time=", 5) == 0) {
            header->time = strtoull(line + 5, NULL, 10);
            fields |= 4;
        } else if (strncmp(line, "length=", 7) == 0) {
            header->length = (DWORD)strtoul(line + 7, NULL, 10);
            fields |= 8;
        }
        line = next + 2;
    }
    return fields == 15 && size == (ULONGLONG)header->headerLength + header->length;
}

// What a document's name stands for: its full long name and, for a file
// that is there, which file of which volume it is.
struct FileIdentity {
    wchar_t longName[MAX_PATH];  // empty for an untitled document
    int known;                // the file could be opened: its numbers hold
    DWORD volume, indexHigh, indexLow;
};

static void IdentifyFile(const wchar_t* name, FileIdentity* identity)
{
    identity->known = 0;
    wchar_t full[MAX_PATH];
    DWORD length = name[0] != 0 ? GetFullPathNameW(name, MAX_PATH, full, NULL) : 0;
    if (length == 0 || length >= MAX_PATH) {
        lstrcpynW(identity->longName, name, MAX_PATH);
        return;
    }
    length = GetLongPathNameW(full, identity->longName, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        lstrcpynW(identity->longName, full, MAX_PATH);  // a file still to be made
    HANDLE file = CreateFileW(name, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(file, &info)) {
        identity->known = 1;
        identity->volume = info.dwVolumeSerialNumber;
        identity->indexHigh = info.nFileIndexHigh;
        identity->indexLow = info.nFileIndexLow;
    }
    CloseHandle(file);
}

// Whether a copy made under `name` belongs to the document `wanted`: the
// same file, however its name is spelled (capitals, a short name, another
// drive that reaches the same volume).
static int SameDocument(const wchar_t* name, const FileIdentity& wanted)
{
    if ((name[0] == 0) != (wanted.longName[0] == 0))
        return 0;
    FileIdentity other;
    IdentifyFile(name, &other);
    if (wanted.known && other.known)
        return wanted.volume == other.volume && wanted.indexHigh == other.indexHigh &&
               wanted.indexLow == other.indexLow;
    // Capitals as the file system folds them, character by character: a
    // comparison by the user's language would take names that differ
    // (by a character it ignores) for one.
    return CompareStringOrdinal(other.longName, -1, wanted.longName, -1, TRUE) == CSTR_EQUAL;
}

// The newest whole copy for `name` (empty: an untitled document) whose
// writer has ended; its id goes to `id`.
static int FindEndedCopy(const wchar_t* name, char* id, CopyHeader* found)
{
    wchar_t pattern[PATH_SIZE];
    if (!CopyPath(pattern, "*", ".copy"))
        return 0;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FileIdentity wanted;
    IdentifyFile(name, &wanted);
    int any = 0;
    do {
        size_t length = wcslen(entry.cFileName);
        if (length <= 5 || length - 5 >= ID_SIZE || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // An id is ASCII; any other name is no copy of ours.
        char candidate[ID_SIZE];
        size_t i = 0;
        for (; i < length - 5 && entry.cFileName[i] < 0x80; ++i)
            candidate[i] = (char)entry.cFileName[i];
        candidate[i] = '\0';
        wchar_t path[PATH_SIZE];
        CopyHeader header = {};
        ULONGLONG size = ((ULONGLONG)entry.nFileSizeHigh << 32) | entry.nFileSizeLow;
        if (i < length - 5 || lstrcmpiA(candidate, Recovery.id) == 0 || !CopyPath(path, candidate, ".copy") ||
            !ReadHeader(path, size, &header) || (any && header.time <= found->time) ||
            !SameDocument(header.name, wanted) || !WriterEnded(candidate))
            continue;
        *found = header;
        lstrcpynA(id, candidate, ID_SIZE);
        any = 1;
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return any;
}

// The ended editor's copy and what it left beside it.
static void DeleteCopy(const char* id)
{
    static const char* const extensions[] = {".copy", ".lock", ".tmp"};
    for (const char* extension : extensions) {
        wchar_t path[PATH_SIZE];
        if (CopyPath(path, id, extension))
            DeleteFileW(path);
    }
}

// Reads copy `id`'s text; says so when it cannot.
static int ReadCopy(const char* id, const CopyHeader& header, RecoveredText* found)
{
    wchar_t path[PATH_SIZE];
    if (!CopyPath(path, id, ".copy"))
        return 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    HANDLE heap = GetProcessHeap();
    char* bytes = file != INVALID_HANDLE_VALUE ? (char*)HeapAlloc(heap, 0, (SIZE_T)header.length + 2) : NULL;
    DWORD read = 0;
    int ok = bytes != NULL && SetFilePointer(file, (LONG)header.headerLength, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
             Sys.ReadFile(file, bytes, header.length, &read, NULL) && read == header.length;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    wchar_t* text = NULL;
    if (ok && header.encoding >= 0) {
        text = (wchar_t*)bytes;  // the control's own characters
        text[read / sizeof(wchar_t)] = 0;
        bytes = NULL;
    } else if (ok) {
        // An older editor's copy: the code page's text.
        int units = read > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, NULL, 0) : 0;
        text = (wchar_t*)HeapAlloc(heap, 0, ((SIZE_T)units + 1) * sizeof(wchar_t));
        if (text != NULL) {
            if (units > 0)
                MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, text, units);
            text[units] = 0;
        }
    }
    HeapFree(heap, 0, bytes);
    if (text == NULL) {
        // Gone since it was offered, or unreadable: the user must not
        // think the changes are back.
        wchar_t message[PATH_SIZE + 64];
        swprintf(message, PATH_SIZE + 64, L"The recovery copy %ls could not be read: nothing was recovered.", path);
        Sys.MessageBoxW(Penrik.hwndMain, message, L"Penrik", MB_ICONEXCLAMATION);
        return 0;
    }
    found->text = text;
    found->breaks = header.breaks;
    found->encoding = header.encoding >= 0 ? header.encoding : 0;
    lstrcpynA(found->id, id, sizeof found->id);
    return 1;
}

void AdoptRecoveryCopy(const RecoveredText& found)
{
    wchar_t path[PATH_SIZE], own[PATH_SIZE];
    EnterCriticalSection(&Recovery.fileLock);
    if (CopyPath(path, found.id, ".copy") && MakeOwnPlace() && CopyPath(own, Recovery.id, ".copy") &&
        MoveFileExW(path, own, MOVEFILE_REPLACE_EXISTING))
        DeleteCopy(found.id);
    LeaveCriticalSection(&Recovery.fileLock);
}

void FreeRecoveredText(RecoveredText* found)
{
    HeapFree(GetProcessHeap(), 0, found->text);
    found->text = NULL;
}

// Whether the file was written after the copy's time.
static int ChangedSince(const wchar_t* name, ULONGLONG time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (name[0] == 0 || !GetFileAttributesExW(name, GetFileExInfoStandard, &data))
        return 0;
    ULONGLONG written = ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    return written > time;
}

int TakeRecoveryCopy(const wchar_t* name, RecoveredText* found)
{
    found->text = NULL;
    DropRecoveryCopy();
    if (!Recovery.enabled)
        return 0;
    char id[ID_SIZE];
    CopyHeader header = {};
    if (!FindEndedCopy(name, id, &header))
        return 0;

    // The local time of that day, in the user's own form.
    FILETIME utc;
    utc.dwHighDateTime = (DWORD)(header.time >> 32);
    utc.dwLowDateTime = (DWORD)header.time;
    SYSTEMTIME universal, when;
    wchar_t date[64] = L"", time[64] = L"";
    if (FileTimeToSystemTime(&utc, &universal) && SystemTimeToTzSpecificLocalTime(NULL, &universal, &when)) {
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, NULL, date, 64);
        GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &when, NULL, time, 64);
    }
    // Room for the longest name and both times: never cut.
    wchar_t question[QUESTION_SIZE];
    if (name[0] != 0)
        swprintf(question, QUESTION_SIZE,
                 L"%ls has changes that were not saved when Penrik ended on %ls at %ls.%ls Recover them?", name, date,
                 time, ChangedSince(name, header.time) ? L" The file has changed since then." : L"");
    else
        swprintf(question, QUESTION_SIZE,
                 L"An untitled document has text that was not saved when Penrik ended on %ls at %ls. Recover it?",
                 date, time);
    int answer = Sys.MessageBoxW(Penrik.hwndMain, question, L"Penrik", MB_YESNO | MB_ICONQUESTION);
    // A box that could not be shown decides nothing.
    if (answer == IDNO)
        DeleteCopy(id);
    return answer == IDYES && ReadCopy(id, header, found);
}
