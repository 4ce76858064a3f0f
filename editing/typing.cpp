// What the editor does as the text changes: the line indicator in the
// status panel, the indentation of a freshly opened line, the document's
// unsaved changes, and the right-button cut or paste.
#include "editing/editing.h"

#include <string.h>

#include "base/messages.h"
#include "base/process.h"
#include "base/syscalls.h"
#include "resources/resource.h"
#include "document/document.h"
#include "editing/indent.h"
#include "editing/typing.h"
#include "editing/undo.h"

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
} Typing;

void ResetTyping(void)
{
    Typing.lineShown = 0;
    Typing.skipIndent = false;
}

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

static void ShowLineNumber(unsigned int line)
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

// Room for a line or a tab text: on the stack when it is short, else a
// block of local memory.
struct Scratch {
    wchar_t small[128];
    wchar_t* text;
    HLOCAL block;
};

// Room for `size` characters.
static bool TakeScratch(Scratch* scratch, size_t size)
{
    scratch->block = NULL;
    if (size <= sizeof scratch->small / sizeof scratch->small[0]) {
        scratch->text = scratch->small;
        return true;
    }
    scratch->block = size < 0x3FFFFFFF ? Sys.LocalAlloc(LPTR, size * sizeof(wchar_t)) : NULL;
    scratch->text = (wchar_t*)scratch->block;
    return scratch->text != NULL;
}

static void DropScratch(Scratch* scratch)
{
    if (scratch->block != NULL)
        LocalFree(scratch->block);
    scratch->block = NULL;
}

// Reads the whole of a line; returns its length, or -1 when no room
// could be had for it.
static long ReadLine(WPARAM line, Scratch* scratch)
{
    HWND edit = Penrik.hwndEdit;
    scratch->text = scratch->small;
    scratch->block = NULL;
    LRESULT first = SendMessageA(edit, EM_LINEINDEX, line, 0);
    if (first < 0)
        return 0;
    size_t length = (size_t)SendMessageA(edit, EM_LINELENGTH, (WPARAM)first, 0);
    // The capacity word of EM_GETLINE is 16 bits wide; a longer line is
    // taken from the whole text.
    if (length < 0xFFFF) {
        size_t room = length + 2;  // the capacity word takes one character
        if (!TakeScratch(scratch, room))
            return -1;
        *(WORD*)scratch->text = (WORD)(room - 1);
        return (long)SendMessageW(edit, EM_GETLINE, line, (LPARAM)scratch->text);
    }
    size_t total = (size_t)SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    if (!TakeScratch(scratch, total + 1))
        return -1;
    SendMessageW(edit, WM_GETTEXT, total + 1, (LPARAM)scratch->text);
    memmove(scratch->text, scratch->text + first, length * sizeof(wchar_t));
    return (long)length;
}

static void AutoIndent(unsigned int line)
{
    HWND edit = Penrik.hwndEdit;
    LRESULT first = SendMessageA(edit, EM_LINEINDEX, line, 0);
    if (first >= 0 && SendMessageA(edit, EM_LINELENGTH, (WPARAM)first, 0) > 0)
        return;  // only an empty caret line is indented
    if (line == 0)
        return;

    Scratch previous;
    long length = ReadLine(line - 1, &previous);
    if (length < 0)
        return;
    unsigned int tabs = AutoIndentTabs(previous.text, (size_t)length);
    DropScratch(&previous);

    Scratch indent;
    if (!TakeScratch(&indent, (size_t)tabs + 1))
        return;
    for (unsigned int i = 0; i < tabs; ++i)
        indent.text[i] = L'\t';
    indent.text[tabs] = L'\0';
    SendMessageW(edit, EM_REPLACESEL, 0, (LPARAM)indent.text);
    DropScratch(&indent);
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
        NoteTextChanged();
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

bool SetEditedText(const wchar_t* text, const ChangeState& after)
{
    // The new text is the edits' outcome: the change handler must not
    // indent anything for it.
    HCURSOR previousCursor = SetCursor(LoadCursorA(NULL, IDC_WAIT));
    Typing.skipIndent = true;
    bool set = ReplaceTextAsEdit(text);
    SetCursor(previousCursor);
    Typing.skipIndent = after.skipIndent;
    if (!set)
        return false;
    SetModified(after.modified);
    ShowLineNumber(after.lineShown);
    return true;
}
