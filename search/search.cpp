// The Search menu: the Find dialog, searching and replacing.
#include "search/search.h"

#include <new>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "editing/editing.h"
#include "search/replace_all.h"
#include "search/scan.h"

#define SEARCH_TEXT_SIZE 160

typedef SearchScan<wchar_t>::Unit Unit;

static struct {
    wchar_t findText[SEARCH_TEXT_SIZE];
    wchar_t replaceText[SEARCH_TEXT_SIZE];
    bool caseSensitive;  // the dialog's "Case Sensitive" box
    bool replacing;      // Replace All goes on with the next match
    // The platform's lower-case form of every character, taken once, so
    // that a search does not call the platform for every one.
    Unit lowerTable[0x10000];
} Search;

// The dialog's static labels, which take the toolbar font like the rest.
static const int FindBoxControls[] = {
    IDC_FINDLABEL, IDC_FINDTEXT, IDC_REPLLABEL, IDC_REPLTEXT, IDC_CASE, IDOK, IDC_PREVIOUS, IDCANCEL,
};

void ResetSearch(void)
{
    Search.findText[0] = '\0';
    Search.replaceText[0] = '\0';
    Search.caseSensitive = false;
    Search.replacing = false;
    for (int c = 0; c < 0x10000; ++c)
        Search.lowerTable[c] = (Unit)c;
    // A zero would end the platform's text: every other character is lowered.
    CharLowerBuffW((LPWSTR)Search.lowerTable + 1, 0xFFFF);
}

// The end of every search that finds nothing more: the caret goes to the
// start of the text.
static void SearchDone(void)
{
    ShowMessage(Penrik.hwndMain, IDS_SEARCH_DONE, IDS_CAPTION_FIND, MB_OK | MB_ICONINFORMATION);
    SendMessageW(Penrik.hwndEdit, EM_SETSEL, 0, 0);
    SendMessageW(Penrik.hwndEdit, EM_SCROLLCARET, 0, 0);
    SetFocus(Penrik.hwndEdit);
}

static void OutOfMemory(void)
{
    ShowMessage(Penrik.hwndMain, IDS_OUT_OF_MEMORY, IDS_CAPTION_PENRIK, MB_OK | MB_ICONHAND);
}

// Without a copy there is nothing to search; a Replace All in progress
// stops here rather than replace at the caret again.
static void NoWorkingCopy(void)
{
    Search.replacing = false;
    OutOfMemory();
}

// The control's text, copied so that it can be scanned.
struct WorkingCopy {
    HLOCAL block;
    wchar_t* text;
};

// Returns 0, holding nothing, when the copy cannot be made.
static int TakeWorkingCopy(WorkingCopy* copy, DWORD length)
{
    copy->block = Sys.LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, ((SIZE_T)length + 1) * sizeof(wchar_t));
    copy->text = copy->block != NULL ? (wchar_t*)LocalLock(copy->block) : NULL;
    if (copy->text == NULL) {
        if (copy->block != NULL)
            LocalFree(copy->block);
        copy->block = NULL;
        return 0;
    }
    SendMessageW(Penrik.hwndEdit, WM_GETTEXT, (WPARAM)length + 1, (LPARAM)copy->text);
    return 1;
}

static void DropWorkingCopy(WorkingCopy* copy)
{
    LocalUnlock(copy->block);
    LocalFree(copy->block);
    copy->block = NULL;
    copy->text = NULL;
}

static SearchScan<wchar_t> ScanOf(const WorkingCopy& copy, DWORD length)
{
    SearchScan<wchar_t> scan = {copy.text, length, Search.findText, (size_t)lstrlenW(Search.findText),
                                Search.caseSensitive, Search.lowerTable};
    return scan;
}

