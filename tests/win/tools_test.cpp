// The Build menu, the help files, Send Mail and the About box.
#include "harness.h"

#include <shellapi.h>

#include <functional>

namespace {

void ExpectCall(const ShellCall& call, const std::string& file, const std::string& parameters, int show,
                const char* what)
{
    EXPECT_EQ("(none)", call.operation) << what;
    EXPECT_EQ(file, call.file) << what;
    EXPECT_EQ(parameters, call.parameters) << what;
    EXPECT_EQ("", call.directory) << what;
    EXPECT_EQ(show, call.show) << what;
}

// Runs one command and expects exactly one process started.
void ExpectStarts(const std::function<void()>& run, const std::string& file, const std::string& parameters,
                  int show, const char* what)
{
    script.shell.clear();
    run();
    ASSERT_EQ(1u, script.shell.size()) << what;
    ExpectCall(script.shell[0], file, parameters, show, what);
}

// The harness records each start; this also notes what the document's
// file held at that moment, to tell "saved first" from "saved after".
decltype(Utf8Sys.ShellExecute) recordingShell;
std::vector<std::string> fileAtStart;

std::string FileContents(const char* path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0,
                              NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char bytes[256];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, NULL);
    CloseHandle(file);
    return std::string(bytes, read);
}

// The windows the shell and the boxes were last given, and a failure
// for the shell to answer with instead of success (when not 0).
HWND shellOwner, boxOwner;
INT_PTR shellFailure;
decltype(Sys.MessageBoxA) recordingBox;

HINSTANCE WINAPI ShellNotingFile(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                 LPCSTR directory, INT show)
{
    fileAtStart.push_back(FileContents(Utf8(DocumentName()).c_str()));
    shellOwner = owner;
    HINSTANCE started = recordingShell(owner, operation, file, parameters, directory, show);
    return shellFailure != 0 ? (HINSTANCE)shellFailure : started;
}

int WINAPI BoxNotingOwner(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    boxOwner = owner;
    return recordingBox(owner, text, caption, type);
}

class Tools : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        recordingShell = Utf8Sys.ShellExecute;
        Utf8Sys.ShellExecute = ShellNotingFile;
        recordingBox = Sys.MessageBoxA;
        Sys.MessageBoxA = BoxNotingOwner;
        fileAtStart.clear();
        shellOwner = boxOwner = NULL;
        shellFailure = 0;
    }

    // Starts on a small file so that the build commands are available.
    std::string StartOnFile(const std::string& name = "main.c", const std::string& text = "int x;\r\n")
    {
        std::string path = TempDir() + name;
        WriteFileBytes(path, text);
        Start(path);
        return path;
    }

    // Makes the document modified by typing into it.
    void Touch()
    {
        SetFocus(Penrik.hwndEdit);
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, 0, 0);
        Type("/");
        ASSERT_EQ(1, Modified());
    }

    // Every row of the command table, for a loaded `path`.
    void ExpectTableRows(const std::string& path, bool v4)
    {
        const std::string batch = v4 ? "command" : "penrik.bat";
        const std::string prefix = v4 ? " /C penrik.bat " : " ";
        ExpectStarts([&] { Command(IDM_COMPILE); }, "penrik.bat", path, SW_MINIMIZE, "Compile");
        ExpectStarts([&] { Command(IDM_BUILD); }, batch, prefix + "b", SW_MINIMIZE, "Build");
        ExpectStarts([&] { Command(IDM_BUILDALL); }, batch, prefix + "a", SW_MINIMIZE, "BuildAll");
        ExpectStarts([&] { Command(IDM_CLEAN); }, batch, prefix + "c", SW_MINIMIZE, "Clean");
        ExpectStarts([&] { Command(IDM_DEBUG); }, "windbg.exe", path, SW_SHOW, "Debug");
    }
};

// ---------------------------------------------------------------------------
// Build, BuildAll, Clean, Compile, Execute and Debug

TEST_F(Tools, EachCommandStartsItsProcessOnAModernPlatform)
{
    std::string path = StartOnFile();
    EXPECT_EQ(0, Penrik.platformV4);
    ExpectTableRows(path, false);
}

TEST_F(Tools, MajorVersionFourRunsTheBatchFileThroughTheInterpreter)
{
    script.version = 0x0004;
    std::string path = StartOnFile();
    EXPECT_EQ(1, Penrik.platformV4);
    ExpectTableRows(path, true);

    // Version 4 with a minor number is still version 4; 5 is not.
    ShutDown();
    started = false;
    script.version = 0x0A04;
    Start(path);
    EXPECT_EQ(1, Penrik.platformV4);
    ShutDown();
    started = false;
    script.version = 0x0005;
    Start(path);
    EXPECT_EQ(0, Penrik.platformV4);
    ExpectStarts([&] { Command(IDM_BUILD); }, "penrik.bat", " b", SW_MINIMIZE, "Build on 5");
}

