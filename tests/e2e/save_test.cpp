// A save keeps the file what it was. Windows has no way to make these
// files, so they are set up and looked at from the Unix side: Wine starts
// /bin/sh like any program, but hands back no exit code and no handle to
// wait on, so the shell's answer comes in a file.
#include "driver.h"

#include "resources/resource.h"

namespace {

std::string UnixName(const std::string& path)
{
    typedef char*(CDECL * UnixNameFunction)(LPCWSTR);
    UnixNameFunction unixName =
        (UnixNameFunction)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    WCHAR wide[MAX_PATH];
    if (unixName == NULL || MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0)
        return "";
    char* name = unixName(wide);
    std::string result = name != NULL ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs the script in `folder` and gives what it printed.
std::string Shell(const std::string& folder, const std::string& script)
{
    std::string file = folder + "probe.sh", out = UnixName(folder) + "/probe.out";
    std::string done = folder + "probe.done";
    DeleteFileA(done.c_str());
    EXPECT_TRUE(WriteBytes(file, "cd '" + UnixName(folder) + "'\n{\n" + script + "\n} >'" + out + "' 2>&1\nmv '" +
                                     out + "' '" + UnixName(done) + "'\n"));
    std::string line = "sh \"" + UnixName(file) + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    EXPECT_TRUE(CreateProcessA("Z:\\bin\\sh", &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info));
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 15000))
        << "the shell gave no answer";
    std::string printed = ReadBytes(done);
    DeleteFileA(done.c_str());
    DeleteFileA(file.c_str());
    return printed;
}

// Opens the file, types "Z" at its start, File > Save, File > Exit.
void TypeAndSave(const std::string& path)
{
    Program program;
    ASSERT_TRUE(Launch(program, path));
    HWND edit = GetDlgItem(program.main, IDC_EDIT);
    ASSERT_TRUE(WaitFor([&] { return TextOf(program.main) == "PENRIK - " + path; }, 10000))
        << TextOf(program.main);
    PostMessageA(edit, WM_CHAR, 'Z', 1);
    PostMessageA(program.main, WM_COMMAND, IDM_SAVE, 0);
    Settle(program);
    HWND box = WaitForDialog(program.info.dwProcessId, 0);
    EXPECT_EQ(NULL, box) << "a box: " << DialogText(box);
    PostMessageA(program.main, WM_COMMAND, IDM_EXIT, 0);
    End(program);
}

TEST(Saves, ThroughASymbolicLinkReachTheFileItNames)
{
    ResetSettings();
    std::string folder = FreshFolder();
    ASSERT_TRUE(WriteBytes(folder + "target.txt", "old\r\n"));
    ASSERT_EQ("", Shell(folder, "ln -sf target.txt link.txt"));
    TypeAndSave(folder + "link.txt");
    EXPECT_EQ("Zold\r\n", ReadBytes(folder + "target.txt"));
    EXPECT_EQ("target.txt\n", Shell(folder, "readlink link.txt"));
}

TEST(Saves, OfAFileWithASecondNameShowUnderBoth)
{
    ResetSettings();
    std::string folder = FreshFolder();
    ASSERT_TRUE(WriteBytes(folder + "doc.txt", "old\r\n"));
    ASSERT_EQ("", Shell(folder, "ln -f doc.txt other.txt"));
    TypeAndSave(folder + "doc.txt");
    EXPECT_EQ("Zold\r\n", ReadBytes(folder + "doc.txt"));
    EXPECT_EQ("Zold\r\n", ReadBytes(folder + "other.txt"));
}

TEST(Saves, KeepTheFilesMode)
{
    ResetSettings();
    std::string folder = FreshFolder();
    ASSERT_TRUE(WriteBytes(folder + "build.sh", "echo old\n"));
    ASSERT_EQ("750\n", Shell(folder, "chmod 750 build.sh && stat -c %a build.sh"));
    TypeAndSave(folder + "build.sh");
    EXPECT_EQ("Zecho old\n", ReadBytes(folder + "build.sh"));
    EXPECT_EQ("750\n", Shell(folder, "stat -c %a build.sh"));
}

// scripts/test.sh mounts a file system with room for one file, which is
// there: a folder where the file may be written but no file be made.
TEST(Saves, InAFolderThatTakesNoNewFileWriteInPlace)
{
    char setting[MAX_PATH];
    if (GetEnvironmentVariableA("PENRIK_NO_NEW_FILES", setting, MAX_PATH) == 0)
        GTEST_SKIP() << "no folder that takes no new file (scripts/test.sh mounts one as root)";
    std::string path = UnixToWindows(std::string(setting) + "/doc.txt");
    std::string folder = path.substr(0, path.size() - 7);
    ASSERT_TRUE(WriteBytes(path, "old\r\n"));
    ASSERT_FALSE(WriteBytes(folder + "new.txt", "x")) << "the folder takes new files";
    char temporary[MAX_PATH];
    GetTempPathA(MAX_PATH, temporary);
    int before = CountFiles(temporary, "pen*.tmp");

    ResetSettings();
    TypeAndSave(path);
    EXPECT_EQ("Zold\r\n", ReadBytes(path));
    EXPECT_EQ(before, CountFiles(temporary, "pen*.tmp"));
}

}  // namespace
