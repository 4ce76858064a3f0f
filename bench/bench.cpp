// Drives the real editor in this process and prints one line per figure:
//   name  value  unit  [baseline  ratio]
// Each figure is the median of several runs; baselines are measured in
// the same run.
#include "app/app.h"
#include "app/settings_keys.h"
#include "document/document.h"
#include "editing/editing.h"
#include "print/print.h"
#include "search/search.h"
#include "tools/tools.h"

#include <psapi.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

static int Runs = 5;
static std::string Folder;

static double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * (double)t.QuadPart / (double)frequency.QuadPart;
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Times `work` Runs times, with `prepare` (untimed) before each run.
static double Measure(const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        prepare();
        double start = Now();
        work();
        times.push_back(Now() - start);
    }
    return Median(times);
}

static void Report(const char* name, double value, const char* unit, double baseline = -1)
{
    if (baseline > 0)
        printf("%-36s %12.2f %-3s %12.2f %8.3f\n", name, value, unit, baseline, value / baseline);
    else
        printf("%-36s %12.2f %-3s\n", name, value, unit);
    fflush(stdout);
}

static int WINAPI AnswerBox(HWND, LPCSTR, LPCSTR, UINT type)
{
    return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDNO : IDOK;
}
static int WINAPI AnswerBoxW(HWND, LPCWSTR, LPCWSTR, UINT type)
{
    return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDNO : IDOK;
}

// The bench names its files in the code page.
static void SetDocumentName(const std::string& path)
{
    wchar_t name[NAME_SIZE] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, name, NAME_SIZE);
    SetDocumentName(name);
}

static void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchWithAccelerators(&msg);
}

// Source-like text: lines of about 60 characters; `matches` of them
// carry the word "needle".
static std::string MakeText(size_t bytes, size_t matches)
{
    static const char* const shapes[] = {
        "\tif (count > limit) { total += value * factor; }",
        "\t\tresult = compute_value(alpha, beta, gamma);    ",
        "static int helper_function(int argument, char *s)",
        "\t/* a comment line that explains what happens */",
        "\t\tfor (index = 0; index < size; ++index) sum++; ",
    };
    std::string text;
    text.reserve(bytes + 128);
    size_t lines = bytes / 62 + 1;
    size_t every = matches > 0 ? std::max<size_t>(1, lines / matches) : 0;
    size_t placed = 0;
    for (size_t i = 0; text.size() < bytes; ++i) {
        std::string line = shapes[i % 5];
        if (every && i % every == 0 && placed < matches) {
            line.replace(line.size() - 8, 6, "needle");
            ++placed;
        }
        text += line;
        text += "\r\n";
    }
    text.resize(bytes);
    return text;
}

static std::string WriteTemp(const char* name, const std::string& text)
{
    std::string path = Folder + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    return path;
}

static void StartEditor()
{
    ResetSystemCalls();
    Sys.MessageBoxA = AnswerBox;
    Sys.MessageBoxW = AnswerBoxW;
    if (!StartUp(GetModuleHandleA(NULL), L"", SW_SHOW)) {
        printf("the editor did not start\n");
        exit(1);
    }
    Pump();
}

static void StopEditor()
{
    SetModified(0);
    ShutDown();
}

// A plain top-level window with a bare multi-line Edit control.
struct BareEdit {
    HWND window = NULL, edit = NULL;
    BareEdit()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "BenchBare";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "BenchBare", "bare", WS_OVERLAPPEDWINDOW, 0, 28, 640, 424, NULL, NULL,
                                 wc.hInstance, NULL);
        // A control of characters, as the editor's is.
        edit = CreateWindowExW(0, L"Edit", NULL, 0x503001C4L /* the editor's plain style */, 0, 44, 632, 330, window,
                               (HMENU)1, wc.hInstance, NULL);
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        Pump();
    }
    // The editor's default font and tab stops, which cost the platform's
    // control time of their own: a second baseline, so that the editor's
    // own share shows.
    void UseEditorLook()
    {
        LOGFONTA record = {};
        record.lfHeight = SettingKeys[SET_FONTSIZE].intDefault;
        lstrcpynA(record.lfFaceName, SettingKeys[SET_FONTNAME].textDefault, LF_FACESIZE);
        font = CreateFontIndirectA(&record);
        SendMessageA(edit, WM_SETFONT, (WPARAM)font, 0);
        DWORD tabStop = 8;  // the editor's, in dialog units
        SendMessageA(edit, EM_SETTABSTOPS, 1, (LPARAM)&tabStop);
    }
    HFONT font = NULL;
    ~BareEdit()
    {
        DestroyWindow(window);
        if (font != NULL)
            DeleteObject(font);
        UnregisterClassA("BenchBare", GetModuleHandleA(NULL));
        Pump();
    }
};