TEST_F(Tools, AcceleratorsReachTheBuildCommands)
{
    std::string path = StartOnFile();
    ExpectStarts([&] { Key('C', true); }, "penrik.bat", path, SW_MINIMIZE, "Ctrl+C");
    ExpectStarts([&] { Key('B', true); }, "penrik.bat", " b", SW_MINIMIZE, "Ctrl+B");
    ExpectStarts([&] { Key('D', true); }, "penrik.bat", " a", SW_MINIMIZE, "Ctrl+D");
    ExpectStarts([&] { Key('C', false, true); }, "penrik.bat", " c", SW_MINIMIZE, "Alt+C");
}

TEST_F(Tools, CompileBuildAndBuildAllAskToSaveFirst)
{
    std::string path = StartOnFile("unit.c", "old");
    struct { int id; const char* file; const char* parameters; } rows[] = {
        {IDM_COMPILE, "penrik.bat", nullptr},
        {IDM_BUILD, "penrik.bat", " b"},
        {IDM_BUILDALL, "penrik.bat", " a"},
    };
    int round = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        std::string parameters = row.parameters ? row.parameters : path;

        // Cancel: nothing is written and nothing runs.
        Touch();
        script.boxes.clear();
        script.shell.clear();
        script.boxAnswers.push_back(IDCANCEL);
        Command(row.id);
        ASSERT_EQ(1u, script.boxes.size());
        EXPECT_EQ("Save current changes: " + path, script.boxes[0].text);
        EXPECT_EQ("penrik", script.boxes[0].caption);
        EXPECT_TRUE(script.shell.empty());
        EXPECT_EQ(1, Modified());

        // No: the batch file sees the file as last saved.
        std::string before = ReadFileBytes(path);
        fileAtStart.clear();
        script.boxAnswers.push_back(IDNO);
        ExpectStarts([&] { Command(row.id); }, row.file, parameters, SW_MINIMIZE, "after No");
        ASSERT_EQ(1u, fileAtStart.size());
        EXPECT_EQ(before, fileAtStart[0]);
        EXPECT_EQ(1, Modified());

        // Yes: the text is on disk before the batch file starts.
        fileAtStart.clear();
        script.boxAnswers.push_back(IDYES);
        ExpectStarts([&] { Command(row.id); }, row.file, parameters, SW_MINIMIZE, "after Yes");
        ASSERT_EQ(1u, fileAtStart.size());
        EXPECT_EQ(std::string(++round, '/') + "old", fileAtStart[0]);
        EXPECT_EQ(0, Modified());
    }
}

TEST_F(Tools, AFailedSaveStopsTheBuild)
{
    std::string path = StartOnFile("locked.c", "old");
    Touch();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    script.boxAnswers.push_back(IDYES);
    script.boxAnswers.push_back(IDOK);  // the write error
    Command(IDM_BUILD);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(script.shell.empty());
    ASSERT_EQ(2u, script.boxes.size());
    EXPECT_EQ("Error writing to " + path + ".", script.boxes[1].text);
    EXPECT_EQ("old", ReadFileBytes(path));
}

TEST_F(Tools, CleanDebugAndExecuteNeverAsk)
{
    std::string path = StartOnFile("keep.c", "old");
    Touch();
    // An unexpected message box fails the test in the harness.
    ExpectStarts([&] { Command(IDM_CLEAN); }, "penrik.bat", " c", SW_MINIMIZE, "Clean");
    ExpectStarts([&] { Command(IDM_DEBUG); }, "windbg.exe", path, SW_SHOW, "Debug");
    script.dialogAnswers.push_back({false, ""});
    Command(IDM_EXECUTE);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("old", ReadFileBytes(path));
    EXPECT_EQ("/old", EditText());
}

TEST_F(Tools, CompileOfAnUntitledDocumentPassesNoArgument)
{
    StartOnFile();
    Command(IDM_NEW);
    ASSERT_EQ("", Utf8(DocumentName()));
    // New keeps the build commands available.
    EXPECT_FALSE(MenuGrayed(IDM_COMPILE));
    EXPECT_TRUE(ButtonEnabled(IDM_COMPILE));
    ExpectStarts([&] { Command(IDM_COMPILE); }, "penrik.bat", "", SW_MINIMIZE, "Compile untitled");
    ExpectStarts([&] { Command(IDM_DEBUG); }, "windbg.exe", "", SW_SHOW, "Debug untitled");
}

// The command interpreter would run what follows a & in the name, or
// expand what stands between % or ! signs: such a name is not compiled.
TEST_F(Tools, CompileOfANameTheInterpreterWouldSplitStartsNothing)
{
    for (const char* name : {"x&calc&.c", "a^b.c", "100%PATH%.c", "wow!.c"}) {
        SCOPED_TRACE(name);
        std::string path = StartOnFile(name);
        script.shell.clear();
        script.boxes.clear();
        script.boxAnswers = {IDOK};
        Key('C', true);
        EXPECT_TRUE(script.shell.empty());
        ASSERT_EQ(1u, script.boxes.size());
        EXPECT_EQ(path + " was not compiled: the command interpreter would take one of the characters & | < > ^ % ! "
                         "in its name as a command.",
                  script.boxes[0].text);
        ShutDown();
        started = false;
    }
}

