// Drives penrik.exe as its own process, from outside, as a person would.
#ifndef PENRIK_E2E_DRIVER_H
#define PENRIK_E2E_DRIVER_H

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/common/files.h"
#include "tests/common/windows.h"

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

// The top-level "#32770" window of the process, when one shows.
HWND WaitForDialog(DWORD processId, DWORD milliseconds);
// A window's text in characters, as UTF-8.
std::string Utf8TextOf(HWND hwnd);
// Waits for the program to end and expects it to end with code 0.
void End(Program& program);
// Posts a marker and waits until the program has handled what came before.
inline void Settle(Program& program) { Settle(program.main); }
// A key pressed into the program's focused window (its main window when
// none), with Ctrl or Alt held, as the keyboard sends it.
void PressKey(Program& program, UINT vk, bool ctrl = false, bool alt = false);

// Why a 32-bit build's file dialog may fail to show here, or NULL where it
// always shows (see driver.cpp).
const char* FileDialogLimit();

std::string SettingsPath();
void ResetSettings(const std::string& contents = "");
inline std::string FreshFolder() { return FreshFolder("penrik-e2e"); }

#endif