// The bare control's WM_SETTEXT of a text, as it comes and with the
// editor's look: `set` gives the control the text, `clear` empties it.
static void MeasureBareLoads(const std::function<void(HWND)>& clear, const std::function<void(HWND)>& set,
                             double bare[2])
{
    for (int look = 0; look < 2; ++look) {
        BareEdit edit;
        if (look)
            edit.UseEditorLook();
        bare[look] = Measure([&] { clear(edit.edit); }, [&] { set(edit.edit); });
    }
}

static void StartupFigure()
{
    // Each run leaves a started editor behind; the next run stops it untimed.
    double ours = Measure([] { if (Penrik.hwndMain != NULL) StopEditor(); }, [] { StartEditor(); });
    StopEditor();
    double bare = Measure([] {}, [] { BareEdit bare; });
    Report("startup", ours, "ms", bare);
}

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
        HWND edit = NULL;
        struct Find {
            DWORD pid;
            HWND main;
        } find = {info.dwProcessId, NULL};
        EnumWindows(
            [](HWND hwnd, LPARAM p) -> BOOL {
                Find* f = (Find*)p;
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                if (pid == f->pid && IsWindowVisible(hwnd)) {
                    f->main = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            (LPARAM)&find);
        if (find.main != NULL)
            edit = FindWindowExA(find.main, NULL, "Edit", NULL);
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

static void LoadFigure(const char* name, size_t bytes, int runs)
{
    int saved = Runs;
    Runs = runs;
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
    Runs = saved;
}

// Run in a fresh process: the peak working set of loading one file.
static int PeakLoad(const char* path)
{
    StartEditor();
    SetDocumentName(path);
    LoadDocument();
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("%llu\n", (unsigned long long)counters.PeakWorkingSetSize);
    StopEditor();
    return 0;
}

// Run in a fresh process: the peak working set of a bare control given
// the same file's bytes, which is as low as a program can go on this
// platform's control.
static int PeakBare(const char* path, bool utf8)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD size = GetFileSize(file, NULL), read = 0;
    char* bytes = (char*)VirtualAlloc(NULL, size + 1, MEM_COMMIT, PAGE_READWRITE);
    ReadFile(file, bytes, size, &read, NULL);
    CloseHandle(file);
    bytes[read] = '\0';
    // A UTF-8 file's characters, as the editor gives them to its control.
    wchar_t* text = NULL;
    if (utf8) {
        text = (wchar_t*)VirtualAlloc(NULL, (read + 1) * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
        text[MultiByteToWideChar(CP_UTF8, 0, bytes, (int)read, text, (int)read)] = 0;
        VirtualFree(bytes, 0, MEM_RELEASE);
        bytes = NULL;
    }
    {
        BareEdit edit;
        if (utf8)
            SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)text);
        else
            SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)bytes);
        VirtualFree(utf8 ? (void*)text : (void*)bytes, 0, MEM_RELEASE);
        PROCESS_MEMORY_COUNTERS counters = {};
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        printf("%llu\n", (unsigned long long)counters.PeakWorkingSetSize);
    }
    return 0;
}

// Runs this program with `mode` and the file in a process of its own and
// returns the peak working set it prints, in MB.
static double PeakOf(const char* mode, const std::string& path)
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" " + mode + " \"" + path + "\"";
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    HANDLE readEnd, writeEnd;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info;
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup, &info))
        return 0;
    CloseHandle(writeEnd);
    char output[64] = "";
    DWORD read = 0;
    ReadFile(readEnd, output, sizeof output - 1, &read, NULL);
    output[read] = '\0';
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(readEnd);
    return strtod(output, NULL) / 1048576.0;
}

static void PeakFigure(size_t bytes)
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
static void SaveFigure(const char* name, const std::string& bytes)
{
    std::string path = WriteTemp("save.txt", bytes);
    StartEditor();
    SetDocumentName(path);
    LoadDocument();
    int saved = Runs;
    Runs = std::max(Runs, 9);  // a save takes milliseconds, and this machine's disk varies
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
    Runs = saved;
    StopEditor();
    std::string figure = std::string("save ") + name;
    Report((figure + " in place").c_str(), inPlace, "ms", plain[0]);
    Report((figure + ", replace way").c_str(), replacing, "ms", plain[0]);
    Report((figure + " in place (+flush)").c_str(), inPlace, "ms", plain[1]);
    Report((figure + ", replace (+flush)").c_str(), replacing, "ms", plain[1]);
}

