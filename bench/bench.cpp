// Drives the real editor in this process and prints one line per figure:
//   name  value  unit  [baseline  ratio]
// Each figure is the median of several runs; baselines are measured in
// the same run.
#include "app/penrik.h"

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

static void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
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
    StartUp(GetModuleHandleA(NULL), "", SW_SHOW);
    Pump();
}

static void StopEditor()
{
    Modified = 0;
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
        edit = CreateWindowExA(0, "Edit", NULL, EDIT_STYLE_PLAIN, 0, 44, 632, 330, window, (HMENU)1,
                               wc.hInstance, NULL);
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        Pump();
    }
    ~BareEdit()
    {
        DestroyWindow(window);
        UnregisterClassA("BenchBare", GetModuleHandleA(NULL));
        Pump();
    }
};

static void StartupFigure()
{
    double ours = Measure([] {}, [] { StartEditor(); });
    // Each run leaves a started editor behind; stop it untimed.
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
    double ours = Measure([&] { lstrcpynA(DocumentName, path.c_str(), NAME_SIZE); },
                          [] { LoadDocument(); });
    StopEditor();
    double bare;
    {
        BareEdit edit;
        bare = Measure([&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM) ""); },
                       [&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); });
    }
    Report(name, ours, "ms", bare);
    double notepad = NotepadLoad(path, text.size());
    std::string against = std::string(name) + " (notepad)";
    Report(against.c_str(), ours, "ms", notepad);
    Runs = saved;
}

// Run in a fresh process: the peak working set of loading one file.
static int PeakLoad(const char* path)
{
    StartEditor();
    lstrcpynA(DocumentName, path, NAME_SIZE);
    LoadDocument();
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("%llu\n", (unsigned long long)counters.PeakWorkingSetSize);
    StopEditor();
    return 0;
}

static void PeakFigure(size_t bytes)
{
    std::string path = WriteTemp("peak.txt", MakeText(bytes, 0));
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string line = "\"" + std::string(self) + "\" --peak-load \"" + path + "\"";
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
        return;
    CloseHandle(writeEnd);
    char output[64] = "";
    DWORD read = 0;
    ReadFile(readEnd, output, sizeof output - 1, &read, NULL);
    output[read] = '\0';
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(readEnd);
    double peak = strtod(output, NULL) / 1048576.0;
    Report("peak memory, load 10 MB", peak, "MB", (double)bytes / 1048576.0);
}

static void SaveFigure(size_t bytes)
{
    std::string text = MakeText(bytes, 0);
    std::string path = WriteTemp("save.txt", text);
    StartEditor();
    lstrcpynA(DocumentName, path.c_str(), NAME_SIZE);
    LoadDocument();
    double ours = Measure([] { Modified = 1; }, [] { FileCommand(IDM_SAVE); });
    std::string plainPath = Folder + "plain.txt";
    double plain = Measure([] {}, [&] {
        int length = GetWindowTextLengthA(hwndEdit);
        std::vector<char> copy(length + 1);
        SendMessageA(hwndEdit, WM_GETTEXT, length + 1, (LPARAM)copy.data());
        HANDLE file = CreateFileA(plainPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written = 0;
        WriteFile(file, copy.data(), (DWORD)length, &written, NULL);
        CloseHandle(file);
    });
    StopEditor();
    Report("save 10 MB", ours, "ms", plain);
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
    double ours = Measure([&] { SendMessageA(hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                          [&] { PressEnterAtEnd(hwndEdit, text); });
    StopEditor();
    double bare;
    {
        BareEdit edit;
        bare = Measure([&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                       [&] { PressEnterAtEnd(edit.edit, text); });
    }
    Report("enter with auto-indent, 100k lines", ours, "ms", bare);
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--peak-load") == 0)
        return PeakLoad(argv[2]);
    if (argc >= 2)
        Runs = atoi(argv[1]) > 0 ? atoi(argv[1]) : Runs;

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Folder = std::string(temp) + "penrik-bench\\";
    CreateDirectoryA(Folder.c_str(), NULL);
    WritePrivateProfileStringA(NULL, NULL, NULL, SETTINGS_FILE);

    printf("%-36s %12s %-3s %12s %8s\n", "figure", "value", "", "baseline", "ratio");
    StartupFigure();
    LoadFigure("load 1 MB", 1 << 20, Runs);
    LoadFigure("load 10 MB", 10 << 20, 3);
    PeakFigure(10 << 20);
    SaveFigure(10 << 20);
    EnterFigure(100000);
    return 0;
}
