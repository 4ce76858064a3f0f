// The offer of a recovery copy: the next editor that loads the same file
// (or starts untitled) after one ended without saving its changes finds
// that editor's copy and asks the user whether to take it up.
#include "document/recovery.h"

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/copyformat.h"
#include "document/recovery_place.h"

// A copy found, with the name its header gives.
struct FoundCopy {
    char id[COPY_ID_SIZE];
    CopyHeader header;
    wchar_t name[MAX_PATH];
};

// Whether the editor that wrote copy `id` has ended: its lock is gone or
// can be opened. Any other answer counts as running.
static bool WriterEnded(const char* id)
{
    wchar_t path[COPY_PATH_SIZE];
    if (!CopyPath(path, id, ".lock"))
        return false;
    HANDLE lock = CreateFileW(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (lock != INVALID_HANDLE_VALUE) {
        CloseHandle(lock);
        return true;
    }
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Reads the header of the copy at `path`, of `size` bytes, and the name it
// gives (an older editor's in the code page).
static bool ReadHeader(const wchar_t* path, ULONGLONG size, FoundCopy* copy)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char text[COPY_HEADER_SIZE];
    DWORD read = 0;
    if (!ReadFile(file, text, sizeof text - 1, &read, NULL))
        read = 0;
    CloseHandle(file);
    if (!ParseCopyHeader(text, read, size, &copy->header))
        return false;
    if (copy->header.codePageName[0] == '\0') {
        lstrcpynW(copy->name, (const wchar_t*)copy->header.name, MAX_PATH);
        return true;
    }
    return MultiByteToWideChar(CP_ACP, 0, copy->header.codePageName, -1, copy->name, MAX_PATH) != 0;
}

// What a document's name stands for: its full long name and, for a file
// that is there, which file of which volume it is.
struct FileIdentity {
    wchar_t longName[MAX_PATH];  // empty for an untitled document
    bool known;                  // the file could be opened: its numbers hold
    DWORD volume, indexHigh, indexLow;
};

static void IdentifyFile(const wchar_t* name, FileIdentity* identity)
{
    identity->known = false;
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
        identity->known = true;
        identity->volume = info.dwVolumeSerialNumber;
        identity->indexHigh = info.nFileIndexHigh;
        identity->indexLow = info.nFileIndexLow;
    }
    CloseHandle(file);
}