// The same lines with LF breaks, loaded and saved against their CR LF
// twin: the conversion each way is all that differs.
static void LineBreaksFigure(size_t bytes)
{
    std::string crlf = MakeText(bytes, 0);
    std::string lf;
    lf.reserve(crlf.size());
    for (char c : crlf)
        if (c != '\r')
            lf += c;
    std::string crlfPath = WriteTemp("breaks crlf.txt", crlf);
    std::string lfPath = WriteTemp("breaks lf.txt", lf);
    int saved = Runs;
    Runs = 3;
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
    Runs = saved;
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
static void RecoveryFigure(size_t bytes)
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

static std::string IndentedLines(size_t lines)
{
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += i + 1 == lines ? "\t\tif (x) {" : "\t\tstatement_number_x;\r\n";
    return text;
}

static void PressEnterAtEnd(HWND edit, const std::string& text)
{
    SendMessageA(edit, EM_SETSEL, text.size(), text.size());
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1 | (MapVirtualKeyA(VK_RETURN, 0) << 16));
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001 | (MapVirtualKeyA(VK_RETURN, 0) << 16));
    Pump();
}

static void EnterFigure(size_t lines)
{
    std::string text = IndentedLines(lines);
    StartEditor();
    double ours = Measure([&] { SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                          [&] { PressEnterAtEnd(Penrik.hwndEdit, text); });
    StopEditor();
    double bare;
    {
        BareEdit edit;
        bare = Measure([&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                       [&] { PressEnterAtEnd(edit.edit, text); });
    }
    Report("enter with auto-indent, 100k lines", ours, "ms", bare);
}

// The Find dialog, answered from a thread timer inside its own message
// loop: the fields get these texts and the case box this state, then Next.
static const char* DialogFind = "";
static const char* DialogReplacement = "";
static int DialogCase = 0;

static void CALLBACK AnswerFindBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Find");
    if (dialog == NULL || GetPropA(dialog, "answered") != NULL)
        return;
    SetPropA(dialog, "answered", (HANDLE)1);
    SetDlgItemTextA(dialog, IDC_FINDTEXT, DialogFind);
    SetDlgItemTextA(dialog, IDC_REPLTEXT, DialogReplacement);
    CheckDlgButton(dialog, IDC_CASE, DialogCase ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
}

static ReplaceAllWay ReplaceWay = REPLACE_ALL_IN_ONE_PASS;

static void WithFindBox(int command, const char* find, const char* replacement, int caseSensitive)
{
    DialogFind = find;
    DialogReplacement = replacement;
    DialogCase = caseSensitive;
    UINT_PTR timer = SetTimer(NULL, 0, 1, AnswerFindBox);
    if (command == IDM_REPLACEALL)
        ReplaceAllCommand(ReplaceWay);
    else
        SearchCommand(command);
    KillTimer(NULL, timer);
}

static void FindFigure(size_t bytes)
{
    std::string text = MakeText(bytes, 0);
    text.replace(text.size() - 8, 6, "NeedLe");
    StartEditor();
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    for (int caseSensitive = 1; caseSensitive >= 0; --caseSensitive) {
        const char* find = caseSensitive ? "NeedLe" : "nEEdlE";
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, text.size(), text.size());
        WithFindBox(IDM_FIND, find, "", caseSensitive);  // ends at once with "Done"
        double ours = Measure([] { SendMessageA(Penrik.hwndEdit, EM_SETSEL, 0, 0); },
                              [] { SearchCommand(IDM_FINDNEXT); });
        DWORD start = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        if (start != text.size() - 8)
            printf("find did not reach the match at the end\n");
        Report(caseSensitive ? "find next to the end of 10 MB, case" : "find next to the end of 10 MB, no case",
               ours, "ms");
    }
    StopEditor();
}

// Replace All of "needle" by "thread" (`matches` of them in `bytes`):
// against one WM_SETTEXT of the result in a bare control, or, with
// `againstLoop`, against the match-by-match loop.
static void ReplaceAllFigure(const char* name, size_t bytes, size_t matches, bool againstLoop)
{
    std::string text = MakeText(bytes, matches);
    text.insert(0, "x");  // the loop's first search starts one past 0
    StartEditor();
    std::string result;
    auto timeReplaceAll = [&](int atOnce) {
        ReplaceWay = atOnce ? REPLACE_ALL_IN_ONE_PASS : REPLACE_ALL_STEP_BY_STEP;
        double t = Measure([&] { SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                           [] { WithFindBox(IDM_REPLACEALL, "needle", "thread", 1); });
        ReplaceWay = REPLACE_ALL_IN_ONE_PASS;
        int length = GetWindowTextLengthA(Penrik.hwndEdit);
        result.assign((size_t)length, '\0');
        SendMessageA(Penrik.hwndEdit, WM_GETTEXT, length + 1, (LPARAM)&result[0]);
        return t;
    };
    double ours = timeReplaceAll(1);
    std::string fast = result;
    double baseline;
    if (againstLoop) {
        int saved = Runs;
        Runs = 1;
        baseline = timeReplaceAll(0);
        Runs = saved;
        if (result != fast)
            printf("the loop and the one-pass Replace All differ\n");
        StopEditor();
    } else {
        StopEditor();
        BareEdit edit;
        baseline = Measure([&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM) ""); },
                           [&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)fast.c_str()); });
    }
    Report(name, ours, "ms", baseline);
}

