// The Search menu, driven through the real Find dialog.
#include "harness.h"

#include <functional>

namespace {

using Range = std::pair<DWORD, DWORD>;
using DialogStep = std::function<void(HWND)>;

// What to do in each Find dialog, in the order they open. A thread timer
// runs inside the dialog's own message loop and takes the next step once
// it sees a new dialog.
std::deque<DialogStep> dialogSteps;
int stuckTicks;

BOOL CALLBACK TakeDialog(HWND hwnd, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0)
        return TRUE;
    *(HWND*)found = hwnd;
    return FALSE;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = NULL;
    EnumThreadWindows(GetCurrentThreadId(), TakeDialog, (LPARAM)&dialog);
    if (dialog == NULL)
        return;
    if (GetPropA(dialog, "driven") != NULL) {
        if (++stuckTicks == 300) {
            ADD_FAILURE() << "the Find dialog stayed open";
            EndDialog(dialog, 0);
        }
        return;
    }
    SetPropA(dialog, "driven", (HANDLE)1);
    stuckTicks = 0;
    if (dialogSteps.empty()) {
        ADD_FAILURE() << "unexpected dialog";
        EndDialog(dialog, 0);
        return;
    }
    DialogStep step = dialogSteps.front();
    dialogSteps.pop_front();
    step(dialog);
}

// Types into the fields (null leaves one alone), clicks the check box
// when asked, then clicks `button`.
DialogStep Enter(const char* find, const char* replacement = NULL, int button = IDOK,
                 bool clickCase = false)
{
    return [=](HWND dialog) {
        if (find != NULL)
            SetDlgItemTextA(dialog, IDC_FINDTEXT, find);
        if (replacement != NULL)
            SetDlgItemTextA(dialog, IDC_REPLTEXT, replacement);
        if (clickCase)
            SendDlgItemMessageA(dialog, IDC_CASE, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, button, BM_CLICK, 0, 0);
    };
}

void PostKey(HWND hwnd, UINT vk)
{
    PostMessageA(hwnd, WM_KEYDOWN, vk, 1 | ((LPARAM)MapVirtualKeyA(vk, 0) << 16));
}

std::string FieldText(HWND dialog, int id)
{
    char text[200] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Commands that arrive through the accelerator table.
WNDPROC mainProc;
std::vector<int> keyCommands;

LRESULT CALLBACK RecordKeyCommands(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == 1)
        keyCommands.push_back(LOWORD(wParam));
    return CallWindowProcA(mainProc, hwnd, msg, wParam, lParam);
}

class Search : public PenrikTest {
protected:
    void SetUp() override
    {
        PenrikTest::SetUp();
        dialogSteps.clear();
        stuckTicks = 0;
        timer = SetTimer(NULL, 0, 10, DriveDialog);
    }
    void TearDown() override
    {
        KillTimer(NULL, timer);
        EXPECT_TRUE(dialogSteps.empty()) << "a dialog step never ran";
        PenrikTest::TearDown();
    }