// Whether a copy made under `name` belongs to the document `wanted`: the
// same file, however its name is spelled (capitals, a short name, another
// drive that reaches the same volume).
static bool SameDocument(const wchar_t* name, const FileIdentity& wanted)
{
    if ((name[0] == 0) != (wanted.longName[0] == 0))
        return false;
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
// writer has ended.
static bool FindEndedCopy(const wchar_t* name, FoundCopy* found)
{
    wchar_t pattern[COPY_PATH_SIZE];
    if (!CopyPath(pattern, "*", ".copy"))
        return false;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FileIdentity wanted;
    IdentifyFile(name, &wanted);
    bool any = false;
    do {
        size_t length = wcslen(entry.cFileName);
        if (length <= 5 || length - 5 >= COPY_ID_SIZE || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // An id is ASCII; any other name is no copy of ours.
        FoundCopy candidate;
        size_t i = 0;
        for (; i < length - 5 && entry.cFileName[i] < 0x80; ++i)
            candidate.id[i] = (char)entry.cFileName[i];
        candidate.id[i] = '\0';
        wchar_t path[COPY_PATH_SIZE];
        ULONGLONG size = ((ULONGLONG)entry.nFileSizeHigh << 32) | entry.nFileSizeLow;
        if (i < length - 5 || lstrcmpiA(candidate.id, Place.id) == 0 || !CopyPath(path, candidate.id, ".copy") ||
            !ReadHeader(path, size, &candidate) || (any && candidate.header.time <= found->header.time) ||
            !SameDocument(candidate.name, wanted) || !WriterEnded(candidate.id))
            continue;
        *found = candidate;
        any = true;
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return any;
}

// The copy's text as the control's characters; NULL when it cannot be read.
static wchar_t* ReadText(const wchar_t* path, const CopyHeader& header)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    HANDLE heap = GetProcessHeap();
    char* bytes = file != INVALID_HANDLE_VALUE ? (char*)HeapAlloc(heap, 0, (SIZE_T)header.length + 2) : NULL;
    DWORD read = 0;
    bool ok = bytes != NULL &&
              SetFilePointer(file, (LONG)header.headerLength, NULL, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              Sys.ReadFile(file, bytes, header.length, &read, NULL) && read == header.length;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    wchar_t* text = NULL;
    if (ok && !header.textInCodePage) {
        text = (wchar_t*)bytes;  // the control's own characters
        text[read / sizeof(wchar_t)] = 0;
        bytes = NULL;
    } else if (ok) {
        int units = read > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, NULL, 0) : 0;
        text = (wchar_t*)HeapAlloc(heap, 0, ((SIZE_T)units + 1) * sizeof(wchar_t));
        if (text != NULL) {
            if (units > 0)
                MultiByteToWideChar(CP_ACP, 0, bytes, (int)read, text, units);
            text[units] = 0;
        }
    }
    HeapFree(heap, 0, bytes);
    return text;
}

// Reads the found copy's text; says so when it cannot.
static bool ReadCopy(const FoundCopy& copy, RecoveredText* found)
{
    wchar_t path[COPY_PATH_SIZE];
    if (!CopyPath(path, copy.id, ".copy"))
        return false;
    wchar_t* text = ReadText(path, copy.header);
    if (text == NULL) {
        // Gone since it was offered, or unreadable: the user must not
        // think the changes are back.
        ShowMessage(Penrik.hwndMain, IDS_RECOVERY_UNREADABLE, IDS_CAPTION_PENRIK, MB_ICONEXCLAMATION, path);
        return false;
    }
    found->text = text;
    found->breaks = copy.header.breaks;
    found->encoding = copy.header.encoding;
    lstrcpynA(found->id, copy.id, sizeof found->id);
    return true;
}

void AdoptRecoveryCopy(const RecoveredText& found)
{
    wchar_t path[COPY_PATH_SIZE], own[COPY_PATH_SIZE];
    EnterCriticalSection(&Place.fileLock);
    if (CopyPath(path, found.id, ".copy") && MakeOwnPlace() && CopyPath(own, Place.id, ".copy") &&
        MoveFileExW(path, own, MOVEFILE_REPLACE_EXISTING))
        DeleteCopy(found.id);
    LeaveCriticalSection(&Place.fileLock);
}

void FreeRecoveredText(RecoveredText* found)
{
    HeapFree(GetProcessHeap(), 0, found->text);
    found->text = NULL;
}

// Whether the file was written after the copy's time.
static bool ChangedSince(const wchar_t* name, ULONGLONG time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (name[0] == 0 || !GetFileAttributesExW(name, GetFileExInfoStandard, &data))
        return false;
    ULONGLONG written = ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    return written > time;
}

bool TakeRecoveryCopy(const wchar_t* name, RecoveredText* found)
{
    found->text = NULL;
    DropRecoveryCopy();
    if (!Place.enabled)
        return false;
    FoundCopy copy;
    if (!FindEndedCopy(name, &copy))
        return false;

    // The local time of that day, in the user's own form.
    FILETIME utc;
    utc.dwHighDateTime = (DWORD)(copy.header.time >> 32);
    utc.dwLowDateTime = (DWORD)copy.header.time;
    SYSTEMTIME universal, when;
    wchar_t date[64] = L"", time[64] = L"";
    if (FileTimeToSystemTime(&utc, &universal) && SystemTimeToTzSpecificLocalTime(NULL, &universal, &when)) {
        GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, NULL, date, 64);
        GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &when, NULL, time, 64);
    }
    int answer;
    if (name[0] != 0) {
        wchar_t changed[64] = L"";
        if (ChangedSince(name, copy.header.time))
            MessageText(changed, 64, IDS_RECOVER_FILE_CHANGED);
        answer = ShowMessage(Penrik.hwndMain, IDS_RECOVER_CHANGES, IDS_CAPTION_PENRIK, MB_YESNO | MB_ICONQUESTION, name,
                             date, time, changed);
    } else {
        answer = ShowMessage(Penrik.hwndMain, IDS_RECOVER_UNTITLED, IDS_CAPTION_PENRIK, MB_YESNO | MB_ICONQUESTION,
                             date, time);
    }
    // A box that could not be shown decides nothing.
    if (answer == IDNO)
        DeleteCopy(copy.id);
    return answer == IDYES && ReadCopy(copy, found);
}
