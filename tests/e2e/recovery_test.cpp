// Recovery copies: editors killed as a crash would kill them, and what
// the next editor offers.
#include "driver.h"

#include "resources/resource.h"

namespace {

std::string RecoveryFolder()
{
    char base[MAX_PATH] = "";
    GetEnvironmentVariableA("LOCALAPPDATA", base, MAX_PATH);
    return std::string(base) + "\\Penrik\\Recovery";
}

// Empties the folder, and removes a file standing in its place.
void ClearRecovery()
{
    std::string folder = RecoveryFolder();
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + entry.cFileName).c_str());
        while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileA(folder.c_str());
}

int Copies() { return CountFiles(RecoveryFolder() + "\\", "*.copy"); }

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }
bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const std::string NamedQuestion = " has changes that were not saved when Penrik ended on ";
const std::string UntitledQuestion = "An untitled document has text that was not saved when Penrik ended on ";

class Recovery : public ::testing::Test {
protected:
    Program editors[3];

    void SetUp() override
    {
        ResetSettings();
        ClearRecovery();
    }
    void TearDown() override
    {
        for (Program& editor : editors)
            Kill(editor);
        ClearRecovery();
    }

    // Starts an editor and waits until its caption says the start is done.
    HWND StartOn(Program& editor, const std::string& arguments, const std::string& caption)
    {
        EXPECT_TRUE(Launch(editor, arguments));
        EXPECT_TRUE(WaitFor([&] { return TextOf(editor.main) == caption; }, 10000)) << TextOf(editor.main);
        return GetDlgItem(editor.main, IDC_EDIT);
    }
    void Type(Program& editor, HWND edit, const std::string& text)
    {
        for (char c : text)
            PostMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)c, 1);
        Settle(editor);
    }
    void TypeUntilCopied(Program& editor, HWND edit, const std::string& text)
    {
        int before = Copies();
        Type(editor, edit, text);
        ASSERT_TRUE(WaitFor([&] { return Copies() > before; }, 15000)) << "no copy was written";
    }
    // Whether the editor shows a box once what it was given is handled.
    bool Asked(Program& editor)
    {
        Settle(editor);
        return WaitForDialog(editor.info.dwProcessId, 0) != NULL;
    }
    void Press(HWND box, int button)
    {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
        WaitFor([&] { return !IsWindow(box); }, 10000);
    }
    void Exit(Program& editor)
    {
        PostMessageA(editor.main, WM_COMMAND, IDM_EXIT, 0);
        End(editor);
    }
};

TEST_F(Recovery, NamedFileYesGivesTheTextAndSaveWritesIt)
{
    std::string path = FreshFolder() + "kept.c";
    ASSERT_TRUE(WriteBytes(path, "int x;\nint y;\n"));  // LF breaks, which the save keeps
    std::string caption = "PENRIK - " + path;
    HWND edit = StartOn(editors[0], path, caption);
    TypeUntilCopied(editors[0], edit, "Z");
    Kill(editors[0]);

    edit = StartOn(editors[1], path, caption);
    HWND box = WaitForDialog(editors[1].info.dwProcessId, 15000);
    ASSERT_NE((HWND)NULL, box) << "no offer of the copy";
    std::string question = DialogText(box);
    EXPECT_TRUE(StartsWith(question, path + NamedQuestion)) << question;
    EXPECT_TRUE(EndsWith(question, ". Recover them?")) << question;
    EXPECT_EQ("Penrik", TextOf(box));
    Press(box, IDYES);
    EXPECT_EQ("Zint x;\r\nint y;\r\n", TextOf(edit));
    EXPECT_EQ(caption, TextOf(editors[1].main));
    // Taking the copy is one edit: Undo shows the file's own text.
    PostMessageA(editors[1].main, WM_COMMAND, IDM_UNDO, 0);
    Settle(editors[1]);
    EXPECT_EQ("int x;\r\nint y;\r\n", TextOf(edit));
    PostMessageA(editors[1].main, WM_COMMAND, IDM_REDO, 0);
    Settle(editors[1]);
    EXPECT_EQ("Zint x;\r\nint y;\r\n", TextOf(edit));
    EXPECT_EQ("int x;\nint y;\n", ReadBytes(path));
    PostMessageA(editors[1].main, WM_COMMAND, IDM_SAVE, 0);
    EXPECT_TRUE(WaitFor([&] { return ReadBytes(path) == "Zint x;\nint y;\n"; }, 10000)) << ReadBytes(path);
    Exit(editors[1]);  // saved: nothing to ask

    StartOn(editors[2], path, caption);
    EXPECT_FALSE(Asked(editors[2]));
    Exit(editors[2]);
}