static void FindString(int direction)
{
    if (lstrlenW(Search.findText) == 0) {
        Search.replacing = false;
        return;
    }
    DWORD length = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    DWORD start = 0;
    SendMessageW(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
    if (start == length) {
        SearchDone();
        return;
    }

    WorkingCopy copy;
    if (!TakeWorkingCopy(&copy, length)) {
        NoWorkingCopy();
        return;
    }
    SearchScan<wchar_t> scan = ScanOf(copy, length);
    size_t found = 0;
    int matched = ScanText(&scan, start, direction, &found);
    DropWorkingCopy(&copy);
    if (!matched) {
        SearchDone();
        return;
    }
    SendMessageW(Penrik.hwndEdit, EM_SETSEL, (WPARAM)found, (LPARAM)(found + scan.findLength));
    SendMessageW(Penrik.hwndEdit, EM_SCROLLCARET, 0, 0);
}

static void EnableSearchButtons(HWND dialog, BOOL enable)
{
    EnableWindow(GetDlgItem(dialog, IDOK), enable);
    EnableWindow(GetDlgItem(dialog, IDC_PREVIOUS), enable);
}

static INT_PTR CALLBACK FindBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (msg == WM_INITDIALOG) {
        for (int id : FindBoxControls)
            SendDlgItemMessageW(dialog, id, WM_SETFONT, (WPARAM)Penrik.hToolbarFont, TRUE);
        CheckDlgButton(dialog, IDC_CASE, Search.caseSensitive ? BST_CHECKED : BST_UNCHECKED);
        SetDlgItemTextW(dialog, IDC_FINDTEXT, Search.findText);
        SetDlgItemTextW(dialog, IDC_REPLTEXT, Search.replaceText);
        if (lstrlenW(Search.findText) == 0)
            EnableSearchButtons(dialog, FALSE);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;

    switch (LOWORD(wParam)) {
    case IDC_FINDTEXT:
        if (HIWORD(wParam) == EN_CHANGE)
            EnableSearchButtons(dialog, SendDlgItemMessageW(dialog, IDC_FINDTEXT, WM_GETTEXTLENGTH, 0, 0) != 0);
        return TRUE;
    case IDC_CASE:
        // A plain check box: it does not toggle itself.
        CheckDlgButton(dialog, IDC_CASE, IsDlgButtonChecked(dialog, IDC_CASE) ? BST_UNCHECKED : BST_CHECKED);
        return TRUE;
    case IDOK:
    case IDC_PREVIOUS: {
        int direction = LOWORD(wParam) == IDOK ? +1 : -1;
        Search.caseSensitive = IsDlgButtonChecked(dialog, IDC_CASE) == BST_CHECKED;
        GetDlgItemTextW(dialog, IDC_FINDTEXT, Search.findText, SEARCH_TEXT_SIZE);
        GetDlgItemTextW(dialog, IDC_REPLTEXT, Search.replaceText, SEARCH_TEXT_SIZE);
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
    // A dialog of characters: its fields take text in any language.
    DialogBoxParamW(Penrik.hInst, L"FindBox", Penrik.hwndEdit, FindBoxProc, 0);
}

static void ReplaceSelection(void)
{
    SendMessageW(Penrik.hwndEdit, EM_REPLACESEL, FALSE, (LPARAM)Search.replaceText);
}

// Replace All as one new text instead of one control edit per match,
// which the control makes slow for thousands of matches. The outcome is
// the steps': the same text, line indicator, indentation and "Done".
// Returns 0, having changed nothing, when the text is not one it can
// compute (wrapped lines, lone line breaks), and the steps do the work.
static int ReplaceAllInOnePass(void)
{
    if (Penrik.settings.wordWrap)
        return 0;
    DWORD start = 0, end = 0;
    SendMessageW(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    size_t findLength = (size_t)lstrlenW(Search.findText);
    if (findLength == 0 || end - start != findLength)
        return 0;

    DWORD length = (DWORD)SendMessageW(Penrik.hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    WorkingCopy copy;
    if (!TakeWorkingCopy(&copy, length)) {
        // Where the steps meet the same shortage: after their first
        // replacement.
        ReplaceSelection();
        NoWorkingCopy();
        return 1;
    }
    size_t replacementLength = (size_t)lstrlenW(Search.replaceText);
    SearchScan<wchar_t> scan = ScanOf(copy, length);
    if (!ReplaceAllComputable(copy.text, length, Search.findText, findLength, Search.replaceText,
                              replacementLength) ||
        !MatchAt(&scan, start)) {
        DropWorkingCopy(&copy);
        return 0;
    }

    ChangeState state = CurrentChangeState();
    std::wstring result;
    try {
        ReplaceAllInOnePass(&scan, start, Search.replaceText, replacementLength, &state, &result);
    } catch (const std::bad_alloc&) {
        DropWorkingCopy(&copy);
        return 0;
    }
    DropWorkingCopy(&copy);

    if (!SetEditedText(result.c_str(), state)) {
        OutOfMemory();
        return 1;
    }
    Search.replacing = false;
    SearchDone();
    return 1;
}

// Each step replaces the selected match and searches on from the caret
// after it; the search's "Done" leaves an empty selection at 0, which
// ends the steps, as does a cancelled dialog.
void ReplaceAllCommand(ReplaceAllWay way)
{
    Search.replacing = true;
    SendMessageW(Penrik.hwndEdit, EM_SETSEL, 0, 0);
    ShowFindBox();
    if (Search.replacing && way == REPLACE_ALL_IN_ONE_PASS && ReplaceAllInOnePass())
        return;
    // However many matches it replaces, it is one step for Undo.
    BeginEditGroup();
    do {
        Search.replacing = false;
        DWORD packed = (DWORD)SendMessageW(Penrik.hwndEdit, EM_GETSEL, 0, 0);
        if (packed != 0) {
            ReplaceSelection();
            Search.replacing = true;
            FindString(+1);
        }
    } while (Search.replacing);
    EndEditGroup();
}

void SearchCommand(int commandId)
{
    switch (commandId) {
    case IDM_FIND:
        ShowFindBox();
        break;
    case IDM_FINDNEXT:
        FindString(+1);
        SetFocus(Penrik.hwndEdit);
        break;
    case IDM_FINDPREV:
        FindString(-1);
        SetFocus(Penrik.hwndEdit);
        break;
    case IDM_REPLACE:
        ReplaceSelection();
        SetFocus(Penrik.hwndEdit);
        break;
    case IDM_REPLACEALL:
        ReplaceAllCommand(REPLACE_ALL_IN_ONE_PASS);
        break;
    }
}