// Source text of the same shape with comments in German, Polish, Greek
// and Japanese, as UTF-8 bytes and as the control's characters.
static std::string MakeUtf8Text(size_t bytes, size_t matches)
{
    std::string ascii = MakeText(bytes, matches), text;
    text.reserve(bytes + bytes / 8);
    const std::string from = "a comment line", to = "Gr\xC3\xBC\xC3\x9F" "e \xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xB1\xCE\xB2 \xE6\x97\xA5\xE6\x9C\xAC";
    for (size_t at = 0;;) {
        size_t hit = ascii.find(from, at);
        text.append(ascii, at, hit == std::string::npos ? std::string::npos : hit - at);
        if (hit == std::string::npos)
            break;
        text += to;
        at = hit + from.size();
    }
    return text;
}

static std::wstring Widened(const std::string& utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize((size_t)MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &text[0], (int)text.size()));
    return text;
}

// UTF-8 files against the bare control given the same characters: load,
// Replace All, peak memory (their saves are among the save figures).
static void UnicodeFigures(size_t bytes)
{
    std::string utf8 = MakeUtf8Text(bytes, 1000);
    std::wstring text = Widened(utf8);
    std::string path = WriteTemp("utf8.txt", utf8);
    StartEditor();
    int saved = Runs;
    Runs = 3;
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
    Runs = saved;
    Report("load 10 MB UTF-8 (bare, same chars)", load, "ms", bareLoad[0]);
    Report("load 10 MB UTF-8 (bare, editor's font)", load, "ms", bareLoad[1]);
    Report("replace all, 1,000 in 10 MB UTF-8", replace, "ms", bareResult[0]);
    Report("replace all, UTF-8 (bare, editor's font)", replace, "ms", bareResult[1]);
    double megabytes = (double)utf8.size() / 1048576.0;
    Report("peak memory, load 10 MB UTF-8", PeakOf("--peak-load", path), "MB", megabytes);
    Report("peak memory, bare control, same chars", PeakOf("--peak-bare-utf8", path), "MB", megabytes);
}

// Printing to the default printer (the PDF queue of bench/run.sh) until
// a new PDF lies in PENRIK_PDF_FOLDER.
static BOOL WINAPI DefaultPrinter(LPPRINTDLGA record)
{
    record->Flags |= PD_RETURNDEFAULT;
    return PrintDlgA(record);
}

