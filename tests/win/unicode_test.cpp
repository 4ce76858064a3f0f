// Text in every language: files in UTF-8 and UTF-16 show their characters
// and keep their bytes, and a character the code page lacks is never
// dropped without asking.
#include "harness.h"

namespace {

// German, Polish, Greek and Japanese, and a character beyond the BMP.
const std::wstring Words = L"Gr\u00FC\u00DFe \u0141\u00F3d\u017A \u03B1\u03B2\u03B3 \u65E5\u672C\u8A9E \U0001F600";
const std::string WordsUtf8 = "Gr\xC3\xBC\xC3\x9F" "e \xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xB1\xCE\xB2\xCE\xB3 "
                              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80";

std::string Utf16(const std::wstring& text, bool big)
{
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        char high = (char)(c >> 8), low = (char)(c & 0xFF);
        bytes += big ? high : low;
        bytes += big ? low : high;
    }
    return bytes;
}

std::wstring ControlText()
{
    int length = GetWindowTextLengthW(Penrik.hwndEdit);
    std::wstring text(length + 1, L'\0');
    text.resize(SendMessageW(Penrik.hwndEdit, WM_GETTEXT, length + 1, (LPARAM)&text[0]));
    return text;
}

// A character typed where the caret is, as the keyboard gives it.
void TypeWide(const std::wstring& text)
{
    for (wchar_t c : text)
        SendMessageW(Penrik.hwndEdit, WM_CHAR, c, 1);
}

// The system's code page as a test sets it, and a conversion that holds
// to what Windows documents: for code pages 65001 and 54936 no flag but
// WC_ERR_INVALID_CHARS, and for 65001 no report of a default character.
UINT fakeCodePage;
UINT WINAPI FakeGetACP(void) { return fakeCodePage; }
int WINAPI StrictWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int room,
                                     LPCCH defaultChar, LPBOOL usedDefault)
{
    if (codePage == CP_ACP)
        codePage = fakeCodePage;
    bool restricted = codePage == CP_UTF8 || codePage == 54936;
    if (restricted && ((flags & ~(DWORD)WC_ERR_INVALID_CHARS) != 0 || defaultChar != NULL ||
                       (codePage == CP_UTF8 && usedDefault != NULL))) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    // Wine 8 has no tables for GB 18030; the tests give it ASCII, which
    // is the same bytes in UTF-8.
    if (codePage == 54936 && !IsValidCodePage(54936))
        codePage = CP_UTF8;
    return WideCharToMultiByte(codePage, flags, text, length, out, room, defaultChar, usedDefault);
}

class Unicode : public PenrikTest {
protected:
    std::string Open(const std::string& name, const std::string& bytes)
    {
        std::string path = TempDir() + name;
        WriteFileBytes(path, bytes);
        script.dialogAnswers.push_back({true, path});
        Command(IDM_OPEN);
        return path;
    }
};

TEST_F(Unicode, EachEncodingShowsItsCharactersAndKeepsItsBytes)
{
    const std::wstring text = Words + L"\r\n";
    const struct {
        const char* name;
        std::string bytes;
        std::string typedBytes;  // the file once "\u0142" is typed at its start
    } files[] = {
        {"utf8.c", WordsUtf8 + "\r\n", "\xC5\x82" + WordsUtf8 + "\r\n"},
        {"mark.c", "\xEF\xBB\xBF" + WordsUtf8 + "\n", "\xEF\xBB\xBF\xC5\x82" + WordsUtf8 + "\n"},
        {"le.c", Utf16(text, false), Utf16(L"\u0142" + text, false)},
        {"be.c", Utf16(text, true), Utf16(L"\u0142" + text, true)},
    };
    Start();
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        std::string path = Open(file.name, file.bytes);
        EXPECT_EQ(text, ControlText());  // no mark shown, CR LF lines
        EXPECT_TRUE(script.boxes.empty());
        // Unchanged text is written back as it was read.
        SetModified(1);
        Command(IDM_SAVE);
        EXPECT_EQ(file.bytes, ReadFileBytes(path));
        SendMessageW(Penrik.hwndEdit, EM_SETSEL, 0, 0);
        TypeWide(L"\u0142");
        Command(IDM_SAVE);
        EXPECT_EQ(file.typedBytes, ReadFileBytes(path));
        EXPECT_TRUE(script.boxes.empty());
    }

    // Bytes of the code page stay the code page's, byte for byte.
    std::string latin = "Gr\xFC\xDF" "e, \xE9t\xE9\r\n";
    std::string path = Open("latin1.txt", latin);
    EXPECT_EQ(L"Gr\u00FC\u00DFe, \u00E9t\u00E9\r\n", ControlText());
    SetModified(1);
    Command(IDM_SAVE);
    EXPECT_EQ(latin, ReadFileBytes(path));
}

TEST_F(Unicode, ABadMarkLoadsAsCodePageBytesAndComesBackAsTheyWere)
{
    Start();
    // A UTF-16 mark on an odd number of bytes is no UTF-16 file.
    std::string odd("\xFF\xFE" "abc", 5);
    std::string path = Open("odd.txt", odd);
    EXPECT_EQ(L"\u00FF\u00FE" L"abc", ControlText());
    SetModified(1);
    Command(IDM_SAVE);
    EXPECT_EQ(odd, ReadFileBytes(path));
}

