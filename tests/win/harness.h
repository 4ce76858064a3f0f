// In-process harness: starts the real program in this process, answers
// the calls that would wait on a person, and drives the real windows.
#ifndef PENRIK_TEST_HARNESS_H
#define PENRIK_TEST_HARNESS_H

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/common/files.h"
#include "app/settings_keys.h"
#include "document/document.h"
#include "editing/editing.h"
#include "print/print.h"
#include "search/search.h"
#include "tools/tools.h"

struct BoxCall {
    std::string text;
    std::string caption;  // "(none)" for a null caption
    UINT type;
};

struct DialogCall {
    std::string kind;   // "open" or "save"
    std::string title;  // "(none)" for a null title
    DWORD flags;
    DWORD filterIndex;
    std::string nameShown;  // the file field when the dialog opened
    OPENFILENAMEA record;   // as the dialog was given it
};

// A choice of `path`, or a cancel; a cancel with a path is a person who
// typed it into the name field and then pressed Cancel.
struct DialogAnswer {
    bool ok;
    std::string path;
};

struct ShellCall {
    std::string operation, file, parameters, directory;
    int show;
};

// What the fakes saw and what they are to answer, for one test.
struct Script {
    std::deque<int> boxAnswers;
    std::vector<BoxCall> boxes;
    std::deque<DialogAnswer> dialogAnswers;
    std::vector<DialogCall> dialogs;
    std::vector<ShellCall> shell;
    DWORD version = 0x0A06;  // a modern major version
    bool mailLibraryPresent = true;
    bool failNextWrite = false;  // the next WriteFile writes half and fails
    int failReadAfter = -1;      // ReadFile reads half and fails once this many more succeed
    int failAllocAfter = -1;     // LocalAlloc fails once this many more succeed
};

extern Script script;

// The dialogs and the shell as the tests script them, in UTF-8; the
// program's wide calls reach these.
struct Utf8Calls {
    BOOL (WINAPI *GetOpenFileName)(LPOPENFILENAMEA);
    BOOL (WINAPI *GetSaveFileName)(LPOPENFILENAMEA);
    HINSTANCE (WINAPI *ShellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
};
extern Utf8Calls Utf8Sys;

// Where a window is on the screen.
inline RECT WindowRectOf(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

// Expects the window's outer rectangle at this place and of this size.
inline void ExpectWindowAt(HWND hwnd, int left, int top, int width, int height)
{
    RECT r = WindowRectOf(hwnd);
    EXPECT_EQ(left, r.left);
    EXPECT_EQ(top, r.top);
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(height, r.bottom - r.top);
}

// Notes a file dialog as it was shown, for the fakes of the dialogs.
void RecordDialog(const char* kind, LPOPENFILENAMEA ofn);


class PenrikTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the settings file with `contents` (no file when empty).
    void WriteSettings(const std::string& contents);
    std::string SettingsPath();
    // The user's own settings file, and where the system redirected an
    // older release's writes into the Windows folder.
    std::string UserSettingsPath();
    std::string VirtualStorePath();
    void PlaceSettingsFile(const std::string& path, const std::string& contents);
    // Runs start-up with this command line and handles what it posted.
    void Start(const std::string& commandLine = "", int show = SW_SHOW);
    // Dispatches everything waiting, the way the message loop does.
    void Pump();
    // A command as the menu would send it.
    void Command(int id);
    // A key press through the accelerator table to the focused window.
    void Key(UINT vk, bool ctrl = false, bool alt = false, bool shift = false);
    // Characters typed into the focused window.
    void Type(const std::string& text);

    std::string EditText();
    // Puts `text` on the clipboard, as another program's copy would.
    void SetClipboard(const std::string& text);
    // The brush the main window hands the edit control for its paint.
    HBRUSH EditBrush();
    // The line the status panel shows (from 0) and whether the next
    // change of line skips its indentation.
    unsigned int LineShown() { return CurrentChangeState().lineShown; }
    int SkipIndent() { return CurrentChangeState().skipIndent; }
    std::string Caption();
    bool MenuGrayed(int id);
    bool ButtonEnabled(int id);

    std::string TempDir();  // a fresh folder for this test, with a trailing backslash
    void WriteFileBytes(const std::string& path, const std::string& bytes);
    std::string ReadFileBytes(const std::string& path);
    bool FileExists(const std::string& path);

    int exitCode = -1;  // the quit message's code once it has come
    bool started = false;
    std::string tempDir;
};

#endif
