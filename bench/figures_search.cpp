// Find Next and Replace All through the real Find dialog.
#include "bench/figures.h"
#include "bench/harness.h"

#include "base/process.h"
#include "resources/resource.h"
#include "search/search.h"

#include <stdio.h>

// The Find dialog, answered from a thread timer inside its own message
// loop: the fields get these texts and the case box this state, then Next.
static const char* DialogFind = "";
static const char* DialogReplacement = "";
static int DialogCase = 0;

static void CALLBACK AnswerFindBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", "Find");
    if (dialog == NULL || GetPropA(dialog, "answered") != NULL)
        return;
    SetPropA(dialog, "answered", (HANDLE)1);
    SetDlgItemTextA(dialog, IDC_FINDTEXT, DialogFind);
    SetDlgItemTextA(dialog, IDC_REPLTEXT, DialogReplacement);
    CheckDlgButton(dialog, IDC_CASE, DialogCase ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
}

static ReplaceAllWay ReplaceWay = REPLACE_ALL_IN_ONE_PASS;

void WithFindBox(int command, const char* find, const char* replacement, int caseSensitive)
{
    DialogFind = find;
    DialogReplacement = replacement;
    DialogCase = caseSensitive;
    UINT_PTR timer = SetTimer(NULL, 0, 1, AnswerFindBox);
    if (command == IDM_REPLACEALL)
        ReplaceAllCommand(ReplaceWay);
    else
        SearchCommand(command);
    KillTimer(NULL, timer);
}

void FindFigure(size_t bytes)
{
    std::string text = MakeText(bytes, 0);
    text.replace(text.size() - 8, 6, "NeedLe");
    StartEditor();
    SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    for (int caseSensitive = 1; caseSensitive >= 0; --caseSensitive) {
        const char* find = caseSensitive ? "NeedLe" : "nEEdlE";
        SendMessageA(Penrik.hwndEdit, EM_SETSEL, text.size(), text.size());
        WithFindBox(IDM_FIND, find, "", caseSensitive);  // ends at once with "Done"
        double ours = Measure([] { SendMessageA(Penrik.hwndEdit, EM_SETSEL, 0, 0); },
                              [] { SearchCommand(IDM_FINDNEXT); });
        DWORD start = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        if (start != text.size() - 8)
            printf("find did not reach the match at the end\n");
        Report(caseSensitive ? "find next to the end of 10 MB, case" : "find next to the end of 10 MB, no case",
               ours, "ms");
    }
    StopEditor();
}

// Replace All of "needle" by "thread" (`matches` of them in `bytes`):
// against one WM_SETTEXT of the result in a bare control, or, with
// `againstLoop`, against the match-by-match loop.
void ReplaceAllFigure(const char* name, size_t bytes, size_t matches, bool againstLoop)
{
    std::string text = MakeText(bytes, matches);
    text.insert(0, "x");  // the loop's first search starts one past 0
    StartEditor();
    std::string result;
    auto timeReplaceAll = [&](int atOnce) {
        ReplaceWay = atOnce ? REPLACE_ALL_IN_ONE_PASS : REPLACE_ALL_STEP_BY_STEP;
        double t = Measure([&] { SendMessageA(Penrik.hwndEdit, WM_SETTEXT, 0, (LPARAM)text.c_str()); },
                           [] { WithFindBox(IDM_REPLACEALL, "needle", "thread", 1); });
        ReplaceWay = REPLACE_ALL_IN_ONE_PASS;
        int length = GetWindowTextLengthA(Penrik.hwndEdit);
        result.assign((size_t)length, '\0');
        SendMessageA(Penrik.hwndEdit, WM_GETTEXT, length + 1, (LPARAM)&result[0]);
        return t;
    };
    double ours = timeReplaceAll(1);
    std::string fast = result;
    double baseline;
    if (againstLoop) {
        {
            RunsFor once(1);
            baseline = timeReplaceAll(0);
        }
        if (result != fast)
            printf("the loop and the one-pass Replace All differ\n");
        StopEditor();
    } else {
        StopEditor();
        BareEdit edit;
        baseline = Measure([&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM) ""); },
                           [&] { SendMessageA(edit.edit, WM_SETTEXT, 0, (LPARAM)fast.c_str()); });
    }
    Report(name, ours, "ms", baseline);
}