TEST_F(Recovery, NoDeletesTheCopy)
{
    std::string path = FreshFolder() + "dropped.txt";
    ASSERT_TRUE(WriteBytes(path, "as saved\r\n"));
    std::string caption = "PENRIK - " + path;
    HWND edit = StartOn(editors[0], path, caption);
    TypeUntilCopied(editors[0], edit, "typed ");
    Kill(editors[0]);

    edit = StartOn(editors[1], path, caption);
    HWND box = WaitForDialog(editors[1].info.dwProcessId, 15000);
    ASSERT_NE((HWND)NULL, box) << "no offer of the copy";
    Press(box, IDNO);
    EXPECT_EQ("as saved\r\n", TextOf(edit));
    Exit(editors[1]);  // unchanged: nothing to ask

    StartOn(editors[2], path, caption);
    EXPECT_FALSE(Asked(editors[2]));
    Exit(editors[2]);
}

TEST_F(Recovery, UntitledTextIsOfferedOnlyAtAnUntitledStart)
{
    HWND edit = StartOn(editors[0], "", "PENRIK");
    TypeUntilCopied(editors[0], edit, "lost words");
    Kill(editors[0]);

    std::string other = FreshFolder() + "other.txt";
    ASSERT_TRUE(WriteBytes(other, "other\r\n"));
    StartOn(editors[1], other, "PENRIK - " + other);
    EXPECT_FALSE(Asked(editors[1]));
    Exit(editors[1]);

    edit = StartOn(editors[2], "", "PENRIK");
    HWND box = WaitForDialog(editors[2].info.dwProcessId, 15000);
    ASSERT_NE((HWND)NULL, box) << "no offer of the untitled copy";
    std::string question = DialogText(box);
    EXPECT_TRUE(StartsWith(question, UntitledQuestion)) << question;
    EXPECT_TRUE(EndsWith(question, ". Recover it?")) << question;
    Press(box, IDYES);
    EXPECT_EQ("lost words", TextOf(edit));
    EXPECT_EQ("PENRIK", TextOf(editors[2].main));

    // Recovered text is unsaved: Exit asks, and No ends without a copy.
    PostMessageA(editors[2].main, WM_COMMAND, IDM_EXIT, 0);
    box = WaitForDialog(editors[2].info.dwProcessId, 10000);
    ASSERT_NE((HWND)NULL, box) << "no question about the recovered text";
    EXPECT_EQ("Save current changes: ", DialogText(box));
    Press(box, IDNO);
    End(editors[2]);
    EXPECT_EQ(0, Copies());
}

TEST_F(Recovery, ASavedDocumentLeavesNoCopy)
{
    std::string path = FreshFolder() + "saved.txt";
    ASSERT_TRUE(WriteBytes(path, "before\r\n"));
    std::string caption = "PENRIK - " + path;
    HWND edit = StartOn(editors[0], path, caption);
    TypeUntilCopied(editors[0], edit, "A");
    PostMessageA(editors[0].main, WM_COMMAND, IDM_SAVE, 0);
    ASSERT_TRUE(WaitFor([&] { return ReadBytes(path) == "Abefore\r\n"; }, 10000)) << ReadBytes(path);
    Settle(editors[0]);
    Kill(editors[0]);

    StartOn(editors[1], path, caption);
    EXPECT_FALSE(Asked(editors[1]));
    Exit(editors[1]);
}

