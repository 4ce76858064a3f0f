// A file named on the command line: opened, changed, and saved on the way out.
#include "driver.h"

#include "resources/resource.h"

TEST(Documents, ExitAnsweredYesWritesWhatTheEditorHeld)
{
    ResetSettings();
    std::string path = FreshFolder() + "started on.c";
    const std::string contents = "int main(void)\r\n{\r\n\treturn 0;\r\n}\r\n";
    ASSERT_TRUE(WriteBytes(path, contents));

    Program program;
    ASSERT_TRUE(Launch(program, path));
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    ASSERT_NE((HWND)NULL, edit);
    EXPECT_TRUE(WaitFor([&] { return TextOf(program.main) == "PENRIK - " + path; }, 10000))
        << TextOf(program.main);
    EXPECT_EQ(contents, TextOf(edit));

    PostMessageA(edit, WM_CHAR, 'Z', 1);
    Settle(program);
    std::string shown = TextOf(edit);
    EXPECT_EQ("Z" + contents, shown);

    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    HWND box = WaitForDialog(program.info.dwProcessId, 10000);
    if (box == NULL)
        Kill(program);
    ASSERT_NE((HWND)NULL, box) << "no question about the changes";
    EXPECT_EQ("Save current changes: " + path, DialogText(box));
    EXPECT_EQ("penrik", TextOf(box));
    HWND yes = GetDlgItem(box, IDYES);
    ASSERT_NE((HWND)NULL, yes);
    PostMessageA(yes, BM_CLICK, 0, 0);

    DWORD code = 1234;
    bool ended = WaitExit(program, 10000, &code);
    if (!ended)
        Kill(program);
    ASSERT_TRUE(ended);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(shown, ReadBytes(path));
}

// A file with LF breaks shows CR LF lines and is written back with LF.
TEST(Documents, LfFileKeepsItsBreaks)
{
    ResetSettings();
    std::string path = FreshFolder() + "unix.txt";
    ASSERT_TRUE(WriteBytes(path, "one\ntwo\n"));
    Program program;
    ASSERT_TRUE(Launch(program, path));
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    EXPECT_TRUE(WaitFor([&] { return TextOf(edit) == "one\r\ntwo\r\n"; }, 10000)) << TextOf(edit);
    PostMessageA(edit, WM_CHAR, 'Z', 1);
    PostMessageA(program.main, WM_COMMAND, IDM_SAVE, 0);
    Settle(program);
    EXPECT_EQ("Zone\ntwo\n", ReadBytes(path));
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);
}
