// The Search menu, driven through the real Find dialog.
#include "harness.h"
#include "findbox.h"

#include <functional>

namespace {

using Range = std::pair<DWORD, DWORD>;

// What the dialog shows when it opens: "find/replacement", " checked".
DialogStep Look(std::string* shown)
{
    return [shown](HWND dialog) {
        char find[200] = "", replacement[200] = "";
        GetDlgItemTextA(dialog, IDC_FINDTEXT, find, sizeof find);
        GetDlgItemTextA(dialog, IDC_REPLTEXT, replacement, sizeof replacement);
        *shown = std::string(find) + "/" + replacement +
                 (IsDlgButtonChecked(dialog, IDC_CASE) ? " checked" : "");
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
    };
}

void PostKey(HWND hwnd, UINT vk)
{
    PostMessageA(hwnd, WM_KEYDOWN, vk, 1 | ((LPARAM)MapVirtualKeyA(vk, 0) << 16));
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

class Search : public FindBoxTest {
protected:
    void SetUp() override
    {
        FindBoxTest::SetUp();
        Start();
    }
    void SetText(const char* text, DWORD start, DWORD end)
    {
        SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text);
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, start, end);
    }
    Range Selection()
    {
        DWORD start = 0, end = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        return Range(start, end);
    }
};

TEST_F(Search, FindOpensTheCommandsAndTheirKeysForGood)
{
    mainProc = (WNDPROC)SetWindowLongPtrA(Penrik.hwndMain, GWLP_WNDPROC, (LONG_PTR)RecordKeyCommands);
    keyCommands.clear();
    SetText("abcabc", 0, 3);
    auto pressKeys = [&] {
        for (UINT vk : {VK_F3, VK_F4, VK_F5})
            Key(vk);
        Key('N', true);
        Key('N', false, true);
        Key('R', true);
    };
    pressKeys();
    EXPECT_TRUE(keyCommands.empty());
    EXPECT_EQ("abcabc", EditText());

    // Next and Previous wait for a find text; the close box cancels, yet
    // the commands stay available.
    WithDialog(IDM_FIND, [](HWND dialog) {
        HWND next = GetDlgItem(dialog, IDOK), previous = GetDlgItem(dialog, IDC_PREVIOUS);
        EXPECT_FALSE(IsWindowEnabled(next) || IsWindowEnabled(previous));
        EXPECT_EQ(Penrik.hToolbarFont, (HFONT)SendDlgItemMessageA(dialog, IDC_CASE, WM_GETFONT, 0, 0));
        SetDlgItemTextA(dialog, IDC_FINDTEXT, "a");
        EXPECT_TRUE(IsWindowEnabled(next) && IsWindowEnabled(previous));
        SetDlgItemTextA(dialog, IDC_FINDTEXT, "");
        EXPECT_FALSE(IsWindowEnabled(next) || IsWindowEnabled(previous));
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    for (int id : {IDM_FINDNEXT, IDM_FINDPREV, IDM_REPLACE})
        EXPECT_TRUE(!MenuGrayed(id) && ButtonEnabled(id)) << id;
    pressKeys();
    EXPECT_EQ((std::vector<int>{IDM_FINDNEXT, IDM_FINDPREV, IDM_REPLACE, IDM_FINDNEXT, IDM_FINDPREV,
                                IDM_REPLACE}),
              keyCommands);
    EXPECT_EQ("abc", EditText()) << "the empty replacement went over the selection";
    EXPECT_EQ("", Boxes()) << "an empty find text searches nothing";
}

TEST_F(Search, CandidateOrderInBothDirections)
{
    // Text and selection (text null: as left), the dialog's find text
    // with its button, or a command; the selection after it, (0, 0) when
    // the search ended with "Done".
    const struct { const char* text; DWORD start, end; const char* find; int command; Range after; } steps[] = {
        {"abcabc", 0, 0, "abc", IDOK, {3, 6}},
        {NULL, 0, 0, NULL, IDM_FINDNEXT, {0, 0}},
        {"aaaa", 0, 0, "aa", IDOK, {1, 3}},
        {NULL, 0, 0, NULL, IDM_FINDNEXT, {2, 4}},
        {NULL, 0, 0, NULL, IDM_FINDNEXT, {0, 0}},
        {"abcabc", 3, 6, "abc", IDC_PREVIOUS, {0, 3}},
        {NULL, 0, 0, NULL, IDM_FINDPREV, {0, 0}},
        {"zabc", 0, 0, "abcd", IDOK, {0, 0}},  // three characters left, four wanted
        {"abcabc", 6, 6, "abc", IDC_PREVIOUS, {0, 0}},
    };
    for (const auto& step : steps) {
        if (step.text != NULL)
            SetText(step.text, step.start, step.end);
        bool done = step.after == Range(0, 0);
        if (done)
            script.boxAnswers.push_back(IDOK);
        if (step.find != NULL)
            WithDialog(IDM_FIND, Enter(step.find, NULL, step.command));
        else
            Command(step.command);
        SCOPED_TRACE(std::string(EditText()) + " " + std::to_string(step.command));
        EXPECT_EQ(step.after, Selection());
        EXPECT_EQ(done ? "Done;" : "", Boxes());
        EXPECT_TRUE(!done || GetFocus() == Penrik.hwndEdit);
    }
    // At the very end of the text the search ends before copying it.
}

TEST_F(Search, CaseOptionAndTheLoweredFindText)
{
    std::string shown[3];
    SetText("xABC", 0, 0);
    WithDialog(IDM_FIND, Enter("abc"));
    EXPECT_EQ(Range(1, 4), Selection());

    SetText("xabc", 0, 0);
    WithDialog(IDM_FIND, Enter("ABC"));
    EXPECT_EQ(Range(1, 4), Selection());
    WithDialog(IDM_FIND, Look(&shown[0]));

    // The plain check box is toggled by the dialog, once per click.
    SetText("xabc", 0, 0);
    script.boxAnswers.push_back(IDOK);
    WithDialog(IDM_FIND, Enter("ABC", NULL, IDOK, true));
    EXPECT_EQ("Done;", Boxes());
    WithDialog(IDM_FIND, Look(&shown[1]));

    // Nothing compared at the end of the text, so nothing lowered.
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, 4, 4);
    script.boxAnswers.push_back(IDOK);
    WithDialog(IDM_FIND, Enter(NULL, NULL, IDOK, true));
    WithDialog(IDM_FIND, Look(&shown[2]));
    EXPECT_EQ("abc/", shown[0]);
    EXPECT_EQ("ABC/ checked", shown[1]);
    EXPECT_EQ("ABC/", shown[2]);
}

TEST_F(Search, EnterPressesNextWhileEscapeAndTheCloseBoxStoreNothing)
{
    SetText("abcabc", 0, 0);
    WithDialog(IDM_FIND, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_FINDTEXT, "ABC");
        SetDlgItemTextA(dialog, IDC_REPLTEXT, "r");
        PostKey(GetDlgItem(dialog, IDC_FINDTEXT), VK_RETURN);
    });
    EXPECT_EQ(Range(3, 6), Selection());

    for (bool escape : {true, false})
        WithDialog(IDM_FIND, [escape](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_FINDTEXT, "zzz");
            SetDlgItemTextA(dialog, IDC_REPLTEXT, "q");
            SendDlgItemMessageA(dialog, IDC_CASE, BM_CLICK, 0, 0);
            if (escape)
                PostKey(GetDlgItem(dialog, IDC_FINDTEXT), VK_ESCAPE);
            else
                PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
    EXPECT_EQ(Range(3, 6), Selection());
    std::string shown;
    WithDialog(IDM_FIND, Look(&shown));
    EXPECT_EQ("abc/r", shown);
    EXPECT_EQ("", Boxes());
}

