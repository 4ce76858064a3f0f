// Loading, saving and the recovery copy, in the code page and in UTF-8,
// against the bare control, a plain write and Wine's notepad.exe.
#include "bench/figures.h"
#include "bench/harness.h"
#include "tests/common/windows.h"

#include "base/process.h"
#include "base/syscalls.h"
#include "document/document.h"
#include "resources/resource.h"

#include <stdio.h>

#include <algorithm>
#include <vector>

// Time from process start until notepad's edit control holds the text.
static double NotepadLoad(const std::string& path, size_t length)
{
    std::string line = "notepad.exe \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    double start = Now();
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return -1;
    double elapsed = -1;
    while (Now() - start < 300000) {
        HWND main = FindWindowOf(info.dwProcessId, NULL, true);
        HWND edit = main != NULL ? FindWindowExA(main, NULL, "Edit", NULL) : NULL;
        DWORD_PTR chars = 0;
        if (edit != NULL &&
            SendMessageTimeoutA(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 1000, &chars) && chars >= length) {
            elapsed = Now() - start;
            break;
        }
        Sleep(5);
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return elapsed;
}

void LoadFigure(const char* name, size_t bytes, int runs)
{
    RunsFor runsFor(runs);
    std::string text = MakeText(bytes, 0);
    std::string path = WriteTemp("load.txt", text);
    StartEditor();
    // Both controls start each run empty, as the baseline's does.
    double ours = Measure([&] {
        SetDocumentName(path);
        SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM) "");
    }, [] { LoadDocument(); });
    StopEditor();
    double bare[2];
    MeasureBareLoads([](HWND edit) { SendMessageA(edit, WM_SETTEXT, 0, (LPARAM) ""); },
                     [&](HWND edit) { SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); }, bare);
    Report(name, ours, "ms", bare[0]);
    Report((std::string(name) + " (bare, editor's font)").c_str(), ours, "ms", bare[1]);
    double notepad = NotepadLoad(path, text.size());
    std::string against = std::string(name) + " (notepad)";
    Report(against.c_str(), ours, "ms", notepad);
}

void PeakFigure(size_t bytes)
{
    std::string path = WriteTemp("peak.txt", MakeText(bytes, 0));
    Report("peak memory, load 10 MB", PeakOf("--peak-load", path), "MB", (double)bytes / 1048576.0);
    Report("peak memory, bare control 10 MB", PeakOf("--peak-bare", path), "MB", (double)bytes / 1048576.0);
}

static int AccessListsAlwaysKept(HANDLE) { return 1; }

// Both ways of saving an existing file: in place, as under Wine, and by
// replacing it, as on Windows (let to run here); against WM_GETTEXT and
// one WriteFile of the file's bytes, and against the same made durable
// with FlushFileBuffers, as each of the editor's writes is.
void SaveFigure(const char* name, const std::string& bytes)
{
    std::string path = WriteTemp("save.txt", bytes);
    StartEditor();
    SetDocumentName(path);
    LoadDocument();
    RunsFor runsFor(std::max(Runs, 9));  // a save takes milliseconds, and this machine's disk varies
    double inPlace = Measure([] { SetModified(1); }, [] { FileCommand(IDM_SAVE); });
    auto accessListsKept = Sys.AccessListsKept;
    Sys.AccessListsKept = AccessListsAlwaysKept;
    double replacing = Measure([] { SetModified(1); }, [] { FileCommand(IDM_SAVE); });
    Sys.AccessListsKept = accessListsKept;
    std::string plainPath = Folder + "plain.txt";
    double plain[2];
    for (int flushed = 0; flushed < 2; ++flushed)
        plain[flushed] = Measure([] {}, [&] {
            int length = GetWindowTextLengthW(Penrik.hwndEdit);
            std::vector<wchar_t> copy(length + 1);
            SendMessageW(Penrik.hwndEdit, WM_GETTEXT, length + 1, (LPARAM)copy.data());
            HANDLE file = CreateFileA(plainPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            DWORD written = 0;
            WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
            if (flushed)
                FlushFileBuffers(file);
            CloseHandle(file);
        });
    StopEditor();
    std::string figure = std::string("save ") + name;
    Report((figure + " in place").c_str(), inPlace, "ms", plain[0]);
    Report((figure + ", replace way").c_str(), replacing, "ms", plain[0]);
    Report((figure + " in place (+flush)").c_str(), inPlace, "ms", plain[1]);
    Report((figure + ", replace (+flush)").c_str(), replacing, "ms", plain[1]);
}

// The same lines with LF breaks, loaded and saved against their CR LF
// twin: the conversion each way is all that differs.
void LineBreaksFigure(size_t bytes)
{
    std::string crlf = MakeText(bytes, 0);
    std::string lf;
    lf.reserve(crlf.size());
    for (char c : crlf)
        if (c != '\r')
            lf += c;
    std::string crlfPath = WriteTemp("breaks crlf.txt", crlf);
    std::string lfPath = WriteTemp("breaks lf.txt", lf);
    RunsFor runsFor(3);
    StartEditor();
    double load[2], save[2];
    const std::string* paths[2] = {&crlfPath, &lfPath};
    for (int i = 0; i < 2; ++i) {
        const std::string& path = *paths[i];
        load[i] = Measure([&] {
            SetDocumentName(path);
            SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM) "");
        }, [] { LoadDocument(); });
        save[i] = Measure([] { SetModified(1); }, [] { FileCommand(IDM_SAVE); });
    }
    StopEditor();
    Report("load 10 MB, LF breaks (CR LF twin)", load[1], "ms", load[0]);
    Report("save 10 MB, LF breaks (CR LF twin)", save[1], "ms", save[0]);
}