TEST_F(Tools, ExecuteRunsTheChosenProgramAndPutsTheNameBack)
{
    std::string path = StartOnFile("prog.c", "text");
    std::string program = TempDir() + "tools\\run me.exe";
    script.dialogAnswers.push_back({true, program});
    ExpectStarts([&] { Command(IDM_EXECUTE); }, program, "", SW_SHOW, "Execute");
    ASSERT_EQ(1u, script.dialogs.size());
    EXPECT_EQ("open", script.dialogs[0].kind);
    EXPECT_EQ("Execute File", script.dialogs[0].title);
    EXPECT_EQ(2u, script.dialogs[0].filterIndex);
    EXPECT_EQ(path, script.dialogs[0].nameShown);

    EXPECT_EQ(path, Utf8(DocumentName()));
    EXPECT_EQ("PENRIK - " + path, Caption());
    EXPECT_EQ(0, Modified());

    // The filter index is back at 1 for the dialogs that do not set it themselves.
    ExpectStarts([&] { Command(IDM_COMPILE); }, "penrik.bat", path, SW_MINIMIZE, "Compile after Execute");
}

TEST_F(Tools, ExecuteCancelledRunsNothing)
{
    std::string path = StartOnFile("prog.c", "text");
    script.dialogAnswers.push_back({false, ""});
    Command(IDM_EXECUTE);
    EXPECT_TRUE(script.shell.empty());
    EXPECT_EQ(path, Utf8(DocumentName()));

    // Whatever the dialog left in the name field is undone.
    script.dialogAnswers.push_back({false, "C:\\half typed"});
    Command(IDM_EXECUTE);
    EXPECT_TRUE(script.shell.empty());
    EXPECT_EQ(path, Utf8(DocumentName()));

    // An untitled document stays untitled.
    Command(IDM_NEW);
    script.dialogAnswers.push_back({false, "C:\\half typed"});
    Command(IDM_EXECUTE);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("", script.dialogs.back().nameShown);
    EXPECT_EQ(2u, script.dialogs.back().filterIndex);
    EXPECT_TRUE(script.shell.empty());

    // The next dialog opens on the first filter.
    script.dialogs.clear();
    std::string other = TempDir() + "other.txt";
    WriteFileBytes(other, "o");
    script.dialogAnswers.push_back({true, other});
    Command(IDM_OPEN);
    ASSERT_EQ(1u, script.dialogs.size());
    EXPECT_EQ("Open File", script.dialogs[0].title);
    EXPECT_EQ(1u, script.dialogs[0].filterIndex);
    EXPECT_EQ("o", EditText());
}

// A dialog that, like Wine's when a full path is typed, leaves the
// current folder where it was.
std::string pickedPath;
BOOL WINAPI PickKeepingFolder(LPOPENFILENAMEA ofn)
{
    lstrcpynA(ofn->lpstrFile, pickedPath.c_str(), (int)ofn->nMaxFile);
    std::string title = pickedPath.substr(pickedPath.find_last_of('\\') + 1);
    lstrcpynA(ofn->lpstrFileTitle, title.c_str(), (int)ofn->nMaxFileTitle);
    return TRUE;
}

std::string CurrentFolder()
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string text = folder;
    if (!text.empty() && text.back() != '\\')
        text += '\\';
    return text;
}

TEST_F(Tools, TheChosenFileFolderBecomesCurrent)
{
    std::string start = TempDir();
    StartOnFile("a.c", "a");
    Utf8Sys.GetOpenFileName = PickKeepingFolder;
    Utf8Sys.GetSaveFileName = PickKeepingFolder;
    const std::pair<int, const char*> commands[] = {
        {IDM_OPEN, "opened"}, {IDM_SAVEAS, "saved"}, {IDM_DELETEFILE, "deleted"}, {IDM_EXECUTE, "run"}};
    for (const auto& command : commands) {
        SCOPED_TRACE(command.second);
        SetCurrentDirectoryA(start.c_str());
        std::string folder = start + command.second + "\\";
        CreateDirectoryA(folder.c_str(), NULL);
        pickedPath = folder + "file.c";
        WriteFileBytes(pickedPath, "f");
        if (command.first == IDM_DELETEFILE)
            script.boxAnswers.push_back(IDNO);
        Command(command.first);
        EXPECT_EQ(folder, CurrentFolder());
    }
    // Open 2nd's choice is for the other editor only.
    SetCurrentDirectoryA(start.c_str());
    pickedPath = start + "opened\\file.c";
    Command(IDM_OPEN2ND);
    EXPECT_EQ(start, CurrentFolder());
}

