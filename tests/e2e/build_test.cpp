// The Build menu and the help key, with real processes under Wine: the
// user's penrik.bat through the command interpreter, and the help viewer.
#include "driver.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <map>
#include <set>
#include <vector>

#include "resources/resource.h"

namespace {

// A batch file that notes which folder's copy ran and its first argument.
void WriteRecordingBatch(const std::string& folder, const std::string& tag)
{
    // Folder names repeat between runs when process ids do.
    DeleteFileA((folder + "calls.txt").c_str());
    ASSERT_TRUE(WriteBytes(folder + "penrik.bat", "@echo off\r\necho " + tag + " %1>>calls.txt\r\n"));
}

bool WaitForContents(const std::string& path, const std::string& expected, DWORD milliseconds)
{
    return WaitFor([&] { return ReadBytes(path) == expected; }, milliseconds);
}

void PostCommand(Program& program, int id)
{
    PostMessageA(program.main, WM_COMMAND, (WPARAM)id, 0);
}

std::set<DWORD> ProcessesNamed(const char* name)
{
    std::set<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, name) == 0)
            found.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return found;
}

void EndProgram(Program& program)
{
    PostCommand(program, IDM_EXIT);
    DWORD code = 0;
    if (!WaitExit(program, 10000, &code))
        Kill(program);
}

BOOL CALLBACK FindEdit(HWND child, LPARAM lParam)
{
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") != 0)
        return TRUE;
    *(HWND*)lParam = child;
    return FALSE;
}

// The name field sits in a combo box inside that control, at any depth.
HWND EditInside(HWND control)
{
    HWND edit = NULL;
    if (control != NULL)
        EnumChildWindows(control, FindEdit, (LPARAM)&edit);
    return edit;
}

// Picks `path` in the program's real Open dialog. `notShown` tells a
// dialog that did not show where that is a limit of the machine.
bool OpenThroughTheDialog(Program& program, const std::string& path, bool& notShown)
{
    PostCommand(program, IDM_OPEN);
    HWND dialog = WaitForDialog(program.info.dwProcessId, 15000);
    notShown = dialog == NULL && FileDialogLimit() != NULL;
    if (dialog == NULL) {
        if (!notShown)
            ADD_FAILURE() << "no Open dialog";
        return false;
    }
    HWND name = NULL;
    WaitFor([&] { return (name = EditInside(GetDlgItem(dialog, 0x47C))) != NULL; }, 5000);
    if (name == NULL) {
        std::string children;
        for (HWND c = GetWindow(dialog, GW_CHILD); c != NULL; c = GetWindow(c, GW_HWNDNEXT)) {
            char cls[64] = "";
            GetClassNameA(c, cls, sizeof cls);
            children += std::string(cls) + ":" + std::to_string(GetDlgCtrlID(c)) + " ";
        }
        ADD_FAILURE() << "no name field in the dialog \"" << TextOf(dialog) << "\": " << children;
        return false;
    }
    SendMessageA(name, WM_SETTEXT, 0, (LPARAM)path.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    return WaitFor([&] { return TextOf(program.main) == "PENRIK - " + path; }, 15000);
}

TEST(Build, BatchFileRunsForEachBuildCommand)
{
    ResetSettings();
    std::string first = FreshFolder();
    WriteRecordingBatch(first, "first");
    std::string source = first + "hello.c";
    ASSERT_TRUE(WriteBytes(source, "int main(void) { return 0; }\r\n"));

    Program program;
    ASSERT_TRUE(Launch(program, source, first));
    // The load enables Compile, Build and BuildAll.
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(program.main, IDM_COMPILE)) != FALSE; },
                        15000));

    const std::string calls = first + "calls.txt";
    std::string expected;
    const std::pair<int, std::string> rows[] = {
        {IDM_COMPILE, source}, {IDM_BUILD, "b"}, {IDM_BUILDALL, "a"}, {IDM_CLEAN, "c"}};
    for (const auto& row : rows) {
        // One at a time: batch files started together may append in any order.
        expected += "first " + row.second + "\r\n";
        PostCommand(program, row.first);
        EXPECT_TRUE(WaitForContents(calls, expected, 30000))
            << "after command " << row.first << " the file holds:\n" << ReadBytes(calls);
    }

    // A file chosen in another folder makes that folder's batch file the one that runs.
    std::string second = FreshFolder();
    WriteRecordingBatch(second, "second");
    std::string other = second + "other.c";
    ASSERT_TRUE(WriteBytes(other, "int other;\r\n"));
    bool notShown = false;
    bool opened = OpenThroughTheDialog(program, other, notShown);
    if (notShown) {
        Kill(program);
        GTEST_SKIP() << FileDialogLimit();
    }
    ASSERT_TRUE(opened) << TextOf(program.main);
    PostCommand(program, IDM_BUILD);
    EXPECT_TRUE(WaitForContents(second + "calls.txt", "second b\r\n", 30000))
        << ReadBytes(second + "calls.txt");
    EXPECT_EQ(expected, ReadBytes(calls));

    EndProgram(program);
}

