// Hostile files and names: binary and huge files, names at the length
// limit, files held open by someone else. Whatever comes, the editor
// stays up, says plainly what went wrong, and the file on disk is either
// what it was or exactly the text the user saved.
#include "harness.h"

#include <cderr.h>
#include <stdio.h>

namespace {

// File dialogs that behave as the platform's do with a name too long for
// the caller's buffer: the call fails and the error says so.
DWORD dialogError;
BOOL NamingDialog(const char* kind, LPOPENFILENAMEA ofn)
{
    RecordDialog(kind, ofn);
    dialogError = 0;
    if (script.dialogAnswers.empty()) {
        ADD_FAILURE() << "unexpected " << kind << " dialog";
        return FALSE;
    }
    DialogAnswer answer = script.dialogAnswers.front();
    script.dialogAnswers.pop_front();
    if (!answer.ok)
        return FALSE;
    if (answer.path.size() >= ofn->nMaxFile) {
        dialogError = FNERR_BUFFERTOOSMALL;
        *(WORD*)ofn->lpstrFile = (WORD)(answer.path.size() + 1);  // the size it would need
        return FALSE;
    }
    lstrcpynA(ofn->lpstrFile, answer.path.c_str(), (int)ofn->nMaxFile);
    size_t slash = answer.path.find_last_of('\\');
    lstrcpynA(ofn->lpstrFileTitle, answer.path.substr(slash + 1).c_str(), (int)ofn->nMaxFileTitle);
    SetCurrentDirectoryA(answer.path.substr(0, slash + 1).c_str());
    return TRUE;
}
BOOL WINAPI NamingOpen(LPOPENFILENAMEA ofn) { return NamingDialog("open", ofn); }
BOOL WINAPI NamingSave(LPOPENFILENAMEA ofn) { return NamingDialog("save", ofn); }
DWORD WINAPI NamingError(void) { return dialogError; }

// The cursor while the control takes a large text, and while a file is
// written: seen from inside those calls.
HCURSOR cursorAtSetText, cursorAtWrite;
LRESULT CALLBACK NoteCursorAtSetText(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->hwnd == Penrik.hwndEdit && call->message == WM_SETTEXT && call->lParam != 0 &&
        lstrlenW((const wchar_t*)call->lParam) > 100000)
        cursorAtSetText = GetCursor();
    return CallNextHookEx(NULL, code, wParam, lParam);
}
BOOL WINAPI WriteNotingCursor(HANDLE file, LPCVOID data, DWORD length, LPDWORD written, LPOVERLAPPED overlapped)
{
    cursorAtWrite = GetCursor();
    return WriteFile(file, data, length, written, overlapped);
}

class Faults : public PenrikTest {
protected:
    std::string Opened(const std::string& path)
    {
        script.dialogAnswers.push_back({true, path});
        Command(IDM_OPEN);
        return path;
    }

    void ExpectOnlyBox(const std::string& text, UINT type)
    {
        ASSERT_EQ(1u, script.boxes.size()) << text;
        EXPECT_EQ(text, script.boxes[0].text);
        EXPECT_EQ("(none)", script.boxes[0].caption);
        EXPECT_EQ(type, script.boxes[0].type);
        script.boxes.clear();
    }

    // A folder under the test folder, nested so that folder + `nameLength`
    // characters of file name make a path of exactly `total` characters.
    std::string PathOfLength(size_t total, size_t nameLength, char fill)
    {
        std::string folder = TempDir();
        size_t want = total - nameLength;  // the folder with its last backslash
        while (folder.size() < want) {
            size_t part = want - folder.size() - 1;
            if (part > 100)
                part = 100;
            if (part == 0)
                part = 1;  // cannot end exactly: one character more
            folder += std::string(part, 'd') + "\\";
            CreateDirectoryA(folder.c_str(), NULL);
        }
        std::string path = folder + std::string(total - folder.size(), fill);
        EXPECT_EQ(total, path.size());
        return path;
    }
};

std::string AllByteValues(unsigned char from)
{
    std::string bytes;
    for (unsigned value = from; value < 256; ++value)
        bytes += (char)value;
    return bytes;
}