TEST_F(Recovery, ACopyIsOfferedOnlyOnceItsEditorHasEnded)
{
    std::string path = FreshFolder() + "shared.txt";
    ASSERT_TRUE(WriteBytes(path, "shared\r\n"));
    std::string caption = "PENRIK - " + path;
    HWND edit = StartOn(editors[0], path, caption);
    TypeUntilCopied(editors[0], edit, "first ");

    // A second copy of the editor, on the same file, while the first runs.
    StartOn(editors[1], path, caption);
    EXPECT_FALSE(Asked(editors[1]));
    Exit(editors[1]);

    Kill(editors[0]);
    StartOn(editors[2], path, caption);
    HWND box = WaitForDialog(editors[2].info.dwProcessId, 15000);
    ASSERT_NE((HWND)NULL, box) << "no offer once the first editor had ended";
    EXPECT_TRUE(StartsWith(DialogText(box), path + NamedQuestion)) << DialogText(box);
    Press(box, IDNO);
    Exit(editors[2]);
}

TEST_F(Recovery, ACopyThatCannotBeWrittenChangesNothingShown)
{
    // A file where the folder should be.
    std::string folder = RecoveryFolder();
    RemoveDirectoryA(folder.c_str());
    CreateDirectoryA(folder.substr(0, folder.rfind('\\')).c_str(), NULL);
    ASSERT_TRUE(WriteBytes(folder, "in the way"));
    std::string path = FreshFolder() + "plain.txt";
    ASSERT_TRUE(WriteBytes(path, "text\r\n"));
    std::string caption = "PENRIK - " + path;
    HWND edit = StartOn(editors[0], path, caption);
    Type(editors[0], edit, "X");
    Sleep(4000);  // longer than changes wait for their copy
    EXPECT_FALSE(Asked(editors[0]));
    EXPECT_EQ("Xtext\r\n", TextOf(edit));
    EXPECT_EQ(caption, TextOf(editors[0].main));

    // Once the way is clear, the next change makes the copy.
    ASSERT_TRUE(DeleteFileA(folder.c_str()));
    TypeUntilCopied(editors[0], edit, "Y");
    PostMessageA(editors[0].main, WM_COMMAND, IDM_SAVE, 0);
    EXPECT_TRUE(WaitFor([&] { return ReadBytes(path) == "XYtext\r\n"; }, 10000)) << ReadBytes(path);
    Exit(editors[0]);
    EXPECT_EQ(0, Copies());
}

TEST_F(Recovery, TheSameFileUnderItsShortNameFindsTheCopy)
{
    std::string path = FreshFolder() + "a rather long name.txt";
    ASSERT_TRUE(WriteBytes(path, "first\r\n"));
    HWND edit = StartOn(editors[0], path, "PENRIK - " + path);
    TypeUntilCopied(editors[0], edit, "typed ");
    Kill(editors[0]);
    // Written after the copy, by someone else.
    Sleep(50);
    ASSERT_TRUE(WriteBytes(path, "second\r\n"));

    char shortName[MAX_PATH];
    DWORD length = GetShortPathNameA(path.c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    ASSERT_NE(path, std::string(shortName));
    edit = StartOn(editors[1], shortName, std::string("PENRIK - ") + shortName);
    HWND box = WaitForDialog(editors[1].info.dwProcessId, 15000);
    ASSERT_NE((HWND)NULL, box) << "no offer of the copy under the short name";
    std::string question = DialogText(box);
    EXPECT_TRUE(StartsWith(question, std::string(shortName) + NamedQuestion)) << question;
    EXPECT_TRUE(EndsWith(question, ". The file has changed since then. Recover them?")) << question;

    // A copy gone by the time Yes is pressed is said, and nothing changes.
    ClearRecovery();
    Press(box, IDYES);
    box = WaitForDialog(editors[1].info.dwProcessId, 10000);
    ASSERT_NE((HWND)NULL, box) << "nothing said of the vanished copy";
    EXPECT_EQ("Penrik", TextOf(box));
    EXPECT_TRUE(EndsWith(DialogText(box), " could not be read: nothing was recovered.")) << DialogText(box);
    Press(box, IDOK);
    EXPECT_EQ("second\r\n", TextOf(edit));
    Exit(editors[1]);
}

}  // namespace