TEST(Build, F1StartsTheHelpViewer)
{
    ResetSettings();
    std::string folder = FreshFolder();
    Program program;
    ASSERT_TRUE(Launch(program, "", folder));

    std::set<DWORD> before = ProcessesNamed("winhlp32.exe");
    LPARAM key = 1 | ((LPARAM)MapVirtualKeyA(VK_F1, 0) << 16);
    PostMessageA(program.main, WM_KEYDOWN, VK_F1, key);
    PostMessageA(program.main, WM_KEYUP, VK_F1, key | 0xC0000000L);

    DWORD viewer = 0;
    bool started = WaitFor(
        [&] {
            for (DWORD pid : ProcessesNamed("winhlp32.exe"))
                if (before.count(pid) == 0) {
                    viewer = pid;
                    return true;
                }
            return false;
        },
        30000);
    EXPECT_TRUE(started) << "no new winhlp32.exe process";
    // Wine's winhlp32.exe in the Windows folder hands over to the system
    // folder's: every new one is ended until none has come for a while,
    // or one would hold the test's output open.
    std::set<DWORD> ended;
    for (DWORD quiet = GetTickCount(); started && GetTickCount() - quiet < 1500; Sleep(50)) {
        for (DWORD pid : ProcessesNamed("winhlp32.exe")) {
            if (before.count(pid) != 0 || !ended.insert(pid).second)
                continue;
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
            if (process != NULL) {
                TerminateProcess(process, 0);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
            quiet = GetTickCount();
        }
    }
    EndProgram(program);
}

// The command line another process was started with, from its process
// parameters; "" when they cannot be read.
std::string CommandLineOf(HANDLE process)
{
    typedef NTSTATUS(NTAPI * QueryFunction)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    QueryFunction query =
        (QueryFunction)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    if (query == NULL)
        return "";
    // Asked of the system, which answers across widths (a 32-bit test
    // may see its 32-bit editor start a 64-bit viewer); else read from
    // the process's own parameters.
    const PROCESSINFOCLASS commandLineInformation = (PROCESSINFOCLASS)60;
    std::vector<char> asked(4096);
    ULONG size = 0;
    if (query(process, commandLineInformation, asked.data(), (ULONG)asked.size(), &size) == 0) {
        const UNICODE_STRING* given = (const UNICODE_STRING*)asked.data();
        char line[1024];
        int length = WideCharToMultiByte(CP_ACP, 0, given->Buffer, given->Length / sizeof(WCHAR), line, sizeof line,
                                         NULL, NULL);
        return std::string(line, length > 0 ? length : 0);
    }
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS parameters;
    if ( query(process, ProcessBasicInformation, &basic, sizeof basic, NULL) != 0 ||
        !ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, NULL) ||
        !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, NULL))
        return "";
    std::wstring wide(parameters.CommandLine.Length / sizeof(WCHAR), L'\0');
    if (wide.empty() ||
        !ReadProcessMemory(process, parameters.CommandLine.Buffer, &wide[0], parameters.CommandLine.Length, NULL))
        return "";
    char line[1024];
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), line, sizeof line, NULL, NULL);
    return std::string(line, length > 0 ? length : 0);
}