static size_t PdfCount(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    size_t count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

static void PrintFigure(size_t lines)
{
    const char* folder = getenv("PENRIK_PDF_FOLDER");
    if (folder == NULL) {
        printf("print: skipped, no PDF queue\n");
        return;
    }
    std::string text;
    for (size_t i = 0; i < lines; ++i)
        text += "\tline " + std::to_string(i + 1) + " of the printing figure, about sixty chars\r\n";
    StartEditor();
    Sys.PrintDlgA = DefaultPrinter;
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    int saved = Runs;
    Runs = 1;
    bool appeared = true;
    double t = Measure([] {}, [&] {
        size_t before = PdfCount(folder);
        PrintCommand();
        appeared = false;
        for (int i = 0; i < 6000 && !appeared; ++i) {  // at most ten minutes
            appeared = PdfCount(folder) > before;
            if (!appeared)
                Sleep(100);
        }
    });
    Runs = saved;
    StopEditor();
    if (appeared)
        Report("print 10,000 lines to PDF", t, "ms");
    else
        printf("print: no PDF appeared\n");
}

// How the bare control's WM_SETTEXT depends on the window state and the
// font: penrik_bench --settext MEGABYTES (code-page text) or
// --settext-utf8 MEGABYTES (the UTF-8 figure's characters).
static int SetTextExperiment(size_t megabytes, bool utf8)
{
    std::wstring text = utf8 ? Widened(MakeUtf8Text(megabytes << 20, 0)) : Widened(MakeText(megabytes << 20, 0));
    if (megabytes > 1)
        Runs = 2;
    BareEdit edit;
    auto set = [&] { SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); };
    auto clear = [&] { SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)L""); };
    Report("settext shown", Measure(clear, set), "ms");
    if (megabytes == 1) {  // the window's state, at 1 MB only
        Report("settext no redraw", Measure(clear, [&] {
            SendMessageW(edit.edit, WM_SETREDRAW, FALSE, 0);
            set();
            SendMessageW(edit.edit, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(edit.edit, NULL, TRUE);
        }), "ms");
        Report("settext control hidden", Measure(clear, [&] {
            ShowWindow(edit.edit, SW_HIDE);
            set();
            ShowWindow(edit.edit, SW_SHOW);
        }), "ms");
    }
    edit.UseEditorLook();
    Report("settext editor font and tabs", Measure(clear, set), "ms");
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--peak-load") == 0)
        return PeakLoad(argv[2]);
    if (argc == 3 && strcmp(argv[1], "--settext") == 0)
        return SetTextExperiment((size_t)atoi(argv[2]), false);
    if (argc == 3 && strcmp(argv[1], "--settext-utf8") == 0)
        return SetTextExperiment((size_t)atoi(argv[2]), true);
    if (argc == 3 && strcmp(argv[1], "--peak-bare") == 0)
        return PeakBare(argv[2], false);
    if (argc == 3 && strcmp(argv[1], "--peak-bare-utf8") == 0)
        return PeakBare(argv[2], true);
    // penrik_bench --recovery [RUNS]: that figure alone.
    bool recoveryOnly = argc >= 2 && strcmp(argv[1], "--recovery") == 0;
    if (recoveryOnly) {
        --argc;
        ++argv;
    }
    if (argc >= 2 && argv[1][0] != '-')
        Runs = atoi(argv[1]) > 0 ? atoi(argv[1]) : Runs;

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "penrik-bench\\";
    CreateDirectoryA(Folder.c_str(), NULL);
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);

    printf("%-36s %12s %-3s %12s %8s\n", "figure", "value", "", "baseline", "ratio");
    if (argc >= 2 && strcmp(argv[1], "--breaks") == 0) {
        LineBreaksFigure(10 << 20);  // the line-break figures alone
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "--save") == 0) {
        SaveFigure("10 MB", MakeText(10 << 20, 0));  // the save figures alone
        SaveFigure("10 MB UTF-8", MakeUtf8Text(10 << 20, 0));
        return 0;
    }
    if (recoveryOnly) {
        RecoveryFigure(10 << 20);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "--startup") == 0) {
        StartupFigure();  // the start-up figure alone
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "--unicode") == 0) {
        UnicodeFigures(10 << 20);  // the UTF-8 figures alone
        LoadFigure("load 10 MB", 10 << 20, 3);
        PeakFigure(10 << 20);
        return 0;
    }
    StartupFigure();
    LoadFigure("load 1 MB", 1 << 20, Runs);
    LoadFigure("load 10 MB", 10 << 20, 3);
    PeakFigure(10 << 20);
    SaveFigure("10 MB", MakeText(10 << 20, 0));
    SaveFigure("10 MB UTF-8", MakeUtf8Text(10 << 20, 0));
    LineBreaksFigure(10 << 20);
    RecoveryFigure(10 << 20);
    UnicodeFigures(10 << 20);
    EnterFigure(100000);
    FindFigure(10 << 20);
    ReplaceAllFigure("replace all, 10,000 in 1 MB", 1 << 20, 10000, false);
    ReplaceAllFigure("replace all, 1,000 in 10 MB", 10 << 20, 1000, false);
    ReplaceAllFigure("replace all, 10,000 in 1 MB (loop)", 1 << 20, 10000, true);
    PrintFigure(10000);
    return 0;
}