TEST_F(Tools, BuildCommandsWaitForTheFirstCompletedLoad)
{
    // A file named at start-up that cannot be read does not count.
    Start(TempDir() + "missing.c");
    const int waiting[] = {IDM_COMPILE, IDM_BUILD, IDM_BUILDALL};
    for (int id : waiting) {
        EXPECT_TRUE(MenuGrayed(id)) << id;
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    }
    for (int id : {IDM_CLEAN, IDM_EXECUTE, IDM_DEBUG})
        EXPECT_FALSE(MenuGrayed(id)) << id;
    EXPECT_TRUE(ButtonEnabled(IDM_CLEAN));
    EXPECT_TRUE(ButtonEnabled(IDM_EXECUTE));

    script.shell.clear();
    Key('C', true);
    Key('B', true);
    Key('D', true);
    EXPECT_TRUE(script.shell.empty());

    // Clean, Execute and Debug work from the start.
    ExpectStarts([&] { Key('C', false, true); }, "penrik.bat", " c", SW_MINIMIZE, "Alt+C");
    script.dialogAnswers.push_back({false, ""});
    Key('E', true);
    EXPECT_EQ(1u, script.dialogs.size());
    ExpectStarts([&] { Command(IDM_DEBUG); }, "windbg.exe", TempDir() + "missing.c", SW_SHOW, "Debug");

    // An Open that fails to read the file does not count either.
    script.dialogAnswers.push_back({true, TempDir() + "also-missing.c"});
    script.boxAnswers.push_back(IDOK);
    Command(IDM_OPEN);
    EXPECT_TRUE(MenuGrayed(IDM_BUILD));

    std::string path = TempDir() + "real.c";
    WriteFileBytes(path, "r");
    script.dialogAnswers.push_back({true, path});
    Command(IDM_OPEN);
    for (int id : waiting) {
        EXPECT_FALSE(MenuGrayed(id)) << id;
        EXPECT_TRUE(ButtonEnabled(id)) << id;
    }
    ExpectStarts([&] { Key('C', true); }, "penrik.bat", path, SW_MINIMIZE, "Ctrl+C");
    ExpectStarts([&] { Key('B', true); }, "penrik.bat", " b", SW_MINIMIZE, "Ctrl+B");
    ExpectStarts([&] { Key('D', true); }, "penrik.bat", " a", SW_MINIMIZE, "Ctrl+D");
    // The buttons send their commands too.
    ExpectStarts([&] { SendMessageA(GetDlgItem(Penrik.hwndMain, IDM_BUILD), BM_CLICK, 0, 0); Pump(); },
                 "penrik.bat", " b", SW_MINIMIZE, "Build button");
}

// ---------------------------------------------------------------------------
// Help files

// The viewers that come with Windows, started by their full paths: the
// Windows folder's where the system has one there (the 32-bit Wine puts
// winhlp32.exe there, the 64-bit one alone does not), else the system
// folder's.
std::string Viewer(const char* program)
{
    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    std::string inWindows = std::string(windows) + "\\" + program, inSystem = std::string(system) + "\\" + program;
    bool windowsHasIt = GetFileAttributesA(inWindows.c_str()) != INVALID_FILE_ATTRIBUTES;
    bool systemHasIt = GetFileAttributesA(inSystem.c_str()) != INVALID_FILE_ATTRIBUTES;
    return windowsHasIt || !systemHasIt ? inWindows : inSystem;
}
const std::string WinHelp = Viewer("winhlp32.exe");
const std::string HtmlHelp = Viewer("hh.exe");

