// Names as the shell and scripts hand them to the program.
#include "driver.h"

#include "resources/resource.h"

namespace {

void ExitUnchanged(Program& program)
{
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);
}

TEST(Names, QuotedAndRelativeNamesOpenTheFileMeant)
{
    ResetSettings();
    std::string folder = FreshFolder();
    std::string quoted = folder + "My File.c";
    ASSERT_TRUE(WriteBytes(quoted, "quoted"));
    Program program;
    ASSERT_TRUE(Launch(program, "\"" + quoted + "\""));
    EXPECT_TRUE(WaitFor([&] { return TextOf(program.main) == "PENRIK - " + quoted; }, 10000))
        << TextOf(program.main);
    ExitUnchanged(program);

    // As a batch file starts it, in its own folder.
    CreateDirectoryA((folder + "sub").c_str(), NULL);
    ASSERT_TRUE(WriteBytes(folder + "sub\\rel.c", "relative"));
    Program relative;
    ASSERT_TRUE(Launch(relative, "sub\\rel.c", folder));
    EXPECT_TRUE(WaitFor([&] { return TextOf(relative.main) == "PENRIK - " + folder + "sub\\rel.c"; }, 10000))
        << TextOf(relative.main);
    ExitUnchanged(relative);
}

TEST(Names, ASecondCopyTakesItsPlaceAlsoAfterAnUnusableStoredSize)
{
    ResetSettings("[Penrik]\r\nPenrikW=-50\r\nPenrikH=-70\r\n");
    Program first, second;
    ASSERT_TRUE(Launch(first, ""));
    ASSERT_TRUE(Launch(second, ""));
    RECT r;
    GetWindowRect(second.main, &r);
    EXPECT_EQ(50, r.left);
    EXPECT_EQ(25, r.top);
    EXPECT_EQ(640, r.right - r.left);
    EXPECT_EQ(424, r.bottom - r.top);
    ExitUnchanged(second);
    ExitUnchanged(first);
}

// A name the code page cannot spell, as Explorer hands it over: the
// editor opens that file, not a look-alike, and saves into it.
TEST(Names, ANameInAnyScriptOpensItsOwnFile)
{
    ResetSettings();
    std::string name = FreshFolder() + "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC.c";  // Łódź 日本.c
    ASSERT_TRUE(WriteBytes(name, "int x;\r\n"));
    Program program;
    ASSERT_TRUE(Launch(program, "\"" + name + "\""));
    EXPECT_TRUE(WaitFor([&] { return Utf8TextOf(program.main) == "PENRIK - " + name; }, 10000))
        << Utf8TextOf(program.main);
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    PostMessageW(edit, WM_CHAR, '/', 1);
    PostMessageA(program.main, WM_COMMAND, IDM_SAVE, 0);
    EXPECT_TRUE(WaitFor([&] { return ReadBytes(name) == "/int x;\r\n"; }, 10000)) << ReadBytes(name);
    ExitUnchanged(program);
}

}  // namespace