    void WithDialog(int command, DialogStep step)
    {
        dialogSteps.push_back(step);
        Command(command);
    }
    void SetText(const char* text, DWORD start, DWORD end)
    {
        SendMessageA(hwndEdit, WM_SETTEXT, 0, (LPARAM)text);
        SendMessageA(hwndEdit, EM_SETSEL, start, end);
    }
    Range Selection()
    {
        DWORD start = 0, end = 0;
        SendMessageA(hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        return Range(start, end);
    }
    // The next search is to end with "Done".
    void AnswerDone() { script.boxAnswers.push_back(IDOK); }
    // Exactly one "Done" box came, and left the caret at the start.
    void ExpectDone(const char* when)
    {
        ASSERT_EQ(1u, script.boxes.size()) << when;
        EXPECT_EQ("Done", script.boxes[0].text);
        EXPECT_EQ("Find String", script.boxes[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONINFORMATION), script.boxes[0].type);
        EXPECT_EQ(Range(0, 0), Selection()) << when;
        EXPECT_EQ(hwndEdit, GetFocus()) << when;
        script.boxes.clear();
    }

    UINT_PTR timer = 0;
};

TEST_F(Search, FindBoxTemplateIsAsDesigned)
{
    HRSRC resource = FindResourceA(GetModuleHandleA(NULL), "FindBox", (LPCSTR)RT_DIALOG);
    ASSERT_NE((HRSRC)NULL, resource);
    const WORD* p = (const WORD*)LockResource(LoadResource(GetModuleHandleA(NULL), resource));
    auto dword = [&] { DWORD v = p[0] | ((DWORD)p[1] << 16); p += 2; return v; };
    auto text = [&] {  // a string or an ordinal
        std::string s;
        if (*p == 0xFFFF) {
            s = "#" + std::to_string(p[1]);
            p += 2;
            return s;
        }
        while (*p != 0)
            s += (char)*p++;
        ++p;
        return s;
    };
    EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), dword());
    EXPECT_EQ(0u, dword());
    WORD count = *p++;
    EXPECT_EQ((std::vector<short>{20, 20, 200, 100}), std::vector<short>(p, p + 4));
    p += 4;
    EXPECT_EQ("", text());  // no menu
    EXPECT_EQ("", text());  // the dialog class
    EXPECT_EQ("Find", text());
    EXPECT_EQ(8, *p++);
    EXPECT_EQ("MS Sans Serif", text());

    const DWORD base = WS_CHILD | WS_VISIBLE;
    const DWORD field = base | WS_BORDER | WS_TABSTOP | ES_LEFT;
    const struct { int id; const char* cls; const char* text; DWORD style; short x, y, w, h; } items[] = {
        {100, "STATIC", "&Find:", base | SS_LEFT, 30, 12, 31, 10},
        {IDC_FINDTEXT, "EDIT", "", field, 60, 10, 114, 12},
        {200, "STATIC", "&Repl:", base | SS_LEFT, 30, 32, 32, 10},
        {IDC_REPLTEXT, "EDIT", "", field, 60, 30, 114, 12},
        {IDC_CASE, "BUTTON", "&Case Sensitive", base | WS_TABSTOP | BS_CHECKBOX, 30, 50, 137, 12},
        {IDOK, "BUTTON", "&Next", base | WS_TABSTOP | BS_DEFPUSHBUTTON, 29, 68, 45, 14},
        {IDC_PREVIOUS, "BUTTON", "&Previous", base | WS_TABSTOP | BS_PUSHBUTTON, 80, 68, 45, 14},
        {IDCANCEL, "BUTTON", "C&ancel", base | WS_TABSTOP | BS_PUSHBUTTON, 130, 68, 45, 14},
    };
    ASSERT_EQ(8, count);
    for (const auto& item : items) {
        if ((UINT_PTR)p % 4)
            ++p;
        EXPECT_EQ(item.style, dword()) << item.id;
        dword();
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.w, item.h}), std::vector<short>(p, p + 4));
        p += 4;
        EXPECT_EQ(item.id, *p++);
        EXPECT_EQ(item.cls, text()) << item.id;
        EXPECT_EQ(item.text, text()) << item.id;
        p += 1 + (*p + 1) / 2;
    }
}

