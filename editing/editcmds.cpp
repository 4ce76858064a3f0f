// The Edit commands, the right-button shortcut, the line indicator and
// the indentation of a freshly opened line.
#include "penrik.h"
#include "indent.h"

int skipIndent;

void EditCommand(int commandId)
{
    switch (commandId) {
    case IDM_UNDO:
        SendMessageA(hwndEdit, EM_UNDO, 0, 0);
        break;
    case IDM_CUT:
        SendMessageA(hwndEdit, WM_CUT, 0, 0);
        break;
    case IDM_COPY: {
        SendMessageA(hwndEdit, WM_COPY, 0, 0);
        DWORD start = 0;
        SendMessageA(hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        SendMessageA(hwndEdit, EM_SETSEL, start, start);
        break;
    }
    case IDM_PASTE:
        SendMessageA(hwndEdit, WM_PASTE, 0, 0);
        break;
    case IDM_CLEAR:
        SendMessageA(hwndEdit, WM_CLEAR, 0, 0);
        return;  // the focus stays where it is
    case IDM_SELECTALL:
        SendMessageA(hwndEdit, EM_SETSEL, 0, (LPARAM)-1);
        return;
    }
    SetFocus(hwndEdit);
}

void ShowLineNumber(unsigned int line)
{
    int length = LineIndicatorText(line, TextBuffer, sizeof TextBuffer);
    HDC dc = GetDC(hwndMain);
    SetBkColor(dc, RGB(0xC0, 0xC0, 0xC0));
    HGDIOBJ previous = SelectObject(dc, hToolbarFont);
    TextOutA(dc, 472, 5, TextBuffer, length);
    SelectObject(dc, previous);
    ReleaseDC(hwndMain, dc);
    lineShown = line;
}

int RefreshLineIndicator(DWORD position)
{
    unsigned int line = (unsigned int)SendMessageA(hwndEdit, EM_LINEFROMCHAR, position, 0);
    if (line == lineShown)
        return 0;
    ShowLineNumber(line);
    return 1;
}

void EditCursor(UINT mouseMessage)
{
    DWORD start = 0, end = 0;
    SendMessageA(hwndEdit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    if (mouseMessage == WM_RBUTTONUP && !platformV4) {
        if (start == end) {
            SendMessageA(hwndEdit, WM_PASTE, 0, 0);
        } else {
            SendMessageA(hwndEdit, WM_CUT, 0, 0);
            SendMessageA(hwndEdit, EM_SETSEL, start, start);
            skipIndent = 1;
        }
    }
    RefreshLineIndicator(start);
}

// Space for a line or a tab text: the shared buffer when it fits, else a
// block of local memory that the caller frees.
struct Scratch {
    char* text;
    HLOCAL block;
};

static int TakeScratch(Scratch* scratch, size_t size)
{
    scratch->block = NULL;
    if (size <= sizeof TextBuffer) {
        scratch->text = TextBuffer;
        return 1;
    }
    scratch->block = Sys.LocalAlloc(LPTR, size);
    scratch->text = (char*)scratch->block;
    return scratch->text != NULL;
}

static void DropScratch(Scratch* scratch)
{
    if (scratch->block != NULL)
        LocalFree(scratch->block);
}

// Reads the whole of a line; returns its length, or -1 when no room
// could be had for it.
static long ReadLine(WPARAM line, Scratch* scratch)
{
    scratch->text = TextBuffer;
    scratch->block = NULL;
    LRESULT first = SendMessageA(hwndEdit, EM_LINEINDEX, line, 0);
    if (first < 0)
        return 0;
    size_t length = (size_t)SendMessageA(hwndEdit, EM_LINELENGTH, (WPARAM)first, 0);
    // The capacity word of EM_GETLINE is 16 bits wide; a longer line is
    // taken from the whole text.
    if (length < 0xFFFF) {
        size_t room = length + 2 > sizeof(WORD) + 1 ? length + 2 : sizeof(WORD) + 1;
        if (!TakeScratch(scratch, room))
            return -1;
        *(WORD*)scratch->text = (WORD)(room - 1);
        return (long)SendMessageA(hwndEdit, EM_GETLINE, line, (LPARAM)scratch->text);
    }
    size_t total = (size_t)SendMessageA(hwndEdit, WM_GETTEXTLENGTH, 0, 0);
    if (!TakeScratch(scratch, total + 1))
        return -1;
    SendMessageA(hwndEdit, WM_GETTEXT, total + 1, (LPARAM)scratch->text);
    memmove(scratch->text, scratch->text + first, length);
    return (long)length;
}

static void AutoIndent(unsigned int line)
{
    LRESULT first = SendMessageA(hwndEdit, EM_LINEINDEX, line, 0);
    if (first >= 0 && SendMessageA(hwndEdit, EM_LINELENGTH, (WPARAM)first, 0) > 0)
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
    memset(indent.text, '\t', tabs);
    indent.text[tabs] = '\0';
    SendMessageA(hwndEdit, EM_REPLACESEL, 0, (LPARAM)indent.text);
    DropScratch(&indent);
}

LRESULT EditNotification(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (HIWORD(wParam)) {
    case EN_CHANGE: {
        Modified = 1;
        DWORD start = 0;
        SendMessageA(hwndEdit, EM_GETSEL, (WPARAM)&start, 0);
        if (!RefreshLineIndicator(start))
            return 0;
        if (skipIndent) {
            skipIndent = 0;
            return 0;
        }
        AutoIndent(lineShown);
        return 0;
    }
    case EN_ERRSPACE:
        Sys.MessageBoxA(GetFocus(), "Out of memory.", "Penrik", MB_ICONHAND);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
