// What the editor does as the text changes: the line indicator in the
// status panel, the indentation of a freshly opened line, the document's
// unsaved changes, and the right-button cut or paste.
#include "editing/editing.h"

#include <new>
#include <string>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"
#include "editing/control_text.h"
#include "editing/indent.h"
#include "editing/typing.h"

// Pixel places in BASE_DPI pixels.
#define INDICATOR_X      472 // the line indicator's text in the status panel
#define INDICATOR_Y      5   // where a change draws it
#define INDICATOR_PAINTY 4   // where a repaint of the window draws it
#define INDICATOR_GREY   RGB(0xC0, 0xC0, 0xC0)
// Room for "Line Number  4294967296        ".
#define INDICATOR_SIZE   40

static struct {
    unsigned int lineShown;  // 0-based line whose number the status panel shows
    bool skipIndent;         // the next change of line inserts no indentation
    unsigned long changes;   // the control's change notifications so far
} Typing;

void ResetTyping(void)
{
    Typing.lineShown = 0;
    Typing.skipIndent = false;
    Typing.changes = 0;
}

unsigned long TextChanges(void) { return Typing.changes; }

/* The line indicator */

static void DrawLineIndicator(HDC dc, int y)
{
    char text[INDICATOR_SIZE];
    int length = LineIndicatorText(Typing.lineShown, text, sizeof text);
    SetBkColor(dc, INDICATOR_GREY);
    HGDIOBJ previous = SelectObject(dc, Penrik.hToolbarFont);
    TextOutA(dc, Scaled(INDICATOR_X), Scaled(y), text, length);
    SelectObject(dc, previous);
}

void PaintLineIndicator(HDC dc)
{
    DrawLineIndicator(dc, INDICATOR_PAINTY);
}

void ShowLineNumber(unsigned int line)
{
    Typing.lineShown = line;
    HDC dc = GetDC(Penrik.hwndMain);
    DrawLineIndicator(dc, INDICATOR_Y);
    ReleaseDC(Penrik.hwndMain, dc);
}

static void RefreshLineIndicator(DWORD position)
{
    unsigned int line = (unsigned int)SendMessageA(Penrik.hwndEdit, EM_LINEFROMCHAR, position, 0);
    if (line != Typing.lineShown)
        ShowLineNumber(line);
}

void ShowCaretLine(void)
{
    DWORD caret = 0;
    SendMessageA(Penrik.hwndEdit, EM_GETSEL, 0, (LPARAM)&caret);
    RefreshLineIndicator(caret);
}

bool AskSkipIndent(bool skip)
{
    bool before = Typing.skipIndent;
    Typing.skipIndent = skip;
    return before;
}

void CutOrPasteOnRightButton(UINT mouseMessage)
{
    HWND edit = Penrik.hwndEdit;
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    if (mouseMessage == WM_RBUTTONUP && !Penrik.platformV4) {
        if (start == end) {
            SendMessageA(edit, WM_PASTE, 0, 0);
        } else {
            SendMessageA(edit, WM_CUT, 0, 0);
            SendMessageA(edit, EM_SETSEL, start, start);
            // The cut's line change is the user's, not a fresh line.
            Typing.skipIndent = true;
        }
    }
    RefreshLineIndicator(start);
}

/* Indentation */

static void AutoIndent(unsigned int line)
{
    HWND edit = Penrik.hwndEdit;
    LRESULT first = SendMessageA(edit, EM_LINEINDEX, line, 0);
    if (first >= 0 && SendMessageA(edit, EM_LINELENGTH, (WPARAM)first, 0) > 0)
        return;  // only an empty caret line is indented
    if (line == 0)
        return;

    LRESULT above = SendMessageA(edit, EM_LINEINDEX, line - 1, 0);
    if (above < 0)
        return;
    DWORD length = (DWORD)SendMessageA(edit, EM_LINELENGTH, (WPARAM)above, 0);
    wchar_t* previous = ReadControlText(edit, (DWORD)above, (DWORD)above + length);
    if (previous == NULL)
        return;
    unsigned int tabs = AutoIndentTabs(previous, length);
    FreeControlText(previous);

    std::wstring indent;
    try {
        indent.assign(tabs, L'\t');
    } catch (const std::bad_alloc&) {
        return;
    }
    SendMessageW(edit, EM_REPLACESEL, 0, (LPARAM)indent.c_str());
}

/* Changes */

ChangeState CurrentChangeState(void)
{
    ChangeState state = {Typing.lineShown, Typing.skipIndent, Modified()};
    return state;
}

LRESULT EditNotification(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (HIWORD(wParam)) {
    case EN_CHANGE: {
        ++Typing.changes;
        DWORD start = 0;
        SendMessageA(Penrik.hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        unsigned int line = (unsigned int)SendMessageA(Penrik.hwndEdit, EM_LINEFROMCHAR, start, 0);
        ChangeState state = CurrentChangeState();
        ChangeAction action = ApplyChangeRule(&state, line);
        SetModified(state.modified);
        Typing.skipIndent = state.skipIndent;
        if (action == CHANGE_SAME_LINE)
            return 0;
        ShowLineNumber(state.lineShown);
        if (action == CHANGE_INDENT)
            AutoIndent(state.lineShown);
        return 0;
    }
    case EN_ERRSPACE:
        ShowMessage(GetFocus(), IDS_OUT_OF_MEMORY, IDS_CAPTION_PENRIK, MB_ICONHAND);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