// penrik.exe started as this test's debuggee: every process it starts is
// debugged too and stops at its first breakpoint, before its own code
// runs. There its command line is noted and it is ended, so even a viewer
// that would end at once (hh.exe given a file it cannot read) is seen.
struct Debuggee {
    PROCESS_INFORMATION info = {};
    HWND main = NULL;
    bool ended = false;
    std::map<DWORD, HANDLE> children;     // not yet ended, by process id
    std::vector<std::string> childLines;  // in the order they started
    std::vector<std::string> childImages; // their programs' full names

    bool Launch(const std::string& folder)
    {
        std::string line = "\"" + PenrikExe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(PenrikExe.c_str(), &line[0], NULL, NULL, FALSE, DEBUG_PROCESS, NULL, folder.c_str(),
                            &startup, &info))
            return false;
        return Serve([&] { return (main = FindWindowOf(info.dwProcessId, "PenrikWClass")) != NULL; }, 15000);
    }

    // Handles the debug events until `done` holds, for up to `milliseconds`.
    template <typename F> bool Serve(F done, DWORD milliseconds)
    {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > milliseconds)
                return false;
            DEBUG_EVENT event;
            if (!WaitForDebugEvent(&event, 20))
                continue;
            DWORD status = DBG_CONTINUE;
            bool child = event.dwProcessId != info.dwProcessId;
            switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile != NULL)
                    CloseHandle(event.u.CreateProcessInfo.hFile);
                if (child)
                    children[event.dwProcessId] = event.u.CreateProcessInfo.hProcess;
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile != NULL)
                    CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXCEPTION_DEBUG_EVENT:
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                    status = DBG_EXCEPTION_NOT_HANDLED;
                else if (child && children.count(event.dwProcessId) != 0) {
                    childLines.push_back(CommandLineOf(children[event.dwProcessId]));
                    char image[MAX_PATH] = "";
                    DWORD length = MAX_PATH;
                    if (!QueryFullProcessImageNameA(children[event.dwProcessId], 0, image, &length))
                        image[0] = '\0';
                    childImages.push_back(image);
                    TerminateProcess(children[event.dwProcessId], 0);
                }
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                if (child)
                    children.erase(event.dwProcessId);
                else
                    ended = true;
                break;
            }
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        }
        return true;
    }

    ~Debuggee()
    {
        for (const auto& running : children)
            TerminateProcess(running.second, 0);
        if (info.hProcess != NULL) {
            if (!ended)
                TerminateProcess(info.hProcess, 99);
            Serve([&] { return ended && children.empty(); }, 10000);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

TEST(Build, AChmHelpFileStartsHtmlHelpWithItsName)
{
    ResetSettings("[Penrik]\r\nHelp2File=Ref.chm\r\n");
    Debuggee editor;
    ASSERT_TRUE(editor.Launch(FreshFolder()));

    LPARAM key = 1 | ((LPARAM)MapVirtualKeyA(VK_F6, 0) << 16);
    PostMessageA(editor.main, WM_KEYDOWN, VK_F6, key);
    PostMessageA(editor.main, WM_KEYUP, VK_F6, key | 0xC0000000L);
    ASSERT_TRUE(editor.Serve([&] { return !editor.childLines.empty(); }, 30000)) << "no process started";
    // The Windows folder's hh.exe, whatever the current folder holds.
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string viewer = std::string(windows) + "\\hh.exe";
    std::string line = editor.childLines[0];
    if (line.empty()) {
        // Under Wine 8 a 32-bit test cannot read the command line of the
        // 64-bit hh.exe that its 32-bit editor starts: its program, then.
        EXPECT_EQ(0, lstrcmpiA(viewer.c_str(), editor.childImages[0].c_str())) << editor.childImages[0];
        printf("the viewer's command line cannot be read from here; its program was %s\n",
               editor.childImages[0].c_str());
    } else {
        std::string program = line.substr(0, line.find("\" ") + 2);
        EXPECT_EQ(0, lstrcmpiA(program.c_str(), ("\"" + viewer + "\" ").c_str())) << line;
        EXPECT_EQ("Ref.chm", line.substr(program.size())) << line;
    }

    // The viewer was ended before it ran; the editor goes on.
    EXPECT_TRUE(editor.Serve([&] { return editor.children.empty(); }, 10000));
    PostMessageA(editor.main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(editor.Serve([&] { return editor.ended; }, 15000)) << "the editor did not end";
}

}  // namespace
