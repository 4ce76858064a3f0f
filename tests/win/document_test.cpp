// The document: the unsaved-changes question, loading, saving, the File
// commands and dropped files.
#include "harness.h"

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

const UINT QUESTION = MB_YESNOCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND;

// Notes the window caption at the moment a message box shows.
std::string captionAtBox;
int WINAPI BoxNotingCaption(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    char title[512];
    GetWindowTextA(Penrik.hwndMain, title, sizeof title);
    captionAtBox = title;
    script.boxes.push_back({text, caption != NULL ? caption : "(none)", type});
    return IDOK;
}

class Documents : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        // Wine gives out the same process ids again, so the test folder may
        // be one of an earlier run: empty it.
        std::string folder = TempDir();
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            std::string path = folder + data.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }

    // Writes `bytes` to `name` in the test folder and opens it with Open.
    std::string Opened(const std::string& name, const std::string& bytes)
    {
        std::string path = TempDir() + name;
        WriteFileBytes(path, bytes);
        script.dialogAnswers.push_back({true, path});
        Command(IDM_OPEN);
        return path;
    }

    // Drops these files on the main window as the shell does.
    void Drop(const std::vector<std::string>& paths)
    {
        std::string list;
        for (const std::string& path : paths)
            list += path + '\0';
        list += '\0';
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
        ASSERT_NE((HGLOBAL)NULL, memory);
        DROPFILES* files = (DROPFILES*)GlobalLock(memory);
        files->pFiles = sizeof(DROPFILES);
        files->fWide = FALSE;
        memcpy((char*)files + sizeof(DROPFILES), list.data(), list.size());
        GlobalUnlock(memory);
        SendMessageA(Penrik.hwndMain, WM_DROPFILES, (WPARAM)memory, 0);
        Pump();
    }

    void ExpectBox(size_t index, const std::string& text, const std::string& caption, UINT type)
    {
        ASSERT_LT(index, script.boxes.size()) << text;
        EXPECT_EQ(text, script.boxes[index].text);
        EXPECT_EQ(caption, script.boxes[index].caption) << text;
        EXPECT_EQ(type, script.boxes[index].type) << text;
    }

    void ExpectBuildCommands(bool available)
    {
        for (int id : {IDM_COMPILE, IDM_BUILD, IDM_BUILDALL}) {
            EXPECT_EQ(available, !MenuGrayed(id)) << id;
            EXPECT_EQ(available, ButtonEnabled(id)) << id;
        }
    }
};