TEST_F(Faults, BinaryFilesComeThroughByteForByteUpToTheFirstZero)
{
    Start();
    // Every byte value but zero is kept exactly, and a save gives it back.
    // (The leading CR LF keeps the lone LF and CR from being taken for the
    // file's line breaks.)
    const std::string bytes = "\r\n" + AllByteValues(1);
    std::string noZero = bytes + AllByteValues(1);
    std::string plain = TempDir() + "every byte.bin";
    WriteFileBytes(plain, noZero);
    Opened(plain);
    EXPECT_TRUE(script.boxes.empty());
    ASSERT_EQ(noZero.size(), (size_t)GetWindowTextLengthA(Penrik.hwndEdit));
    EXPECT_TRUE(noZero == EditText()) << "the control changed some byte values";
    EXPECT_EQ(0, Modified());
    script.dialogAnswers = {{true, TempDir() + "copy.bin"}};
    Command(IDM_SAVEAS);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_TRUE(noZero == ReadFileBytes(TempDir() + "copy.bin"));

    // With zero bytes the control ends at the first one; the user is told
    // before anything could be saved over the file.
    std::string withZeros = bytes + std::string(1, '\0') + AllByteValues(0) + "tail";
    std::string binary = TempDir() + "zeros.bin";
    WriteFileBytes(binary, withZeros);
    script.boxAnswers = {IDOK};
    Opened(binary);
    ExpectOnlyBox(binary + " contains zero bytes: only the text before the first one is shown, "
                           "and saving it would drop the rest.",
                  MB_ICONEXCLAMATION);
    EXPECT_TRUE(bytes == EditText());
    EXPECT_EQ("PENRIK - " + binary, Caption());
    EXPECT_EQ(0, Modified());

    // Unchanged, Save writes nothing.
    Key('S', true);
    EXPECT_TRUE(withZeros == ReadFileBytes(binary));
    // Changed and saved, the file is exactly what was shown and edited.
    Type("!");
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(0, Modified());
    EXPECT_TRUE(EditText() == ReadFileBytes(binary));
    EXPECT_EQ(bytes.size() + 1, ReadFileBytes(binary).size());
}

TEST_F(Faults, AMegabyteOnOneLine)
{
    std::string line;
    line.reserve(1 << 20);
    while (line.size() < (1u << 20))
        line += "abcdefghijklmnopqrstuvwxyz0123456789 ";
    line.resize(1 << 20);
    std::string path = TempDir() + "one line.txt";
    WriteFileBytes(path, line);
    Start(path, SW_HIDE);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ("PENRIK - " + path, Caption());
    EXPECT_EQ(1, (int)SendMessageA(Penrik.hwndEdit, EM_GETLINECOUNT, 0, 0));
    EXPECT_TRUE(line == EditText());
    EXPECT_EQ(0, Modified());

    SendMessageA(Penrik.hwndEdit, EM_SETSEL, (WPARAM)line.size(), (LPARAM)line.size());
    Type("\n{");
    Key(VK_RETURN);
    EXPECT_EQ(1, Modified());
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(0, Modified());
    std::string saved = ReadFileBytes(path);
    EXPECT_TRUE(EditText() == saved);
    EXPECT_EQ(line + "\r\n{\r\n\t", saved);
}

TEST_F(Faults, TwoHundredThousandLines)
{
    std::string text;
    text.reserve(200000 * 12);
    char line[32];
    for (int n = 1; n <= 200000; ++n) {
        snprintf(line, sizeof line, "%s%d\r\n", n % 10 == 0 ? "\t" : "", n);
        text += line;
    }
    std::string path = TempDir() + "lines.txt";
    WriteFileBytes(path, text);
    Start(path, SW_HIDE);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(200001, (int)SendMessageA(Penrik.hwndEdit, EM_GETLINECOUNT, 0, 0));
    EXPECT_TRUE(text == EditText());

    // Typing at the very end and saving writes the whole text back.
    DWORD end = (DWORD)text.size();
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, end, end);
    Type("last");
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_TRUE(text + "last" == ReadFileBytes(path));
}

TEST_F(Faults, TwentyMegabytesLoadWholeUnderTheWaitCursor)
{
    std::string text;
    const size_t size = 20u << 20;
    text.reserve(size);
    char line[64];
    for (int n = 0; text.size() < size; ++n) {
        snprintf(line, sizeof line, "%08d the quick brown fox jumps over the dog\r\n", n);
        text += line;
    }
    text.resize(size);
    std::string path = TempDir() + "twenty.txt";
    WriteFileBytes(path, text);

    Start("", SW_HIDE);
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, NoteCursorAtSetText, NULL, GetCurrentThreadId());
    ASSERT_NE((HHOOK)NULL, hook);
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    cursorAtSetText = NULL;
    Opened(path);
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(LoadCursorA(NULL, IDC_WAIT), cursorAtSetText) << "no wait cursor while the control took the text";
    EXPECT_EQ(LoadCursorA(NULL, IDC_ARROW), GetCursor()) << "the wait cursor stayed";
    EXPECT_EQ((int)size, GetWindowTextLengthA(Penrik.hwndEdit));
    EXPECT_TRUE(text == EditText());
    EXPECT_EQ(0, Modified());
    EXPECT_EQ("PENRIK - " + path, Caption());

    // Saved under another name, whole, with the wait cursor during the write.
    Sys.WriteFile = WriteNotingCursor;
    cursorAtWrite = NULL;
    script.dialogAnswers = {{true, TempDir() + "copy.txt"}};
    Command(IDM_SAVEAS);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(LoadCursorA(NULL, IDC_WAIT), cursorAtWrite);
    EXPECT_EQ(LoadCursorA(NULL, IDC_ARROW), GetCursor());
    EXPECT_TRUE(text == ReadFileBytes(TempDir() + "copy.txt"));
    DeleteFileA(path.c_str());
    DeleteFileA((TempDir() + "copy.txt").c_str());
}

