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

// A UTF-8 C file with comments in four languages shows its characters; a
// character beyond the code page, typed and saved, lands as its UTF-8 bytes.
TEST(Documents, AUtf8FileShowsItsCharactersAndTakesNewOnes)
{
    ResetSettings();
    std::string path = FreshFolder() + "greetings.c";
    const std::string source = "/* Gr\xC3\xBC\xC3\x9F" "e, \xC5\x81\xC3\xB3" "d\xC5\xBA, \xCE\xB1\xCE\xB2\xCE\xB3, "
                               "\xE6\x97\xA5\xE6\x9C\xAC */\nint main(void) { return 0; }\n";
    ASSERT_TRUE(WriteBytes(path, source));
    Program program;
    ASSERT_TRUE(Launch(program, path));
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    const std::wstring shown = L"/* Gr\u00FC\u00DFe, \u0141\u00F3d\u017A, \u03B1\u03B2\u03B3, \u65E5\u672C */\r\n"
                               L"int main(void) { return 0; }\r\n";
    auto wide = [&] {
        wchar_t text[256] = L"";
        SendMessageW(edit, WM_GETTEXT, 256, (LPARAM)text);
        return std::wstring(text);
    };
    EXPECT_TRUE(WaitFor([&] { return wide() == shown; }, 10000));
    PostMessageW(edit, WM_CHAR, 0x0416, 1);  // Cyrillic Zhe, in no Western code page
    PostMessageA(program.main, WM_COMMAND, IDM_SAVE, 0);
    Settle(program);
    EXPECT_EQ("\xD0\x96" + source, ReadBytes(path));
    EXPECT_EQ(NULL, WaitForDialog(program.info.dwProcessId, 0)) << "a UTF-8 file asks nothing";
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);
}