// The size of the recovery copy this process left, 0 when there is none.
static ULONGLONG RecoveryCopySize()
{
    char base[MAX_PATH] = "";
    GetEnvironmentVariableA("LOCALAPPDATA", base, MAX_PATH);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(base) + "\\Penrik\\Recovery\\*.copy").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return ((ULONGLONG)found.nFileSizeHigh << 32) | found.nFileSizeLow;
}

// The window's thread per recovery copy (the writer thread puts it on
// disk), against one WM_GETTEXT of the same text into a fresh buffer.
void RecoveryFigure(size_t bytes)
{
    std::string text = MakeText(bytes, 0);
    StartEditor();
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    // Each run starts with the writer idle: the copy before is on disk.
    double ours = Measure([] { SetModified(1); WriteRecoveryCopy(1); }, [] { WriteRecoveryCopy(0); });
    double plain = Measure([] {}, [] {
        int length = GetWindowTextLengthA(Penrik.hwndEdit);
        std::vector<char> copy(length + 1);
        SendMessageA(Penrik.hwndEdit, WM_GETTEXT, length + 1, (LPARAM)copy.data());
    });
    SetModified(1);
    WriteRecoveryCopy(1);
    if (RecoveryCopySize() < bytes)
        printf("the recovery copy is not on disk whole\n");
    StopEditor();
    Report("recovery copy of 10 MB", ours, "ms", plain);
}

// UTF-8 files against the bare control given the same characters: load,
// Replace All, peak memory (their saves are among the save figures).
void UnicodeFigures(size_t bytes)
{
    std::string utf8 = MakeUtf8Text(bytes, 1000);
    std::wstring text = Widened(utf8);
    std::string path = WriteTemp("utf8.txt", utf8);
    RunsFor runsFor(3);
    StartEditor();
    double load = Measure([&] {
        SetDocumentName(path);
        SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)L"");
    }, [] { LoadDocument(); });
    if (DocumentEncoding() != ENCODING_UTF8)
        printf("the UTF-8 file was not read as UTF-8\n");
    std::wstring withX = L"x" + text;  // the first search starts one past 0
    double replace = Measure([&] { SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)withX.c_str()); },
                             [] { WithFindBox(IDM_REPLACEALL, "needle", "thread", 1); });
    std::wstring result((size_t)GetWindowTextLengthW(Penrik.hwndEdit) + 1, L'\0');
    result.resize(SendMessageW(Penrik.hwndEdit, WM_GETTEXT, result.size(), (LPARAM)&result[0]));
    StopEditor();
    auto clear = [](HWND edit) { SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)L""); };
    double bareLoad[2], bareResult[2];
    MeasureBareLoads(clear, [&](HWND edit) { SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); }, bareLoad);
    MeasureBareLoads(clear, [&](HWND edit) { SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)result.c_str()); },
                     bareResult);
    Report("load 10 MB UTF-8 (bare, same chars)", load, "ms", bareLoad[0]);
    Report("load 10 MB UTF-8 (bare, editor's font)", load, "ms", bareLoad[1]);
    Report("replace all, 1,000 in 10 MB UTF-8", replace, "ms", bareResult[0]);
    Report("replace all, UTF-8 (bare, editor's font)", replace, "ms", bareResult[1]);
    double megabytes = (double)utf8.size() / 1048576.0;
    Report("peak memory, load 10 MB UTF-8", PeakOf("--peak-load", path), "MB", megabytes);
    Report("peak memory, bare control, same chars", PeakOf("--peak-bare-utf8", path), "MB", megabytes);
}
