#include "driver.h"

#include <stdio.h>

#include "resources/resource.h"

std::string PenrikExe;

bool Launch(Program& program, const std::string& arguments, const std::string& folder)
{
    std::string line = "\"" + PenrikExe + "\"";
    if (!arguments.empty())
        line += " " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring mutableLine = Wide(line), folderName = Wide(folder);
    if (!CreateProcessW(Wide(PenrikExe).c_str(), &mutableLine[0], NULL, NULL, FALSE, 0, NULL,
                        folder.empty() ? NULL : folderName.c_str(), &startup, &program.info)) {
        printf("%s did not start (error %lu)\n", line.c_str(), GetLastError());
        return false;
    }
    program.running = true;
    WaitForInputIdle(program.info.hProcess, 10000);
    // The main window is found as soon as it is made; its edit control
    // comes a moment later, and the tests take it at once.
    WaitFor([&] {
        program.main = FindWindowOf(program.info.dwProcessId, "PenrikWClass");
        return program.main != NULL && GetDlgItem(program.main, IDC_EDIT) != NULL;
    }, 15000);
    return program.main != NULL;
}

bool WaitExit(Program& program, DWORD milliseconds, DWORD* exitCode)
{
    if (WaitForSingleObject(program.info.hProcess, milliseconds) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(program.info.hProcess, exitCode);
    CloseHandle(program.info.hProcess);
    CloseHandle(program.info.hThread);
    program.running = false;
    return true;
}

Program::~Program() { Kill(*this); }

void Kill(Program& program)
{
    if (!program.running)
        return;
    TerminateProcess(program.info.hProcess, 99);
    DWORD code;
    WaitExit(program, 5000, &code);
}

HWND WaitForDialog(DWORD processId, DWORD milliseconds)
{
    HWND dialog = NULL;
    WaitFor([&] { return (dialog = FindWindowOf(processId, "#32770")) != NULL; }, milliseconds);
    return dialog;
}

std::string Utf8TextOf(HWND hwnd)
{
    int length = (int)SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(length + 1, L'\0');
    int copied = (int)SendMessageW(hwnd, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)&text[0]);
    text.resize(copied > 0 ? copied : 0);
    return Utf8(text.c_str());
}

void End(Program& program)
{
    DWORD code = 1234;
    bool ended = WaitExit(program, 15000, &code);
    if (!ended)
        Kill(program);
    EXPECT_TRUE(ended);
    EXPECT_EQ(0u, code);
}

const char* FileDialogLimit()
{
    // Under the i386 emulator (scripts/test.sh says when it is in use) the
    // system's file dialog of a 32-bit program now and then never shows:
    // the shell stops while it asks a drive's volume name for its "Look in"
    // list. Natively, and for the 64-bit build, a dialog that does not show
    // is a fault.
    if (sizeof(void*) != 4 || GetEnvironmentVariableA("PENRIK_I386_EMULATED", NULL, 0) == 0)
        return NULL;
    return "the file dialog did not show: under the i386 emulator a 32-bit program's file dialog "
           "now and then never appears (the shell stops while asking a drive's volume name)";
}

std::string SettingsPath()
{
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Marravel.ini";
}

void PressKey(Program& program, UINT vk, bool ctrl, bool alt)
{
    DWORD thread = GetWindowThreadProcessId(program.main, NULL);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    HWND target = GetFocus() != NULL ? GetFocus() : program.main;
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    state[VK_MENU] = state[VK_LMENU] = alt ? 0x80 : 0;
    SetKeyboardState(state);
    LPARAM key = 1 | ((LPARAM)MapVirtualKeyA(vk, 0) << 16) | (alt ? (1L << 29) : 0);
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, key);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, key | 0xC0000000L);
    Settle(program);
    state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_LMENU] = 0;
    SetKeyboardState(state);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
}

void ResetSettings(const std::string& contents)
{
    WritePrivateProfileStringA(NULL, NULL, NULL, "Marravel.ini");
    DeleteFileA(SettingsPath().c_str());
    if (!contents.empty()) {
        ASSERT_TRUE(WriteBytes(SettingsPath(), contents));
    }
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2 && !::testing::GTEST_FLAG(list_tests)) {
        fprintf(stderr, "usage: e2e_tests PATH-TO-penrik.exe\n");
        return 2;
    }
    std::string path = argc < 2 ? "" : argv[1];
    if (!path.empty() && path[0] == '/') {
        // A Unix path from the build: Wine shows the root as drive Z:.
        path = "Z:" + path;
        for (char& c : path)
            if (c == '/')
                c = '\\';
    }
    PenrikExe = path;
    return RUN_ALL_TESTS();
}
