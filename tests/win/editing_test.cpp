// The Edit commands, the right-button shortcut, the line indicator and
// the indentation of new lines, through real keys into the real control.
#include "harness.h"

#include <utility>

namespace {

class Editing : public PenrikTest {
protected:
    void SetText(const std::string& text)
    {
        SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    }
    void Select(DWORD start, DWORD end) { SendMessageA(Penrik.hwndEdit, EM_SETSEL, start, end); }
    void CaretAtEnd()
    {
        DWORD length = (DWORD)GetWindowTextLengthA(Penrik.hwndEdit);
        Select(length, length);
    }
    std::pair<DWORD, DWORD> Selection()
    {
        DWORD start = 0, end = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        return {start, end};
    }
    // What the main window is told while the mouse is over the text.
    void MouseOverText(UINT mouseMessage)
    {
        SendMessageA(Penrik.hwndMain, WM_SETCURSOR, (WPARAM)Penrik.hwndEdit, MAKELPARAM(HTCLIENT, mouseMessage));
    }
    // Brings the indicator to the caret's line, as a mouse movement does.
    void Hover() { MouseOverText(WM_MOUSEMOVE); }

    std::string Clipboard()
    {
        std::string text = "<none>";
        if (!OpenClipboard(Penrik.hwndMain))
            return "<closed>";
        HANDLE data = GetClipboardData(CF_TEXT);
        if (data != NULL) {
            text = (const char*)GlobalLock(data);
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }

    // Sets `line` as the whole text, the caret at its end and the
    // indicator on its last line, then presses Enter.
    std::string EnterAfter(const std::string& line)
    {
        SetText(line);
        CaretAtEnd();
        Hover();
        Key(VK_RETURN);
        return EditText();
    }
};

TEST_F(Editing, EnterIndentsByTheLineAbove)
{
    Start();
    ASSERT_EQ(Penrik.hwndEdit, GetFocus());
    struct Row {
        const char* line;
        const char* tabs;
    } rows[] = {
        {"int x;", ""},
        {"word", ""},
        {"\tx = 1;", "\t"},
        {"\t\tx = 1;", "\t\t"},
        {"\tif (x)", "\t\t"},
        {"\t\tcall(", "\t\t\t"},
        {"label:", "\t"},
        {"\twhile (1) {", "\t\t"},
        {"\t\t}", "\t"},
        {"}", ""},
        {"\t\t\t", "\t\t\t"},
        {"    if (x) {", "\t"},
        {"  \tx;", ""},
        {"\tif (x) { ", "\t"},
        {"\t\t} x", "\t\t"},
    };
    for (const Row& row : rows) {
        std::string line = row.line;
        std::string expected = line + "\r\n" + row.tabs;
        EXPECT_EQ(expected, EnterAfter(line)) << '"' << row.line << '"';
        EXPECT_EQ(std::make_pair((DWORD)expected.size(), (DWORD)expected.size()), Selection())
            << '"' << row.line << '"';
        EXPECT_EQ(1u, LineShown()) << '"' << row.line << '"';
    }
}

TEST_F(Editing, TypedLinesIndentAsTheyGo)
{
    Start();
    Type("int main(void)\n{\nreturn 0;\n}\nx");
    EXPECT_EQ("int main(void)\r\n\t{\r\n\t\treturn 0;\r\n\t\t}\r\n\tx", EditText());
    EXPECT_EQ(4u, LineShown());
    EXPECT_EQ(1, Modified());
}

TEST_F(Editing, EnterInsideALineInsertsNothing)
{
    Start();
    SetText("\t\tif (a) {b}");
    Select(10, 10);  // just after the "{"
    Key(VK_RETURN);
    EXPECT_EQ("\t\tif (a) {\r\nb}", EditText());
    EXPECT_EQ(1u, LineShown());
}

TEST_F(Editing, NoIndentWhenTheCaretStaysOnTheShownLine)
{
    Start();
    SetText("\t{\r\n");
    CaretAtEnd();
    Hover();
    ASSERT_EQ(1u, LineShown());
    // Back to the end of the line above with the keyboard, which leaves
    // the indicator where it was, then Enter: the new empty line is line
    // 1 again, so it gets nothing.
    Key(VK_UP);
    Key(VK_END);
    EXPECT_EQ(1u, LineShown());
    Key(VK_RETURN);
    EXPECT_EQ("\t{\r\n\r\n", EditText());
    EXPECT_EQ(1u, LineShown());
}

TEST_F(Editing, LongPreviousLinesAreReadWhole)
{
    Start();
    // Longer than the shared 128-byte buffer: its true end decides.
    std::string line = "\t\t" + std::string(300, 'x') + "(";
    EXPECT_EQ(line + "\r\n\t\t\t", EnterAfter(line));
    // 127 tabs and a brace ask for 128 tabs.
    line = std::string(127, '\t') + "{";
    EXPECT_EQ(line + "\r\n" + std::string(128, '\t'), EnterAfter(line));
    // Longer than the 16-bit capacity of a line read.
    line = "\t" + std::string(70000, 'y') + ":";
    EXPECT_EQ(line + "\r\n\t\t", EnterAfter(line));
}

TEST_F(Editing, NoRoomForALongLineMeansNoIndentNotACrash)
{
    Start();
    std::string line = "\t" + std::string(200, 'x') + "{";
    SetText(line);
    CaretAtEnd();
    Hover();
    script.failAllocAfter = 0;
    Key(VK_RETURN);
    EXPECT_EQ(line + "\r\n", EditText());
    EXPECT_EQ(1u, LineShown());
}

TEST_F(Editing, SeventyThousandLinesIndentFromTheRightLine)
{
    Start();
    // Line 69999 asks for three tabs; line 69999 - 65536 has none and
    // is followed by a non-empty line, so a 16-bit index would insert
    // nothing.
    std::string text;
    text.reserve(70000 * 3 + 8);
    for (int i = 0; i < 69999; ++i)
        text += i == 4463 ? "b\r\n" : "a\r\n";
    text += "\t\t{";
    SetText(text);
    ASSERT_EQ(70000, (int)SendMessageA(Penrik.hwndEdit, EM_GETLINECOUNT, 0, 0));
    CaretAtEnd();
    Key(VK_RETURN);
    EXPECT_EQ(70000u, LineShown());
    std::string after = EditText();
    ASSERT_EQ(text.size() + 5, after.size());
    EXPECT_EQ("{\r\n\t\t\t", after.substr(text.size() - 1));
}

TEST_F(Editing, RightButtonCutSkipsTheNextIndentOnly)
{
    Start();
    SetText("\tab {");
    Select(1, 3);
    MouseOverText(WM_RBUTTONUP);
    EXPECT_EQ("\t {", EditText());
    EXPECT_EQ("ab", Clipboard());
    EXPECT_EQ(std::make_pair(1ul, 1ul), Selection());
    EXPECT_EQ(1, SkipIndent());

    // The first Enter that opens a line gets nothing ...
    Key(VK_END);
    Key(VK_RETURN);
    EXPECT_EQ("\t {\r\n", EditText());
    EXPECT_EQ(0, SkipIndent());
    // ... the same Enter again does.
    Key(VK_BACK);
    EXPECT_EQ("\t {", EditText());
    Key(VK_RETURN);
    EXPECT_EQ("\t {\r\n\t\t", EditText());
}

TEST_F(Editing, CutFromTheMenuDoesNotSkipTheIndent)
{
    Start();
    SetText("\tab {");
    Select(1, 3);
    Command(IDM_CUT);
    EXPECT_EQ(0, SkipIndent());
    Key(VK_END);
    Key(VK_RETURN);
    EXPECT_EQ("\t {\r\n\t\t", EditText());
}

TEST_F(Editing, RightButtonWithoutSelectionPastes)
{
    Start();
    SetClipboard("zz");
    SetText("ab");
    Select(1, 1);
    MouseOverText(WM_RBUTTONUP);
    EXPECT_EQ("azzb", EditText());
    EXPECT_EQ(1, Modified());
    EXPECT_EQ(0, SkipIndent());

    // A paste that opens a line is indented by its own notification;
    // then the indicator goes back to the line the paste began on.
    SetClipboard("\r\n");
    SetText("\t{");
    Select(2, 2);
    MouseOverText(WM_RBUTTONUP);
    EXPECT_EQ("\t{\r\n\t\t", EditText());
    EXPECT_EQ(0u, LineShown());
}

TEST_F(Editing, OtherMouseMessagesOnlyMoveTheIndicator)
{
    Start();
    SetClipboard("zz");
    SetText("one\r\ntwo\r\nthree");
    Select(5, 7);
    for (UINT message : {(UINT)WM_MOUSEMOVE, (UINT)WM_LBUTTONUP, (UINT)WM_RBUTTONDOWN}) {
        MouseOverText(message);
        EXPECT_EQ("one\r\ntwo\r\nthree", EditText()) << message;
        EXPECT_EQ(std::make_pair(5ul, 7ul), Selection()) << message;
        EXPECT_EQ(1u, LineShown()) << message;
    }
    EXPECT_EQ(0, Modified());

    // The cursor message for any other window is not ours.
    Select(12, 12);
    SendMessageA(Penrik.hwndMain, WM_SETCURSOR, (WPARAM)Penrik.hwndMain, MAKELPARAM(HTCLIENT, WM_RBUTTONUP));
    SendMessageA(Penrik.hwndMain, WM_SETCURSOR, (WPARAM)GetDlgItem(Penrik.hwndMain, IDM_CUT),
                 MAKELPARAM(HTCLIENT, WM_RBUTTONUP));
    EXPECT_EQ(1u, LineShown());
    EXPECT_EQ("one\r\ntwo\r\nthree", EditText());
}

TEST_F(Editing, RightButtonShortcutIsOffOnVersionFour)
{
    script.version = 0x0004;
    Start();
    ASSERT_EQ(1, Penrik.platformV4);
    SetClipboard("zz");
    SetText("one\r\ntwo");
    Select(5, 8);
    MouseOverText(WM_RBUTTONUP);
    EXPECT_EQ("one\r\ntwo", EditText());
    EXPECT_EQ(std::make_pair(5ul, 8ul), Selection());
    EXPECT_EQ(1u, LineShown());  // the indicator still follows
    EXPECT_EQ(0, SkipIndent());
    Select(0, 0);
    MouseOverText(WM_RBUTTONUP);
    EXPECT_EQ("one\r\ntwo", EditText());
    EXPECT_EQ(0u, LineShown());
    EXPECT_EQ(0, Modified());
}

TEST_F(Editing, CommandsAndTheFocus)
{
    Start();
    HWND button = GetDlgItem(Penrik.hwndMain, IDM_EXIT);
    auto focusElsewhere = [&] {
        SetFocus(button);
        ASSERT_EQ(button, GetFocus());
    };

    SetText("one\r\ntwo\r\nthree");
    Select(7, 8);
    Hover();
    ASSERT_EQ(1u, LineShown());

    focusElsewhere();
    Command(IDM_SELECTALL);
    EXPECT_EQ(std::make_pair(0ul, 15ul), Selection());
    EXPECT_EQ(button, GetFocus());

    focusElsewhere();
    Command(IDM_CLEAR);
    EXPECT_EQ("", EditText());
    EXPECT_EQ(button, GetFocus());
    EXPECT_EQ(0u, LineShown());  // the indicator comes back to line 1
    EXPECT_EQ(1, Modified());

    SetText("alpha beta");
    Select(6, 10);
    focusElsewhere();
    Command(IDM_COPY);
    EXPECT_EQ("beta", Clipboard());
    EXPECT_EQ(std::make_pair(6ul, 6ul), Selection());
    EXPECT_EQ(Penrik.hwndEdit, GetFocus());

    Select(0, 6);
    focusElsewhere();
    Command(IDM_CUT);
    EXPECT_EQ("beta", EditText());
    EXPECT_EQ("alpha ", Clipboard());
    EXPECT_EQ(std::make_pair(0ul, 0ul), Selection());
    EXPECT_EQ(Penrik.hwndEdit, GetFocus());

    CaretAtEnd();
    focusElsewhere();
    Command(IDM_PASTE);
    EXPECT_EQ("betaalpha ", EditText());
    EXPECT_EQ(Penrik.hwndEdit, GetFocus());

    focusElsewhere();
    Command(IDM_UNDO);
    EXPECT_EQ("beta", EditText());
    EXPECT_EQ(Penrik.hwndEdit, GetFocus());
}

// Runs each change notification with Modified cleared, to see that the
// handler itself sets it every time.
WNDPROC realMainProc;
struct Change {
    int depth;
    int modifiedOnEntry;  // as the enclosing notification left it
    int modifiedAfter;
};
std::vector<Change> changes;
int changeDepth;

LRESULT CALLBACK RecordChanges(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_EDIT && HIWORD(wParam) == EN_CHANGE) {
        Change change = {changeDepth, Modified(), 0};
        SetModified(0);
        ++changeDepth;
        LRESULT result = CallWindowProcA(realMainProc, hwnd, msg, wParam, lParam);
        --changeDepth;
        change.modifiedAfter = Modified();
        changes.push_back(change);
        return result;
    }
    return CallWindowProcA(realMainProc, hwnd, msg, wParam, lParam);
}

TEST_F(Editing, EveryChangeNotificationSetsModified)
{
    Start();
    changes.clear();
    changeDepth = 0;
    realMainProc = (WNDPROC)SetWindowLongPtrA(Penrik.hwndMain, GWLP_WNDPROC, (LONG_PTR)RecordChanges);

    SetText("\t{");
    CaretAtEnd();
    Key(VK_RETURN);
    ASSERT_EQ("\t{\r\n\t\t", EditText());
    // Enter's own notification, and inside it the insertion's.
    ASSERT_EQ(2u, changes.size());
    EXPECT_EQ(1, changes[0].depth);
    EXPECT_EQ(1, changes[0].modifiedOnEntry);
    EXPECT_EQ(1, changes[0].modifiedAfter);
    EXPECT_EQ(0, changes[1].depth);
    EXPECT_EQ(1, changes[1].modifiedAfter);

    changes.clear();
    Type("x");
    Command(IDM_UNDO);
    Command(IDM_SELECTALL);
    Command(IDM_CLEAR);
    ASSERT_GE(changes.size(), 3u);
    for (const Change& change : changes)
        EXPECT_EQ(1, change.modifiedAfter);

    SetWindowLongPtrA(Penrik.hwndMain, GWLP_WNDPROC, (LONG_PTR)realMainProc);
}

TEST_F(Editing, IndicatorFollowsEditsAndTheMouseButNotTheKeyboard)
{
    Start();
    SetText("a\r\nb\r\nc\r\nd");
    EXPECT_EQ(0u, LineShown());  // a load does not move it
    Select(9, 9);
    Hover();
    EXPECT_EQ(3u, LineShown());
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(3u, LineShown());
    Type("z");
    EXPECT_EQ(1u, LineShown());
    Key(VK_DOWN);
    Hover();
    EXPECT_EQ(2u, LineShown());
}

TEST_F(Editing, WrappedLinesCountAsTheyAreShown)
{
    WriteSettings("[Penrik]\r\nWordWrap=1\r\n");
    Start();
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    SetText(words);
    ASSERT_GT(SendMessageA(Penrik.hwndEdit, EM_GETLINECOUNT, 0, 0), 1);
    CaretAtEnd();
    Hover();
    EXPECT_EQ((unsigned)SendMessageA(Penrik.hwndEdit, EM_GETLINECOUNT, 0, 0) - 1, LineShown());
}

TEST_F(Editing, OutOfMemoryIsReported)
{
    Start();
    SetText("kept");
    script.boxAnswers = {IDOK};
    SendMessageA(Penrik.hwndMain, WM_COMMAND, MAKEWPARAM(IDC_EDIT, EN_ERRSPACE), (LPARAM)Penrik.hwndEdit);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Out of memory.", script.boxes[0].text);
    EXPECT_EQ("Penrik", script.boxes[0].caption);
    EXPECT_EQ((UINT)MB_ICONHAND, script.boxes[0].type);
    EXPECT_EQ("kept", EditText());

    // Other notifications are left alone.
    SendMessageA(Penrik.hwndMain, WM_COMMAND, MAKEWPARAM(IDC_EDIT, EN_MAXTEXT), (LPARAM)Penrik.hwndEdit);
    SendMessageA(Penrik.hwndMain, WM_COMMAND, MAKEWPARAM(IDC_EDIT, EN_UPDATE), (LPARAM)Penrik.hwndEdit);
    EXPECT_EQ(1u, script.boxes.size());
    EXPECT_EQ(0, Modified());
}

}  // namespace