TEST_F(Search, FindOpensTheCommandsAndTheirKeysForGood)
{
    Start();
    mainProc = (WNDPROC)SetWindowLongPtrA(hwndMain, GWLP_WNDPROC, (LONG_PTR)RecordKeyCommands);
    keyCommands.clear();
    SetText("abcabc", 0, 3);
    const struct { UINT vk; bool ctrl, alt; } keys[] = {
        {VK_F3, false, false}, {'N', true, false}, {VK_F4, false, false},
        {'N', false, true},    {VK_F5, false, false}, {'R', true, false},
    };
    for (const auto& key : keys)
        Key(key.vk, key.ctrl, key.alt);
    EXPECT_TRUE(keyCommands.empty());
    EXPECT_EQ("abcabc", EditText());

    // The first Find: Next and Previous wait for a find text. The close
    // box cancels, yet the commands stay available.
    WithDialog(IDM_FIND, [](HWND dialog) {
        HWND next = GetDlgItem(dialog, IDOK), previous = GetDlgItem(dialog, IDC_PREVIOUS);
        EXPECT_FALSE(IsWindowEnabled(next));
        EXPECT_FALSE(IsWindowEnabled(previous));
        for (int id : {100, IDC_FINDTEXT, 200, IDC_REPLTEXT, IDC_CASE, IDOK, IDC_PREVIOUS, IDCANCEL})
            EXPECT_EQ(hToolbarFont, (HFONT)SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0)) << id;
        SetDlgItemTextA(dialog, IDC_FINDTEXT, "a");
        EXPECT_TRUE(IsWindowEnabled(next));
        EXPECT_TRUE(IsWindowEnabled(previous));
        SetDlgItemTextA(dialog, IDC_FINDTEXT, "");
        EXPECT_FALSE(IsWindowEnabled(next));
        EXPECT_FALSE(IsWindowEnabled(previous));
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    for (int id : {IDM_FINDNEXT, IDM_FINDPREV, IDM_REPLACE}) {
        EXPECT_FALSE(MenuGrayed(id)) << id;
        EXPECT_TRUE(ButtonEnabled(id)) << id;
    }
    for (const auto& key : keys)
        Key(key.vk, key.ctrl, key.alt);
    EXPECT_EQ((std::vector<int>{IDM_FINDNEXT, IDM_FINDNEXT, IDM_FINDPREV, IDM_FINDPREV, IDM_REPLACE,
                                IDM_REPLACE}),
              keyCommands);
    EXPECT_EQ("abc", EditText()) << "Replace put the empty replacement over the selection";
    EXPECT_TRUE(script.boxes.empty()) << "an empty find text searches nothing";
}

TEST_F(Search, ForwardFromOnePastTheSelectionStart)
{
    Start();
    SetText("abcabc", 0, 0);
    WithDialog(IDM_FIND, Enter("abc"));
    EXPECT_EQ(Range(3, 6), Selection());
    EXPECT_TRUE(script.boxes.empty());
    AnswerDone();
    Key(VK_F3);
    ExpectDone("nothing after 3");

    SetText("aaaa", 0, 0);
    WithDialog(IDM_FIND, Enter("aa"));
    EXPECT_EQ(Range(1, 3), Selection());
    Key('N', true);
    EXPECT_EQ(Range(2, 4), Selection());
    AnswerDone();
    Command(IDM_FINDNEXT);
    ExpectDone("aaaa");

    // Three characters after the caret, four searched for.
    SetText("zabc", 0, 0);
    AnswerDone();
    WithDialog(IDM_FIND, Enter("abcd"));
    ExpectDone("too long");
}

TEST_F(Search, BackwardAndTheEndOfTheText)
{
    Start();
    SetText("abcabc", 3, 6);
    WithDialog(IDM_FIND, Enter("abc", NULL, IDC_PREVIOUS));
    EXPECT_EQ(Range(0, 3), Selection());
    AnswerDone();
    Key(VK_F4);
    ExpectDone("nothing before 0");

    // At the very end the search ends before it copies the text.
    SendMessageA(hwndEdit, EM_SETSEL, 6, 6);
    ASSERT_NE((HLOCAL)NULL, TextBlock);
    AnswerDone();
    Key('N', false, true);
    ExpectDone("at the end");
    EXPECT_EQ((HLOCAL)NULL, TextBlock);
}

TEST_F(Search, CaseOptionAndTheLoweredFindText)
{
    Start();
    std::vector<std::string> shown;
    auto look = [&](HWND dialog) {
        shown.push_back(FieldText(dialog, IDC_FINDTEXT) +
                        (IsDlgButtonChecked(dialog, IDC_CASE) ? " checked" : ""));
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
    };

    SetText("xABC", 0, 0);
    WithDialog(IDM_FIND, Enter("abc"));
    EXPECT_EQ(Range(1, 4), Selection());

    SetText("xabc", 0, 0);
    WithDialog(IDM_FIND, Enter("ABC"));
    EXPECT_EQ(Range(1, 4), Selection());
    WithDialog(IDM_FIND, look);

    // The plain check box is toggled by the dialog, once per click.
    SetText("xabc", 0, 0);
    AnswerDone();
    WithDialog(IDM_FIND, Enter("ABC", NULL, IDOK, true));
    ExpectDone("case sensitive");
    WithDialog(IDM_FIND, look);

    // Nothing compared at the end of the text, so nothing lowered.
    SendMessageA(hwndEdit, EM_SETSEL, 4, 4);
    AnswerDone();
    WithDialog(IDM_FIND, Enter(NULL, NULL, IDOK, true));
    script.boxes.clear();
    WithDialog(IDM_FIND, look);
    EXPECT_EQ((std::vector<std::string>{"abc", "ABC checked", "ABC"}), shown);
}

TEST_F(Search, EnterPressesNextWhileEscapeAndTheCloseBoxStoreNothing)
{
    Start();
    SetText("abcabc", 0, 0);
    WithDialog(IDM_FIND, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FINDTEXT, "ABC");
        SetDlgItemTextA(dialog, IDC_REPLTEXT, "r");
        PostKey(GetDlgItem(dialog, IDC_FINDTEXT), VK_RETURN);
    });
    EXPECT_EQ(Range(3, 6), Selection());

    auto editThen = [](std::function<void(HWND)> close) {
        return [close](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_FINDTEXT, "zzz");
            SetDlgItemTextA(dialog, IDC_REPLTEXT, "q");
            SendDlgItemMessageA(dialog, IDC_CASE, BM_CLICK, 0, 0);
            close(dialog);
        };
    };
    WithDialog(IDM_FIND, editThen([](HWND d) { PostKey(GetDlgItem(d, IDC_FINDTEXT), VK_ESCAPE); }));
    WithDialog(IDM_FIND, editThen([](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    EXPECT_EQ(Range(3, 6), Selection());
    std::string shown;
    WithDialog(IDM_FIND, [&](HWND dialog) {
        shown = FieldText(dialog, IDC_FINDTEXT) + "/" + FieldText(dialog, IDC_REPLTEXT) +
                (IsDlgButtonChecked(dialog, IDC_CASE) ? " checked" : "");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ("abc/r", shown);
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(Search, ReplaceTakesWhateverIsSelected)
{
    Start();
    SetText("abc", 0, 0);
    AnswerDone();
    WithDialog(IDM_FIND, Enter("q", "XY"));
    script.boxes.clear();
    Modified = 0;
    SendMessageA(hwndEdit, EM_SETSEL, 1, 1);
    Command(IDM_REPLACE);
    EXPECT_EQ("aXYbc", EditText());
    EXPECT_EQ(Range(3, 3), Selection());
    EXPECT_EQ(1, Modified);
    SendMessageA(hwndEdit, EM_SETSEL, 0, 1);
    Key('R', true);
    EXPECT_EQ("XYXYbc", EditText());
    EXPECT_FALSE(SendMessageA(hwndEdit, EM_CANUNDO, 0, 0));
}

TEST_F(Search, ReplaceAllSkipsPositionZeroAndAMatchRightAfterAReplacement)
{
    Start();
    const struct { const char* text; const char* replacement; const char* result; } cases[] = {
        {"a-a-a", "bb", "a-bb-bb"},
        {"aaaa", "b", "abab"},
        {"aaaa", "", "aa"},
    };
    for (const auto& c : cases) {
        SetText(c.text, 2, 3);
        AnswerDone();
        WithDialog(IDM_REPLACEALL, Enter("a", c.replacement));
        EXPECT_EQ(c.result, EditText());
        ExpectDone(c.text);
    }
    WithDialog(IDM_REPLACEALL, Enter("-", "+", IDCANCEL));
    EXPECT_EQ("aa", EditText());
    SetText("a-a-a", 3, 3);
    WithDialog(IDM_REPLACEALL, Enter("-", "+", IDCANCEL));
    EXPECT_EQ("a-a-a", EditText());
    EXPECT_EQ(Range(0, 0), Selection());
    EXPECT_TRUE(script.boxes.empty());
}

TEST_F(Search, AWorkingCopyThatCannotBeMadeEndsTheSearch)
{
    Start();
    SetText("a-a-a", 0, 0);
    WithDialog(IDM_FIND, Enter("a", "bb"));
    EXPECT_EQ(Range(2, 3), Selection());
    script.failAllocAfter = 0;
    script.boxAnswers.push_back(IDOK);
    Key(VK_F3);
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Out of memory.", script.boxes[0].text);
    EXPECT_EQ(Range(2, 3), Selection());
    EXPECT_EQ((HLOCAL)NULL, TextBlock);

    // Replace All: the dialog's search works, the one after the first
    // replacement does not; the loop stops there.
    script.boxes.clear();
    script.failAllocAfter = 1;
    script.boxAnswers.push_back(IDOK);
    WithDialog(IDM_REPLACEALL, Enter(NULL, NULL));
    EXPECT_EQ("a-bb-a", EditText());
    ASSERT_EQ(1u, script.boxes.size());
    EXPECT_EQ("Out of memory.", script.boxes[0].text);
}

}  // namespace