TEST_F(Unicode, ACharacterTheCodePageLacksIsSavedOnlyAsTheUserSays)
{
    Start();
    std::string path = Open("plain.txt", "plain\r\n");
    TypeWide(L"\u0141\u00F3d\u017A ");
    const std::string question = path + " contains characters that the ANSI code page cannot hold. Save it as UTF-8?";

    // Cancel writes nothing, says nothing more, and the changes stay.
    script.boxAnswers = {IDCANCEL};
    Command(IDM_SAVE);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ(question, script.boxes[0].text);
    EXPECT_EQ("Penrik", script.boxes[0].caption);
    EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONEXCLAMATION), script.boxes[0].type);
    EXPECT_EQ("plain\r\n", ReadFileBytes(path));
    EXPECT_EQ(1, Modified());

    // No writes the code page's bytes, with the platform's stand-in for
    // each character it lacks.
    script.boxAnswers = {IDNO};
    Command(IDM_SAVE);
    EXPECT_EQ("?\xF3" "d? plain\r\n", ReadFileBytes(path));
    EXPECT_EQ(0, Modified());

    // Yes writes UTF-8, and the document stays UTF-8 without asking again.
    SendMessageW(Penrik.hwndEdit, EM_SETSEL, 0, 0);
    TypeWide(L"\u03A9");
    script.boxAnswers = {IDYES};
    Command(IDM_SAVE);
    EXPECT_EQ("\xCE\xA9\xC5\x81\xC3\xB3" "d\xC5\xBA plain\r\n", ReadFileBytes(path));
    SendMessageW(Penrik.hwndEdit, EM_SETSEL, 0, 0);
    TypeWide(L"\u0416");
    Command(IDM_SAVE);
    EXPECT_EQ(3u, script.boxes.size());
    EXPECT_EQ("\xD0\x96\xCE\xA9\xC5\x81\xC3\xB3" "d\xC5\xBA plain\r\n", ReadFileBytes(path));

    // An untitled document is asked about by that name, on its way out.
    Command(IDM_NEW);
    TypeWide(L"\u0141");
    std::string other = TempDir() + "other.txt";
    script.dialogAnswers = {{true, other}};
    script.boxAnswers = {IDYES, IDYES};
    Command(IDM_EXIT);
    ASSERT_EQ(5u, script.boxes.size());
    EXPECT_EQ(other + " contains characters that the ANSI code page cannot hold. Save it as UTF-8?",
              script.boxes[4].text);
    EXPECT_EQ("\xC5\x81", ReadFileBytes(other));
    EXPECT_EQ(0, exitCode);
}

TEST_F(Unicode, ARecoveryCopyKeepsTheCharactersAndTheEncoding)
{
    char base[MAX_PATH];
    GetEnvironmentVariableA("LOCALAPPDATA", base, MAX_PATH);
    std::string folder = std::string(base) + "\\Penrik\\Recovery\\";
    // This editor's copy, left as a crash leaves it (a normal end deletes
    // it), and one that an editor older than this one wrote, in the code
    // page, for another file.
    Start();
    std::string path = Open("kept.c", WordsUtf8 + "\r\n");
    TypeWide(L"\u0142");
    WriteRecoveryCopy(1);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*.copy").c_str(), &entry);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    FindClose(search);
    std::string copy = ReadFileBytes(folder + entry.cFileName);
    ShutDown();
    started = false;
    WriteFileBytes(folder + "00000001-0000000000000001.copy", copy);
    std::string older = TempDir() + "older.txt";
    WriteFileBytes(older, "old\r\n");
    std::string oldText = "Gr\xFC\xDF" "e";
    WriteFileBytes(folder + "00000001-0000000000000002.copy",
                   "Penrik recovery copy\r\nname=" + older + "\r\nbreaks=0\r\ntime=1\r\nlength=5\r\n\r\n" + oldText);

    script.boxAnswers = {IDYES};
    Start("\"" + path + "\"");
    EXPECT_EQ(L"\u0142" + Words + L"\r\n", ControlText());
    EXPECT_EQ(1, Modified());
    EXPECT_EQ(ENCODING_UTF8, DocumentEncoding());
    Command(IDM_SAVE);
    EXPECT_EQ("\xC5\x82" + WordsUtf8 + "\r\n", ReadFileBytes(path));

    script.boxAnswers = {IDYES};
    script.dialogAnswers = {{true, older}};
    Command(IDM_OPEN);
    EXPECT_EQ(L"Gr\u00FC\u00DFe", ControlText());
    EXPECT_EQ(ENCODING_ANSI, DocumentEncoding());
    Command(IDM_SAVE);
    EXPECT_EQ(oldText, ReadFileBytes(older));
}

// With "Use Unicode UTF-8 for worldwide language support" the code page
// is UTF-8: a document in it is saved as UTF-8, with nothing to ask; in
// GB 18030, which also holds every character, as the code page's bytes.
TEST_F(Unicode, UnderACodePageThatHoldsEveryCharacterASaveAsksNothing)
{
    Sys.GetACP = FakeGetACP;
    Sys.WideCharToMultiByte = StrictWideCharToMultiByte;
    Start();
    const struct { UINT codePage; std::wstring typed; std::string bytes; } rows[] = {
        {CP_UTF8, L"\u0141\u00F3d\u017A ", "\xC5\x81\xC3\xB3" "d\xC5\xBA plain\r\n"},
        {54936, L"ab ", "ab plain\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.codePage);
        fakeCodePage = row.codePage;
        std::string path = Open("plain.txt", "plain\r\n");
        TypeWide(row.typed);
        Command(IDM_SAVE);
        EXPECT_TRUE(script.boxes.empty());
        EXPECT_EQ(row.bytes, ReadFileBytes(path));
        EXPECT_EQ(0, Modified());
    }
}

}  // namespace
