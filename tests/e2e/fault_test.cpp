// Faults met from outside: a file that this test process holds open with
// no sharing while penrik.exe loads and saves it, names at the length
// limit on the command line and in the real Open dialog.
#include "driver.h"

#include "resources/resource.h"

namespace {

// Waits for the program's next box, checks its text and presses `button`.
void Answer(Program& program, const std::string& text, int button)
{
    HWND box = WaitForDialog(program.info.dwProcessId, 15000);
    ASSERT_NE((HWND)NULL, box) << "no box saying: " << text;
    EXPECT_EQ(text, DialogText(box));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
    WaitFor([&] { return !IsWindow(box); }, 10000);
}

HANDLE Lock(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
}

// A path of exactly `total` characters: nested folders under a fresh
// folder, then a file name.
std::string PathOfLength(size_t total)
{
    std::string folder = FreshFolder();
    while (folder.size() + 60 < total) {
        size_t part = total - folder.size() - 60;
        folder += std::string(part > 100 ? 100 : part, 'd') + "\\";
        CreateDirectoryA(folder.c_str(), NULL);
    }
    return folder + std::string(total - folder.size(), 'n');
}

BOOL CALLBACK FindEdit(HWND child, LPARAM lParam)
{
    char name[16] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Edit") != 0)
        return TRUE;
    *(HWND*)lParam = child;
    return FALSE;
}

TEST(Faults, FileLockedByAnotherProcess)
{
    ResetSettings();
    std::string path = FreshFolder() + "held.txt";
    const std::string contents = "held by another process\r\n";
    ASSERT_TRUE(WriteBytes(path, contents));

    // Loading it: the program says so and starts untitled.
    HANDLE lock = Lock(path);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Program program;
    ASSERT_TRUE(Launch(program, path));
    Answer(program, "Cannot open " + path + ".", IDOK);
    EXPECT_TRUE(WaitFor([&] { return TextOf(program.main) == "penrik- Untitled"; }, 5000)) << TextOf(program.main);
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    EXPECT_EQ("", TextOf(edit));
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);
    CloseHandle(lock);
    EXPECT_EQ(contents, ReadBytes(path));

    // Saving it: the error, the file as it was, the changes still unsaved.
    ASSERT_TRUE(Launch(program, path));
    ASSERT_TRUE(WaitFor([&] { return TextOf(program.main) == "PENRIK - " + path; }, 10000));
    edit = GetDlgItem(program.main, IDC_EDIT);
    lock = Lock(path);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    PostMessageA(edit, WM_CHAR, 'Z', 1);
    Settle(program);
    PostMessageA(program.main, WM_COMMAND, IDM_SAVE, 0);
    Answer(program, "Error writing to " + path + ".", IDOK);
    CloseHandle(lock);
    EXPECT_EQ(contents, ReadBytes(path));

    // Exit still asks; once the file is free, Yes writes what was shown.
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    Answer(program, "Save current changes: " + path, IDYES);
    End(program);
    EXPECT_EQ("Z" + contents, ReadBytes(path));
}

TEST(Faults, CommandLineNamesAtTheLimit)
{
    ResetSettings();
    std::string fits = PathOfLength(255);
    ASSERT_EQ(255u, fits.size());
    ASSERT_TRUE(WriteBytes(fits, "long name"));
    Program program;
    ASSERT_TRUE(Launch(program, fits));
    EXPECT_TRUE(WaitFor([&] { return TextOf(program.main) == "PENRIK - " + fits; }, 10000)) << TextOf(program.main);
    EXPECT_EQ("long name", TextOf(GetDlgItem(program.main, IDC_EDIT)));
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);

    for (size_t extra : {1u, 45u}) {
        ASSERT_TRUE(Launch(program, fits + std::string(extra, 'x')));
        Answer(program, "The file name is longer than 255 characters; an empty document was opened instead.", IDOK);
        EXPECT_EQ("PENRIK", TextOf(program.main));
        EXPECT_EQ("", TextOf(GetDlgItem(program.main, IDC_EDIT)));
        PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
        End(program);
    }
    EXPECT_EQ("long name", ReadBytes(fits));
}

// The platform's own Open dialog, given a full path one character longer
// than the program's name room.
TEST(Faults, OpenDialogNameTooLong)
{
    ResetSettings();
    std::string fits = PathOfLength(255);
    std::string tooLong = fits + "x";
    ASSERT_TRUE(WriteBytes(fits, "kept"));
    Program program;
    ASSERT_TRUE(Launch(program, fits));
    ASSERT_TRUE(WaitFor([&] { return TextOf(program.main) == "PENRIK - " + fits; }, 10000));

    PostMessageA(program.main, WM_COMMAND, IDM_OPEN, 0);
    HWND dialog = WaitForDialog(program.info.dwProcessId, 15000);
    if (dialog == NULL && FileDialogLimit() != NULL) {
        Kill(program);
        GTEST_SKIP() << FileDialogLimit();
    }
    ASSERT_NE((HWND)NULL, dialog);
    HWND name = NULL;
    WaitFor([&] { return EnumChildWindows(GetDlgItem(dialog, 0x47C), FindEdit, (LPARAM)&name), name != NULL; },
            5000);
    if (name == NULL)
        Kill(program);
    ASSERT_NE((HWND)NULL, name);
    SendMessageA(name, WM_SETTEXT, 0, (LPARAM)tooLong.c_str());
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK));
    WaitFor([&] { return !IsWindow(dialog); }, 10000);
    Answer(program, "The file name is longer than 255 characters.", IDOK);
    EXPECT_EQ("PENRIK - " + fits, TextOf(program.main));
    EXPECT_EQ("kept", TextOf(GetDlgItem(program.main, IDC_EDIT)));

    // The document keeps its own name: a change and Exit ask about it.
    PostMessageA(GetDlgItem(program.main, IDC_EDIT), WM_CHAR, '+', 1);
    Settle(program);
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    Answer(program, "Save current changes: " + fits, IDYES);
    End(program);
    EXPECT_EQ("+kept", ReadBytes(fits));
}

}  // namespace
