// The Build menu and the help key, with real processes under Wine: the
// user's penrik.bat through the command interpreter, and the help viewer.
#include "driver.h"

#include <tlhelp32.h>

#include <set>

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
    if (started) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, viewer);
        EXPECT_NE((HANDLE)NULL, process);
        if (process != NULL) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
    EndProgram(program);
}

}  // namespace