TEST_F(Documents, QuerySaveAnswers)
{
    Start();
    EXPECT_EQ(SAVE_DONE, QuerySave(Penrik.hwndMain));  // nothing modified: silent
    EXPECT_TRUE(script.boxes.empty());

    std::string path = Opened("answers.txt", "old");
    Type("new ");
    ASSERT_EQ(1, Modified());

    script.boxAnswers = {IDNO};
    EXPECT_EQ(SAVE_DROPPED, QuerySave(Penrik.hwndMain));
    ExpectBox(0, "Save current changes: " + path, "penrik", QUESTION);
    EXPECT_EQ("old", ReadFileBytes(path));
    EXPECT_EQ(1, Modified());

    script.boxAnswers = {IDCANCEL};
    EXPECT_EQ(SAVE_STOPPED, QuerySave(Penrik.hwndMain));
    EXPECT_EQ("old", ReadFileBytes(path));
    EXPECT_EQ(1, Modified());

    script.boxAnswers = {IDYES};
    EXPECT_EQ(SAVE_DONE, QuerySave(Penrik.hwndMain));
    EXPECT_EQ("new old", ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
    EXPECT_EQ(1u, script.dialogs.size());  // only Open's
    EXPECT_EQ(SAVE_DONE, QuerySave(Penrik.hwndMain));
    EXPECT_EQ(3u, script.boxes.size());
}

TEST_F(Documents, QuerySaveOnUntitledShowsTheSaveDialogWithTheLastTitle)
{
    Start();
    Type("draft");
    // Before any file command the dialog has the platform's own title.
    script.dialogAnswers = {{false, "C:\\typed then cancelled.txt"}};
    script.boxAnswers = {IDYES};
    EXPECT_EQ(SAVE_STOPPED, QuerySave(Penrik.hwndMain));
    ASSERT_EQ(1u, script.dialogs.size());
    EXPECT_EQ("(none)", script.dialogs[0].title);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ(1, Modified());

    // After Delete the same dialog reads "Delete File".
    script.dialogAnswers = {{false, ""}};
    Command(IDM_DELETEFILE);
    std::string path = TempDir() + "chosen.txt";
    script.boxAnswers = {IDYES};
    script.dialogAnswers = {{true, path}};
    EXPECT_EQ(SAVE_DONE, QuerySave(Penrik.hwndMain));
    ASSERT_EQ(3u, script.dialogs.size());
    EXPECT_EQ("save", script.dialogs[2].kind);
    EXPECT_EQ("Delete File", script.dialogs[2].title);
    EXPECT_EQ(0u, script.dialogs[2].flags);
    EXPECT_EQ(1u, script.dialogs[2].filterIndex);
    EXPECT_EQ("draft", ReadFileBytes(path));
    EXPECT_EQ(path, Utf8(DocumentName()));
    EXPECT_EQ("PENRIK", Caption());  // this dialog does not touch the caption
    EXPECT_EQ(0, Modified());
}

TEST_F(Documents, CloseAnsweredYesWithAFailingWriteKeepsTheWindow)
{
    Start();
    std::string path = Opened("locked.txt", "kept");
    Type("lost? ");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    script.boxAnswers = {IDYES, IDOK};
    SendMessageA(Penrik.hwndMain, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ(-1, exitCode);
    ExpectBox(1, "Error writing to " + path + ".", "(none)", MB_ICONHAND);
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("kept", ReadFileBytes(path));
    EXPECT_NE(0u, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Once the file can be written, Yes writes it and the window goes.
    script.boxAnswers = {IDYES};
    SendMessageA(Penrik.hwndMain, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(Penrik.hwndMain));
    EXPECT_EQ(0, exitCode);
    EXPECT_EQ("lost? kept", ReadFileBytes(path));
}

TEST_F(Documents, SaveOnUntitledGoesThroughSaveAs)
{
    Start();
    Command(IDM_NEW);
    Type("fresh");
    std::string path = TempDir() + "fresh.txt";
    script.dialogAnswers = {{true, path}};
    Command(IDM_SAVE);
    ASSERT_EQ(1u, script.dialogs.size());
    EXPECT_EQ("save", script.dialogs[0].kind);
    EXPECT_EQ("Save File As", script.dialogs[0].title);
    EXPECT_EQ(1u, script.dialogs[0].filterIndex);
    EXPECT_EQ(0u, script.dialogs[0].flags);
    EXPECT_EQ("fresh", ReadFileBytes(path));
    EXPECT_EQ("PENRIK - fresh.txt", Caption());
    EXPECT_EQ(0, Modified());
    EXPECT_EQ(Penrik.hwndEdit, GetFocus());
}

TEST_F(Documents, SaveWritesOnlyAChangedNamedDocument)
{
    Start();
    std::string path = Opened("same.txt", "as loaded");
    WriteFileBytes(path, "changed outside");
    Command(IDM_SAVE);
    EXPECT_EQ("changed outside", ReadFileBytes(path));
    EXPECT_EQ(1u, script.dialogs.size());

    Type("!");
    Command(IDM_SAVE);
    EXPECT_EQ("!as loaded", ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(Documents, SaveAsWritesWhateverModifiedAndSetsTheCaptionFirst)
{
    Start();
    std::string first = Opened("first.txt", "body");
    ASSERT_EQ(0, Modified());
    std::string copy = TempDir() + "copy.txt";
    script.dialogAnswers = {{true, copy}};
    Command(IDM_SAVEAS);
    EXPECT_EQ("body", ReadFileBytes(copy));
    EXPECT_EQ("body", ReadFileBytes(first));
    EXPECT_EQ("PENRIK - copy.txt", Caption());
    EXPECT_EQ(copy, Utf8(DocumentName()));

    // A write that fails: the caption is already the new one when the
    // error shows, and stays.
    std::string readOnly = TempDir() + "read only.txt";
    WriteFileBytes(readOnly, "untouched");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    Type("x");
    Sys.MessageBoxA = BoxNotingCaption;
    script.dialogAnswers = {{true, readOnly}};
    Command(IDM_SAVEAS);
    ExpectBox(0, "Error writing to " + readOnly + ".", "(none)", MB_ICONHAND);
    EXPECT_EQ("PENRIK - read only.txt", captionAtBox);
    EXPECT_EQ("PENRIK - read only.txt", Caption());
    EXPECT_EQ("untouched", ReadFileBytes(readOnly));
    EXPECT_EQ(1, Modified());
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Documents, CancelledDialogsLeaveTheNameAsItWas)
{
    Start();
    std::string path = Opened("named.txt", "text");
    std::string typed = TempDir() + "typed.txt";
    for (int id : {IDM_OPEN, IDM_OPEN2ND, IDM_SAVEAS, IDM_DELETEFILE}) {
        script.dialogAnswers.push_back({false, typed});
        Command(id);
        EXPECT_EQ(path, Utf8(DocumentName())) << id;
        EXPECT_EQ(path, script.dialogs.back().nameShown) << id;
    }
    EXPECT_EQ(5u, script.dialogs.size());
    EXPECT_EQ("text", EditText());
    EXPECT_EQ("PENRIK - " + path, Caption());
    EXPECT_TRUE(script.shell.empty());
    EXPECT_FALSE(FileExists(typed));

    // Save on an untitled document cancels the same way.
    Command(IDM_NEW);
    Type("y");
    script.dialogAnswers.push_back({false, typed});
    Command(IDM_SAVE);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("penrik- Untitled", Caption());
}

TEST_F(Documents, Open2ndStartsThisProgramAndLeavesTheDocumentAlone)
{
    Start();
    std::string path = Opened("mine.txt", "mine");
    Type("+");
    std::string other = TempDir() + "other file.txt";
    WriteFileBytes(other, "other");
    script.dialogAnswers = {{true, other}};
    Command(IDM_OPEN2ND);

    ASSERT_EQ(2u, script.dialogs.size());
    EXPECT_EQ("open", script.dialogs[1].kind);
    EXPECT_EQ("Open 2nd File", script.dialogs[1].title);
    EXPECT_EQ((DWORD)OFN_NOCHANGEDIR, script.dialogs[1].flags);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    ASSERT_EQ(1u, script.shell.size());
    EXPECT_EQ("(none)", script.shell[0].operation);
    EXPECT_EQ(self, script.shell[0].file);
    EXPECT_EQ(other, script.shell[0].parameters);
    EXPECT_EQ("", script.shell[0].directory);
    EXPECT_EQ(SW_SHOW, script.shell[0].show);
    EXPECT_EQ(path, Utf8(DocumentName()));
    EXPECT_EQ("+mine", EditText());
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("PENRIK - " + path, Caption());

    // The next dialog carries no OFN_NOCHANGEDIR.
    script.boxAnswers = {IDNO};
    script.dialogAnswers = {{false, ""}};
    Command(IDM_OPEN);
    ASSERT_EQ(3u, script.dialogs.size());
    EXPECT_EQ(0u, script.dialogs[2].flags);
    EXPECT_EQ("Open File", script.dialogs[2].title);
}

TEST_F(Documents, DeleteAskedYesNoCancel)
{
    Start();
    std::string path = Opened("open.txt", "open");
    Type("*");
    const struct { int answer; bool deleted; } cases[] = {{IDNO, false}, {IDCANCEL, false}, {IDYES, true}};
    for (const auto& c : cases) {
        std::string victim = TempDir() + "victim " + std::to_string(c.answer) + ".txt";
        WriteFileBytes(victim, "v");
        script.dialogAnswers = {{true, victim}};
        script.boxAnswers = {c.answer};
        Command(IDM_DELETEFILE);
        EXPECT_EQ("Delete File", script.dialogs.back().title);
        ExpectBox(script.boxes.size() - 1, "DELETE: " + victim + " ?", "penrik",
                  MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        EXPECT_EQ(!c.deleted, FileExists(victim)) << c.answer;
        EXPECT_EQ(path, Utf8(DocumentName())) << c.answer;
    }
    EXPECT_EQ("*open", EditText());
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("PENRIK - " + path, Caption());
}

TEST_F(Documents, DropLoadsTheFirstOfThreeFiles)
{
    Start();
    std::string a = TempDir() + "a.txt", b = TempDir() + "b.txt", c = TempDir() + "c.txt";
    WriteFileBytes(a, "first");
    WriteFileBytes(b, "second");
    WriteFileBytes(c, "third");
    Drop({a, b, c});
    EXPECT_EQ(a, Utf8(DocumentName()));
    EXPECT_EQ("first", EditText());
    EXPECT_EQ("PENRIK - " + a, Caption());
    EXPECT_EQ(0, Modified());
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_TRUE(script.dialogs.empty());
    EXPECT_EQ("", Utf8(FileTitle()));  // a drop is no dialog
    ExpectBuildCommands(true);

    // Cancel at the question: nothing changes.
    Type("edit ");
    script.boxAnswers = {IDCANCEL};
    Drop({b});
    ExpectBox(0, "Save current changes: " + a, "penrik", QUESTION);
    EXPECT_EQ(a, Utf8(DocumentName()));
    EXPECT_EQ("edit first", EditText());
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("first", ReadFileBytes(a));

    // A drop of a file that cannot be opened keeps the document's name.
    script.boxAnswers = {IDNO, IDOK};
    Drop({TempDir() + "missing.txt"});
    ExpectBox(2, "Cannot open " + TempDir() + "missing.txt.", "(none)", MB_ICONEXCLAMATION);
    EXPECT_EQ(a, Utf8(DocumentName()));
    EXPECT_EQ("edit first", EditText());
}

TEST_F(Documents, DroppedPathsAreTakenWholeOrRefused)
{
    Start();
    std::string folder = TempDir();
    std::string fits = folder + std::string(255 - folder.size(), 'f');
    ASSERT_EQ(255u, fits.size());
    WriteFileBytes(fits, "long named");
    Drop({fits});
    EXPECT_EQ(fits, Utf8(DocumentName()));
    EXPECT_EQ("long named", EditText());
    EXPECT_EQ("PENRIK - " + fits, Caption());

    // Messages name the whole path.
    Type("+");
    script.failNextWrite = true;
    script.boxAnswers = {IDYES, IDOK, IDNO};
    Command(IDM_NEW);
    ExpectBox(0, "Save current changes: " + fits, "penrik", QUESTION);
    ExpectBox(1, "Error writing to " + fits + ".", "(none)", MB_ICONHAND);
    EXPECT_EQ("long named", ReadFileBytes(fits));
    EXPECT_EQ(fits, Utf8(DocumentName()));  // the failed save stopped New
    Command(IDM_NEW);
    Drop({fits});

    for (size_t length : {256u, 300u}) {
        std::string tooLong = folder + std::string(length - folder.size(), 'g');
        script.boxAnswers = {IDOK};
        Drop({tooLong});
        ExpectBox(script.boxes.size() - 1, "The dropped file's path is longer than 255 characters.",
                  "(none)", MB_ICONEXCLAMATION);
        EXPECT_EQ(fits, Utf8(DocumentName())) << length;
        EXPECT_EQ("long named", EditText()) << length;
        EXPECT_EQ("PENRIK - " + fits, Caption()) << length;
    }
}

TEST_F(Documents, LoadingEmptyZeroByteAndOddLineEnds)
{
    Start();
    ExpectBuildCommands(false);
    std::string empty = Opened("empty.txt", "");
    EXPECT_EQ("", EditText());
    EXPECT_EQ("PENRIK - " + empty, Caption());
    EXPECT_EQ(0, Modified());
    EXPECT_TRUE(script.boxes.empty());
    ExpectBuildCommands(true);

    script.boxAnswers = {IDOK};
    std::string zero = Opened("zero.bin", std::string("before\0after", 12));
    EXPECT_EQ("before", EditText());
    EXPECT_EQ(0, Modified());
    ExpectBox(0, zero + " contains zero bytes: only the text before the first one is shown, "
                        "and saving it would drop the rest.",
              "(none)", MB_ICONEXCLAMATION);
    script.boxes.clear();

    // Bytes come through as they are: lone LF and CR, high bytes, tabs.
    std::string odd = "a\nb\rc\r\n\t\xE9\xFF end";
    std::string path = Opened("odd.txt", odd);
    EXPECT_EQ(odd, EditText());
    EXPECT_TRUE(script.boxes.empty());
    script.dialogAnswers = {{true, TempDir() + "odd copy.txt"}};
    Command(IDM_SAVEAS);
    EXPECT_EQ(odd, ReadFileBytes(TempDir() + "odd copy.txt"));
}

TEST_F(Documents, TheBytesOnDiskAreTheControlsText)
{
    Start();
    Type("one\ntwo");
    std::string text = EditText();
    ASSERT_EQ("one\r\ntwo", text);
    std::string path = TempDir() + "typed.txt";
    script.dialogAnswers = {{true, path}};
    Command(IDM_SAVEAS);
    EXPECT_EQ(text, ReadFileBytes(path));
    EXPECT_EQ(0, CountFiles(TempDir(), "*.tmp"));  // nothing left beside it
}

TEST_F(Documents, AShortReadLeavesWhatWasReadUntitledAndChanged)
{
    Start();
    std::string path = TempDir() + "short.txt";
    WriteFileBytes(path, "kept-halflost-half");
    script.failReadAfter = 0;
    script.dialogAnswers = {{true, path}};
    script.boxAnswers = {IDOK};
    Command(IDM_OPEN);
    ExpectBox(0, "Error reading " + path + ".", "(none)", MB_ICONEXCLAMATION);
    EXPECT_EQ("kept-half", EditText());
    // No save can cut the file to what was read without being told where.
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("penrik- Untitled", Caption());
    EXPECT_EQ(1, Modified());
    script.dialogAnswers = {{false, ""}};
    Command(IDM_SAVE);
    EXPECT_EQ("save", script.dialogs.back().kind);
    EXPECT_EQ("kept-halflost-half", ReadFileBytes(path));
}

TEST_F(Documents, LoadWithoutMemoryKeepsThePreviousDocument)
{
    Start();
    std::string previous = Opened("previous.txt", "previous");
    Type("#");
    std::string next = TempDir() + "next.txt";
    WriteFileBytes(next, "next");
    script.boxAnswers = {IDNO, IDOK};
    script.dialogAnswers = {{true, next}};
    script.failAllocAfter = 0;
    Command(IDM_OPEN);
    ExpectBox(1, "Not enough memory.", "(none)", MB_ICONEXCLAMATION);
    EXPECT_EQ(previous, Utf8(DocumentName()));
    EXPECT_EQ("#previous", EditText());
    EXPECT_EQ("PENRIK - " + previous, Caption());
    EXPECT_EQ(1, Modified());

    // The same failure in the internal load leaves the control's text
    // without the name of the file it is not.
    script.boxAnswers = {IDNO};
    Command(IDM_NEW);
    SetDocumentName(Wide(next).c_str());
    script.boxAnswers = {IDOK};
    script.failAllocAfter = 0;
    Command(IDM_LOADFILE);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("penrik- Untitled", Caption());
    EXPECT_EQ("next", ReadFileBytes(next));
}

TEST_F(Documents, TooLargeFilesAreRefused)
{
    Start();
    std::string small = Opened("small.txt", "12345");
    SendMessageA(Penrik.hwndEdit, EM_LIMITTEXT, 8, 0);
    std::string big = TempDir() + "big.txt";
    WriteFileBytes(big, "123456789");
    script.dialogAnswers = {{true, big}};
    script.boxAnswers = {IDOK};
    Command(IDM_OPEN);
    ExpectBox(0, big + " is too large to edit.", "(none)", MB_ICONEXCLAMATION);
    EXPECT_EQ(small, Utf8(DocumentName()));
    EXPECT_EQ("12345", EditText());
    EXPECT_EQ("PENRIK - " + small, Caption());
    EXPECT_EQ(0, Modified());

    // Through the internal load (start-up, Word Wrap) the document is left
    // untitled, so a Save cannot put the small text over the big file.
    SetDocumentName(Wide(big).c_str());
    script.boxAnswers = {IDOK};
    Command(IDM_LOADFILE);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("penrik- Untitled", Caption());
    Type("!");
    script.dialogAnswers = {{false, ""}};
    Command(IDM_SAVE);
    EXPECT_EQ("123456789", ReadFileBytes(big));
}

TEST_F(Documents, StartingOnANameToBeCreatedOrOnAFolder)
{
    std::string path = TempDir() + "not yet.txt";
    Start(path);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(path, Utf8(DocumentName()));
    EXPECT_EQ("", EditText());
    EXPECT_EQ("PENRIK", Caption());
    ExpectBuildCommands(false);
    Type("born");
    Command(IDM_SAVE);
    EXPECT_TRUE(script.dialogs.empty());
    EXPECT_EQ("born", ReadFileBytes(path));
    ShutDown();
    started = false;

    // Something that exists but cannot be read as a file is no new file.
    std::string folder = TempDir() + "a folder";
    CreateDirectoryA(folder.c_str(), NULL);
    script.boxAnswers = {IDOK};
    Start(folder);
    ExpectBox(0, "Cannot open " + folder + ".", "(none)", MB_ICONEXCLAMATION);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("penrik- Untitled", Caption());

    // The internal load of an untitled document (Word Wrap) says nothing.
    Type("kept");
    Command(IDM_LOADFILE);
    EXPECT_EQ(1u, script.boxes.size());
    EXPECT_EQ("kept", EditText());
}

TEST_F(Documents, TheFileDialogRecord)
{
    // The unsaved-changes question's dialog before any file command: no
    // title of its own.
    Start();
    Type("x");
    script.boxAnswers.push_back(IDYES);
    script.dialogAnswers.push_back({false, ""});
    Command(IDM_NEW);
    ASSERT_EQ(1u, script.dialogs.size());
    EXPECT_EQ("save", script.dialogs[0].kind);
    const OPENFILENAMEA& d = script.dialogs[0].record;
    EXPECT_EQ(sizeof(OPENFILENAMEW), d.lStructSize);
    EXPECT_EQ(Penrik.hwndMain, d.hwndOwner);
    ASSERT_NE((LPCSTR)NULL, d.lpstrFilter);
    EXPECT_EQ(std::string("All Files (*.*)\0*.*\0Executable (*.EXE)\0*.EXE\0Text Files (*.TXT)\0*.TXT\0\0", 71),
              std::string(d.lpstrFilter, 71));
    EXPECT_EQ(1u, d.nFilterIndex);
    EXPECT_EQ("", script.dialogs[0].nameShown);
    EXPECT_EQ(256u, d.nMaxFile);
    EXPECT_NE((LPSTR)NULL, d.lpstrFileTitle);
    EXPECT_EQ(256u, d.nMaxFileTitle);
    EXPECT_EQ((LPCSTR)NULL, d.lpstrInitialDir);  // the current folder follows the dialogs
    EXPECT_EQ((LPCSTR)NULL, d.lpstrTitle);
    EXPECT_EQ(0u, d.Flags);
    EXPECT_STREQ("", d.lpstrDefExt);
    EXPECT_EQ((LPSTR)NULL, d.lpstrCustomFilter);
}

TEST_F(Documents, CaptionsAndBuildCommandsThroughNewAndLoad)
{
    Start();
    EXPECT_EQ("PENRIK", Caption());
    Command(IDM_NEW);
    EXPECT_EQ("penrik- Untitled", Caption());
    ExpectBuildCommands(false);
    std::string path = Opened("caption.txt", "c");
    EXPECT_EQ("PENRIK - " + path, Caption());
    EXPECT_EQ("caption.txt", Utf8(FileTitle()));
    ExpectBuildCommands(true);
    Command(IDM_NEW);
    EXPECT_EQ("penrik- Untitled", Caption());
    EXPECT_EQ("", EditText());
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("caption.txt", Utf8(FileTitle()));
    EXPECT_EQ(0, Modified());
    ExpectBuildCommands(true);
}

TEST_F(Documents, PartWayFailedSaveLeavesTheOldFile)
{
    Start();
    std::string path = Opened("precious.txt", "the old contents");
    Type("much longer new text that will not all fit ");
    script.failNextWrite = true;
    script.boxAnswers = {IDOK};
    Command(IDM_SAVE);
    ExpectBox(0, "Error writing to " + path + ".", "(none)", MB_ICONHAND);
    EXPECT_EQ("the old contents", ReadFileBytes(path));
    EXPECT_EQ(1, Modified());
    EXPECT_EQ(0, CountFiles(TempDir(), "*.tmp"));

    // The next attempt writes it all.
    Command(IDM_SAVE);
    EXPECT_EQ(EditText(), ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
}

TEST_F(Documents, SaveKeepsTheFilesAttributes)
{
    Start();
    std::string path = Opened("hidden.txt", "h");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    DWORD before = GetFileAttributesA(path.c_str());
    if (!(before & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system keeps no hidden attribute";
    Type("more ");
    Command(IDM_SAVE);
    EXPECT_EQ("more h", ReadFileBytes(path));
    EXPECT_EQ(before, GetFileAttributesA(path.c_str()));
}

TEST_F(Documents, SaveIntoAFolderThatHasGone)
{
    Start();
    std::string folder = TempDir() + "gone\\";
    CreateDirectoryA(folder.c_str(), NULL);
    std::string path = folder + "file.txt";
    WriteFileBytes(path, "here");
    script.dialogAnswers = {{true, path}};
    Command(IDM_OPEN);
    Type("still ");
    SetCurrentDirectoryA(TempDir().c_str());
    DeleteFileA(path.c_str());
    ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
    script.boxAnswers = {IDOK};
    Command(IDM_SAVE);
    ExpectBox(0, "Error writing to " + path + ".", "(none)", MB_ICONHAND);
    EXPECT_EQ(1, Modified());
    EXPECT_FALSE(FileExists(folder));
}

// A small file system reached through the Z: drive, named by the
// environment variable PENRIK_SMALL_DISK (a Unix path), filled up so that
// the new text cannot be written in full.
TEST_F(Documents, SaveOnAFullDiskLeavesTheOldFile)
{
    const char* disk = getenv("PENRIK_SMALL_DISK");
    if (disk == NULL || disk[0] == '\0')
        GTEST_SKIP() << "PENRIK_SMALL_DISK names no small file system (as root: "
                        "mount -t tmpfs -o size=64k tmpfs DIR; PENRIK_SMALL_DISK=DIR)";
    std::string folder = disk;
    if (folder[0] == '/')
        folder = "Z:" + folder;
    for (char& c : folder)
        if (c == '/')
            c = '\\';
    if (folder.back() != '\\')
        folder += '\\';
    ULARGE_INTEGER total;
    ASSERT_TRUE(GetDiskFreeSpaceExA(folder.c_str(), NULL, &total, NULL)) << folder;
    ASSERT_LT(total.QuadPart, 4u * 1024 * 1024) << "not a small file system: " << folder;

    std::string path = folder + "document.txt";
    std::string filler = folder + "filler.bin";
    DeleteFileA(filler.c_str());
    std::string old(4096, 'o');
    WriteFileBytes(path, old);
    // Fill what is left, in smaller and smaller pieces.
    HANDLE fill = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, fill);
    std::string chunk(4096, 'f');
    for (DWORD piece = 4096; piece > 0; piece /= 2) {
        DWORD written = 0;
        while (WriteFile(fill, chunk.data(), piece, &written, NULL) && written == piece) {
        }
    }
    CloseHandle(fill);

    Start();
    script.dialogAnswers = {{true, path}};
    Command(IDM_OPEN);
    ASSERT_EQ(old, EditText());
    std::string longer(8192, 'n');
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, 0, 0);
    SendMessageA(Penrik.hwndEdit, EM_REPLACESEL, FALSE, (LPARAM)longer.c_str());
    ASSERT_EQ(1, Modified());
    script.boxAnswers = {IDOK};
    Command(IDM_SAVE);
    ExpectBox(0, "Error writing to " + path + ".", "(none)", MB_ICONHAND);
    EXPECT_EQ(old, ReadFileBytes(path));
    EXPECT_EQ(1, Modified());
    EXPECT_EQ(0, CountFiles(folder, "*.tmp"));

    // With room again the same save goes through.
    DeleteFileA(filler.c_str());
    Command(IDM_SAVE);
    EXPECT_EQ(longer + old, ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
    DeleteFileA(path.c_str());
}

// ---------------------------------------------------------------------------
// The replace way, which Windows takes for a plain file and Wine never
// does: the tests let the program take it here.

// What the fake replacement is to do: fail with this error after leaving
// what the documentation says the failure leaves, or replace for real (0).
DWORD replaceFailure;
bool holdLeftovers;  // and keep both files open, so that neither can be moved
HANDLE held[2];
int replaceCalls;

HANDLE Hold(LPCWSTR path)
{
    return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
}

BOOL WINAPI FakeReplaceFile(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup, DWORD flags, LPVOID, LPVOID)
{
    ++replaceCalls;
    if (replaceFailure == 0)
        return ReplaceFileW(replaced, replacement, backup, flags, NULL, NULL);
    // ERROR_UNABLE_TO_REMOVE_REPLACED changes nothing; the other two
    // leave the old file under the backup name and the new one under its
    // own.
    if (replaceFailure != ERROR_UNABLE_TO_REMOVE_REPLACED) {
        EXPECT_TRUE(MoveFileExW(replaced, backup, MOVEFILE_REPLACE_EXISTING));
    }
    if (holdLeftovers) {
        held[0] = Hold(backup);
        held[1] = Hold(replacement);
    }
    SetLastError(replaceFailure);
    return FALSE;
}

int AccessListsAlwaysKept(HANDLE) { return 1; }

// What the system is to call an open file.
std::wstring finalName;
DWORD WINAPI FinalNameAsScripted(HANDLE, LPWSTR out, DWORD size, DWORD)
{
    lstrcpynW(out, finalName.c_str(), (int)size);
    return (DWORD)finalName.size();
}

class ReplaceSave : public Documents {
protected:
    void SetUp() override
    {
        Documents::SetUp();
        replaceFailure = 0;
        holdLeftovers = false;
        replaceCalls = 0;
        Sys.AccessListsKept = AccessListsAlwaysKept;
        Sys.ReplaceFileW = FakeReplaceFile;
    }
    void TearDown() override
    {
        for (HANDLE& handle : held)
            if (handle != NULL && handle != INVALID_HANDLE_VALUE)
                CloseHandle(handle);
        held[0] = held[1] = NULL;
        Documents::TearDown();
    }
};

TEST_F(ReplaceSave, APlainFileIsReplacedWithItsAttributesAndCreationTime)
{
    Start();
    std::string path = TempDir() + "plain.txt";
    WriteFileBytes(path, "old");
    FILETIME created = {0x12345678, 0x01d00000};
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_TRUE(SetFileTime(file, &created, NULL, NULL));
    CloseHandle(file);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FILE_ATTRIBUTE_DATA before, after;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &before));

    script.dialogAnswers = {{true, path}};
    Command(IDM_OPEN);
    Type("new ");
    Command(IDM_SAVE);
    EXPECT_EQ(1, replaceCalls);
    EXPECT_EQ("new old", ReadFileBytes(path));
    EXPECT_EQ(0, Modified());
    EXPECT_EQ(0, CountFiles(TempDir(), "*.tmp"));
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(before.dwFileAttributes, after.dwFileAttributes);
    // Wine's files on Linux keep no creation time of their own.
    if (CompareFileTime(&before.ftCreationTime, &created) == 0) {
        EXPECT_EQ(0, CompareFileTime(&before.ftCreationTime, &after.ftCreationTime));
    } else {
        printf("this file system keeps no creation time: not compared\n");
    }
}

TEST_F(ReplaceSave, AFailedReplacementLeavesOneWholeTextAndNoLeftovers)
{
    Start();
    for (DWORD failure : {ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT,
                          ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}) {
        SCOPED_TRACE(failure);
        replaceFailure = failure;
        replaceCalls = 0;
        std::string path = Opened("replaced.txt", "old text");
        Type("new ");
        Command(IDM_SAVE);
        EXPECT_EQ(1, replaceCalls);
        EXPECT_EQ("new old text", ReadFileBytes(path));
        EXPECT_EQ(0, Modified());
        EXPECT_EQ(0, CountFiles(TempDir(), "*.tmp"));
        EXPECT_TRUE(script.boxes.empty());
    }
}

TEST_F(ReplaceSave, ANameThatCannotBeGivenBackSaysWhereTheOldTextIs)
{
    Start();
    std::string path = Opened("stuck.txt", "old text");
    Type("new ");
    replaceFailure = ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
    holdLeftovers = true;
    script.boxAnswers = {IDOK};
    Command(IDM_SAVE);
    ASSERT_EQ(1u, script.boxes.size());
    const std::string start = "Error writing to " + path + ". Its old contents are in ";
    ASSERT_EQ(start, script.boxes[0].text.substr(0, start.size()));
    std::string backup = script.boxes[0].text.substr(start.size());
    backup.pop_back();  // the closing full stop
    EXPECT_EQ("old text", ReadFileBytes(backup));
    EXPECT_EQ(1, Modified());
    EXPECT_EQ("new old text", EditText());
}

// A mapped drive's file is named by its server: another spelling (here
// the short name) of the same file, which is replaced. A name that opens
// another file is not the document's: that save goes in place.
TEST_F(ReplaceSave, TheFileIsKnownByWhatItIsNotByItsSpelling)
{
    Start();
    Sys.GetFinalPathNameByHandleW = FinalNameAsScripted;
    std::string path = Opened("known by another name.txt", "old");
    wchar_t shortName[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameW(Wide(path).c_str(), shortName, MAX_PATH));
    ASSERT_NE(Wide(path), shortName);
    finalName = std::wstring(L"\\\\?\\") + shortName;
    Type("new ");
    Command(IDM_SAVE);
    EXPECT_EQ(1, replaceCalls);
    EXPECT_EQ("new old", ReadFileBytes(path));

    std::string other = TempDir() + "other.txt";
    WriteFileBytes(other, "other");
    finalName = L"\\\\?\\" + Wide(other);
    Type("x");
    Command(IDM_SAVE);
    EXPECT_EQ(1, replaceCalls);
    EXPECT_EQ(EditText(), ReadFileBytes(path));
    EXPECT_EQ("other", ReadFileBytes(other));
}

}  // namespace
