// Looks at an unpacked release the way Windows and a user would:
//   release_check version FILE   prints the version resource's fields, read
//                                as the file's properties page reads them
//   release_check run FILE       starts FILE in its own folder with no
//                                settings, waits for its main window, chooses
//                                File > Exit and prints the exit code
// Exits 0 when the step worked.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "resources/resource.h"

static const char* const VersionFields[] = {
    "FileDescription", "FileVersion", "ProductName", "ProductVersion", "OriginalFilename", "LegalCopyright",
};

static int PrintVersion(const char* file)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &ignored);
    if (size == 0) {
        printf("no version resource (error %lu)\n", GetLastError());
        return 1;
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file, 0, size, data.data())) {
        printf("GetFileVersionInfoA failed (error %lu)\n", GetLastError());
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\", (void**)&fixed, &length) && length >= sizeof *fixed)
        printf("FILEVERSION=%u.%u.%u.%u\n", (unsigned)HIWORD(fixed->dwFileVersionMS),
               (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS),
               (unsigned)LOWORD(fixed->dwFileVersionLS));
    // The strings are looked up under the first language and code page that
    // the Translation list names, as the properties page does.
    WORD* translation = NULL;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", (void**)&translation, &length) ||
        length < 2 * sizeof(WORD)) {
        printf("no Translation list\n");
        return 1;
    }
    for (const char* field : VersionFields) {
        char path[128];
        snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], field);
        char* value = NULL;
        if (VerQueryValueA(data.data(), path, (void**)&value, &length) && value)
            printf("%s=%s\n", field, value);
        else
            printf("%s is missing\n", field);
    }
    return 0;
}

struct Search {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    Search* search = (Search*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char name[64];
    if (pid == search->processId && GetClassNameA(hwnd, name, sizeof name) &&
        lstrcmpiA(name, search->className) == 0 && (!search->visibleOnly || IsWindowVisible(hwnd))) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

static HWND WindowOf(DWORD processId, const char* className, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        Search search = {processId, className, true, NULL};
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found || GetTickCount() - start >= milliseconds)
            return search.found;
        Sleep(50);
    }
}

// A message box left standing: its text, or "" when there is none.
static std::string MessageShown(DWORD processId)
{
    HWND box = WindowOf(processId, "#32770", 0);
    if (!box)
        return "";
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text[0] ? text : "(a dialog)";
}

static int RunAndExit(const char* file)
{
    // A first start: no settings file in the Windows folder.
    char settings[MAX_PATH];
    UINT length = GetWindowsDirectoryA(settings, MAX_PATH);
    snprintf(settings + length, sizeof settings - length, "\\Marravel.ini");
    DeleteFileA(settings);

    std::string folder = file;
    folder.resize(folder.find_last_of('\\') + 1);
    std::string line = "\"" + std::string(file) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(file, &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &process)) {
        printf("cannot start %s (error %lu)\n", file, GetLastError());
        return 1;
    }
    int result = 1;
    WaitForInputIdle(process.hProcess, 10000);
    HWND window = WindowOf(process.dwProcessId, "PenrikWClass", 20000);
    if (!window) {
        printf("no main window appeared\n");
    } else {
        // Once a sent message comes back the start-up is over.
        DWORD_PTR answer;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &answer);
        char caption[256] = "";
        GetWindowTextA(window, caption, sizeof caption);
        printf("window shown: \"%s\"\n", caption);
        std::string message = MessageShown(process.dwProcessId);
        if (!message.empty()) {
            printf("a message stands on start: %s\n", message.c_str());
        } else {
            PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
            if (WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0) {
                DWORD code = 0;
                GetExitCodeProcess(process.hProcess, &code);
                printf("exit code %lu\n", code);
                result = code == 0 ? 0 : 1;
            } else {
                message = MessageShown(process.dwProcessId);
                printf("still running after Exit%s%s\n", message.empty() ? "" : "; it asks: ", message.c_str());
            }
        }
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result;
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "version") == 0)
        return PrintVersion(argv[2]);
    if (argc == 3 && strcmp(argv[1], "run") == 0)
        return RunAndExit(argv[2]);
    fprintf(stderr, "usage: release_check version|run FILE\n");
    return 2;
}
