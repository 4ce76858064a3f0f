// The Search menu: the Find dialog, searching and replacing.
#include "penrik.h"
#include "replace_all.h"
#include "scan.h"

#include <new>

// commdlg.h takes these two names for its own find and replace dialogs.
#undef FindText
#undef ReplaceText

#define SEARCH_TEXT_SIZE 160

char FindText[SEARCH_TEXT_SIZE];
char ReplaceText[SEARCH_TEXT_SIZE];
int CaseSensitive;
int Replacing;
int replaceAllAtOnce = 1;

// The platform's lower-case form of every byte value, taken once, so that
// a search does not call the platform for every character it compares.
static unsigned char LowerTable[256];

static const int FindBoxControls[] = {
    100, IDC_FINDTEXT, 200, IDC_REPLTEXT, IDC_CASE, IDOK, IDC_PREVIOUS, IDCANCEL,
};

void ResetSearchState(void)
{
    FindText[0] = '\0';
    ReplaceText[0] = '\0';
    CaseSensitive = 0;
    Replacing = 0;
    LowerTable[0] = 0;
    for (int c = 1; c < 256; ++c)
        LowerTable[c] = (unsigned char)(UINT_PTR)CharLowerA((LPSTR)(UINT_PTR)c);
}

// The end of every search that finds nothing more: the caret goes to the
// start of the text.
static void SearchDone(void)
{
    Sys.MessageBoxA(hwndMain, "Done", "Find String", MB_OK | MB_ICONINFORMATION);
    SendMessageA(hwndEdit, EM_SETSEL, 0, 0);
    SendMessageA(hwndEdit, EM_SCROLLCARET, 0, 0);
    SetFocus(hwndEdit);
}

// Without a copy there is nothing to search; a Replace All in progress
// stops here rather than replace at the caret again.
static void NoWorkingCopy(void)
{
    Replacing = 0;
    Sys.MessageBoxA(hwndMain, "Out of memory.", "Penrik", MB_OK | MB_ICONHAND);
}

// The control's text copied into a fresh TextBlock, locked; NULL, with no
// block left, when the copy cannot be made.
static char* TakeWorkingCopy(DWORD length)
{
    if (TextBlock != NULL)
        LocalFree(TextBlock);
    TextBlock = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, (SIZE_T)length + 1);
    char* text = TextBlock != NULL ? (char*)LocalLock(TextBlock) : NULL;
    if (text == NULL) {
        if (TextBlock != NULL)
            LocalFree(TextBlock);
        TextBlock = NULL;
        return NULL;
    }
    SendMessageA(hwndEdit, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)text);
    return text;
}

