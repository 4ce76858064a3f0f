// Drives penrik.exe as its own process, from outside, as a person would.
#ifndef PENRIK_E2E_DRIVER_H
#define PENRIK_E2E_DRIVER_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/common/files.h"

extern std::string PenrikExe;  // the program under test, as a Windows path

struct Program {
    PROCESS_INFORMATION info = {};
    HWND main = NULL;
    bool running = false;

    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // One that a failed assertion left running is ended, so that it does
    // not hold the test's output open until the test's time runs out.
    ~Program();
};

// Starts penrik.exe with this command-line text in `folder` (the
// current folder when empty) and waits for its main window.
bool Launch(Program& program, const std::string& arguments, const std::string& folder = "");
// Waits for the process to end; false on time-out.
bool WaitExit(Program& program, DWORD milliseconds, DWORD* exitCode);
void Kill(Program& program);

// A top-level window of the process with this class (a "#32770" only
// when visible), or NULL.
HWND FindWindowOf(DWORD processId, const char* className);
// The top-level "#32770" window of the process, when one shows.
HWND WaitForDialog(DWORD processId, DWORD milliseconds);
std::string DialogText(HWND dialog);  // the static with id 0xFFFF
// A window's text, read through the window's own messages.
std::string TextOf(HWND hwnd);
// The same in characters, as UTF-8.
std::string Utf8TextOf(HWND hwnd);
// Waits for the program to end and expects it to end with code 0.
void End(Program& program);
// Posts a marker and waits until the program has handled what came before.
void Settle(Program& program);
// Polls `condition` for up to `milliseconds`.
template <typename F> bool WaitFor(F condition, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

// Why a 32-bit build's file dialog may fail to show here, or NULL where it
// always shows (see driver.cpp).
const char* FileDialogLimit();

std::string SettingsPath();
void ResetSettings(const std::string& contents = "");
std::string FreshFolder();

#endif
