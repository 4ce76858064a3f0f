// Names as users and shells give them, and questions that cannot be put.
#include "harness.h"

#include <shlobj.h>

namespace {

using Names = PenrikTest;

TEST_F(Names, ARelativeNameIsTheFileInTheFolderTheProgramStartedIn)
{
    std::string start = TempDir();
    CreateDirectoryA((start + "sub").c_str(), NULL);
    std::string file = start + "sub\\rel.txt";
    WriteFileBytes(file, "old");
    SetCurrentDirectoryA(start.c_str());
    Start("sub\\rel.txt");
    EXPECT_EQ(file, Utf8(DocumentName()));
    EXPECT_EQ("PENRIK - " + file, Caption());
    EXPECT_EQ("old", EditText());

    // A dialog that enters another folder and leaves the document, then
    // Save: the file written is still the one that was loaded.
    std::string other = start + "other\\";
    CreateDirectoryA(other.c_str(), NULL);
    CreateDirectoryA((other + "sub").c_str(), NULL);
    WriteFileBytes(other + "victim.txt", "v");
    script.dialogAnswers = {{true, other + "victim.txt"}};
    script.boxAnswers = {IDNO};
    Command(IDM_DELETEFILE);
    Type("new ");
    Key('S', true);
    EXPECT_EQ("new old", ReadFileBytes(file));
    EXPECT_FALSE(FileExists(other + "sub\\rel.txt"));
    EXPECT_EQ(0, Modified());

    // Compile hands the batch file the full path.
    Command(IDM_COMPILE);
    ASSERT_EQ(1u, script.shell.size());
    EXPECT_EQ(file, script.shell[0].parameters);
}

TEST_F(Names, TheBuildResultsLayoutGoesByTheNameAsGivenAndSurvivesABadStoredSize)
{
    WriteSettings("[Penrik]\r\nPenrikW=-50\r\nPenrikH=-70\r\n");
    SetCurrentDirectoryA(TempDir().c_str());
    Start("BuildRes.ult");
    EXPECT_EQ(TempDir() + "BuildRes.ult", Utf8(DocumentName()));
    RECT r = WindowRectOf(Penrik.hwndMain);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(200, r.top);
    EXPECT_EQ(640, r.right - r.left);
    EXPECT_EQ(280, r.bottom - r.top);
    EXPECT_EQ(0x00000080u, Penrik.settings.textColor);
}

TEST_F(Names, AResolvedNameTooLongToHoldStartsUntitledAndSaysSo)
{
    std::string folder = TempDir();
    std::string deep = folder;
    while (deep.size() + 41 < 240) {  // a folder's path stays under 248
        deep += std::string(40, 'd') + "\\";
        CreateDirectoryA(deep.c_str(), NULL);
    }
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str())) << deep;
    script.boxAnswers = {IDOK};
    Start(std::string(60, 'n') + ".txt");  // fits as given, not with its folder
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The file name is longer than 255 characters; an empty document was opened instead.",
              script.boxes[0].text);
    EXPECT_EQ("", Utf8(DocumentName()));
}

TEST_F(Names, AQuestionThatCannotBeShownCountsAsCancel)
{
    std::string file = TempDir() + "kept.txt";
    WriteFileBytes(file, "kept");
    Start(file);
    Type("changed ");

    // MessageBoxA answers 0 when it cannot show its box.
    script.boxAnswers = {0};
    Command(IDM_EXIT);
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ(-1, exitCode);
    EXPECT_TRUE(script.dialogs.empty());
    EXPECT_EQ("kept", ReadFileBytes(file));
    EXPECT_EQ(1, Modified());

    script.boxAnswers = {0};
    script.dialogAnswers = {{true, file}};
    Command(IDM_DELETEFILE);
    EXPECT_TRUE(FileExists(file));
}

// Names in Polish, Japanese, Greek and Russian: what each path hands the
// system is the name itself, never a look-alike the code page can spell.
TEST_F(Names, ANameInAnyScriptIsTheFileItNames)
{
    const std::string polish = TempDir() + "\xC5\x81\xC3\xB3" "d\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC.c";  // Łódź 日本.c
    const std::string greek = TempDir() + "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.txt";           // Ωμέγα.txt
    const std::string russian = TempDir() + "\xD0\x96\xD1\x83\xD0\xBA.txt";                         // Жук.txt
    WriteFileBytes(polish, "int x;\r\n");

    Start(polish);
    EXPECT_EQ(polish, Utf8(DocumentName()));
    EXPECT_EQ("PENRIK - " + polish, Caption());
    EXPECT_EQ("int x;\r\n", EditText());
    Type("/");
    Key('S', true);
    EXPECT_EQ("/int x;\r\n", ReadFileBytes(polish));
    script.shell.clear();
    Key('C', true);
    ASSERT_EQ(1u, script.shell.size());
    EXPECT_EQ(polish, script.shell[0].parameters);

    // Save As under a Greek name, then Save Settings: the settings file
    // becomes UTF-16, and a restart opens the same file.
    script.dialogAnswers = {{true, greek}};
    Command(IDM_SAVEAS);
    EXPECT_EQ("/int x;\r\n", ReadFileBytes(greek));
    Command(IDM_SAVESETTINGS);
    EXPECT_EQ(0u, ReadFileBytes(SettingsPath()).find("\xFF\xFE"));
    ShutDown();
    started = false;
    Start();
    EXPECT_EQ(greek, Utf8(DocumentName()));
    EXPECT_EQ("/int x;\r\n", EditText());

    // A drop, as the shell gives it: in characters.
    WriteFileBytes(russian, "beetle");
    std::wstring list = Wide(russian) + L'\0' + L'\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    DROPFILES* files = (DROPFILES*)GlobalLock(memory);
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageA(Penrik.hwndMain, WM_DROPFILES, (WPARAM)memory, 0);
    Pump();
    EXPECT_EQ(russian, Utf8(DocumentName()));
    EXPECT_EQ("beetle", EditText());
    EXPECT_TRUE(script.boxes.empty());
}

// A name that is no file's: a device, one Windows would cut, a name
// passed on unchecked, a lone surrogate. It is said, and nothing is
// opened or written under it.
TEST_F(Names, ANameThatIsNoFilesIsRefused)
{
    const std::wstring lone = std::wstring(L"half ") + (wchar_t)0xD800 + L".txt";
    for (const std::wstring& name : {Wide("CON"), Wide("com1.txt"), Wide("nul"), Wide("tail."), Wide("tail "),
                                     Wide("\\\\?\\C:\\x.txt"), Wide("\\\\.\\COM1"), lone}) {
        SCOPED_TRACE(Utf8(name.c_str()));
        script.boxes.clear();
        script.boxAnswers = {IDOK};
        ASSERT_EQ(1, StartUp(GetModuleHandleA(NULL), name.c_str(), SW_SHOW));
        started = true;
        Pump();
        ASSERT_EQ(1u, script.boxes.size());
        EXPECT_NE(std::string::npos, script.boxes[0].text.find(" is not the name of a file."));
        EXPECT_EQ("", Utf8(DocumentName()));
        ShutDown();
        started = false;
    }
    script.boxes.clear();
    Start();
    Type("kept");
    script.dialogAnswers = {{true, TempDir() + "trailing dot."}};
    script.boxAnswers = {IDOK};
    Command(IDM_SAVEAS);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ(TempDir() + "trailing dot. is not the name of a file.", script.boxes[0].text);
    EXPECT_FALSE(FileExists(TempDir() + "trailing dot"));
    EXPECT_EQ(1, Modified());
}

}  // namespace
