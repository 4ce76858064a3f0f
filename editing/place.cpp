// Where the caret goes for a line and a column: Go To, the command line
// and a compiler's message. Lines are the text's own, ended by its line
// breaks, whether or not the window wraps them; columns count characters.
#include "editing/editing.h"

#include "base/process.h"
#include "base/syscalls.h"
#include "editing/typing.h"

// Where line `line` (from 0) starts in the text, and how long it is; the
// last line when the text has fewer.
static void FindLine(const wchar_t* text, size_t length, unsigned long line, size_t* start, size_t* lineLength)
{
    size_t at = 0;
    for (unsigned long n = 0; n < line; ++n) {
        size_t next = at;
        while (next + 1 < length && !(text[next] == L'\r' && text[next + 1] == L'\n'))
            ++next;
        if (next + 1 >= length)
            break;  // no more lines
        at = next + 2;
    }
    size_t end = at;
    while (end < length && !(text[end] == L'\r' && end + 1 < length && text[end + 1] == L'\n'))
        ++end;
    *start = at;
    *lineLength = end - at;
}

bool PlaceCaret(unsigned long line, unsigned long column)
{
    HWND edit = Penrik.hwndEdit;
    size_t length = (size_t)SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    HLOCAL block = Sys.LocalAlloc(LMEM_FIXED, (length + 1) * sizeof(wchar_t));
    if (block == NULL)
        return false;
    wchar_t* text = (wchar_t*)block;
    length = (size_t)SendMessageW(edit, WM_GETTEXT, length + 1, (LPARAM)text);
    size_t start = 0, lineLength = 0;
    FindLine(text, length, line > 0 ? line - 1 : 0, &start, &lineLength);
    LocalFree(block);
    // The line's end when it is shorter than the column.
    size_t offset = column > 1 ? column - 1 : 0;
    DWORD caret = (DWORD)(start + (offset < lineLength ? offset : lineLength));
    SendMessageW(edit, EM_SETSEL, caret, caret);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    ShowCaretLine();
    SetFocus(edit);
    return true;
}