TEST_F(Faults, NamesAtTheLimitThroughTheCommandLineAndTheSettings)
{
    std::string fits = PathOfLength(255, 40, 'n');
    WriteFileBytes(fits, "at the limit");
    ASSERT_EQ("at the limit", ReadFileBytes(fits));

    Start(fits);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(fits, Utf8(DocumentName()));
    EXPECT_EQ("at the limit", EditText());
    EXPECT_EQ("PENRIK - " + fits, Caption());
    // Saved in place, beside its long folder.
    Type("still ");
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ("still at the limit", ReadFileBytes(fits));
    // Save Settings keeps it whole, and the next start finds it.
    Command(IDM_SAVESETTINGS);
    ShutDown();
    started = false;
    Start();
    EXPECT_EQ(fits, Utf8(DocumentName()));
    EXPECT_EQ("still at the limit", EditText());
    ShutDown();
    started = false;

    const std::string refused = "The file name is longer than 255 characters; "
                                "an empty document was opened instead.";
    for (size_t length : {256u, 300u}) {
        std::string tooLong = fits + std::string(length - 255, 'x');
        script.boxAnswers = {IDOK};
        Start(tooLong);
        ExpectOnlyBox(refused, MB_ICONEXCLAMATION);
        EXPECT_EQ("", Utf8(DocumentName())) << length;
        EXPECT_EQ("", EditText());
        EXPECT_EQ("PENRIK", Caption());
        ShutDown();
        started = false;

        WriteSettings("[Penrik]\r\nFileName=" + tooLong + "\r\n");
        script.boxAnswers = {IDOK};
        Start();
        ExpectOnlyBox(refused, MB_ICONEXCLAMATION);
        EXPECT_EQ("", Utf8(DocumentName())) << length;
        EXPECT_EQ("", EditText());
        // A name on the command line wins over the stored one, and no
        // refusal of the stored name shows.
        ShutDown();
        started = false;
        Start(fits);
        EXPECT_TRUE(script.boxes.empty());
        EXPECT_EQ("still at the limit", EditText());
        ShutDown();
        started = false;
    }
    // The same files still hold what they held.
    EXPECT_EQ("still at the limit", ReadFileBytes(fits));
}

// No memory for the copy of the text that a save writes: the file is not
// touched, and the user hears of it.
TEST_F(Faults, SaveWithoutMemoryLeavesTheFile)
{
    std::string path = TempDir() + "kept.txt";
    WriteFileBytes(path, "kept as it was");
    Start(path);
    Type("changed ");
    script.failAllocAfter = 0;
    script.boxAnswers = {IDOK};
    Key('S', true);
    ExpectOnlyBox("Error writing to " + path + ".", MB_ICONHAND);
    EXPECT_EQ("kept as it was", ReadFileBytes(path));
    EXPECT_EQ(1, Modified());
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ("changed kept as it was", ReadFileBytes(path));
}

// A save goes to a new file beside the old one first. In a folder so deep
// that no such file can be named, the save is refused with the error and
// the file stays as it was.
// No temporary name fits beside the file: it is written in place.
TEST_F(Faults, ADeepFileWithNoRoomBesideItIsSavedInPlace)
{
    std::string deep = PathOfLength(255, 4, 'q');
    WriteFileBytes(deep, "deep");
    ASSERT_EQ("deep", ReadFileBytes(deep));
    Start(deep);
    EXPECT_EQ("deep", EditText());
    Type("x");
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(0, Modified());
    EXPECT_EQ("xdeep", ReadFileBytes(deep));
}