static void FindString(int direction)
{
    if (lstrlenA(FindText) == 0) {
        Replacing = 0;
        return;
    }
    if (TextBlock != NULL) {
        LocalFree(TextBlock);
        TextBlock = NULL;
    }
    DWORD length = (DWORD)SendMessageA(hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    DWORD start = 0;
    SendMessageA(hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
    if (start == length) {
        SearchDone();
        return;
    }

    char* text = TakeWorkingCopy(length);
    if (text == NULL) {
        NoWorkingCopy();
        return;
    }

    SearchScan scan = {text, length, FindText, (size_t)lstrlenA(FindText), CaseSensitive, LowerTable};
    size_t found = 0;
    int matched = ScanText(&scan, start, direction, &found);
    LocalUnlock(TextBlock);
    if (!matched) {
        SearchDone();
        return;
    }
    SendMessageA(hwndEdit, EM_SETSEL, (WPARAM)found, (LPARAM)(found + scan.findLength));
    SendMessageA(hwndEdit, EM_SCROLLCARET, 0, 0);
}

static void EnableSearchButtons(HWND dialog, BOOL enable)
{
    EnableWindow(GetDlgItem(dialog, IDOK), enable);
    EnableWindow(GetDlgItem(dialog, IDC_PREVIOUS), enable);
}

INT_PTR CALLBACK FindBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (msg == WM_INITDIALOG) {
        for (int id : FindBoxControls)
            SendDlgItemMessageA(dialog, id, WM_SETFONT, (WPARAM)hToolbarFont, TRUE);
        CheckDlgButton(dialog, IDC_CASE, CaseSensitive ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemTextA(dialog, IDC_FINDTEXT, FindText);
        SetDlgItemTextA(dialog, IDC_REPLTEXT, ReplaceText);
        if (lstrlenA(FindText) == 0)
            EnableSearchButtons(dialog, FALSE);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;

    switch (LOWORD(wParam)) {
    case IDC_FINDTEXT:
        if (HIWORD(wParam) == EN_CHANGE)
            EnableSearchButtons(dialog,
                                SendDlgItemMessageA(dialog, IDC_FINDTEXT, WM_GETTEXTLENGTH, 0, 0) != 0);
        return TRUE;
    case IDC_CASE:
        // A plain check box: it does not toggle itself.
        CheckDlgButton(dialog, IDC_CASE,
                       IsDlgButtonChecked(dialog, IDC_CASE) ? BST_UNCHECKED : BST_CHECKED);
        return TRUE;
    case IDOK:
    case IDC_PREVIOUS: {
        int direction = LOWORD(wParam) == IDOK ? +1 : -1;
        CaseSensitive = IsDlgButtonChecked(dialog, IDC_CASE) == BST_CHECKED;
        GetDlgItemTextA(dialog, IDC_FINDTEXT, FindText, sizeof FindText);
        GetDlgItemTextA(dialog, IDC_REPLTEXT, ReplaceText, sizeof ReplaceText);
        FindString(direction);
        EndDialog(dialog, 0);
        return TRUE;
    }
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

static void ShowFindBox(void)
{
    DialogBoxParamA(hInst, "FindBox", hwndEdit, FindBoxProc, 0);
}

static void ReplaceSelection(void)
{
    SendMessageA(hwndEdit, EM_REPLACESEL, FALSE, (LPARAM)ReplaceText);
}

// Replace All as one new text instead of one control edit per match,
// which the control makes slow for thousands of matches. The outcome is
// the loop's: the same text, line indicator, indentation and "Done".
// Returns 0, having changed nothing, when the text is not one it can
// compute (wrapped lines, lone line breaks), and the loop does the work.
static int ReplaceAllAtOnce(void)
{
    if (!replaceAllAtOnce || Settings.wordWrap)
        return 0;
    DWORD start = 0, end = 0;
    SendMessageA(hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    size_t findLength = (size_t)lstrlenA(FindText);
    if (findLength == 0 || end - start != findLength)
        return 0;

    DWORD length = (DWORD)SendMessageA(hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    char* text = TakeWorkingCopy(length);
    if (text == NULL) {
        // Where the loop meets the same shortage: after its first
        // replacement.
        ReplaceSelection();
        NoWorkingCopy();
        return 1;
    }
    size_t replacementLength = (size_t)lstrlenA(ReplaceText);
    SearchScan scan = {text, length, FindText, findLength, CaseSensitive, LowerTable};
    if (!ReplaceAllComputable(text, length, FindText, findLength, ReplaceText, replacementLength) ||
        !MatchAt(&scan, start)) {
        LocalUnlock(TextBlock);
        return 0;
    }

    ReplaceAllState state = {lineShown, skipIndent, Modified};
    std::string result;
    try {
        ReplaceAllInOnePass(&scan, start, ReplaceText, replacementLength, &state, &result);
    } catch (const std::bad_alloc&) {
        LocalUnlock(TextBlock);
        return 0;
    }
    LocalUnlock(TextBlock);

    // The change handler must not indent anything for the new text.
    HCURSOR previousCursor = SetCursor(hWaitCursor);
    skipIndent = 1;
    LRESULT set = SendMessageA(hwndEdit, WM_SETTEXT, 0, (LPARAM)result.c_str());
    SetCursor(previousCursor);
    skipIndent = state.skipIndent;
    if (!set) {
        Sys.MessageBoxA(hwndMain, "Out of memory.", "Penrik", MB_OK | MB_ICONHAND);
        return 1;
    }
    Modified = state.modified;
    ShowLineNumber(state.lineShown);
    Replacing = 0;
    SearchDone();
    return 1;
}

// Each pass replaces the selected match and searches on from the caret
// after it; the search's "Done" leaves an empty selection at 0, which
// ends the loop, as does a cancelled dialog.
static void ReplaceAll(void)
{
    Replacing = 1;
    SendMessageA(hwndEdit, EM_SETSEL, 0, 0);
    ShowFindBox();
    if (Replacing == 1 && ReplaceAllAtOnce())
        return;
    do {
        Replacing = 0;
        DWORD packed = (DWORD)SendMessageA(hwndEdit, EM_GETSEL, 0, 0);
        if (packed != 0) {
            ReplaceSelection();
            Replacing = 1;
            FindString(+1);
        }
    } while (Replacing == 1);
}

void SearchCommand(int commandId)
{
    switch (commandId) {
    case IDM_FIND:
        EnableCommand(IDM_FINDNEXT);
        EnableCommand(IDM_FINDPREV);
        EnableCommand(IDM_REPLACE);
        ShowFindBox();
        break;
    case IDM_FINDNEXT:
        FindString(+1);
        SetFocus(hwndEdit);
        break;
    case IDM_FINDPREV:
        FindString(-1);
        SetFocus(hwndEdit);
        break;
    case IDM_REPLACE:
        ReplaceSelection();
        SetFocus(hwndEdit);
        break;
    case IDM_REPLACEALL:
        ReplaceAll();
        break;
    }
}