TEST_F(Search, ReplaceTakesWhateverIsSelected)
{
    SetText("abc", 0, 0);
    script.boxAnswers.push_back(IDOK);
    WithDialog(IDM_FIND, Enter("q", "XY"));
    EXPECT_EQ("Done;", Boxes());
    SetModified(0);
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, 1, 1);
    Command(IDM_REPLACE);
    EXPECT_EQ("aXYbc", EditText());
    EXPECT_EQ(Range(3, 3), Selection());
    EXPECT_EQ(1, Modified());
    SendMessageA(Penrik.hwndEdit, EM_SETSEL, 0, 1);
    Key('R', true);
    EXPECT_EQ("XYXYbc", EditText());
    Command(IDM_UNDO);
    EXPECT_EQ("aXYbc", EditText());
}

TEST_F(Search, ReplaceAllSkipsPositionZeroAndAMatchRightAfterAReplacement)
{
    const struct { const char* text; const char* replacement; const char* result; } cases[] = {
        {"a-a-a", "bb", "a-bb-bb"}, {"aaaa", "b", "abab"}, {"aaaa", "", "aa"},
    };
    for (const auto& c : cases) {
        SetText(c.text, 2, 3);
        script.boxAnswers.push_back(IDOK);
        WithDialog(IDM_REPLACEALL, Enter("a", c.replacement));
        EXPECT_EQ(c.result, EditText());
        EXPECT_EQ("Done;", Boxes()) << c.text;
        EXPECT_EQ(Range(0, 0), Selection());
    }
    SetText("a-a-a", 3, 3);
    WithDialog(IDM_REPLACEALL, Enter("-", "+", IDCANCEL));
    EXPECT_EQ("a-a-a", EditText());
    EXPECT_EQ(Range(0, 0), Selection());
    EXPECT_EQ("", Boxes());
}

TEST_F(Search, AWorkingCopyThatCannotBeMadeEndsTheSearch)
{
    SetText("a-a-a", 0, 0);
    WithDialog(IDM_FIND, Enter("a", "bb"));
    script.failAllocAfter = 0;
    script.boxAnswers.push_back(IDOK);
    Key(VK_F3);
    EXPECT_EQ("Out of memory.;", Boxes());
    EXPECT_EQ(Range(2, 3), Selection());

    // The dialog's search works, the one after the first replacement
    // does not: Replace All stops there.
    script.failAllocAfter = 1;
    script.boxAnswers.push_back(IDOK);
    WithDialog(IDM_REPLACEALL, Enter(NULL));
    EXPECT_EQ("a-bb-a", EditText());
    EXPECT_EQ("Out of memory.;", Boxes());
}

