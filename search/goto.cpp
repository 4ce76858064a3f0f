// Search > Go To: a line, or a line and a column, typed into a small
// dialog.
#include "search/search.h"

#include "base/process.h"
#include "resources/resource.h"
#include "editing/editing.h"
#include "tools/compiler_messages.h"

#define GOTO_TEXT_SIZE 64

static struct {
    unsigned long line, column;
} GoTo;

static const int GoToBoxControls[] = {IDC_GOTOLABEL, IDC_GOTOTEXT, IDOK, IDCANCEL};

static INT_PTR CALLBACK GoToBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (msg == WM_INITDIALOG) {
        for (int id : GoToBoxControls)
            SendDlgItemMessageW(dialog, id, WM_SETFONT, (WPARAM)Penrik.hToolbarFont, TRUE);
        return TRUE;
    }
    if (msg != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: {
        wchar_t text[GOTO_TEXT_SIZE];
        int length = GetDlgItemTextW(dialog, IDC_GOTOTEXT, text, GOTO_TEXT_SIZE);
        if (!ParseLineAndColumn((const char16_t*)text, (size_t)length, &GoTo.line, &GoTo.column)) {
            // Not a line: the field again, to be typed over.
            MessageBeep(MB_OK);
            HWND field = GetDlgItem(dialog, IDC_GOTOTEXT);
            SendMessageW(field, EM_SETSEL, 0, -1);
            SetFocus(field);
            return TRUE;
        }
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void GoToCommand(void)
{
    if (DialogBoxParamW(Penrik.hInst, L"GoToBox", Penrik.hwndMain, GoToBoxProc, 0) == IDOK)
        PlaceCaret(GoTo.line, GoTo.column);
    else
        SetFocus(Penrik.hwndEdit);
}