TEST_F(Faults, NamesTooLongForTheDialogsAreRefusedInWords)
{
    Utf8Sys.GetOpenFileName = NamingOpen;
    Utf8Sys.GetSaveFileName = NamingSave;
    Sys.CommDlgExtendedError = NamingError;
    const std::string refused = "The file name is longer than 255 characters.";
    std::string fits = PathOfLength(255, 60, 'm');
    WriteFileBytes(fits, "dialog limit");
    Start();
    Opened(fits);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(fits, Utf8(DocumentName()));
    EXPECT_EQ("dialog limit", EditText());
    EXPECT_EQ(std::string(60, 'm'), Utf8(FileTitle()));

    for (size_t length : {256u, 300u}) {
        std::string tooLong = fits + std::string(length - 255, 'y');
        // Open: refused, the document as it was.
        script.boxAnswers = {IDOK};
        Opened(tooLong);
        ExpectOnlyBox(refused, MB_ICONEXCLAMATION);
        EXPECT_EQ(fits, Utf8(DocumentName())) << length;
        EXPECT_EQ("dialog limit", EditText());
        EXPECT_EQ("PENRIK - " + fits, Caption());

        // Save As: refused, nothing written anywhere, still changed.
        Type("+");
        script.dialogAnswers = {{true, tooLong}};
        script.boxAnswers = {IDOK};
        Command(IDM_SAVEAS);
        ExpectOnlyBox(refused, MB_ICONEXCLAMATION);
        EXPECT_EQ(fits, Utf8(DocumentName()));
        EXPECT_EQ(1, Modified());
        EXPECT_EQ("dialog limit", ReadFileBytes(fits));
        SendMessageA(Penrik.hwndEdit, EM_UNDO, 0, 0);
        SetModified(0);
    }

    // Delete: refused, nothing asked or deleted.
    script.dialogAnswers = {{true, fits + "z"}};
    script.boxAnswers = {IDOK};
    Command(IDM_DELETEFILE);
    ExpectOnlyBox(refused, MB_ICONEXCLAMATION);
    EXPECT_EQ(fits, Utf8(DocumentName()));
    EXPECT_EQ("dialog limit", ReadFileBytes(fits));

    // Execute: refused, nothing started, the name as it was.
    script.dialogAnswers = {{true, fits + "e"}};
    script.boxAnswers = {IDOK};
    script.shell.clear();
    Command(IDM_EXECUTE);
    ExpectOnlyBox(refused, MB_ICONEXCLAMATION);
    EXPECT_TRUE(script.shell.empty());
    EXPECT_EQ(fits, Utf8(DocumentName()));

    // The save dialog of the unsaved-changes question: refused, and the
    // command that asked does not go on to its own dialog.
    script.boxAnswers = {IDNO};
    Type("x");
    Command(IDM_NEW);
    Type("new text");
    script.boxes.clear();
    script.dialogs.clear();
    script.boxAnswers = {IDYES, IDOK};
    script.dialogAnswers = {{true, fits + "q"}};
    Command(IDM_OPEN);
    ASSERT_EQ(2u, script.boxes.size());
    EXPECT_EQ(refused, script.boxes[1].text);
    ASSERT_EQ(1u, script.dialogs.size());
    EXPECT_EQ("save", script.dialogs[0].kind);
    EXPECT_EQ("", Utf8(DocumentName()));
    EXPECT_EQ("new text", EditText());
    EXPECT_EQ(1, Modified());
}

// Another program holds the file open and shares it with nobody.
TEST_F(Faults, FileLockedByAnotherProgram)
{
    Start();
    std::string path = TempDir() + "locked.txt";
    WriteFileBytes(path, "the locked contents");
    std::string other = TempDir() + "other.txt";
    WriteFileBytes(other, "other");
    Opened(other);

    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    script.boxAnswers = {IDOK};
    Opened(path);
    ExpectOnlyBox("Cannot open " + path + ".", MB_ICONEXCLAMATION);
    EXPECT_EQ(other, Utf8(DocumentName()));
    EXPECT_EQ("other", EditText());
    EXPECT_EQ("PENRIK - " + other, Caption());
    CloseHandle(lock);

    // Opened, then locked, then saved: the error, the old file, still changed.
    Opened(path);
    ASSERT_EQ("the locked contents", EditText());
    lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Type("new ");
    script.boxAnswers = {IDOK};
    Key('S', true);
    ExpectOnlyBox("Error writing to " + path + ".", MB_ICONHAND);
    EXPECT_EQ(1, Modified());
    CloseHandle(lock);
    EXPECT_EQ("the locked contents", ReadFileBytes(path));

    // Let go, the same save goes through.
    Key('S', true);
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_EQ(0, Modified());
    EXPECT_EQ("new the locked contents", ReadFileBytes(path));
}

}  // namespace