// Replace All computed at once must leave exactly what the control's own
// match-by-match loop leaves: text, selection, indicator line, the skip
// flag, Modified and the one "Done" box.
TEST_F(Search, ReplaceAllAtOnceMatchesTheLoop)
{
    struct Outcome {
        std::string text;
        Range selection;
        unsigned int line;
        int skip;
        int modified;
        std::string boxes;
        LRESULT firstVisible;
    };
    const char* pieces[] = {"a", "b", "A", "ab", "{", "}", " ", "\t", "x;", "aB{"};
    const char* finds[] = {"a", "ab", "A", "b{", "}", "x", "{", "aa"};
    const char* replacements[] = {"", "b", "a", "{", "}", "\t", "aa", "AB"};
    unsigned int seed = 20261207;
    auto next = [&](unsigned int n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    auto run = [&](int atOnce, const std::string& text, DWORD from, unsigned int line, int skip,
                   const char* find, const char* replacement, int caseSensitive) {
        SetEditedText(std::wstring(text.begin(), text.end()).c_str(), ChangeState{line, skip != 0, false});  // ASCII
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, from, from);
        script.boxAnswers.push_back(IDOK);
        dialogSteps.push_back([=](HWND dialog) {
            CheckDlgButton(dialog, IDC_CASE, caseSensitive ? BST_CHECKED : BST_UNCHECKED);
            Enter(find, replacement)(dialog);
        });
        if (atOnce) {
            Command(IDM_REPLACEALL);
        } else {
            ReplaceAllCommand(REPLACE_ALL_STEP_BY_STEP);
            Pump();
        }
        return Outcome{EditText(), Selection(), LineShown(), SkipIndent(), Modified(), Boxes(),
                       SendMessageA(Penrik.hwndEdit, EM_GETFIRSTVISIBLELINE, 0, 0)};
    };
    for (int round = 0; round < 150; ++round) {
        std::string text;
        unsigned int lines = 1 + next(6);
        for (unsigned int l = 0; l < lines; ++l) {
            for (unsigned int k = next(5); k > 0; --k)
                text += pieces[next(10)];
            if (l + 1 < lines)
                text += "\r\n";
        }
        const char* find = finds[next(8)];
        const char* replacement = replacements[next(8)];
        int caseSensitive = (int)next(2);
        unsigned int line = next(3);
        int skip = (int)next(2);
        DWORD from = next((unsigned int)text.size() + 1);
        Outcome loop = run(0, text, from, line, skip, find, replacement, caseSensitive);
        Outcome once = run(1, text, from, line, skip, find, replacement, caseSensitive);
        std::string what = "text \"" + text + "\" find \"" + find + "\" by \"" + replacement + "\"";
        EXPECT_EQ(loop.text, once.text) << what;
        EXPECT_EQ(loop.selection, once.selection) << what;
        EXPECT_EQ(loop.line, once.line) << what;
        EXPECT_EQ(loop.skip, once.skip) << what;
        EXPECT_EQ(loop.modified, once.modified) << what;
        EXPECT_EQ(loop.boxes, once.boxes) << what;
        EXPECT_EQ(loop.firstVisible, once.firstVisible) << what;
        if (HasFailure())
            break;
    }
}

TEST_F(Search, AnyCharacterIsFoundIgnoringCaseAndReplacedAll)
{
    SendMessageW(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)L"x \u0141\u00F3d\u017A \u0142\u00D3D\u0179 \u65E5");
    SendMessageW(Penrik.hwndEdit, EM_SETSEL, 0, 0);
    auto text = [] {
        wchar_t shown[64] = L"";
        SendMessageW(Penrik.hwndEdit, WM_GETTEXT, 64, (LPARAM)shown);
        return std::wstring(shown);
    };
    auto enter = [](const wchar_t* find, const wchar_t* replacement) {
        return [=](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_FINDTEXT, find);
            SetDlgItemTextW(dialog, IDC_REPLTEXT, replacement);
            SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
        };
    };
    WithDialog(IDM_FIND, enter(L"\u0141\u00D3D\u0179", L"\u65E5\u672C"));
    EXPECT_EQ(Range(2, 6), Selection());
    // The dialog keeps what was typed into it, character for character
    // (lowered, as a search that ignores case leaves its find text).
    std::wstring shown;
    WithDialog(IDM_FIND, [&](HWND dialog) {
        wchar_t find[32] = L"";
        GetDlgItemTextW(dialog, IDC_FINDTEXT, find, 32);
        shown = find;
        SendDlgItemMessageW(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(L"\u0142\u00F3d\u017A", shown);
    script.boxAnswers = {IDOK};
    WithDialog(IDM_REPLACEALL, enter(L"\u0141\u00D3D\u0179", L"\u65E5\u672C"));
    EXPECT_EQ(L"x \u65E5\u672C \u65E5\u672C \u65E5", text());
    EXPECT_EQ("Done;", Boxes());
}

}  // namespace
