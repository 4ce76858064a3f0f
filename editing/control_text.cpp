// Reading the edit control's text: a line or two of it without a copy of
// the whole where it can.
#include "editing/control_text.h"

#include <string.h>

#include "base/syscalls.h"

wchar_t* ReadAllControlText(HWND edit, DWORD* length)
{
    *length = (DWORD)SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0);
    wchar_t* text = (wchar_t*)Sys.LocalAlloc(LMEM_FIXED, ((SIZE_T)*length + 1) * sizeof(wchar_t));
    if (text != NULL)
        *length = (DWORD)SendMessageW(edit, WM_GETTEXT, (WPARAM)*length + 1, (LPARAM)text);
    return text;
}

// Copies [from, to) of the line that starts at `first` and has `length`
// characters. False when there is no room to read it.
static bool CopyFromLine(HWND edit, DWORD first, DWORD length, DWORD from, DWORD to, wchar_t* out)
{
    wchar_t small[128];
    wchar_t* line = small;
    if (length + 2 > sizeof small / sizeof small[0]) {
        line = (wchar_t*)Sys.LocalAlloc(LMEM_FIXED, ((SIZE_T)length + 2) * sizeof(wchar_t));
        if (line == NULL)
            return false;
    }
    *(WORD*)line = (WORD)(length + 1);  // the capacity word takes the first character
    LRESULT lineIndex = SendMessageW(edit, EM_LINEFROMCHAR, first, 0);
    SendMessageW(edit, EM_GETLINE, (WPARAM)lineIndex, (LPARAM)line);
    memcpy(out, line + (from - first), (size_t)(to - from) * sizeof(wchar_t));
    if (line != small)
        LocalFree(line);
    return true;
}

static wchar_t NoText[1];

void FreeControlText(wchar_t* text)
{
    if (text != NULL && text != NoText)
        LocalFree(text);
}

// A range in one line, or running from one line over its break into the
// next, is read from those lines alone; any other from the start of the
// text.
wchar_t* ReadControlText(HWND edit, DWORD from, DWORD to)
{
    DWORD count = to - from;
    if (count == 0)
        return NoText;
    wchar_t* text = (wchar_t*)Sys.LocalAlloc(LMEM_FIXED, ((SIZE_T)count + 1) * sizeof(wchar_t));
    if (text == NULL)
        return NULL;
    text[count] = 0;

    LRESULT line = SendMessageW(edit, EM_LINEFROMCHAR, from, 0);
    LRESULT first = SendMessageW(edit, EM_LINEINDEX, (WPARAM)line, 0);
    if (first >= 0 && (DWORD)first <= from) {
        DWORD length = (DWORD)SendMessageW(edit, EM_LINELENGTH, (WPARAM)first, 0);
        DWORD end = (DWORD)first + length;
        LRESULT next = SendMessageW(edit, EM_LINEINDEX, (WPARAM)line + 1, 0);
        DWORD nextLength = next >= 0 ? (DWORD)SendMessageW(edit, EM_LINELENGTH, (WPARAM)next, 0) : 0;
        bool inLine = to <= end;
        // A CR LF between the two lines.
        bool intoNext = next >= 0 && (DWORD)next == end + 2 && to <= (DWORD)next + nextLength;
        if ((inLine || intoNext) && length < 0xFFFF && nextLength < 0xFFFF) {
            DWORD pos = from;
            wchar_t* out = text;
            bool read = true;
            if (pos < end) {
                DWORD upTo = to < end ? to : end;
                read = CopyFromLine(edit, (DWORD)first, length, pos, upTo, out);
                out += upTo - pos;
                pos = upTo;
            }
            for (; read && pos < to && pos < end + 2; ++pos)
                *out++ = pos == end ? L'\r' : L'\n';
            if (read && pos < to)
                read = CopyFromLine(edit, (DWORD)next, nextLength, pos, to, out);
            if (read)
                return text;
            LocalFree(text);
            return NULL;
        }
    }
    DWORD length = 0;
    wchar_t* all = ReadAllControlText(edit, &length);
    if (all == NULL || length < to) {
        if (all != NULL)
            LocalFree(all);
        LocalFree(text);
        return NULL;
    }
    memcpy(text, all + from, (size_t)count * sizeof(wchar_t));
    LocalFree(all);
    return text;
}
