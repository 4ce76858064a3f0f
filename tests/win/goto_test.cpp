// Go To, "/g" on the command line, and compiler messages as links: the
// build results' double-click and Next and Previous Message.
#include "findbox.h"

namespace {

class GoTo : public FindBoxTest {
protected:
    DWORD Caret()
    {
        DWORD start = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        return start;
    }
    // Types `text` into the Go To field and presses OK; the dialog must
    // stay open for a field that is no line.
    static DialogStep Typed(const char* text, bool staysOpen = false)
    {
        return [=](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_GOTOTEXT, text);
            SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
            if (!staysOpen)
                return;
            EXPECT_TRUE(IsWindow(dialog)) << text;
            EXPECT_EQ(GetDlgItem(dialog, IDC_GOTOTEXT), GetFocus()) << text;
            SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
        };
    }
    std::string Name() { return Utf8(DocumentName()); }
    static std::string Utf8(const wchar_t* text)
    {
        char out[MAX_PATH * 3];
        WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, NULL, NULL);
        return out;
    }
};

TEST_F(GoTo, TheDialogTakesALineAndAColumnAndRefusesWhatIsNone)
{
    Start();
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM) "a\r\nbb\r\nccc\r\n\tdd");
    const struct {
        const char* field;
        DWORD caret;
        unsigned int line;
    } rows[] = {
        {"3", 7, 2}, {" 2 , 2 ", 4, 1}, {"4,9", 15, 3}, {"99999999999999", 12, 3}, {"0", 0, 0}, {"2,0", 3, 1},
    };
    for (const auto& row : rows) {
        WithDialog(IDM_GOTO, Typed(row.field));
        EXPECT_EQ(row.caret, Caret()) << row.field;
        EXPECT_EQ(row.line, LineShown()) << row.field;
    }
    for (const char* none : {"", "x", "3;", "-1", "2,"}) {
        WithDialog(IDM_GOTO, Typed(none, true));
        EXPECT_EQ(3u, Caret()) << none;  // Cancel after it: where it was
    }
}

TEST_F(GoTo, TheCommandLinePutsTheCaretOnceTheFileIsLoaded)
{
    std::string path = TempDir() + "at.c";
    WriteFileBytes(path, "one\r\ntwo\r\nthree\r\n");
    Start("/g 3,2 \"" + path + "\"");
    EXPECT_EQ(path, Name());
    EXPECT_EQ(11u, Caret());
    EXPECT_EQ(2u, LineShown());
}

class Messages : public GoTo {
protected:
    void SetUp() override
    {
        GoTo::SetUp();
        folder = TempDir();
        WriteFileBytes(folder + "a.c", "int a;\r\nint b;\r\n\tint c;\r\n");
        WriteFileBytes(folder + "b c.h", "x\r\ny\r\n");
        WriteFileBytes(folder + "buildres.ult",
                       "a.c\r\na.c:3:3: error: 'c' undeclared\r\nIn file included from a.c:1:\r\n"
                       "1>b c.h(2,1): warning C4013: y\r\nmissing.c:1:1: error: gone\r\n");
        SetCurrentDirectoryA(folder.c_str());
    }
    std::string folder;
};

TEST_F(Messages, NextAndPreviousWalkTheResultsAcrossFiles)
{
    Start("\"" + folder + "a.c\"");
    Key(VK_F12);
    EXPECT_EQ(folder + "a.c", Name());
    EXPECT_EQ(18u, Caret());  // line 3, column 3
    Key(VK_F12);
    EXPECT_EQ(0u, Caret());
    Key(VK_F12);
    EXPECT_EQ(folder + "b c.h", Name());
    EXPECT_EQ(3u, Caret());
    script.boxAnswers = {IDOK};
    Key(VK_F12);  // its file is not there: said, and nothing changes
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ(folder + "missing.c could not be found: the compiler's message names a file that is not there.",
              script.boxes[0].text);
    EXPECT_EQ(folder + "b c.h", Name());
    EXPECT_EQ(3u, Caret());
    Key(VK_F12);  // past the last: nothing moves
    EXPECT_EQ(3u, Caret());
    Key(VK_F12, false, false, true);  // Shift+F12
    Key(VK_F12, false, false, true);
    Key(VK_F12, false, false, true);
    EXPECT_EQ(folder + "a.c", Name());
    EXPECT_EQ(18u, Caret());
    Key(VK_F12, false, false, true);  // before the first: nothing moves
    EXPECT_EQ(18u, Caret());

    // A changed file starts again at its first message; an unsaved change
    // is asked about before another file is loaded.
    WriteFileBytes(folder + "buildres.ult", "b c.h:1: note\r\n");
    Type("z");
    script.boxAnswers = {IDNO};
    Key(VK_F12);
    EXPECT_EQ(folder + "b c.h", Name());
    EXPECT_EQ(0u, Caret());
}

TEST_F(Messages, ADoubleClickOnAMessageStartsAnEditorThereAndElsewhereSelectsAWord)
{
    Start("buildres.ult");
    auto doubleClickOnLine = [&](int line) {
        DWORD at = (DWORD)SendMessageA(Penrik.hwndEdit, EM_LINEINDEX, line, 0) + 1;
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, at, at);
        SendMessageA(Penrik.hwndEdit, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    };
    doubleClickOnLine(1);
    ASSERT_EQ(1u, script.shell.size());
    EXPECT_EQ("/g 3,3 \"" + folder + "a.c\"", script.shell[0].parameters);
    doubleClickOnLine(3);
    ASSERT_EQ(2u, script.shell.size());
    EXPECT_EQ("/g 2,1 \"" + folder + "b c.h\"", script.shell[1].parameters);

    script.boxAnswers = {IDOK};
    doubleClickOnLine(4);
    EXPECT_EQ(1u, script.boxes.size());
    doubleClickOnLine(0);  // "a.c": no message, and the control selects the word clicked
    EXPECT_EQ(2u, script.shell.size());
    DWORD start = 0, end = 0;
    SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_LT(start, end);
}

}  // namespace