TEST_F(Tools, HelpKeysOpenTheDefaultHelpFiles)
{
    StartOnFile();
    Touch();  // nothing is asked, even with unsaved changes
    ExpectStarts([&] { Key(VK_F1); }, WinHelp, "penrik.hlp", SW_SHOW, "F1");
    ExpectStarts([&] { Key(VK_F6); }, WinHelp, "api32wh.hlp", SW_SHOW, "F6");
    ExpectStarts([&] { Key(VK_F7); }, WinHelp, "win16wh", SW_SHOW, "F7");
    ExpectStarts([&] { Key(VK_F8); }, WinHelp, "msc.hlp", SW_SHOW, "F8");
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(Tools, ConfiguredHelpFilesGoToTheViewerUnchanged)
{
    WriteSettings("[Penrik]\r\n"
                  "Help11File=C:\\Program Files\\My Tools\\own help.hlp\r\n"
                  "Help2File=\"quoted.hlp\"\r\n"
                  "Help3File=sdk.hlp>topic\r\n"
                  "Help4File=\r\n");
    Start();
    // The profile reader drops one pair of enclosing quotes.
    ExpectStarts([&] { Command(IDM_HELP1); }, WinHelp, "C:\\Program Files\\My Tools\\own help.hlp",
                 SW_SHOW, "Help1");
    ExpectStarts([&] { Command(IDM_HELP2); }, WinHelp, "quoted.hlp", SW_SHOW, "Help2");
    ExpectStarts([&] { Command(IDM_HELP3); }, WinHelp, "sdk.hlp>topic", SW_SHOW, "Help3");
    ExpectStarts([&] { Command(IDM_HELP4); }, WinHelp, "", SW_SHOW, "Help4");
}

TEST_F(Tools, EachKindOfHelpFileGoesToItsViewer)
{
    Start();
    struct { const char* name; const char* operation; std::string file; const char* parameters; } rows[] = {
        {"x.hlp", "(none)", WinHelp, "x.hlp"},
        {"win16wh", "(none)", WinHelp, "win16wh"},
        {"C:\\SDK 2.1\\readme", "(none)", WinHelp, "C:\\SDK 2.1\\readme"},
        {"Ref.CHM", "(none)", HtmlHelp, "Ref.CHM"},
        {"sdk.chm::/intro.htm", "(none)", HtmlHelp, "sdk.chm::/intro.htm"},
        {"https://example.invalid/api", "open", "https://example.invalid/api", "(none)"},
        {"manual.pdf", "open", "manual.pdf", "(none)"},
        {"C:\\My Docs\\api.Html", "open", "C:\\My Docs\\api.Html", "(none)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        lstrcpynW(Penrik.settings.helpFile[2], Wide(row.name).c_str(), 128);
        script.shell.clear();
        Key(VK_F7);
        ASSERT_EQ(1u, script.shell.size());
        EXPECT_EQ(row.operation, script.shell[0].operation);
        EXPECT_EQ(row.file, script.shell[0].file);
        EXPECT_EQ(row.parameters, script.shell[0].parameters);
        EXPECT_EQ("", script.shell[0].directory);
        EXPECT_EQ(SW_SHOW, script.shell[0].show);
        EXPECT_EQ(Penrik.hwndMain, shellOwner);
    }
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(Tools, ViewersPlantedInTheCurrentFolderAreNotStarted)
{
    WriteSettings("[Penrik]\r\nHelp11File=own.hlp\r\nHelp2File=own.chm\r\n");
    Start();
    WriteFileBytes(TempDir() + "winhlp32.exe", "MZ planted");
    WriteFileBytes(TempDir() + "hh.exe", "MZ planted");
    ASSERT_TRUE(SetCurrentDirectoryA(TempDir().c_str()));
    ExpectStarts([&] { Key(VK_F1); }, WinHelp, "own.hlp", SW_SHOW, "F1");
    ExpectStarts([&] { Key(VK_F6); }, HtmlHelp, "own.chm", SW_SHOW, "F6");
}

TEST_F(Tools, AHelpFileThatCannotBeOpenedIsSaid)
{
    WriteSettings("[Penrik]\r\nHelp11File=manual.pdf\r\nHelp2File=missing.hlp\r\n");
    Start();
    const std::pair<INT_PTR, const char*> failures[] = {
        {SE_ERR_NOASSOC, "no program is associated with that kind of file"},
        {ERROR_FILE_NOT_FOUND, "the file was not found"},
        {SE_ERR_OOM, "error 8"},
    };
    for (const auto& failure : failures) {
        shellFailure = failure.first;
        script.boxes.clear();
        script.boxAnswers.push_back(IDOK);
        Key(VK_F1);
        ASSERT_EQ(1u, script.boxes.size());
        EXPECT_EQ(std::string("Cannot open the help file manual.pdf: ") + failure.second + ".",
                  script.boxes[0].text);
        EXPECT_EQ("Penrik", script.boxes[0].caption);
        EXPECT_EQ((UINT)MB_ICONEXCLAMATION, script.boxes[0].type);
        EXPECT_EQ(Penrik.hwndMain, boxOwner);
    }
    // WinHelp reports its own failures: nothing more is said.
    shellFailure = ERROR_FILE_NOT_FOUND;
    script.boxes.clear();
    ExpectStarts([&] { Key(VK_F6); }, WinHelp, "missing.hlp", SW_SHOW, "failing .hlp");
    EXPECT_TRUE(script.boxes.empty());
}

// ---------------------------------------------------------------------------
// Send Mail, through a stand-in for the mail library

struct MailRecord {
    std::vector<std::string> calls;  // in order: load, find, send, free
    bool failLoad = false;
    bool failFind = false;
    std::string fileOnDisk;  // what the path held when the mail was sent
    ULONG_PTR window = 0;
    std::string delimiter, paths, names;
    ULONG reserved = 99;
};
MailRecord mail;
HMODULE const FakeLibrary = (HMODULE)(ULONG_PTR)0x5150;

ULONG WINAPI FakeSendDocuments(ULONG_PTR window, LPSTR delimiter, LPSTR paths, LPSTR names, ULONG reserved)
{
    mail.calls.push_back("send");
    mail.window = window;
    mail.delimiter = delimiter ? delimiter : "(null)";
    mail.paths = paths ? paths : "(null)";
    mail.names = names ? names : "(null)";
    mail.reserved = reserved;
    mail.fileOnDisk = FileContents(mail.paths.c_str());
    return 0;
}

HMODULE WINAPI FakeLoadLibrary(LPCSTR name)
{
    mail.calls.push_back(std::string("load ") + (name ? name : "(null)"));
    return mail.failLoad ? NULL : FakeLibrary;
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    mail.calls.push_back(std::string("find ") + (module == FakeLibrary ? "" : "?") + name);
    return mail.failFind ? NULL : (FARPROC)(void*)FakeSendDocuments;
}

BOOL WINAPI FakeFreeLibrary(HMODULE module)
{
    mail.calls.push_back(module == FakeLibrary ? "free" : "free ?");
    return TRUE;
}

class Mail : public Tools {
protected:
    void SetUp() override
    {
        Tools::SetUp();
        mail = MailRecord();
        Sys.LoadLibraryA = FakeLoadLibrary;
        Sys.GetProcAddress = FakeGetProcAddress;
        Sys.FreeLibrary = FakeFreeLibrary;
    }
    const std::vector<std::string> sent = {"load mapi32.dll", "find MAPISendDocuments", "send", "free"};
};

TEST_F(Mail, SendsTheFileWithItsNameAndFolder)
{
    std::string path = StartOnFile("letter.txt", "Dear all");
    EXPECT_FALSE(MenuGrayed(IDM_SENDMAIL));

    // Opened from the command line: no dialog has named the file yet.
    Command(IDM_SENDMAIL);
    EXPECT_EQ(sent, mail.calls);
    EXPECT_EQ((ULONG_PTR)Penrik.hwndMain, mail.window);
    EXPECT_EQ(";", mail.delimiter);
    EXPECT_EQ(path, mail.paths);
    EXPECT_EQ("", mail.names);
    EXPECT_EQ(0u, mail.reserved);
    EXPECT_EQ("Dear all", mail.fileOnDisk);
    EXPECT_TRUE(script.boxes.empty());

    // Opened through the dialog: the name without its folder.
    std::string other = TempDir() + "report 2.txt";
    WriteFileBytes(other, "Figures");
    script.dialogAnswers.push_back({true, other});
    Command(IDM_OPEN);
    mail = MailRecord();
    Command(IDM_SENDMAIL);
    EXPECT_EQ(sent, mail.calls);
    EXPECT_EQ(other, mail.paths);
    EXPECT_EQ("report 2.txt", mail.names);
    EXPECT_EQ("Figures", mail.fileOnDisk);
}

TEST_F(Mail, AsksAboutUnsavedChangesFirst)
{
    std::string path = StartOnFile("letter.txt", "old");
    Touch();

    script.boxAnswers.push_back(IDCANCEL);
    Command(IDM_SENDMAIL);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Save current changes: " + path, script.boxes[0].text);
    EXPECT_EQ("penrik", script.boxes[0].caption);
    EXPECT_TRUE(mail.calls.empty()) << "the library is not even loaded";

    script.boxAnswers.push_back(IDNO);
    Command(IDM_SENDMAIL);
    EXPECT_EQ(sent, mail.calls);
    EXPECT_EQ("old", mail.fileOnDisk);
    EXPECT_EQ(1, Modified());

    mail = MailRecord();
    script.boxAnswers.push_back(IDYES);
    Command(IDM_SENDMAIL);
    EXPECT_EQ(sent, mail.calls);
    EXPECT_EQ("/old", mail.fileOnDisk);
    EXPECT_EQ(0, Modified());

    // An untitled document whose changes were declined sends an empty path.
    Command(IDM_NEW);
    Type("x");
    mail = MailRecord();
    script.boxAnswers.push_back(IDNO);
    Command(IDM_SENDMAIL);
    EXPECT_EQ(sent, mail.calls);
    EXPECT_EQ("", mail.paths);
}

TEST_F(Mail, GrayedForTheRunWhenTheLibraryWasNotFound)
{
    script.mailLibraryPresent = false;
    StartOnFile();
    EXPECT_TRUE(MenuGrayed(IDM_SENDMAIL));
    // Loading a file later changes nothing.
    script.mailLibraryPresent = true;
    std::string path = TempDir() + "later.txt";
    WriteFileBytes(path, "l");
    script.dialogAnswers.push_back({true, path});
    Command(IDM_OPEN);
    EXPECT_TRUE(MenuGrayed(IDM_SENDMAIL));

    // Should the command arrive anyway, nothing is loaded or called.
    script.boxAnswers.push_back(IDOK);
    Command(IDM_SENDMAIL);
    EXPECT_TRUE(mail.calls.empty());
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("(none)", script.boxes[0].caption);
}

TEST_F(Mail, AMissingLibraryOrFunctionIsReportedNotCalled)
{
    StartOnFile();

    mail.failLoad = true;
    script.boxAnswers.push_back(IDOK);
    Command(IDM_SENDMAIL);
    EXPECT_EQ(std::vector<std::string>{"load mapi32.dll"}, mail.calls);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The mail library could not be loaded; nothing was sent.", script.boxes[0].text);
    EXPECT_EQ("(none)", script.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONEXCLAMATION, script.boxes[0].type);

    // A library without the function is freed again, and nothing is called.
    mail = MailRecord();
    mail.failFind = true;
    script.boxes.clear();
    script.boxAnswers.push_back(IDOK);
    Command(IDM_SENDMAIL);
    const std::vector<std::string> expected = {"load mapi32.dll", "find MAPISendDocuments", "free"};
    EXPECT_EQ(expected, mail.calls);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("The mail library offers no way to send documents; nothing was sent.", script.boxes[0].text);
    EXPECT_EQ("(none)", script.boxes[0].caption);
}

// ---------------------------------------------------------------------------
// The About box, opened for real

std::string WideText(const WORD*& p)
{
    std::string text;
    for (; *p != 0; ++p)
        text += (char)*p;
    ++p;
    return text;
}

// A name or ordinal field of a dialog template: "#n" for an ordinal.
std::string NameOrOrdinal(const WORD*& p)
{
    if (*p == 0xFFFF) {
        std::string ordinal = "#" + std::to_string(p[1]);
        p += 2;
        return ordinal;
    }
    return WideText(p);
}

TEST_F(Tools, AboutBoxTemplate)
{
    HRSRC found = FindResourceA(GetModuleHandleA(NULL), "AboutBox", (LPCSTR)RT_DIALOG);
    ASSERT_NE((HRSRC)NULL, found);
    const BYTE* data = (const BYTE*)LockResource(LoadResource(GetModuleHandleA(NULL), found));
    ASSERT_NE((const BYTE*)NULL, data);
    const DLGTEMPLATE* head = (const DLGTEMPLATE*)data;
    EXPECT_EQ(0x90C80080u, head->style);
    EXPECT_EQ(0u, head->dwExtendedStyle);
    ASSERT_EQ(5, head->cdit);
    EXPECT_EQ(20, head->x);
    EXPECT_EQ(20, head->y);
    EXPECT_EQ(150, head->cx);
    EXPECT_EQ(72, head->cy);
    const WORD* p = (const WORD*)(data + 18);
    EXPECT_EQ("", NameOrOrdinal(p)) << "menu";
    EXPECT_EQ("", NameOrOrdinal(p)) << "class";
    EXPECT_EQ("Windows Toolchest", WideText(p));

    struct Item { DWORD style; short x, y, cx, cy; WORD id; const char* cls; const char* text; };
    const Item items[] = {
        {0x50000003, 10, 10, 9, 9, 0xFFFF, "STATIC", "ICON"},
        {0x50020000, 34, 9, 100, 14, 101, "STATIC", "This Is Penrik Version 2.07"},
        {0x50020000, 48, 19, 100, 14, 102, "STATIC", "Made by the Penrik team"},
        {0x50020001, 1, 34, 150, 14, 103, "STATIC", "A Text and Program Editor"},
        {0x50010000, 56, 50, 40, 12, IDOK, "BUTTON", "OK"},
    };
    for (const Item& want : items) {
        SCOPED_TRACE(want.text);
        p = (const WORD*)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
        const DLGITEMTEMPLATE* item = (const DLGITEMTEMPLATE*)p;
        EXPECT_EQ(want.style, item->style);
        EXPECT_EQ(0u, item->dwExtendedStyle);
        EXPECT_EQ(want.x, item->x);
        EXPECT_EQ(want.y, item->y);
        EXPECT_EQ(want.cx, item->cx);
        EXPECT_EQ(want.cy, item->cy);
        EXPECT_EQ(want.id, item->id);
        p = (const WORD*)((const BYTE*)p + 18);
        std::string cls = NameOrOrdinal(p);
        std::string ordinal = std::string(want.cls) == "STATIC" ? "#130" : "#128";
        EXPECT_TRUE(cls == ordinal || lstrcmpiA(cls.c_str(), want.cls) == 0) << cls;
        EXPECT_EQ(want.text, NameOrOrdinal(p));
        WORD extra = *p++;
        p = (const WORD*)((const BYTE*)p + extra);
    }
}

// What the timer saw of the open box.
struct AboutSeen {
    HWND dialog = NULL;
    std::string caption;
    std::string texts[4];
    HFONT fonts[4] = {};
    HFONT iconFont = NULL;
    HICON icon = NULL;
    bool focusOnOk = false;
    bool mainDisabled = false;
    HWND owner = NULL;
    DLGPROC proc = NULL;
    int ticks = 0;
    UINT_PTR timer = 0;
};
AboutSeen about;
std::function<void(HWND)> closeAbout;

BOOL CALLBACK FindIconControl(HWND child, LPARAM lParam)
{
    if ((GetWindowLongA(child, GWL_STYLE) & 0x1F) == SS_ICON) {
        *(HWND*)lParam = child;
        return FALSE;
    }
    return TRUE;
}

HWND FindAboutBox()
{
    HWND dialog = FindWindowA("#32770", "Windows Toolchest");
    DWORD pid = 0;
    if (dialog != NULL)
        GetWindowThreadProcessId(dialog, &pid);
    return pid == GetCurrentProcessId() && IsWindowVisible(dialog) ? dialog : NULL;
}

// Runs inside the box's own message loop: looks at the box once, closes
// it the chosen way, and ends it by force should that way not work.
void CALLBACK AboutTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindAboutBox();
    ++about.ticks;
    if (about.dialog != NULL) {
        if (dialog == NULL) {
            KillTimer(NULL, timer);
        } else if (about.ticks > 60) {
            KillTimer(NULL, timer);
            ADD_FAILURE() << "the About box stayed open";
            EndDialog(dialog, 99);
        }
        return;
    }
    if (dialog == NULL) {
        if (about.ticks > 100) {
            KillTimer(NULL, timer);
            ADD_FAILURE() << "the About box did not open";
        }
        return;
    }
    about.dialog = dialog;
    about.ticks = 0;
    char text[128];
    GetWindowTextA(dialog, text, sizeof text);
    about.caption = text;
    const int ids[4] = {101, 102, 103, IDOK};
    for (int i = 0; i < 4; ++i) {
        GetDlgItemTextA(dialog, ids[i], text, sizeof text);
        about.texts[i] = text;
        about.fonts[i] = (HFONT)SendDlgItemMessageA(dialog, ids[i], WM_GETFONT, 0, 0);
    }
    HWND icon = NULL;
    EnumChildWindows(dialog, FindIconControl, (LPARAM)&icon);
    if (icon != NULL) {
        about.icon = (HICON)SendMessageA(icon, STM_GETICON, 0, 0);
        about.iconFont = (HFONT)SendMessageA(icon, WM_GETFONT, 0, 0);
    }
    about.focusOnOk = GetFocus() == GetDlgItem(dialog, IDOK);
    about.mainDisabled = !IsWindowEnabled(Penrik.hwndMain);
    about.owner = GetWindow(dialog, GW_OWNER);
    about.proc = (DLGPROC)GetWindowLongPtrA(dialog, DWLP_DLGPROC);
    closeAbout(dialog);
}

// Arms the timer that closes the next About box with `closer`.
void WatchAboutBox(const std::function<void(HWND)>& closer)
{
    about = AboutSeen();
    closeAbout = closer;
    about.timer = SetTimer(NULL, 0, 50, AboutTimer);
}

void PostKey(HWND target, UINT vk)
{
    PostMessageA(target, WM_KEYDOWN, vk, 1 | ((LPARAM)MapVirtualKeyA(vk, 0) << 16));
    PostMessageA(target, WM_KEYUP, vk, 1 | ((LPARAM)MapVirtualKeyA(vk, 0) << 16) | 0xC0000000L);
}

// Each way of closing the box.
const std::pair<const char*, std::function<void(HWND)>> AboutClosers[] = {
    {"OK clicked", [](HWND d) { PostMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }},
    {"Enter", [](HWND d) { PostKey(GetFocus() != NULL ? GetFocus() : d, VK_RETURN); }},
    {"Escape", [](HWND d) { PostKey(GetFocus() != NULL ? GetFocus() : d, VK_ESCAPE); }},
    {"close box", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"WM_CLOSE", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }},
};

TEST_F(Tools, AboutBoxShowsItsTextsInTheToolbarFont)
{
    Start();
    ASSERT_NE((HFONT)NULL, Penrik.hToolbarFont);
    WatchAboutBox(AboutClosers[0].second);
    Command(IDM_ABOUT);  // returns once the box has closed
    KillTimer(NULL, about.timer);
    ASSERT_NE((HWND)NULL, about.dialog);
    EXPECT_FALSE(IsWindow(about.dialog));
    EXPECT_TRUE(IsWindowEnabled(Penrik.hwndMain));

    EXPECT_EQ("Windows Toolchest", about.caption);
    EXPECT_EQ("This Is Penrik Version 2.07", about.texts[0]);
    EXPECT_EQ("Made by the Penrik team", about.texts[1]);
    EXPECT_EQ("A Text and Program Editor", about.texts[2]);
    EXPECT_EQ("OK", about.texts[3]);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Penrik.hToolbarFont, about.fonts[i]) << i;
    EXPECT_NE(Penrik.hToolbarFont, about.iconFont);
    EXPECT_NE((HICON)NULL, about.icon) << "the program's icon shows";
    EXPECT_TRUE(about.focusOnOk);
    EXPECT_TRUE(about.mainDisabled);
    EXPECT_EQ(Penrik.hwndMain, about.owner);
    EXPECT_TRUE(script.shell.empty());
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(Tools, AboutBoxClosesEachWayWithResultOne)
{
    Start();
    // The box's own procedure, taken from a box opened by the command.
    WatchAboutBox(AboutClosers[0].second);
    Command(IDM_ABOUT);
    KillTimer(NULL, about.timer);
    ASSERT_NE((DLGPROC)NULL, about.proc);
    DLGPROC proc = about.proc;

    for (const auto& closer : AboutClosers) {
        SCOPED_TRACE(closer.first);
        // Through the command: the box goes and the main window is usable again.
        WatchAboutBox(closer.second);
        Command(IDM_ABOUT);
        KillTimer(NULL, about.timer);
        ASSERT_NE((HWND)NULL, about.dialog);
        EXPECT_FALSE(IsWindow(about.dialog));
        EXPECT_TRUE(IsWindowEnabled(Penrik.hwndMain));

        // The same box run directly, to see its result.
        WatchAboutBox(closer.second);
        INT_PTR result = DialogBoxParamA(Penrik.hInst, "AboutBox", Penrik.hwndMain, proc, 0);
        KillTimer(NULL, about.timer);
        EXPECT_EQ(1, result);
        EXPECT_NE((HWND)NULL, about.dialog);
    }
}

}  // namespace
