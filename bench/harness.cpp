#include "bench/harness.h"

#include "app/app.h"
#include "app/settings_keys.h"
#include "document/document.h"
#include "editing/editing.h"

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

int Runs = 5;
std::string Folder;

double Now()
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

double Measure(const std::function<void()>& prepare, const std::function<void()>& work)
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

void Report(const char* name, double value, const char* unit, double baseline)
{
    if (baseline > 0)
        printf("%-36s %12.2f %-3s %12.2f %8.3f\n", name, value, unit, baseline, value / baseline);
    else
        printf("%-36s %12.2f %-3s\n", name, value, unit);
    fflush(stdout);
}

void ReportHeader() { printf("%-36s %12s %-3s %12s %8s\n", "figure", "value", "", "baseline", "ratio"); }

std::string MakeText(size_t bytes, size_t matches)
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

std::string MakeUtf8Text(size_t bytes, size_t matches)
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

std::wstring Widened(const std::string& utf8)
{
    std::wstring text(utf8.size(), L'\0');
    text.resize((size_t)MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &text[0], (int)text.size()));
    return text;
}

std::string WriteTemp(const char* name, const std::string& text)
{
    std::string path = Folder + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
    return path;
}

static int WINAPI AnswerBox(HWND, LPCSTR, LPCSTR, UINT type)
{
    return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDNO : IDOK;
}
static int WINAPI AnswerBoxW(HWND, LPCWSTR, LPCWSTR, UINT type)
{
    return (type & MB_TYPEMASK) == MB_YESNOCANCEL ? IDNO : IDOK;
}

void StartEditor()
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

void StopEditor()
{
    SetModified(0);
    ShutDown();
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchWithAccelerators(&msg);
}

void SetDocumentName(const std::string& path)
{
    wchar_t name[NAME_SIZE] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, name, NAME_SIZE);
    SetDocumentName(name);
}

BareEdit::BareEdit()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "BenchBare";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "BenchBare", "bare", WS_OVERLAPPEDWINDOW, 0, 28, 640, 424, NULL, NULL, wc.hInstance,
                             NULL);
    // A control of characters, as the editor's is.
    edit = CreateWindowExW(0, L"Edit", NULL, EDIT_STYLE_PLAIN, 0, 44, 632, 330, window, (HMENU)1, wc.hInstance, NULL);
    SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    Pump();
}

void BareEdit::UseEditorLook()
{
    LOGFONTA record = {};
    record.lfHeight = SettingKeys[SET_FONTSIZE].intDefault;
    lstrcpynA(record.lfFaceName, SettingKeys[SET_FONTNAME].textDefault, LF_FACESIZE);
    font = CreateFontIndirectA(&record);
    SendMessageA(edit, WM_SETFONT, (WPARAM)font, 0);
    DWORD tabStop = 8;  // the editor's, in dialog units
    SendMessageA(edit, EM_SETTABSTOPS, 1, (LPARAM)&tabStop);
}

BareEdit::~BareEdit()
{
    DestroyWindow(window);
    if (font != NULL)
        DeleteObject(font);
    UnregisterClassA("BenchBare", GetModuleHandleA(NULL));
    Pump();
}

void MeasureBareLoads(const std::function<void(HWND)>& clear, const std::function<void(HWND)>& set, double bare[2])
{
    for (int look = 0; look < 2; ++look) {
        BareEdit edit;
        if (look)
            edit.UseEditorLook();
        bare[look] = Measure([&] { clear(edit.edit); }, [&] { set(edit.edit); });
    }
}

static void PrintPeak()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("%llu\n", (unsigned long long)counters.PeakWorkingSetSize);
}

int PeakLoad(const char* path)
{
    StartEditor();
    SetDocumentName(path);
    LoadDocument();
    PrintPeak();
    StopEditor();
    return 0;
}

// As low as a program can go on this platform's control.
int PeakBare(const char* path, bool utf8)
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
    BareEdit edit;
    if (utf8)
        SendMessageW(edit.edit, WM_SETTEXT, 0, (LPARAM)text);
    else
        SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)bytes);
    VirtualFree(utf8 ? (void*)text : (void*)bytes, 0, MEM_RELEASE);
    PrintPeak();
    return 0;
}

double PeakOf(const char* mode, const std::string& path)
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
