// Recovery copies: while the document has unsaved changes, a copy of the
// control's text lies in %LOCALAPPDATA%\Penrik\Recovery, so that a crash
// or a killed process loses nothing. This is the writer: the window's
// thread only copies the text out of the control; a writer thread puts it
// on disk, through a new file and a rename, so that a copy is whole or
// absent.
#include "document/recovery.h"

#include "base/process.h"
#include "document/copyformat.h"
#include "document/recovery_place.h"

#define RECOVERY_TICK     500    // how often waiting changes are looked at, ms
#define RECOVERY_QUIET    2000   // a pause this long after a change writes a copy
#define RECOVERY_LONGEST  25000  // changes that go on are copied at least this often

// One copy on its way to the disk.
struct CopyJob {
    wchar_t* text;
    DWORD length;  // in bytes
    wchar_t name[MAX_PATH];
    LineBreaks breaks;
    TextEncoding encoding;
    ULONGLONG time;  // UTC, in FILETIME units
};

static struct {
    bool pending;                 // changes that no copy holds yet
    DWORD firstChange, lastChange;
    HANDLE thread, wake;          // the writer and its signal
    bool quit;
    bool sectionMade;
    CRITICAL_SECTION jobLock;     // guards job and quit
    CopyJob* job;                 // the newest copy the writer has not taken
} Writer;

static void FreeJob(CopyJob* job)
{
    if (job == NULL)
        return;
    HeapFree(GetProcessHeap(), 0, job->text);
    HeapFree(GetProcessHeap(), 0, job);
}

static CopyJob* TakeJob(bool* quit)
{
    EnterCriticalSection(&Writer.jobLock);
    CopyJob* job = Writer.job;
    Writer.job = NULL;
    if (quit != NULL)
        *quit = Writer.quit;
    LeaveCriticalSection(&Writer.jobLock);
    return job;
}

static bool WriteAll(HANDLE file, const char* data, DWORD length)
{
    DWORD written = 0;
    return WriteFile(file, data, length, &written, NULL) && written == length;
}

// Writes the job's copy in full, or leaves the previous one. Under fileLock.
static void WriteJob(CopyJob* job)
{
    wchar_t temporary[COPY_PATH_SIZE], copy[COPY_PATH_SIZE];
    if (!MakeOwnPlace() || !CopyPath(temporary, Place.id, ".tmp") || !CopyPath(copy, Place.id, ".copy"))
        return;
    char header[COPY_HEADER_SIZE];
    size_t headerLength =
        FormatCopyHeader((const char16_t*)job->name, job->breaks, job->encoding, job->time, job->length, header);
    if (headerLength == 0)
        return;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    // On the disk before the rename, or a power cut could leave a copy
    // that has its name but not its text.
    bool ok = WriteAll(file, header, (DWORD)headerLength) && WriteAll(file, (const char*)job->text, job->length) &&
              FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = false;
    if (!ok || !MoveFileExW(temporary, copy, MOVEFILE_REPLACE_EXISTING))
        DeleteFileW(temporary);
}

static DWORD WINAPI WriterThread(LPVOID)
{
    for (;;) {
        WaitForSingleObject(Writer.wake, INFINITE);
        bool quit = false;
        EnterCriticalSection(&Place.fileLock);
        CopyJob* job = TakeJob(&quit);
        if (job != NULL)
            WriteJob(job);
        LeaveCriticalSection(&Place.fileLock);
        FreeJob(job);
        if (quit)
            return 0;
    }
}

// Writes here and now whatever the writer has not taken yet, after the
// copy it may be writing.
static void WriteWaitingJob(void)
{
    EnterCriticalSection(&Place.fileLock);
    CopyJob* job = TakeJob(NULL);
    if (job != NULL)
        WriteJob(job);
    LeaveCriticalSection(&Place.fileLock);
    FreeJob(job);
}

static void HandToWriter(CopyJob* job)
{
    EnterCriticalSection(&Writer.jobLock);
    CopyJob* older = Writer.job;
    Writer.job = job;
    LeaveCriticalSection(&Writer.jobLock);
    FreeJob(older);
    if (Writer.thread == NULL) {
        if (Writer.wake == NULL)
            Writer.wake = CreateEventA(NULL, FALSE, FALSE, NULL);
        if (Writer.wake != NULL)
            Writer.thread = CreateThread(NULL, 0, WriterThread, NULL, 0, NULL);
    }
    if (Writer.thread != NULL)
        SetEvent(Writer.wake);
    else
        WriteWaitingJob();
}

static void StopWaiting(void)
{
    if (Writer.pending && Penrik.hwndMain != NULL)
        KillTimer(Penrik.hwndMain, RECOVERY_TIMER);
    Writer.pending = false;
}

void StartRecovery(bool enabled)
{
    if (!Writer.sectionMade) {
        InitializeCriticalSection(&Writer.jobLock);
        Writer.sectionMade = true;
    }
    EndRecovery();  // what an earlier start in this process left
    Writer.quit = false;
    FindRecoveryPlace(enabled);
}

void NoteRecoveryChange(void)
{
    if (!Place.enabled)
        return;
    DWORD now = GetTickCount();
    Writer.lastChange = now;
    if (Writer.pending)
        return;
    Writer.pending = true;
    Writer.firstChange = now;
    SetTimer(Penrik.hwndMain, RECOVERY_TIMER, RECOVERY_TICK, NULL);
}

void RecoveryTick(const CopiedDocument& document)
{
    DWORD now = GetTickCount();
    if (!Writer.pending || !document.modified)
        StopWaiting();
    else if (now - Writer.lastChange >= RECOVERY_QUIET || now - Writer.firstChange >= RECOVERY_LONGEST)
        CopyForRecovery(document, false);
}

void CopyForRecovery(const CopiedDocument& document, bool wait)
{
    StopWaiting();
    if (!Place.enabled || !document.modified || Place.folder[0] == 0)
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
    if (!Writer.sectionMade || !Place.sectionMade)
        return;
    EnterCriticalSection(&Place.fileLock);
    FreeJob(TakeJob(NULL));
    wchar_t copy[COPY_PATH_SIZE];
    if (Place.lock != NULL && CopyPath(copy, Place.id, ".copy"))
        DeleteFileW(copy);
    LeaveCriticalSection(&Place.fileLock);
}

void EndRecovery(void)
{
    DropRecoveryCopy();
    if (Writer.thread != NULL) {
        EnterCriticalSection(&Writer.jobLock);
        Writer.quit = true;
        LeaveCriticalSection(&Writer.jobLock);
        SetEvent(Writer.wake);
        WaitForSingleObject(Writer.thread, INFINITE);
        CloseHandle(Writer.thread);
        Writer.thread = NULL;
    }
    if (Writer.wake != NULL)
        CloseHandle(Writer.wake);
    Writer.wake = NULL;
    ReleaseOwnPlace();
}
